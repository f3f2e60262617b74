// quillet-calc: the calculator's formula cycle on the command line.
//   quillet-calc [--lang N] FORMULA [LETTER=VALUE]...
//   quillet-calc [--lang N]     (formulas from standard input, one a line,
//                                LETTER=VALUE items after tabs)
// Reads and writes UTF-8; works in Windows-1252 inside, like the window.
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/language.h"
#include "common/number_text.h"
#include "engine/eval.h"
#include "engine/formula_cycle.h"
#include "resources/ids.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

// The main window as text: results and messages are printed as they appear.
class ConsoleWindow : public FormulaWindow {
 public:
  ShortText ItemText(int id) override { return texts_[id].Left(254); }
  void SetText(int id, std::string_view text) override {
    texts_[id] = ShortText(text);
    if (id == IDC_FORMULA) FormulaEdited(*this);  // as the window's change notification
    if ((id == IDC_RESULT1 || id == IDC_RESULT2) && !text.empty()) {
      int label = id == IDC_RESULT1 ? IDC_RESULT1_LABEL : IDC_RESULT2_LABEL;
      Print(texts_[label].str() + std::string(text));
      ++results_;
    }
  }
  void Show(int) override {}
  void Hide(int) override {}
  void Focus(int id) override { focus_ = id; }
  bool HasFocus(int id) override { return focus_ == id; }
  void EnableMenuItem(int, bool) override {}
  void ShowMessage(std::string_view caption, std::string_view text) override {
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
    Print(line);
    ++messages_;
  }
  void ShowStyledMessage(std::string_view caption, std::string_view text,
                         std::uint16_t) override {
    ShowMessage(caption, text);
  }

  // One formula as a user would do it: type it, Ok, then each value and Enter.
  // True when results came out and no message was shown.
  bool Answer(const std::string& formula, const std::map<char, std::string>& values) {
    messages_ = results_ = 0;
    texts_[IDC_RESULT1_LABEL] = "f=";
    texts_[IDC_RESULT2_LABEL] = "f2=";
    for (int i = 1; i <= kMaxParams; ++i) ParamValues[i] = "0";  // each line stands alone
    SetText(IDC_FORMULA, formula);
    focus_ = IDC_FORMULA;
    OkFormula(*this);
    for (int k = 1; k <= ParamCount && k <= kMaxParams; ++k) {
      auto given = values.find(ParamNames[k - 1]);
      SetText(IDC_PARAM_EDIT1 + k - 1, given == values.end() ? "0" : given->second);
      focus_ = IDC_PARAM_EDIT1 + k - 1;
      EnterOutsideFormula(*this);
    }
    return messages_ == 0 && results_ > 0;
  }

 private:
  static void Print(const std::string& line) { std::cout << Cp1252ToUtf8(line) << '\n'; }

  std::map<int, ShortText> texts_;
  int focus_ = 0;
  int messages_ = 0;
  int results_ = 0;
};

void Usage() {
  std::cerr << "usage: quillet-calc [--lang 0|1|2] [FORMULA [LETTER=VALUE]...]\n"
               "  without FORMULA, formulas are read from standard input, one a line,\n"
               "  each followed by tab-separated LETTER=VALUE items\n";
}

// "x=2.5" -> letter and value text; false when the item is not of that form.
bool ParseValueItem(const std::string& item, std::map<char, std::string>& values) {
  if (item.size() < 2 || item[1] != '=') return false;
  values[item[0]] = item.substr(2);
  return true;
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

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> parts(1);
  for (char c : line) {
    if (c == '\t') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

}  // namespace

int main(int argc, char** argv) {
  LoadMathMessages(0);
  DecimalSeparator = '.';
  LANGUAGE = 2;

  std::vector<std::string> args = Arguments(argc, argv);
  std::size_t next = 0;
  if (next < args.size() && args[next] == "--lang") {
    if (next + 1 >= args.size() || args[next + 1].size() != 1 || args[next + 1][0] < '0' ||
        args[next + 1][0] > '2') {
      Usage();
      return 2;
    }
    LANGUAGE = args[next + 1][0] - '0';
    next += 2;
  }

  ConsoleWindow window;
  if (next < args.size()) {
    std::map<char, std::string> values;
    for (std::size_t i = next + 1; i < args.size(); ++i) {
      if (!ParseValueItem(Utf8ToCp1252(args[i]), values)) {
        Usage();
        return 2;
      }
    }
    return window.Answer(Utf8ToCp1252(args[next]), values) ? 0 : 1;
  }

  bool allAnswered = true;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> parts = SplitTabs(Utf8ToCp1252(line));
    std::map<char, std::string> values;
    bool wellFormed = true;
    for (std::size_t i = 1; i < parts.size(); ++i) {
      if (!parts[i].empty() && !ParseValueItem(parts[i], values)) wellFormed = false;
    }
    if (!wellFormed) {
      std::cerr << "quillet-calc: items after the formula must be LETTER=VALUE\n";
      allAnswered = false;
    } else if (!window.Answer(parts[0], values)) {
      allAnswered = false;
    }
    std::cout << '\n' << std::flush;
  }
  return allAnswered ? 0 : 1;
}
