// Long use costs nothing: the main window computes, and opens and closes the
// table, the about window, the library and the tools editor round after
// round; the process's GDI and USER objects must not grow once warmed up.
// Run on its own (ctest wine.soak), so other tests' objects do not blur it.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "about/about_win.h"
#include "library/library_dialog_win.h"
#include "resources/ids.h"
#include "table/table_dialog_win.h"
#include "tests/gui/gui_objects.h"
#include "tests/gui/main_window_fixture.h"
#include "tools/tools_editor_win.h"

namespace {

// --- The counter ------------------------------------------------------------

// Each kind the soak could leak moves its count by exactly one, and back.
TEST(GuiObjects, EachKindCountsOnceAndIsGoneAfterItsDeletion) {
  // A thread's windows bring the input method's window along, and it goes
  // with the last of them: one stays open while the test counts.
  HWND keeper = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  const GuiObjectCount start = CountGuiObjects();
  ASSERT_GT(start.gdi, 0);  // the stand-ins for a table that cannot be read
  ASSERT_GT(start.user, 0);

  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HFONT font = CreateFontA(16, 6, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "arial");
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(CountGuiObjects().gdi, start.gdi + 3);
  DeleteDC(dc);
  DeleteObject(font);
  DeleteObject(brush);
  EXPECT_EQ(CountGuiObjects().gdi, start.gdi);

  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  HMENU menu = CreatePopupMenu();
  HICON icon = static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), "Ic0", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  ACCEL key{FVIRTKEY | FCONTROL, 'N', 1};
  HACCEL keys = CreateAcceleratorTableA(&key, 1);
  ASSERT_TRUE(window && menu && icon && keys);
  const GuiObjectCount all = CountGuiObjects();
  EXPECT_EQ(all.user, start.user + 4);
  EXPECT_GT(all.gdi, start.gdi);  // the icon's bitmaps
  DestroyWindow(window);
  DestroyMenu(menu);
  DestroyIcon(icon);
  DestroyAcceleratorTable(keys);
  const GuiObjectCount end = CountGuiObjects();
  EXPECT_EQ(end.user, start.user);
  EXPECT_EQ(end.gdi, start.gdi);
  DestroyWindow(keeper);
}

// --- The soak ---------------------------------------------------------------

// Each runs inside a modal loop, from a timer, once its window is up.
void CALLBACK InTable(HWND, UINT, UINT_PTR timer, DWORD) {
  if (!TableWindow) return;
  KillTimer(nullptr, timer);
  SetDlgItemTextA(TableWindow, IDC_TABLE_FROM, "0");
  SetDlgItemTextA(TableWindow, IDC_TABLE_TO, "3");
  SetDlgItemTextA(TableWindow, IDC_TABLE_STEP, "0.5");
  SetFocus(GetDlgItem(TableWindow, IDC_TABLE_TO));
  SendMessageA(TableWindow, WM_COMMAND, IDOK, 0);
  UpdateWindow(TableWindow);
  SendMessageA(TableWindow, WM_COMMAND, IDCANCEL, 0);
}

void CALLBACK InAbout(HWND, UINT, UINT_PTR timer, DWORD) {
  if (!AboutWindow || !IsWindowVisible(AboutWindow)) return;
  KillTimer(nullptr, timer);
  // A covered window is painted again, icon and all.
  InvalidateRect(AboutWindow, nullptr, TRUE);
  UpdateWindow(AboutWindow);
  SendMessageA(GetDlgItem(AboutWindow, IDC_ABOUT_BUTTON), BM_CLICK, 0, 0);
}

void CALLBACK InLibrary(HWND, UINT, UINT_PTR timer, DWORD) {
  if (!LibraryDialog) return;
  KillTimer(nullptr, timer);
  SelectInList(LibraryDialog, IDC_LIB_TOPICS, 0, LBN_DBLCLK);
  SelectInList(LibraryDialog, IDC_LIB_FORMULAS, 0, LBN_SELCHANGE);
  SendMessageA(LibraryDialog, WM_COMMAND, IDC_LIB_CANCEL, 0);
}

void CALLBACK InToolsEditor(HWND, UINT, UINT_PTR timer, DWORD) {
  if (!ToolsEditor) return;
  KillTimer(nullptr, timer);
  SelectInList(ToolsEditor, IDC_TOOLS_LIST, 0, LBN_SELCHANGE);
  SendMessageA(GetDlgItem(ToolsEditor, IDC_CANCEL), BM_CLICK, 0, 0);
}

const char* const kFormulas[] = {"a*x^2+1", "x^2=2*x+1", "(a+b)/c", "a-b*c+d", "2^p-1"};
const char* const kValues[] = {"3", "0.5", "2", "4"};

class Soak : public MainWindowOnALibrary {
 protected:
  void PrepareFolder() override {
    WriteFile("Tools.rel", "Notas\r\nnotepad.exe notas.txt\r\n\r\n\r\n");
  }

  void Compute(int i) {
    DialogDriver& w = W();
    w.Type(IDC_FORMULA, kFormulas[i % 5]);
    w.Focus(IDC_FORMULA);
    w.PressEnter();
    for (int k = 0; k < 4; ++k) {
      if (w.Visible(IDC_PARAM_EDIT1 + k)) w.Type(IDC_PARAM_EDIT1 + k, kValues[(i + k) % 4]);
    }
    w.Click(IDC_COMPUTE);
  }
  void Open(int command, TIMERPROC inside) {
    SetTimer(nullptr, 0, 10, inside);
    W().MenuCommand(command);
  }
  // One round of everything a day's use does.
  void Round() {
    for (int i = 0; i < 10; ++i) Compute(i);
    for (int i = 0; i < 5; ++i) {
      Compute(0);  // a formula with parameters, so the table opens
      Open(IDM_TABLE, &InTable);
      Open(IDM_ABOUT, &InAbout);
    }
    for (int i = 0; i < 3; ++i) {
      Open(IDM_OPEN, &InLibrary);
      Open(IDM_TOOLS_EDIT, &InToolsEditor);
    }
  }
};

TEST_F(Soak, TenRoundsOfUseLeaveTheObjectCountsWhereTheFirstLeftThem) {
  const auto start = std::chrono::steady_clock::now();
  // The first openings make what lasts: classes, caches, and a block of 64
  // GDI objects that Wine, on a busy machine, makes only in a later round.
  // Warm until a round leaves the counts as it found them.
  Round();
  GuiObjectCount warm = CountGuiObjects();
  for (int round = 2; round <= 4; ++round) {
    Round();
    const GuiObjectCount now = CountGuiObjects();
    if (now.gdi == warm.gdi && now.user == warm.user) break;
    warm = now;
  }
  // Wine may still make its block once, in either of two spans of rounds; a
  // leak raises the counts in both.
  GuiObjectCount spans[3] = {warm};
  for (int span = 1; span <= 2; ++span) {
    for (int round = 1; round <= 5; ++round) Round();
    spans[span] = CountGuiObjects();
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf(
      "soak: two spans of five rounds after the warm-up (each: 15 formulas, 5 tables, 5 about "
      "windows, 3 libraries, 3 tools editors) in %.1f s; GDI %d -> %d -> %d, USER %d -> %d -> %d\n",
      seconds, spans[0].gdi, spans[1].gdi, spans[2].gdi, spans[0].user, spans[1].user,
      spans[2].user);
  // Stayed in one span at least: a leak grows in both.
  const auto stayedOnce = [&](int GuiObjectCount::*kind) {
    return spans[1].*kind <= spans[0].*kind || spans[2].*kind <= spans[1].*kind;
  };
  EXPECT_TRUE(stayedOnce(&GuiObjectCount::gdi));
  EXPECT_TRUE(stayedOnce(&GuiObjectCount::user));
  EXPECT_LE(spans[2].gdi, spans[0].gdi + 64);  // at most Wine's one block
  EXPECT_LE(spans[2].user, spans[0].user);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

}  // namespace
