// The system's own words for a failure, as Windows-1252 text without the
// final full stop or line end, for messages that say why something failed.
#pragma once

#include <string>

// A C runtime error number (errno).
std::string ErrnoText(int error);
// A system error code (GetLastError on Windows; errno elsewhere).
std::string SystemErrorText(unsigned long code);
// The calling thread's last system error code.
unsigned long LastSystemError();
void ClearSystemError();
