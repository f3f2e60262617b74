// quillet-calc's view of the main window, and what its modes share.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "common/short_text.h"
#include "engine/formula_cycle.h"

// The main window as text: results and messages are printed as they appear.
class ConsoleWindow : public FormulaWindow {
 public:
  ShortText ItemText(int id) override { return texts_[id].Left(254); }
  void SetText(int id, std::string_view text) override;
  void Show(int) override {}
  void Hide(int) override {}
  void Focus(int id) override { focus_ = id; }
  bool HasFocus(int id) override { return focus_ == id; }
  void EnableMenuItem(int, bool) override {}
  void ShowMessage(std::string_view caption, std::string_view text) override;
  void ShowStyledMessage(std::string_view caption, std::string_view text, std::uint16_t) override {
    ShowMessage(caption, text);
  }

  // Types the formula and presses Ok, as a user would. True when it was
  // accepted without a message.
  bool Accept(const std::string& formula);
  // One formula as a user would do it: type it, Ok, then each value and Enter.
  // True when results came out and no message was shown.
  bool Answer(const std::string& formula, const std::map<char, std::string>& values);

 private:
  std::map<int, ShortText> texts_;
  int focus_ = 0;
  int messages_ = 0;
  int results_ = 0;
};

// One line of output, Windows-1252 inside, UTF-8 on the way out.
void PrintLine(std::string_view line);
// "message<TAB>caption<TAB>text", CR and LF in the text written as \r and \n.
void PrintMessage(std::string_view caption, std::string_view text);
