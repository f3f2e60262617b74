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

void ConsoleWindow::TextSet(int id, std::string_view text) {
  if ((id == IDC_RESULT1 || id == IDC_RESULT2) && !text.empty()) {
    if (printResults_) {
      const int label = id == IDC_RESULT1 ? IDC_RESULT1_LABEL : IDC_RESULT2_LABEL;
      PrintLine(texts[label] + std::string(text));
    }
    ++results_;
  }
}

void ConsoleWindow::MessageShown(const ShownMessage& message) {
  PrintMessage(message.caption, message.text);
}

bool ConsoleWindow::Accept(const std::string& formula) {
  messages.clear();
  results_ = 0;
  texts[IDC_RESULT1_LABEL] = "f=";
  texts[IDC_RESULT2_LABEL] = "f2=";
  TypeFormulaAndOk(formula);
  return messages.empty();
}

bool ConsoleWindow::Answer(const std::string& formula, const LetterValues& values) {
  for (int i = 1; i <= kMaxParams; ++i) ParamValues[i] = "0";  // each line stands alone
  Accept(formula);
  for (int k = 1; k <= ParamCount && k <= kMaxParams; ++k) {
    auto given = values.find(ParamNames[k - 1]);
    Type(IDC_PARAM_EDIT1 + k - 1, given == values.end() ? "0" : given->second);
    focus = IDC_PARAM_EDIT1 + k - 1;
    EnterOutsideFormula(*this);
  }
  return messages.empty() && results_ > 0;
}
