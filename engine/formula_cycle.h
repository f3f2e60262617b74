// The formula cycle: a formula becomes current, is split at "=", checked, its
// parameters found and shown; values are read, put into the text, evaluated.
// It works on the main window through FormulaWindow, so that the same cycle
// drives the Win32 dialog, the command-line program and the tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/short_text.h"
#include "engine/formula_record.h"
#include "resources/ids.h"

inline constexpr int kMaxParams = 4;

extern const FormulaRecord DefaultFormula;  // "f", "", ""
extern FormulaRecord CurrentFormula;
extern std::uint8_t FormulaCount;  // 1 or 2
extern ShortText Formulas[3];      // [1..2]
extern double Results[3];          // [1..2]
extern std::uint8_t ParamCount;    // at most 4 once a formula is accepted
extern ShortText ParamNames;       // one letter per parameter, in order of appearance
extern ShortText ParamValues[5];   // [1..4], as typed; "0" at start
// How many formulas have been accepted so far: a window built for one (the
// open table) tells by it that another has come.
extern std::uint32_t AcceptedFormulas;
inline constexpr int ResultIds[3] = {0, IDC_RESULT1, IDC_RESULT2};

// What the cycle needs of the main window. Control ids are those of resources/ids.h.
class FormulaWindow {
 public:
  virtual ~FormulaWindow() = default;
  virtual ShortText ItemText(int id) = 0;  // at most 254 characters
  virtual void SetText(int id, std::string_view text) = 0;
  virtual void Show(int id) = 0;
  virtual void Hide(int id) = 0;
  virtual void Focus(int id) = 0;
  virtual bool HasFocus(int id) = 0;
  virtual void EnableMenuItem(int id, bool enabled) = 0;
  virtual void ShowMessage(std::string_view caption, std::string_view text) = 0;  // OK, no icon
  virtual void ShowStyledMessage(std::string_view caption, std::string_view text,
                                 std::uint32_t style) = 0;
};

inline constexpr std::uint32_t kExclamationStyle = 0x30;  // the platform's exclamation icon

struct RealField {
  double value = 0;
  bool error = false;
};

// A parameter field's text read as a real: trimmed; empty reads as 0.
RealField ReadRealText(std::string_view text);
RealField ReadRealField(FormulaWindow& w, int id);

// The formula text with every `letter` (exact byte) replaced by the value
// text, a value that starts with "-" put in parentheses. Never cut: the text
// goes to the evaluator, and a cut formula would be another formula.
std::string SubstParam(char letter, std::string_view value, std::string_view formula);
// The same into `out`, which keeps its room for the next call (the table's rows).
void SubstParamInto(std::string& out, char letter, std::string_view value,
                    std::string_view formula);

void OkFormula(FormulaWindow& w);
void LoadFormula(FormulaWindow& w, const FormulaRecord& r);
void AcceptFormula(FormulaWindow& w, const FormulaRecord& r);
bool FindParams(FormulaWindow& w, std::string_view formula);
void ShowParamFields(FormulaWindow& w);
void ReadParamValues(FormulaWindow& w);
void ComputeResults(FormulaWindow& w);
int FocusedParam(FormulaWindow& w);

// The formula field's text changed: parameters are dropped and their fields hidden.
void FormulaEdited(FormulaWindow& w);
// Enter (command 1) with the focus in a parameter field or elsewhere; the formula
// field and the Ok button are OkFormula's.
void EnterOutsideFormula(FormulaWindow& w);
// The "Resultado" button: the results of the formula on the screen (accepting
// it first when it was edited since it was last accepted).
void ComputeButton(FormulaWindow& w);
