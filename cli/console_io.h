// quillet-calc's contact with the system: its command line, standard input,
// output and error. Every text here is UTF-8.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// The command line without the program's name.
std::vector<std::string> Arguments(int argc, char** argv);

// Redirected, the bytes go out as they are. In a Windows console they are
// written as UTF-16, so that accents show whatever the console's code page.
void WriteOutput(std::string_view utf8);
void WriteError(std::string_view utf8);
void FlushOutput();

// One line of standard input without its line end; false at the end of input.
bool ReadInputLine(std::string& line);

// Files and folders named on the command line. In Windows the names reach
// the system as UTF-16: the narrow calls would read them in the ANSI code
// page, where "física.txt" is another name or none.
std::FILE* OpenArgumentFile(const std::string& utf8, const char* mode);
bool EnterArgumentFolder(const std::string& utf8);
// A folder made when missing; false when it is not there afterwards.
bool MakeArgumentFolder(const std::string& utf8);
