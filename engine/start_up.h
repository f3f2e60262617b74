// The engine's part of the program's start-up, in its fixed order: the
// Catalan message set of arithmetic faults, "." as the decimal separator,
// then Spanish as the language of every text made by code. The window, the
// command line, the benchmarks and the fuzz targets all start this way.
#pragma once

#include "common/language.h"
#include "common/number_text.h"
#include "engine/eval.h"

inline void StartEngine() {
  LoadMathMessages(0);
  DecimalSeparator = '.';
  Language = 2;
}
