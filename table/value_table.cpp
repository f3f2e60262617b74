#include "table/value_table.h"

#include <cmath>
#include <vector>

#include "common/language.h"
#include "common/number_text.h"
#include "common/text_helpers.h"
#include "engine/eval.h"
#include "engine/formula_cycle.h"

std::uint8_t TableVariable = 1;
ShortText ConstLetters;
std::uint16_t ConstCount = 0;
ShortText ConstTexts[5] = {"", "0", "0", "0", "0"};
double RangeFrom = 0, RangeTo = 0, Step = 1;
PlotArea ThePlotArea;

namespace {

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
constexpr Wording kConstantIs = {{"La constant ", "The constant ", "La constante "}};
constexpr Wording kNotANumber = {
    {" no és un nombre: ", " is not a number: ", " no es un número: "}};
constexpr Wording kFormulaCaption = {{"Taula", "Table", "Tabla"}};
constexpr Wording kFormulaChanged = {{"La fórmula actual no té la variable de la taula.",
                                      "The current formula lacks the table's variable.",
                                      "La fórmula actual no tiene la variable de la tabla."}};

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
std::string SubstLetter(std::string_view formula, char letter, std::string_view value) {
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

// The blanks that line the columns up in the list would make a spreadsheet
// read a cell as text: each cell goes without the blanks before it.
std::string CopyRowsText(std::int32_t count, const std::function<ShortText(std::int32_t)>& row) {
  std::string text;
  text.reserve(static_cast<std::size_t>(count > 0 ? count : 0) * 16);  // a usual row and its end
  for (std::int32_t i = 0; i < count; ++i) {
    const ShortText line = row(i);
    bool cellStart = true;
    for (char c : line.view()) {
      if (cellStart && c == ' ') continue;
      cellStart = c == '\t';
      text += c;
    }
    text += "\r\n";
  }
  return text;
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

namespace {

// The position in ParamNames of the letter chosen in the list; 0, with the
// message shown, when there is none: the formula accepted meanwhile in the
// main window may have no parameter, or a refused one left none.
int RunningLetterPosition(TableView& view, char letter) {
  const int position = letter == 0 ? 0 : ParamPosition(letter);
  if (position == 0) view.ShowMessage(kFormulaCaption.Get(), kFormulaChanged.Get());
  return position;
}

// "de", "a" and the step into RangeFrom, RangeTo and Step. The number of rows
// they give; 0, with the message shown, when they are refused.
std::int32_t ReadRange(TableView& view, const ShortText& fromText, const ShortText& toText) {
  for (const ShortText* text : {&fromText, &toText}) {
    const NumberOrInvalid n = TextToNumber(*text);
    if (!n.ok) {
      view.ShowMessage(kInvalidNumberCaption.Get(), n.message);
      return 0;
    }
    (text == &fromText ? RangeFrom : RangeTo) = static_cast<double>(n.value);
  }
  Step = ReadRealText(view.ItemText(IDC_TABLE_STEP)).value;  // an unreadable text reads as 0
  if (Step == 0) {
    view.ShowMessage(kStepCaption.Get(), kStepZero.Get());
    return 0;
  }
  if (!StepCountFits(RangeFrom, RangeTo, Step)) {
    view.ShowMessage(kTooManyCaption.Get(), kTooManySteps.Get());
    return 0;
  }
  const std::int32_t rowCount = TableRowCount(RangeFrom, RangeTo, Step, MaxTableRows);
  if (rowCount == 0) {
    view.ShowMessage(kStepCaption.Get(), kStepNeverEnds.Get());
    return 0;
  }
  if (rowCount > MaxTableRows) {
    view.ShowMessage(kTooManyCaption.Get(), kTooManyRows.Get());
    return 0;
  }
  return rowCount;
}

// Each formula with the typed constants put in for their letters; the texts
// are kept in ConstTexts for the next opening. A constant is a number, as a
// parameter of the main window is: put in trimmed, an empty one as 0. False,
// with the message shown, for the first that is not a number.
bool PutConstants(TableView& view, std::string (&work)[3]) {
  ShortText constants[5];  // by position in ParamNames
  for (int j = 1; j <= ConstCount && j <= static_cast<int>(ConstLetters.size()); ++j) {
    const int position = ParamPosition(ConstLetters[j - 1]);
    if (position == 0) continue;
    ConstTexts[position] = view.ItemText(IDC_TABLE_CONST1 + j - 1);
    if (ReadRealText(ConstTexts[position]).error) {
      view.ShowMessage(kInvalidNumberCaption.Get(), ShortText(kConstantIs.Get()) +
                                                        ConstLetters[j - 1] + kNotANumber.Get() +
                                                        "\"" + ConstTexts[position] + "\"");
      return false;
    }
    const ShortText trimmed = TrimBlanks(ConstTexts[position]);
    constants[position] = trimmed.empty() ? ShortText("0") : trimmed;
  }
  for (int k = 1; k <= FormulaCount; ++k) {
    work[k] = Formulas[k].view();
    for (int j = 1; j <= ConstCount && j <= static_cast<int>(ConstLetters.size()); ++j) {
      const int position = ParamPosition(ConstLetters[j - 1]);
      if (position != 0) work[k] = SubstLetter(work[k], ConstLetters[j - 1], constants[position]);
    }
  }
  return true;
}

// The plot's world: the range with a twentieth on each side; vertically the
// values at the two ends with a sixteenth. Equal values there (x*x from -2
// to 2) leave no area, and the previous plot stays.
struct PlotFrame {
  double x1, y1, x2, y2;
  double dx, dy;
  double xLabel, yLabel;  // where the value labels and the variable labels stand
};

PlotFrame FrameFor(double yFrom, double yTo) {
  PlotFrame f;
  const double yLow = std::fmin(yFrom, yTo), yHigh = std::fmax(yFrom, yTo);
  f.dx = (RangeTo - RangeFrom) / 20;
  f.dy = (yHigh - yLow) / 16;
  f.x1 = RangeFrom - f.dx;
  f.x2 = RangeTo + f.dx;
  f.y1 = yLow - f.dy;
  f.y2 = yHigh + f.dy;
  f.xLabel = f.x1 + f.dx / 20;
  f.yLabel = f.y1 + 1.5 * f.dy;
  return f;
}

ShortText RowText(double x, const double (&ys)[3]) {
  ShortText row = VariableCell(x);
  for (int k = 1; k <= FormulaCount; ++k) {
    row += '\t';
    row += ValueCell(ys[k]);
  }
  return row;
}

// Each formula's value with the running letter's text put in; false when the
// user stopped it, and then the row is not listed.
bool RowValues(const std::string (&work)[3], char letter, std::string_view xText, std::string& text,
               double (&ys)[3]) {
  for (int k = 1; k <= FormulaCount; ++k) {
    SubstParamInto(text, letter, xText, work[k]);
    ys[k] = EvalFormula(text);
    if (MathError == MathStopped) return false;
  }
  return true;
}

struct TableValues {
  std::vector<double> xs;
  std::vector<double> ys[3];  // [1..FormulaCount]
  void Add(double x, const double (&values)[3]) {
    xs.push_back(x);
    for (int k = 1; k <= FormulaCount; ++k) ys[k].push_back(values[k]);
  }
};

// Each step of the rows listed into the plot, in the order the rows came: the
// labels of the last one are drawn whatever comes before them.
void PlotRows(TableView& view, const TableValues& values, const PlotFrame& f) {
  PlotCanvas* canvas = view.Canvas();
  if (!canvas || !PlotInit(ThePlotArea, *canvas, f.x1, f.y1, f.x2, f.y2)) return;
  canvas->UseLabelFont();
  PlotAxes(ThePlotArea);
  const std::int32_t rowCount = static_cast<std::int32_t>(values.xs.size());
  const int last = FormulaCount;
  const PlotArea& a = ThePlotArea;
  AxisLabels yLabels(a, AxisLabels::kAlongY), xLabels(a, AxisLabels::kAlongX);
  {
    const double x = values.xs[rowCount - 1], y = values.ys[last][rowCount - 1];
    yLabels.ReserveLast(f.xLabel, y + f.dy / 2, TableNumber(y, 5, 2));
    xLabels.ReserveLast(x - f.dx / 2, f.yLabel, TableNumber(x, 5, 2));
  }
  // The first point gets no lines and no labels. Each curve starts at its own
  // value at "de"; the grid and the labels go through the points of the last
  // formula.
  for (std::int32_t i = 1; i < rowCount; ++i) {
    const double x = values.xs[i], y = values.ys[last][i];
    for (int k = 1; k <= FormulaCount; ++k) {
      PlotLine(a, x - Step, values.ys[k][i - 1], x, values.ys[k][i],
               k == 1 ? PlotCanvas::kBlack : PlotCanvas::kSecondCurve);
    }
    PlotLine(a, x, f.y1, x, f.y2);
    PlotLine(a, f.x1, y, f.x2, y);
    const bool always = i == 1 || i == rowCount - 1;
    if (always || !yLabels.SurelyLeftOut(f.xLabel, y + f.dy / 2)) {
      yLabels.Draw(f.xLabel, y + f.dy / 2, TableNumber(y, 5, 2), always);
    }
    if (always || !xLabels.SurelyLeftOut(x - f.dx / 2, f.yLabel)) {
      xLabels.Draw(x - f.dx / 2, f.yLabel, TableNumber(x, 5, 2), always);
    }
  }
  canvas->End();
}

// Row by row into the view, then the rows listed into the plot. The first row
// takes "de" as typed; each next one adds the step to the running value and
// puts in its text. The plot's vertical range comes from the values at "de"
// and "a". A table stopped before its first row keeps the previous rows and
// plot.
void ListAndPlot(TableView& view, const std::string (&work)[3], char letter,
                 const ShortText& fromText, const ShortText& toText, std::int32_t rowCount) {
  std::string text;  // one buffer for every row: no heap once it has grown
  double ys[3] = {};
  if (!RowValues(work, letter, fromText, text, ys)) {
    view.RowsDone(0, rowCount);
    return;
  }
  const double yTo = EvalFormula(SubstLetter(work[1], letter, toText));
  if (MathError == MathStopped) {
    view.RowsDone(0, rowCount);
    return;
  }
  const PlotFrame f = FrameFor(ys[1], yTo);
  TableValues values;
  values.xs.reserve(static_cast<std::size_t>(rowCount));
  for (int k = 1; k <= FormulaCount; ++k) values.ys[k].reserve(static_cast<std::size_t>(rowCount));
  values.Add(RangeFrom, ys);

  view.ClearRows(rowCount);
  view.AddRow(RowText(RangeFrom, ys));
  std::int32_t listed = 1;
  double x = RangeFrom;
  for (; listed < rowCount && view.GoOn(listed, rowCount); ++listed) {
    x = x + Step;
    if (!RowValues(work, letter, NumberText(x), text, ys)) break;
    view.AddRow(RowText(x, ys));
    values.Add(x, ys);
  }
  view.RowsDone(listed, rowCount);
  // A slice of its own: the windows answer between listing and drawing.
  view.GoOn(listed, rowCount);
  PlotRows(view, values, f);
}

}  // namespace

void ComputeTable(TableView& view) {
  const char letter = view.SelectedLetter();
  const int position = RunningLetterPosition(view, letter);
  if (position == 0) return;
  TableVariable = static_cast<std::uint8_t>(position);
  const ShortText fromText = view.ItemText(IDC_TABLE_FROM);
  const ShortText toText = view.ItemText(IDC_TABLE_TO);
  const std::int32_t rowCount = ReadRange(view, fromText, toText);
  if (rowCount == 0) return;

  std::string work[3];
  if (!PutConstants(view, work)) return;
  ListAndPlot(view, work, letter, fromText, toText, rowCount);
}
