#include "tests/e2e/e2e_support.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "common/codepage.h"
#include "resources/ids.h"

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
  wchar_t wide[256] = L"";
  GetWindowTextW(window, wide, 256);
  const std::string caption = Cp1252Text(wide);
  const bool matches = !search->caption || (search->prefix ? caption.rfind(search->caption, 0) == 0
                                                           : caption == search->caption);
  if (owner == search->process && IsWindowVisible(window) && matches) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

const char kPdfType[] = "QuilletTest.HelpDocument";

void SetClassesValue(const std::string& key, const std::string& value) {
  RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(),
               static_cast<DWORD>(value.size()));
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  // The arrows and their neighbours, not the number pad's keys.
  if (key >= VK_PRIOR && key <= VK_DOWN) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  return input;
}

// The item chosen, then the list's notification to the dialog.
void PickInList(HWND dialog, int list, int index, WORD notification) {
  HWND box = GetDlgItem(dialog, list);
  SendMessageW(box, LB_SETCURSEL, index, 0);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(list, notification), reinterpret_cast<LPARAM>(box));
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

bool PutAtScreenCorner(HWND window) {
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return WaitFor([&] {
    RECT r{};
    GetWindowRect(window, &r);
    return r.left < 50;
  });
}

namespace {

// Wide, so that a file the program named "opticaÑa" is found under every
// code page (an ANSI search would name it in the system's code page).
void CopyWideFolder(const std::wstring& from, const std::wstring& to) {
  CreateDirectoryW(to.c_str(), nullptr);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((from + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      CopyWideFolder(from + L"\\" + name, to + L"\\" + name);
    } else {
      CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

void RemoveWideFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveWideFolder(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

void CopyFolder(const std::string& from, const std::string& to) {
  CopyWideFolder(WideText(from), WideText(to));
}

void RemoveFolder(const std::string& folder) {
  RemoveWideFolder(WideText(folder));
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

HWND RunningProgram::MainWindow(int milliseconds) const {
  HWND window = nullptr;
  if (started_) {
    WaitFor([&] { return (window = Window("Cálculo de fórmulas")) != nullptr; }, milliseconds);
  }
  if (window) {
    // A new window's activation reaches Wine from the X server a moment
    // later, and may take the foreground from whoever has it by then: keys
    // sent before it settles go nowhere.
    WaitForInputIdle(process_.hProcess, 5000);
    Sleep(300);
  }
  return window;
}

bool RunningProgram::QuitsBySalir(HWND mainWindow) const {
  Choose(mainWindow, IDM_EXIT);
  return Ended(10000) && ExitCode() == 0;
}

DWORD RunningProgram::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

std::string ItemText(HWND window, int id) {
  wchar_t text[256] = L"";
  SendMessageW(GetDlgItem(window, id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return Cp1252Text(text);
}

void SetItemText(HWND window, int id, const std::string& text) {
  SetDlgItemTextW(window, id, WideText(text).c_str());
}

std::string ListItemText(HWND dialog, int list, int index) {
  HWND box = GetDlgItem(dialog, list);
  const LRESULT length = SendMessageW(box, LB_GETTEXTLEN, index, 0);
  if (length < 0) return "";
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(box, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide.data()));
  return Cp1252Text(std::wstring_view(wide.data(), got > 0 ? got : 0));
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
  PostMessageW(control, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageW(control, WM_KEYUP, VK_RETURN, 1 | (3u << 30));
  AttachThreadInput(GetCurrentThreadId(), theirs, FALSE);
}

void Choose(HWND window, int command) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void Click(HWND dialog, int list, int index) {
  PickInList(dialog, list, index, LBN_SELCHANGE);
}

void DoubleClick(HWND dialog, int list, int index) {
  PickInList(dialog, list, index, LBN_DBLCLK);
}

int ListCount(HWND dialog, int list) {
  return static_cast<int>(SendDlgItemMessageW(dialog, list, LB_GETCOUNT, 0, 0));
}

bool XInput(const std::string& arguments) {
  // Wine starts a Unix program as it is, in the display's environment, but
  // its process handle cannot be waited on: the program leaves a file when
  // it is done.
  static int calls = 0;
  const std::string done = "/tmp/quillet-xinput-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(++calls);
  std::string commandLine =
      "/bin/sh -c \"" + std::string(QUILLET_XDOTOOL) + " " + arguments + " && touch " + done + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const std::string doneHere = WindowsPath(done);
  const bool ended = WaitFor([&] { return FileExists(doneHere); }, 10000);
  DeleteFileA(doneHere.c_str());
  return ended;
}

bool XClickAt(POINT screen) {
  // A step aside first: "--sync" waits for a motion, and a pointer already
  // on the spot (the same field clicked in two tests) makes none.
  const std::string x = std::to_string(screen.x), y = std::to_string(screen.y);
  return XInput("mousemove " + std::to_string(screen.x + 1) + " " + y + " mousemove --sync " + x +
                " " + y + " click 1");
}

bool XClickItem(HWND window, int id) {
  RECT rect{};
  if (!GetWindowRect(GetDlgItem(window, id), &rect)) return false;
  return XClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

bool XType(const std::string& text) {
  return XInput("type --delay 40 '" + text + "'");
}

COLORREF ScreenPixel(POINT screen) {
  HDC dc = GetDC(nullptr);
  const COLORREF colour = GetPixel(dc, screen.x, screen.y);
  ReleaseDC(nullptr, dc);
  return colour;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool BringToFront(HWND window) {
  const DWORD theirs = GetWindowThreadProcessId(window, nullptr);
  AttachThreadInput(GetCurrentThreadId(), theirs, TRUE);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  AttachThreadInput(GetCurrentThreadId(), theirs, FALSE);
  return WaitFor([&] { return GetForegroundWindow() == window; }, 5000);
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(KeyInput(key, false));
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    inputs.push_back(KeyInput(*key, true));
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool TypeKeys(const std::string& text) {
  for (char c : text) {
    const SHORT key = VkKeyScanA(c);
    if (key == -1 || (HIBYTE(key) & ~1) != 0) return false;  // only Shift is pressed for us
    if (HIBYTE(key) & 1) {
      PressKeys({VK_SHIFT, LOBYTE(key)});
    } else {
      PressKeys({LOBYTE(key)});
    }
  }
  return true;
}

std::string BuildFolder() {
  const std::string program = WindowsPath(ProgramPath);
  return program.substr(0, program.find_last_of('\\'));
}

HelpDocumentType::HelpDocumentType() {
  std::string command = BuildFolder();
  command.insert(0, 1, '"');
  command += "\\tool_probe.exe\" \"%1\"";
  char previous[256] = "";
  LONG size = sizeof previous;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, ".pdf", previous, &size) == ERROR_SUCCESS) {
    previous_ = previous;
  }
  SetClassesValue(".pdf", kPdfType);
  SetClassesValue(std::string(kPdfType) + "\\shell\\open\\command", command);
}

HelpDocumentType::~HelpDocumentType() {
  RegDeleteTreeA(HKEY_CLASSES_ROOT, kPdfType);
  if (previous_.empty()) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".pdf");
  } else {
    SetClassesValue(".pdf", previous_);
  }
}
