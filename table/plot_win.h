// The plot drawn with GDI into a bitmap that control 150 keeps and shows on
// every repaint, so covering or moving the dialog never loses it.
#pragma once

#include <windows.h>

#include "table/plot.h"

class GdiPlotCanvas final : public PlotCanvas {
 public:
  explicit GdiPlotCanvas(HWND control) : control_(control) {}
  ~GdiPlotCanvas() override;

  bool Begin(int& width, int& height) override;
  void UseLabelFont() override;
  void Line(int xa, int ya, int xb, int yb, Pen pen) override;
  void Text(int x, int y, std::string_view text) override;
  void TextSize(std::string_view text, int& width, int& height) override;
  void End() override;

 private:
  void Release();

  HWND control_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  HFONT oldFont_ = nullptr;
  HRGN clip_ = nullptr;
  HPEN secondPen_ = nullptr;
  Pen pen_ = kBlack;
  int width_ = 0;
};

// Makes the control show the bitmap of its last plot when it repaints (a
// white area until the first one). The bitmap goes with the control.
void KeepPlot(HWND control);
// The bitmap the control shows; nullptr before the first plot.
HBITMAP KeptPlot(HWND control);
