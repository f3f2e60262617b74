#include "table/value_table.h"

#include <cmath>
#include <vector>

#include "common/language.h"
#include "common/number_text.h"
#include "engine/eval.h"
#include "engine/formula_cycle.h"

std::uint8_t TableVariable = 1;
ShortText ConstLetters;
std::uint16_t ConstCount = 0;
ShortText ConstTexts[5] = {"", "0", "0", "0", "0"};
double RangeFrom = 0, RangeTo = 0, Step = 1;
double RunningX = 0;
PlotArea ThePlotArea;

namespace {

// One wording per language (Catalan, English, Spanish), chosen by LANGUAGE.
struct Wording {
  const char* text[3];
  const char* Get() const { return text[LANGUAGE >= 0 && LANGUAGE <= 2 ? LANGUAGE : 2]; }
};

constexpr Wording kInvalidNumberCaption = {
    {"Nombre no vàlid", "Invalid number", "Número no válido"}};
constexpr Wording kStepCaption = {
    {"Increment no vàlid", "Invalid increment", "Incremento no válido"}};
constexpr Wording kStepZero = {{"L'increment ha de ser un nombre diferent de zero.",
                                "The increment must be a number other than zero.",
                                "El incremento debe ser un número distinto de cero."}};
constexpr Wording kStepNeverEnds = {
    {"Amb aquest increment la variable no arriba mai al valor \"a\".",
     "With this increment the variable never reaches the value \"a\".",
     "Con este incremento la variable nunca llega al valor \"a\"."}};
constexpr Wording kTooManyCaption = {
    {"Taula massa llarga", "Table too long", "Tabla demasiado larga"}};
constexpr Wording kTooManySteps = {
    {"L'interval demana més passos dels que cap un enter de 32 bits.",
     "The range needs more steps than a 32-bit integer holds.",
     "El intervalo necesita más pasos de los que caben en un entero de 32 bits."}};
constexpr Wording kTooManyRows = {
    {"La taula tindria més de 100 000 files (el màxim és 100 000).",
     "The table would have more than 100 000 rows (at most 100 000).",
     "La tabla tendría más de 100 000 filas (el máximo es 100 000)."}};
constexpr Wording kFormulaCaption = {{"Taula", "Table", "Tabla"}};
constexpr Wording kFormulaChanged = {
    {"La fórmula ha canviat: tanqueu la taula i torneu-la a obrir.",
     "The formula has changed: close the table and open it again.",
     "La fórmula ha cambiado: cierre la tabla y ábrala de nuevo."}};

// The step count (to - from) / step in 80-bit arithmetic, rounded to a signed
// 32-bit integer: false for a zero step or a quotient outside that range.
bool StepCountFits(double from, double to, double step) {
  if (step == 0) return false;
  const long double count = (static_cast<long double>(to) - from) / step;
  const long double rounded = std::nearbyint(count);
  return rounded >= -2147483648.0L && rounded <= 2147483647.0L;  // false for NaN too
}

// Editing the formula leaves the accepted letters in ParamNames (only
// ParamCount drops to 0), so the open table goes on with them.
int ParamPosition(char letter) {
  for (int i = 0; i < static_cast<int>(ParamNames.size()); ++i) {
    if (ParamNames[i] == letter) return i + 1;
  }
  return 0;
}

}  // namespace

// The table puts its values in exactly as the main window puts parameters.
ShortText SubstLetter(std::string_view formula, char letter, std::string_view value) {
  return SubstParam(letter, value, formula);
}

ShortText PadColumn(std::string_view text, std::uint8_t n) {
  if (text.size() >= n) return ShortText(text);
  return Spaces(static_cast<std::uint16_t>(((n - text.size()) * 3) / 2)) + text;
}

ShortText VariableCell(double x) {
  return PadColumn(TableNumber(x, 3, 3), 4);
}
ShortText ValueCell(double y) {
  return PadColumn(TableNumber(y, 8, 3), 7);
}

std::int32_t TableRowCount(double from, double to, double step, std::int32_t limit) {
  double x = from;
  std::int32_t rows = 1;
  do {
    const double next = x + step;
    ++rows;
    if (next < to && (step < 0 || next == x)) return 0;  // moves away, or stands still
    x = next;
    if (rows > limit) return limit + 1;
  } while (x < to);
  return rows;
}

void ChooseTableVariable(std::uint8_t variable) {
  TableVariable = variable;
  ConstCount = 0;
  ConstLetters.Clear();
  for (int i = 1; i <= ParamCount && i <= static_cast<int>(ParamNames.size()); ++i) {
    if (i == variable) continue;
    ++ConstCount;
    ConstLetters += ParamNames[i - 1];
  }
}

void ComputeTable(TableView& view) {
  // The main window stays usable while the table is open: a formula accepted
  // there meanwhile may have lost the letter that the list still offers.
  const char v = view.SelectedLetter();
  const int position = v == 0 ? 0 : ParamPosition(v);
  if (position == 0) {
    view.ShowMessage(kFormulaCaption.Get(), kFormulaChanged.Get());
    return;
  }
  TableVariable = static_cast<std::uint8_t>(position);
  const ShortText fromText = view.ItemText(kTableFromId);
  const ShortText toText = view.ItemText(kTableToId);
  for (const ShortText* text : {&fromText, &toText}) {
    const NumberOrInvalid n = TextToNumber(*text);
    if (!n.ok) {
      view.ShowMessage(kInvalidNumberCaption.Get(), n.message);
      return;
    }
    (text == &fromText ? RangeFrom : RangeTo) = static_cast<double>(n.value);
  }
  Step = ReadRealText(view.ItemText(kTableStepId)).value;  // an unreadable text reads as 0
  if (Step == 0) {
    view.ShowMessage(kStepCaption.Get(), kStepZero.Get());
    return;
  }
  if (!StepCountFits(RangeFrom, RangeTo, Step)) {
    view.ShowMessage(kTooManyCaption.Get(), kTooManySteps.Get());
    return;
  }
  const std::int32_t rowCount = TableRowCount(RangeFrom, RangeTo, Step, MaxTableRows);
  if (rowCount == 0) {
    view.ShowMessage(kStepCaption.Get(), kStepNeverEnds.Get());
    return;
  }
  if (rowCount > MaxTableRows) {
    view.ShowMessage(kTooManyCaption.Get(), kTooManyRows.Get());
    return;
  }

  ShortText constants[5];  // by position in ParamNames
  for (int j = 1; j <= ConstCount && j <= static_cast<int>(ConstLetters.size()); ++j) {
    const int position = ParamPosition(ConstLetters[j - 1]);
    if (position == 0) continue;
    ConstTexts[position] = view.ItemText(kTableFirstConstId + j - 1);
    constants[position] = ConstTexts[position];
  }
  ShortText work[3];
  for (int k = 1; k <= FormulaCount; ++k) {
    work[k] = Formulas[k];
    for (int j = 1; j <= ConstCount && j <= static_cast<int>(ConstLetters.size()); ++j) {
      const int position = ParamPosition(ConstLetters[j - 1]);
      if (position != 0) work[k] = SubstLetter(work[k], ConstLetters[j - 1], constants[position]);
    }
  }

  // Every value first: the plot's vertical range may need them all.
  std::vector<double> xs(rowCount);
  std::vector<double> ys[3];
  for (int k = 1; k <= FormulaCount; ++k) {
    ys[k].resize(rowCount);
    ys[k][0] = EvalFormula(SubstLetter(work[k], v, fromText));
  }
  RunningX = RangeFrom;
  xs[0] = RangeFrom;
  for (std::int32_t i = 1; i < rowCount; ++i) {
    RunningX = RunningX + Step;
    xs[i] = RunningX;
    const ShortText xText = NumberText(RunningX);
    for (int k = 1; k <= FormulaCount; ++k) ys[k][i] = EvalFormula(SubstLetter(work[k], v, xText));
  }

  const double yFrom = ys[1][0];
  const double yTo = EvalFormula(SubstLetter(work[1], v, toText));
  // Only the two ends set the vertical range: equal values there (x*x from
  // -2 to 2) leave no area, and the previous plot stays.
  const double yLow = std::fmin(yFrom, yTo), yHigh = std::fmax(yFrom, yTo);
  const double dx = (RangeTo - RangeFrom) / 20;
  const double dy = (yHigh - yLow) / 16;
  const double x1 = RangeFrom - dx, x2 = RangeTo + dx;
  const double y1 = yLow - dy, y2 = yHigh + dy;
  const double xLabel = x1 + dx / 20;
  const double yLabel = y1 + 1.5 * dy;

  PlotCanvas* canvas = view.Canvas();
  const bool drawing = canvas && PlotInit(ThePlotArea, *canvas, x1, y1, x2, y2);
  if (drawing) {
    canvas->UseLabelFont();
    PlotAxes(ThePlotArea);
  }

  view.ClearRows(rowCount);
  const int last = FormulaCount;
  for (std::int32_t i = 0; i < rowCount; ++i) {
    ShortText row = VariableCell(xs[i]);
    for (int k = 1; k <= FormulaCount; ++k) {
      row += '\t';
      row += ValueCell(ys[k][i]);
    }
    view.AddRow(row);
    // The first point gets no lines and no labels. Each curve starts at its
    // own value at "de"; the grid and the labels go through the points of
    // the last formula.
    if (!drawing || i == 0) continue;
    const PlotArea& a = ThePlotArea;
    const double x = xs[i], y = ys[last][i];
    for (int k = 1; k <= FormulaCount; ++k) {
      PlotLine(a, x - Step, ys[k][i - 1], x, ys[k][i],
               k == 1 ? PlotCanvas::kBlack : PlotCanvas::kSecondCurve);
    }
    PlotLine(a, x, y1, x, y2);
    PlotLine(a, x1, y, x2, y);
    PlotText(a, xLabel, y + dy / 2, TableNumber(y, 5, 2));
    PlotText(a, x - dx / 2, yLabel, TableNumber(x, 5, 2));
  }
  view.RowsDone();
  if (drawing) canvas->End();
}
