// Text drawing in the shared font: the plot of the value table and the about
// window write every text through these.
#pragma once

#include <windows.h>

#include <string_view>

// TextOutA at (px, py), cut to 255 characters; an empty text passes one NUL.
void TextAt(HDC dc, int px, int py, std::string_view text);

// Creates a font from SharedFont and selects it into dc. The font it replaced
// is kept and deleted by the next call.
void SelectSharedFont(HDC dc);
// Change SharedFont (the change stays for later calls), then select it.
void SetFontSize(HDC dc, int height, int width);
void SetFontWeight(HDC dc, bool bold);
