// Numbers as text: the only way the program turns reals into text and back.
// Every number text uses "." as decimal point and no thousands separator.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/short_text.h"

// The decimal point NumberText writes; set to '.' at start-up and left alone.
extern char DecimalSeparator;

// General form: up to 17 decimals, or an exponent form with 15 significant
// digits for very large or very small values ("2.5", "1.E+20", "1.5E-6").
ShortText NumberText(double value);

// Compact form of the value table and its plot (decimals at least 1).
ShortText TableNumber(double value, std::uint16_t width, std::uint16_t decimals);

struct ParsedNumber {
  long double value = 0;      // 0 on failure
  std::int32_t errorPos = 0;  // 0 on success, else the 1-based place of the fault
};
// Reads the whole text, however long (the evaluator's leaves may pass 255
// bytes once values are put in): blanks/tabs, sign, digits, ".", digits,
// exponent; nothing may follow. Accumulates in 80-bit precision.
ParsedNumber ParseNumber(std::string_view text);

// TextToNumber's result: the value, or the failure InvalidNumber with its message.
struct NumberOrInvalid {
  bool ok = false;
  long double value = 0;
  ShortText message;  // when !ok: "\"" text "\" is an invalid float"
};
NumberOrInvalid TextToNumber(std::string_view text);
ShortText InvalidNumberMessage(std::string_view text);

ShortText IntegerText(std::int32_t n);
