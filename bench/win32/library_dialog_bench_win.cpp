// Under Wine: how long the real library dialog takes to open on a full
// library (255 topics listed) and to show a topic of 255 formulas, from the
// files on disk to the filled list boxes, next to the same on an empty
// library, which is the cost of the dialog itself.
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
  // Whole new lists, over whatever an earlier run left loaded.
  SaveTopics(nullptr, true);
  SaveFormulaFile(nullptr, true);
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

struct Samples {
  std::vector<double> opening, choosing, total;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Opens the dialog on the library of the current folder, which holds
// `records` topics and formulas, chooses the first topic, shows and draws it;
// false when the lists did not fill.
bool RunOnce(int records, Samples& samples) {
  LARGE_INTEGER start, opened, chosen, end;
  QueryPerformanceCounter(&start);
  HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), "LLISTAFORMULES", nullptr,
                                   LibraryDialogProc, 0);
  QueryPerformanceCounter(&opened);
  HWND topics = GetDlgItem(dialog, IDC_LIB_TOPICS);
  SendMessageA(topics, LB_SETCURSEL, 0, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIB_TOPICS, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(topics));
  QueryPerformanceCounter(&chosen);
  ShowWindow(dialog, SW_SHOW);
  UpdateWindow(dialog);
  QueryPerformanceCounter(&end);
  const bool whole = SendDlgItemMessageA(dialog, IDC_LIB_TOPICS, LB_GETCOUNT, 0, 0) == records &&
                     SendDlgItemMessageA(dialog, IDC_LIB_FORMULAS, LB_GETCOUNT, 0, 0) == records;
  DestroyWindow(dialog);
  Pump();
  samples.opening.push_back(Milliseconds(start, opened));
  samples.choosing.push_back(Milliseconds(opened, chosen));
  samples.total.push_back(Milliseconds(start, end));
  return whole;
}

}  // namespace

// The same steps on an empty and on a full library, in turns so that both
// meet the same load of the machine: the difference is what loading and
// listing 255 topics and 255 formulas costs.
int main() {
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  const std::string root = std::string(temp) + "quillet-bench-" + std::to_string(GetTickCount());
  const std::string emptyFolder = root + "\\empty", fullFolder = root + "\\full";
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA(emptyFolder.c_str(), nullptr);
  CreateDirectoryA(fullFolder.c_str(), nullptr);
  SetCurrentDirectoryA(fullFolder.c_str());
  WriteLibrary(MaxLibraryRecords);

  constexpr int kRuns = 41;
  Samples empty, full;
  std::vector<double> lists;
  bool filled = true;
  for (int run = 0; run < kRuns && filled; ++run) {
    SetCurrentDirectoryA(emptyFolder.c_str());
    filled = RunOnce(0, empty);
    SetCurrentDirectoryA(fullFolder.c_str());
    filled = RunOnce(MaxLibraryRecords, full) && filled;
    lists.push_back(full.opening.back() - empty.opening.back() + full.choosing.back() -
                    empty.choosing.back());
  }
  SetCurrentDirectoryA(fullFolder.c_str());
  DeleteFileA("temas.rel");
  DeleteFileA(FormulaPath("T1").c_str());
  RemoveDirectoryA(kFormulaFolder);
  SetCurrentDirectoryA(temp);
  RemoveDirectoryA(fullFolder.c_str());
  RemoveDirectoryA(emptyFolder.c_str());
  RemoveDirectoryA(root.c_str());
  if (!filled) {
    std::printf("library_dialog_bench: the lists did not fill\n");
    return 1;
  }
  std::printf("library dialog under Wine, medians of %d runs:\n", kRuns);
  std::printf("  empty library: open %.2f ms, choose a topic %.2f ms, all shown %.2f ms\n",
              Median(empty.opening), Median(empty.choosing), Median(empty.total));
  std::printf(
      "  255 topics, 255 formulas: open %.2f ms, choose the topic %.2f ms, all shown "
      "%.2f ms\n",
      Median(full.opening), Median(full.choosing), Median(full.total));
  std::printf("  loading and listing both full lists: %.2f ms\n", Median(lists));
  return 0;
}
