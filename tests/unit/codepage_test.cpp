// UTF-8 outside, Windows-1252 inside: both directions and what cannot pass.
#include "common/codepage.h"

#include <gtest/gtest.h>

namespace {

// Literals are Windows-1252 in this program; UTF-8 ones must say so.
std::string U8(const char8_t* s) {
  return reinterpret_cast<const char*>(s);
}

TEST(Codepage, RoundTripsEveryByte) {
  for (int b = 1; b < 256; ++b) {
    std::string one(1, static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << b;
  }
}

TEST(Codepage, KnownCharacters) {
  EXPECT_EQ(Cp1252ToUtf8("C\xE1lculo de f\xF3rmulas"), U8(u8"Cálculo de fórmulas"));
  EXPECT_EQ(Cp1252ToUtf8("\x80\x96"), U8(u8"€–"));
  EXPECT_EQ(Utf8ToCp1252(U8(u8"Cálculo €")), "C\xE1lculo \x80");
  EXPECT_EQ(Utf8ToCp1252(U8(u8"\u03A9")), "?");        // no Windows-1252 form
  EXPECT_EQ(Utf8ToCp1252(U8(u8"\U0001F600x")), "?x");  // four bytes, one character
  EXPECT_EQ(Cp1252ToUtf16("C\xE1lculo \x80\x96\r\n"), u"Cálculo €–\r\n");
}

// The windows' wide text: every byte there and back, and what a person can
// type that Windows-1252 has no place for.
TEST(Codepage, WideTextRoundTripsEveryByte) {
  for (int b = 1; b < 256; ++b) {
    std::string one(1, static_cast<char>(b));
    EXPECT_EQ(WideText(one).size(), 1u) << b;
    EXPECT_EQ(Cp1252Text(WideText(one)), one) << b;
  }
}

TEST(Codepage, WideTextKnownCharacters) {
  struct Case {
    std::wstring wide;
    std::string text;
  };
  const Case cases[] = {
      {L"Divisi\u00F3n por cero", "Divisi\xF3n por cero"},
      {L"\u00E1rea \u00D1 \u20AC\u2013\u0178", "\xE1rea \xD1 \x80\x96\x9F"},
      {L"\u0436\u0438\u0440", "???"},  // Cyrillic typed under 1251
      {L"\u65E5x", "?x"},              // one Japanese character
      {std::wstring(L"a") + wchar_t(0xD83D) + wchar_t(0xDE00) + L"b", "a?b"},  // a pair, one '?'
      {std::wstring(1, wchar_t(0xDC00)) + L"c", "?c"},                         // a lone half
  };
  for (const Case& c : cases) EXPECT_EQ(Cp1252Text(c.wide), c.text) << c.text;
  EXPECT_EQ(WideText("C\xE1lculo de f\xF3rmulas"), L"C\u00E1lculo de f\u00F3rmulas");
  EXPECT_EQ(WideText("\x80\x8A"), L"\u20AC\u0160");
}

TEST(Codepage, BrokenUtf8BecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");    // cut short at the end
  EXPECT_EQ(Utf8ToCp1252("\xC3x"), "?x");  // cut short before a plain byte
  EXPECT_EQ(Utf8ToCp1252("\x80\xFF"
                         "a"),
            "??a");  // stray continuation, invalid lead
}

// What decides whether a text file without a mark was saved as UTF-8.
TEST(Codepage, WellFormedUtf8) {
  struct Case {
    const char* bytes;
    bool utf8;
  } cases[] = {
      {"", true},
      {"a\xC3\xB1o", true},
      {"\xE2\x82\xAC", true},
      {"\xF0\x9F\x98\x80", true},
      {"a\xF1o", false},    // Windows-1252 "año"
      {"\xC3", false},      // cut short
      {"\xC0\x80", false},  // overlong
      {"\xE0\x80\xAF", false},
      {"\xED\xA0\x80", false},      // a surrogate
      {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
  };
  for (const Case& c : cases) EXPECT_EQ(IsUtf8(c.bytes), c.utf8) << c.bytes;
}

}  // namespace
