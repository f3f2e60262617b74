// The value table: one parameter of the current formula runs over a range in
// fixed steps while the others stay at typed constants; each step is a row of
// the list and a point of the plot. Works on the table dialog through
// TableView, so the dialog, quillet-calc and the tests share one computation.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/short_text.h"
#include "resources/ids.h"
#include "table/plot.h"

// Table state: lives as long as the process, so a reopened dialog shows it.
extern std::uint8_t TableVariable;  // 1-based index into ParamNames of the running letter
extern ShortText ConstLetters;      // the other letters, in ParamNames order
extern std::uint16_t ConstCount;    // ParamCount - 1
extern ShortText ConstTexts[5];     // [1..4] by position in ParamNames; "0" at start
extern double RangeFrom, RangeTo, Step;
extern PlotArea ThePlotArea;

// A table of more rows would leave a person waiting: it is refused.
inline constexpr std::int32_t MaxTableRows = 100000;

class TableView {
 public:
  virtual ~TableView() = default;
  virtual ShortText ItemText(int id) = 0;  // as typed, at most 254 characters
  virtual char SelectedLetter() = 0;       // the letter chosen in the variable list; 0: none
  virtual void ClearRows(std::int32_t rowsToCome) = 0;
  // Each row as soon as it is computed.
  virtual void AddRow(std::string_view row) = 0;
  // Asked between rows, `done` of `asked` listed (and once more before the
  // plot is drawn): false stops the table there.
  virtual bool GoOn(std::int32_t /*done*/, std::int32_t /*asked*/) { return true; }
  // The rows are all there, or `listed` of `asked` when the table was stopped.
  virtual void RowsDone(std::int32_t /*listed*/, std::int32_t /*asked*/) {}
  virtual void ShowMessage(std::string_view caption, std::string_view text) = 0;
  // Where the plot goes; nullptr draws nothing.
  virtual PlotCanvas* Canvas() = 0;
};

// The formula text with every `letter` (exact byte) replaced by the value
// text, a value that starts with "-" put in parentheses; never cut.
std::string SubstLetter(std::string_view formula, char letter, std::string_view value);
// Blanks before a text shorter than n: ((n - length) * 3) div 2 of them.
ShortText PadColumn(std::string_view text, std::uint8_t n);
ShortText VariableCell(double x);
ShortText ValueCell(double y);

// How many rows the listing loop gives for the range and step, counting the
// first; 0 when it never ends, and more than `limit` is reported as limit + 1.
std::int32_t TableRowCount(double from, double to, double step, std::int32_t limit);

// The text a copy of the rows hands on: rows 0 to count - 1 in order, each
// ended by CR LF, its cells as the list shows them without their leading
// blanks, a tab between them.
std::string CopyRowsText(std::int32_t count, const std::function<ShortText(std::int32_t)>& row);

// Makes the parameter at `variable` the running one: the others, in order,
// become the constants (ConstLetters, ConstCount).
void ChooseTableVariable(std::uint8_t variable);

// Lists the rows of the current formulas for the letter chosen in the view,
// and plots them on the view's canvas. A refused range or constant, or a
// letter gone from the formula, shows one message, and the previous rows and
// plot stay. Stopped (the view's GoOn, or KeepWorking inside a value), it
// lists and plots the rows whole so far; stopped before the first, nothing.
void ComputeTable(TableView& view);
