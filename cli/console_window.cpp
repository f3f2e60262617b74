#include "cli/console_window.h"

#include "cli/console_io.h"
#include "common/codepage.h"
#include "resources/ids.h"

void PrintLine(std::string_view line) {
  WriteOutput(Cp1252ToUtf8(line) + '\n');
}

void PrintMessage(std::string_view caption, std::string_view text) {
  std::string line = "message\t" + std::string(caption) + "\t";
  for (char c : text) {
    if (c == '\r') {
      line += "\\r";
    } else if (c == '\n') {
      line += "\\n";
    } else {
      line += c;
    }
  }
  PrintLine(line);
}

void ConsoleWindow::SetText(int id, std::string_view text) {
  texts_[id] = ShortText(text);
  if (id == IDC_FORMULA) FormulaEdited(*this);  // as the window's change notification
  if ((id == IDC_RESULT1 || id == IDC_RESULT2) && !text.empty()) {
    int label = id == IDC_RESULT1 ? IDC_RESULT1_LABEL : IDC_RESULT2_LABEL;
    PrintLine(texts_[label].str() + std::string(text));
    ++results_;
  }
}

void ConsoleWindow::ShowMessage(std::string_view caption, std::string_view text) {
  PrintMessage(caption, text);
  ++messages_;
}

bool ConsoleWindow::Accept(const std::string& formula) {
  messages_ = results_ = 0;
  texts_[IDC_RESULT1_LABEL] = "f=";
  texts_[IDC_RESULT2_LABEL] = "f2=";
  SetText(IDC_FORMULA, formula);
  focus_ = IDC_FORMULA;
  OkFormula(*this);
  return messages_ == 0;
}

bool ConsoleWindow::Answer(const std::string& formula, const std::map<char, std::string>& values) {
  for (int i = 1; i <= kMaxParams; ++i) ParamValues[i] = "0";  // each line stands alone
  Accept(formula);
  for (int k = 1; k <= ParamCount && k <= kMaxParams; ++k) {
    auto given = values.find(ParamNames[k - 1]);
    SetText(IDC_PARAM_EDIT1 + k - 1, given == values.end() ? "0" : given->second);
    focus_ = IDC_PARAM_EDIT1 + k - 1;
    EnterOutsideFormula(*this);
  }
  return messages_ == 0 && results_ > 0;
}
