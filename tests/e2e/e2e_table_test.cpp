// The value table of the real program, opened from its main window with the
// table button, filled and computed as a person would, then closed; and
// "Salir" with the table still open ends the whole program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resources/ids.h"
#include "tests/e2e/e2e_support.h"

namespace {

const char kCaption[] = "Cálculo de fórmulas";
const char kTableCaption[] = "tabla  f: a*x^2+b  ";

std::vector<std::string> ListRows(HWND dialog, int id) {
  std::vector<std::string> rows;
  const int count = ListCount(dialog, id);
  for (int i = 0; i < count; ++i) rows.push_back(ListItemText(dialog, id, i));
  return rows;
}

// Accepts a*x^2+b in the main window and opens the table with its button.
HWND OpenTableOf(const RunningProgram& program, HWND window) {
  SetItemText(window, IDC_FORMULA, "a*x^2+b");
  PressEnterIn(window, IDC_FORMULA);
  if (!WaitFor([&] { return IsWindowVisible(GetDlgItem(window, IDC_TABLE_BUTTON)) != FALSE; })) {
    return nullptr;
  }
  // Posted, not sent: the button's command runs the table's own modal loop.
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_TABLE_BUTTON, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_TABLE_BUTTON)));
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
  Click(table, IDC_TABLE_VARIABLES, 1);
  ASSERT_TRUE(WaitFor([&] { return ItemText(table, IDC_TABLE_VAR_HEADER) == "x"; }));
  EXPECT_EQ(ItemText(table, IDC_TABLE_LETTER1) + ItemText(table, IDC_TABLE_LETTER2), "ab");
  SetItemText(table, IDC_TABLE_CONST1, "2");
  SetItemText(table, IDC_TABLE_CONST2, "-1");
  SetItemText(table, IDC_TABLE_FROM, "-3");
  SetItemText(table, IDC_TABLE_TO, "3");
  SetItemText(table, IDC_TABLE_STEP, "0.25");
  PressEnterIn(table, IDC_TABLE_TO);
  std::vector<std::string> rows;
  EXPECT_TRUE(WaitFor([&] { return (rows = ListRows(table, IDC_TABLE_ROWS)).size() == 25; }))
      << rows.size() << " rows";
  ASSERT_EQ(rows.size(), 25u);
  EXPECT_EQ(rows[0], "   -3\t      17");
  EXPECT_EQ(rows[1], "-2.75\t  14.125");
  EXPECT_EQ(rows[12], "    0\t      -1");
  EXPECT_EQ(rows[24], "    3\t      17");

  // The main window stays usable beside the table.
  EXPECT_TRUE(IsWindowEnabled(window));
  SetItemText(window, IDC_PARAM_EDIT1, "2");

  PostMessageA(table, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(table); }));
  EXPECT_NE(program.Window(kCaption), nullptr);
  EXPECT_TRUE(program.QuitsBySalir(window));
}

// How the window's caption shows on the screen: Wine draws an active
// caption in a blue gradient, an inactive one in greys; under a window
// manager it is lit for the manager's active window only. Without one, the
// screen reads black here, and nothing is known.
enum class Caption { kUnknown, kActive, kInactive };
Caption CaptionOnScreen(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  const COLORREF c =
      ScreenPixel({r.left + (r.right - r.left) / 4,
                   r.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2});
  if (c == CLR_INVALID || c == RGB(0, 0, 0)) return Caption::kUnknown;
  const int red = GetRValue(c), green = GetGValue(c), blue = GetBValue(c);
  return blue - red > 48 && blue - green > 16 ? Caption::kActive : Caption::kInactive;
}

// Ctrl+T, typed as a person types it, with the table open behind the main
// window: the table comes to the front, active for the desktop (its caption
// lit, the main window's not) and with the keyboard, in its first constant.
TEST(ProgramTable, CtrlTBringsTheOpenTableForwardWithTheKeyboard) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;
  HWND table = OpenTableOf(program, window);
  ASSERT_NE(table, nullptr);
  // Aside, so that a click reaches the main window, which then covers it in part.
  ASSERT_TRUE(PutAtScreenCorner(table));
  ASSERT_TRUE(XClickItem(window, IDC_PARAM_EDIT1));
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window; }));
  const bool seen = CaptionOnScreen(window) != Caption::kUnknown;
  if (seen) ASSERT_TRUE(WaitFor([&] { return CaptionOnScreen(window) == Caption::kActive; }, 5000));

  ASSERT_TRUE(XInput("key ctrl+t"));
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == table; }, 5000));
  if (seen) {
    EXPECT_TRUE(WaitFor(
        [&] {
          return CaptionOnScreen(table) == Caption::kActive &&
                 CaptionOnScreen(window) == Caption::kInactive;
        },
        5000));
  }
  EXPECT_TRUE(WaitFor([&] { return FocusIn(table) == GetDlgItem(table, IDC_TABLE_CONST1); }));
  ASSERT_TRUE(XType("7"));
  EXPECT_TRUE(WaitFor([&] {
    return ItemText(table, IDC_TABLE_CONST1).find('7') != std::string::npos;
  })) << ItemText(table, IDC_TABLE_CONST1);
  EXPECT_TRUE(program.QuitsBySalir(window));
}

// Moved aside, closed and opened again, the table stands where it was left.
TEST(ProgramTable, ReopensWhereTheUserLeftIt) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;
  HWND table = OpenTableOf(program, window);
  ASSERT_NE(table, nullptr);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const POINT aside{work.left + 20, work.top + 30};
  SetWindowPos(table, nullptr, aside.x, aside.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  auto standsAside = [&](HWND t) {
    RECT r{};
    GetWindowRect(t, &r);
    return r.left == aside.x && r.top == aside.y;
  };
  ASSERT_TRUE(WaitFor([&] { return standsAside(table); }));
  PostMessageA(table, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(table); }));

  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_TABLE_BUTTON, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_TABLE_BUTTON)));
  ASSERT_TRUE(WaitFor([&] { return (table = program.Window(kTableCaption)) != nullptr; }));
  EXPECT_TRUE(WaitFor([&] { return standsAside(table); }, 5000)) << [&] {
    RECT r{};
    GetWindowRect(table, &r);
    return std::to_string(r.left) + "," + std::to_string(r.top);
  }();
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
