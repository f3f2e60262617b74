// How fast EvalFormula turns a formula text into a value, next to muparser
// parsing and evaluating the same expression, and how often it touches the heap.
// Also times the one slow case kept on purpose: IntPower with an exponent near 2^31.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "common/language.h"
#include "common/number_text.h"
#include "engine/eval.h"
#include "engine/start_up.h"

#if HAVE_MUPARSER
#include <muParser.h>
#endif

// Every heap allocation of the process is counted, so that a benchmark can tell
// how many happen per call. The benchmarks run on one thread: a plain counter
// keeps the cost of counting out of muparser's figures.
static std::size_t allocationCount = 0;

void* operator new(std::size_t size) {
  ++allocationCount;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Short texts and texts of the full 40 characters a formula may have; groups,
// exponents (also written with E), factorials, signs after operators.
const char* const kFormulas[] = {
    "2+3*4",
    "(2+3)*4",
    "2^10-1",
    "5!",
    "1.5E3/7",
    "2^0.5",
    "3!+4!/2",
    "2^3^2",
    "(1.25+3.5)*(2.75-0.5)/(4.125+1)^2-7.0625",
    "2*(3+(4-1))^2/(1.5E2+7)-((8-3)*2.25)^0.5",
    "10!/(3!*7!)+2^(3+1)*(0.5-0.25)/4+6.75*12",
    "3.14159*2.5^2+(1.5-0.25)*(7.5/(2+0.5))^3",
    "((((1+2)*3)+4)*5)+((((6-7)*8)-9)*10)/1.5",
    "1-2*-3+4/-5+6^2-(7-8)*9.25+1E2/3-0.00125",
    "1.5E-3*(2.5E2+125)^0.5+6!/(2^4*3)-18.125",
};

void BM_EvalFormula(benchmark::State& state, std::string text) {
  const std::size_t before = allocationCount;
  for (auto _ : state) {
    double value = EvalFormula(text);
    benchmark::DoNotOptimize(value);
  }
  state.counters["allocs/call"] =
      static_cast<double>(allocationCount - before) / static_cast<double>(state.iterations());
}

// The exponent near 2^31 with a base just below 1: one multiplication per unit.
void BM_IntPowerSlowCase(benchmark::State& state) {
  for (auto _ : state) {
    double value = IntPower(0.9999999, 2147483647);
    benchmark::DoNotOptimize(value);
  }
}

#if HAVE_MUPARSER
mu::value_type MuFactorial(mu::value_type n) {
  double product = 1;
  for (int i = 2; i <= static_cast<int>(n); ++i) product *= i;
  return product;
}

void PrepareParser(mu::Parser& parser, bool withFactorial) {
  if (withFactorial) parser.DefinePostfixOprt("!", MuFactorial);
}

// A fresh SetExpr before every Eval, so that each iteration parses the text again.
void BM_MuParser(benchmark::State& state, std::string text, bool withFactorial) {
  mu::Parser parser;
  PrepareParser(parser, withFactorial);
  const std::size_t before = allocationCount;
  for (auto _ : state) {
    parser.SetExpr(text);
    double value = parser.Eval();
    benchmark::DoNotOptimize(value);
  }
  state.counters["allocs/call"] =
      static_cast<double>(allocationCount - before) / static_cast<double>(state.iterations());
}
#endif

// Keeps the console output and remembers each benchmark's time per iteration,
// for the summary printed once all have run.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so that a saved run reads as plain text.
  RecordingReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      // With repetitions the median stands for the benchmark; without, the one run.
      const std::string& name = run.run_name.function_name;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (median || (run.run_type == Run::RT_Iteration && !medians_.count(name))) {
        timesNs[name] =
            run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        if (median) medians_.insert(name);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  std::map<std::string, double> timesNs;

 private:
  std::set<std::string> medians_;
};

struct Entry {
  std::string text;
  bool compared = false;  // both agree on the value, so the times are comparable
  std::string note;       // why it was left out of the comparison
};

std::string EvalName(const std::string& text) { return "EvalFormula/" + text; }
std::string MuName(const std::string& text) { return "muparser/" + text; }

// Which texts both evaluators give the same value for: only those are compared.
std::vector<Entry> Classify() {
  std::vector<Entry> entries;
#if HAVE_MUPARSER
  bool muFactorial = true;
  try {
    mu::Parser probe;
    PrepareParser(probe, true);
    probe.SetExpr("3!");
    muFactorial = probe.Eval() == 6;
  } catch (const mu::Parser::exception_type&) {
    muFactorial = false;
  }
#endif
  for (const char* text : kFormulas) {
    Entry e;
    e.text = text;
    const double ours = EvalFormula(text);
    if (MathError != 0) {
      e.note = "EvalFormula reports MathError " + std::to_string(MathError);
      entries.push_back(e);
      continue;
    }
#if HAVE_MUPARSER
    const bool hasFactorial = e.text.find('!') != std::string::npos;
    if (hasFactorial && !muFactorial) {
      e.note = "muparser cannot write \"!\"";
    } else {
      try {
        mu::Parser parser;
        PrepareParser(parser, hasFactorial);
        parser.SetExpr(e.text);
        const double theirs = parser.Eval();
        // Values written back into the text in place of a group keep 17 decimals
        // or 15 significant digits, so agreement is judged relatively.
        if (std::fabs(ours - theirs) <= 1e-12 * std::fmax(1.0, std::fabs(theirs))) {
          e.compared = true;
        } else {
          char buf[96];
          std::snprintf(buf, sizeof buf, "values differ: %.17g here, %.17g muparser", ours, theirs);
          e.note = buf;
        }
      } catch (const mu::Parser::exception_type& ex) {
        e.note = "muparser refuses it: " + ex.GetMsg();
      }
    }
#else
    e.note = "built without muparser";
#endif
    entries.push_back(e);
  }
  return entries;
}

void PrintSummary(const std::vector<Entry>& entries, const RecordingReporter& reporter) {
  auto time = [&](const std::string& name) {
    auto it = reporter.timesNs.find(name);
    return it == reporter.timesNs.end() ? -1.0 : it->second;
  };
  std::printf("\nEvalFormula time / muparser parse+eval time, texts on which both agree:\n");
  std::printf("%-42s %12s %12s %8s\n", "formula", "ours ns", "muparser ns", "ratio");
  double logSum = 0, oursSum = 0, theirsSum = 0;
  int n = 0;
  for (const Entry& e : entries) {
    if (!e.compared) continue;
    const double ours = time(EvalName(e.text)), theirs = time(MuName(e.text));
    if (ours <= 0 || theirs <= 0) continue;  // filtered out of this run
    std::printf("%-42s %12.1f %12.1f %8.3f\n", e.text.c_str(), ours, theirs, ours / theirs);
    logSum += std::log(ours / theirs);
    oursSum += ours;
    theirsSum += theirs;
    ++n;
  }
  if (n > 0) {
    std::printf("overall: geometric mean of ratios %.3f, ratio of summed times %.3f (%d texts)\n",
                std::exp(logSum / n), oursSum / theirsSum, n);
  }
  for (const Entry& e : entries) {
    if (!e.compared) std::printf("not compared: %s (%s)\n", e.text.c_str(), e.note.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The program's own start-up.
  StartEngine();

  const std::vector<Entry> entries = Classify();
  for (const Entry& e : entries) {
    benchmark::RegisterBenchmark(EvalName(e.text).c_str(), BM_EvalFormula, e.text);
#if HAVE_MUPARSER
    if (e.compared) {
      const bool hasFactorial = e.text.find('!') != std::string::npos;
      benchmark::RegisterBenchmark(MuName(e.text).c_str(), BM_MuParser, e.text, hasFactorial);
    }
#endif
  }
  benchmark::RegisterBenchmark("IntPower(0.9999999,2147483647)", BM_IntPowerSlowCase)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  PrintSummary(entries, reporter);
  return 0;
}
