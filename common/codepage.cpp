#include "common/codepage.h"

#include <cstdint>

namespace {

// Unicode of the bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::uint32_t CodePoint(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

char ToCp1252(std::uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::u16string Utf16Units(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return units;
}

// The continuation bytes after a lead byte of well-formed UTF-8; 0 when the
// byte cannot lead.
int Continuations(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return 0;
}

// UTF-16 units, or the code points of a 32-bit wchar_t, as Windows-1252.
template <class Unit>
std::string UnitsToCp1252(std::basic_string_view<Unit> units) {
  std::string out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const auto u = static_cast<std::uint32_t>(units[i]);
    const bool pair = u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() &&
                      static_cast<std::uint32_t>(units[i + 1]) >= 0xDC00 &&
                      static_cast<std::uint32_t>(units[i + 1]) < 0xE000;
    if (pair) ++i;
    out += u >= 0xD800 && u < 0xE000 ? '?' : ToCp1252(u);
  }
  return out;
}

}  // namespace

std::string Utf16ToCp1252(std::u16string_view units) {
  return UnitsToCp1252(units);
}

bool IsUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    const int extra = Continuations(lead);
    if (extra == 0 || i + extra >= bytes.size()) return false;
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    // The second byte's range rules out overlong forms, surrogates and code
    // points beyond U+10FFFF.
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high) return false;
    for (int k = 2; k <= extra; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

bool Utf16WithoutMark(std::string_view bytes, bool& bigEndian) {
  // The first line, up to its CR or LF unit: one of each pair of bytes is 0.
  bool oddZero = true;
  bool evenZero = true;
  std::size_t units = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2, ++units) {
    const char even = bytes[i];
    const char odd = bytes[i + 1];
    if ((odd == 0 && (even == '\r' || even == '\n')) ||
        (even == 0 && (odd == '\r' || odd == '\n'))) {
      break;
    }
    oddZero = oddZero && odd == 0;
    evenZero = evenZero && even == 0;
  }
  if (units == 0 || oddZero == evenZero) return false;
  bigEndian = evenZero;
  return true;
}

std::string TextFileToCp1252(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return Utf8ToCp1252(bytes.substr(3));
  if (bytes.substr(0, 2) == "\xFF\xFE") return Utf16ToCp1252(Utf16Units(bytes.substr(2), false));
  if (bytes.substr(0, 2) == "\xFE\xFF") return Utf16ToCp1252(Utf16Units(bytes.substr(2), true));
  bool bigEndian = false;
  if (Utf16WithoutMark(bytes, bigEndian)) return Utf16ToCp1252(Utf16Units(bytes, bigEndian));
  // Windows-1252 letters almost never line up as UTF-8 sequences, so text
  // that reads as UTF-8 and is not plain ASCII was saved as UTF-8.
  bool ascii = true;
  for (char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  return !ascii && IsUtf8(bytes) ? Utf8ToCp1252(bytes) : std::string(bytes);
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  std::size_t i = 0;
  const std::size_t n = utf8.size();
  while (i < n) {
    auto lead = static_cast<unsigned char>(utf8[i]);
    int extra = lead < 0x80             ? 0
                : (lead & 0xE0) == 0xC0 ? 1
                : (lead & 0xF0) == 0xE0 ? 2
                : (lead & 0xF8) == 0xF0 ? 3
                                        : -1;
    if (extra < 0) {  // a continuation byte or an invalid lead
      out += '?';
      ++i;
      continue;
    }
    std::uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= n || (static_cast<unsigned char>(utf8[i + k]) & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    if (!valid) {
      out += '?';
      ++i;
      continue;
    }
    out += ToCp1252(cp);
    i += extra + 1;
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) AppendUtf8(out, CodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::u16string Cp1252ToUtf16(std::string_view text) {
  std::u16string out(text.size(), u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    out[i] = static_cast<char16_t>(CodePoint(static_cast<unsigned char>(text[i])));
  }
  return out;
}

std::wstring WideText(std::string_view text) {
  std::wstring out;
  AppendWideText(out, text);
  return out;
}

void AppendWideText(std::wstring& out, std::string_view text) {
  const std::size_t from = out.size();
  out.resize(from + text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    out[from + i] = static_cast<wchar_t>(CodePoint(static_cast<unsigned char>(text[i])));
  }
}

std::string Cp1252Text(std::wstring_view wide) {
  return UnitsToCp1252(wide);
}

namespace {

// The code points of UTF-8 bytes; an ill-formed sequence gives one code
// point that no code page holds.
template <class Take>
void EachUtf8CodePoint(std::string_view utf8, Take take) {
  constexpr std::uint32_t kIllFormed = 0xFFFFFFFF;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int extra = lead < 0x80 ? 0 : Continuations(lead);
    if (lead >= 0x80 && (extra == 0 || !IsUtf8(utf8.substr(i, extra + 1)))) {
      if (!take(kIllFormed)) return;
      ++i;
      continue;
    }
    std::uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
    if (!take(cp)) return;
    i += extra + 1;
  }
}

template <class Take>
void EachUtf16CodePoint(std::u16string_view units, Take take) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::uint32_t cp = units[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00);
    }
    if (!take(cp)) return;
  }
}

bool HoldsCp1252(std::uint32_t cp) {
  return cp == '?' || ToCp1252(cp) != '?';
}

}  // namespace

bool TextFileToCp1252Exactly(std::string_view bytes, std::string& out, int& line, int& column) {
  out.clear();
  line = 1;
  column = 0;
  bool held = true;
  auto take = [&](std::uint32_t cp) {
    ++column;
    if (!HoldsCp1252(cp)) return held = false;
    out += ToCp1252(cp);
    if (cp == '\n') {
      ++line;
      column = 0;
    }
    return true;
  };
  bool bigEndian = false;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    EachUtf8CodePoint(bytes.substr(3), take);
  } else if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
    EachUtf16CodePoint(Utf16Units(bytes.substr(2), bytes[0] == '\xFE'), take);
  } else if (Utf16WithoutMark(bytes, bigEndian)) {
    EachUtf16CodePoint(Utf16Units(bytes, bigEndian), take);
  } else if (IsUtf8(bytes)) {
    EachUtf8CodePoint(bytes, take);
  } else {
    out.assign(bytes);  // Windows-1252 itself: every byte is a character of it
  }
  return held;
}
