#include "engine/check.h"

#include <gtest/gtest.h>

#include <string>

#include "common/language.h"

namespace {

constexpr const char* kInvalid = "Error: carácter no válido";
constexpr const char* kOperator = "Error: Falta operador";
constexpr const char* kOperand = "Error: Falta operando";
constexpr const char* kParens = "Error: ";
constexpr const char* kMoreOpen = "  \"(\"  >  \")\"";
constexpr const char* kMoreClose = "  \"(\"  <  \")\"";

// Every table below is in Spanish unless it sets another language.
class CheckTest : public ::testing::Test {
 protected:
  void SetUp() override { Language = 2; }
  void TearDown() override { Language = 2; }
};

void ExpectAccepted(std::string_view formula) {
  const CheckResult r = CheckFormula(formula);
  EXPECT_TRUE(r.ok) << "«" << formula << "» refused: " << r.caption << " | " << r.text;
  EXPECT_FALSE(r.silent) << formula;
  EXPECT_TRUE(r.caption.empty() && r.text.empty()) << formula;
}

struct Refusal {
  const char* formula;
  const char* caption;
  const char* text;
};

void ExpectRefused(const Refusal& c) {
  const CheckResult r = CheckFormula(c.formula);
  EXPECT_FALSE(r.ok) << c.formula;
  EXPECT_FALSE(r.silent) << c.formula;
  EXPECT_EQ(r.caption, c.caption) << c.formula;
  EXPECT_EQ(r.text, c.text) << c.formula;
}

TEST_F(CheckTest, AcceptsTheLanguage) {
  // clang-format off
  for (const char* f : {
           "2*x^2-3*x+1", "(a+b)/2", "0", ".5", "x", "Z", "3!", "2!",  // plain forms
           "-2", "+2", "-(3)", "2*-3", "2^-1", "(-4)", "2--3", "-x",   // signs
           "2e3", "2E-3", "1.5E+2", "1E5", "2e", "e", "E", "e2",       // exponent letters
           "1.2.3", "..", "3!2", "3!x", "3!(2)", "x!!", "(2)!",        // let through
           "2)+(3", "1)*(2)+(3",                                       // count, not order
           "((((x))))", "a*b*c*d*f*g", "a+(b-(c*(d/(f^g))))",          // nesting
       }) {
    ExpectAccepted(f);
  }
  // clang-format on
}

TEST_F(CheckTest, BlankTextIsRefusedSilently) {
  for (const char* f : {"", " ", "   "}) {
    const CheckResult r = CheckFormula(f);
    EXPECT_FALSE(r.ok) << '"' << f << '"';
    EXPECT_TRUE(r.silent) << '"' << f << '"';
    EXPECT_TRUE(r.caption.empty() && r.text.empty()) << '"' << f << '"';
  }
  // Only the blank counts as blank: a tab is an ordinary invalid character.
  ExpectRefused({"\t", kInvalid, "\t : \t"});
  ExpectRefused({" \t ", kInvalid, "  :  "});
}

TEST_F(CheckTest, BadStartAndBadEnd) {
  for (const Refusal& c : std::initializer_list<Refusal>{
           {"*2", kOperand, "? *2"},
           {"!2", kOperand, "? !2"},
           {")2", kOperand, "? )2"},
           {"/2", kOperand, "? /2"},
           {"^2", kOperand, "? ^2"},
           {"*", kOperand, "? *"},
           {"2+", kOperand, "2+ ?"},
           {"2-", kOperand, "2- ?"},
           {"2*", kOperand, "2* ?"},
           {"2/", kOperand, "2/ ?"},
           {"2^", kOperand, "2^ ?"},
           {"x(", kOperand, "x( ?"},
           {"(", kOperand, "( ?"},
           {"+", kOperand, "+ ?"},
           {"-", kOperand, "- ?"},
           // The start test comes first, and both come before the scan.
           {"*2+", kOperand, "? *2+"},
           {"#2+", kOperand, "#2+ ?"},
       }) {
    ExpectRefused(c);
  }
}

TEST_F(CheckTest, InvalidCharacters) {
  for (const Refusal& c : std::initializer_list<Refusal>{
           {"2+3#1", kInvalid, "2+3# : #"},
           {"2,5", kInvalid, "2, : ,"},
           {" 2+3", kInvalid, "  :  "},
           {"2+3 ", kInvalid, "2+3  :  "},
           {"2 + 3", kInvalid, "2  :  "},
           {"x=2", kInvalid, "x= : ="},
           {"x^ 2", kInvalid, "x^  :  "},
           {"ñ", kInvalid, "ñ : ñ"},
           {"2·3", kInvalid, "2· : ·"},
           {"2[3]", kInvalid, "2[ : ["},
       }) {
    ExpectRefused(c);
  }
}

TEST_F(CheckTest, MissingOperator) {
  for (const Refusal& c : std::initializer_list<Refusal>{
           // a name letter or "(" after something that is not operator-like
           {"2x", kOperator, "2?x"},
           {"x(2)", kOperator, "x?("},
           {"(1)(2)", kOperator, "(1)?("},
           {"xy", kOperator, "x?y"},
           {"3(2)", kOperator, "3?("},
           {"sin(x)", kOperator, "s?i"},
           {"pi", kOperator, "p?i"},
           {".x", kOperator, ".?x"},
           {"ex", kOperator, "e?x"},
           {"2e(1)", kOperator, "2e?("},
           // a number start after an operand end
           {"x2", kOperator, "x?2"},
           {"(1)3", kOperator, "(1)?3"},
           {"x.5", kOperator, "x?."},
           {"a+b2", kOperator, "a+b?2"},
       }) {
    ExpectRefused(c);
  }
}

TEST_F(CheckTest, MissingOperand) {
  for (const Refusal& c : std::initializer_list<Refusal>{
           {"2*/3", kOperand, "2*?/"},
           {"(*2)", kOperand, "(?*"},
           {"2++3", kOperand, "2+?+"},
           {"()", kOperand, "(?)"},
           {"(+3)", kOperand, "(?+"},
           {"2*+3", kOperand, "2*?+"},
           {"2-!", kOperand, "2-?!"},
           {"2^^3", kOperand, "2^?^"},
           {"(!2)", kOperand, "(?!"},
           {"2-)+(3", kOperand, "2-?)"},
       }) {
    ExpectRefused(c);
  }
}

TEST_F(CheckTest, UnbalancedParentheses) {
  for (const Refusal& c : std::initializer_list<Refusal>{
           {"((2)", kParens, kMoreOpen},
           {"(2))", kParens, kMoreClose},
           {"(2", kParens, kMoreOpen},
           {"2)", kParens, kMoreClose},
           {")(2", kOperand, "? )(2"},  // a bad start wins over the count
           {"(x2", kOperator, "(x?2"},  // a scan error wins over the count
       }) {
    ExpectRefused(c);
  }
}

TEST_F(CheckTest, OnlyTheFirstErrorIsReported) {
  for (const Refusal& c : std::initializer_list<Refusal>{
           {"2x#", kOperator, "2?x"},
           {"2#x", kInvalid, "2# : #"},
           {"(2*/3", kOperand, "(2*?/"},
       }) {
    ExpectRefused(c);
  }
}

TEST_F(CheckTest, CaptionsFollowTheLanguage) {
  struct Case {
    int language;
    const char* formula;
    const char* caption;
  };
  for (const Case& c : std::initializer_list<Case>{
           {0, "2#", "Error: caràcter no vàlid"},
           {1, "2#", "Error: wrong character"},
           {0, "2x", "Error: Falta operador"},
           {1, "2x", "Error: lacks operator"},
           {0, "2+", "Error: Falta operand"},
           {1, "2+", "Error: lacks operand"},
           {0, "(2", "Error: "},
           {1, "2)", "Error: "},
       }) {
    Language = c.language;
    EXPECT_EQ(CheckFormula(c.formula).caption, c.caption) << c.language << " " << c.formula;
  }
  Language = 1;
  EXPECT_EQ(CheckFormula("2x").text, "2?x");
}

TEST_F(CheckTest, CaptionsAreWindows1252) {
  EXPECT_EQ(CheckFormula("#").caption,
            "Error: car\xE1"
            "cter no v\xE1lido");
  Language = 0;
  EXPECT_EQ(CheckFormula("#").caption,
            "Error: car\xE0"
            "cter no v\xE0lid");
}

TEST_F(CheckTest, ManyUnmatchedParenthesesStillCountRight) {
  // 200 "(" cannot be balanced by one ")": a narrow counter would wrap round.
  const std::string open = std::string(200, '(') + "2)";
  ExpectRefused({open.c_str(), kParens, kMoreOpen});
  const std::string close = "(2" + std::string(200, ')');
  ExpectRefused({close.c_str(), kParens, kMoreClose});
  ExpectAccepted(std::string(127, '(') + "2" + std::string(127, ')'));
}

TEST_F(CheckTest, LongTextsAreCutAt255) {
  // Marks beyond the 255th character are lost, the check itself sees 255 bytes.
  const std::string cut_before_fault = std::string(254, '1') + "+1#";  // "#" is byte 257
  const CheckResult r = CheckFormula(cut_before_fault);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.caption, kOperand);  // ends in "+" once cut
  EXPECT_EQ(r.text.size(), 255u);

  const std::string bad = std::string(254, '1') + "#";
  const CheckResult marked = CheckFormula(bad);
  EXPECT_EQ(marked.caption, kInvalid);
  EXPECT_EQ(marked.text.str(), std::string(254, '1') + "#");  // " : #" does not fit
}

// Valid, as the character table lists it; everything else is refused as invalid.
bool InValidClass(int byte) {
  return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
         (byte >= 'a' && byte <= 'z') ||
         std::string_view("!()*+-./^").find(char(byte)) != std::string_view::npos;
}

TEST_F(CheckTest, EveryByteAlone) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const CheckResult r = CheckFormula(one);
    if (b == ' ') {
      EXPECT_TRUE(r.silent);
    } else if (!InValidClass(b)) {
      EXPECT_EQ(r.caption, kInvalid) << b;
      EXPECT_EQ(r.text.str(), one + " : " + one) << b;
    } else {
      // Alone, only an operand can stand: digits, ".", letters.
      const bool operand =
          b == '.' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
      EXPECT_EQ(r.ok, operand) << b;
      if (!operand) {
        EXPECT_EQ(r.caption, kOperand) << b;
      }
    }
  }
}

TEST_F(CheckTest, EveryByteInside) {
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    const std::string inside = std::string("2+") + c + "+2";
    const CheckResult r = CheckFormula(inside);
    if (!InValidClass(b)) {
      EXPECT_FALSE(r.ok) << b;
      EXPECT_EQ(r.caption, kInvalid) << b;
      EXPECT_EQ(r.text.str(), std::string("2+") + c + " : " + c) << b;
    } else {
      EXPECT_NE(r.caption, kInvalid) << b;
    }
  }
}

}  // namespace
