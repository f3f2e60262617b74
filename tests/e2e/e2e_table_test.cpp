// The value table of the real program, opened from its main window with the
// table button, filled and computed as a person would, then closed; and
// "Salir" with the table still open ends the whole program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"

namespace {

constexpr int kFormula = 101, kFirstParam = 61, kTableButton = 210;
constexpr int kVariables = 90, kFrom = 20, kTo = 21, kStep = 22, kFirstConst = 31,
              kFirstLetter = 41, kRows = 100;
const char kCaption[] = "Cálculo de fórmulas";
const char kTableCaption[] = "tabla  f: a*x^2+b  ";

// Another process's list: its ANSI text comes back as UTF-16 (see e2e_support.h).
std::vector<std::string> ListRows(HWND dialog, int id) {
  std::vector<std::string> rows;
  HWND list = GetDlgItem(dialog, id);
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    std::wstring wide(static_cast<std::size_t>(length) * 2 + 2, L'\0');
    const LRESULT got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
    std::string row;
    for (LRESULT k = 0; k < got; ++k) row += static_cast<char>(wide[k]);
    rows.push_back(row);
  }
  return rows;
}

// Accepts a*x^2+b in the main window and opens the table with its button.
HWND OpenTableOf(const RunningProgram& program, HWND window) {
  SetDlgItemTextA(window, kFormula, "a*x^2+b");
  PressEnterIn(window, kFormula);
  if (!WaitFor([&] { return IsWindowVisible(GetDlgItem(window, kTableButton)) != FALSE; })) {
    return nullptr;
  }
  // Posted, not sent: the button's command runs the table's own modal loop.
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(kTableButton, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, kTableButton)));
  HWND table = nullptr;
  WaitFor([&] { return (table = program.Window(kTableCaption)) != nullptr; });
  return table;
}

TEST(ProgramTable, ComputesTheParabolaFromTheMainWindow) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;
  HWND table = OpenTableOf(program, window);
  ASSERT_NE(table, nullptr);

  // x runs; a and b become the constants.
  SendMessageA(GetDlgItem(table, kVariables), LB_SETCURSEL, 1, 0);
  PostMessageA(table, WM_COMMAND, MAKEWPARAM(kVariables, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(table, kVariables)));
  ASSERT_TRUE(WaitFor([&] { return ItemText(table, 40) == "x"; }));
  EXPECT_EQ(ItemText(table, kFirstLetter) + ItemText(table, kFirstLetter + 1), "ab");
  SetDlgItemTextA(table, kFirstConst, "2");
  SetDlgItemTextA(table, kFirstConst + 1, "-1");
  SetDlgItemTextA(table, kFrom, "-3");
  SetDlgItemTextA(table, kTo, "3");
  SetDlgItemTextA(table, kStep, "0.25");
  PressEnterIn(table, kTo);
  std::vector<std::string> rows;
  EXPECT_TRUE(WaitFor([&] { return (rows = ListRows(table, kRows)).size() == 25; }))
      << rows.size() << " rows";
  ASSERT_EQ(rows.size(), 25u);
  EXPECT_EQ(rows[0], "   -3\t      17");
  EXPECT_EQ(rows[1], "-2.75\t  14.125");
  EXPECT_EQ(rows[12], "    0\t      -1");
  EXPECT_EQ(rows[24], "    3\t      17");

  // The main window stays usable beside the table.
  EXPECT_TRUE(IsWindowEnabled(window));
  SetDlgItemTextA(window, kFirstParam, "2");

  PostMessageA(table, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(table); }));
  EXPECT_NE(program.Window(kCaption), nullptr);
  EXPECT_TRUE(program.QuitsBySalir(window));
}

TEST(ProgramTable, SalirWithTheTableOpenEndsTheProgram) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;
  HWND table = OpenTableOf(program, window);
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(program.QuitsBySalir(window));
}

}  // namespace
