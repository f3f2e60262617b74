#include "common/text_helpers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  const char* in;
  const char* out;
};

TEST(TextHelpers, SmallOnes) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks("\ta \t"), "\ta \t");
  EXPECT_EQ(Spaces(3), "   ");
  EXPECT_EQ(RepeatChar('x', 0), "");
  EXPECT_EQ(RepeatChar('x', 1000).size(), 255u);
  EXPECT_EQ(LastCharPos('\\', "C:\\dir\\file"), 7);
  EXPECT_EQ(LastCharPos('\\', ""), 0);
  EXPECT_EQ(LastCharPos('z', "abc"), 0);
}

TEST(FoldAccents, Examples) {
  for (const Case& c : std::initializer_list<Case>{
           {"Física Cuántica", "Fisica Cuantica"},
           {"ÀÉÏÓÜ", "aeiou"},
           {"Año Ìç", "Año Ìç"},
           {"", ""},
           {"Òptica i Electrònica", "optica i Electronica"},
           {"àáèéíïòóúü", "aaeeiioouu"},
       }) {
    EXPECT_EQ(FoldAccents(c.in), c.out) << c.in;
  }
}

// Exactly twenty bytes fold; every other byte, including the neighbours of
// the folded ones, passes unchanged. The result keeps the length.
TEST(FoldAccents, EveryByte) {
  const std::string folded_from =
      "\xC0\xC1\xE0\xE1\xC8\xC9\xE8\xE9\xCD\xCF\xED\xEF"
      "\xD2\xD3\xF2\xF3\xDA\xDC\xFA\xFC";
  const std::string folded_to = "aaaaeeeeiiiioooouuuu";
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    const std::string in = std::string("<") + c + ">";
    const std::size_t at = folded_from.find(c);
    const char expected = at == std::string::npos ? c : folded_to[at];
    EXPECT_EQ(FoldAccents(in).str(), std::string("<") + expected + ">") << b;
  }
}

TEST(RemoveSpaces, Examples) {
  for (const Case& c : std::initializer_list<Case>{
           {" a b  c ", "abc"},
           {"a\tb", "a\tb"},
           {"", ""},
           {"    ", ""},
           {"Física Nuclear", "FísicaNuclear"},
           {"a\xA0"
            "b",
            "a\xA0"
            "b"},  // a non-breaking space is not a blank
       }) {
    EXPECT_EQ(RemoveSpaces(c.in), c.out) << c.in;
  }
}

TEST(FoldAccentsAndRemoveSpaces, InputsLongerThan255AreCut) {
  const std::string long_text(300, 'x');
  EXPECT_EQ(FoldAccents(long_text).size(), 255u);
  // The input is cut before the blanks go: the characters past 255 never count.
  const std::string spaced = std::string(100, ' ') + std::string(300, 'y');
  EXPECT_EQ(RemoveSpaces(spaced).str(), std::string(155, 'y'));
}

}  // namespace
