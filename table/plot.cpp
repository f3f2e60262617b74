#include "table/plot.h"

#include <cmath>
#include <iterator>

namespace {

std::int32_t ClampedPixel(double p) {
  if (std::isnan(p)) return 0;
  if (p > kPlotPixelLimit) return kPlotPixelLimit;
  if (p < -kPlotPixelLimit) return -kPlotPixelLimit;
  // Halves to even, as nearbyint: below 2^51, adding 2^52 leaves no fraction,
  // and that sum is rounded as nearbyint rounds. Not the library's call,
  // which costs more than the rest of a plot of many rows.
  constexpr double kWhole = 4503599627370496.0;  // 2^52
  const double whole = p >= 0 ? (p + kWhole) - kWhole : (p - kWhole) + kWhole;
  return static_cast<std::int32_t>(whole);
}

double PixelX(const PlotArea& area, double x) {
  return (x - area.x1) * area.sx;
}
double PixelY(const PlotArea& area, double y) {
  return area.height - (y - area.y1) * area.sy;
}

// Cuts the segment to the pixel range, so that clamping a far end does not
// bend the part of the line that shows. False when nothing of it is left.
bool ClipToLimit(double& xa, double& ya, double& xb, double& yb) {
  if (std::isnan(xa) || std::isnan(ya) || std::isnan(xb) || std::isnan(yb)) return false;
  double t0 = 0, t1 = 1;
  const double dx = xb - xa, dy = yb - ya;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {xa + kPlotPixelLimit, kPlotPixelLimit - xa, ya + kPlotPixelLimit,
                       kPlotPixelLimit - ya};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  // An infinite direction (from a huge world span) cannot be cut: leave the
  // ends to the clamp.
  if (!std::isfinite(dx) || !std::isfinite(dy)) return true;
  const double nxa = xa + t0 * dx, nya = ya + t0 * dy;
  const double nxb = xa + t1 * dx, nyb = ya + t1 * dy;
  xa = nxa, ya = nya, xb = nxb, yb = nyb;
  return true;
}

}  // namespace

bool PlotInit(PlotArea& area, PlotCanvas& canvas, double x1, double y1, double x2, double y2) {
  if (!((x2 - x1) * (y2 - y1) > 0)) return false;
  int width = 0, height = 0;
  if (!canvas.Begin(width, height)) return false;
  area.canvas = &canvas;
  area.width = static_cast<std::uint16_t>(width);
  area.height = static_cast<std::uint16_t>(height);
  area.sx = area.width / (x2 - x1);
  area.sy = area.height / (y2 - y1);
  area.x1 = x1, area.y1 = y1, area.x2 = x2, area.y2 = y2;
  return true;
}

std::int32_t PlotX(const PlotArea& area, double x) {
  return ClampedPixel(PixelX(area, x));
}
std::int32_t PlotY(const PlotArea& area, double y) {
  return ClampedPixel(PixelY(area, y));
}

void PlotAxes(const PlotArea& area) {
  PlotLine(area, area.x1, 0, area.x2, 0);
  PlotLine(area, 0, area.y1, 0, area.y2);
}

void PlotLine(const PlotArea& area, double xa, double ya, double xb, double yb,
              PlotCanvas::Pen pen) {
  double pxa = PixelX(area, xa), pya = PixelY(area, ya);
  double pxb = PixelX(area, xb), pyb = PixelY(area, yb);
  if (!ClipToLimit(pxa, pya, pxb, pyb)) return;
  area.canvas->Line(ClampedPixel(pxa), ClampedPixel(pya), ClampedPixel(pxb), ClampedPixel(pyb),
                    pen);
}

void PlotText(const PlotArea& area, double x, double y, std::string_view text) {
  area.canvas->Text(PlotX(area, x), PlotY(area, y), text);
}

int LabelLeft(int x, int width, int areaWidth) {
  if (x < areaWidth && x + width > areaWidth - 1) {
    return areaWidth - 1 - width > 0 ? areaWidth - 1 - width : 0;
  }
  return x;
}

// Side by side, labels that only touch would read as one ("-1.9-1.8"): they
// keep a quarter of the font's height apart.
AxisLabels::Span AxisLabels::SpanOf(double x, double y, std::string_view text, int& gap) {
  int width = 0, height = 0;
  area_.canvas->TextSize(text, width, height);
  height_ = height;
  if (axis_ == kAlongY) {
    gap = 0;
    const int top = PlotY(area_, y);
    return Span{top, top + height};
  }
  gap = (height + 2) / 4;
  const int left = LabelLeft(PlotX(area_, x), width, area_.width);
  return Span{left, left + width};
}

bool AxisLabels::Covers(const Span& s, int gap) const {
  const auto meets = [&](const Span& t) { return s.from < t.to + gap && t.from < s.to + gap; };
  for (const Span& t : always_) {
    if (meets(t)) return true;
  }
  // The free spans are apart and in order: only the last one starting
  // before this one's end can reach into it.
  auto after = drawn_.lower_bound(s.to + gap);
  return after != drawn_.begin() && meets(Span{std::prev(after)->first, std::prev(after)->second});
}

// Along y a label's span is its top and the font's height. Along x it starts
// where its cell does, or further left at the right edge: one that starts
// inside a span drawn or kept for the first or last label, or within the gap
// after it, meets that span or the next, whatever its width.
bool AxisLabels::SurelyLeftOut(double x, double y) const {
  if (height_ <= 0) return false;
  if (axis_ == kAlongY) {
    const int top = PlotY(area_, y);
    return Covers(Span{top, top + height_}, 0);
  }
  const int gap = (height_ + 2) / 4;
  const int left = PlotX(area_, x);
  for (const Span& t : always_) {
    if (t.from <= left && left < t.to + gap) return true;
  }
  auto after = drawn_.upper_bound(left);
  return after != drawn_.begin() && left < std::prev(after)->second + gap;
}

void AxisLabels::ReserveLast(double x, double y, std::string_view text) {
  int gap = 0;
  always_.push_back(SpanOf(x, y, text, gap));
}

void AxisLabels::Draw(double x, double y, std::string_view text, bool always) {
  int gap = 0;
  const Span s = SpanOf(x, y, text, gap);
  if (always) {
    always_.push_back(s);
  } else {
    if (Covers(s, gap)) return;
    drawn_.emplace(s.from, s.to);
  }
  PlotText(area_, x, y, text);
}
