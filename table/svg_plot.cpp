#include "table/svg_plot.h"

#include "common/codepage.h"

namespace {

// Texts of the program are Windows-1252; the drawing is UTF-8 XML.
std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : Cp1252ToUtf8(std::string(text))) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

bool SvgCanvas::Begin(int& width, int& height) {
  width = width_;
  height = height_;
  body_.clear();
  return true;
}

void SvgCanvas::Line(int xa, int ya, int xb, int yb, Pen pen) {
  body_ += "<line x1=\"" + std::to_string(xa) + "\" y1=\"" + std::to_string(ya) + "\" x2=\"" +
           std::to_string(xb) + "\" y2=\"" + std::to_string(yb) + "\"";
  if (pen == kSecondCurve) body_ += " class=\"second\"";
  body_ += "/>\n";
}

void SvgCanvas::Text(int x, int y, std::string_view text) {
  // The dialog writes labels on an opaque white cell that hides the grid
  // behind them: the label font is 14 pixels high, 5 wide on average.
  int width = 0, height = 0;
  TextSize(text, width, height);
  x = LabelLeft(x, width, width_);
  body_ += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"" +
           std::to_string(5 * text.size()) + "\" height=\"14\" fill=\"white\"/>\n";
  // GDI places a text by its top-left corner; SVG by its baseline.
  body_ += "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
           "\" dominant-baseline=\"text-before-edge\">" + Escaped(text) + "</text>\n";
}

std::string SvgCanvas::Document() const {
  const std::string w = std::to_string(width_), h = std::to_string(height_);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
         "\">\n"
         "<style>line{stroke:black;stroke-width:1}line.second{stroke:#c80000}"
         "text{font-family:Arial,sans-serif;font-size:14px;fill:black}</style>\n"
         "<defs><clipPath id=\"area\"><rect x=\"0\" y=\"0\" width=\"" +
         w + "\" height=\"" + h +
         "\"/></clipPath></defs>\n"
         "<rect x=\"0.5\" y=\"0.5\" width=\"" +
         std::to_string(width_ - 1) + "\" height=\"" + std::to_string(height_ - 1) +
         "\" fill=\"white\" stroke=\"black\"/>\n"
         "<g clip-path=\"url(#area)\" shape-rendering=\"crispEdges\">\n" +
         body_ + "</g>\n</svg>\n";
}
