// quillet-calc's library modes: the record files of a folder as text, and
// record files built from such a text.
//   quillet-calc --list-library [DIR]
//   quillet-calc --build-library FILE [DIR]
#pragma once

#include <string>
#include <vector>

// True when `args` (the command line after --lang) starts with a library mode.
bool IsLibraryMode(const std::vector<std::string>& args);
// The mode's exit status: 0 done, 1 refused with a message line, 2 bad usage.
int RunLibraryMode(const std::vector<std::string>& args);
