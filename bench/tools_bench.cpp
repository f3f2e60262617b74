// How long the Utilidades menu's list takes to read and to write: a full
// "Tools.rel" of 64 tools, and one of 200 whose tail is only carried along.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "tools/tool_list.h"

namespace {

std::string ToolsFile(int entries) {
  std::string text;
  for (int i = 1; i <= entries; ++i) {
    const std::string n = std::to_string(i);
    text += "Herramienta " + n + "\r\nC:\\Archivos de programa\\util" + n +
            "\\util.exe /abrir datos" + n + ".txt\r\nC:\\Datos\\proyecto " + n +
            "\r\nparámetros libres\r\n";
  }
  return text;
}

void BM_ParseTools(benchmark::State& state) {
  const std::string file = ToolsFile(static_cast<int>(state.range(0)));
  auto parsed = std::make_unique<ParsedTools>();
  for (auto _ : state) {
    ParseTools(file, *parsed);
    benchmark::DoNotOptimize(parsed->count);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ParseTools)->Arg(3)->Arg(64)->Arg(200);

void BM_FormatTools(benchmark::State& state) {
  auto parsed = std::make_unique<ParsedTools>();
  ParseTools(ToolsFile(64), *parsed);
  for (auto _ : state) {
    std::string text = FormatTools(parsed->entries, parsed->count, parsed->overflow);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_FormatTools);

}  // namespace

BENCHMARK_MAIN();
