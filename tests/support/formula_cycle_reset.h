// The formula cycle's globals outlive a window, and tests share one process:
// each test of the cycle starts from the program's start.
#pragma once

#include "engine/headless_formula_window.h"

// No parameters, every value "0", no current formula, none accepted.
inline void ResetFormulaCycle() {
  HeadlessFormulaWindow none;
  FormulaEdited(none);  // also forgets that a formula was accepted
  CurrentFormula = FormulaRecord{};
  FormulaCount = 1;
  for (ShortText& f : Formulas) f.Clear();
  for (double& r : Results) r = 0;
  ParamCount = 0;
  ParamNames.Clear();
  for (int i = 1; i <= kMaxParams; ++i) ParamValues[i] = "0";
}
