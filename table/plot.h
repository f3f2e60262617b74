// The plot of the value table: a world rectangle mapped onto the pixels of a
// drawing surface. The geometry is portable; what draws is a PlotCanvas (GDI
// in the dialog, SVG for quillet-calc), so both show the same picture.
#pragma once

#include <cstdint>
#include <string_view>

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
  // Black text on white, its top-left corner at (x, y).
  virtual void Text(int x, int y, std::string_view text) = 0;
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
