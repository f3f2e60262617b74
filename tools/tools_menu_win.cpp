#include "tools/tools_menu_win.h"

#include <string>

#include "common/codepage.h"
#include "resources/ids.h"
#include "tools/tool_list.h"
#include "tools/tools_editor_win.h"
#include "tools/tools_win.h"

HMENU ToolsMenu = nullptr;

void InitToolsMenu(HMENU popup) {
  ToolsMenu = popup;
  if (LoadTools()) RebuildToolsMenu(ToolsMenu);
}

namespace {

// A menu takes "&" for the mark of the next letter; "&&" shows one "&".
std::string MenuItemText(std::string_view title) {
  std::string text;
  for (char c : title) {
    text += c;
    if (c == '&') text += '&';
  }
  return text;
}

}  // namespace

void RebuildToolsMenu(HMENU menu) {
  if (!menu) return;
  for (int position = GetMenuItemCount(menu) - 1; position >= 0; --position) {
    if (GetMenuItemID(menu, position) < static_cast<UINT>(IDM_TOOL_FIRST)) break;
    DeleteMenu(menu, position, MF_BYPOSITION);
  }
  for (std::uint16_t i = 1; i <= ToolCount; ++i) {
    AppendMenuW(menu, MF_STRING, IDM_TOOL_FIRST - 1 + i,
                WideText(MenuItemText(ToolList[i].Title)).c_str());
  }
}

bool HandleToolsCommand(std::uint16_t id) {
  if (id == IDM_TOOLS_EDIT) {
    // A list that could not be read at the start (a program held the file)
    // may read now; the menu shows it at once, as the editor will.
    if (!ToolsUnread.empty() && LoadTools()) RebuildToolsMenu(ToolsMenu);
    if (OpenToolsEditor() == 1) RebuildToolsMenu(ToolsMenu);
    return true;
  }
  // The items count from the id below the first (slot 0, never in use).
  if (id >= IDM_TOOL_FIRST - 1 && id <= IDM_TOOL_LAST) {
    const int slot = id - (IDM_TOOL_FIRST - 1);
    if (slot >= 1 && slot <= ToolCount) LaunchTool(ToolList[slot]);
    return true;
  }
  return false;
}
