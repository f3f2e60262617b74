#include "tools/tools_win.h"

#include <windows.h>

#include <string>

#include "common/codepage.h"
#include "common/dialog_win.h"
#include "common/late_call_win.h"
#include "common/system_error.h"

namespace {

// The attributes of the first entry found under that name.
bool FindAttributes(const char* name, DWORD& attributes) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(WideText(name).c_str(), &found);
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
  // The folder's name may hold letters Windows-1252 lacks (a user's folder
  // under another code page), which read as "?": the folder itself is kept
  // as the system names it, so that going back to it finds it. No folder
  // typed by a person holds a "?".
  std::string CurrentFolder() override {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, folder.data());
    folder.resize(length < size ? length : 0);
    rememberedFolder_ = folder;
    rememberedText_ = Cp1252Text(folder);
    return rememberedText_;
  }
  bool EnterFolder(const std::string& folder) override {
    const std::wstring wide = folder == rememberedText_ ? rememberedFolder_ : WideText(folder);
    return SetCurrentDirectoryW(wide.c_str()) != FALSE;
  }
  bool DirExists(std::string_view name) override { return ::DirExists(ShortText(name).c_str()); }
  bool FileExists(std::string_view name) override { return ::FileExists(ShortText(name).c_str()); }
  void ShowMessage(std::string_view caption, std::string_view text, std::uint32_t style) override {
    MessageStyled(caption, text, style);
  }
  // As WinExec starts it (the program and its arguments read from the
  // command line, shown normally, waited for until it takes input or for
  // 30 seconds), but with the command line in UTF-16.
  std::string StartProgram(std::string_view commandLine) override {
    std::wstring line = WideText(ShortText(commandLine));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
      return SystemErrorText(LastSystemError());
    }
    WaitForInputIdle(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {};
  }
  std::string OpenDocument(std::string_view document, std::string_view parameters) override {
    const std::wstring params = WideText(ShortText(parameters));
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static const auto shellExecute =
        LateFunction<ShellExecuteFunction>(L"shell32.dll", "ShellExecuteW");
    if (!shellExecute) return SystemErrorText(ERROR_DLL_NOT_FOUND);
    const auto code = reinterpret_cast<INT_PTR>(
        shellExecute(nullptr, L"open", WideText(ShortText(document)).c_str(),
                     params.empty() ? nullptr : params.c_str(), nullptr, SW_SHOW));
    return code > 32 ? std::string() : ShellFailure(code);
  }

 private:
  std::wstring rememberedFolder_;
  std::string rememberedText_;
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
  attributes = GetFileAttributesW(WideText(name).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whatever its attributes: a hidden or system list is read, and only a list
// that is really absent counts as nothing to lose.
bool LoadTools() {
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
