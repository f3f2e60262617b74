// Text helpers: file names proposed from topic names, and tab-separated fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/short_text.h"

// Accented vowels (Windows-1252) become the plain lower-case vowel.
ShortText FoldAccents(std::string_view text);
// Every blank (0x20) removed; tabs stay.
ShortText RemoveSpaces(std::string_view text);
// The fields of a line separated by tabs; a line without tabs is one field.
std::vector<std::string> SplitTabs(std::string_view line);
