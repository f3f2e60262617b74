// Every label and button caption of every dialog of the program, measured in
// the font the control really gets, against its control: none may be cut,
// touch a button's edges or run into another control. Run again at 150 %
// (dpi_test.sh).
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "common/dpi_win.h"
#include "common/language.h"
#include "engine/headless_formula_window.h"
#include "library/library_dialog_win.h"
#include "library/library_text.h"
#include "table/table_dialog_win.h"
#include "table/value_table.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/msgbox_recorder.h"
#include "tests/unit/library_folder.h"
#include "tools/tools_editor_win.h"

namespace {

bool IsTextControl(HWND control, bool& button) {
  wchar_t name[32] = L"";
  GetClassNameW(control, name, 32);
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  button = lstrcmpiW(name, L"Button") == 0;
  if (button) {
    const DWORD kind = style & BS_TYPEMASK;
    return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || kind == BS_GROUPBOX;
  }
  if (lstrcmpiW(name, L"Static") != 0) return false;
  const DWORD kind = style & SS_TYPEMASK;
  return kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT || kind == SS_LEFTNOWORDWRAP;
}

bool IsGroupBox(HWND control) {
  wchar_t name[32] = L"";
  GetClassNameW(control, name, 32);
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  return lstrcmpiW(name, L"Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX;
}

RECT InDialog(HWND dialog, HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The text's size in the control's own font, on one line, as it draws it.
SIZE TextSize(HWND control, const std::wstring& text) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// Where a static control draws its one-line text, by its alignment; a
// button, centred.
RECT TextExtent(const RECT& control, SIZE size, bool button, DWORD style) {
  LONG left = control.left;
  const LONG width = control.right - control.left;
  if (button || (style & SS_TYPEMASK) == SS_CENTER) left += (width - size.cx) / 2;
  if (!button && (style & SS_TYPEMASK) == SS_RIGHT) left = control.right - size.cx;
  return RECT{left, control.top, left + size.cx, control.top + size.cy};
}

// Every visible text control of the dialog: its text fits its client area
// on one line (a push button's with room at both edges for its frame and a
// gap), and the middle band of its letters, where they stand, is clear of
// every other visible control but a group box. `besides` are pairs of ids
// that stand over each other on purpose. The problems, one a line.
std::vector<std::string> TextProblems(HWND dialog, std::vector<std::pair<int, int>> besides = {}) {
  const int dpi = WindowDpi(dialog);
  std::vector<HWND> controls;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (IsWindowVisible(c)) controls.push_back(c);
  }
  std::vector<std::string> problems;
  int measured = 0;
  for (HWND c : controls) {
    bool button = false;
    if (!IsTextControl(c, button)) continue;
    wchar_t buffer[256] = L"";
    GetWindowTextW(c, buffer, 256);
    const std::wstring text = buffer;
    if (text.empty()) continue;
    ++measured;
    const std::string shown = "\"" + WindowText(c) + "\" (" + std::to_string(GetDlgCtrlID(c)) +
                              ") at " + std::to_string(dpi) + " dpi: ";
    RECT client{};
    GetClientRect(c, &client);
    const SIZE size = TextSize(c, text);
    // A button's 3D frame takes two pixels a side; a caption needs one more free.
    // A group box's title starts a few pixels in and must end before its
    // frame's right edge.
    const int room = !button ? 0 : IsGroupBox(c) ? ScaleForDpi(12, dpi) : 2 * ScaleForDpi(3, dpi);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(c, GWL_STYLE));
    // A label that ends in an ellipsis where it is cut says so itself.
    const bool ellipsis = !button && (style & SS_ELLIPSISMASK) != 0;
    if (!ellipsis && size.cx + room > client.right) {
      problems.push_back(shown + std::to_string(size.cx) + " + " + std::to_string(room) +
                         " px in " + std::to_string(client.right));
    }
    // What a control draws stays inside it.
    const RECT r = InDialog(dialog, c);
    RECT band = TextExtent(r, size, button, style);
    if (IsGroupBox(c)) band.left += ScaleForDpi(8, dpi), band.right += ScaleForDpi(8, dpi);
    band.top += size.cy / 4;
    band.bottom = r.top + size.cy * 3 / 4;
    IntersectRect(&band, &band, &r);
    if (button && !IsGroupBox(c)) continue;  // a button's caption stays inside it
    for (HWND other : controls) {
      if (other == c || IsGroupBox(other)) continue;
      const int a = GetDlgCtrlID(c), b = GetDlgCtrlID(other);
      bool allowed = false;
      for (const auto& [x, y] : besides) allowed |= (x == a && y == b) || (x == b && y == a);
      const RECT o = InDialog(dialog, other);
      RECT common{};
      if (!allowed && IntersectRect(&common, &band, &o)) {
        problems.push_back(shown + "runs into \"" + WindowText(other) + "\" (" + std::to_string(b) +
                           ")");
      }
    }
  }
  if (measured == 0) problems.push_back("no text measured");
  return problems;
}

using Problems = std::vector<std::string>;

class TextFit : public LibraryFolderTest {
 protected:
  void SetUp() override {
    LibraryFolderTest::SetUp();
    Language = 2;
    ResetFormulaCycle();
    Library library;
    library.topics.push_back(
        {{"Geometría analítica plana", "GEOMETRI"}, {{"A", "b*h", "rectángulo"}}});
    ASSERT_TRUE(WriteLibraryFiles(library));
  }
  void TearDown() override {
    TableWindow = nullptr;
    LibraryFolderTest::TearDown();
  }
  MessageBoxRecorder boxes_;
};

TEST_F(TextFit, EveryLabelAndCaptionFitsItsControl) {
  {
    DialogDriver main("PRINCIPAL", &MainDialogProc);
    main.Type(IDC_FORMULA, "a*b+c=d");
    main.PressEnter();  // every parameter and both results shown
    // The table button's picture stands on the button.
    EXPECT_EQ(TextProblems(main.Dialog(), {{IDC_TABLE_BUTTON, IDC_TABLE_ICON}}), Problems{});
  }
  {
    AcceptFormulaHeadless("a*x+b*y");  // three constants shown
    DialogDriver table("TAULA", &TableDialogProc);
    EXPECT_EQ(TextProblems(table.Dialog()), Problems{});
  }
  {
    LibraryMode = kPickMode;
    DialogDriver library("LLISTAFORMULES", &LibraryDialogProc);
    EXPECT_EQ(TextProblems(library.Dialog()), Problems{});
    SelectInList(library.Dialog(), IDC_LIB_TOPICS, 0, LBN_SELCHANGE);
    library.Pump();
    // A topic name longer than the heading's room: cut with an ellipsis,
    // before "?".
    EXPECT_EQ(TextProblems(library.Dialog()), Problems{}) << "with a topic";
  }
  {
    DialogDriver editor("DLGTOOLS", &ToolsEditorProc);
    EXPECT_EQ(TextProblems(editor.Dialog()), Problems{});
  }
}

}  // namespace
