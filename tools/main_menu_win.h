// The main window's menu bar and its Utilidades popup, where the tool items go.
#pragma once

#include <windows.h>

#include <cstdint>

extern HMENU MainMenu;
extern HMENU ToolsMenu;

// Loads the menu resource menuName, attaches it to window (the menu it
// replaces is destroyed), finds the tools popup at the 1-based top-level
// position (the last one when there are fewer) and, when "Tools.rel" reads
// well, appends one item per tool after the popup's separator.
void InitMainMenu(HWND window, const char* menuName, int position);
// Removes the items after the separator (ids above base) and appends one item
// per tool, ids base + 1 onwards.
void RebuildToolsMenu(HMENU menu, int base);
// The editor command and the tool items; true when id was one of them.
bool HandleToolsCommand(std::uint16_t id);
