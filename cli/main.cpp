// quillet-calc: the calculator's formula cycle on the command line.
// Reads and writes UTF-8; works in Windows-1252 inside, like the window.
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/console_io.h"
#include "cli/console_window.h"
#include "cli/library_modes.h"
#include "cli/table.h"
#include "common/codepage.h"
#include "common/language.h"
#include "common/number_text.h"
#include "common/text_helpers.h"
#include "engine/eval.h"
#include "engine/formula_cycle.h"
#include "engine/start_up.h"

namespace {

const char kUsage[] =
    "usage: quillet-calc [--lang 0|1|2] FORMULA [LETTER=VALUE]...\n"
    "       quillet-calc [--lang 0|1|2]\n"
    "         formulas from standard input, one a line, each followed by\n"
    "         tab-separated LETTER=VALUE items\n"
    "       quillet-calc [--lang 0|1|2] --table VAR FROM TO STEP FORMULA\n"
    "         [LETTER=VALUE]... [--svg FILE]\n"
    "       quillet-calc --list-library [DIR]\n"
    "       quillet-calc --build-library FILE [DIR]\n"
    "       quillet-calc -h | --help | --version\n"
    "Options may stand anywhere; -- ends them. A text that starts with - and a\n"
    "digit, ( or . is a formula or a value, not an option.\n";

int Misuse(const std::string& why) {
  WriteError("quillet-calc: " + why + "\n" + kUsage);
  return 2;
}

// Every line of standard input as a formula with its values.
int AnswerInputLines(ConsoleWindow& window) {
  bool allAnswered = true;
  std::string line;
  while (ReadInputLine(line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> parts = SplitTabs(Utf8ToCp1252(line));
    LetterValues values;
    bool wellFormed = true;
    for (std::size_t i = 1; i < parts.size(); ++i) {
      if (!parts[i].empty() && !ReadLetterValue(parts[i], values)) wellFormed = false;
    }
    if (!wellFormed) {
      WriteError("quillet-calc: items after the formula must be LETTER=VALUE\n");
      allAnswered = false;
    } else if (!window.Answer(parts[0], values)) {
      allAnswered = false;
    }
    WriteOutput("\n");
    FlushOutput();  // one answer per line as it comes, for a program on the other end
  }
  return allAnswered ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  StartEngine();

  CommandLine command;
  std::string why;
  if (!ReadCommandLine(Arguments(argc, argv), command, why)) return Misuse(why);
  Language = command.language;
  const std::vector<std::string>& operands = command.operands;

  switch (command.mode) {
    case CalcMode::Help:
      WriteOutput(kUsage);
      return 0;
    case CalcMode::Version:
      WriteOutput("quillet-calc " QUILLET_VERSION "\n");
      return 0;
    case CalcMode::Table:
      return RunTableMode(operands, command.svgFile);
    case CalcMode::ListLibrary:
      return ListLibrary(operands);
    case CalcMode::BuildLibrary:
      return BuildLibrary(operands);
    case CalcMode::Formulas:
      break;
  }

  ConsoleWindow window;
  if (operands.empty()) return AnswerInputLines(window);
  LetterValues values;
  for (std::size_t i = 1; i < operands.size(); ++i) {
    if (!ReadLetterValue(Utf8ToCp1252(operands[i]), values)) {
      return Misuse("values are LETTER=VALUE, not " + operands[i]);
    }
  }
  return window.Answer(Utf8ToCp1252(operands[0]), values) ? 0 : 1;
}
