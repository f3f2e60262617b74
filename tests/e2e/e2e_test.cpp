// The real program, started as its own process and used from outside as a
// person would: type into its window, press Enter, read what it shows.
// Each test starts the program in a fresh copy of the data folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "resources/ids.h"
#include "tests/e2e/e2e_support.h"

namespace {

TEST(Program, ComputesAFormulaTypedIntoItsWindow) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;

  SetItemText(window, IDC_FORMULA, "a*x^2+1");
  PressEnterIn(window, IDC_FORMULA);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(window, IDC_PARAM_EDIT2)); }));
  EXPECT_TRUE(WaitFor([&] { return FocusIn(window) == GetDlgItem(window, IDC_PARAM_EDIT1); }));

  SetItemText(window, IDC_PARAM_EDIT1, "2");
  PressEnterIn(window, IDC_PARAM_EDIT1);
  ASSERT_TRUE(WaitFor([&] { return FocusIn(window) == GetDlgItem(window, IDC_PARAM_EDIT2); }));
  SetItemText(window, IDC_PARAM_EDIT2, "3");
  PressEnterIn(window, IDC_PARAM_EDIT2);
  EXPECT_TRUE(WaitFor([&] { return ItemText(window, IDC_RESULT1) == "19"; }))
      << "result field: " << ItemText(window, IDC_RESULT1);

  EXPECT_TRUE(program.QuitsBySalir(window));
}

// The run under another system code page has it, as a person's Windows set
// to that language would: else that run would prove nothing.
TEST(Program, RunsUnderTheSystemCodePageAskedFor) {
  const char* asked = std::getenv("QUILLET_CODE_PAGE");
  if (!asked) GTEST_SKIP() << "the system's own code page";
  EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(asked)));
}

TEST(Program, ReportsAMathErrorInABoxAndClosesFromItsFrame) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;

  SetItemText(window, IDC_FORMULA, "1/x");
  PressEnterIn(window, IDC_FORMULA);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(window, IDC_PARAM_EDIT1)); }));
  SetItemText(window, IDC_PARAM_EDIT1, "0");
  PressEnterIn(window, IDC_PARAM_EDIT1);

  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = program.Window("*Error*")) != nullptr; }));
  // Under another system code page too, the box says what a 1252 one says.
  EXPECT_EQ(ItemText(box, 0xFFFF), "División por cero");
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
  EXPECT_EQ(ItemText(window, IDC_RESULT1), "");

  PostMessageA(window, WM_CLOSE, 0, 0);  // the close box
  ASSERT_TRUE(program.Ended(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
}

}  // namespace
