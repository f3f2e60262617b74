// Where the table, the library and the tools editor open: where the template
// places them the first time, where the user left them afterwards, and
// always wholly on the work area. Run again at 150 % (dpi_test.sh).
#include <gtest/gtest.h>

#include <memory>

#include "common/language.h"
#include "engine/headless_formula_window.h"
#include "library/library_dialog_win.h"
#include "table/table_dialog_win.h"
#include "table/value_table.h"
#include "tests/gui/dialog_driver.h"
#include "tools/tools_editor_win.h"

namespace {

struct PlacedDialog {
  const char* templateName;
  DLGPROC procedure;
  WindowPlace* place;
};

class DialogPlace : public ::testing::TestWithParam<PlacedDialog> {
 protected:
  void SetUp() override {
    Language = 2;
    ResetFormulaCycle();
    AcceptFormulaHeadless("a*x+b");  // the table needs a formula with parameters
    *GetParam().place = WindowPlace{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work_, 0);
  }
  void TearDown() override {
    dialog_.reset();
    *GetParam().place = WindowPlace{};
    TableWindow = nullptr;
  }
  HWND Open() {
    dialog_.reset();
    dialog_ = std::make_unique<DialogDriver>(GetParam().templateName, GetParam().procedure);
    return dialog_->Dialog();
  }
  void Close() { dialog_.reset(); }
  static RECT Rect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
  }
  static void MoveTo(HWND window, int x, int y) {
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  RECT work_{};
  std::unique_ptr<DialogDriver> dialog_;
};

TEST_P(DialogPlace, OpensCentredThenWhereTheUserLeftIt) {
  HWND window = Open();
  ASSERT_NE(window, nullptr);
  const RECT first = Rect(window);
  const int width = first.right - first.left, height = first.bottom - first.top;
  // The template's place: centred on the work area.
  EXPECT_NEAR(first.left - work_.left, work_.right - first.right, 1);
  EXPECT_NEAR(first.top - work_.top, work_.bottom - first.bottom, 1);
  Close();
  EXPECT_FALSE(GetParam().place->moved);  // closed where it opened: nothing to keep
  window = Open();
  const RECT again = Rect(window);
  EXPECT_TRUE(EqualRect(&first, &again));

  // Moved aside, closed, opened again: where it was left, and again after a
  // closing without a move.
  MoveTo(window, work_.left + 10, work_.top + 20);
  Close();
  for (int i = 0; i < 2; ++i) {
    window = Open();
    EXPECT_EQ(Rect(window).left, work_.left + 10);
    EXPECT_EQ(Rect(window).top, work_.top + 20);
    EXPECT_EQ(Rect(window).right - Rect(window).left, width);
    Close();
  }

  // Left hanging past the work area's corner: it comes back wholly on it.
  window = Open();
  MoveTo(window, work_.right - width / 3, work_.bottom - height / 4);
  Close();
  window = Open();
  EXPECT_EQ(Rect(window).right, work_.right);
  EXPECT_EQ(Rect(window).bottom, work_.bottom);
  EXPECT_EQ(Rect(window).bottom - Rect(window).top, height);
}

INSTANTIATE_TEST_SUITE_P(
    EachDialog, DialogPlace,
    ::testing::Values(PlacedDialog{"TAULA", &TableDialogProc, &TablePlace},
                      PlacedDialog{"LLISTAFORMULES", &LibraryDialogProc, &LibraryPlace},
                      PlacedDialog{"DLGTOOLS", &ToolsEditorProc, &EditorPlace}),
    [](const auto& info) { return std::string(info.param.templateName); });

}  // namespace
