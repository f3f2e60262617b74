#include "tools/main_menu_win.h"

#include "resources/ids.h"
#include "tools/tool_list.h"
#include "tools/tools_editor_win.h"
#include "tools/tools_win.h"

HMENU MainMenu = nullptr;
HMENU ToolsMenu = nullptr;

void InitMainMenu(HWND window, const char* menuName, int position) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  // A dialog template may already have attached a copy; only the attached menu
  // is destroyed with the window, so the replaced one is ours to free.
  HMENU previous = GetMenu(window);
  MainMenu = LoadMenuA(instance, menuName);
  SetMenu(window, MainMenu);
  if (previous && previous != MainMenu) DestroyMenu(previous);

  const int count = MainMenu ? GetMenuItemCount(MainMenu) : 0;
  if (count < position) position = count;
  ToolsMenu = position > 0 ? GetSubMenu(MainMenu, position - 1) : nullptr;
  if (LoadTools()) RebuildToolsMenu(ToolsMenu, ToolMenuBase);
}

void RebuildToolsMenu(HMENU menu, int base) {
  if (!menu) return;
  for (int position = GetMenuItemCount(menu) - 1; position >= 0; --position) {
    if (GetMenuItemID(menu, position) <= static_cast<UINT>(base)) break;
    DeleteMenu(menu, position, MF_BYPOSITION);
  }
  for (std::uint16_t i = 1; i <= ToolCount; ++i) {
    AppendMenuA(menu, MF_STRING, base + i, ToolList[i].Title.c_str());
  }
}

bool HandleToolsCommand(std::uint16_t id) {
  if (id == IDM_TOOLS_EDIT) {
    if (OpenToolsEditor() == 1) RebuildToolsMenu(ToolsMenu, ToolMenuBase);
    return true;
  }
  if (id >= ToolMenuBase && id <= IDM_TOOL_LAST) {
    const int slot = id - ToolMenuBase;
    if (slot >= 1 && slot <= ToolCount) LaunchTool(ToolList[slot]);
    return true;
  }
  return false;
}
