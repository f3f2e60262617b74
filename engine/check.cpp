#include "engine/check.h"

#include "common/language.h"
#include "common/number_text.h"
#include "common/text_helpers.h"

namespace {

// Tests on single bytes: char is signed on x86, so a byte above 0x7F must not
// reach anything that expects a non-negative value.
using Byte = unsigned char;

bool IsIn(Byte c, std::string_view members) {
  return members.find(static_cast<char>(c)) != std::string_view::npos;
}
// clang-format off
bool IsDigit(Byte c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(Byte c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsName(Byte c) { return IsNameLetter(static_cast<char>(c)); }

bool IsValid(Byte c) { return IsDigit(c) || IsAsciiLetter(c) || IsIn(c, "!()*+-./^"); }
bool IsBadStart(Byte c) { return IsIn(c, "!)*/^"); }
bool IsBadEnd(Byte c) { return IsIn(c, "(*+-/^"); }
bool NeedsOperatorBefore(Byte c) { return c == '(' || IsName(c); }
bool IsOperatorLike(Byte c) { return IsIn(c, "!(*+-/^"); }
bool IsNumberStart(Byte c) { return c == '.' || IsDigit(c); }
bool IsOperandEnd(Byte c) { return c == ')' || IsName(c); }
bool NeedsOperandBefore(Byte c) { return IsIn(c, "!)*+/^"); }
bool IsOpenOperator(Byte c) { return IsIn(c, "(*+-/^"); }
// clang-format on

constexpr Wording kInvalidCharacter = {
    {"Error: caràcter no vàlid", "Error: wrong character", "Error: carácter no válido"}};
constexpr Wording kMissingOperator = {
    {"Error: Falta operador", "Error: lacks operator", "Error: Falta operador"}};
constexpr Wording kMissingOperand = {
    {"Error: Falta operand", "Error: lacks operand", "Error: Falta operando"}};
constexpr const char* kParenthesesCaption = "Error: ";

CheckResult Refuse(const Wording& caption, const ShortText& text) {
  CheckResult result;
  result.caption = caption.Get();
  result.text = text;
  return result;
}

}  // namespace

// "E" and "e" mark an exponent, so they are letters but never parameter names.
bool IsNameLetter(char c) {
  return IsAsciiLetter(static_cast<Byte>(c)) && c != 'E' && c != 'e';
}

CheckResult CheckFormula(std::string_view formula) {
  const ShortText s(formula);
  CheckResult result;

  if (TrimBlanks(s).empty()) {
    result.silent = true;
    return result;
  }
  // The later steps look at s untrimmed: an inner or outer blank is an invalid character.
  if (IsBadStart(static_cast<Byte>(s[0]))) return Refuse(kMissingOperand, ShortText("? ") + s);
  if (IsBadEnd(static_cast<Byte>(s.back()))) return Refuse(kMissingOperand, s + " ?");

  // Only the count matters, not the order: "2)+(3" passes.
  int depth = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const Byte cb = static_cast<Byte>(c);
    if (c == '(') ++depth;
    if (c == ')') --depth;

    if (!IsValid(cb)) return Refuse(kInvalidCharacter, s.Left(i + 1) + " : " + c);
    if (i == 0) continue;

    const Byte p = static_cast<Byte>(s[i - 1]);
    const ShortText marked = s.Left(i) + "?" + c;
    if (NeedsOperatorBefore(cb) && !IsOperatorLike(p)) return Refuse(kMissingOperator, marked);
    if (IsNumberStart(cb) && IsOperandEnd(p)) return Refuse(kMissingOperator, marked);
    if (NeedsOperandBefore(cb) && IsOpenOperator(p)) return Refuse(kMissingOperand, marked);
  }

  if (depth != 0) {
    result.caption = kParenthesesCaption;
    result.text = depth > 0 ? "  \"(\"  >  \")\"" : "  \"(\"  <  \")\"";
    return result;
  }
  result.ok = true;
  return result;
}
