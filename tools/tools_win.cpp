#include "tools/tools_win.h"

#include <windows.h>

#include <string>

#include "common/dialog_win.h"
#include "common/late_call_win.h"
#include "common/system_error.h"

namespace {

// The attributes of the first entry found under that name.
bool FindAttributes(const char* name, DWORD& attributes) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(name, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  attributes = found.dwFileAttributes;
  return true;
}

// ShellExecute's answers below 33 are its own codes; most match a system
// error of the same number.
std::string ShellFailure(INT_PTR code) {
  static constexpr Wording kNoProgram = {{"Cap programa no obre aquest tipus de document",
                                          "No program opens this kind of document",
                                          "Ningún programa abre este tipo de documento"}};
  switch (code) {
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
      return kNoProgram.Get();
    case 0:
      return SystemErrorText(ERROR_NOT_ENOUGH_MEMORY);
    case SE_ERR_SHARE:
      return SystemErrorText(ERROR_SHARING_VIOLATION);
    case SE_ERR_DLLNOTFOUND:
      return SystemErrorText(ERROR_DLL_NOT_FOUND);
    default:
      return SystemErrorText(static_cast<unsigned long>(code));
  }
}

class Win32Launcher final : public LaunchPlatform {
 public:
  std::string CurrentFolder() override {
    const DWORD size = GetCurrentDirectoryA(0, nullptr);
    std::string folder(size, '\0');
    const DWORD length = GetCurrentDirectoryA(size, folder.data());
    folder.resize(length < size ? length : 0);
    return folder;
  }
  bool EnterFolder(const std::string& folder) override {
    return SetCurrentDirectoryA(folder.c_str()) != FALSE;
  }
  bool DirExists(std::string_view name) override { return ::DirExists(ShortText(name).c_str()); }
  bool FileExists(std::string_view name) override { return ::FileExists(ShortText(name).c_str()); }
  void ShowMessage(std::string_view caption, std::string_view text, std::uint32_t style) override {
    MessageStyled(caption, text, style);
  }
  std::string StartProgram(std::string_view commandLine) override {
    // Above 31 is a start; below, a system error code (0: out of memory).
    const UINT code = WinExec(ShortText(commandLine).c_str(), SW_SHOWNORMAL);
    if (code > 31) return {};
    return SystemErrorText(code == 0 ? ERROR_NOT_ENOUGH_MEMORY : code);
  }
  std::string OpenDocument(std::string_view document, std::string_view parameters) override {
    const ShortText params(parameters);
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static const auto shellExecute =
        LateFunction<ShellExecuteFunction>("shell32.dll", "ShellExecuteA");
    if (!shellExecute) return SystemErrorText(ERROR_DLL_NOT_FOUND);
    const auto code = reinterpret_cast<INT_PTR>(
        shellExecute(nullptr, "open", ShortText(document).c_str(),
                     params.empty() ? nullptr : params.c_str(), nullptr, SW_SHOW));
    return code > 32 ? std::string() : ShellFailure(code);
  }
};

}  // namespace

LaunchPlatform* ToolLauncher = nullptr;

LaunchPlatform& SystemLauncher() {
  static Win32Launcher launcher;
  return launcher;
}

bool FileExists(const char* name) {
  DWORD attributes = 0;
  return FindAttributes(name, attributes) &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

bool DirExists(const char* name) {
  DWORD attributes = 0;
  if (FindAttributes(name, attributes)) {
    return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
  }
  // A drive's root ("C:\") is never found by a search, yet is a folder to work in.
  attributes = GetFileAttributesA(name);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool LoadTools() {
  if (!FileExists(kToolsFileName)) {
    ToolsUnread.clear();  // nothing there to lose
    return false;
  }
  return LoadToolsFrom(kToolsFileName);
}

bool SaveTools(std::string* why) {
  return SaveToolsTo(kToolsFileName, why);
}

std::string ToolsFilePath() {
  return SystemLauncher().CurrentFolder() + "\\" + kToolsFileName;
}

void RunFile(std::string_view text) {
  RunFile(ToolLauncher ? *ToolLauncher : SystemLauncher(), text);
}

void LaunchTool(const ToolEntry& entry) {
  LaunchTool(ToolLauncher ? *ToolLauncher : SystemLauncher(), entry);
}
