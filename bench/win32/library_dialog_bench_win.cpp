// Under Wine: how long the real library dialog takes to open on a full
// library (255 topics listed) and to show a topic of 255 formulas, from the
// files on disk to the filled list boxes. Prints the median and the worst
// of a number of runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "library/library_dialog_win.h"
#include "library/library_files.h"
#include "resources/ids.h"

namespace {

void WriteLibrary(int records) {
  for (int k = 1; k <= records; ++k) {
    const std::string n = std::to_string(k);
    TopicList[k] = {(std::string(37, 't') + n).substr(0, kTopicNameMax), "T1"};
    FormulaList[k] = {std::string("f").append(n, 0, 2),
                      (std::string(37, 'x') + n).substr(0, kExpressionMax),
                      (std::string(29, 'c') + n).substr(0, kCommentMax)};
  }
  TopicCount = static_cast<std::uint8_t>(records);
  TopicFormulaCount = static_cast<std::uint8_t>(records);
  FormulaFilePath = FormulaPath("T1");
  SaveTopics();
  SaveFormulaFile();
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

}  // namespace

// An argument gives another number of records than 255 (0 shows what the
// dialog costs without its lists).
int main(int argc, char** argv) {
  const int records =
      argc > 1 ? std::clamp(std::atoi(argv[1]), 0, MaxLibraryRecords) : MaxLibraryRecords;
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  const std::string folder = std::string(temp) + "quillet-bench-" + std::to_string(GetTickCount());
  CreateDirectoryA(folder.c_str(), nullptr);
  SetCurrentDirectoryA(folder.c_str());
  WriteLibrary(records);

  std::vector<double> runs, opens, chooses;
  for (int run = 0; run < 21; ++run) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), "LLISTAFORMULES", nullptr,
                                     LibraryDialogProc, 0);
    LARGE_INTEGER opened;
    QueryPerformanceCounter(&opened);
    HWND topics = GetDlgItem(dialog, IDC_LIB_TOPICS);
    SendMessageA(topics, LB_SETCURSEL, 0, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIB_TOPICS, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(topics));
    LARGE_INTEGER chosen;
    QueryPerformanceCounter(&chosen);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    QueryPerformanceCounter(&end);
    const bool whole = SendDlgItemMessageA(dialog, IDC_LIB_TOPICS, LB_GETCOUNT, 0, 0) == records &&
                       SendDlgItemMessageA(dialog, IDC_LIB_FORMULAS, LB_GETCOUNT, 0, 0) == records;
    DestroyWindow(dialog);
    Pump();
    if (!whole) {
      std::printf("library_dialog_bench: the lists did not fill\n");
      return 1;
    }
    if (run > 0) {  // the first warms the caches
      runs.push_back(Milliseconds(start, end));
      opens.push_back(Milliseconds(start, opened));
      chooses.push_back(Milliseconds(opened, chosen));
    }
  }
  std::sort(runs.begin(), runs.end());
  std::sort(opens.begin(), opens.end());
  std::sort(chooses.begin(), chooses.end());
  std::printf(
      "library dialog, %d topics and %d formulas loaded and listed: median %.2f ms, "
      "worst %.2f ms (%zu runs)\n",
      records, records, runs[runs.size() / 2], runs.back(), runs.size());
  std::printf(
      "  of which: opening with the topic list %.2f ms, choosing the topic %.2f ms, "
      "showing and drawing the rest (medians)\n",
      opens[opens.size() / 2], chooses[chooses.size() / 2]);

  DeleteFileA("temas.rel");
  DeleteFileA(FormulaPath("T1").c_str());
  RemoveDirectoryA(kFormulaFolder);
  SetCurrentDirectoryA(temp);
  RemoveDirectoryA(folder.c_str());
  return 0;
}
