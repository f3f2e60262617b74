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

// A large number in base 10^9, least significant limb first: enough limbs
// for m * 5^1074 (767 digits) and for the largest double (309 digits).
class DecimalLimbs {
 public:
  static constexpr std::uint32_t kBase = 1000000000;

  explicit DecimalLimbs(std::uint64_t n) {
    do {
      limbs_[count_++] = static_cast<std::uint32_t>(n % kBase);
      n /= kBase;
    } while (n != 0);
  }

  // Times f, for f < 2^31: a limb times f plus the carry fits 64 bits.
  void MultiplyBy(std::uint32_t f) {
    std::uint64_t carry = 0;
    for (int i = 0; i < count_; ++i) {
      const std::uint64_t product = std::uint64_t{limbs_[i]} * f + carry;
      carry = product / kBase;
      limbs_[i] = static_cast<std::uint32_t>(product - carry * kBase);
    }
    while (carry != 0) {
      limbs_[count_++] = static_cast<std::uint32_t>(carry % kBase);
      carry /= kBase;
    }
  }

  void MultiplyByPowerOf(std::uint32_t base, int power, std::uint32_t step, int stepPower) {
    for (; power >= stepPower; power -= stepPower) MultiplyBy(step);
    std::uint32_t rest = 1;
    for (; power > 0; --power) rest *= base;
    if (rest != 1) MultiplyBy(rest);
  }

  // The decimal digits without leading zeros; returns how many. The top limb
  // is never zero, and every limb below it has nine digits.
  int Digits(char* out) const {
    char* p = out;
    std::uint32_t top = limbs_[count_ - 1];
    do {
      *p++ = static_cast<char>('0' + top % 10);
      top /= 10;
    } while (top != 0);
    std::reverse(out, p);
    for (int i = count_ - 2; i >= 0; --i) {
      std::uint32_t limb = limbs_[i];
      for (int d = 8; d >= 0; --d, limb /= 10) p[d] = static_cast<char>('0' + limb % 10);
      p += 9;
    }
    return static_cast<int>(p - out);
  }

 private:
  std::uint32_t limbs_[90];
  int count_ = 0;
};

// The exact decimal expansion of a finite v >= 0, in the fixed form with
// every place it has and no more: the integer digits ("0" below one), then
// "." and the fraction digits when there are any. A double is m * 2^e with an
// odd m: for e >= 0 an integer, otherwise m * 5^-e / 10^-e, that is the
// digits of m * 5^-e with the point -e places from the right. (std::to_chars
// writes the same, but its floating-point part links some 180 KB of tables
// into the programs.)
int ExactFixed(double v, char* out) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  const int biased = static_cast<int>(bits >> 52 & 0x7FF);
  std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
  int e = -1074;
  if (biased != 0) {
    m |= std::uint64_t{1} << 52;
    e = biased - 1075;
  }
  if (m == 0) {
    out[0] = '0';
    return 1;
  }
  const int zeros = __builtin_ctzll(m);
  m >>= zeros;
  e += zeros;

  DecimalLimbs n(m);
  if (e >= 0) {
    n.MultiplyByPowerOf(2, e, std::uint32_t{1} << 30, 30);
    return n.Digits(out);
  }
  const int places = -e;
  n.MultiplyByPowerOf(5, places, 1220703125, 13);  // 5^13
  char digits[800];
  const int count = n.Digits(digits);
  char* p = out;
  if (count > places) {
    std::memcpy(p, digits, count - places);
    p += count - places;
    *p++ = '.';
    std::memcpy(p, digits + count - places, places);
    p += places;
  } else {
    *p++ = '0';
    *p++ = '.';
    std::memset(p, '0', places - count);
    p += places - count;
    std::memcpy(p, digits, count);
    p += count;
  }
  return static_cast<int>(p - out);
}

void Expand(double v, ExactDecimal& out) {
  v = std::fabs(v);
  int len = ExactFixed(v, out.buffer);
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
  const std::size_t n = text.size();
  std::size_t i = 0;
  auto failAt = [](std::size_t at) { return ParsedNumber{0, static_cast<std::int32_t>(at + 1)}; };
  auto isDigit = [&](std::size_t k) { return k < n && text[k] >= '0' && text[k] <= '9'; };

  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // Each digit is value * 10 + digit and each place of the fraction one more
  // factor 10 of the divisor. Below 2^53 both are whole numbers that every
  // rounding of the floating unit holds exactly, so they are kept as integers
  // until then: the same bits, sooner.
  constexpr std::uint64_t kExactLimit = std::uint64_t{1} << 53;
  std::uint64_t whole = 0;
  bool wholeExact = true;
  long double value = 0;
  const auto addDigit = [&](int digit) {
    if (wholeExact) {
      if (whole < (kExactLimit - 9) / 10) {
        whole = whole * 10 + static_cast<std::uint64_t>(digit);
        return;
      }
      value = static_cast<long double>(whole);
      wholeExact = false;
    }
    value = value * 10 + digit;
  };
  bool anyDigit = false;
  for (; isDigit(i); ++i, anyDigit = true) addDigit(text[i] - '0');
  if (i < n && text[i] == '.') {
    ++i;
    std::uint64_t places = 0;
    for (; isDigit(i); ++i, anyDigit = true, ++places) addDigit(text[i] - '0');
    if (wholeExact) value = static_cast<long double>(whole);
    wholeExact = false;
    std::uint64_t k = 0, power = 1;
    for (; k < places && k < 15; ++k) power *= 10;  // 10^15 < 2^53
    long double divisor = static_cast<long double>(power);
    for (; k < places; ++k) divisor *= 10;
    value /= divisor;
  }
  if (wholeExact) value = static_cast<long double>(whole);
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
