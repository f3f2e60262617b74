// The table's plot as an SVG drawing: the same lines and labels the dialog
// draws, so a table can go into a report.
#pragma once

#include <string>
#include <string_view>

#include "table/plot.h"

class SvgCanvas final : public PlotCanvas {
 public:
  // The size of the dialog's plot area on a usual screen.
  SvgCanvas(int width = 316, int height = 212) : width_(width), height_(height) {}

  bool Begin(int& width, int& height) override;
  void UseLabelFont() override {}
  void Line(int xa, int ya, int xb, int yb, Pen pen) override;
  void Text(int x, int y, std::string_view text) override;
  void End() override {}

  // The whole document (UTF-8); an empty white area until Begin.
  std::string Document() const;

 private:
  int width_, height_;
  std::string body_;
};
