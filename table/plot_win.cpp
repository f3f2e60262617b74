#include "table/plot_win.h"

#include <unordered_map>

#include "common/codepage.h"
#include "common/dpi_win.h"
#include "common/short_text.h"
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
  height_ = height;
  calls_.clear();
  texts_.clear();
  lastCopy_.clear();
  linesDrawnAgain_ = 0;
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

// A table of many rows draws the same few hundred lines again and again: only
// the last copy of each is kept, so what is kept stays as small as the picture.
void GdiPlotCanvas::Line(int xa, int ya, int xb, int yb, Pen pen) {
  if (everyCall_) {
    DrawLine(xa, ya, xb, yb, pen);
    return;
  }
  const bool outside = (xa < 0 && xb < 0) || (ya < 0 && yb < 0) ||
                       (xa >= width_ && xb >= width_) || (ya >= height_ && yb >= height_);
  if (outside || (xa == xb && ya == yb)) return;  // LineTo leaves its end out
  const auto [last, first] = lastCopy_.try_emplace(LineKey{xa, ya, xb, yb, pen}, calls_.size());
  if (!first) {
    calls_[last->second].drawnAgain = true;
    last->second = calls_.size();
    ++linesDrawnAgain_;
  }
  calls_.push_back(Call{xa, ya, xb, yb, pen, false, 0, 0});
  if (linesDrawnAgain_ >= 4096 && linesDrawnAgain_ * 2 >= calls_.size()) DropLinesDrawnAgain();
}

void GdiPlotCanvas::DropLinesDrawnAgain() {
  std::size_t kept = 0;
  for (const Call& c : calls_) {
    if (c.drawnAgain) continue;
    if (!c.text) lastCopy_[LineKey{c.xa, c.ya, c.xb, c.yb, c.pen}] = kept;
    calls_[kept++] = c;
  }
  calls_.resize(kept);
  linesDrawnAgain_ = 0;
}

std::size_t GdiPlotCanvas::LineHash::operator()(const LineKey& k) const {
  std::uint64_t h = static_cast<std::uint32_t>(k.xa);
  for (int v : {k.ya, k.xb, k.yb, static_cast<int>(k.pen)}) {
    h = h * 0x9E3779B97F4A7C15u + static_cast<std::uint32_t>(v);
  }
  return static_cast<std::size_t>(h ^ (h >> 29));
}

void GdiPlotCanvas::Text(int x, int y, std::string_view text) {
  const ShortText cut(text);
  if (everyCall_) {
    const std::wstring wide = WideText(cut);
    DrawLabel(x, y, wide.c_str(), static_cast<int>(wide.size()));
    return;
  }
  calls_.push_back(Call{x, y, 0, 0, kBlack, true, static_cast<std::uint32_t>(texts_.size()),
                        static_cast<std::uint32_t>(cut.size())});
  texts_ += cut.view();
}

// Measured at once, in the label font: the plot decides from it which labels
// to draw before anything is drawn.
void GdiPlotCanvas::TextSize(std::string_view text, int& width, int& height) {
  SIZE extent{};
  const std::wstring wide = WideText(ShortText(text));
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &extent);
  width = extent.cx;
  height = extent.cy;
}

void GdiPlotCanvas::DrawLine(int xa, int ya, int xb, int yb, Pen pen) {
  if (pen != pen_) {
    if (pen == kSecondCurve && !secondPen_) secondPen_ = CreatePen(PS_SOLID, 1, RGB(200, 0, 0));
    SelectObject(
        dc_, pen == kSecondCurve ? static_cast<HGDIOBJ>(secondPen_) : GetStockObject(BLACK_PEN));
    pen_ = pen;
  }
  MoveToEx(dc_, xa, ya, nullptr);
  LineTo(dc_, xb, yb);
}

namespace {

// How wide a label is and how far its ink reaches past its cell on either
// side, from the widths of its characters: labels are plain ASCII.
class LabelWidths {
 public:
  explicit LabelWidths(HDC dc) : dc_(dc) {
    TEXTMETRICW metrics{};
    known = GetTextMetricsW(dc, &metrics) != FALSE;
    height = metrics.tmHeight;
  }
  // False for a text they cannot tell.
  bool Measure(std::string_view text, int& advance, int& inkLeft, int& inkRight) {
    advance = inkLeft = inkRight = 0;
    if (!known || text.empty()) return false;
    for (std::size_t k = 0; k < text.size(); ++k) {
      const auto c = static_cast<unsigned char>(text[k]);
      if (c >= 128) return false;
      // Asked for each character the first time: a label has a dozen kinds.
      if (!asked_[c]) {
        asked_[c] = true;
        if (!GetCharABCWidthsW(dc_, c, c, &abc_[c])) known = false;
      }
      if (!known) return false;
      const ABC& w = abc_[c];
      if (k == 0 && w.abcA < 0) inkLeft = w.abcA;
      advance += w.abcA + static_cast<int>(w.abcB) + w.abcC;
      if (k + 1 == text.size() && w.abcC < 0) inkRight = -w.abcC;
    }
    return true;
  }

  int height = 0;
  bool known = false;

 private:
  HDC dc_;
  ABC abc_[128] = {};
  bool asked_[128] = {};
};

// The white cells of the labels drawn after the one at hand. The value
// labels stand one above the other at one x, the variable's side by side at
// one y: a label hidden under later ones of its column or of its row cannot
// show.
class LabelCells {
 public:
  LabelCells(int width, int height, int cellHeight)
      : width_(width), height_(height), cellHeight_(cellHeight) {}

  // Whether the ink from x, `wide` pixels, lies under later cells; `fromItsLeft`:
  // none of it left of where its cell starts, as a column covers it.
  bool Covered(int x, int y, int wide, bool fromItsLeft) {
    const int top = y > 0 ? y : 0, bottom = y + cellHeight_ < height_ ? y + cellHeight_ : height_;
    auto column = widthsByRow_.find(x);
    if (fromItsLeft && column != widthsByRow_.end()) {
      bool all = true;
      for (int r = top; all && r < bottom; ++r) all = column->second[r] >= wide;
      if (all) return true;
    }
    auto row = coveredByColumn_.find(y);
    if (row == coveredByColumn_.end()) return false;
    const int left = x > 0 ? x : 0, right = x + wide < width_ ? x + wide : width_;
    for (int c = left; c < right; ++c) {
      if (!row->second[c]) return false;
    }
    return true;
  }
  void Add(int x, int y, int wide) {
    std::vector<int>& column = widthsByRow_[x];
    column.resize(static_cast<std::size_t>(height_), 0);
    for (int r = y > 0 ? y : 0; r < y + cellHeight_ && r < height_; ++r) {
      if (column[r] < wide) column[r] = wide;
    }
    std::vector<char>& row = coveredByColumn_[y];
    row.resize(static_cast<std::size_t>(width_), 0);
    for (int c = x > 0 ? x : 0; c < x + wide && c < width_; ++c) row[c] = 1;
  }

 private:
  int width_, height_, cellHeight_;
  std::unordered_map<int, std::vector<int>> widthsByRow_;  // by x: the widest cell over each row
  std::unordered_map<int, std::vector<char>> coveredByColumn_;  // by y: the columns under a cell
};

}  // namespace

void GdiPlotCanvas::DrawLabel(int x, int y, const wchar_t* text, int length) {
  SIZE extent{};
  if (GetTextExtentPoint32W(dc_, text, length, &extent)) x = LabelLeft(x, extent.cx, width_);
  // An empty text draws its terminating zero, as it always has.
  TextOutW(dc_, x, y, text, length == 0 ? 1 : length);
}

// From the last call back to the first, each is drawn only when something of
// it would still show at the end. A label's white background covers its
// whole cell, so an earlier label at the same place whose ink fits inside a
// later one's cell cannot show; the later copy of a line covers the earlier.
void GdiPlotCanvas::DrawWhatShows() {
  LabelWidths widths(dc_);
  // The widths add up to the text's extent in this font, as the first labels
  // show; in a font where they did not, every label is drawn.
  int checked = 0;
  for (const Call& c : calls_) {
    if (!widths.known || checked == 16) break;
    if (!c.text) continue;
    ++checked;
    int advance, inkLeft, inkRight;
    const std::wstring wide = WideText(std::string_view(texts_.data() + c.start, c.length));
    SIZE extent{};
    widths.known =
        widths.Measure(std::string_view(texts_.data() + c.start, c.length), advance, inkLeft,
                       inkRight) &&
        GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &extent) &&
        extent.cx == advance;
  }
  std::vector<bool> shows(calls_.size(), false);
  LabelCells covers(width_, height_, widths.height);
  for (std::size_t i = calls_.size(); i-- > 0;) {
    const Call& c = calls_[i];
    if (!c.text) {
      shows[i] = !c.drawnAgain;
      continue;
    }
    int advance, inkLeft, inkRight;
    if (!widths.Measure(std::string_view(texts_.data() + c.start, c.length), advance, inkLeft,
                        inkRight)) {
      shows[i] = true;
      continue;
    }
    const int x = LabelLeft(c.xa, advance, width_);
    if (x >= width_ || c.ya >= height_ || x + advance + inkRight <= 0 ||
        c.ya + widths.height <= 0) {
      continue;
    }
    if (!covers.Covered(x + inkLeft, c.ya, advance - inkLeft + inkRight, inkLeft == 0)) {
      shows[i] = true;
      covers.Add(x, c.ya, advance);
    }
  }
  for (std::size_t i = 0; i < calls_.size(); ++i) {
    if (!shows[i]) continue;
    const Call& c = calls_[i];
    if (c.text) {
      const std::wstring wide = WideText(std::string_view(texts_.data() + c.start, c.length));
      DrawLabel(c.xa, c.ya, wide.c_str(), static_cast<int>(wide.size()));
    } else {
      DrawLine(c.xa, c.ya, c.xb, c.yb, c.pen);
    }
  }
  calls_.clear();
  texts_.clear();
  lastCopy_.clear();
  linesDrawnAgain_ = 0;
}

void GdiPlotCanvas::End() {
  DrawWhatShows();
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
