// The value table on a recording view: the rows as the list holds them, the
// plot as lines and labels in pixels, and every refusal.
#include "table/value_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/language.h"
#include "common/number_text.h"
#include "engine/eval.h"
#include "table/svg_plot.h"
#include "tests/support/formula_cycle_reset.h"

namespace {

struct DrawnLine {
  int xa, ya, xb, yb;
  PlotCanvas::Pen pen;
};
struct DrawnText {
  int x, y;
  std::string text;
};

class RecordingCanvas final : public PlotCanvas {
 public:
  bool Begin(int& width, int& height) override {
    ++begun;
    lines.clear();
    texts.clear();
    width = 200, height = 160;
    return true;
  }
  void UseLabelFont() override {}
  void Line(int xa, int ya, int xb, int yb, Pen pen) override {
    lines.push_back({xa, ya, xb, yb, pen});
  }
  void Text(int x, int y, std::string_view text) override {
    texts.push_back({x, y, std::string(text)});
  }
  void End() override { ++ended; }
  int begun = 0, ended = 0;
  std::vector<DrawnLine> lines;
  std::vector<DrawnText> texts;
};

class FakeTableView final : public TableView {
 public:
  ShortText ItemText(int id) override { return ShortText(fields[id]); }
  char SelectedLetter() override { return variable; }
  void ClearRows(std::int32_t) override { rows.clear(); }
  void AddRow(std::string_view row) override { rows.emplace_back(row); }
  bool GoOn(std::int32_t done, std::int32_t) override { return stopAfter < 0 || done < stopAfter; }
  void RowsDone(std::int32_t listedRows, std::int32_t askedRows) override {
    listed = listedRows;
    asked = askedRows;
  }
  void ShowMessage(std::string_view caption, std::string_view text) override {
    messages.push_back({std::string(caption), std::string(text), 0});
  }
  PlotCanvas* Canvas() override { return &canvas; }

  std::map<int, std::string> fields{{IDC_TABLE_STEP, "1"}};
  char variable = 0;
  std::vector<std::string> rows;
  std::vector<ShownMessage> messages;
  RecordingCanvas canvas;
  int stopAfter = -1;  // rows after which the user stops the table
  std::int32_t listed = -1, asked = -1;
};

class ValueTable : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFormulaCycle();
    Language = 2;
    for (int i = 1; i <= 4; ++i) ConstTexts[i] = "0";
  }
  // Accepts the formula as the main window does and picks the running letter.
  void Formula(const char* text, char variable) {
    w.TypeFormulaAndOk(text);
    ASSERT_TRUE(w.messages.empty()) << text;
    const auto at = ParamNames.view().find(variable);
    ASSERT_NE(at, std::string_view::npos);
    ChooseTableVariable(static_cast<std::uint8_t>(at + 1));
    view.variable = variable;
  }
  void Range(const char* from, const char* to, const char* step) {
    view.fields[IDC_TABLE_FROM] = from;
    view.fields[IDC_TABLE_TO] = to;
    view.fields[IDC_TABLE_STEP] = step;
  }
  std::vector<std::string> Run() {
    ComputeTable(view);
    return view.rows;
  }
  // The value column of each row, blanks and all.
  std::vector<std::string> Values() {
    std::vector<std::string> values;
    for (const std::string& row : view.rows) values.push_back(row.substr(row.find('\t') + 1));
    return values;
  }

  HeadlessFormulaWindow w;
  FakeTableView view;
};

// --- Row texts ---------------------------------------------------------------

TEST(TableRows, CellsArePaddedAfterTheirTrailingZerosAreCut) {
  EXPECT_EQ(PadColumn("0.25", 7), "    0.25");  // (7 - 4) * 3 div 2 = 4 blanks
  EXPECT_EQ(PadColumn("1234567", 7), "1234567");
  EXPECT_EQ(PadColumn("12345678", 7), "12345678");
  EXPECT_EQ(PadColumn("", 4), "      ");
  EXPECT_EQ(VariableCell(0.5).str() + "\t" + ValueCell(0.25).str(), " 0.5\t    0.25");
  EXPECT_EQ(VariableCell(2).str() + "\t" + ValueCell(4).str(), "    2\t       4");
  EXPECT_EQ(ValueCell(-1.5), "   -1.5");
  EXPECT_EQ(VariableCell(123456), "1.234e5");  // the short exponent form
}

// What a spreadsheet reads: the digits of the list, no padding, a tab
// between the cells, one row a line.
TEST(TableRows, CopiedRowsHoldTheCellsWithoutTheirPadding) {
  struct Case {
    std::vector<std::string> rows;
    const char* copied;
  } cases[] = {
      {{"   -2\t  -3.5", "    0\t       1"}, "-2\t-3.5\r\n0\t1\r\n"},
      {{" 0.5\t    0.25\t   -1.5"}, "0.5\t0.25\t-1.5\r\n"},
      {{"1.234e5\t1234567"}, "1.234e5\t1234567\r\n"},
      {{"      \t   "}, "\t\r\n"},  // empty cells stay cells
      {{}, ""},
  };
  for (const Case& c : cases) {
    const std::string text = CopyRowsText(static_cast<std::int32_t>(c.rows.size()),
                                          [&](std::int32_t i) { return ShortText(c.rows[i]); });
    EXPECT_EQ(text, c.copied) << c.rows.size() << " rows";
  }
}

TEST(TableRows, SubstitutionMatchesExactBytesAndIsNeverCut) {
  EXPECT_EQ(SubstLetter("x+X", 'x', "2"), "2+X");
  EXPECT_EQ(SubstLetter("a*x", 'a', "-3"), "(-3)*x");
  EXPECT_EQ(SubstLetter("a*x", 'a', " -3"), " -3*x");  // only a leading "-" is enclosed
  const std::string value(100, '7');
  EXPECT_EQ(SubstLetter("x+x+x", 'x', value), value + "+" + value + "+" + value);
}

TEST(TableRows, RowCountFollowsTheAccumulatedStep) {
  EXPECT_EQ(TableRowCount(0, 1, 0.3, 1000), 5);
  EXPECT_EQ(TableRowCount(0, 1, 0.1, 1000), 12);  // rounding: the eleventh is just below 1
  EXPECT_EQ(TableRowCount(1, 3, 1, 1000), 3);
  EXPECT_EQ(TableRowCount(5, 5, 1, 1000), 2);  // "a" not above "de": two rows
  EXPECT_EQ(TableRowCount(5, 1, -1, 1000), 2);
  EXPECT_EQ(TableRowCount(0, 1, -1, 1000), 0);       // away from "a": never ends
  EXPECT_EQ(TableRowCount(1E17, 2E17, 1, 1000), 0);  // too small to move
  EXPECT_EQ(TableRowCount(0, 99999, 1, 100000), 100000);
  EXPECT_EQ(TableRowCount(0, 100000, 1, 100000), 100001);
}

// --- The table -----------------------------------------------------------------

TEST_F(ValueTable, SquaresFromOneToThreeAndTheirWorldRectangle) {
  Formula("x*x", 'x');
  Range("1", "3", "1");
  EXPECT_EQ(Run(),
            (std::vector<std::string>{"    1\t       1", "    2\t       4", "    3\t       9"}));
  EXPECT_DOUBLE_EQ(ThePlotArea.y1, 0.5);
  EXPECT_DOUBLE_EQ(ThePlotArea.y2, 9.5);
  EXPECT_DOUBLE_EQ(ThePlotArea.x1, 0.9);
  EXPECT_DOUBLE_EQ(ThePlotArea.x2, 3.1);
  // Two later points: curve, vertical and horizontal line, two labels each;
  // the axes come first (x = 0 lies outside and is cut away).
  EXPECT_EQ(view.canvas.texts.size(), 4u);
  EXPECT_EQ(view.canvas.texts[0].text, " 4");
  EXPECT_EQ(view.canvas.texts[1].text, " 2");
  const DrawnLine& curve = view.canvas.lines[view.canvas.lines.size() - 3];
  EXPECT_EQ(curve.xa, PlotX(ThePlotArea, 2));
  EXPECT_EQ(curve.ya, PlotY(ThePlotArea, 4));
  EXPECT_EQ(curve.xb, PlotX(ThePlotArea, 3));
  EXPECT_EQ(curve.yb, PlotY(ThePlotArea, 9));
  EXPECT_EQ(PlotY(ThePlotArea, 9.5), 0);
  EXPECT_EQ(PlotY(ThePlotArea, 0.5), 160);
  EXPECT_EQ(view.canvas.ended, 1);
}

TEST_F(ValueTable, ListsTheRowsTheLoopReaches) {
  Formula("x", 'x');
  Range("0", "1", "0.3");
  Run();
  ASSERT_EQ(view.rows.size(), 5u);
  EXPECT_EQ(view.rows[4], " 1.2\t    1.2");
  Range("0", "1", "0.1");
  Run();
  ASSERT_EQ(view.rows.size(), 12u);
  EXPECT_EQ(view.rows[10].substr(0, view.rows[10].find('\t')), "    1");  // 0.9999999999999999
  Range("4", "2", "1");
  EXPECT_EQ(Run(), (std::vector<std::string>{"    4\t       4", "    5\t       5"}));
}

TEST_F(ValueTable, NoAreaListsTheRowsAndKeepsThePreviousPlot) {
  Formula("x*x", 'x');
  Range("1", "3", "1");
  Run();
  const std::size_t drawn = view.canvas.lines.size();
  Range("3", "1", "1");  // "a" below "de": no width
  EXPECT_EQ(Run().size(), 2u);
  Formula("0*x+5", 'x');  // the same value everywhere: no height
  Range("1", "3", "1");
  EXPECT_EQ(Run().size(), 3u);
  EXPECT_EQ(view.canvas.begun, 1);
  EXPECT_EQ(view.canvas.lines.size(), drawn);
}

// Only the two ends set the vertical range: equal values there leave no
// area, so the rows are listed and nothing is drawn.
TEST_F(ValueTable, EqualEndValuesListRowsAndDrawNothing) {
  Formula("x*x", 'x');
  Range("-2", "2", "1");
  EXPECT_EQ(Run().size(), 5u);
  EXPECT_EQ(view.canvas.begun, 0);
}

TEST_F(ValueTable, ConstantsGoInAsTypedAndAreRemembered) {
  Formula("a*x^2+b", 'x');
  EXPECT_EQ(ConstLetters, "ab");
  view.fields[IDC_TABLE_CONST1] = "2";
  view.fields[IDC_TABLE_CONST1 + 1] = "-1";
  Range("-3", "3", "0.25");
  Run();
  ASSERT_EQ(view.rows.size(), 25u);
  EXPECT_EQ(view.rows[0], "   -3\t      17");
  EXPECT_EQ(view.rows[2], "-2.5\t   11.5");
  EXPECT_EQ(view.rows[12], "    0\t      -1");
  EXPECT_EQ(ConstTexts[1], "2");
  EXPECT_EQ(ConstTexts[3], "-1");

  // Blanks around a constant, or none at all (read as 0), spoil nothing.
  Formula("a*x+1", 'x');
  Range("3", "3", "1");
  for (const char* typed : {" 2 ", ""}) {
    view.fields[IDC_TABLE_CONST1] = typed;
    Run();
    EXPECT_EQ(Values()[0], *typed ? "       7" : "       1") << typed;
  }
}

// A constant that is not a number is refused as a range text is: one
// message naming the letter, nothing listed, the previous table stays.
TEST_F(ValueTable, AConstantMustBeANumber) {
  Formula("a*x+b", 'x');
  Range("0", "1", "1");
  Run();
  const std::vector<std::string> before = view.rows;
  const int plots = view.canvas.begun;
  for (const char* typed : {"1+1", "abc", "1,5", "(2)"}) {
    view.messages.clear();
    view.fields[IDC_TABLE_CONST1] = "2";
    view.fields[IDC_TABLE_CONST1 + 1] = typed;
    Run();
    ASSERT_EQ(view.messages.size(), 1u) << typed;
    EXPECT_EQ(view.messages[0].caption, "Número no válido");
    EXPECT_EQ(view.messages[0].text,
              std::string("La constante b no es un número: \"") + typed + "\"");
    EXPECT_EQ(view.rows, before);
    EXPECT_EQ(view.canvas.begun, plots);
  }
}

// Values put in make texts past 255 characters; the rows are those of the
// whole text (the polynomial's rows up to -0.7 were wrong when it was cut).
TEST_F(ValueTable, LongSubstitutedTextsGiveTheFormulasRows) {
  Formula("1+x+x*x/2+x*x*x/6+x*x*x*x/24+x^5/120", 'x');
  Range("-2", "0", "0.1");
  Run();
  ASSERT_EQ(view.rows.size(), 21u);
  for (std::size_t i = 0; i < view.rows.size(); ++i) {
    const double x = -2 + 0.1 * static_cast<double>(i);
    const double exact =
        1 + x + x * x / 2 + x * x * x / 6 + x * x * x * x / 24 + x * x * x * x * x / 120;
    EXPECT_NEAR(std::stod(Values()[i]), exact, 0.0006) << view.rows[i];
  }
  EXPECT_EQ(Values()[1], "0.098496");  // x = -1.9

  // A constant of 61 characters in each of 19 places: 1 200 characters.
  Formula("a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+a+a*x", 'x');
  view.fields[IDC_TABLE_CONST1] = "0." + std::string(59, '5');
  Range("1", "2", "1");
  Run();
  EXPECT_EQ(Values(), (std::vector<std::string>{"  10.556", "  11.111"}));
}

TEST_F(ValueTable, TheVariableMayBeAnyParameter) {
  Formula("a-x", 'a');
  EXPECT_EQ(ConstLetters, "x");
  view.fields[IDC_TABLE_CONST1] = "10";
  Range("1", "2", "1");
  Run();
  EXPECT_EQ(Values(), (std::vector<std::string>{"      -9", "      -8"}));
}

TEST_F(ValueTable, MathErrorsAreListedAsTheValueEvaluationGives) {
  Formula("1/x", 'x');
  Range("-1", "1", "1");
  Run();
  ASSERT_TRUE(view.messages.empty());
  EXPECT_EQ(Values(), (std::vector<std::string>{"      -1", "         0", "       1"}));
}

TEST_F(ValueTable, TwoFormulasGiveTwoColumnsAndTwoCurves) {
  Formula("x*x=2*x", 'x');
  Range("0", "3", "1");
  Run();
  ASSERT_EQ(view.rows.size(), 4u);
  EXPECT_EQ(view.rows[3], "    3\t       9\t       6");
  int second = 0;
  for (const DrawnLine& l : view.canvas.lines) second += l.pen == PlotCanvas::kSecondCurve;
  EXPECT_EQ(second, 3);
  // Labels follow the last formula's values.
  EXPECT_EQ(view.canvas.texts[4].text, " 6");
}

// --- Refusals: one message, nothing listed, the previous table stays ---------

TEST_F(ValueTable, RefusesBadInputBeforeListing) {
  Formula("x", 'x');
  Range("0", "2", "1");
  Run();
  const std::vector<std::string> before = view.rows;
  const int plots = view.canvas.begun;
  struct Case {
    const char *from, *to, *step, *caption, *text;
  };
  const Case cases[] = {
      {"1,5", "2", "1", "Número no válido", "\"1,5\" is an invalid float"},
      {"0", "", "1", "Número no válido", "\"\" is an invalid float"},
      {"0", "1", "0", "Incremento no válido", "El incremento debe ser un número distinto de cero."},
      {"0", "1", "", "Incremento no válido", "El incremento debe ser un número distinto de cero."},
      {"0", "1", "abc", "Incremento no válido",
       "El incremento debe ser un número distinto de cero."},
      {"0", "1", "-1", "Incremento no válido",
       "Con este incremento la variable nunca llega al valor \"a\"."},
      {"1E16", "10000000000000100", "0.5", "Incremento no válido",
       "Con este incremento la variable nunca llega al valor \"a\"."},
      {"0", "1E10", "1", "Tabla demasiado larga",
       "El intervalo necesita más pasos de los que caben en un entero de 32 bits."},
      {"1E300", "-1E300", "1E-300", "Tabla demasiado larga",
       "El intervalo necesita más pasos de los que caben en un entero de 32 bits."},
      {"0", "100000", "1", "Tabla demasiado larga",
       "La tabla tendría más de 100 000 filas (el máximo es 100 000)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " " << c.to << " " << c.step);
    view.messages.clear();
    Range(c.from, c.to, c.step);
    Run();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].caption, c.caption);
    EXPECT_EQ(view.messages[0].text, c.text);
    EXPECT_EQ(view.rows, before);
    EXPECT_EQ(view.canvas.begun, plots);
  }
}

TEST_F(ValueTable, ExactlyTheRowLimitIsListed) {
  Formula("x", 'x');
  Range("1", "100000", "1");
  Run();
  EXPECT_TRUE(view.messages.empty());
  ASSERT_EQ(view.rows.size(), 100000u);
  EXPECT_EQ(view.rows.back(), "1.000e5\t1.000e5");
}

// Stopped between rows or inside a long power, a table lists and plots the
// whole rows so far; stopped before its first, it leaves the previous rows.
TEST_F(ValueTable, AStoppedTableListsTheWholeRowsSoFar) {
  struct Case {
    const char *formula, *from, *to, *step;
    int stopAfter;     // rows; -1: inside the first long power instead
    std::size_t rows;  // listed, or there
    std::int32_t asked;
    const char* last;  // row
  };
  const Case cases[] = {
      {"x*x", "1", "10", "1", 3, 3, 10, "    3\t       9"},
      // In the second formula of the second row.
      {"x=x^2147483647", "0.5", "0.99999", "0.4999999", -1, 1, 2, " 0.5\t      0.5\t         0"},
      // At "a", before any row: the rows before stay.
      {"x^2147483647", "0.5", "0.99999", "0.4999999", -1, 2, 2, "    8\t       8"},
  };
  for (const Case& c : cases) {
    Formula("x", 'x');
    Range("7", "8", "1");
    Run();  // the rows before
    Formula(c.formula, 'x');
    Range(c.from, c.to, c.step);
    view.stopAfter = c.stopAfter;
    view.canvas = RecordingCanvas();
    const WorkCheck stopAtOnce = [] { return false; };
    KeepWorking = c.stopAfter < 0 ? stopAtOnce : nullptr;
    Run();
    KeepWorking = nullptr;
    view.stopAfter = -1;
    ASSERT_EQ(view.rows.size(), c.rows) << c.formula;
    EXPECT_EQ(view.rows.back(), c.last) << c.formula;
    EXPECT_EQ(view.asked, c.asked) << c.formula;
    const bool listed = view.listed > 0;
    EXPECT_EQ(view.listed, listed ? static_cast<std::int32_t>(c.rows) : 0) << c.formula;
    EXPECT_EQ(view.canvas.ended, listed ? 1 : 0) << c.formula;  // nothing drawn without a row
  }
}

TEST_F(ValueTable, TheOpenTableComputesTheLastAcceptedFormula) {
  Formula("a+b", 'b');
  Range("0", "1", "1");
  view.fields[IDC_TABLE_CONST1] = "10";

  // Typing in the main window's formula field leaves the accepted formula.
  w.Type(IDC_FORMULA, "a+b+");
  ASSERT_EQ(ParamCount, 0);
  Run();
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(view.rows, (std::vector<std::string>{"    0\t      10", "    1\t      11"}));

  // A formula accepted meanwhile that still has the chosen letter, elsewhere.
  w.TypeFormulaAndOk("b*2+a");
  Run();
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(view.rows, (std::vector<std::string>{"    0\t      10", "    1\t      12"}));
  EXPECT_EQ(TableVariable, 1);

  // One without it: refused, and the rows stay as they were.
  w.TypeFormulaAndOk("x");
  Run();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].caption, "Tabla");
  EXPECT_EQ(view.messages[0].text, "La fórmula actual no tiene la variable de la tabla.");
  EXPECT_EQ(view.rows.size(), 2u);
}

// --- The plot's pixels ---------------------------------------------------------

TEST(Plot, FarAwayValuesAreClampedAndLinesKeepTheirDirection) {
  RecordingCanvas canvas;
  PlotArea area;
  ASSERT_TRUE(PlotInit(area, canvas, 0, 0, 10, 10));
  EXPECT_EQ(PlotX(area, 1E300), kPlotPixelLimit);
  EXPECT_EQ(PlotX(area, -1E300), -kPlotPixelLimit);
  EXPECT_EQ(PlotY(area, 1E300), -kPlotPixelLimit);
  EXPECT_EQ(PlotX(area, 5), 100);
  EXPECT_EQ(PlotX(area, 0.025), 0);  // 0.5 pixel: halves go to even
  EXPECT_EQ(PlotX(area, 0.075), 2);

  // From the middle towards a point far up and to the right, at 45 degrees.
  PlotLine(area, 5, 5, 1E12, 1E12);
  ASSERT_EQ(canvas.lines.size(), 1u);
  const DrawnLine& l = canvas.lines[0];
  EXPECT_EQ(l.xa, 100);
  EXPECT_EQ(l.ya, 80);
  EXPECT_LE(l.xb, kPlotPixelLimit);
  EXPECT_NEAR(static_cast<double>(l.xb - l.xa) * 16, static_cast<double>(l.ya - l.yb) * 20, 40.0);
  PlotLine(area, 1E300, 5, 2E300, 5);  // nothing of it can show
  EXPECT_EQ(canvas.lines.size(), 1u);
}

TEST(Plot, NoAreaNoDrawing) {
  RecordingCanvas canvas;
  PlotArea area;
  EXPECT_FALSE(PlotInit(area, canvas, 0, 0, 10, 0));
  EXPECT_FALSE(PlotInit(area, canvas, 5, 0, 5, 10));
  EXPECT_EQ(canvas.begun, 0);
}

TEST(Plot, SvgHoldsTheSamePicture) {
  SvgCanvas svg(100, 80);
  int width = 0, height = 0;
  ASSERT_TRUE(svg.Begin(width, height));
  svg.Line(1, 2, 3, 4, PlotCanvas::kBlack);
  svg.Line(5, 6, 7, 8, PlotCanvas::kSecondCurve);
  svg.Text(10, 20, "a<b & \xE9");
  const std::string doc = svg.Document();
  EXPECT_NE(doc.find("width=\"100\" height=\"80\""), std::string::npos);
  EXPECT_NE(doc.find("<line x1=\"1\" y1=\"2\" x2=\"3\" y2=\"4\"/>"), std::string::npos);
  EXPECT_NE(doc.find("<line x1=\"5\" y1=\"6\" x2=\"7\" y2=\"8\" class=\"second\"/>"),
            std::string::npos);
  EXPECT_NE(doc.find(">a&lt;b &amp; \xC3\xA9</text>"), std::string::npos);
}

// Labels of one axis on the recording canvas, 5 pixels a character and 14
// high: each row is a label's pixel along the axis and whether it is drawn.
TEST(Plot, ALabelThatWouldCoverAnotherIsLeftOut) {
  struct Case {
    AxisLabels::Axis axis;
    std::vector<int> at;  // pixels along the axis; the first and the last always drawn
    std::vector<bool> drawn;
  } cases[] = {
      // Four-character labels, 20 wide, 4 apart at least.
      {AxisLabels::kAlongX, {0, 30, 60, 90}, {true, true, true, true}},
      {AxisLabels::kAlongX, {0, 24, 48}, {true, true, true}},   // just apart
      {AxisLabels::kAlongX, {0, 23, 48}, {true, false, true}},  // too close to the first
      {AxisLabels::kAlongX,
       {0, 10, 20, 30, 40, 50, 60},
       {true, false, false, true, false, false, true}},
      {AxisLabels::kAlongX, {0, 30, 55, 70}, {true, true, false, true}},  // would cover the last
      {AxisLabels::kAlongX, {0, 5}, {true, true}},  // the first and the last in any case
      // One above the other, 14 high: touching is apart.
      {AxisLabels::kAlongY, {100, 86, 72, 60, 58, 30}, {true, true, true, false, true, true}},
      {AxisLabels::kAlongY, {100, 40, 95, 50, 10}, {true, true, false, false, true}},
  };
  int surelyLeftOut = 0;  // the labels the text-free test left out beforehand
  for (const Case& c : cases) {
    RecordingCanvas canvas;
    PlotArea area;
    ASSERT_TRUE(PlotInit(area, canvas, 0, 0, 200, 160));  // one pixel a unit
    AxisLabels labels(area, c.axis);
    auto place = [&](int p, double& x, double& y) {
      x = c.axis == AxisLabels::kAlongX ? p : 0;
      y = c.axis == AxisLabels::kAlongY ? 160 - p : 0;
    };
    double x = 0, y = 0;
    place(c.at.back(), x, y);
    labels.ReserveLast(x, y, "1.25");
    std::vector<bool> drawn;
    for (std::size_t i = 0; i < c.at.size(); ++i) {
      place(c.at[i], x, y);
      const std::size_t before = canvas.texts.size();
      const bool always = i == 0 || i + 1 == c.at.size();
      const bool surely = !always && labels.SurelyLeftOut(x, y);
      labels.Draw(x, y, "1.25", always);
      drawn.push_back(canvas.texts.size() > before);
      if (surely) EXPECT_FALSE(drawn.back()) << "at " << c.at[i] << " was said to be left out";
      surelyLeftOut += surely;
      if (drawn.back()) {
        EXPECT_EQ(canvas.texts.back().x, PlotX(area, x));  // as PlotText draws it
        EXPECT_EQ(canvas.texts.back().y, PlotY(area, y));
      }
    }
    EXPECT_EQ(drawn, c.drawn) << "first at " << c.at[0] << ", " << c.at.size() << " labels";
  }
  EXPECT_GE(surelyLeftOut, 5);
}

// The series of the exponential from -2 to 0 in steps of 0.1: 21 points on a
// plot 200 pixels wide. No two labels of an axis cover each other, and the
// first and the last point are labelled.
TEST_F(ValueTable, PlotLabelsNeverCoverEachOther) {
  Formula("1+x+x*x/2+x*x*x/6+x*x*x*x/24+x^5/120", 'x');
  Range("-2", "0", "0.1");
  ASSERT_EQ(Run().size(), 21u);
  const int yLabelX = view.canvas.texts.at(0).x, xLabelY = view.canvas.texts.at(1).y;
  std::vector<DrawnText> along[2];  // [0] the values at the left, [1] the variable below
  for (const DrawnText& t : view.canvas.texts) {
    along[t.y == xLabelY && t.x != yLabelX ? 1 : 0].push_back(t);
  }
  EXPECT_LT(along[1].size(), 20u);
  EXPECT_GT(along[1].size(), 3u);
  EXPECT_EQ(along[1].front().text, TableNumber(-1.9, 5, 2));
  double x = -2;
  for (int i = 0; i < 20; ++i) x += 0.1;  // as the rows run
  EXPECT_EQ(along[1].back().text, TableNumber(x, 5, 2));
  EXPECT_EQ(along[0].back().text,
            TableNumber(EvalFormula(SubstLetter(Formulas[1].str(), 'x', NumberText(x))), 5, 2));
  for (int axis = 0; axis < 2; ++axis) {
    for (std::size_t i = 0; i < along[axis].size(); ++i) {
      for (std::size_t j = i + 1; j < along[axis].size(); ++j) {
        const DrawnText &a = along[axis][i], &b = along[axis][j];
        if (axis == 0) {
          EXPECT_TRUE(a.y + 14 <= b.y || b.y + 14 <= a.y) << a.text << " " << b.text;
        } else {
          EXPECT_TRUE(a.x + 5 * int(a.text.size()) < b.x || b.x + 5 * int(b.text.size()) < a.x)
              << a.text << " " << b.text;
        }
      }
    }
  }
}

// --- Engine mends met by the table ---------------------------------------------

TEST(TableEngine, ANonZeroValueNeverBecomesMinusZero) {
  EXPECT_EQ(NumberText(-1.5E-20), "-1.5E-20");
  EXPECT_EQ(NumberText(1.5E-20), "1.5E-20");
  EXPECT_EQ(NumberText(-4E-18), "-4.E-18");
  EXPECT_EQ(NumberText(-1E-17), "-0.00000000000000001");
  EXPECT_EQ(NumberText(-0.000001), "-0.000001");
  EXPECT_EQ(NumberText(-1E-10), "-0.0000000001");
  EXPECT_EQ(NumberText(-0.0), "0");
  // Group values are written back as text: the sign and the size survive.
  EXPECT_EQ(EvalFormula("(0-1E-20)*1E20"), -1);
  EXPECT_EQ(EvalFormula("(1E-20)*1E20"), 1);
  const double odd = EvalFormula("(0-0.9)^1001");
  EXPECT_EQ(odd, -EvalFormula("0.9^1001"));
  EXPECT_NE(odd, 0);
}

// The loop the power had before it stopped early: the results must not move.
double PowerByEveryFactor(double x, std::int32_t n) {
  double r = 1;
  for (std::int32_t k = 0; k < n; ++k) r = r * x;
  return r;
}

TEST(TableEngine, IntegerPowerStopsEarlyWithTheSameBits) {
  const double bases[] = {0.9,
                          -0.9,
                          0.5,
                          -0.5,
                          0.999,
                          -0.999,
                          1.0000001,
                          4.9406564584124654E-324,
                          -4.9406564584124654E-324,
                          1E-310,
                          -2E-310,
                          0.75};
  for (double x : bases) {
    for (std::int32_t n : {1, 2, 3, 1000, 1001, 7000, 20000, 20001, 100001}) {
      const double want = PowerByEveryFactor(x, n);
      if (!std::isfinite(want) || std::fabs(want) >= 1E308) continue;
      const double got = IntPower(x, n);
      EXPECT_EQ(std::signbit(got), std::signbit(want)) << x << "^" << n;
      EXPECT_EQ(got, want) << x << "^" << n;
    }
  }
  // Far beyond any loop a test could wait for: the denormal the loop settles on.
  EXPECT_EQ(IntPower(0.9, 2000000000), PowerByEveryFactor(0.9, 20000));
  EXPECT_EQ(IntPower(-0.9, 2000000001), PowerByEveryFactor(-0.9, 20001));
  EXPECT_EQ(IntPower(-0.9, 2000000000), PowerByEveryFactor(-0.9, 20000));
  EXPECT_EQ(MathError, 0);
}

}  // namespace
