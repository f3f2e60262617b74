// The main window's menu bar and its Utilidades popup, where the tool items go.
#pragma once

#include <windows.h>

extern HMENU MainMenu;
extern HMENU ToolsMenu;

// Loads the menu resource menuName, attaches it to window (the menu it
// replaces is destroyed) and finds the tools popup at the 1-based top-level
// position (the last one when there are fewer). The tool list is not read yet:
// the popup keeps only its resource items.
void InitMainMenu(HWND window, const char* menuName, int position);
