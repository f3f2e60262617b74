// Conversions between Windows-1252 (every text inside the program) and the
// outside world: UTF-8 for the command-line program, UTF-16 for the windows,
// whose ANSI calls would read the texts in the system's code page instead.
#pragma once

#include <string>
#include <string_view>

// Characters with no Windows-1252 form, and bytes that are not UTF-8, become '?'.
std::string Utf8ToCp1252(std::string_view utf8);
// The five bytes Windows-1252 leaves undefined map to the C1 controls U+0081..U+009D.
std::string Cp1252ToUtf8(std::string_view text);
// The same characters as UTF-16, the platform's wide text.
std::u16string Cp1252ToUtf16(std::string_view text);
// UTF-16 code units; a character beyond Windows-1252 (a surrogate pair
// included) becomes one '?'.
std::string Utf16ToCp1252(std::u16string_view units);
// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view bytes);
// The bytes of a text file saved by any of today's editors, as Windows-1252:
// UTF-8 with or without its byte order mark, UTF-16 with its mark (either
// byte order) or without it, or Windows-1252 itself. What Windows-1252
// cannot hold becomes '?'.
std::string TextFileToCp1252(std::string_view bytes);
// As TextFileToCp1252, but false at the first character Windows-1252 cannot
// hold, with its line and its column (both from 1, in characters).
bool TextFileToCp1252Exactly(std::string_view bytes, std::string& out, int& line, int& column);
// UTF-16 without a byte order mark: in the first line (at least one
// character) every other byte is 0, in one byte order.
bool Utf16WithoutMark(std::string_view bytes, bool& bigEndian);

// The platform's wide text: UTF-16 on Windows (one unit for each character
// here), the same code points elsewhere.
std::wstring WideText(std::string_view text);
// The same added to the end of `out`: many texts into one buffer.
void AppendWideText(std::wstring& out, std::string_view text);
// Back from wide text, as a Windows-1252 system reads it: a character it
// cannot hold becomes '?' (a surrogate pair, one character, one '?').
std::string Cp1252Text(std::wstring_view wide);
