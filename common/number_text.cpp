#include "common/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <algorithm>
#include <limits>
#include <string>

char DecimalSeparator = '.';

namespace {

constexpr int kFixedBufferSize = 1500;
// A double has at most 1074 fraction digits: places beyond are zeros, which the
// table form strips again, so more than this changes no text.
constexpr int kMaxPlaces = 1100;

// The exact decimal expansion of |v| for a finite v: a double has at most 309
// integer digits or 1074 fraction digits (never both), so this always fits.
struct ExactDecimal {
  char buffer[kFixedBufferSize];
  const char* intDigits;
  int intLen;
  const char* fracDigits;
  int fracLen;
};

// Fraction digits needed to write |v| exactly: one per binary place below the point.
int ExactFractionDigits(double v) {
  if (v == 0) return 0;
  int exponent;
  double mantissa = std::frexp(v, &exponent);
  auto bits = static_cast<unsigned long long>(std::ldexp(mantissa, 53));
  int lowestBit = exponent - 53 + __builtin_ctzll(bits);
  return lowestBit < 0 ? -lowestBit : 0;
}

void Expand(double v, ExactDecimal& out) {
  v = std::fabs(v);
  auto r = std::to_chars(out.buffer, out.buffer + sizeof out.buffer, v, std::chars_format::fixed,
                         ExactFractionDigits(v));
  int len = static_cast<int>(r.ptr - out.buffer);
  const char* point = static_cast<const char*>(std::memchr(out.buffer, '.', len));
  out.intDigits = out.buffer;
  if (point == nullptr) {
    out.intLen = len;
    out.fracDigits = out.buffer + len;
    out.fracLen = 0;
  } else {
    out.intLen = static_cast<int>(point - out.buffer);
    out.fracDigits = point + 1;
    out.fracLen = len - out.intLen - 1;
  }
}

// Adds one unit to the last of the n digits; returns true when a carry runs
// out of the front (all nines).
bool IncrementDigits(char* digits, int n) {
  for (int i = n - 1; i >= 0; --i) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

bool IsNegative(double v) { return v < 0; }  // -0 is zero, not negative

// The fixed text: optional "-", at least one integer digit, ".", exactly
// `decimals` digits, rounded half away from zero. Returns the length written
// into out (kFixedBufferSize bytes); padding to a width is the caller's.
int FixedText(double v, int decimals, char* out) {
  ExactDecimal exact;
  Expand(v, exact);
  // Digits without the point: integer part, then `decimals` fraction digits.
  char digits[kFixedBufferSize];
  int intLen = exact.intLen;
  std::memcpy(digits + 1, exact.intDigits, intLen);  // digits[0] is room for a carry
  for (int i = 0; i < decimals; ++i) {
    digits[1 + intLen + i] = i < exact.fracLen ? exact.fracDigits[i] : '0';
  }
  int total = intLen + decimals;
  bool roundUp = exact.fracLen > decimals && exact.fracDigits[decimals] >= '5';
  char* first = digits + 1;
  if (roundUp && IncrementDigits(first, total)) {
    digits[0] = '1';
    first = digits;
    ++intLen;
    ++total;
  }
  char* p = out;
  if (IsNegative(v)) *p++ = '-';
  std::memcpy(p, first, intLen);
  p += intLen;
  *p++ = '.';
  std::memcpy(p, first + intLen, decimals);
  p += decimals;
  return static_cast<int>(p - out);
}

ShortText ExponentText(double v) {
  ExactDecimal exact;
  Expand(v, exact);
  // Significant digits and the decimal exponent of the first of them.
  const char* sig;
  int sigLen;
  int exponent;
  bool integerIsZero = exact.intLen == 1 && exact.intDigits[0] == '0';
  if (!integerIsZero) {
    sig = exact.intDigits;
    sigLen = exact.intLen + exact.fracLen;  // fraction follows after the point
    exponent = exact.intLen - 1;
  } else {
    int zeros = 0;
    while (zeros < exact.fracLen && exact.fracDigits[zeros] == '0') ++zeros;
    sig = exact.fracDigits + zeros;
    sigLen = exact.fracLen - zeros;
    exponent = -(zeros + 1);
  }
  // Gather 15 digits (skipping the point), and the 16th for rounding.
  char digits[16];
  int got = 0;
  char next = '0';
  for (int i = 0, k = 0; k < sigLen && got <= 15; ++i) {
    char c = sig[i];
    if (c == '.') continue;
    ++k;
    if (got < 15) {
      digits[got++] = c;
    } else {
      next = c;
      ++got;
    }
  }
  for (int i = got > 15 ? 15 : got; i < 15; ++i) digits[i] = '0';
  if (next >= '5' && IncrementDigits(digits, 15)) {
    digits[0] = '1';
    ++exponent;
  }
  ShortText text;
  if (IsNegative(v)) text += '-';
  text += digits[0];
  text += DecimalSeparator;
  int last = 14;
  while (last >= 1 && digits[last] == '0') --last;  // zeros before "E" go, the point stays
  text += std::string_view(digits + 1, last);
  text += 'E';
  text += exponent < 0 ? '-' : '+';
  text += IntegerText(exponent < 0 ? -exponent : exponent);
  return text;
}

}  // namespace

ShortText NumberText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value > 0 && value < 0.00001) return ExponentText(value);
  char fixed[kFixedBufferSize];
  int len = FixedText(value, 17, fixed);
  const char* point = static_cast<const char*>(std::memchr(fixed, '.', len));
  int pointPos = static_cast<int>(point - fixed) + 1;
  if (pointPos > 16) return ExponentText(value);
  while (fixed[len - 1] == '0') --len;
  if (fixed[len - 1] == '.') --len;
  // A negative value too small for 17 places would read "-0": it is not zero,
  // and a formula that gets this text back would lose it.
  if (len == 2 && fixed[0] == '-' && fixed[1] == '0') return ExponentText(value);
  ShortText text(std::string_view(fixed, len));
  if (DecimalSeparator != '.') {
    ShortText swapped;
    for (char c : text.view()) swapped += c == '.' ? DecimalSeparator : c;
    return swapped;
  }
  return text;
}

ShortText TableNumber(double value, std::uint16_t width, std::uint16_t decimals) {
  if (!std::isfinite(value)) return NumberText(value);
  if (decimals < 1) decimals = 1;
  int places = std::fabs(value) < 1 ? 6 : std::min<int>(decimals, kMaxPlaces);
  char digits[kFixedBufferSize];
  int digitsLen = FixedText(value, places, digits);
  // The blanks of the width come first: they count in the place of the point.
  std::string fixed(width > digitsLen ? width - digitsLen : 0, ' ');
  fixed.append(digits, digitsLen);
  while (fixed.back() == '0') fixed.pop_back();
  std::size_t pointPos = fixed.find('.') + 1;
  if (pointPos > 6) {
    // Short exponent form: a point after the first character, the digits cut.
    fixed.insert(1, 1, '.');
    fixed.resize(std::min<std::size_t>(fixed.size(), decimals + 2));
    return ShortText(fixed) + "e" + IntegerText(static_cast<std::int32_t>(pointPos - 2));
  }
  if (fixed.back() == '.') fixed.pop_back();
  return ShortText(fixed);
}

ParsedNumber ParseNumber(std::string_view text) {
  if (text.size() > ShortText::kMax) text = text.substr(0, ShortText::kMax);
  const std::size_t n = text.size();
  std::size_t i = 0;
  auto failAt = [](std::size_t at) { return ParsedNumber{0, static_cast<std::int32_t>(at + 1)}; };
  auto isDigit = [&](std::size_t k) { return k < n && text[k] >= '0' && text[k] <= '9'; };

  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  long double value = 0;
  bool anyDigit = false;
  for (; isDigit(i); ++i, anyDigit = true) value = value * 10 + (text[i] - '0');
  if (i < n && text[i] == '.') {
    ++i;
    long double divisor = 1;
    for (; isDigit(i); ++i, anyDigit = true) {
      value = value * 10 + (text[i] - '0');
      divisor *= 10;
    }
    value /= divisor;
  }
  if (!anyDigit) return failAt(i);

  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool divide = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) divide = text[i++] == '-';
    if (!isDigit(i)) return failAt(i);
    std::int64_t exponent = 0;
    for (; isDigit(i); ++i) {
      exponent = exponent * 10 + (text[i] - '0');
      if (exponent > std::numeric_limits<std::int32_t>::max())
        exponent = std::numeric_limits<std::int32_t>::max();
    }
    // Once the power is infinite it stays so: stopping there changes nothing.
    long double power = 1;
    for (std::int64_t k = 0; k < exponent && !std::isinf(power); ++k) power *= 10;
    // 0 times an infinite power would be NaN; zero is zero at any exponent.
    if (value != 0) value = divide ? value / power : value * power;
  }
  if (i < n) return failAt(i);
  return {negative ? -value : value, 0};
}

ShortText InvalidNumberMessage(std::string_view text) {
  return ShortText("\"") + text + "\" is an invalid float";
}

NumberOrInvalid TextToNumber(std::string_view text) {
  ShortText cut(text);
  ParsedNumber parsed = ParseNumber(cut);
  if (parsed.errorPos != 0) return {false, 0, InvalidNumberMessage(cut)};
  return {true, parsed.value, {}};
}

ShortText IntegerText(std::int32_t n) {
  char buffer[16];
  auto r = std::to_chars(buffer, buffer + sizeof buffer, n);
  return ShortText(std::string_view(buffer, r.ptr - buffer));
}
