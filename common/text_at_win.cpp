#include "common/text_at_win.h"

#include <cstring>

#include "common/short_text.h"
#include "common/shared_font.h"

namespace {
// The font that the last SelectSharedFont displaced from its device context.
HGDIOBJ ReplacedFont = nullptr;
}  // namespace

void TextAt(HDC dc, int px, int py, std::string_view text) {
  const ShortText cut(text);
  TextOutA(dc, px, py, cut.c_str(), cut.empty() ? 1 : static_cast<int>(cut.size()));
}

void SelectSharedFont(HDC dc) {
  if (ReplacedFont) DeleteObject(ReplacedFont);
  static_assert(sizeof(FontDescription) == sizeof(LOGFONTA), "SharedFont is a LOGFONTA");
  LOGFONTA font;
  std::memcpy(&font, &SharedFont, sizeof font);
  ReplacedFont = SelectObject(dc, CreateFontIndirectA(&font));
}

void SetFontSize(HDC dc, int height, int width) {
  SharedFont.Height = height;
  SharedFont.Width = width;
  SelectSharedFont(dc);
}

void SetFontWeight(HDC dc, bool bold) {
  SharedFont.Weight = bold ? 700 : 400;
  SelectSharedFont(dc);
}
