// The rows are printed as the dialog's list holds them; a refusal is printed
// as the message the dialog would show.
#include "cli/table.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <map>

#include "cli/command_line.h"
#include "cli/console_io.h"
#include "cli/console_window.h"
#include "common/codepage.h"
#include "engine/eval.h"
#include "resources/ids.h"
#include "table/svg_plot.h"
#include "table/value_table.h"

namespace {

// Ctrl+C: the table stops after the rows printed so far.
volatile std::sig_atomic_t Interrupted = 0;

void Interrupt(int) {
  Interrupted = 1;
}

// The rows go out as they come, a few times a second at most: a row written
// at a time would cost more than computing it.
bool FlushNowAndThen() {
  using Clock = std::chrono::steady_clock;
  static Clock::time_point last = Clock::now();
  const Clock::time_point now = Clock::now();
  if (now - last >= std::chrono::milliseconds(100)) {
    FlushOutput();
    last = now;
  }
  return Interrupted == 0;
}

class ConsoleTableView final : public TableView {
 public:
  ConsoleTableView(std::map<int, ShortText> fields, char variable, PlotCanvas* canvas)
      : fields_(std::move(fields)), variable_(variable), canvas_(canvas) {}

  ShortText ItemText(int id) override { return fields_[id].Left(254); }
  char SelectedLetter() override { return variable_; }
  void ClearRows(std::int32_t) override {}
  void AddRow(std::string_view row) override { PrintLine(row); }
  bool GoOn(std::int32_t, std::int32_t) override { return FlushNowAndThen(); }
  void ShowMessage(std::string_view caption, std::string_view text) override {
    PrintMessage(caption, text);
    refused = true;
  }
  PlotCanvas* Canvas() override { return canvas_; }
  bool refused = false;

 private:
  std::map<int, ShortText> fields_;
  char variable_;
  PlotCanvas* canvas_;
};

int Misuse(const std::string& why) {
  WriteError("quillet-calc: " + why +
             "\nusage: quillet-calc --table VAR FROM TO STEP FORMULA [LETTER=VALUE]... "
             "[--svg FILE]\n");
  return 2;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  std::FILE* file = OpenArgumentFile(path, "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int RunTableMode(const std::vector<std::string>& operands, const std::string& svgFile) {
  std::vector<std::string> args;
  for (const std::string& operand : operands) args.push_back(Utf8ToCp1252(operand));
  if (args.size() < 5) return Misuse("too few arguments");
  if (args[0].size() != 1) return Misuse("VAR is one letter");
  LetterValues constants;
  for (std::size_t i = 5; i < args.size(); ++i) {
    if (!ReadLetterValue(args[i], constants)) return Misuse("constants are LETTER=VALUE");
  }

  // The main window's part: the formula is typed and accepted; messages are
  // printed, results are not (the table lists its own values).
  ConsoleWindow window(false);
  if (!window.Accept(args[4])) return 1;  // refused, as the normal mode prints it
  // Accepted formulas without parameters show their result at once.
  if (ParamCount == 0 && window.ItemText(IDC_RESULT1).empty()) return 1;  // refused silently
  const std::size_t position = ParamNames.view().find(args[0][0]);
  if (ParamCount == 0 || position == std::string_view::npos) {
    return Misuse("the formula has no parameter " + operands[0]);
  }

  ChooseTableVariable(static_cast<std::uint8_t>(position + 1));
  std::map<int, ShortText> fields;
  fields[IDC_TABLE_FROM] = args[1];
  fields[IDC_TABLE_TO] = args[2];
  fields[IDC_TABLE_STEP] = args[3];
  for (int j = 1; j <= ConstCount; ++j) {
    auto value = constants.find(ConstLetters[j - 1]);
    fields[IDC_TABLE_CONST1 + j - 1] = value == constants.end() ? "0" : value->second;
  }
  SvgCanvas svg;
  ConsoleTableView view(fields, args[0][0], svgFile.empty() ? nullptr : &svg);
  std::signal(SIGINT, &Interrupt);
  KeepWorking = &FlushNowAndThen;  // inside a long power too
  ComputeTable(view);
  KeepWorking = nullptr;
  std::signal(SIGINT, SIG_DFL);
  if (Interrupted) {
    FlushOutput();
    return 130;  // as a shell reports a program ended by Ctrl+C
  }
  if (view.refused) return 1;
  if (!svgFile.empty() && !WriteWholeFile(svgFile, svg.Document())) {
    WriteError("quillet-calc: cannot write " + svgFile + "\n");
    return 1;
  }
  return 0;
}
