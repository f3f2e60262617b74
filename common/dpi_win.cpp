#include "common/dpi_win.h"

#include "common/late_call_win.h"

namespace {

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace

int WindowDpi(HWND window) {
  // Bound at run time: Windows before 10 (1607) has no such function.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto forWindow = LateFunction<DpiForWindow>(L"user32.dll", "GetDpiForWindow");
  if (window && forWindow) {
    const UINT dpi = forWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

int ScaleForDpi(int pixels, int dpi) {
  return MulDiv(pixels, dpi, kBaseDpi);
}
