// The tool file in the current directory and the starting of tools, on the
// system.
#pragma once

#include <string>
#include <string_view>

#include "tools/launch.h"
#include "tools/tool_list.h"

inline constexpr const char* kToolsFileName = "Tools.rel";

// An entry of that name that is neither a directory nor a system file.
bool FileExists(const char* name);
// An entry of that name that is neither hidden nor system.
bool DirExists(const char* name);

// "Tools.rel" in the current directory; false when missing or unreadable
// (ToolsUnread then says why).
bool LoadTools();
// On a failure, `why` receives the reason.
bool SaveTools(std::string* why = nullptr);
// The full path of "Tools.rel", for messages.
std::string ToolsFilePath();

void RunFile(std::string_view text);
void LaunchTool(const ToolEntry& entry);

// The system by default; tests put a recorder here to see what would start.
extern LaunchPlatform* ToolLauncher;
LaunchPlatform& SystemLauncher();
