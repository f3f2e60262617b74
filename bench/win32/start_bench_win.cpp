// Under Wine: how long quillet.exe takes from its start to a visible window,
// next to Wine's Notepad on the same machine in the same run. The two are
// started in turns, so that a slower spell of the machine falls on both; each
// start is timed from CreateProcess until a top-level window of the new
// process is visible, which is then closed as a person would close it.
// Usage: start_bench.exe PROGRAM [STARTS]   (in the folder PROGRAM runs in)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPatienceMs = 30000;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

struct WindowSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

// Seconds from the start of the command line to its first visible top-level
// window; negative when it did not start or showed nothing in time. The
// program is closed and waited for before the next start.
double TimeStart(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string line = commandLine;  // CreateProcessA may write into it
  LARGE_INTEGER start, shown;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  WindowSearch search{process.dwProcessId, nullptr};
  const DWORD deadline = GetTickCount() + kPatienceMs;
  while (!search.found && GetTickCount() < deadline &&
         WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(1);
  }
  QueryPerformanceCounter(&shown);
  if (search.found) PostMessageA(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, kPatienceMs);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return search.found ? Seconds(start, shown) : -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: start_bench.exe PROGRAM [STARTS]\n");
    return 2;
  }
  // The program by its full path: a bare name would be looked for beside
  // this benchmark first, and might start another copy.
  char program[MAX_PATH];
  if (GetFullPathNameA(argv[1], sizeof program, program, nullptr) == 0) return 2;
  const std::string programs[] = {program, "notepad.exe"};
  const int starts = argc > 2 ? std::max(1, std::atoi(argv[2])) : 11;

  // A first start of each fills Wine's caches (fonts, the program's pages):
  // it is not what a person sees the next times, so it is not counted.
  std::vector<double> times[2];
  for (int round = 0; round <= starts; ++round) {
    for (int p = 0; p < 2; ++p) {
      const double seconds = TimeStart(programs[p]);
      if (seconds < 0) {
        std::fprintf(stderr, "start_bench: %s showed no window\n", programs[p].c_str());
        return 1;
      }
      if (round > 0) times[p].push_back(seconds);
    }
  }
  const double ours = Median(times[0]), notepad = Median(times[1]);
  std::printf("start to a visible window, median of %d starts each, in turns:\n", starts);
  std::printf("  %-14s %7.1f ms  (%s)\n", argv[1], ours * 1000, program);
  std::printf("  %-14s %7.1f ms\n", "notepad.exe", notepad * 1000);
  std::printf("  ratio          %7.2f (at most 1.00: %s)\n", ours / notepad,
              ours <= notepad ? "as fast as Notepad or faster" : "SLOWER than Notepad");
  return 0;
}
