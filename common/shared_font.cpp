#include "common/shared_font.h"

#include <cstring>

FontDescription SharedFont;

void InitSharedFont() {
  SharedFont = FontDescription{};
  SharedFont.Height = 16;
  SharedFont.Width = 6;
  std::strcpy(SharedFont.FaceName, "arial");
}
