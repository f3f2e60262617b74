// quillet-calc: the calculator's formula cycle on the command line.
//   quillet-calc [--lang N] FORMULA [LETTER=VALUE]...
//   quillet-calc [--lang N]     (formulas from standard input, one a line,
//                                LETTER=VALUE items after tabs)
// Reads and writes UTF-8; works in Windows-1252 inside, like the window.
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "cli/console_window.h"
#include "cli/library_modes.h"
#include "cli/table.h"
#include "common/codepage.h"
#include "common/language.h"
#include "common/number_text.h"
#include "common/text_helpers.h"
#include "engine/eval.h"
#include "engine/formula_cycle.h"

namespace {

void Usage() {
  std::cerr << "usage: quillet-calc [--lang 0|1|2] [FORMULA [LETTER=VALUE]...]\n"
               "  without FORMULA, formulas are read from standard input, one a line,\n"
               "  each followed by tab-separated LETTER=VALUE items\n"
               "       quillet-calc --list-library [DIR] | --build-library FILE [DIR]\n"
               "       quillet-calc [--lang 0|1|2] --table VAR FROM TO STEP FORMULA "
               "[LETTER=VALUE]... [--svg FILE]\n";
}

// "x=2.5" -> letter and value text; false when the item is not of that form.
bool ParseValueItem(const std::string& item, std::map<char, std::string>& values) {
  if (item.size() < 2 || item[1] != '=') return false;
  values[item[0]] = item.substr(2);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  LoadMathMessages(0);
  DecimalSeparator = '.';
  LANGUAGE = 2;

  std::vector<std::string> args = Arguments(argc, argv);
  std::size_t next = 0;
  if (next < args.size() && args[next] == "--lang") {
    if (next + 1 >= args.size() || args[next + 1].size() != 1 || args[next + 1][0] < '0' ||
        args[next + 1][0] > '2') {
      Usage();
      return 2;
    }
    LANGUAGE = args[next + 1][0] - '0';
    next += 2;
  }

  // Modes of their own take the rest of the command line.
  const std::vector<std::string> rest(args.begin() + next, args.end());
  if (IsLibraryMode(rest)) return RunLibraryMode(rest);
  if (!rest.empty() && rest[0] == "--table") {
    return RunTableMode(std::vector<std::string>(rest.begin() + 1, rest.end()));
  }

  ConsoleWindow window;
  if (next < args.size()) {
    std::map<char, std::string> values;
    for (std::size_t i = next + 1; i < args.size(); ++i) {
      if (!ParseValueItem(Utf8ToCp1252(args[i]), values)) {
        Usage();
        return 2;
      }
    }
    return window.Answer(Utf8ToCp1252(args[next]), values) ? 0 : 1;
  }

  bool allAnswered = true;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> parts = SplitTabs(Utf8ToCp1252(line));
    std::map<char, std::string> values;
    bool wellFormed = true;
    for (std::size_t i = 1; i < parts.size(); ++i) {
      if (!parts[i].empty() && !ParseValueItem(parts[i], values)) wellFormed = false;
    }
    if (!wellFormed) {
      std::cerr << "quillet-calc: items after the formula must be LETTER=VALUE\n";
      allAnswered = false;
    } else if (!window.Answer(parts[0], values)) {
      allAnswered = false;
    }
    std::cout << '\n' << std::flush;
  }
  return allAnswered ? 0 : 1;
}
