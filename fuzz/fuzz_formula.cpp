// libFuzzer target: any bytes, cut to 255, as a formula text. The text is
// checked; when accepted it is evaluated as it stands and with its letters
// replaced by numbers, the way the formula cycle and the value table do. The
// same bytes also drive the number texts: what NumberText and TableNumber
// write must read back through ParseNumber as (nearly) the same value.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "common/language.h"
#include "common/number_text.h"
#include "common/short_text.h"
#include "engine/check.h"
#include "engine/eval.h"
#include "engine/start_up.h"

namespace {

// Stops the run with the input's story; libFuzzer keeps the input as a crash.
[[noreturn]] void Fail(const char* what, std::string_view text, long double value) {
  std::fprintf(stderr, "\nfuzz_formula: %s\n  text:  \"%.*s\"\n  value: %.21Lg\n", what,
               static_cast<int>(text.size()), text.data(), value);
  std::abort();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsNameLetter(char c) {
  return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && c != 'E' && c != 'e';
}

// IntPower makes one multiplication per unit of its exponent, so a base just
// below 1 raised to about 2^31 takes seconds. That slowness is kept on purpose;
// inputs that write an exponent of 9 or more digits after "^" (also as
// "^2E9") are skipped so that they do not run into the per-input timeout.
bool HasHugeExponent(std::string_view s) {
  const std::size_t n = s.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (s[i] != '^') continue;
    std::size_t j = i + 1;
    while (j < n && (s[j] == '+' || s[j] == '-' || s[j] == '(')) ++j;
    while (j < n && s[j] == '0') ++j;
    long digits = 0;
    for (; j < n && IsDigit(s[j]); ++j) ++digits;
    if (j < n && s[j] == '.') {
      for (++j; j < n && IsDigit(s[j]); ++j) {
      }
    }
    if (j < n && (s[j] == 'E' || s[j] == 'e')) {
      ++j;
      bool negative = j < n && s[j] == '-';
      if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
      long e = 0;
      for (; j < n && IsDigit(s[j]); ++j) e = e < 100 ? e * 10 + (s[j] - '0') : e;
      if (!negative) digits += e;
    }
    if (digits >= 9) return true;
  }
  return false;
}

void CheckNumberText(double v);

// What every evaluation owes its caller, whatever the text.
void CheckEvaluation(std::string_view text) {
  const double v = EvalFormula(text);
  if (MathError < 0 || MathError > 4) Fail("MathError outside 0..4", text, MathError);
  if (MathMessages[MathError] == nullptr) Fail("no message for MathError", text, MathError);
  if (MathError != 0) return;
  if (!std::isfinite(v)) Fail("EvalFormula gave NaN or infinity with MathError 0", text, v);
  CheckNumberText(v);
}

// Number texts of the kind the formula cycle puts in place of a letter
// (NumberText of the typed value, a negative one in parentheses).
constexpr std::string_view kLetterValues[] = {
    "2", "0.5", "(-3)", "1.E-7", "10", "(-0.25)", "170", "1.5E+300", "0", "(-1.E+20)", "3.75",
};
constexpr std::size_t kLetterValueCount = sizeof kLetterValues / sizeof kLetterValues[0];

// Each letter gets a value picked by the letter itself and the pass.
ShortText ReplaceLetters(std::string_view text, std::size_t pass) {
  ShortText out;  // cut at 255, as a formula text grows
  for (char c : text) {
    if (IsNameLetter(c)) {
      out += kLetterValues[(static_cast<unsigned char>(c) + 3 * pass) % kLetterValueCount];
    } else {
      out += c;
    }
  }
  return out;
}

void CheckFormulaText(std::string_view text) {
  const CheckResult r = CheckFormula(text);
  if (r.ok && r.silent) Fail("accepted and silently refused at once", text, 0);
  if (!r.ok && !r.silent && r.caption.empty()) Fail("refused without a caption", text, 0);
  if (!r.ok || HasHugeExponent(text)) return;

  CheckEvaluation(text);  // letters read as 0 at the leaves
  bool hasLetters = false;
  for (char c : text) hasLetters = hasLetters || IsNameLetter(c);
  if (!hasLetters) return;
  for (std::size_t pass = 0; pass < 2; ++pass) {
    const ShortText replaced = ReplaceLetters(text, pass);
    if (!HasHugeExponent(replaced)) CheckEvaluation(replaced);
  }
}

// NumberText keeps 17 decimals or 15 significant digits, and ParseNumber
// accumulates in 80 bits: the read-back value may differ only that much.
void CheckNumberText(double v) {
  const ShortText t = NumberText(v);
  if (!std::isfinite(v)) return;  // no promise about the text, only no crash
  const ParsedNumber back = ParseNumber(t);
  if (back.errorPos != 0) Fail("NumberText does not read back", t, v);
  const long double v80 = v;
  if (std::fabs(back.value - v80) > std::fabs(v80) * 1e-14L + 1e-17L) {
    Fail("NumberText reads back as another value", t, v);
  }
}

void CheckTableNumber(double v, std::uint16_t width, std::uint16_t decimals) {
  const ShortText t = TableNumber(v, width, decimals);
  if (!std::isfinite(v)) return;
  // Only in the range the table uses does the text read back: with 6 or more
  // decimals the cut exponent form can keep the second point, and when the
  // width's blanks push the point past the sixth place the blanks take the
  // exponent form's first characters.
  const int places = std::fabs(v) < 1 ? 6 : decimals;
  if (decimals < 1 || decimals > 5 || width > places + 6) return;
  const ParsedNumber back = ParseNumber(t);
  if (back.errorPos != 0) Fail("TableNumber does not read back", t, v);
  const long double v80 = v, error = std::fabs(back.value - v80);
  const bool exponentForm = std::memchr(t.c_str(), 'e', t.size()) != nullptr;
  // The exponent form keeps decimals digits after its point (one fewer for a
  // negative value) and cuts the rest; the fixed form rounds at its places.
  const long double bound = exponentForm
                                ? std::fabs(v80) * std::pow(10.0L, 2 - decimals)
                                : 0.5001L * std::pow(10.0L, -places) + std::fabs(v80) * 1e-15L;
  if (error > bound) Fail("TableNumber reads back as another value", t, v);
}

void CheckNumbers(const std::uint8_t* data, std::size_t size, std::string_view text) {
  const ParsedNumber parsed = ParseNumber(text);
  if (parsed.errorPos != 0 && parsed.value != 0) Fail("a refused number is not 0", text, parsed.value);
  if (parsed.errorPos == 0 && std::fabs(parsed.value) <= 1.7976931348623157e308L) {
    CheckNumberText(static_cast<double>(parsed.value));
  }

  // The bytes themselves as doubles and integers reach every exponent and
  // bit pattern, which typed digits rarely do.
  std::uint16_t width = 3, decimals = 3;
  if (size >= 4) {
    std::memcpy(&width, data + size - 4, 2);
    std::memcpy(&decimals, data + size - 2, 2);
    // Mostly the small widths and decimals of the table, now and then anything.
    if (data[0] % 8 != 0) {
      width %= 17;
      decimals = static_cast<std::uint16_t>(1 + decimals % 8);
    }
  }
  for (std::size_t at = 0; at + 8 <= size; at += 8) {
    double v;
    std::memcpy(&v, data + at, sizeof v);
    CheckNumberText(v);
    CheckTableNumber(v, width, decimals);
    std::int32_t n;
    std::memcpy(&n, data + at, sizeof n);
    const ShortText t = IntegerText(n);
    const ParsedNumber back = ParseNumber(t);
    if (back.errorPos != 0 || back.value != n) Fail("IntegerText does not read back", t, n);
  }
  if (parsed.errorPos == 0 && std::isfinite(parsed.value) &&
      std::fabs(parsed.value) <= 1.7976931348623157e308L) {
    CheckTableNumber(static_cast<double>(parsed.value), width, decimals);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The program's own start-up.
  StartEngine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > ShortText::kMax) size = ShortText::kMax;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // The three message sets take turns.
  Language = static_cast<std::int32_t>(size % 3);
  CheckFormulaText(text);
  CheckNumbers(data, size, text);
  return 0;
}
