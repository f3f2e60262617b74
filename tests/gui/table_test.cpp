// The value table dialog from its real template: layout, relabelling, the
// Enter rule, the rows, the plot on the screen and the clipboard.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "common/dialog_win.h"
#include "common/dpi_win.h"
#include "common/field_brush_win.h"
#include "common/language.h"
#include "common/number_text.h"
#include "common/shared_font.h"
#include "engine/eval.h"
#include "engine/headless_formula_window.h"
#include "resources/ids.h"
#include "table/plot_win.h"
#include "table/table_dialog_win.h"
#include "table/value_table.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/dialog_template.h"
#include "tests/gui/msgbox_recorder.h"

namespace {

class Table : public ::testing::Test {
 protected:
  void SetUp() override {
    Language = 2;
    DecimalSeparator = '.';
    ResetFormulaCycle();
    for (int i = 1; i <= 4; ++i) ConstTexts[i] = "0";
  }
  void TearDown() override {
    window_.reset();
    TableWindow = nullptr;
    PlotControl = nullptr;
  }
  // Accepts the formula in the main window's place, then opens the table.
  void Open(const char* formula) {
    window_.reset();
    AcceptFormulaHeadless(formula);
    EXPECT_GT(ParamCount, 0) << formula;
    window_ = std::make_unique<DialogDriver>("TAULA", &TableDialogProc);
    EXPECT_NE(window_->Dialog(), nullptr);
  }
  DialogDriver& W() { return *window_; }

  void Range(const char* from, const char* to, const char* step) {
    W().Type(IDC_TABLE_FROM, from);
    W().Type(IDC_TABLE_TO, to);
    W().Type(IDC_TABLE_STEP, step);
  }
  void Compute() {
    W().Focus(IDC_TABLE_TO);
    W().PressEnter();
  }
  void SelectVariable(int position) {
    SendMessageA(W().Item(IDC_TABLE_VARIABLES), LB_SETCURSEL, position - 1, 0);
    SendMessageA(W().Dialog(), WM_COMMAND, MAKEWPARAM(IDC_TABLE_VARIABLES, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(W().Item(IDC_TABLE_VARIABLES)));
    W().Pump();
  }
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    HWND list = W().Item(IDC_TABLE_ROWS);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) rows.push_back(ListLineText(list, i));
    return rows;
  }
  // The plot control as it shows on the screen: how many pixels are dark.
  int DarkPixelsOfPlot() {
    HWND plot = W().Item(IDC_TABLE_PLOT);
    RECT r{};
    GetClientRect(plot, &r);
    HDC dc = GetDC(plot);
    int dark = 0;
    for (int y = 1; y < r.bottom - 1; ++y) {
      for (int x = 1; x < r.right - 1; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        dark += c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 300;
      }
    }
    ReleaseDC(plot, dc);
    return dark;
  }
  void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    W().Pump();
  }

  MessageBoxRecorder boxes_;
  std::unique_ptr<DialogDriver> window_;
};

TEST_F(Table, ControlsStandInTemplateOrderWithTheirLayout) {
  Open("a*x+b*y");
  const DWORD edit = ES_AUTOHSCROLL | WS_TABSTOP;
  // The tab order follows the screen: range, step, constants, "Ok", the lists.
  const TemplateControl expected[] = {
      {65535, "Static", "de", 40, 8, 9, 7, SS_LEFT, false},
      {20, "Edit", "", 50, 7, 40, 9, edit, true},
      {65535, "Static", "a", 92, 8, 5, 7, SS_LEFT, false},
      {21, "Edit", "", 100, 7, 40, 9, edit, true},
      {65535, "Static", "incr.", 145, 7, 14, 7, SS_LEFT, false},
      {22, "Edit", "1", 160, 7, 30, 9, edit, true},
      {39, "Static", "Constantes", 46, 19, 40, 7, SS_LEFT, false},
      {41, "Static", "x", 42, 29, 7, 7, SS_LEFT, false},
      {31, "Edit", nullptr, 50, 28, 40, 9, edit, true},
      {42, "Static", "b", 92, 29, 7, 7, SS_LEFT, false},
      {32, "Edit", nullptr, 100, 28, 40, 9, edit, true},
      {43, "Static", "y", 142, 29, 7, 7, SS_LEFT, false},
      {33, "Edit", nullptr, 150, 28, 40, 9, edit, true},
      // The one Enter presses, once the focus is in a field, as with Tab.
      {1, "Button", "Ok", 195, 6, 12, 10, BS_DEFPUSHBUTTON | WS_TABSTOP, false},
      {65535, "Static", "variable", 3, 0, 29, 8, SS_LEFT, false},
      {90, "ListBox", nullptr, 5, 8, 20, 36, LBS_NOTIFY | WS_TABSTOP, true},
      {40, "Static", "a", 10, 45, 10, 8, SS_LEFT, false},
      {0, "Static", "F", 60, 45, 10, 8, SS_LEFT, false},
      {100, "ListBox", nullptr, 8, 53, 90, 100,
       LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT | WS_TABSTOP, true},
      {150, "Static", "", 110, 53, 140, 100, SS_WHITERECT, false},
  };
  ExpectTemplateControls(W(), expected);
  EXPECT_EQ(TableWindow, W().Dialog());
  EXPECT_EQ(PlotControl, W().Item(IDC_TABLE_PLOT));
}

TEST_F(Table, FrameFontAndCaptionOfOneAndOfTwoFormulas) {
  Open("a+b");
  HWND dialog = W().Dialog();
  EXPECT_EQ(WindowText(dialog), "tabla  f: a+b  ");
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE));
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, W().Pixels(0, 0, 260, 160).right);
  EXPECT_EQ(client.bottom, W().Pixels(0, 0, 260, 160).bottom);
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(lstrcmpiA(font.lfFaceName, "Arial"), 0) << font.lfFaceName;

  Open("x^2=2*x+1");
  EXPECT_EQ(WindowText(W().Dialog()), "tabla  f1: x^2  f2: 2*x+1  ");
}

TEST_F(Table, ConstantFieldsFollowTheChosenVariable) {
  Open("x");
  EXPECT_EQ(SendMessageA(W().Item(IDC_TABLE_VARIABLES), LB_GETCOUNT, 0, 0), 1);
  for (int id : {IDC_TABLE_CONST_LABEL, IDC_TABLE_CONST1, IDC_TABLE_CONST2, IDC_TABLE_CONST3,
                 IDC_TABLE_LETTER1, IDC_TABLE_LETTER2, IDC_TABLE_LETTER3}) {
    EXPECT_FALSE(W().Visible(id)) << id;
  }
  EXPECT_EQ(W().Text(IDC_TABLE_VAR_HEADER), "x");

  ConstTexts[1] = "1";
  ConstTexts[2] = "2";
  ConstTexts[3] = "3";
  ConstTexts[4] = "4";
  Open("x*y+z-w");
  EXPECT_TRUE(W().Visible(IDC_TABLE_CONST_LABEL));
  EXPECT_EQ(W().Text(IDC_TABLE_LETTER1) + W().Text(IDC_TABLE_LETTER2) + W().Text(IDC_TABLE_LETTER3),
            "yzw");
  EXPECT_EQ(W().Text(IDC_TABLE_CONST1) + W().Text(IDC_TABLE_CONST2) + W().Text(IDC_TABLE_CONST3),
            "234");
  SelectVariable(3);  // z runs: x, y and w are the constants
  EXPECT_EQ(W().Text(IDC_TABLE_VAR_HEADER), "z");
  EXPECT_EQ(W().Text(IDC_TABLE_LETTER1) + W().Text(IDC_TABLE_LETTER2) + W().Text(IDC_TABLE_LETTER3),
            "xyw");
  EXPECT_EQ(W().Text(IDC_TABLE_CONST1) + W().Text(IDC_TABLE_CONST2) + W().Text(IDC_TABLE_CONST3),
            "124");

  Open("x*y+z");
  SelectVariable(3);
  EXPECT_EQ(ConstLetters, "xy");
  EXPECT_TRUE(W().Visible(IDC_TABLE_CONST2));
  EXPECT_FALSE(W().Visible(IDC_TABLE_CONST3));
  EXPECT_FALSE(W().Visible(IDC_TABLE_LETTER3));
}

TEST_F(Table, EnterMovesFromDeToAAndComputesThere) {
  Open("x*x");
  W().Type(IDC_TABLE_FROM, "1");
  W().Type(IDC_TABLE_TO, "7");
  W().Focus(IDC_TABLE_FROM);
  W().PressEnter();
  EXPECT_EQ(W().FocusedId(), IDC_TABLE_TO);
  EXPECT_TRUE(W().AllSelected(IDC_TABLE_TO));
  EXPECT_TRUE(Rows().empty());
  W().Type(IDC_TABLE_TO, "3");
  W().Focus(IDC_TABLE_STEP);
  W().PressEnter();
  EXPECT_TRUE(Rows().empty());  // Enter in "incr." does nothing
  W().Focus(IDC_TABLE_TO);
  W().PressEnter();
  EXPECT_EQ(Rows(),
            (std::vector<std::string>{"    1\t       1", "    2\t       4", "    3\t       9"}));
  W().Type(IDC_TABLE_TO, "2");
  W().Click(IDOK);
  EXPECT_EQ(Rows().size(), 2u);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// Tab follows the screen, range, step, constants, "Ok", then both lists; the
// dialog opens in the first constant, its value selected. Enter in a list
// does nothing.
TEST_F(Table, TabFollowsTheScreenAndTheDialogOpensInItsFirstConstant) {
  Open("x");
  EXPECT_EQ(W().FocusedId(), IDC_TABLE_FROM);  // no constants
  Open("a*x+b");
  EXPECT_EQ(W().FocusedId(), IDC_TABLE_CONST1);
  EXPECT_TRUE(W().AllSelected(IDC_TABLE_CONST1));  // typing 5 gives 5, not 50
  W().PressKey(VK_TAB);
  EXPECT_EQ(W().FocusedId(), IDC_TABLE_CONST2);
  EXPECT_TRUE(W().AllSelected(IDC_TABLE_CONST2));
  W().Focus(IDC_TABLE_FROM);
  const int order[] = {IDC_TABLE_TO, IDC_TABLE_STEP,      IDC_TABLE_CONST1, IDC_TABLE_CONST2,
                       IDOK,         IDC_TABLE_VARIABLES, IDC_TABLE_ROWS,   IDC_TABLE_FROM};
  for (int id : order) {
    W().PressKey(VK_TAB);
    EXPECT_EQ(W().FocusedId(), id);
  }
  W().PressKey(VK_TAB, VK_SHIFT);
  EXPECT_EQ(W().FocusedId(), IDC_TABLE_ROWS);
  W().Type(IDC_TABLE_FROM, "1");
  W().Type(IDC_TABLE_TO, "2");
  W().Focus(IDC_TABLE_VARIABLES);
  W().PressEnter();
  EXPECT_TRUE(Rows().empty());
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(Table, ConstantsAreReadAndRememberedForTheNextOpening) {
  Open("a*x^2+b");
  SelectVariable(2);
  W().Type(IDC_TABLE_CONST1, "2");
  W().Type(IDC_TABLE_CONST2, "-1");
  Range("-3", "3", "0.25");
  Compute();
  const std::vector<std::string> rows = Rows();
  ASSERT_EQ(rows.size(), 25u);
  EXPECT_EQ(rows[0], "   -3\t      17");
  EXPECT_EQ(rows[12], "    0\t      -1");

  Open("a*x^2+b");
  EXPECT_EQ(W().Text(IDC_TABLE_FROM), "");
  EXPECT_EQ(W().Text(IDC_TABLE_TO), "");
  EXPECT_EQ(W().Text(IDC_TABLE_STEP), "1");
  EXPECT_EQ(W().Text(IDC_TABLE_LETTER1) + "=" + W().Text(IDC_TABLE_CONST1), "x=0");
  EXPECT_EQ(W().Text(IDC_TABLE_LETTER2) + "=" + W().Text(IDC_TABLE_CONST2), "b=-1");
  SelectVariable(2);
  EXPECT_EQ(W().Text(IDC_TABLE_CONST1), "2");
}

TEST_F(Table, RefusalsShowOneBoxAndKeepTheRows) {
  Open("x");
  Range("0", "2", "1");
  Compute();
  ASSERT_EQ(Rows().size(), 3u);
  struct Case {
    const char *from, *to, *step, *text;
  };
  const Case cases[] = {
      {"abc", "2", "1", "\"abc\" is an invalid float"},
      {"0", "1", "0", "El incremento debe ser un número distinto de cero."},
      {"0", "1", "-0.5", "Con este incremento la variable nunca llega al valor \"a\"."},
      {"0", "200000", "1", "La tabla tendría más de 100 000 filas (el máximo es 100 000)."},
  };
  for (const Case& c : cases) {
    boxes_.Clear();
    Range(c.from, c.to, c.step);
    Compute();
    ASSERT_EQ(boxes_.Boxes().size(), 1u) << c.text;
    EXPECT_EQ(boxes_.Last().text, c.text);
    EXPECT_EQ(boxes_.Last().Style(), MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(Rows().size(), 3u);
  }
}

TEST_F(Table, ThePlotSurvivesRepaintsAndANoAreaComputation) {
  Open("x*x");
  Repaint(W().Dialog());
  EXPECT_EQ(DarkPixelsOfPlot(), 0);  // a white area before the first table
  Range("-3", "2", "0.5");
  Compute();
  Repaint(W().Dialog());
  const int drawn = DarkPixelsOfPlot();
  EXPECT_GT(drawn, 200);
  ASSERT_NE(KeptPlot(W().Item(IDC_TABLE_PLOT)), nullptr);

  // Covered and uncovered, moved: the control paints itself anew each time.
  InvalidateRect(W().Item(IDC_TABLE_PLOT), nullptr, TRUE);
  UpdateWindow(W().Item(IDC_TABLE_PLOT));
  EXPECT_EQ(DarkPixelsOfPlot(), drawn);
  RECT r{};
  GetWindowRect(W().Dialog(), &r);
  SetWindowPos(W().Dialog(), nullptr, r.left + 7, r.top + 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Repaint(W().Dialog());
  EXPECT_EQ(DarkPixelsOfPlot(), drawn);

  Range("2", "-2", "1");  // "a" below "de": no area
  Compute();
  EXPECT_EQ(Rows().size(), 2u);
  Repaint(W().Dialog());
  EXPECT_EQ(DarkPixelsOfPlot(), drawn);
}

// The labels' font is made for 96 dots per inch and scaled as the dialog is
// (a run at 144 gives 21 by 8: cmake's wine.gui_dpi).
TEST_F(Table, ThePlotLabelsFollowTheDisplayScale) {
  Open("x*x");
  Range("-3", "2", "0.5");
  Compute();
  const int dpi = WindowDpi(W().Item(IDC_TABLE_PLOT));
  EXPECT_EQ(SharedFont.Height, MulDiv(14, dpi, 96));
  EXPECT_EQ(SharedFont.Width, MulDiv(5, dpi, 96));
}

TEST_F(Table, TwoFormulasDrawTheSecondCurveInRed) {
  Open("x*x=4-x");
  Range("-2", "3", "0.25");
  Compute();
  Repaint(W().Dialog());
  HWND plot = W().Item(IDC_TABLE_PLOT);
  HDC dc = GetDC(plot);
  RECT r{};
  GetClientRect(plot, &r);
  int red = 0;
  for (int y = 0; y < r.bottom; ++y) {
    for (int x = 0; x < r.right; ++x) red += GetPixel(dc, x, y) == RGB(200, 0, 0);
  }
  ReleaseDC(plot, dc);
  EXPECT_GT(red, 30);
  EXPECT_EQ(Rows()[0], "   -2\t       4\t       6");
}

TEST_F(Table, CtrlCAndCopiarPutEveryRowOnTheClipboard) {
  Open("x*x");
  Range("1", "3", "1");
  Compute();
  auto clipboard = [&] {
    std::string text;
    if (OpenClipboard(W().Dialog())) {
      if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
      }
      CloseClipboard();
    }
    return text;
  };
  const std::string want = "1\t1\r\n2\t4\r\n3\t9\r\n";  // the numbers, no padding
  if (OpenClipboard(W().Dialog())) {
    EmptyClipboard();
    CloseClipboard();
  }
  W().Focus(IDC_TABLE_ROWS);
  W().PressKey('C', VK_CONTROL);
  EXPECT_EQ(clipboard(), want);

  // A "C" without Ctrl is the list's own key.
  if (OpenClipboard(W().Dialog())) {
    EmptyClipboard();
    CloseClipboard();
  }
  W().PressKey('C');
  EXPECT_EQ(clipboard(), "");
  // A right-click on the rows: the shortcut menu's one item, chosen with the keys.
  HWND list = W().Item(IDC_TABLE_ROWS);
  RECT r{};
  GetWindowRect(list, &r);
  PostMessageA(list, WM_KEYDOWN, VK_DOWN, 1);
  PostMessageA(list, WM_KEYDOWN, VK_RETURN, 1);
  SendMessageA(W().Dialog(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list),
               MAKELPARAM(r.left + 5, r.top + 5));
  W().Pump();
  EXPECT_EQ(clipboard(), want);
}

// Past 65 535 rows, where 16-bit positions would wrap to the first rows again:
// both forms on the clipboard hold every row of the list, in order.
TEST_F(Table, CopyHandsOnEveryRowInBothForms) {
  Open("x*2");
  Range("1", "70000", "1");
  Compute();
  const std::vector<std::string> rows = Rows();
  ASSERT_EQ(rows.size(), 70000u);
  W().Focus(IDC_TABLE_ROWS);
  W().PressKey('C', VK_CONTROL);
  std::string ansi;
  std::wstring wide;
  ASSERT_TRUE(OpenClipboard(W().Dialog()));
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    ansi = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    wide = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  std::string want;  // each of the two cells without the list's padding
  for (const std::string& row : rows) {
    const std::size_t tab = row.find('\t');
    want += row.substr(row.find_first_not_of(' '), tab + 1 - row.find_first_not_of(' ')) +
            row.substr(row.find_first_not_of(' ', tab + 1)) + "\r\n";
  }
  EXPECT_EQ(ansi.size(), want.size());
  EXPECT_TRUE(ansi == want);
  EXPECT_EQ(std::wstring(want.begin(), want.end()), wide);  // the rows are plain ASCII
  EXPECT_EQ(rows[65536].substr(0, 6), "65537\t");
}

// A formula accepted in the main window while the table is open: the
// caption, the variable list and the constants follow it; the range fields,
// the rows and the remembered constants stay.
TEST_F(Table, TheOpenTableFollowsTheAcceptedFormula) {
  Open("x*x");
  Range("1", "3", "1");
  Compute();
  const std::vector<std::string> rows = Rows();
  ConstTexts[2] = "5";
  AcceptFormulaHeadless("a*b+c=a");
  TableFollowsFormula();
  EXPECT_EQ(WindowText(W().Dialog()), "tabla  f1: a*b+c  f2: a  ");
  EXPECT_EQ(SendMessageA(W().Item(IDC_TABLE_VARIABLES), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(ListSelected(W().Dialog(), IDC_TABLE_VARIABLES), 1);
  EXPECT_EQ(W().Text(IDC_TABLE_VAR_HEADER), "a");
  EXPECT_EQ(W().Text(IDC_TABLE_LETTER1) + "=" + W().Text(IDC_TABLE_CONST1), "b=5");
  EXPECT_EQ(W().Text(IDC_TABLE_LETTER2) + "=" + W().Text(IDC_TABLE_CONST2), "c=0");
  EXPECT_TRUE(W().Visible(IDC_TABLE_CONST_LABEL));
  EXPECT_FALSE(W().Visible(IDC_TABLE_CONST3));
  EXPECT_EQ(
      W().Text(IDC_TABLE_FROM) + " " + W().Text(IDC_TABLE_TO) + " " + W().Text(IDC_TABLE_STEP),
      "1 3 1");
  EXPECT_EQ(Rows(), rows);
  Compute();
  EXPECT_EQ(Rows()[2], "    3\t      15\t       3");

  // Back to one parameter: the constants go.
  AcceptFormulaHeadless("y+1");
  TableFollowsFormula();
  EXPECT_EQ(WindowText(W().Dialog()), "tabla  f: y+1  ");
  EXPECT_FALSE(W().Visible(IDC_TABLE_CONST_LABEL));
  EXPECT_FALSE(W().Visible(IDC_TABLE_CONST1));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// "Nueva", a refused formula or an edit in the main window leave the open
// table as it was built: "Constantes", the variable's heading and the
// constants stay through a change of variable; a formula accepted then
// gives them anew, and "Ok" and the next change keep naming the running letter.
TEST_F(Table, HeadingsStayThroughNuevaANewFormulaOkAndAChangeOfVariable) {
  Open("a*x+b");
  auto labels = [&] {
    std::string shown = W().Text(IDC_TABLE_VAR_HEADER) + ":";
    for (int j = 0; j < 3; ++j) {
      if (W().Visible(IDC_TABLE_LETTER1 + j) && W().Visible(IDC_TABLE_CONST1 + j)) {
        shown += W().Text(IDC_TABLE_LETTER1 + j);
      }
    }
    return shown + (W().Visible(IDC_TABLE_CONST_LABEL) ? " Constantes" : "");
  };
  EXPECT_EQ(labels(), "a:xb Constantes");
  EXPECT_EQ(AcceptFormulaHeadless(""), 0);  // "Nueva": no parameters in the main window
  TableFollowsFormula();
  W().Type(IDC_TABLE_FROM, "1");  // the table goes on getting messages
  EXPECT_EQ(labels(), "a:xb Constantes");
  SelectVariable(2);
  EXPECT_EQ(labels(), "x:ab Constantes");
  EXPECT_EQ(AcceptFormulaHeadless("a*x+"), 1);  // refused: its letters are gone too
  TableFollowsFormula();
  SelectVariable(3);
  EXPECT_EQ(labels(), "b:ax Constantes");

  AcceptFormulaHeadless("p*q");
  TableFollowsFormula();
  EXPECT_EQ(labels(), "p:q Constantes");
  Range("1", "2", "1");
  Compute();
  EXPECT_EQ(Rows().size(), 2u);
  EXPECT_EQ(labels(), "p:q Constantes");
  SelectVariable(2);
  EXPECT_EQ(labels(), "q:p Constantes");
  AcceptFormulaHeadless("y+1");
  TableFollowsFormula();
  EXPECT_EQ(labels(), "y:");
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// Leaving out what cannot show changes no pixel: each table drawn call by
// call, and as the dialog draws it, gives the same picture.
TEST_F(Table, ThePlotKeepsEveryPixelOfEveryCall) {
  class EveryCall final : public TableView {
   public:
    explicit EveryCall(HWND dialog) : dialog_(dialog), canvas_(PlotControl, true) {}
    ShortText ItemText(int id) override { return GetItemText(dialog_, id); }
    char SelectedLetter() override { return ListSelectedText(dialog_, IDC_TABLE_VARIABLES)[0]; }
    void ClearRows(std::int32_t) override {}
    void AddRow(std::string_view) override {}
    void ShowMessage(std::string_view, std::string_view) override {}
    PlotCanvas* Canvas() override { return &canvas_; }

   private:
    HWND dialog_;
    GdiPlotCanvas canvas_;
  };
  auto pixels = [&] {
    HBITMAP plot = KeptPlot(W().Item(IDC_TABLE_PLOT));
    BITMAP size{};
    GetObjectW(plot, sizeof size, &size);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.bmWidth;
    info.bmiHeader.biHeight = -size.bmHeight;  // from the top row down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<DWORD> bits(static_cast<std::size_t>(size.bmWidth) * size.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, plot, 0, size.bmHeight, bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bits;
  };
  struct Case {
    const char *formula, *from, *to, *step;
  };
  const Case cases[] = {
      {"x*x=4-x", "-2", "3", "0.0005"},        // thousands of rows a pixel apart, two curves
      {"1/x", "-1", "1", "0.001"},             // far beyond the frame near 0
      {"x^3-20*x", "-5", "5.2", "0.3"},        // few rows, labels at the right edge
      {"x*(x-3)", "0.000001", "3", "0.0001"},  // labels that run past the left edge
  };
  for (const Case& c : cases) {
    Open(c.formula);
    Range(c.from, c.to, c.step);
    EveryCall view(W().Dialog());
    ComputeTable(view);
    const std::vector<DWORD> everyCall = pixels();
    Compute();
    const std::vector<DWORD> shown = pixels();
    ASSERT_EQ(shown.size(), everyCall.size()) << c.formula;
    std::size_t differ = 0, dark = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
      differ += shown[i] != everyCall[i];
      dark += (shown[i] & 0xFFFFFF) != 0xFFFFFF;
    }
    EXPECT_EQ(differ, 0u) << c.formula;
    EXPECT_GT(dark, 500u) << c.formula;
  }
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// A table of long powers: the program answers and repaints while it runs,
// the bar shows the rows done, a second Ok starts nothing, Esc stops it at
// once, and the rows listed so far are each the loop's exact value.
TEST_F(Table, ALongTableAnswersShowsItsProgressAndStopsOnEsc) {
  DialogDriver main("PRINCIPAL", &MainDialogProc);
  main.Type(IDC_FORMULA, "x^2147483647");
  Open("x^2147483647");
  // 100 000 rows, ever longer towards 1 (seconds each there), short past it.
  Range("0.9", "1.099998", "0.000002");
  HWND bar = nullptr;
  int firstPos = 0, laterPos = 0;
  bool repainted = false, fieldsGrey = false;
  double escAt = 0;
  TimedSteps steps;
  steps.At(700, [&] {
    bar = W().Item(IDC_TABLE_PROGRESS);
    firstPos = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
    fieldsGrey = !W().Enabled(IDOK) && !W().Enabled(IDC_TABLE_FROM) && !main.Enabled(IDC_OK);
    InvalidateRect(W().Dialog(), nullptr, TRUE);
    SendRealKey(VK_RETURN);  // a second Ok
  });
  steps.At(900, [&] {
    repainted = !GetUpdateRect(W().Dialog(), nullptr, FALSE);
    laterPos = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
  });
  steps.At(1000, [&] {
    escAt = steps.Now();
    SendRealKey(VK_ESCAPE);
  });
  AnswerWatch mainAnswers(main.Dialog()), tableAnswers(W().Dialog());
  steps.Start();
  Compute();
  const double stoppedAt = steps.Now();
  EXPECT_TRUE(steps.AllRun());
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(fieldsGrey);
  EXPECT_TRUE(repainted);
  EXPECT_GT(firstPos, 0);
  EXPECT_GT(laterPos, firstPos);  // not started again
  EXPECT_LT(stoppedAt - escAt, 100);
  EXPECT_LT(mainAnswers.SlowestMs(), 100);
  EXPECT_LT(tableAnswers.SlowestMs(), 100);
  EXPECT_GT(mainAnswers.Answers(), 10);

  const std::vector<std::string> rows = Rows();
  ASSERT_GE(static_cast<int>(rows.size()), laterPos);
  ASSERT_GT(rows.size(), 0u);
  ASSERT_LT(rows.size(), 100000u);
  EXPECT_EQ(W().Text(IDC_TABLE_STATUS),
            "Parado: " + std::to_string(rows.size()) + " de 100000 filas");
  double x = 0.9;
  for (std::size_t i = 1; i < rows.size(); ++i) x = x + 0.000002;
  const double y = EvalFormula(SubstLetter("x^2147483647", 'x', NumberText(x)));
  EXPECT_EQ(rows.back(), std::string((VariableCell(x) + "\t" + ValueCell(y)).view()));
  EXPECT_GT(DarkPixelsOfPlot(), 100);
  EXPECT_FALSE(W().Visible(IDC_TABLE_PROGRESS));
  EXPECT_TRUE(W().Enabled(IDOK) && W().Enabled(IDC_TABLE_FROM) && main.Enabled(IDC_OK));
  EXPECT_EQ(W().FocusedId(), IDC_TABLE_TO);  // where Enter started it
  EXPECT_TRUE(IsWindow(W().Dialog()));       // Esc stopped the table, not closed it
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(Table, ColoursOfTheDialogLabelsAndLists) {
  Open("x");
  HDC dc = CreateCompatibleDC(nullptr);
  auto colourOf = [&](UINT message, HWND control) {
    SetBkColor(dc, RGB(1, 2, 3));
    const INT_PTR brush = TableDialogProc(W().Dialog(), message, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(control));
    LOGBRUSH description{};
    GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof description, &description);
    EXPECT_EQ(description.lbColor, GetBkColor(dc)) << message;
    return GetBkColor(dc);
  };
  EXPECT_EQ(colourOf(WM_CTLCOLORDLG, W().Dialog()), RGB(192, 224, 234));
  EXPECT_EQ(colourOf(WM_CTLCOLORSTATIC, W().Item(IDC_TABLE_VAR_HEADER)), RGB(192, 224, 234));
  if (FieldBrush) {
    EXPECT_EQ(colourOf(WM_CTLCOLORLISTBOX, W().Item(IDC_TABLE_ROWS)), RGB(255, 255, 211));
  }
  DeleteDC(dc);
}

}  // namespace
