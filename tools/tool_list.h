// The user's tools: the list in memory and its file "Tools.rel", four lines
// an entry (title, file, working folder, parameters).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/short_text.h"
#include "resources/ids.h"

struct ToolEntry {
  ShortText Title;
  ShortText File;     // a program's command line, or a document and its parameters
  ShortText WorkDir;  // made current for the start; empty: the current folder stays
  ShortText Params;   // kept and shown, never used to start the tool
};

// One menu command per slot bounds the list.
constexpr std::uint16_t MaxTools = IDM_TOOL_LAST - IDM_TOOL_FIRST + 1;

// Slots 1..ToolCount are in use; slot 0 is never used.
extern ToolEntry ToolList[MaxTools + 1];
extern std::uint16_t ToolCount;
// The file's text after its last loaded entry, as read: the entries after the
// 64th, which have no slot, blank lines at the end, and what follows an
// end-of-file byte. A save writes it back after the list, so nothing is lost.
extern std::string ToolOverflow;

// The next free slot, empty; false (and nothing added) when the list is full.
bool AddToolEntry();
// Removes slot i (1 <= i <= ToolCount); later entries move up.
void DeleteToolEntry(std::uint16_t i);
void SetToolEntry(ToolEntry& entry, std::string_view title, std::string_view file,
                  std::string_view workDir, std::string_view params);
// Swaps the contents of two slots in use.
void SwapToolEntries(std::uint16_t i, std::uint16_t j);

// The file format, apart from the file itself.
struct ParsedTools {
  std::uint16_t count = 0;
  ToolEntry entries[MaxTools];
  // Each entry's four lines as read, line ends included, so that a tool
  // nobody edited is written back whole (lines past 255 characters too).
  std::string lines[MaxTools];
  std::string overflow;  // the text after the last entry (see ToolOverflow)
  std::string text;      // the whole file as Windows-1252 text
};
// The bytes are taken as text in any of the encodings TextFileToCp1252 knows.
// Fields end at CR, LF, CR LF or CR CR LF; bytes after the 255th of a line
// are dropped. The list ends at the end of the bytes, where an entry would
// begin with 0x1A, or where only blank lines are left, fewer than an entry's
// four.
void ParseTools(std::string_view bytes, ParsedTools& out);
// Every field followed by CR LF, then the overflow as it was read.
std::string FormatTools(const ToolEntry* entries, std::uint16_t count, std::string_view overflow);

// Why the file the list was last loaded from is there but could not be read;
// empty when it was read or is missing. While it is set the list in memory is
// not the file's, and saving over the file would lose its tools.
extern std::string ToolsUnread;

// What the last load read, for the save after it: a tool that still reads
// the same is written with its own lines, and a list with no edits leaves
// the file as it is (its encoding too).
struct ToolsFileAsRead {
  std::string path;
  std::string bytes;  // the file
  std::string overflow;
  std::vector<ToolEntry> entries;
  std::vector<std::string> lines;
};
extern ToolsFileAsRead ToolsAsRead;

// Reads the file at path into the list. False, with the list unchanged, when
// it is missing or cannot be read (ToolsUnread then says why).
bool LoadToolsFrom(const std::string& path);
// Writes the list to path as common/atomic_save.h does: on any failure the old
// file stays as it was; a read-only file is not replaced. Refused while
// ToolsUnread is set. On a failure, `why` receives the reason.
bool SaveToolsTo(const std::string& path, std::string* why = nullptr);
