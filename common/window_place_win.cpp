#include "common/window_place_win.h"

namespace {

POINT TopLeft(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{r.left, r.top};
}

// The rectangle moved, not resized, so that it lies wholly inside the area;
// one larger than the area keeps its top-left corner on the area's.
RECT InsideArea(RECT r, const RECT& area) {
  const LONG width = r.right - r.left, height = r.bottom - r.top;
  LONG left = r.left, top = r.top;
  if (left + width > area.right) left = area.right - width;
  if (top + height > area.bottom) top = area.bottom - height;
  if (left < area.left) left = area.left;
  if (top < area.top) top = area.top;
  return RECT{left, top, left + width, top + height};
}

}  // namespace

void PlaceWindow(HWND window, WindowPlace& place) {
  RECT r{};
  if (!window || !GetWindowRect(window, &r)) return;
  if (place.moved) OffsetRect(&r, place.left.x - r.left, place.left.y - r.top);
  // The monitor it stands on most, or the nearest: a place left on a
  // monitor since unplugged, or at another scale, comes back into view.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor)) {
    r = InsideArea(r, monitor.rcWork);
  }
  const POINT now = TopLeft(window);
  if (r.left != now.x || r.top != now.y) {
    SetWindowPos(window, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  place.opened = TopLeft(window);
}

void RememberPlace(HWND window, WindowPlace& place) {
  if (!window || IsIconic(window)) return;
  const POINT now = TopLeft(window);
  if (now.x == place.opened.x && now.y == place.opened.y) return;
  place.moved = true;
  place.left = now;
}
