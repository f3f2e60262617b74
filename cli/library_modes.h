// quillet-calc's library modes: the record files of a folder as text, and
// record files built from such a text.
//   quillet-calc --list-library [DIR]
//   quillet-calc --build-library FILE [DIR]
#pragma once

#include <string>
#include <vector>

// Each takes the operands that follow its option and returns the exit status:
// 0 done, 1 refused with a message line, 2 bad usage.
int ListLibrary(const std::vector<std::string>& operands);
int BuildLibrary(const std::vector<std::string>& operands);
