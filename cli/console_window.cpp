#include "cli/console_window.h"

#include <iostream>

#include "common/codepage.h"
#include "resources/ids.h"

#ifdef _WIN32
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>
#endif

void PrintLine(std::string_view line) {
  std::cout << Cp1252ToUtf8(std::string(line)) << '\n';
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

std::vector<std::string> Arguments(int argc, char** argv) {
  std::vector<std::string> args;
#ifdef _WIN32
  // The narrow argv is in the ANSI code page; take the wide one and make it UTF-8.
  (void)argv;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) {
    int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string s(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, s.data(), size, nullptr, nullptr);
    args.push_back(s);
  }
  LocalFree(wide);
#else
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
#endif
  (void)argc;
  return args;
}
