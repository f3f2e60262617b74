#include "tools/launch.h"

void RunFile(LaunchPlatform& platform, std::string_view text) {
  const ShortText cut(text);
  const std::string_view line = cut.view();
  if (line.find(".exe") != std::string_view::npos) {
    platform.StartProgram(line);
    return;
  }
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos) {
    platform.OpenDocument(line, {});
  } else {
    platform.OpenDocument(line.substr(0, space), line.substr(space + 1));
  }
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
