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

}  // namespace
