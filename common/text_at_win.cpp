#include "common/text_at_win.h"

#include <cstring>

#include "common/codepage.h"
#include "common/shared_font.h"
#include "common/short_text.h"

namespace {
// The font that the last SelectSharedFont displaced from its device context.
HGDIOBJ ReplacedFont = nullptr;
}  // namespace

void TextAt(HDC dc, int px, int py, std::string_view text) {
  const std::wstring cut = WideText(ShortText(text));
  // An empty text draws its terminating zero, as it always has.
  TextOutW(dc, px, py, cut.c_str(), cut.empty() ? 1 : static_cast<int>(cut.size()));
}

void SelectSharedFont(HDC dc) {
  if (ReplacedFont) DeleteObject(ReplacedFont);
  static_assert(sizeof(FontDescription) == sizeof(LOGFONTA), "SharedFont is a LOGFONTA");
  LOGFONTA narrow;
  std::memcpy(&narrow, &SharedFont, sizeof narrow);
  LOGFONTW font{};
  std::memcpy(&font, &narrow, offsetof(LOGFONTA, lfFaceName));
  const std::wstring face =
      WideText(std::string_view(narrow.lfFaceName, strnlen(narrow.lfFaceName, LF_FACESIZE - 1)));
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  ReplacedFont = SelectObject(dc, CreateFontIndirectW(&font));
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
