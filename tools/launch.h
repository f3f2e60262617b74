// Starting a tool: its working folder made current for the start only, then
// a program run by its command line or a document opened by its association.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/language.h"
#include "tools/tool_list.h"

// What starting needs from the system; the Win32 side does it for real, tests
// record it.
class LaunchPlatform {
 public:
  virtual ~LaunchPlatform() = default;
  virtual std::string CurrentFolder() = 0;
  virtual bool EnterFolder(const std::string& folder) = 0;
  // An entry of that name that is neither hidden nor system (a plain file counts).
  virtual bool DirExists(std::string_view name) = 0;
  // An entry of that name that is neither a folder nor a system file.
  virtual bool FileExists(std::string_view name) = 0;
  virtual void ShowMessage(std::string_view caption, std::string_view text,
                           std::uint32_t style) = 0;
  // Empty when the start was made; otherwise why it could not be.
  virtual std::string StartProgram(std::string_view commandLine) = 0;
  virtual std::string OpenDocument(std::string_view document, std::string_view parameters) = 0;
};

// The caption of the missing-folder message, in this one wording.
inline constexpr std::string_view kNoFolderCaption = "No trobat directori...";
inline constexpr std::uint32_t kNoFolderStyle = 0x30;  // OK button, exclamation icon

// A start that failed: this caption, the text that was to start and why.
inline constexpr Wording kCannotStartCaption = {
    {"No s'ha pogut obrir", "Could not open", "No se ha podido abrir"}};
inline constexpr std::uint32_t kCannotStartStyle = 0x30;
inline constexpr Wording kNothingToStart = {{"El camp \"Fitxer\" és buit",
                                             "The \"File\" field is empty",
                                             "El campo \"Fichero\" está vacío"}};

// A text that names an existing file as a whole is that file, blanks and all
// (what the browse button puts in). Otherwise a text holding ".exe" (exactly
// so) is a program's command line, and any other is a document with
// parameters after its first space; a document in double quotes ends at the
// closing one. A start that fails is reported in one message.
void RunFile(LaunchPlatform& platform, std::string_view text);
// The current directory is the same afterwards, whatever happened.
void LaunchTool(LaunchPlatform& platform, ToolEntry entry);
