#include "engine/headless_formula_window.h"

HeadlessFormulaWindow::HeadlessFormulaWindow() : focus(IDC_FORMULA) {
  for (int id : {IDC_FORMULA, IDC_RESULT1, IDC_RESULT1_LABEL, IDC_NAME_LABEL, IDC_RESULT2_LABEL,
                 IDC_COMMENT, IDC_COMPUTE, IDC_NEW, IDC_OK}) {
    visible.insert(id);
  }
}

ShortText HeadlessFormulaWindow::ItemText(int id) {
  const auto text = texts.find(id);
  return text == texts.end() ? ShortText() : ShortText(text->second).Left(254);
}

void HeadlessFormulaWindow::SetText(int id, std::string_view text) {
  texts[id] = std::string(ShortText(text).view());
  if (id == IDC_FORMULA) FormulaEdited(*this);
  TextSet(id, texts[id]);
}

void HeadlessFormulaWindow::ShowMessage(std::string_view caption, std::string_view text) {
  ShowStyledMessage(caption, text, 0);
}

void HeadlessFormulaWindow::ShowStyledMessage(std::string_view caption, std::string_view text,
                                              std::uint32_t style) {
  messages.push_back({std::string(caption), std::string(text), style});
  MessageShown(messages.back());
}

void HeadlessFormulaWindow::TypeFormulaAndOk(std::string_view formula) {
  Type(IDC_FORMULA, formula);
  focus = IDC_FORMULA;
  OkFormula(*this);
}

int AcceptFormulaHeadless(std::string_view formula) {
  HeadlessFormulaWindow window;
  window.TypeFormulaAndOk(formula);
  return static_cast<int>(window.messages.size());
}
