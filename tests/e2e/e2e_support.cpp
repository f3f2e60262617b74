#include "tests/e2e/e2e_support.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

std::string ProgramPath;
std::string DataFolder;

namespace {

struct FindByCaption {
  DWORD process;
  const char* caption;
  bool prefix;  // the caption only starts with it
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<FindByCaption*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char caption[256] = "";
  GetWindowTextA(window, caption, sizeof caption);
  const bool matches =
      !search->caption || (search->prefix ? std::string(caption).rfind(search->caption, 0) == 0
                                          : std::string(caption) == search->caption);
  if (owner == search->process && IsWindowVisible(window) && matches) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path.insert(0, "Z:");
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return done();
}

void CopyFolder(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      CopyFolder(from + "\\" + name, to + "\\" + name);
    } else {
      CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

RunningProgram::RunningProgram() {
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  folder_ = std::string(temp) + "quillet-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount());
  CopyFolder(WindowsPath(DataFolder), folder_);
  ownsFolder_ = true;
  Start(WindowsPath(ProgramPath));
}

RunningProgram::RunningProgram(const std::string& program, const std::string& folder)
    : folder_(folder) {
  Start(program);
}

void RunningProgram::Start(const std::string& program) {
  std::string commandLine = program;
  commandLine.insert(commandLine.begin(), '"');
  commandLine.push_back('"');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder_.c_str(), &startup, &process_) != FALSE;
}

RunningProgram::~RunningProgram() {
  if (started_) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  if (ownsFolder_) RemoveFolder(folder_);
}

HWND RunningProgram::Window(const char* caption) const {
  FindByCaption search{process_.dwProcessId, caption, false, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND RunningProgram::WindowStartingWith(const char* start) const {
  FindByCaption search{process_.dwProcessId, start, true, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool RunningProgram::Ended(int milliseconds) const {
  return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

DWORD RunningProgram::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

std::string ItemText(HWND window, int id) {
  char text[256] = "";
  GetDlgItemTextA(window, id, text, sizeof text);
  return text;
}

HWND FocusIn(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void PressEnterIn(HWND window, int id) {
  const DWORD theirs = GetWindowThreadProcessId(window, nullptr);
  AttachThreadInput(GetCurrentThreadId(), theirs, TRUE);
  HWND control = GetDlgItem(window, id);
  SetFocus(control);
  PostMessageA(control, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(control, WM_KEYUP, VK_RETURN, 1 | (3u << 30));
  AttachThreadInput(GetCurrentThreadId(), theirs, FALSE);
}

void Choose(HWND window, int command) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void DoubleClick(HWND dialog, int list, int index) {
  HWND box = GetDlgItem(dialog, list);
  SendMessageA(box, LB_SETCURSEL, index, 0);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(list, LBN_DBLCLK), reinterpret_cast<LPARAM>(box));
}

int ListCount(HWND dialog, int list) {
  return static_cast<int>(SendDlgItemMessageA(dialog, list, LB_GETCOUNT, 0, 0));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
