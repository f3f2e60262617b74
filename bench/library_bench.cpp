// The formula library at its largest: 255 topics and a topic of 255 formulas
// with every field full. Times loading both lists with the lines the dialog
// shows, and saving a full formula file (a new file, flushed to disk, then
// put in place of the old one).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/library_files.h"

namespace {

// A folder of its own holding a full library; left as it was found.
class FullLibrary {
 public:
  FullLibrary() {
    if (!mkdtemp(folder_) || chdir(folder_) != 0) std::abort();
    for (int k = 1; k <= MaxLibraryRecords; ++k) {
      const std::string n = std::to_string(k);
      TopicList[k] = {(std::string(37, 't') + n).substr(0, kTopicNameMax), "T" + n};
      FormulaList[k] = {std::string("f").append(n, 0, 2),
                        (std::string(37, 'x') + n).substr(0, kExpressionMax),
                        (std::string(29, 'c') + n).substr(0, kCommentMax)};
    }
    TopicCount = MaxLibraryRecords;
    TopicFormulaCount = MaxLibraryRecords;
    FormulaFilePath = FormulaPath("T1");
    // Whole new lists, over whatever an earlier benchmark left loaded.
    if (!SaveTopics(nullptr, true) || !SaveFormulaFile(nullptr, true)) std::abort();
  }
  ~FullLibrary() {
    std::remove("temas.rel");
    std::remove(FormulaPath("T1").c_str());
    rmdir(kFormulaFolder);
    if (chdir("/") == 0) rmdir(folder_);
  }

 private:
  char folder_[32] = "/tmp/quillet-bench-XXXXXX";
};

void LoadBothListsWithTheirLines(benchmark::State& state) {
  FullLibrary library;
  std::size_t shown = 0;
  for (auto _ : state) {
    LoadTopics();
    for (int k = 1; k <= TopicCount; ++k) shown += TopicLine(k).size();
    LoadFormulaFile(TopicList[1].TopicFile);
    for (int k = 1; k <= TopicFormulaCount; ++k) shown += FormulaLine(k).size();
  }
  if (TopicCount != MaxLibraryRecords || TopicFormulaCount != MaxLibraryRecords) {
    state.SkipWithError("the full library did not load whole");
  }
  benchmark::DoNotOptimize(shown);
}
BENCHMARK(LoadBothListsWithTheirLines)->Unit(benchmark::kMillisecond);

void SaveAFullFormulaFile(benchmark::State& state) {
  FullLibrary library;
  for (auto _ : state) {
    if (!SaveFormulaFile()) state.SkipWithError("save failed");
  }
}
BENCHMARK(SaveAFullFormulaFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
