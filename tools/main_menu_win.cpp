#include "tools/main_menu_win.h"

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
}
