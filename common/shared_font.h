// The font description shared by TextAt: the plot of the value table and the
// about window draw their texts with it. Portable, in the platform's LOGFONT
// layout with an 8-bit face name; the Win32 side makes the wide form of it.
#pragma once

#include <cstdint>

struct FontDescription {
  std::int32_t Height = 0;
  std::int32_t Width = 0;
  std::int32_t Escapement = 0;
  std::int32_t Orientation = 0;
  std::int32_t Weight = 0;  // 0: the face's default
  std::uint8_t Italic = 0;
  std::uint8_t Underline = 0;
  std::uint8_t StrikeOut = 0;
  std::uint8_t CharSet = 0;  // the ANSI set
  std::uint8_t OutPrecision = 0;
  std::uint8_t ClipPrecision = 0;
  std::uint8_t Quality = 0;
  std::uint8_t PitchAndFamily = 0;
  char FaceName[32] = {};
};

extern FontDescription SharedFont;

// Start-up: Arial, 16 pixels high, 6 wide on average, every other field 0.
void InitSharedFont();
