// The real program, started as its own process and used from outside as a
// person would: type into its window, press Enter, read what it shows.
//
//   quillet_e2e <path of quillet.exe> <data folder>
//
// Each test starts the program in a fresh copy of the data folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

namespace {

std::string ProgramPath;
std::string DataFolder;

// Wine hands Unix paths through unchanged; the Z: drive is the Unix root.
std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path.insert(0, "Z:");
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

bool WaitFor(const std::function<bool()>& done, int milliseconds = 20000) {
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

struct FindByCaption {
  DWORD process;
  const char* caption;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<FindByCaption*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char caption[256] = "";
  GetWindowTextA(window, caption, sizeof caption);
  if (owner == search->process && IsWindowVisible(window) &&
      (!search->caption || std::string(caption) == search->caption)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The running program, ended at the latest when the test ends.
class RunningProgram {
 public:
  RunningProgram() {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "quillet-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(GetTickCount());
    CopyFolder(WindowsPath(DataFolder), folder_);

    std::string commandLine = WindowsPath(ProgramPath);
    commandLine.insert(commandLine.begin(), '"');
    commandLine.push_back('"');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder_.c_str(), &startup, &process_) != FALSE;
  }

  ~RunningProgram() {
    if (started_) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
      }
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
    RemoveFolder(folder_);
  }

  bool Started() const { return started_; }

  // A visible top-level window of the program; with a caption, that one.
  HWND Window(const char* caption = nullptr) const {
    FindByCaption search{process_.dwProcessId, caption, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  bool Ended(int milliseconds) const {
    return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
  }

  DWORD ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  std::string folder_;
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

std::string ItemText(HWND window, int id) {
  char text[256] = "";
  GetDlgItemTextA(window, id, text, sizeof text);
  return text;
}

HWND FocusIn(HWND window) {
  // With the two input queues joined, GetFocus tells the program's focus.
  const DWORD theirs = GetWindowThreadProcessId(window, nullptr);
  AttachThreadInput(GetCurrentThreadId(), theirs, TRUE);
  HWND focus = GetFocus();
  AttachThreadInput(GetCurrentThreadId(), theirs, FALSE);
  return focus;
}

// Puts the keyboard focus on a control of the program and presses Enter there;
// the program's dialog manager turns it into its command.
void PressEnterIn(HWND window, int id) {
  const DWORD theirs = GetWindowThreadProcessId(window, nullptr);
  AttachThreadInput(GetCurrentThreadId(), theirs, TRUE);
  HWND control = GetDlgItem(window, id);
  SetFocus(control);
  PostMessageA(control, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(control, WM_KEYUP, VK_RETURN, 1 | (3u << 30));
  AttachThreadInput(GetCurrentThreadId(), theirs, FALSE);
}

// Control ids of the main window, as the user sees them.
constexpr int kFormula = 101, kFirstParam = 61, kSecondParam = 62, kResult = 80;
constexpr int kSalir = 2;
const char kCaption[] = "Cálculo de fórmulas";

TEST(Program, ComputesAFormulaTypedIntoItsWindow) {
  RunningProgram program;
  ASSERT_TRUE(program.Started()) << ProgramPath;
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = program.Window(kCaption)) != nullptr; }));

  SetDlgItemTextA(window, kFormula, "a*x^2+1");
  PressEnterIn(window, kFormula);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(window, kSecondParam)); }));
  EXPECT_EQ(FocusIn(window), GetDlgItem(window, kFirstParam));

  SetDlgItemTextA(window, kFirstParam, "2");
  PressEnterIn(window, kFirstParam);
  ASSERT_TRUE(WaitFor([&] { return FocusIn(window) == GetDlgItem(window, kSecondParam); }));
  SetDlgItemTextA(window, kSecondParam, "3");
  PressEnterIn(window, kSecondParam);
  EXPECT_TRUE(WaitFor([&] { return ItemText(window, kResult) == "19"; }))
      << "result field: " << ItemText(window, kResult);

  PostMessageA(window, WM_COMMAND, MAKEWPARAM(kSalir, 0), 0);
  ASSERT_TRUE(program.Ended(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(Program, ReportsAMathErrorInABoxAndClosesFromItsFrame) {
  RunningProgram program;
  ASSERT_TRUE(program.Started()) << ProgramPath;
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = program.Window(kCaption)) != nullptr; }));

  SetDlgItemTextA(window, kFormula, "1/x");
  PressEnterIn(window, kFormula);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(window, kFirstParam)); }));
  SetDlgItemTextA(window, kFirstParam, "0");
  PressEnterIn(window, kFirstParam);

  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = program.Window("*Error*")) != nullptr; }));
  char text[256] = "";
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  EXPECT_STREQ(text, "División por cero");
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  EXPECT_EQ(ItemText(window, kResult), "");

  PostMessageA(window, WM_CLOSE, 0, 0);  // the close box
  ASSERT_TRUE(program.Ended(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    fprintf(stderr, "usage: quillet_e2e <path of quillet.exe> <data folder>\n");
    return 2;
  }
  ProgramPath = argv[1];
  DataFolder = argv[2];
  return RUN_ALL_TESTS();
}
