// The main window's part where there is no main window (table tests,
// benchmarks, fuzzing): a formula typed and accepted with Ok. Messages are
// counted, not shown.
#pragma once

#include <string_view>

#include "engine/formula_cycle.h"
#include "resources/ids.h"

class SilentFormulaWindow final : public FormulaWindow {
 public:
  ShortText ItemText(int) override { return text_; }
  void SetText(int id, std::string_view text) override {
    if (id == IDC_FORMULA) text_ = text;
  }
  void Show(int) override {}
  void Hide(int) override {}
  void Focus(int) override {}
  bool HasFocus(int id) override { return id == IDC_FORMULA; }
  void EnableMenuItem(int, bool) override {}
  void ShowMessage(std::string_view, std::string_view) override { ++messages; }
  void ShowStyledMessage(std::string_view, std::string_view, std::uint16_t) override { ++messages; }

  int messages = 0;

 private:
  ShortText text_;
};

// Accepts the formula as Ok in the main window does; returns the number of
// messages that showed.
inline int AcceptFormulaSilently(std::string_view formula) {
  SilentFormulaWindow window;
  window.SetText(IDC_FORMULA, formula);
  OkFormula(window);
  return window.messages;
}
