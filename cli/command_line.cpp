// A reader of our own rather than a library: none of them knows that "-3" is
// a formula, and the Windows programs are to shed the stream library.
#include "cli/command_line.h"

#include <string_view>

namespace {

bool IsOption(std::string_view arg) {
  if (arg.size() < 2 || arg[0] != '-') return false;  // "-" alone is a formula
  const char next = arg[1];
  return !((next >= '0' && next <= '9') || next == '(' || next == '.');
}

bool ModeOption(std::string_view arg, CalcMode& mode) {
  if (arg == "--table") {
    mode = CalcMode::Table;
  } else if (arg == "--list-library") {
    mode = CalcMode::ListLibrary;
  } else if (arg == "--build-library") {
    mode = CalcMode::BuildLibrary;
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool ReadCommandLine(const std::vector<std::string>& args, CommandLine& line, std::string& why) {
  bool optionsEnded = false;
  std::string modeOption;  // the option that chose the mode, for the message on a second one
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || !IsOption(arg)) {
      line.operands.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-h" || arg == "--help") {
      line.mode = CalcMode::Help;
      return true;
    } else if (arg == "--version") {
      line.mode = CalcMode::Version;
      return true;
    } else if (arg == "--lang" || arg == "--svg") {
      // The value is taken as it is, even when it starts with "-".
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        why = arg + " needs a value";
        return false;
      }
      const std::string& value = args[++i];
      if (arg == "--svg") {
        line.svgFile = value;
      } else if (value.size() == 1 && value[0] >= '0' && value[0] <= '2') {
        line.language = value[0] - '0';
      } else {
        why = "--lang takes 0, 1 or 2, not " + value;
        return false;
      }
    } else if (CalcMode mode = CalcMode::Formulas; ModeOption(arg, mode)) {
      if (!modeOption.empty() && modeOption != arg) {
        why = modeOption + " and " + arg + " do not go together";
        return false;
      }
      modeOption = arg;
      line.mode = mode;
    } else {
      why = "unknown option " + arg;
      return false;
    }
  }
  if (!line.svgFile.empty() && line.mode != CalcMode::Table) {
    why = "--svg goes with --table";
    return false;
  }
  return true;
}

bool ReadLetterValue(std::string_view item, LetterValues& values) {
  if (item.size() < 2 || item[1] != '=') return false;
  values[item[0]] = std::string(item.substr(2));
  return true;
}
