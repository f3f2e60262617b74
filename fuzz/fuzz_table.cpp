// libFuzzer target: the value table with random range, step and constant
// texts. Whatever is typed, a table is either refused with one message and
// nothing listed, or listed with the rows the loop reaches, never more than
// the row limit, every drawn coordinate inside the clamp.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "common/number_text.h"
#include "engine/eval.h"
#include "engine/formula_cycle.h"
#include "engine/start_up.h"
#include "resources/ids.h"
#include "table/value_table.h"
#include "engine/headless_formula_window.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view detail) {
  std::fprintf(stderr, "\nfuzz_table: %s: \"%.*s\"\n", what, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

// Formulas a person might tabulate. A constant is put in as typed, so the
// exponent is never a constant: a typed 2E9 there would make one power take
// seconds, a slowness kept on purpose.
constexpr const char* kFormulas[] = {"a*x^2+b", "x*x=2*x+1",     "1/x",     "a-x",
                                     "x!",      "(x+a)*(x-b)/c", "x^3-a*x", "2^x"};

class CheckingCanvas final : public PlotCanvas {
 public:
  bool Begin(int& width, int& height) override {
    width = 316, height = 212;
    return true;
  }
  void UseLabelFont() override {}
  void Line(int xa, int ya, int xb, int yb, Pen) override {
    for (int p : {xa, ya, xb, yb}) {
      if (p > kPlotPixelLimit || p < -kPlotPixelLimit) Fail("pixel outside the clamp", "");
    }
  }
  void Text(int x, int y, std::string_view) override { Line(x, y, x, y, kBlack); }
  void End() override {}
};

class CountingView final : public TableView {
 public:
  ShortText ItemText(int id) override {
    return id >= 0 && id < 64 ? ShortText(fields[id]).Left(254) : ShortText();
  }
  char SelectedLetter() override { return variable; }
  void ClearRows(std::int32_t) override { rows = 0; }
  void AddRow(std::string_view row) override {
    ++rows;
    if (row.empty()) Fail("empty row", "");
  }
  void ShowMessage(std::string_view caption, std::string_view) override {
    ++messages;
    if (caption.empty()) Fail("message without a caption", "");
  }
  PlotCanvas* Canvas() override { return &canvas; }

  std::string fields[64];
  char variable = 0;
  long rows = -1;  // -1: the list was never touched
  int messages = 0;
  CheckingCanvas canvas;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  StartEngine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view formula = kFormulas[data[0] % (sizeof kFormulas / sizeof *kFormulas)];
  if (AcceptFormulaHeadless(formula) != 0 || ParamCount == 0)
    Fail("a sample formula was refused", formula);

  // The rest: "de", "a", "incr." and the constants, one a line.
  std::vector<std::string> parts(1);
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] == '\n') {
      parts.emplace_back();
    } else {
      parts.back() += static_cast<char>(data[i]);
    }
  }
  parts.resize(6);
  for (std::size_t j = 3; j < 6; ++j) {
    if (parts[j].find('^') != std::string::npos) return 0;  // see kFormulas
  }
  CountingView view;
  const int chosen = 1 + (data[0] >> 4) % ParamCount;
  view.variable = ParamNames[chosen - 1];
  ChooseTableVariable(static_cast<std::uint8_t>(chosen));
  view.fields[IDC_TABLE_FROM] = parts[0];
  view.fields[IDC_TABLE_TO] = parts[1];
  view.fields[IDC_TABLE_STEP] = parts[2];
  for (int j = 0; j < 3; ++j) view.fields[IDC_TABLE_CONST1 + j] = parts[3 + j];

  // Long tables are slow under the sanitizers: their count alone is checked.
  const NumberOrInvalid from = TextToNumber(ShortText(parts[0]).Left(254));
  const NumberOrInvalid to = TextToNumber(ShortText(parts[1]).Left(254));
  const double step = ReadRealText(ShortText(parts[2]).Left(254)).value;
  if (from.ok && to.ok && step != 0) {
    const std::int32_t rows = TableRowCount(static_cast<double>(from.value),
                                            static_cast<double>(to.value), step, MaxTableRows);
    if (rows > 3000) return 0;
  }

  ComputeTable(view);
  if (view.messages > 1) Fail("more than one message", parts[0]);
  if (view.messages == 1 && view.rows != -1) Fail("rows listed after a refusal", parts[0]);
  if (view.messages == 0 && (view.rows < 1 || view.rows > MaxTableRows)) {
    Fail("a table outside 1..the row limit", parts[0]);
  }
  return 0;
}
