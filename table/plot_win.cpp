#include "table/plot_win.h"

#include "common/codepage.h"
#include "common/dpi_win.h"
#include "common/text_at_win.h"

namespace {

const wchar_t kBitmapProp[] = L"QuilletPlotBitmap";
const wchar_t kProcProp[] = L"QuilletPlotProc";

LRESULT CALLBACK PlotControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto original = reinterpret_cast<WNDPROC>(GetPropW(control, kProcProp));
  auto bitmap = static_cast<HBITMAP>(GetPropW(control, kBitmapProp));
  switch (message) {
    case WM_ERASEBKGND:
      if (bitmap) return 1;  // the paint covers everything
      break;
    case WM_PAINT:
      if (bitmap) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(control, &paint);
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, bitmap);
        BITMAP size{};
        GetObjectW(bitmap, sizeof size, &size);
        BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        EndPaint(control, &paint);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      if (bitmap) DeleteObject(bitmap);
      RemovePropW(control, kBitmapProp);
      RemovePropW(control, kProcProp);
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      break;
    default:
      break;
  }
  return CallWindowProcW(original, control, message, wParam, lParam);
}

}  // namespace

void KeepPlot(HWND control) {
  if (!control || GetPropW(control, kProcProp)) return;
  const LONG_PTR original =
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PlotControlProc));
  SetPropW(control, kProcProp, reinterpret_cast<HANDLE>(original));
}

HBITMAP KeptPlot(HWND control) {
  return control ? static_cast<HBITMAP>(GetPropW(control, kBitmapProp)) : nullptr;
}

GdiPlotCanvas::~GdiPlotCanvas() {
  Release();
  if (bitmap_) DeleteObject(bitmap_);
  if (secondPen_) DeleteObject(secondPen_);
}

bool GdiPlotCanvas::Begin(int& width, int& height) {
  RECT client{};
  if (!control_ || !GetClientRect(control_, &client) || client.right <= 0 || client.bottom <= 0) {
    return false;
  }
  width = client.right;
  height = client.bottom;
  width_ = width;
  HDC screen = GetDC(control_);
  dc_ = CreateCompatibleDC(screen);
  bitmap_ = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(control_, screen);
  if (!dc_ || !bitmap_) {
    Release();
    return false;
  }
  oldBitmap_ = SelectObject(dc_, bitmap_);
  // The device context's own pen and brush: a white area inside a black frame.
  Rectangle(dc_, 0, 0, width, height);
  clip_ = CreateRectRgn(0, 0, width, height);
  SelectClipRgn(dc_, clip_);
  return true;
}

void GdiPlotCanvas::UseLabelFont() {
  // Remember the context's own font: the shared font calls replace it.
  if (!oldFont_) oldFont_ = static_cast<HFONT>(GetCurrentObject(dc_, OBJ_FONT));
  SetFontWeight(dc_, false);
  // Made for 96 dots per inch, as the control's own size is scaled.
  const int dpi = WindowDpi(control_);
  SetFontSize(dc_, ScaleForDpi(14, dpi), ScaleForDpi(5, dpi));
}

void GdiPlotCanvas::Line(int xa, int ya, int xb, int yb, Pen pen) {
  if (pen != pen_) {
    if (pen == kSecondCurve && !secondPen_) secondPen_ = CreatePen(PS_SOLID, 1, RGB(200, 0, 0));
    SelectObject(
        dc_, pen == kSecondCurve ? static_cast<HGDIOBJ>(secondPen_) : GetStockObject(BLACK_PEN));
    pen_ = pen;
  }
  MoveToEx(dc_, xa, ya, nullptr);
  LineTo(dc_, xb, yb);
}

void GdiPlotCanvas::Text(int x, int y, std::string_view text) {
  int width = 0, height = 0;
  TextSize(text, width, height);
  TextAt(dc_, LabelLeft(x, width, width_), y, text);
}

void GdiPlotCanvas::TextSize(std::string_view text, int& width, int& height) {
  SIZE extent{};
  const std::wstring wide = WideText(text);
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &extent);
  width = extent.cx;
  height = extent.cy;
}

void GdiPlotCanvas::End() {
  Release();
  HBITMAP previous = KeptPlot(control_);
  SetPropW(control_, kBitmapProp, bitmap_);
  if (previous) DeleteObject(previous);
  bitmap_ = nullptr;
  InvalidateRect(control_, nullptr, FALSE);
}

void GdiPlotCanvas::Release() {
  if (!dc_) return;
  SelectObject(dc_, GetStockObject(BLACK_PEN));
  if (oldFont_) {
    // The font selected last is the shared font's newest: nothing else holds it.
    HGDIOBJ shared = SelectObject(dc_, oldFont_);
    if (shared != oldFont_) DeleteObject(shared);
    oldFont_ = nullptr;
  }
  if (oldBitmap_) SelectObject(dc_, oldBitmap_);
  SelectClipRgn(dc_, nullptr);
  if (clip_) DeleteObject(clip_);
  DeleteDC(dc_);
  dc_ = nullptr;
  oldBitmap_ = nullptr;
  clip_ = nullptr;
}
