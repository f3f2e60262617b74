// UTF-8 outside, Windows-1252 inside: both directions and what cannot pass.
#include <gtest/gtest.h>

#include "common/codepage.h"

namespace {

// Literals are Windows-1252 in this program; UTF-8 ones must say so.
std::string U8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

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
  EXPECT_EQ(Utf8ToCp1252(U8(u8"\u03A9")), "?");    // no Windows-1252 form
  EXPECT_EQ(Utf8ToCp1252(U8(u8"\U0001F600x")), "?x");  // four bytes, one character
  EXPECT_EQ(Cp1252ToUtf16("C\xE1lculo \x80\x96\r\n"), u"Cálculo €–\r\n");
}

TEST(Codepage, BrokenUtf8BecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");          // cut short at the end
  EXPECT_EQ(Utf8ToCp1252("\xC3x"), "?x");        // cut short before a plain byte
  EXPECT_EQ(Utf8ToCp1252("\x80\xFF" "a"), "??a");  // stray continuation, invalid lead
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
