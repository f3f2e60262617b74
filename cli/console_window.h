// quillet-calc's view of the main window, and what its modes share.
#pragma once

#include <string>
#include <string_view>

#include "common/short_text.h"
#include "cli/command_line.h"
#include "engine/headless_formula_window.h"

// The main window as text: messages are printed as they appear, and results
// too unless the mode lists values of its own.
class ConsoleWindow final : public HeadlessFormulaWindow {
 public:
  explicit ConsoleWindow(bool printResults = true) : printResults_(printResults) {}

  // Types the formula and presses Ok, as a user would. True when it was
  // accepted without a message.
  bool Accept(const std::string& formula);
  // One formula as a user would do it: type it, Ok, then each value and Enter.
  // True when results came out and no message was shown.
  bool Answer(const std::string& formula, const LetterValues& values);

 private:
  void TextSet(int id, std::string_view text) override;
  void MessageShown(const ShownMessage& message) override;

  bool printResults_;
  int results_ = 0;
};

// One line of output, Windows-1252 inside, UTF-8 on the way out.
void PrintLine(std::string_view line);
// "message<TAB>caption<TAB>text", CR and LF in the text written as \r and \n.
void PrintMessage(std::string_view caption, std::string_view text);
