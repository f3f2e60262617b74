// The tool items of the main window's "Utilidades" popup, and the commands
// of that popup. The application owns the menu bar and hands the popup over.
#pragma once

#include <windows.h>

#include <cstdint>

// The popup the tool items go in; nullptr while there is none.
extern HMENU ToolsMenu;

// Takes the popup and, when "Tools.rel" reads well, appends one item per tool
// after its separator.
void InitToolsMenu(HMENU popup);
// Removes the items after the separator (the tool items) and appends one item
// per tool, ids IDM_TOOL_FIRST onwards.
void RebuildToolsMenu(HMENU menu);
// The editor command and the tool items; true when id was one of them.
bool HandleToolsCommand(std::uint16_t id);
