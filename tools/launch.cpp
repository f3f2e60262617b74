#include "tools/launch.h"

namespace {

constexpr std::string_view kProgramMark = ".exe";

// The document and its parameters, split where the text says.
std::string OpenSplit(LaunchPlatform& platform, std::string_view line) {
  if (line.size() > 1 && line.front() == '"') {
    const std::size_t close = line.find('"', 1);
    if (close != std::string_view::npos) {
      std::string_view rest = line.substr(close + 1);
      if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
      return platform.OpenDocument(line.substr(1, close - 1), rest);
    }
  }
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos) return platform.OpenDocument(line, {});
  return platform.OpenDocument(line.substr(0, space), line.substr(space + 1));
}

std::string Start(LaunchPlatform& platform, std::string_view line) {
  if (line.empty()) return kNothingToStart.Get();
  const bool program = line.find(kProgramMark) != std::string_view::npos;
  if (platform.FileExists(line)) {
    if (!program) return platform.OpenDocument(line, {});
    // Quoted, so that the system does not take the name's first word for the program.
    if (line.find(' ') != std::string_view::npos) {
      return platform.StartProgram("\"" + std::string(line) + "\"");
    }
  }
  if (program) return platform.StartProgram(line);
  return OpenSplit(platform, line);
}

}  // namespace

void RunFile(LaunchPlatform& platform, std::string_view text) {
  const ShortText cut(text);
  const std::string why = Start(platform, cut.view());
  if (why.empty()) return;
  platform.ShowMessage(kCannotStartCaption.Get(), cut.str() + "\r\n\r\n" + why + ".",
                       kCannotStartStyle);
}

void LaunchTool(LaunchPlatform& platform, ToolEntry entry) {
  const std::string remembered = platform.CurrentFolder();
  if (!entry.WorkDir.empty()) {
    // A folder that is there but cannot be entered (a plain file, no access)
    // gets the same answer as a missing one: starting elsewhere would be wrong.
    if (!platform.DirExists(entry.WorkDir) || !platform.EnterFolder(entry.WorkDir.str())) {
      platform.ShowMessage(kNoFolderCaption, entry.WorkDir, kNoFolderStyle);
      platform.EnterFolder(remembered);
      return;
    }
  }
  RunFile(platform, entry.File);
  platform.EnterFolder(remembered);
}
