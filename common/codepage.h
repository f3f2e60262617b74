// Conversions between UTF-8 (the outside world of the command-line program)
// and Windows-1252 (every text inside the program).
#pragma once

#include <string>
#include <string_view>

// Characters with no Windows-1252 form, and bytes that are not UTF-8, become '?'.
std::string Utf8ToCp1252(std::string_view utf8);
// The five bytes Windows-1252 leaves undefined map to the C1 controls U+0081..U+009D.
std::string Cp1252ToUtf8(std::string_view text);
// The same characters as UTF-16, the platform's wide text.
std::u16string Cp1252ToUtf16(std::string_view text);
