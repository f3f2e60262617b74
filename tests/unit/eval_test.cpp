// Formula evaluation: values, the order of operators, and the error codes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/language.h"
#include "common/number_text.h"
#include "engine/eval.h"

namespace {

struct ValueCase {
  const char* text;
  double value;
};

void ExpectValues(const ValueCase* begin, const ValueCase* end) {
  for (const ValueCase* c = begin; c != end; ++c) {
    double v = EvalFormula(c->text);
    EXPECT_EQ(MathError, 0) << c->text;
    EXPECT_EQ(v, c->value) << c->text;
  }
}

TEST(EvalFormula, GroupsAndPrecedence) {
  const ValueCase cases[] = {
      {"2+3*4", 14},        {"(2+3)*4", 20},     {"2*(3+(4-1))", 12}, {"(2+1)*(2+1)", 9},
      {"(0-3)*(0-3)", 9},   {"8-2-1", 5},        {"8/2/2", 2},        {"2^3^2", 64},
      {"2-3+4", 3},         {"2+3-4", 1},        {"2*6/3", 4},        {"12/3*2", 8},
      {"-2^2", 4},          {"2*-3", -6},        {"2^-1", 0.5},       {"2--3", 5},
      {"1-2*-3", 7},        {"-(2)", -2},        {"--3", 3},          {"+3", 3},
      {"((((7))))", 7},     {"3-(0-5)", 8},      {"(0-5)^2", 25},     {"2*(0-5)", -10},
  };
  ExpectValues(std::begin(cases), std::end(cases));
}

TEST(EvalFormula, NumbersAndLeaves) {
  const ValueCase cases[] = {
      {"2-1E-5", 1.99999},   {"1E-5+2", 2.00001}, {"1.5E3", 1500}, {"2e+3", 2000},
      {"1.E+20*2", 2E20},    {"5.+3", 8},  // a number ending in "." is still a number
      // Not arithmetic, but let through by the check: such a leaf reads as 0.
      {"x", 0},              {"E", 0},            {"1.2.3", 0},    {"2)+(3", 0},
      {"2e", 0},             {"3*x", 0},          {"", 0},
  };
  ExpectValues(std::begin(cases), std::end(cases));
}

TEST(EvalFormula, PowersAndFactorials) {
  const ValueCase cases[] = {
      {"0^0", 1},       {"0^2", 0},      {"0^0.5", 0},        {"0^-0.5", 0},
      {"(0-8)^3", -512}, {"(0-2)^-2", 0.25}, {"5!", 120},     {"0!", 1},
      {"3.7!", 6},      {"3!2", 6},      {"3!!", 720},        {"2^1023", std::ldexp(1.0, 1023)},
      {"1^2000000000", 1}, {"(0-1)^2147483647", -1}, {"0.5^2000", 0},
      {"(0-0.5)^2001", -0.0},
  };
  ExpectValues(std::begin(cases), std::end(cases));
  EXPECT_GT(EvalFormula("170!"), 7.25E306);
  EXPECT_EQ(MathError, 0);
}

TEST(EvalFormula, RootsGoThroughExtendedLogarithms) {
  EXPECT_EQ(EvalFormula("2^0.5"), std::sqrt(2.0));
  EXPECT_EQ(EvalFormula("27^(1/3)"), 3);  // 3 * (1 - 6E-17), nearest double 3
  EXPECT_EQ(EvalFormula("10^0.5"), 3.1622776601683795);
  EXPECT_EQ(EvalFormula("2.5^1.5"), 3.9528470752104741);
  EXPECT_EQ(MathError, 0);
}

struct ErrorCase {
  const char* text;
  int error;
};

TEST(EvalFormula, ErrorCodes) {
  const ErrorCase cases[] = {
      {"1/0", 1},        {"0/0", 1},          {"0^-2", 1},          {"1/(2-2)", 1},
      {"171!", 2},       {"-1!", 2},          {"-3!", 2},           {"(0-0.5)!", 2},
      {"(0-8)^(1/3)", 3}, {"(0-2)^0.5", 3},
      {"2^1024", 4},     {"10^400", 4},       {"10^-400", 4},       {"2^65536", 4},
      {"1E200*1E200", 4}, {"1E308+1E308", 4}, {"0-1E308-1E308", 4}, {"10^400.5", 4},
      {"1^3000000000", 4}, {"2^2147483648", 4}, {"1E400", 4},      {"1E999999999", 4},
      {"0.1^-400", 4},   {"1E-310^-1", 4},    {"2*(1/0)+1", 1},    {"(1/0)!", 1},
      {"(2^1024)/0", 4},
  };
  for (const auto& c : cases) {
    EvalFormula(c.text);
    EXPECT_EQ(MathError, c.error) << c.text;
  }
  EvalFormula("1/0");
  EvalFormula("1+1");
  EXPECT_EQ(MathError, 0) << "each evaluation starts clean";
}

TEST(EvalFormula, NeverAValueThatIsNotFinite) {
  const char* texts[] = {"1E308*10", "(0-1E308)*10", "170!*170!", "1E300^2", "2^1023*2",
                         "1E308/1E-10", "1E-320^-1"};
  for (const char* t : texts) {
    double v = EvalFormula(t);
    EXPECT_TRUE(MathError == 4 || std::isfinite(v)) << t;
    EXPECT_EQ(MathError, 4) << t;
  }
}

// Values put in and groups written back make texts past 255 characters;
// each is evaluated whole, as a cut text would be another formula.
TEST(EvalFormula, LongTextsAreEvaluatedWhole) {
  std::string sum;
  for (int i = 0; i < 127; ++i) sum += "1+";
  EXPECT_EQ(EvalFormula(sum + "1"), 128);  // 255 characters
  EXPECT_EQ(EvalFormula(sum + "1+1"), 129);
  EXPECT_EQ(EvalFormula(sum + sum + sum + "1"), 382);

  // 40 groups, 239 characters, grow to 799 as each is written back.
  std::string thirds = "(1/3)";
  double third = 0;
  for (int i = 0; i < 39; ++i) thirds += "+(1/3)";
  for (int i = 0; i < 40; ++i) third += 1.0 / 3;
  EXPECT_EQ(EvalFormula(thirds), third);
  EXPECT_EQ(MathError, 0);
  EXPECT_EQ(EvalFormula("(" + thirds + ")*2"), third * 2);

  // A leaf longer than 255 characters is read whole.
  const std::string ones(300, '1');
  EXPECT_EQ(EvalFormula(ones + "/1"), static_cast<double>(ParseNumber(ones).value));
  EXPECT_EQ(EvalFormula("0." + std::string(298, '0') + "5E300*1"), 50);
  // The group goes on as its 15 significant digits.
  EXPECT_NEAR(EvalFormula("(0-" + ones + ")/" + ones), -1, 1E-14);
  EXPECT_EQ(MathError, 0);
}

TEST(EvalFormula, GroupValuesGoOnAsTheirText) {
  // A group's value is written back with 15 significant digits when large:
  // 1234567890123456789 goes on as 1.23456789012346E+18.
  double v = EvalFormula("(1234567890123456789)-1234567890123456789");
  EXPECT_EQ(MathError, 0);
  EXPECT_NEAR(v, 3211, 300);
  EXPECT_EQ(EvalFormula("1234567890123456789-1234567890123456789"), 0);
  EXPECT_EQ(EvalFormula("1/3*3"), 1);  // "*" splits first: (1/3)*3
}

TEST(FirstGroup, FirstOutermostClosedGroup) {
  FormulaGroup g = FirstGroup("2*(3+(4-1))+(5)");
  ASSERT_TRUE(g.found);
  EXPECT_EQ(g.start, 2u);
  EXPECT_EQ(g.end, 10u);
  EXPECT_EQ(g.contents, "3+(4-1)");
  g = FirstGroup(")(1)");
  ASSERT_TRUE(g.found);
  EXPECT_EQ(g.contents, "1");
  EXPECT_FALSE(FirstGroup("((1)").found);  // the outermost group never closes
  EXPECT_FALSE(FirstGroup("(1").found);
  EXPECT_FALSE(FirstGroup("2)+(3").found);
  EXPECT_TRUE(FirstGroup("()").found);
}

TEST(IntPower, OverflowTestAndNegativeExponents) {
  EXPECT_EQ(IntPower(2, 1023), std::ldexp(1.0, 1023));
  EXPECT_EQ(MathError, 0);
  IntPower(2, 1024);
  EXPECT_EQ(MathError, 4);
  IntPower(-2, 1024);
  EXPECT_EQ(MathError, 4);
  EXPECT_EQ(IntPower(-2, 3), -8);
  EXPECT_EQ(IntPower(0, 5), 0);
  IntPower(0, -1);
  EXPECT_EQ(MathError, 1);
  EXPECT_EQ(IntPower(10, -2), 0.01);
  EXPECT_EQ(IntPower(7, 0), 1);
  IntPower(1E300, 2);  // refused before the double range ends
  EXPECT_EQ(MathError, 4);
  EXPECT_EQ(IntPower(1E-300, 2), 0);
  EXPECT_EQ(MathError, 0);
}

TEST(Factorial, ProductInIncreasingOrder) {
  EXPECT_EQ(Factorial(0), 1);
  EXPECT_EQ(Factorial(1), 1);
  EXPECT_EQ(Factorial(10), 3628800);
  double r = 1;
  for (int i = 2; i <= 170; ++i) r *= i;
  EXPECT_EQ(Factorial(170), r);
}

TEST(MathMessages, FollowLanguageAtEachCall) {
  int saved = Language;
  Language = 2;
  EvalFormula("1/0");
  EXPECT_STREQ(MathMessages[MathError], "Divisi\xF3n por cero");
  EXPECT_STREQ(MathMessages[4], "Desbordamiento");
  Language = 1;
  EvalFormula("171!");
  EXPECT_STREQ(MathMessages[2],
               "* Factorial (n!) error*\r\n\r\nn must be in [0,170] range\r\n( <=170 by technic "
               "reasons)");
  // Catalan is the set loaded at start; choosing 0 later does not reload it.
  LoadMathMessages(0);
  EXPECT_STREQ(MathMessages[3], "Pot\xE8ncia de base negativa i exponent no enter");
  Language = 0;
  EvalFormula("1");
  EXPECT_STREQ(MathMessages[1], "Divisi\xF3 per zero");
  Language = saved;
}

}  // namespace
