// quillet-calc --table: the value table on the command line.
#pragma once

#include <string>
#include <vector>

// operands: VAR FROM TO STEP FORMULA [LETTER=VALUE]...; the plot goes to
// svgFile as SVG unless it is empty. Returns the exit status.
int RunTableMode(const std::vector<std::string>& operands, const std::string& svgFile);
