#include "engine/eval.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "common/language.h"
#include "common/number_text.h"

std::int32_t MathError = 0;
const char* MathMessages[5];
WorkCheck KeepWorking = nullptr;

namespace {

// By code, 0..4.
constexpr Wording kMathTexts[5] = {
    {{"", "", ""}},
    {{"Divisió per zero", "Division by zero", "División por cero"}},
    {{"* Error de factorial (n!)*\r\n\r\nn ha d'estar a l'interval [0,170]\r\n( <=170 per raons "
      "tècniques)",
      "* Factorial (n!) error*\r\n\r\nn must be in [0,170] range\r\n( <=170 by technic reasons)",
      "* Error de factorial (n!)*\r\n\r\nn debe estar en el intervalo [0,170]\r\n( <=170 por "
      "razones técnicas)"}},
    {{"Potència de base negativa i exponent no enter",
      "Power of negative base and not integer exponent",
      "Potencia de base negativa y exponente no entero"}},
    {{"Desbordament (massa gran)", "Overflow (too great)", "Desbordamiento"}},
};

// The set of the start (Catalan) is in place before any evaluation.
const bool kMessagesLoaded = (LoadMathMessages(0), true);

// Natural logarithm and exponential on the x87 unit, so that the 32-bit
// program and the native build get the same bits whatever their maths libraries.
#if defined(__i386__) || defined(__x86_64__)
long double ExtendedLn(long double x) {
  long double r;
  __asm__("fldln2\n\tfxch\n\tfyl2x" : "=t"(r) : "0"(x));
  return r;
}

long double ExtendedExp(long double x) {
  long double r;
  __asm__(
      "fldl2e\n\t"
      "fmulp\n\t"            // y = x * log2(e)
      "fld %%st(0)\n\t"
      "frndint\n\t"          // n = round(y)
      "fld %%st(1)\n\t"
      "fsub %%st(1), %%st\n\t"  // f = y - n, |f| <= 0.5
      "f2xm1\n\t"
      "fld1\n\t"
      "faddp\n\t"            // 2^f
      "fscale\n\t"           // 2^f * 2^n
      "fstp %%st(1)\n\t"
      "fstp %%st(1)"
      : "=t"(r)
      : "0"(x));
  return r;
}
#else
long double ExtendedLn(long double x) { return std::log(x); }
long double ExtendedExp(long double x) { return std::exp(x); }
#endif

double Fail(int code) {
  MathError = code;
  return 0;
}

// A double that overflowed its range is an error, never a value.
double Checked(double r) { return std::isfinite(r) ? r : Fail(4); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// x^n for n >= 1 by n multiplications, refusing the next factor as soon as
// |r| reaches OverflowLimit / |x|. Shortcuts give the same bits as the loop.
double PositivePower(double x, std::int64_t n) {
  if (x == 1) return 1;
  if (x == -1) return n % 2 ? -1 : 1;
  const long double limit = OverflowLimit / std::fabs(static_cast<long double>(x));
  double r = 1;
  double before = 1;         // the product one step back
  double twoBefore = NAN;    // and two steps back
  for (std::int64_t k = 0; k < n; ++k) {
    // A slice of factors at a time, asking between them whether to go on.
    if (k % PowerSlice == 0 && k > 0 && KeepWorking && !KeepWorking()) return Fail(MathStopped);
    if (std::fabs(static_cast<long double>(r)) >= limit) return Fail(4);
    r = r * x;
    if (r == 0) {
      // Zero stays zero; a negative base only flips its sign once per factor left.
      if (x < 0 && (n - k - 1) % 2) r = -r;
      return r;
    }
    // Each product depends only on the one before, so once a product repeats
    // (a denormal that x no longer changes, or one whose sign x flips) the rest
    // of the loop would only go round the same values, each already checked
    // against the limit: the result follows from the number of factors left.
    const std::int64_t left = n - k - 1;
    if (r == before) return r;
    if (r == twoBefore) return left % 2 ? before : r;
    twoBefore = before;
    before = r;
  }
  return r;
}

double Power(double a, double b) {
  if (b == 0) return 1;
  if (std::fabs(b) >= 2147483648.0) return Fail(4);  // no 32-bit truncation
  if (std::fabs(b) == std::trunc(std::fabs(b))) return IntPower(a, static_cast<std::int32_t>(b));
  if (a > 0) {
    long double exponent = static_cast<long double>(b) * ExtendedLn(a);
    return Checked(static_cast<double>(ExtendedExp(exponent)));
  }
  if (a == 0) return 0;
  return Fail(3);
}

// A split point: an operator with a digit or "!" before it, so that a sign
// (after an operator, an exponent's "E", or at the start) is never taken for
// one. A "." before it ends a number such as "5." just as well.
bool IsSplitPoint(std::string_view s, std::size_t p, char op) {
  if (s[p] != op) return false;
  char before = s[p - 1];
  return IsDigit(before) || before == '!' || before == '.';
}

double EvalFlatPart(std::string_view s);

bool HoldsOpen(std::string_view s) {
  return !s.empty() && std::memchr(s.data(), '(', s.size()) != nullptr;
}

// The sides of a split are views into the same text: a flat text is only
// read, never copied. The split is at the last split point of the first
// operator in "+-*/^!" that has one: read from the end, the first split
// point of each operator is its last, and a "+" ends the search. `open`: the
// text may hold a "(", so its sides may hold a group.
double EvalFlat(std::string_view s, bool open) {
  static constexpr char kOperators[] = "+-*/^!";
  int i = 6;          // the operator split at; 6 for none
  std::size_t p = 0;  // and where
  for (std::size_t q = s.size(); q-- > 1 && i > 0;) {
    int k;
    switch (s[q]) {
      case '+': k = 0; break;
      case '-': k = 1; break;
      case '*': k = 2; break;
      case '/': k = 3; break;
      case '^': k = 4; break;
      case '!': k = 5; break;
      default: continue;
    }
    if (k < i && IsSplitPoint(s, q, s[q])) {
      i = k;
      p = q;
    }
  }
  if (i < 6) {
    const char op = kOperators[i];
    // Without a "(" neither side can hold a group: no need to look for one.
    const auto eval = open ? &EvalFormula : &EvalFlatPart;
    double a = eval(s.substr(0, p));
    if (MathError != 0) return 0;
    if (op == '!') {
      if (a < 0 || a > FactorialLimit) return Fail(2);
      return Factorial(static_cast<int>(a));
    }
    double b = eval(s.substr(p + 1));
    if (MathError != 0) return 0;
    switch (op) {
      case '+': return Checked(a + b);
      case '-': return Checked(a - b);
      case '*': return Checked(a * b);
      case '/': return b == 0 ? Fail(1) : Checked(a / b);
      default: return Power(a, b);
    }
  }
  if (!s.empty() && s[0] == '-') {
    double v = open ? EvalFormula(s.substr(1)) : EvalFlatPart(s.substr(1));
    if (MathError != 0) return 0;
    return -1 * v;
  }
  ParsedNumber n = ParseNumber(s);
  if (n.errorPos != 0) return 0;
  return Checked(static_cast<double>(n.value));
}

// EvalFormula for a text that holds no "(": the same steps but the search for a group.
double EvalFlatPart(std::string_view s) {
  if (Language == 1 || Language == 2) LoadMathMessages(Language);
  MathError = 0;
  return EvalFlat(s, false);
}

// The text whose groups are written back as values. It is never cut: the
// values put into a formula and the groups' values may make it longer than
// any stored text, and a cut text would be another formula. Texts of the
// usual lengths stay inline; only a longer one takes the heap.
class RewrittenText {
 public:
  explicit RewrittenText(std::string_view s) {
    if (s.size() > kInline) {
      heap_.assign(s);
      data_ = heap_.data();
      capacity_ = heap_.size();
    } else {
      std::memcpy(data_, s.data(), s.size());
    }
    size_ = s.size();
  }
  RewrittenText(const RewrittenText&) = delete;
  RewrittenText& operator=(const RewrittenText&) = delete;

  std::string_view view() const { return {data_, size_}; }

  // Puts `with` in place of the bytes from `start` to `last`, both included.
  void Replace(std::size_t start, std::size_t last, std::string_view with) {
    const std::size_t tail = size_ - last - 1;
    const std::size_t size = start + with.size() + tail;
    if (size > capacity_) {
      std::string grown(size * 2, '\0');
      std::memcpy(grown.data(), data_, start);
      std::memcpy(grown.data() + start + with.size(), data_ + last + 1, tail);
      heap_.swap(grown);
      data_ = heap_.data();
      capacity_ = heap_.size();
    } else {
      std::memmove(data_ + start + with.size(), data_ + last + 1, tail);
    }
    std::memcpy(data_ + start, with.data(), with.size());
    size_ = size;
  }

 private:
  static constexpr std::size_t kInline = 2 * ShortText::kMax;
  char inline_[kInline];
  std::string heap_;
  char* data_ = inline_;
  std::size_t size_ = 0;
  std::size_t capacity_ = kInline;
};

// Apart, so that the many calls on flat texts keep a small stack frame.
[[gnu::noinline]] double EvalGroups(std::string_view text, FormulaGroup g) {
  RewrittenText s(text);
  for (; g.found; g = FirstGroup(s.view())) {
    double v = EvalFormula(g.contents);
    if (MathError != 0) return 0;
    s.Replace(g.start, g.end, NumberText(v));
  }
  return EvalFlat(s.view(), HoldsOpen(s.view()));
}

}  // namespace

void LoadMathMessages(int language) {
  if (language < 0 || language > 2) return;
  for (int i = 0; i < 5; ++i) MathMessages[i] = kMathTexts[i].In(language);
}

FormulaGroup FirstGroup(std::string_view text) {
  // Most texts a formula splits into hold no group at all.
  const void* open = text.empty() ? nullptr : std::memchr(text.data(), '(', text.size());
  if (!open) return {};
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = static_cast<const char*>(open) - text.data(); i < text.size(); ++i) {
    if (text[i] == '(') {
      if (depth == 0) start = i;
      ++depth;
    } else if (text[i] == ')' && depth > 0) {
      if (--depth == 0) return {true, start, i, text.substr(start + 1, i - start - 1)};
    }
  }
  return {};
}

double EvalFormula(std::string_view text) {
  (void)kMessagesLoaded;
  // Catalan is the start set; it is not reloaded, so 0 keeps whatever is there.
  if (Language == 1 || Language == 2) LoadMathMessages(Language);
  MathError = 0;
  if (!HoldsOpen(text)) return EvalFlat(text, false);
  const FormulaGroup g = FirstGroup(text);
  return g.found ? EvalGroups(text, g) : EvalFlat(text, true);
}

double IntPower(double x, std::int32_t n) {
  MathError = 0;
  if (x == 0) return n < 0 ? Fail(1) : 0;
  if (n > 0) return PositivePower(x, n);
  if (n < 0) {
    double d = PositivePower(x, -static_cast<std::int64_t>(n));
    if (MathError != 0) return 0;
    if (d == 0) return Fail(4);  // x^-n too small for a double: its inverse overflows
    return Checked(1 / d);
  }
  return 1;
}

double Factorial(int n) {
  if (n < 0 || n > FactorialLimit) return Fail(2);
  double r = 1;
  for (int i = 2; i <= n; ++i) r *= i;
  return r;
}
