// Two text helpers used to propose file names from topic names.
#pragma once

#include <string_view>

#include "common/short_text.h"

// Accented vowels (Windows-1252) become the plain lower-case vowel.
ShortText FoldAccents(std::string_view text);
// Every blank (0x20) removed; tabs stay.
ShortText RemoveSpaces(std::string_view text);
