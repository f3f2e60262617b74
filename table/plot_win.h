// The plot drawn with GDI into a bitmap that control 150 keeps and shows on
// every repaint, so covering or moving the dialog never loses it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "table/plot.h"

// The lines and labels are kept as they come and drawn at End, leaving out
// what nothing of would show: a line of no length or wholly outside the area,
// a line drawn again later, a label that a later one at the same place
// covers. The picture is the same, pixel for pixel, as drawing every call.
class GdiPlotCanvas final : public PlotCanvas {
 public:
  // `everyCall`: draws each call as it comes (what the picture is compared with).
  explicit GdiPlotCanvas(HWND control, bool everyCall = false)
      : control_(control), everyCall_(everyCall) {}
  ~GdiPlotCanvas() override;

  bool Begin(int& width, int& height) override;
  void UseLabelFont() override;
  void Line(int xa, int ya, int xb, int yb, Pen pen) override;
  void Text(int x, int y, std::string_view text) override;
  void TextSize(std::string_view text, int& width, int& height) override;
  void End() override;

 private:
  struct Call {
    int xa, ya, xb, yb;  // a label: its place in xa, ya, and its text in texts_
    Pen pen;
    bool text;
    std::uint32_t start, length;
    bool drawnAgain = false;  // a line that a later call draws again
  };
  struct LineKey {
    int xa, ya, xb, yb;
    Pen pen;
    bool operator==(const LineKey& o) const {
      return xa == o.xa && ya == o.ya && xb == o.xb && yb == o.yb && pen == o.pen;
    }
  };
  struct LineHash {
    std::size_t operator()(const LineKey& k) const;
  };
  void Release();
  void DrawLine(int xa, int ya, int xb, int yb, Pen pen);
  void DrawLabel(int x, int y, const wchar_t* text, int length);
  void DrawWhatShows();
  void DropLinesDrawnAgain();

  HWND control_;
  bool everyCall_;
  std::vector<Call> calls_;
  // Each line kept, at its last copy in calls_; and how many earlier copies
  // calls_ still holds.
  std::unordered_map<LineKey, std::size_t, LineHash> lastCopy_;
  std::size_t linesDrawnAgain_ = 0;
  std::string texts_;  // the labels, one after the other
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  HFONT oldFont_ = nullptr;
  HRGN clip_ = nullptr;
  HPEN secondPen_ = nullptr;
  Pen pen_ = kBlack;
  int width_ = 0;
  int height_ = 0;
};

// Makes the control show the bitmap of its last plot when it repaints (a
// white area until the first one). The bitmap goes with the control.
void KeepPlot(HWND control);
// The bitmap the control shows; nullptr before the first plot.
HBITMAP KeptPlot(HWND control);
