// quillet-calc --table: the value table on the command line.
#pragma once

#include <string>
#include <vector>

// args: what follows "--table": VAR FROM TO STEP FORMULA [LETTER=VALUE]...
// [--svg FILE]. Returns the exit status.
int RunTableMode(const std::vector<std::string>& args);
