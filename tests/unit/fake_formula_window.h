// A recording stand-in for the main window: texts, visibility, focus, menu
// states and the messages shown, as a person would see them.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/formula_cycle.h"
#include "resources/ids.h"

struct ShownMessage {
  std::string caption, text;
  int style;
};

class FakeFormulaWindow : public FormulaWindow {
 public:
  FakeFormulaWindow() {
    // The start state of the window: parameter fields and result 2 hidden.
    for (int id : {IDC_FORMULA, IDC_RESULT1, IDC_RESULT1_LABEL, IDC_NAME_LABEL, IDC_RESULT2_LABEL,
                   IDC_COMMENT, IDC_COMPUTE, IDC_NEW, IDC_OK})
      visible.insert(id);
  }

  ShortText ItemText(int id) override { return ShortText(texts[id]).Left(254); }
  void SetText(int id, std::string_view text) override {
    texts[id] = std::string(ShortText(text).view());
    if (id == IDC_FORMULA) FormulaEdited(*this);  // the change notification re-enters
  }
  void Show(int id) override { visible.insert(id); }
  void Hide(int id) override { visible.erase(id); }
  void Focus(int id) override { focus = id; }
  bool HasFocus(int id) override { return focus == id; }
  void EnableMenuItem(int id, bool enabled) override { menuEnabled[id] = enabled; }
  void ShowMessage(std::string_view caption, std::string_view text) override {
    messages.push_back({std::string(caption), std::string(text), 0});
  }
  void ShowStyledMessage(std::string_view caption, std::string_view text,
                         std::uint16_t style) override {
    messages.push_back({std::string(caption), std::string(text), style});
  }

  // What a user does.
  void Type(int id, const std::string& text) { SetText(id, text); }
  void TypeFormulaAndOk(const std::string& text) {
    Type(IDC_FORMULA, text);
    focus = IDC_FORMULA;
    OkFormula(*this);
  }
  bool Visible(int id) const { return visible.count(id) > 0; }

  std::map<int, std::string> texts;
  std::set<int> visible;
  std::map<int, bool> menuEnabled;
  std::vector<ShownMessage> messages;
  int focus = 0;
};

// The cycle's globals outlive a window; each test starts from the program's start.
inline void ResetFormulaState() {
  CurrentFormula = {"", "", ""};
  FormulaCount = 1;
  Formulas[1] = Formulas[2] = "";
  Results[1] = Results[2] = 0;
  ParamCount = 0;
  ParamNames.Clear();
  for (int i = 1; i <= 4; ++i) ParamValues[i] = "0";
}
