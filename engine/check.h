// Formula checking: a character-by-character look at a formula text that
// either accepts it or names the first error and marks its place.
#pragma once

#include <string_view>

#include "common/short_text.h"

struct CheckResult {
  bool ok = false;
  bool silent = false;  // refused without a message (a blank text)
  ShortText caption;    // the error's name
  ShortText text;       // the formula marked at the error
};

// A parameter name: an ASCII letter other than the exponent marks "E" and "e".
bool IsNameLetter(char c);

// Changes no state; the caller shows caption and text (MessageOk) unless silent.
CheckResult CheckFormula(std::string_view formula);
