// A function of a system library bound at its first use rather than when the
// program loads. Under Wine, shell32 and comdlg32 bring a dozen libraries
// along; the program needs them only when it opens a document or browses for
// a file, and a person waits for every one of them at each start.
#pragma once

#include <windows.h>

// nullptr when the library or the function is not there.
template <class Function>
Function LateFunction(const wchar_t* library, const char* name) {
  HMODULE module = LoadLibraryW(library);  // kept loaded: the function may run again
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
