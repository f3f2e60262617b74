// The value table in its real dialog under Wine: a two-sided formula computed,
// listed and plotted, from 1 000 to 100 000 rows, painting included. Prints
// the best of three runs for each size (one run of the largest), then the
// copy of the 100 000 rows onto the clipboard. Run by scripts/bench-table-wine.sh.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "common/dialog_win.h"
#include "common/language.h"
#include "common/number_text.h"
#include "common/shared_font.h"
#include "engine/eval.h"
#include "engine/formula_cycle.h"
#include "engine/headless_formula_window.h"
#include "engine/start_up.h"
#include "resources/ids.h"
#include "table/plot_win.h"
#include "table/table_dialog_win.h"
#include "table/value_table.h"

namespace {

const char kFormula[] = "a*x^2-b*x+1=(x+a)*(x-b)/2";

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

// The dialog's own computation without the list, to tell where the time
// goes: the rows alone, or the rows and the plot.
class PartsOnly final : public TableView {
 public:
  PartsOnly(HWND dialog, bool plot) : dialog_(dialog), canvas_(PlotControl), plot_(plot) {}
  ShortText ItemText(int id) override { return GetItemText(dialog_, id); }
  char SelectedLetter() override { return 'x'; }
  void ClearRows(std::int32_t) override {}
  void AddRow(std::string_view) override {}
  void ShowMessage(std::string_view, std::string_view) override {}
  PlotCanvas* Canvas() override { return plot_ ? &canvas_ : nullptr; }

 private:
  HWND dialog_;
  GdiPlotCanvas canvas_;
  bool plot_;
};

double Timed(HWND dialog, bool plot) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  PartsOnly view(dialog, plot);
  ComputeTable(view);
  QueryPerformanceCounter(&end);
  return Seconds(start, end);
}

}  // namespace

int main() {
  InitSharedFont();
  StartEngine();
  AcceptFormulaHeadless(kFormula);

  HWND dialog =
      CreateDialogParamA(GetModuleHandleA(nullptr), "TAULA", nullptr, &TableDialogProc, 0);
  if (!dialog) {
    std::printf("the dialog TAULA did not open\n");
    return 1;
  }
  ShowWindow(dialog, SW_SHOW);
  Pump();
  SendDlgItemMessageA(dialog, IDC_TABLE_VARIABLES, LB_SETCURSEL, 1, 0);  // x
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TABLE_VARIABLES, LBN_SELCHANGE), 0);
  SetItemText(dialog, IDC_TABLE_CONST1, "2");
  SetItemText(dialog, IDC_TABLE_CONST2, "0.5");
  Pump();

  for (int rows : {1000, 10000, 100000}) {
    SetItemText(dialog, IDC_TABLE_FROM, "1");
    SetItemText(dialog, IDC_TABLE_TO, IntegerText(rows));
    SetItemText(dialog, IDC_TABLE_STEP, "1");
    double best = 1e9;
    long listed = 0;
    for (int run = 0; run < (rows < 100000 ? 3 : 1); ++run) {
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      ComputeTableInDialog(dialog);
      UpdateWindow(dialog);
      RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      QueryPerformanceCounter(&end);
      best = std::min(best, Seconds(start, end));
      listed = static_cast<long>(SendDlgItemMessageA(dialog, IDC_TABLE_ROWS, LB_GETCOUNT, 0, 0));
      Pump();
    }
    std::printf("table dialog, two formulas: %6ld rows computed, listed and plotted in %8.1f ms\n",
                listed, best * 1000);
    std::printf("  of which computed only %8.1f ms, computed and plotted %8.1f ms\n",
                Timed(dialog, false) * 1000, Timed(dialog, true) * 1000);
  }
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  CopyTableRows(dialog);
  QueryPerformanceCounter(&end);
  std::printf("table dialog: %6ld rows copied (CF_TEXT and CF_UNICODETEXT) in %8.1f ms\n",
              static_cast<long>(SendDlgItemMessageA(dialog, IDC_TABLE_ROWS, LB_GETCOUNT, 0, 0)),
              Seconds(start, end) * 1000);
  DestroyWindow(dialog);
  return 0;
}
