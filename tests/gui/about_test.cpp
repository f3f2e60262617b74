// The about window: opened through its own loop, looked at and closed from
// timers that run inside that loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <set>
#include <string>

#include "about/about_text.h"
#include "about/about_win.h"
#include "app/main_window_win.h"
#include "common/dpi_win.h"
#include "common/language.h"
#include "resources/ids.h"
#include "tests/gui/dialog_driver.h"

namespace {

constexpr COLORREF kBack = RGB(255, 255, 178);

const std::set<std::string> kSpanishButtons = {"bueno", "¡Ah!",  "¡Oh!",  "psé",
                                               "hum!",  "mmm..", "¡vaya!"};

// How a session closes the window: a click on its button, the close box, or
// a key posted, so that it comes through the window's own loop, to the window
// or to its button.
struct Closing {
  UINT key;  // 0: a click on the button; SC_CLOSE: the close box
  bool onButton;
};

void Close(HWND window, Closing how) {
  HWND button = GetDlgItem(window, IDC_ABOUT_BUTTON);
  HWND target = how.onButton ? button : window;
  if (how.key == 0) {
    SendMessageA(button, BM_CLICK, 0, 0);
  } else if (how.key == SC_CLOSE) {
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else {
    PostMessageA(target, WM_KEYDOWN, how.key, 1);
    PostMessageA(target, WM_KEYUP, how.key, 1 | (3u << 30));
  }
}

// Runs `look` once the window is open, inside its loop, then closes it.
struct AboutSession {
  static inline std::function<void(HWND)> look;
  static inline Closing closing{0, true};
  static inline bool looked = false;
  static inline bool forced = false;  // still open long after the closing step

  static void CALLBACK Rescue(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (!AboutWindow) return;
    forced = true;
    CloseAboutWindow();
  }

  static void CALLBACK Step(HWND, UINT, UINT_PTR timer, DWORD) {
    if (!AboutWindow || !IsWindowVisible(AboutWindow)) return;
    KillTimer(nullptr, timer);
    looked = true;
    HWND window = AboutWindow;
    if (look) look(window);
    Close(window, closing);
  }

  static void Run(std::function<void(HWND)> lookAt, Closing how = {0, true}) {
    look = std::move(lookAt);
    closing = how;
    looked = false;
    forced = false;
    SetTimer(nullptr, 0, 30, &Step);
    const UINT_PTR rescue = SetTimer(nullptr, 0, 5000, &Rescue);
    ShowAbout("cálculo de fórmulas");
    KillTimer(nullptr, rescue);
  }
};

// Pixels of the window that differ from its background, inside a rectangle.
int InkIn(HWND window, int left, int top, int right, int bottom) {
  HDC dc = GetDC(window);
  int ink = 0;
  for (int y = top; y < bottom; y += 1) {
    for (int x = left; x < right; x += 1) ink += GetPixel(dc, x, y) != kBack;
  }
  ReleaseDC(window, dc);
  return ink;
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// The run is at the scale it was asked for (wine.gui_dpi asks for 144; every
// other run is at 96, where each pixel is as the program was drawn).
TEST(DisplayScale, IsTheOneTheRunAsksFor) {
  const char* asked = std::getenv("QUILLET_TEST_DPI");
  const int dpi = asked ? std::atoi(asked) : 96;
  EXPECT_EQ(WindowDpi(nullptr), dpi);
  EXPECT_EQ(ScaleForDpi(312, dpi), dpi == 144 ? 468 : 312);
}

TEST(AboutWindow, CaptionButtonPlaceAndClosingByTheButton) {
  Language = 2;
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, sizeof module);
  std::string caption, button, className;
  RECT frame{}, buttonRect{};
  AboutSession::Run([&](HWND window) {
    caption = WindowText(window);
    button = WindowText(GetDlgItem(window, IDC_ABOUT_BUTTON));
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    className = name;
    GetWindowRect(window, &frame);
    GetWindowRect(GetDlgItem(window, IDC_ABOUT_BUTTON), &buttonRect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&buttonRect), 2);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_SYSMENU),
              WS_POPUP | WS_CAPTION | WS_SYSMENU);
  });
  ASSERT_TRUE(AboutSession::looked);
  EXPECT_EQ(AboutWindow, nullptr);  // closed, and ShowAbout came back
  EXPECT_EQ(className, "FerSobre");
  EXPECT_EQ(caption, "Respecto " + std::string(BaseName(module).view()) + "...");
  EXPECT_EQ(kSpanishButtons.count(button), 1u) << button;
  // In pixels at 96 dots per inch, scaled at any other (wine.gui_dpi: 144).
  const auto at = [](int pixels) { return MulDiv(pixels, WindowDpi(nullptr), 96); };
  EXPECT_EQ(frame.left, at(400));
  EXPECT_EQ(frame.top, at(200));
  EXPECT_EQ(frame.right - frame.left, at(312));
  EXPECT_EQ(frame.bottom - frame.top, at(240));
  EXPECT_EQ(buttonRect.left, at(122));
  EXPECT_EQ(buttonRect.top, at(180));
  EXPECT_EQ(buttonRect.right - buttonRect.left, at(70));
  EXPECT_FALSE(ProgYear.empty());
}

// The close box, Esc and Enter close it as the button does, also while the
// button has the focus; each opening picks its button text anew.
TEST(AboutWindow, TheCloseBoxEscAndEnterCloseItTooAndTheButtonTextVaries) {
  Language = 2;
  std::set<std::string> seen;
  const Closing closings[] = {{0, true},          {SC_CLOSE, false}, {VK_ESCAPE, false},
                              {VK_RETURN, false}, {VK_ESCAPE, true}, {VK_RETURN, true}};
  for (const Closing& how : closings) {
    SCOPED_TRACE(testing::Message() << how.key << (how.onButton ? " on the button" : ""));
    AboutSession::Run(
        [&](HWND window) { seen.insert(WindowText(GetDlgItem(window, IDC_ABOUT_BUTTON))); }, how);
    ASSERT_TRUE(AboutSession::looked);
    EXPECT_FALSE(AboutSession::forced);
    EXPECT_EQ(AboutWindow, nullptr);
    Sleep(30);  // a new tick count, a new seed
  }
  for (const std::string& text : seen) EXPECT_EQ(kSpanishButtons.count(text), 1u) << text;
  EXPECT_GE(seen.size(), 2u);
}

// Every text and the icon are drawn again after the window was wiped.
TEST(AboutWindow, ARepaintDrawsTextsAndIcon) {
  Language = 2;
  int iconBefore = 0, iconAfter = 0, textAfter = 0, nameAfter = 0, blankAfter = -1;
  AboutSession::Run([&](HWND window) {
    Pump();
    iconBefore = InkIn(window, 134, 80, 166, 112);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    iconAfter = InkIn(window, 134, 80, 166, 112);
    textAfter = InkIn(window, 20, 50, 140, 66) + InkIn(window, 66, 120, 200, 148);
    nameAfter = InkIn(window, 60, 10, 200, 46);
    blankAfter = InkIn(window, 240, 60, 300, 110);
  });
  EXPECT_GT(iconBefore, 100);
  EXPECT_GT(iconAfter, 100);
  EXPECT_GT(textAfter, 50);
  EXPECT_GT(nameAfter, 50);
  EXPECT_EQ(blankAfter, 0);
}

TEST(AboutWindow, OnlyOneAtATime) {
  Language = 2;
  int windows = 0;
  HWND first = nullptr, afterSecond = nullptr;
  AboutSession::Run([&](HWND window) {
    first = window;
    ShowAbout("otra vez");  // returns at once: the open one comes to the front
    afterSecond = AboutWindow;
    for (HWND w = FindWindowExA(nullptr, nullptr, "FerSobre", nullptr); w;
         w = FindWindowExA(nullptr, w, "FerSobre", nullptr)) {
      ++windows;
    }
  });
  EXPECT_EQ(afterSecond, first);
  EXPECT_EQ(windows, 1);
  EXPECT_EQ(AboutWindow, nullptr);
}

// From the main window's menu; "Salir" while it is open ends both.
TEST(AboutWindow, FromTheMainWindowsMenuAndSalirEndsBoth) {
  Language = 2;
  ResetFormulaCycle();
  DialogDriver main("PRINCIPAL", &MainDialogProc);
  std::string description;
  AboutSession::look = [&](HWND window) {
    description = WindowText(window);
    SendMessageA(main.Dialog(), WM_COMMAND, MAKEWPARAM(IDC_CANCEL, 0), 0);
  };
  AboutSession::closing = {0, true};
  AboutSession::looked = false;
  SetTimer(nullptr, 0, 30, &AboutSession::Step);
  main.MenuCommand(IDM_ABOUT);
  ASSERT_TRUE(AboutSession::looked);
  EXPECT_EQ(description.rfind("Respecto ", 0), 0u) << description;
  EXPECT_EQ(AboutWindow, nullptr);
  EXPECT_FALSE(IsWindowVisible(main.Dialog()));
}

}  // namespace
