// The main window without a screen, for quillet-calc, the tests, the
// benchmarks and the fuzz targets: what the formula cycle writes is kept, and
// what a person would see (texts, shown fields, focus, menu states, message
// boxes) is recorded. quillet-calc prints what it needs as it comes.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/formula_cycle.h"
#include "resources/ids.h"  // the ids its users read the texts by

struct ShownMessage {
  std::string caption, text;
  std::uint32_t style;  // 0: OK and no icon
};

class HeadlessFormulaWindow : public FormulaWindow {
 public:
  // As the window opens: the parameter fields and result 2 hidden, the focus
  // in the formula field.
  HeadlessFormulaWindow();

  ShortText ItemText(int id) override;
  // The formula field's change re-enters the cycle, as the window's
  // change notification does.
  void SetText(int id, std::string_view text) override;
  void Show(int id) override { visible.insert(id); }
  void Hide(int id) override { visible.erase(id); }
  void Focus(int id) override { focus = id; }
  bool HasFocus(int id) override { return focus == id; }
  void EnableMenuItem(int id, bool enabled) override { menuEnabled[id] = enabled; }
  void ShowMessage(std::string_view caption, std::string_view text) override;
  void ShowStyledMessage(std::string_view caption, std::string_view text,
                         std::uint32_t style) override;

  // What a person does: types into a field; types a formula and presses Ok.
  void Type(int id, std::string_view text) { SetText(id, text); }
  void TypeFormulaAndOk(std::string_view formula);
  bool Visible(int id) const { return visible.count(id) > 0; }

  std::map<int, std::string> texts;
  std::set<int> visible;
  std::map<int, bool> menuEnabled;
  std::vector<ShownMessage> messages;
  int focus;

 protected:
  // Told of each text set and each message as it comes.
  virtual void TextSet(int, std::string_view) {}
  virtual void MessageShown(const ShownMessage&) {}
};

// The formula typed and accepted with Ok where there is no main window;
// the number of messages that it showed.
int AcceptFormulaHeadless(std::string_view formula);
