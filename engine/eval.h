// Formula evaluation by rewriting the text: parenthesised groups first, then
// a split at the loosest operator. Arithmetic faults end in MathError.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/short_text.h"

// 0 none, 1 division by zero, 2 factorial out of [0,170], 3 negative base with a
// non-whole exponent, 4 overflow. Set by every EvalFormula and IntPower call.
extern std::int32_t MathError;
// The texts of the codes 0..4 in the current language (reloaded by EvalFormula).
extern const char* MathMessages[5];

// Not an arithmetic fault: the user stopped the work. No value, no message.
inline constexpr std::int32_t MathStopped = 5;

inline constexpr long double OverflowLimit = 1E308L;

// Long work asks this between its slices: a power every PowerSlice factors,
// the table between rows. False stops the evaluation at once, with MathError
// = MathStopped; nullptr never stops. Lets the program's windows answer while
// one value takes seconds.
using WorkCheck = bool (*)();
extern WorkCheck KeepWorking;
inline constexpr std::int64_t PowerSlice = std::int64_t{1} << 22;
inline constexpr int FactorialLimit = 170;

// Loads the message set of one language (0 Catalan, 1 English, 2 Spanish).
void LoadMathMessages(int language);

// Evaluates a checked formula text in which every letter has been replaced by
// a number. The text may have any length and is never cut, nor is any text
// made from it on the way. Read MathError afterwards; the value means nothing
// unless it is 0.
double EvalFormula(std::string_view text);

struct FormulaGroup {
  bool found = false;
  std::size_t start = 0;  // 0-based place of the "("
  std::size_t end = 0;    // 0-based place of the matching ")"
  std::string_view contents;
};
// The first outermost closed group "(...)"; a ")" with no "(" open is ignored.
FormulaGroup FirstGroup(std::string_view text);

double IntPower(double x, std::int32_t n);
double Factorial(int n);
