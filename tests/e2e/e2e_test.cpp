// The real program, started as its own process and used from outside as a
// person would: type into its window, press Enter, read what it shows.
// Each test starts the program in a fresh copy of the data folder.
#include <gtest/gtest.h>
#include <windows.h>

#include "resources/ids.h"
#include "tests/e2e/e2e_support.h"

namespace {

TEST(Program, ComputesAFormulaTypedIntoItsWindow) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;

  SetDlgItemTextA(window, IDC_FORMULA, "a*x^2+1");
  PressEnterIn(window, IDC_FORMULA);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(window, IDC_PARAM_EDIT2)); }));
  EXPECT_TRUE(WaitFor([&] { return FocusIn(window) == GetDlgItem(window, IDC_PARAM_EDIT1); }));

  SetDlgItemTextA(window, IDC_PARAM_EDIT1, "2");
  PressEnterIn(window, IDC_PARAM_EDIT1);
  ASSERT_TRUE(WaitFor([&] { return FocusIn(window) == GetDlgItem(window, IDC_PARAM_EDIT2); }));
  SetDlgItemTextA(window, IDC_PARAM_EDIT2, "3");
  PressEnterIn(window, IDC_PARAM_EDIT2);
  EXPECT_TRUE(WaitFor([&] { return ItemText(window, IDC_RESULT1) == "19"; }))
      << "result field: " << ItemText(window, IDC_RESULT1);

  EXPECT_TRUE(program.QuitsBySalir(window));
}

TEST(Program, ReportsAMathErrorInABoxAndClosesFromItsFrame) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;

  SetDlgItemTextA(window, IDC_FORMULA, "1/x");
  PressEnterIn(window, IDC_FORMULA);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(window, IDC_PARAM_EDIT1)); }));
  SetDlgItemTextA(window, IDC_PARAM_EDIT1, "0");
  PressEnterIn(window, IDC_PARAM_EDIT1);

  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = program.Window("*Error*")) != nullptr; }));
  char text[256] = "";
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  EXPECT_STREQ(text, "División por cero");
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  EXPECT_EQ(ItemText(window, IDC_RESULT1), "");

  PostMessageA(window, WM_CLOSE, 0, 0);  // the close box
  ASSERT_TRUE(program.Ended(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
}

}  // namespace
