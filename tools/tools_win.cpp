#include "tools/tools_win.h"

#include <windows.h>

#include <string>

#include "common/dialog_win.h"
#include "common/late_call_win.h"

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
  void ShowMessage(std::string_view caption, std::string_view text, std::uint32_t style) override {
    MessageStyled(caption, text, style);
  }
  void StartProgram(std::string_view commandLine) override {
    WinExec(ShortText(commandLine).c_str(), SW_SHOWNORMAL);
  }
  void OpenDocument(std::string_view document, std::string_view parameters) override {
    const ShortText params(parameters);
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static const auto shellExecute =
        LateFunction<ShellExecuteFunction>("shell32.dll", "ShellExecuteA");
    if (!shellExecute) return;
    shellExecute(nullptr, "open", ShortText(document).c_str(),
                 params.empty() ? nullptr : params.c_str(), nullptr, SW_SHOW);
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
  if (!FileExists(kToolsFileName)) return false;
  return LoadToolsFrom(kToolsFileName);
}

bool SaveTools() {
  return SaveToolsTo(kToolsFileName);
}

void RunFile(std::string_view text) {
  RunFile(ToolLauncher ? *ToolLauncher : SystemLauncher(), text);
}

void LaunchTool(const ToolEntry& entry) {
  LaunchTool(ToolLauncher ? *ToolLauncher : SystemLauncher(), entry);
}
