// quillet-calc's command line. Options may stand anywhere and "--" ends them.
// A text that starts with "-" and a digit, "(" or "." is an operand, never an
// option: "-3", "-.5" and "-(1+2)" are formulas and values.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

enum class CalcMode { Formulas, Table, ListLibrary, BuildLibrary, Help, Version };

struct CommandLine {
  CalcMode mode = CalcMode::Formulas;
  int language = 2;                   // --lang
  std::string svgFile;                // --svg, with --table only
  std::vector<std::string> operands;  // everything that is not an option, in order
};

// Reads the arguments (without the program's name) left to right; -h, --help
// and --version end the reading. False on misuse, with `why` saying what is wrong.
bool ReadCommandLine(const std::vector<std::string>& args, CommandLine& line, std::string& why);

// Values given as LETTER=VALUE, by letter.
using LetterValues = std::map<char, std::string>;
// Reads one "x=2.5" item into values; false when the item is not of that form.
bool ReadLetterValue(std::string_view item, LetterValues& values);
