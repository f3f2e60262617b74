// The display scale. The program declares itself aware of it (per monitor),
// so nothing stretches its windows: what it places in pixels it scales
// itself, by the window's dots per inch over 96, and at 96 it is as drawn.
#pragma once

#include <windows.h>

inline constexpr int kBaseDpi = 96;

// The dots per inch of the window's monitor (GetDpiForWindow, where the
// system has it); with no window, or on older systems, the screen's.
int WindowDpi(HWND window);
// A length made for 96 dots per inch, at dpi.
int ScaleForDpi(int pixels, int dpi);
