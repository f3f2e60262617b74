#include "engine/formula_cycle.h"

#include <cmath>

#include "common/number_text.h"
#include "common/text_helpers.h"
#include "engine/check.h"
#include "engine/eval.h"
#include "resources/ids.h"

const FormulaRecord DefaultFormula = {"f", "", ""};
FormulaRecord CurrentFormula;
std::uint8_t FormulaCount = 1;
ShortText Formulas[3];
double Results[3];
std::uint8_t ParamCount = 0;
ShortText ParamNames;
ShortText ParamValues[5] = {"", "0", "0", "0", "0"};
std::uint32_t AcceptedFormulas = 0;

namespace {

// True while Formulas and ParamNames belong to the text in the formula field:
// set once a formula passed its checks, cleared by any edit of the field.
bool FormulaReady = false;

int ShownParams() { return ParamCount < kMaxParams ? ParamCount : kMaxParams; }

ShortText Letter(int i) { return ShortText(ParamNames.view().substr(i - 1, 1)); }

// The text put into a formula for a value: blanks around a number would stop
// the evaluator from seeing the operator next to it ("5 *2" reads as 0), and
// an empty field stands for 0.
ShortText SubstitutionText(const ShortText& value) {
  ShortText trimmed = TrimBlanks(value);
  return trimmed.empty() ? ShortText("0") : trimmed;
}

// False when the user stopped the evaluation: the previous result stays,
// shown and kept, and nothing more is computed.
bool ShowResult(FormulaWindow& w, int f, std::string_view formula) {
  const double value = EvalFormula(formula);
  if (MathError == MathStopped) return false;
  Results[f] = value;
  if (MathError == 0) {
    w.SetText(ResultIds[f], NumberText(Results[f]));
  } else {
    w.ShowStyledMessage("*Error*", MathMessages[MathError], kExclamationStyle);
  }
  return true;
}

}  // namespace

RealField ReadRealText(std::string_view text) {
  ShortText trimmed = TrimBlanks(text);
  if (trimmed.empty()) return {0, false};
  ParsedNumber parsed = ParseNumber(trimmed);
  if (parsed.errorPos != 0) return {0, true};
  double value = static_cast<double>(parsed.value);
  if (std::isinf(value)) return {0, true};  // beyond the double range
  return {value, false};
}

RealField ReadRealField(FormulaWindow& w, int id) { return ReadRealText(w.ItemText(id)); }

void SubstParamInto(std::string& out, char letter, std::string_view value,
                    std::string_view formula) {
  const bool enclose = !value.empty() && value[0] == '-';
  out.clear();
  for (char c : formula) {
    if (c != letter) {
      out += c;
    } else if (enclose) {
      out += '(';
      out += value;
      out += ')';
    } else {
      out += value;
    }
  }
}

std::string SubstParam(char letter, std::string_view value, std::string_view formula) {
  std::string result;
  SubstParamInto(result, letter, value, formula);
  return result;
}

void OkFormula(FormulaWindow& w) {
  CurrentFormula = DefaultFormula;
  CurrentFormula.Expression = w.ItemText(IDC_FORMULA).Left(kExpressionMax);
  AcceptFormula(w, CurrentFormula);
}

void LoadFormula(FormulaWindow& w, const FormulaRecord& record) {
  const FormulaRecord r = record;  // the caller may pass CurrentFormula itself
  w.SetText(IDC_NAME_LABEL, r.Name + "=");
  w.SetText(IDC_RESULT1_LABEL, r.Name + "=");
  // The window answers this change at once (fields hidden) before we go on.
  w.SetText(IDC_FORMULA, r.Expression);
  w.SetText(IDC_COMMENT, r.Comment);
  w.SetText(IDC_RESULT1, "");
  w.SetText(IDC_RESULT2, "");
  AcceptFormula(w, r);
}

void AcceptFormula(FormulaWindow& w, const FormulaRecord& r) {
  FormulaReady = false;
  if (r.Expression.empty()) {
    ParamCount = 0;
    ShowParamFields(w);
    return;
  }
  std::size_t equals = r.Expression.view().find('=');
  if (equals != std::string_view::npos) {
    FormulaCount = 2;
    Formulas[1] = r.Expression.Left(equals);
    Formulas[2] = r.Expression.From(equals + 1);
    w.Show(IDC_RESULT2);
    w.Show(IDC_RESULT2_LABEL);
    w.SetText(IDC_NAME_LABEL, "f1,f2:");
    w.SetText(IDC_RESULT1_LABEL, "f1=");
    w.SetText(IDC_RESULT2_LABEL, "f2=");
  } else {
    FormulaCount = 1;
    Formulas[1] = r.Expression;
    w.SetText(IDC_NAME_LABEL, r.Name + "=");
    w.SetText(IDC_RESULT1_LABEL, r.Name + "=");
    w.Hide(IDC_RESULT2);
    w.Hide(IDC_RESULT2_LABEL);
  }
  ParamNames.Clear();
  for (int f = 1; f <= FormulaCount; ++f) {
    CheckResult check = CheckFormula(Formulas[f]);
    if (!check.ok) {
      if (!check.silent) w.ShowMessage(check.caption, check.text);
      return;
    }
  }
  for (int f = 1; f <= FormulaCount; ++f) {
    if (!FindParams(w, Formulas[f])) return;
  }
  FormulaReady = true;
  ++AcceptedFormulas;
  if (ParamCount > 0) {
    ShowParamFields(w);
  } else {
    for (int f = 1; f <= FormulaCount; ++f) {
      if (!ShowResult(w, f, Formulas[f])) break;
    }
  }
  w.EnableMenuItem(IDM_SAVE, true);
  w.EnableMenuItem(IDM_TABLE, true);
}

bool FindParams(FormulaWindow& w, std::string_view formula) {
  if (formula.empty()) return false;
  for (char c : formula) {
    if (IsNameLetter(c) && ParamNames.view().find(c) == std::string_view::npos) ParamNames += c;
  }
  ParamCount = static_cast<std::uint8_t>(ParamNames.size());
  if (ParamCount > kMaxParams) {
    // Nothing may index the four parameter fields past the last one.
    ParamCount = 0;
    ParamNames.Clear();
    w.ShowMessage("demasiados parámetros", "hom admite hasta 4 parámetros");
    return false;
  }
  return true;
}

void ShowParamFields(FormulaWindow& w) {
  for (int i = 1; i <= kMaxParams; ++i) {
    if (i <= ParamCount) {
      w.SetText(IDC_PARAM_LABEL1 + i - 1, Letter(i));
      w.Show(IDC_PARAM_LABEL1 + i - 1);
      w.Show(IDC_PARAM_EDIT1 + i - 1);
      w.SetText(IDC_PARAM_EDIT1 + i - 1, ParamValues[i]);
    } else {
      w.Hide(IDC_PARAM_LABEL1 + i - 1);
      w.Hide(IDC_PARAM_EDIT1 + i - 1);
    }
  }
  // Typing into a hidden field would go nowhere: only a shown field takes the focus.
  if (ParamCount > 0) w.Focus(IDC_PARAM_EDIT1);
}

void ReadParamValues(FormulaWindow& w) {
  for (int i = 1; i <= ShownParams(); ++i) {
    int id = IDC_PARAM_EDIT1 + i - 1;
    if (w.ItemText(id).empty()) w.SetText(id, "0");
    if (ReadRealField(w, id).error) {
      w.ShowMessage(ShortText("error: parámetro ") + Letter(i), "no es un número real");
      return;
    }
    ParamValues[i] = w.ItemText(id);
  }
}

void ComputeResults(FormulaWindow& w) {
  ReadParamValues(w);
  for (int f = 1; f <= FormulaCount; ++f) {
    std::string formula(Formulas[f].view());
    for (int p = 1; p <= ShownParams(); ++p) {
      formula = SubstParam(ParamNames[p - 1], SubstitutionText(ParamValues[p]), formula);
    }
    if (!ShowResult(w, f, formula)) return;
  }
}

int FocusedParam(FormulaWindow& w) {
  for (int i = 1; i <= ShownParams(); ++i) {
    if (w.HasFocus(IDC_PARAM_EDIT1 + i - 1)) return i;
  }
  return ParamCount + 1;
}

void FormulaEdited(FormulaWindow& w) {
  FormulaReady = false;
  ParamCount = 0;
  ShowParamFields(w);
  w.Focus(IDC_FORMULA);
}

void EnterOutsideFormula(FormulaWindow& w) {
  if (ParamCount == 0) return;
  int k = FocusedParam(w);
  if (k > ShownParams()) return;
  ShortText typed = w.ItemText(IDC_PARAM_EDIT1 + k - 1);
  // Only a number becomes the parameter's value; a wrong text is reported
  // when the values are read, and the previous value stays in use.
  if (!ReadRealText(typed).error) ParamValues[k] = typed;
  if (k < ShownParams()) {
    w.Focus(IDC_PARAM_EDIT1 + k);
  } else {
    ComputeResults(w);
  }
}

void ComputeButton(FormulaWindow& w) {
  if (FormulaReady) {
    ComputeResults(w);
    return;
  }
  // The formula in the field was never accepted: accept it first, so the
  // results belong to the formula on the screen.
  OkFormula(w);
  if (FormulaReady && ParamCount > 0) ComputeResults(w);
}
