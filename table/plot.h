// The plot of the value table: a world rectangle mapped onto the pixels of a
// drawing surface. The geometry is portable; what draws is a PlotCanvas (GDI
// in the dialog, SVG for quillet-calc), so both show the same picture.
#pragma once

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

// Where the lines and labels go. Coordinates are pixels, y growing downwards.
class PlotCanvas {
 public:
  enum Pen { kBlack = 0, kSecondCurve = 1 };

  virtual ~PlotCanvas() = default;
  // Clears the surface to a white area inside a black frame and gives its size
  // in pixels. False when there is nothing to draw on.
  virtual bool Begin(int& width, int& height) = 0;
  // The labels' font: Arial, 14 pixels high, 5 wide, normal weight.
  virtual void UseLabelFont() = 0;
  virtual void Line(int xa, int ya, int xb, int yb, Pen pen) = 0;
  // Black text on white, its top-left corner at (x, y); one that would run
  // past the right edge is moved left to end inside (LabelLeft).
  virtual void Text(int x, int y, std::string_view text) = 0;
  // The pixels the text takes in the label font; by default the font's
  // average, 5 a character, and its height, 14.
  virtual void TextSize(std::string_view text, int& width, int& height) {
    width = 5 * static_cast<int>(text.size());
    height = 14;
  }
  // Drawing is over: what was drawn is kept and shown.
  virtual void End() = 0;
};

struct PlotArea {
  PlotCanvas* canvas = nullptr;
  std::uint16_t width = 0, height = 0;
  double sx = 0, sy = 0;                  // pixels per world unit
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // bottom left, top right
};

// Pixel coordinates are clamped to this range: far-away values must neither
// wrap around nor overflow what the drawing calls accept.
inline constexpr std::int32_t kPlotPixelLimit = 1000000;

// Fails, changing nothing, unless the world rectangle has an area and the
// canvas can draw. Otherwise clears the canvas and maps the rectangle onto it.
bool PlotInit(PlotArea& area, PlotCanvas& canvas, double x1, double y1, double x2, double y2);
std::int32_t PlotX(const PlotArea& area, double x);
std::int32_t PlotY(const PlotArea& area, double y);
void PlotAxes(const PlotArea& area);
void PlotLine(const PlotArea& area, double xa, double ya, double xb, double yb,
              PlotCanvas::Pen pen = PlotCanvas::kBlack);
void PlotText(const PlotArea& area, double x, double y, std::string_view text);

// Where a text `width` pixels wide that would start at x starts, so that it
// ends inside an area `areaWidth` wide.
int LabelLeft(int x, int width, int areaWidth);

// The labels of one axis, kept readable: a label that would cover one drawn
// before, or the last one, reserved ahead, is left out; the first and the
// last are always drawn. Where no label would cover another, every label is
// drawn, as PlotText draws it.
class AxisLabels {
 public:
  // Along x the labels stand side by side, along y one above the other.
  enum Axis { kAlongX, kAlongY };
  AxisLabels(const PlotArea& area, Axis axis) : area_(area), axis_(axis) {}
  void ReserveLast(double x, double y, std::string_view text);
  void Draw(double x, double y, std::string_view text, bool always);
  // True only where Draw would leave out the label at (x, y), whatever its
  // text: a table of many rows formats and measures just the labels it draws.
  bool SurelyLeftOut(double x, double y) const;

 private:
  struct Span {
    int from, to;  // pixels along the axis, the end excluded
  };
  Span SpanOf(double x, double y, std::string_view text, int& gap);
  bool Covers(const Span& s, int gap) const;

  const PlotArea& area_;
  Axis axis_;
  std::map<int, int> drawn_;  // the labels drawn freely, by start: never covering each other
  std::vector<Span> always_;  // the first, the last
  int height_ = 0;            // of the labels measured so far: one font, one height
};
