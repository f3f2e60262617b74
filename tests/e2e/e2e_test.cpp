// The real program, started as its own process and used from outside as a
// person would: type into its window, press Enter, read what it shows.
// Each test starts the program in a fresh copy of the data folder.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/e2e/e2e_support.h"

namespace {

// Control ids of the main window, as the user sees them.
constexpr int kFormula = 101, kFirstParam = 61, kSecondParam = 62, kResult = 80;

TEST(Program, ComputesAFormulaTypedIntoItsWindow) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;

  SetDlgItemTextA(window, kFormula, "a*x^2+1");
  PressEnterIn(window, kFormula);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(window, kSecondParam)); }));
  EXPECT_TRUE(WaitFor([&] { return FocusIn(window) == GetDlgItem(window, kFirstParam); }));

  SetDlgItemTextA(window, kFirstParam, "2");
  PressEnterIn(window, kFirstParam);
  ASSERT_TRUE(WaitFor([&] { return FocusIn(window) == GetDlgItem(window, kSecondParam); }));
  SetDlgItemTextA(window, kSecondParam, "3");
  PressEnterIn(window, kSecondParam);
  EXPECT_TRUE(WaitFor([&] { return ItemText(window, kResult) == "19"; }))
      << "result field: " << ItemText(window, kResult);

  EXPECT_TRUE(program.QuitsBySalir(window));
}

TEST(Program, ReportsAMathErrorInABoxAndClosesFromItsFrame) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;

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
