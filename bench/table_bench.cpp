// How fast the value table's rows come out without a window: computation and
// row texts for a 40-character formula, from 1 000 to 100 000 rows, and the
// text a copy of 100 000 of them hands to the clipboard. Also the
// integer power that used to run every one of its two billion multiplications.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "common/codepage.h"

#include "common/language.h"
#include "common/number_text.h"
#include "engine/eval.h"
#include "engine/formula_cycle.h"
#include "engine/start_up.h"
#include "resources/ids.h"
#include "table/value_table.h"
#include "engine/headless_formula_window.h"

namespace {

// 40 characters, three constants and the running x.
const char kFormula[] = "a*x^3-b*x^2+c*x-(x+1.5)/(x*x+2.25)+0.75";

class RowsOnly final : public TableView {
 public:
  // `keep`: the rows are kept as well, for what is done with them afterwards.
  explicit RowsOnly(long rows, bool keep = false) : to_(std::to_string(rows - 1)), keep_(keep) {}
  ShortText ItemText(int id) override {
    if (id == IDC_TABLE_FROM) return "0";
    if (id == IDC_TABLE_TO) return to_;
    if (id == IDC_TABLE_STEP) return "1";
    return "1.25";
  }
  char SelectedLetter() override { return 'x'; }
  void ClearRows(std::int32_t) override {
    bytes = 0;
    rows.clear();
  }
  void AddRow(std::string_view row) override {
    bytes += row.size();
    if (keep_) rows.emplace_back(row);
  }
  void ShowMessage(std::string_view, std::string_view) override { bytes = -1; }
  PlotCanvas* Canvas() override { return nullptr; }
  long bytes = 0;
  std::vector<ShortText> rows;

 private:
  ShortText to_;
  bool keep_;
};

void BM_TableRows(benchmark::State& state) {
  AcceptFormulaHeadless(kFormula);
  ChooseTableVariable(2);
  RowsOnly view(state.range(0));
  for (auto _ : state) {
    ComputeTable(view);
    benchmark::DoNotOptimize(view.bytes);
  }
  if (view.bytes <= 0) state.SkipWithError("no rows");
  state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_TableRows)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// What a copy of the rows does past reading the list: the rows of a 100 000
// row table joined, one a line, and that text as UTF-16 for the clipboard.
void BM_CopyRowsText(benchmark::State& state) {
  AcceptFormulaHeadless(kFormula);
  ChooseTableVariable(2);
  RowsOnly view(state.range(0), true);
  ComputeTable(view);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = CopyRowsText(static_cast<std::int32_t>(view.rows.size()),
                                          [&](std::int32_t i) { return view.rows[i]; });
    const std::u16string wide = Cp1252ToUtf16(text);
    bytes = text.size() + wide.size() * 2;
    benchmark::DoNotOptimize(bytes);
  }
  if (view.rows.size() != static_cast<std::size_t>(state.range(0))) state.SkipWithError("rows");
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_CopyRowsText)->Arg(100000)->Unit(benchmark::kMillisecond);

// The product reaches its last denormal after about 7 000 factors.
void BM_IntPowerToADenormal(benchmark::State& state) {
  for (auto _ : state) {
    double value = IntPower(0.9, 2000000000);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_IntPowerToADenormal)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  StartEngine();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
