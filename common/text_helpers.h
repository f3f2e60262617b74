// Text helpers: blanks, file names proposed from topic names, and
// tab-separated fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/short_text.h"

// Without the blanks (0x20) at either end.
ShortText TrimBlanks(std::string_view text);
ShortText RepeatChar(char c, std::uint16_t n);
ShortText Spaces(std::uint16_t n);
// 1-based position of the last c in text, 0 when there is none.
std::uint16_t LastCharPos(char c, std::string_view text);
// Accented vowels (Windows-1252) become the plain lower-case vowel.
ShortText FoldAccents(std::string_view text);
// Every blank (0x20) removed; tabs stay.
ShortText RemoveSpaces(std::string_view text);
// The fields of a line separated by tabs; a line without tabs is one field.
std::vector<std::string> SplitTabs(std::string_view line);
