// The main window from its real template, driven through the dialog manager.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "about/about_win.h"
#include "app/main_window_win.h"
#include "common/field_brush_win.h"
#include "common/language.h"
#include "common/number_text.h"
#include "library/library_dialog_win.h"
#include "resources/ids.h"
#include "table/table_dialog_win.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/dialog_template.h"
#include "tests/gui/msgbox_recorder.h"
#include "tools/tools_editor_win.h"

namespace {

constexpr int kParamFields[] = {IDC_PARAM_EDIT1, IDC_PARAM_EDIT2, IDC_PARAM_EDIT3, IDC_PARAM_EDIT4};
constexpr int kParamLabels[] = {IDC_PARAM_LABEL1, IDC_PARAM_LABEL2, IDC_PARAM_LABEL3,
                                IDC_PARAM_LABEL4};

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    Language = 2;
    DecimalSeparator = '.';
    ResetFormulaCycle();
    window_ = std::make_unique<DialogDriver>("PRINCIPAL", &MainDialogProc);
    ASSERT_NE(window_->Dialog(), nullptr);
  }

  DialogDriver& W() { return *window_; }

  // Types a formula and accepts it with Enter in the formula field.
  void Accept(const char* formula) {
    W().Type(IDC_FORMULA, formula);
    W().Focus(IDC_FORMULA);
    W().PressEnter();
  }

  // Types the values into the shown fields and presses "Resultado".
  void Compute(std::initializer_list<const char*> values) {
    int i = 0;
    for (const char* value : values) W().Type(kParamFields[i++], value);
    W().Click(IDC_COMPUTE);
  }

  int VisibleParamFields() {
    int n = 0;
    for (int id : kParamFields) n += W().Visible(id);
    return n;
  }

  MessageBoxRecorder boxes_;  // before the window, so it sees every box
  std::unique_ptr<DialogDriver> window_;
};

// --- The template ---------------------------------------------------------

TEST_F(MainWindow, ControlsStandInTabOrderWithTheirLayout) {
  const TemplateControl expected[] = {
      {65535, "Button", "Fórmula", 5, 2, 155, 33, BS_GROUPBOX},
      {101, "Edit", "", 27, 14, 116, 10, ES_AUTOHSCROLL | WS_TABSTOP, true},
      {1, "Button", "Ok", 146, 15, 12, 8, BS_PUSHBUTTON | WS_TABSTOP},
      {51, "Static", "T", 6, 46, 8, 8, SS_LEFT, false, false},
      {61, "Edit", "", 12, 46, 26, 9, ES_AUTOHSCROLL | WS_TABSTOP, true, false},
      {52, "Static", "T", 6, 57, 8, 8, SS_LEFT, false, false},
      {62, "Edit", "", 12, 57, 26, 9, WS_TABSTOP, false, false},
      {53, "Static", "T", 6, 68, 8, 8, SS_LEFT, false, false},
      {63, "Edit", "", 12, 68, 26, 9, WS_TABSTOP, false, false},
      {54, "Static", "T", 6, 79, 8, 8, SS_LEFT, false, false},
      {64, "Edit", "", 12, 79, 26, 9, WS_TABSTOP, false, false},
      {65535, "Button", "parámetros", 5, 37, 43, 54, BS_GROUPBOX},
      {3, "Button", "Resultado", 64, 39, 35, 12, BS_PUSHBUTTON | WS_TABSTOP},
      {80, "Edit", "", 60, 56, 100, 10, ES_READONLY},
      {65531, "Static", "F =", 7, 15, 19, 8, SS_CENTER},
      {210, "Button", "", 130, 40, 10, 10, BS_PUSHBUTTON | WS_TABSTOP, false, false},
      {211, "Static", nullptr, 131, 41, 20, 16, SS_ICON, false, false},
      {65534, "Static", "F =", 46, 58, 14, 8, SS_CENTER},
      {81, "Edit", "", 60, 71, 80, 10, ES_READONLY, false, false},
      {65533, "Static", "", 46, 73, 14, 8, SS_CENTER},
      {0, "Static", "", 18, 24, 129, 8, SS_LEFT},
      {201, "Button", "nueva", 113, 2, 24, 10, BS_PUSHBUTTON | WS_TABSTOP},
  };
  ExpectTemplateControls(W(), expected);
}

TEST_F(MainWindow, WindowFrameCaptionFontAndIcons) {
  HWND dialog = W().Dialog();
  EXPECT_EQ(WindowText(dialog), "Cálculo de fórmulas");
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE));
  const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  EXPECT_EQ(style & frame, frame);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
  EXPECT_NE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);

  // 170 x 95 units, centred on the screen rather than at (160, 24).
  RECT client{};
  GetClientRect(dialog, &client);
  const RECT size = W().Pixels(0, 0, 170, 95);
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);
  RECT frameRect{}, work{};
  GetWindowRect(dialog, &frameRect);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((frameRect.left + frameRect.right) / 2, (work.left + work.right) / 2, 2);
  EXPECT_NEAR((frameRect.top + frameRect.bottom) / 2, (work.top + work.bottom) / 2, 2);

  LOGFONTA font{};
  ASSERT_NE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font,
                       &font),
            0);
  EXPECT_EQ(lstrcmpiA(font.lfFaceName, "Comic sans ms"), 0) << font.lfFaceName;
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(font.lfHeight, -MulDiv(14, GetDeviceCaps(screen, LOGPIXELSY), 72));
  // The face really drawn: the comic one, or under Wine its stand-in, not
  // whatever the font mapper falls back on.
  HGDIOBJ kept =
      SelectObject(screen, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
  std::vector<char> metrics(GetOutlineTextMetricsA(screen, 0, nullptr));
  ASSERT_FALSE(metrics.empty());
  auto* outline = reinterpret_cast<OUTLINETEXTMETRICA*>(metrics.data());
  GetOutlineTextMetricsA(screen, static_cast<UINT>(metrics.size()), outline);
  const std::string family = metrics.data() + reinterpret_cast<UINT_PTR>(outline->otmpFamilyName);
  EXPECT_TRUE(family == "Comic Sans MS" || family == "Comic Neue") << family;
  SelectObject(screen, kept);
  ReleaseDC(nullptr, screen);

  const HINSTANCE instance = GetModuleHandleA(nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(dialog, GCLP_HICON)),
            LoadIconA(instance, "IC0"));
  EXPECT_NE(SendMessageA(W().Item(IDC_TABLE_ICON), STM_GETICON, 0, 0), 0);
}

TEST_F(MainWindow, MenuBarHoldsEveryItemWithItsPicture) {
  HMENU bar = GetMenu(W().Dialog());
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 4);
  struct Item {
    int id;  // 0: separator
    const char* text;
  };
  const std::vector<std::vector<Item>> popups = {
      {{201, "&Nueva\tCtrl+N"},
       {202, "&Abrir\tCtrl+O"},
       {203, "&Guardar\tCtrl+S"},
       {0, ""},
       {210, "&Tabla\tCtrl+T"}},
      {{501, "&Edición Utilidades"}, {0, ""}},
      {{800, "&Info\tF1"}, {801, "&Sobre Quillet"}},
  };
  // "&" marks the access key: Alt+F opens "Fórmulas", Alt+S is "Salir".
  const char* titles[] = {"&Fórmulas", "&Utilidades", "&Info", "&Salir"};
  for (int top = 0; top < 4; ++top) EXPECT_EQ(MenuText(bar, top), titles[top]);
  EXPECT_EQ(GetSubMenu(bar, 3), nullptr);
  EXPECT_EQ(GetMenuItemID(bar, 3), static_cast<UINT>(IDM_EXIT));

  for (int top = 0; top < 3; ++top) {
    HMENU popup = GetSubMenu(bar, top);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(popups[top].size())) << titles[top];
    for (int pos = 0; pos < GetMenuItemCount(popup); ++pos) {
      const Item& item = popups[top][pos];
      const UINT state = GetMenuState(popup, pos, MF_BYPOSITION);
      if (item.id == 0) {
        EXPECT_NE(state & MF_SEPARATOR, 0u) << titles[top] << " " << pos;
        continue;
      }
      EXPECT_EQ(GetMenuItemID(popup, pos), static_cast<UINT>(item.id));
      EXPECT_EQ(W().MenuItemText(item.id), item.text);
    }
  }

  for (int command : {IDM_NEW, IDM_OPEN, IDM_SAVE, IDM_TABLE, IDM_INFO}) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS;
    ASSERT_TRUE(GetMenuItemInfoA(bar, command, FALSE, &info));
    EXPECT_NE(info.hbmpUnchecked, nullptr) << command;
    EXPECT_EQ(info.hbmpChecked, info.hbmpUnchecked) << command;
  }
}

// --- Enabling, showing, focus ----------------------------------------------

TEST_F(MainWindow, StartsWithNothingToDo) {
  for (int id : {IDC_OK, IDC_NEW, IDC_COMPUTE}) EXPECT_FALSE(W().Enabled(id)) << id;
  EXPECT_EQ(VisibleParamFields(), 0);
  EXPECT_FALSE(W().Visible(IDC_TABLE_BUTTON));
  EXPECT_FALSE(W().Visible(IDC_TABLE_ICON));
  EXPECT_TRUE(W().MenuItemGrayed(IDM_SAVE));
  EXPECT_TRUE(W().MenuItemGrayed(IDM_TABLE));
  for (int id : {IDM_NEW, IDM_OPEN, IDM_TOOLS_EDIT, IDM_INFO, IDM_ABOUT}) {
    EXPECT_FALSE(W().MenuItemGrayed(id)) << id;
  }
  EXPECT_EQ(W().FocusedId(), IDC_FORMULA);  // a person can type at once
  EXPECT_EQ(W().Text(IDC_NAME_LABEL), "F =");
  EXPECT_EQ(W().Text(IDC_RESULT1_LABEL), "F =");
}

TEST_F(MainWindow, TypingEnablesAndEmptyingDisables) {
  W().Type(IDC_FORMULA, "2");
  for (int id : {IDC_OK, IDC_NEW, IDC_COMPUTE}) EXPECT_TRUE(W().Enabled(id)) << id;
  EXPECT_FALSE(W().MenuItemGrayed(IDM_SAVE));
  EXPECT_TRUE(W().MenuItemGrayed(IDM_TABLE));

  W().Type(IDC_FORMULA, "");
  for (int id : {IDC_OK, IDC_NEW, IDC_COMPUTE}) EXPECT_FALSE(W().Enabled(id)) << id;
  EXPECT_TRUE(W().MenuItemGrayed(IDM_SAVE));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(MainWindow, FormulaWithoutParametersShowsItsResultAtOnce) {
  Accept("2+3");
  EXPECT_EQ(W().Text(IDC_RESULT1), "5");
  EXPECT_EQ(W().Text(IDC_NAME_LABEL), "f=");
  EXPECT_EQ(W().Text(IDC_RESULT1_LABEL), "f=");
  EXPECT_EQ(VisibleParamFields(), 0);
  EXPECT_FALSE(W().Visible(IDC_TABLE_BUTTON));
  EXPECT_TRUE(W().MenuItemGrayed(IDM_TABLE));  // nothing to tabulate
  EXPECT_FALSE(W().MenuItemGrayed(IDM_SAVE));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(MainWindow, ParametersGetLabelledFieldsAndTheTableButton) {
  Accept("a*x+b");
  const char* letters[] = {"a", "x", "b"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(W().Visible(kParamLabels[i])) << i;
    EXPECT_TRUE(W().Visible(kParamFields[i])) << i;
    EXPECT_EQ(W().Text(kParamLabels[i]), letters[i]);
    EXPECT_EQ(W().Text(kParamFields[i]), "0");
  }
  EXPECT_FALSE(W().Visible(IDC_PARAM_LABEL4));
  EXPECT_FALSE(W().Visible(IDC_PARAM_EDIT4));
  EXPECT_TRUE(W().Visible(IDC_TABLE_BUTTON));
  EXPECT_TRUE(W().Visible(IDC_TABLE_ICON));
  EXPECT_FALSE(W().MenuItemGrayed(IDM_TABLE));
  EXPECT_EQ(W().FocusedId(), IDC_PARAM_EDIT1);
  EXPECT_EQ(W().Text(IDC_RESULT1), "");  // not computed yet

  Compute({"2", "3", "1"});
  EXPECT_EQ(W().Text(IDC_RESULT1), "7");
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(MainWindow, EditingTheFormulaHidesTheFieldsAtOnce) {
  Accept("a*x");
  ASSERT_EQ(VisibleParamFields(), 2);
  W().Type(IDC_PARAM_EDIT1, "4");
  W().Focus(IDC_FORMULA);
  W().Type(IDC_FORMULA, "a*x+1");
  EXPECT_EQ(VisibleParamFields(), 0);
  EXPECT_FALSE(W().Visible(IDC_PARAM_LABEL1));
  EXPECT_FALSE(W().Visible(IDC_TABLE_BUTTON));
  EXPECT_FALSE(W().Visible(IDC_TABLE_ICON));
  EXPECT_TRUE(W().MenuItemGrayed(IDM_TABLE));
  EXPECT_FALSE(W().MenuItemGrayed(IDM_SAVE));
  EXPECT_EQ(W().FocusedId(), IDC_FORMULA);

  // The values typed before come back with the fields.
  W().PressEnter();
  EXPECT_EQ(W().Text(IDC_PARAM_EDIT1), "4");
  EXPECT_EQ(W().Text(IDC_PARAM_EDIT2), "0");
}

// --- The road of a calculation ---------------------------------------------

TEST_F(MainWindow, EnterWalksThroughTheFieldsAndComputesAfterTheLast) {
  Accept("a*x^2+1");
  ASSERT_EQ(W().FocusedId(), IDC_PARAM_EDIT1);
  W().Type(IDC_PARAM_EDIT1, "2");
  W().PressEnter();
  EXPECT_EQ(W().FocusedId(), IDC_PARAM_EDIT2);
  EXPECT_EQ(W().Text(IDC_RESULT1), "");
  W().Type(IDC_PARAM_EDIT2, "3");
  W().PressEnter();
  EXPECT_EQ(W().Text(IDC_RESULT1), "19");
  EXPECT_EQ(W().FocusedId(), IDC_PARAM_EDIT2);

  // Enter in the formula field accepts it again; on the Ok button too.
  W().Type(IDC_FORMULA, "x+1");
  W().Focus(IDC_OK);
  W().PressEnter();
  EXPECT_EQ(VisibleParamFields(), 1);
  EXPECT_EQ(W().Text(IDC_PARAM_LABEL1), "x");
  EXPECT_EQ(W().Text(IDC_PARAM_EDIT1), "2");  // position 1 keeps its last value
  W().PressEnter();
  EXPECT_EQ(W().Text(IDC_RESULT1), "3");
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// A parameter field that gets the focus has its value selected, so that
// typing replaces it: when the fields are shown, and after a click, which
// places the caret itself, also into the field that has the focus. (Tab,
// Enter and typing: the end-to-end test.)
TEST_F(MainWindow, AFieldThatGetsTheFocusHasItsValueSelected) {
  auto selection = [&](int id) {
    DWORD start = 0, end = 0;
    SendMessageA(W().Item(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return std::to_string(start) + ".." + std::to_string(end);
  };
  Accept("a*x");
  ASSERT_EQ(W().FocusedId(), IDC_PARAM_EDIT1);
  EXPECT_EQ(selection(IDC_PARAM_EDIT1), "0..1");

  W().Type(IDC_PARAM_EDIT2, "25");
  HWND second = W().Item(IDC_PARAM_EDIT2);
  RECT r{};
  GetClientRect(second, &r);
  const LPARAM middle = MAKELPARAM(r.right / 2, r.bottom / 2);
  auto click = [&] {
    PostMessageA(second, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageA(second, WM_LBUTTONUP, 0, middle);
    W().Pump();
  };
  click();
  ASSERT_EQ(W().FocusedId(), IDC_PARAM_EDIT2);
  EXPECT_EQ(selection(IDC_PARAM_EDIT2), "0..2");

  // A click into the field that has the focus already, its caret placed
  // (as after a message box): the value is selected again.
  SendMessageA(second, EM_SETSEL, 1, 1);
  click();
  EXPECT_EQ(selection(IDC_PARAM_EDIT2), "0..2");
  // A drag over the start of a longer value keeps what it selected.
  W().Type(IDC_PARAM_EDIT2, std::string(60, '7'));
  SendMessageA(second, EM_SETSEL, 0, 0);
  PostMessageA(second, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, r.bottom / 2));
  PostMessageA(second, WM_MOUSEMOVE, MK_LBUTTON, middle);
  PostMessageA(second, WM_LBUTTONUP, 0, middle);
  W().Pump();
  EXPECT_NE(selection(IDC_PARAM_EDIT2), "0..60");
  EXPECT_NE(selection(IDC_PARAM_EDIT2), "0..0");
}

TEST_F(MainWindow, OkButtonAcceptsTheFormula) {
  W().Type(IDC_FORMULA, "6*7");
  W().Click(IDC_OK);
  EXPECT_EQ(W().Text(IDC_RESULT1), "42");
}

TEST_F(MainWindow, TwoSidedFormulaComputesBothSides) {
  Accept("x^2=2*x+1");
  EXPECT_EQ(W().Text(IDC_NAME_LABEL), "f1,f2:");
  EXPECT_EQ(W().Text(IDC_RESULT1_LABEL), "f1=");
  EXPECT_EQ(W().Text(IDC_RESULT2_LABEL), "f2=");
  EXPECT_TRUE(W().Visible(IDC_RESULT2));
  EXPECT_EQ(VisibleParamFields(), 1);
  EXPECT_EQ(W().Text(IDC_PARAM_LABEL1), "x");
  W().Type(IDC_PARAM_EDIT1, "3");
  W().PressEnter();
  EXPECT_EQ(W().Text(IDC_RESULT1), "9");
  EXPECT_EQ(W().Text(IDC_RESULT2), "7");

  // A one-sided formula after it puts the second result away.
  Accept("2+3");
  EXPECT_FALSE(W().Visible(IDC_RESULT2));
  EXPECT_FALSE(W().Visible(IDC_RESULT2_LABEL));
  EXPECT_EQ(W().Text(IDC_RESULT1_LABEL), "f=");
  EXPECT_EQ(W().Text(IDC_RESULT1), "5");
}

TEST_F(MainWindow, ValuesGoInPlaceOfTheirOwnLetters) {
  Accept("x+X");  // two parameters: letters are compared exactly
  ASSERT_EQ(VisibleParamFields(), 2);
  EXPECT_EQ(W().Text(IDC_PARAM_LABEL1), "x");
  EXPECT_EQ(W().Text(IDC_PARAM_LABEL2), "X");
  Compute({"2", "10"});
  EXPECT_EQ(W().Text(IDC_RESULT1), "12");

  Accept("2*x");
  Compute({"-3"});  // computed as 2*(-3)
  EXPECT_EQ(W().Text(IDC_RESULT1), "-6");
  Accept("x^2");
  Compute({"-3"});  // (-3)^2, not -3^2
  EXPECT_EQ(W().Text(IDC_RESULT1), "9");

  Accept("x-1");
  Compute({""});  // an empty field counts as 0 and shows it
  EXPECT_EQ(W().Text(IDC_PARAM_EDIT1), "0");
  EXPECT_EQ(W().Text(IDC_RESULT1), "-1");
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// --- What goes wrong ---------------------------------------------------------

TEST_F(MainWindow, TextThatIsNoNumberIsReportedAndThePreviousValueUsed) {
  Accept("2*x");
  Compute({"4"});
  ASSERT_EQ(W().Text(IDC_RESULT1), "8");

  W().Focus(IDC_PARAM_EDIT1);
  W().Type(IDC_PARAM_EDIT1, "abc");
  W().Click(IDC_COMPUTE);
  // The click takes the focus from the field and computes at once: the
  // computation reports, and reading after the focus change adds no box.
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  for (const MessageBoxRecord& box : boxes_.Boxes()) {
    EXPECT_EQ(box.caption, "error: parámetro x");
    EXPECT_EQ(box.text, "no es un número real");
    EXPECT_EQ(box.Style(), MB_OK);
    EXPECT_EQ(box.owner, W().Dialog());
  }
  EXPECT_EQ(W().Text(IDC_RESULT1), "8");
  EXPECT_EQ(W().Text(IDC_PARAM_EDIT1), "abc");  // left for the person to mend
}

TEST_F(MainWindow, LeavingAFieldChecksIt) {
  Accept("a+b");
  W().Type(IDC_PARAM_EDIT1, "1,5");
  W().Focus(IDC_PARAM_EDIT2);  // a mouse click elsewhere does the same
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Last().caption, "error: parámetro a");

  boxes_.Clear();
  W().Type(IDC_PARAM_EDIT1, "1.5");
  W().Focus(IDC_PARAM_EDIT1);
  W().Focus(IDC_PARAM_EDIT2);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// A box shown while a parameter field has the focus takes the focus from it;
// that loss must not read the fields again and stack a second box.
TEST_F(MainWindow, OneBoxForOneWrongValue) {
  Accept("a+b");
  W().Type(IDC_PARAM_EDIT1, "abc");
  W().Focus(IDC_PARAM_EDIT2);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  boxes_.Clear();

  // Enter in the last field computes: one box from the computation itself.
  W().Focus(IDC_PARAM_EDIT2);
  W().PressEnter();
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Last().caption, "error: parámetro a");
  EXPECT_EQ(W().Text(IDC_RESULT1), "0");  // a kept its start value 0, b is 0

  // Enter on a wrong first field moves on; leaving it reports once. (Leaving
  // field 62 for it reads every field, and reports too.)
  W().Focus(IDC_PARAM_EDIT1);
  boxes_.Clear();
  W().PressEnter();
  EXPECT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(W().FocusedId(), IDC_PARAM_EDIT2);
}

// The focus leaving for another window (the library, the table, the about
// window, another program) reads nothing: no box may come up while the focus
// moves. The value is reported when the person goes on in the main window.
TEST_F(MainWindow, LeavingForAnotherWindowShowsNoBox) {
  Accept("a+b");
  W().Type(IDC_PARAM_EDIT1, "abc");
  W().Focus(IDC_PARAM_EDIT1);
  HWND other = CreateWindowExA(0, "STATIC", "otra", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 120,
                               60, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetActiveWindow(other);
  W().Pump();
  EXPECT_TRUE(boxes_.Boxes().empty());

  SetActiveWindow(W().Dialog());  // back: the field has the focus again, unread
  W().Pump();
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(W().FocusedId(), IDC_PARAM_EDIT1);
  DestroyWindow(other);

  W().Focus(IDC_PARAM_EDIT2);  // on in the main window: reported once
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Last().caption, "error: parámetro a");
  EXPECT_EQ(W().FocusedId(), IDC_PARAM_EDIT2);
}

TEST_F(MainWindow, MathErrorKeepsThePreviousResult) {
  Accept("1/x");
  Compute({"2"});
  ASSERT_EQ(W().Text(IDC_RESULT1), "0.5");
  Compute({"0"});
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Last().caption, "*Error*");
  EXPECT_EQ(boxes_.Last().text, "División por cero");
  EXPECT_EQ(boxes_.Last().Style(), MB_OK | MB_ICONEXCLAMATION);
  EXPECT_EQ(W().Text(IDC_RESULT1), "0.5");

  // One side failing leaves the other computed.
  boxes_.Clear();
  Accept("1/x=x+1");
  W().Type(IDC_PARAM_EDIT1, "0");
  W().PressEnter();
  EXPECT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(W().Text(IDC_RESULT2), "1");
}

// A power of two thousand million factors: the window answers and repaints
// while it runs and says so, a second Ok starts nothing, and Esc stops it at
// once, leaving the previous result.
TEST_F(MainWindow, ALongPowerAnswersAndStopsOnEscKeepingThePreviousResult) {
  Accept("2+3");
  ASSERT_EQ(W().Text(IDC_RESULT1), "5");
  std::string status, statusLater;
  bool okGrey = false, repainted = false;
  double escAt = 0;
  TimedSteps steps;
  steps.At(700, [&] {
    status = W().Text(IDC_WORK_STATUS);
    okGrey = !W().Enabled(IDC_OK) && W().Text(IDC_RESULT1) == "5";
    InvalidateRect(W().Dialog(), nullptr, TRUE);
    SendRealKey(VK_RETURN);  // a second Ok
  });
  steps.At(900, [&] {
    repainted = !GetUpdateRect(W().Dialog(), nullptr, FALSE);
    statusLater = W().Text(IDC_WORK_STATUS);
  });
  steps.At(1000, [&] {
    escAt = steps.Now();
    SendRealKey(VK_ESCAPE);
  });
  AnswerWatch answers(W().Dialog());
  steps.Start();
  Accept("0.9999999^2147483647");
  const double stoppedAt = steps.Now();
  EXPECT_TRUE(steps.AllRun());
  EXPECT_EQ(status, "calculando…");
  EXPECT_EQ(statusLater, "calculando…");
  EXPECT_TRUE(okGrey);
  EXPECT_TRUE(repainted);
  EXPECT_LT(stoppedAt - escAt, 100);  // a second computation would still run
  EXPECT_LT(answers.SlowestMs(), 100);
  EXPECT_GT(answers.Answers(), 10);
  EXPECT_EQ(W().Text(IDC_RESULT1), "5");
  EXPECT_EQ(Results[1], 5);
  EXPECT_EQ(W().Text(IDC_WORK_STATUS), "cálculo parado");
  EXPECT_TRUE(W().Visible(IDC_WORK_STATUS));
  EXPECT_TRUE(W().Enabled(IDC_OK));
  EXPECT_TRUE(IsWindow(W().Dialog()));  // Esc stopped the power, not the program
  EXPECT_TRUE(boxes_.Boxes().empty());
  Accept("2+4");  // the next computation clears the line
  EXPECT_EQ(W().Text(IDC_RESULT1), "6");
  EXPECT_FALSE(W().Visible(IDC_WORK_STATUS));
}

TEST_F(MainWindow, EmptyRightSideIsRefusedSilently) {
  Accept("x=");
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(VisibleParamFields(), 0);
  EXPECT_EQ(W().Text(IDC_RESULT1), "");
  EXPECT_EQ(W().Text(IDC_RESULT2), "");
  EXPECT_FALSE(W().Visible(IDC_TABLE_BUTTON));
}

TEST_F(MainWindow, AtMostFourParametersOverBothSides) {
  for (const char* formula : {"a+b+c+d+g", "a+b+c=d+g"}) {
    SCOPED_TRACE(formula);
    boxes_.Clear();
    Accept(formula);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Last().caption, "demasiados parámetros");
    EXPECT_EQ(boxes_.Last().text, "hom admite hasta 4 parámetros");
    EXPECT_EQ(boxes_.Last().Style(), MB_OK);
    EXPECT_EQ(VisibleParamFields(), 0);
    EXPECT_FALSE(W().Visible(IDC_TABLE_BUTTON));
    EXPECT_TRUE(W().MenuItemGrayed(IDM_TABLE));

    // Nothing reaches past the fourth field afterwards.
    boxes_.Clear();
    W().Click(IDC_COMPUTE);
    W().Focus(IDC_FORMULA);
    EXPECT_EQ(VisibleParamFields(), 0);
  }
  boxes_.Clear();
  Accept("a+b+c=d*c");  // four in all is fine
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(VisibleParamFields(), 4);
}

TEST_F(MainWindow, SyntaxErrorShowsTheCheckAndNoFields) {
  Accept("2*(x+1");
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_FALSE(boxes_.Last().caption.empty());
  EXPECT_EQ(VisibleParamFields(), 0);
  EXPECT_EQ(W().Text(IDC_RESULT1), "");
}

// --- "nueva" and "Salir" ------------------------------------------------------

TEST_F(MainWindow, NewFormulaEmptiesTheWindow) {
  Accept("x^2=2*x+1");
  W().Type(IDC_PARAM_EDIT1, "3");
  W().PressEnter();
  ASSERT_EQ(W().Text(IDC_RESULT2), "7");

  W().Click(IDC_NEW);
  for (int id : {IDC_FORMULA, IDC_COMMENT, IDC_RESULT1, IDC_RESULT2}) {
    EXPECT_EQ(W().Text(id), "") << id;
  }
  EXPECT_EQ(W().Text(IDC_NAME_LABEL), "f=");
  EXPECT_EQ(W().Text(IDC_RESULT1_LABEL), "f=");
  EXPECT_EQ(VisibleParamFields(), 0);
  EXPECT_EQ(W().FocusedId(), IDC_FORMULA);
  for (int id : {IDC_OK, IDC_NEW, IDC_COMPUTE}) EXPECT_FALSE(W().Enabled(id)) << id;
  EXPECT_TRUE(W().MenuItemGrayed(IDM_SAVE));
  EXPECT_TRUE(W().MenuItemGrayed(IDM_TABLE));

  // The menu item does the same.
  Accept("a*x");
  W().MenuCommand(IDM_NEW);
  EXPECT_EQ(W().Text(IDC_FORMULA), "");
  EXPECT_EQ(VisibleParamFields(), 0);
  EXPECT_FALSE(W().Visible(IDC_TABLE_BUTTON));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// The real modal loop: "Salir" and Esc end the dialog with code 0.
struct ModalRun {
  static inline UINT exitKeyOrCommand = 0;
  static inline bool useKey = false;
  static inline int focusAtStart = -2;

  static void CALLBACK Step(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND dialog = GetActiveWindow();
    HWND focus = GetFocus();
    focusAtStart = focus ? GetDlgCtrlID(focus) : -1;
    if (useKey) {
      PostMessageA(focus, WM_KEYDOWN, exitKeyOrCommand, 1);
    } else {
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(exitKeyOrCommand, 0), 0);
    }
  }

  static INT_PTR Run(UINT keyOrCommand, bool key) {
    exitKeyOrCommand = keyOrCommand;
    useKey = key;
    focusAtStart = -2;
    SetTimer(nullptr, 0, 50, &Step);
    return DialogBoxParamA(GetModuleHandleA(nullptr), "PRINCIPAL", nullptr, &MainDialogProc, 0);
  }
};

TEST(MainWindowModal, SalirAndEscEndTheDialogWithZero) {
  ResetFormulaCycle();
  EXPECT_EQ(ModalRun::Run(IDM_EXIT, false), 0);
  EXPECT_EQ(ModalRun::focusAtStart, IDC_FORMULA);
  EXPECT_EQ(ModalRun::Run(VK_ESCAPE, true), 0);
}

// --- The keyboard while another window runs its loop ----------------------------

// Steps run one per tick of a thread timer, inside whichever loop runs then,
// once the window waited for shows; a key posted in one step has been handled
// by the next.
struct InLoop {
  static inline std::vector<std::function<void()>> steps;
  static inline std::size_t next = 0;
  static inline HWND* shown = nullptr;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    if (next == 0 && !(*shown && IsWindowVisible(*shown))) return;
    if (next < steps.size()) {
      steps[next++]();
    } else {
      KillTimer(nullptr, timer);
    }
  }
  static void Start(HWND* window, std::vector<std::function<void()>> script) {
    shown = window;
    steps = std::move(script);
    next = 0;
    SetTimer(nullptr, 0, 40, &Tick);
  }
};

void PostKey(UINT key) {
  HWND focus = GetFocus();
  PostMessageA(focus, WM_KEYDOWN, key, 1);
  PostMessageA(focus, WM_KEYUP, key, 1 | (3u << 30));
}

// Opened from the main window, each of them runs its own loop; meanwhile the
// main window's Enter chain, Tab and Esc work as when it runs alone.
TEST_F(MainWindow, ItsKeysWorkWhileAnotherWindowRunsItsLoop) {
  struct Case {
    const char* name;
    int command;
    HWND* window;
    void (*close)();
  };
  const Case cases[] = {
      {"table", IDM_TABLE, &TableWindow, [] { EndDialog(TableWindow, 0); }},
      {"library", IDM_OPEN, &LibraryDialog, [] { EndDialog(LibraryDialog, 0); }},
      {"tools editor", IDM_TOOLS_EDIT, &ToolsEditor, [] { EndDialog(ToolsEditor, 0); }},
      {"about window", IDM_ABOUT, &AboutWindow, [] { CloseAboutWindow(); }},
  };
  HWND dialog = W().Dialog();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Accept("a*x+b");
    int afterEnter = 0, afterTab = 0;
    std::string result;
    InLoop::Start(c.window, {
                                [&] {
                                  SetFocus(W().Item(IDC_PARAM_EDIT1));
                                  SetDlgItemTextA(dialog, IDC_PARAM_EDIT1, "2");
                                  PostKey(VK_RETURN);
                                },
                                [&] {
                                  afterEnter = W().FocusedId();
                                  SetDlgItemTextA(dialog, IDC_PARAM_EDIT2, "3");
                                  PostKey(VK_TAB);
                                },
                                [&] {
                                  afterTab = W().FocusedId();
                                  SetDlgItemTextA(dialog, IDC_PARAM_EDIT3, "4");
                                  PostKey(VK_RETURN);
                                },
                                [&] {
                                  result = W().Text(IDC_RESULT1);
                                  c.close();
                                },
                            });
    W().MenuCommand(c.command);  // back when the window has closed
    EXPECT_EQ(afterEnter, IDC_PARAM_EDIT2);
    EXPECT_EQ(afterTab, IDC_PARAM_EDIT3);
    EXPECT_EQ(result, "10");  // 2*3+4
  }

  // Esc is "Salir" there too: it ends the table with the window.
  InLoop::Start(&TableWindow, {[&] {
    SetFocus(W().Item(IDC_PARAM_EDIT1));
    PostKey(VK_ESCAPE);
  }});
  W().MenuCommand(IDM_TABLE);
  EXPECT_EQ(TableWindow, nullptr);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// --- Colours -------------------------------------------------------------------

COLORREF BrushColour(INT_PTR brush) {
  LOGBRUSH description{};
  GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof description, &description);
  return description.lbColor;
}

TEST_F(MainWindow, ColourMessagesSetBothColoursAndReturnTheBrush) {
  struct Case {
    UINT message;
    HWND control;
    COLORREF back, text;
  };
  HWND dialog = W().Dialog();
  const COLORREF pink = RGB(200, 0, 100), navy = RGB(0, 0, 100);
  const COLORREF cream = RGB(255, 255, 211), blue = RGB(0, 100, 200);
  const Case cases[] = {
      {WM_CTLCOLOREDIT, W().Item(IDC_FORMULA), cream, blue},
      {WM_CTLCOLOREDIT, W().Item(IDC_PARAM_EDIT1), cream, blue},
      {WM_CTLCOLORSTATIC, W().Item(IDC_NAME_LABEL), pink, navy},
      {WM_CTLCOLORSTATIC, W().Item(IDC_RESULT1), pink, navy},
      {WM_CTLCOLORDLG, dialog, pink, navy},
  };
  HDC dc = CreateCompatibleDC(nullptr);
  for (const Case& c : cases) {
    SetBkColor(dc, RGB(1, 2, 3));
    SetTextColor(dc, RGB(4, 5, 6));
    const INT_PTR brush = MainDialogProc(dialog, c.message, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(c.control));
    ASSERT_NE(brush, 0) << c.message;
    EXPECT_EQ(BrushColour(brush), c.back) << c.message;
    EXPECT_EQ(GetBkColor(dc), c.back) << c.message;
    EXPECT_EQ(GetTextColor(dc), c.text) << c.message;
  }
  DeleteDC(dc);
  EXPECT_EQ(BrushColour(reinterpret_cast<INT_PTR>(FieldBrush)), cream);
  EXPECT_EQ(BrushColour(reinterpret_cast<INT_PTR>(DialogBrush)), pink);
}

// What reaches the screen: the window pink, editable fields cream, the
// read-only result coloured like the window.
TEST_F(MainWindow, PaintedColours) {
  Accept("a*x");
  RedrawWindow(W().Dialog(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  W().Pump();
  auto pixelAt = [&](int id, int dx, int dy) {
    RECT r = id < 0 ? W().Pixels(163, 40, 4, 4) : W().ItemRect(id);
    HDC dc = GetDC(W().Dialog());
    const COLORREF c = GetPixel(dc, id < 0 ? r.left : r.right - dx, r.top + dy);
    ReleaseDC(W().Dialog(), dc);
    return c;
  };
  EXPECT_EQ(pixelAt(-1, 0, 0), RGB(200, 0, 100));
  EXPECT_EQ(pixelAt(IDC_FORMULA, 6, 6), RGB(255, 255, 211));
  EXPECT_EQ(pixelAt(IDC_PARAM_EDIT1, 6, 6), RGB(255, 255, 211));
  EXPECT_EQ(pixelAt(IDC_RESULT1, 6, 6), RGB(200, 0, 100));
}

}  // namespace
