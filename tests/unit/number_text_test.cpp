// Numbers as text: the general and table forms, and the one number reader.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "common/number_text.h"

namespace {

struct TextCase {
  double value;
  const char* text;
};

TEST(NumberText, FixedAndExponentForms) {
  const TextCase cases[] = {
      {0, "0"},
      {2.5, "2.5"},
      {3, "3"},
      {-0.5, "-0.5"},
      {100, "100"},
      {0.1, "0.10000000000000001"},  // the double nearest 0.1, to 17 places
      {-1E-10, "-0.0000000001"},
      {-1E-30, "-1.E-30"},  // negative, all 17 places zero: never "-0"
      {0.00001, "0.00001"},
      {0.000001, "1.E-6"},
      {-0.000001, "-0.000001"},
      {0.0000015, "1.5E-6"},
      {1E20, "1.E+20"},
      {1E15, "1.E+15"},
      {123456789012345.0, "123456789012345"},
      {-123456789012345.0, "-1.23456789012345E+14"},
      {1234567890123456.0, "1.23456789012346E+15"},
      {999999999999999.0, "999999999999999"},
      {9999999999999999.0, "1.E+16"},  // rounding carries into a new digit
      {0.125, "0.125"},
      {DBL_MAX, "1.79769313486232E+308"},
      {4.9406564584124654E-324, "4.94065645841247E-324"},
      {1.0 / 3, "0.33333333333333331"},
      {2.0 / 3, "0.66666666666666663"},
      {-0.0, "0"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberText(c.value), c.text) << c.value;
}

TEST(NumberText, FixedRoundsHalvesAwayFromZero) {
  // 1 + 2^-18 = 1.000003814697265625 exactly: an exact half at the 17th place,
  // which round-half-to-even would send down to ...62.
  EXPECT_EQ(NumberText(1 + std::ldexp(1.0, -18)), "1.00000381469726563");
  EXPECT_EQ(NumberText(-(1 + std::ldexp(1.0, -18))), "-1.00000381469726563");
  // Exponent form, 15 digits: 2^-20 = 9.5367431640625E-7 has 14; 3 * 2^-30 has an exact half.
  EXPECT_EQ(NumberText(std::ldexp(1.0, -20)), "9.5367431640625E-7");
  EXPECT_EQ(NumberText(std::ldexp(3.0, -30)), "2.79396772384644E-9");  // ...6435 -> 644
}

TEST(NumberText, EveryTextReadsBack) {
  const double values[] = {0.1, 1.0 / 3, 12345.678, 1E-7, -1E-7, 1E300, 7E22, 5E-324};
  for (double v : values) {
    ParsedNumber p = ParseNumber(NumberText(v));
    EXPECT_EQ(p.errorPos, 0) << NumberText(v);
    EXPECT_NEAR(static_cast<double>(p.value), v, std::fabs(v) * 1E-14) << NumberText(v);
  }
}

struct TableCase {
  double value;
  int width, decimals;
  const char* text;
};

TEST(TableNumber, Forms) {
  const TableCase cases[] = {
      {1234.5, 3, 3, "1234.5"},
      {12345.25, 3, 3, "12345.25"},
      {123456.5, 3, 3, "1.234e5"},
      {1999999.9, 3, 3, "1.999e6"},  // cut, not rounded
      {0.25, 3, 3, "0.25"},
      {0, 3, 3, "0"},
      {5, 3, 3, "5"},
      {1.5, 8, 3, "   1.5"},
      {123, 8, 3, " 123"},
      {-1.5, 8, 3, "  -1.5"},
      {-123456.5, 3, 3, "-.123e6"},
      {0.0000001, 3, 3, "0"},
      {-0.0000001, 3, 3, "-0"},
      {0.9999999, 3, 3, "1"},
      {-0.5, 3, 3, "-0.5"},
      {99999, 3, 3, "99999"},
      {100000, 3, 3, "1.000e5"},
      {1000000, 3, 3, "1.000e6"},
      {0.25, 8, 3, "0.25"},
      {4, 8, 3, "   4"},
      {0.1234567, 3, 3, "0.123457"},  // six places below 1, whatever the decimals
      {2.25, 5, 2, " 2.25"},
      {1E300, 3, 3, "1.000e300"},
      {1.5, 3, 2000, "1.5"},  // more places than a double has: zeros, stripped
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TableNumber(c.value, c.width, c.decimals), c.text)
        << c.value << " w=" << c.width << " d=" << c.decimals;
  }
}

struct ParseCase {
  const char* text;
  bool valid;
  long double value;
};

TEST(ParseNumber, Syntax) {
  const ParseCase cases[] = {
      {"  7", true, 7},       {"7 ", false, 0},      {"\t-2.5e2", true, -250},
      {"1e", false, 0},       {"1e+", false, 0},     {"+.5", true, 0.5L},
      {"1E-3", true, 1E-3L},  {"0x10", false, 0},    {"", false, 0},
      {".", false, 0},        {"-", false, 0},       {"5.", true, 5},
      {".5", true, 0.5L},     {"1,5", false, 0},     {"1.2.3", false, 0},
      {"e", false, 0},        {"2)", false, 0},      {"1.E+20", true, 1E20L},
      {"-0", true, 0},        {"3E+2", true, 300},   {" \t 12", true, 12},
      {"12a", false, 0},      {"+-3", false, 0},     {"1e5.5", false, 0},
  };
  for (const auto& c : cases) {
    ParsedNumber p = ParseNumber(c.text);
    EXPECT_EQ(p.errorPos == 0, c.valid) << c.text;
    EXPECT_EQ(p.value, c.valid ? c.value : 0) << c.text;
  }
}

TEST(ParseNumber, AccumulatesInExtendedPrecision) {
  // 0.1 as 1 / 10 in 80 bits, not the nearest double.
  EXPECT_EQ(ParseNumber("0.1").value, 1.0L / 10);
  EXPECT_EQ(static_cast<double>(ParseNumber("0.1").value), 0.1);
  // Twenty digits exceed a double's 53 bits but not the 64 of the accumulator.
  EXPECT_EQ(ParseNumber("12345678901234567890").value, 12345678901234567890.0L);
  // Nineteen places: both the digits and 10^19 are whole numbers of 64 bits.
  EXPECT_EQ(ParseNumber("0.1234567890123456789").value,
            1234567890123456789.0L / 10000000000000000000.0L);
}

TEST(ParseNumber, HugeExponentsEndAtOnce) {
  EXPECT_TRUE(std::isinf(ParseNumber("1E999999999").value));
  EXPECT_TRUE(std::isinf(ParseNumber("1E99999999999999").value));  // beyond 32 bits
  EXPECT_EQ(ParseNumber("1E-999999999").value, 0);
  EXPECT_EQ(ParseNumber("0E999999999").value, 0);  // not NaN
  EXPECT_EQ(ParseNumber("0E999999999").errorPos, 0);
}

// The evaluator's leaves may pass 255 characters once values are put in.
TEST(ParseNumber, ReadsTheWholeText) {
  std::string digits(300, '1');
  ParsedNumber p = ParseNumber(digits);
  EXPECT_EQ(p.errorPos, 0);
  EXPECT_NEAR(static_cast<double>(std::log10(p.value)), 299.05, 0.01);
  EXPECT_EQ(ParseNumber(std::string(255, '1') + "x").errorPos, 256);
  // The exponent past the 255th character counts.
  p = ParseNumber(std::string(254, '1') + "E-250");
  EXPECT_EQ(p.errorPos, 0);
  EXPECT_NEAR(static_cast<double>(std::log10(p.value)), 3.05, 0.01);
}

TEST(TextToNumber, FailsWithItsMessage) {
  EXPECT_FALSE(TextToNumber("").ok);
  NumberOrInvalid r = TextToNumber("12a");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "\"12a\" is an invalid float");
  EXPECT_EQ(TextToNumber("abc").message, "\"abc\" is an invalid float");
  EXPECT_TRUE(TextToNumber("-4.5").ok);
  EXPECT_EQ(TextToNumber("-4.5").value, -4.5L);
}

TEST(IntegerText, WholeRange) {
  EXPECT_EQ(IntegerText(0), "0");
  EXPECT_EQ(IntegerText(-12), "-12");
  EXPECT_EQ(IntegerText(INT32_MIN), "-2147483648");
}

TEST(ExtendedPrecision, IsSixtyFourBitsAtRunTime) {
  // Both builds must accumulate in the 80-bit format; a 53-bit x87 precision
  // setting would silently change parsed values.
  volatile long double one = 1.0L;
  volatile long double epsilon = LDBL_EPSILON;
  EXPECT_NE(one + epsilon, one);
  EXPECT_EQ(LDBL_MANT_DIG, 64);
}

}  // namespace
