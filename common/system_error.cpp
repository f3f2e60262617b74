#include "common/system_error.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include "common/codepage.h"

// Declared here so that this file stays free of the Win32 headers.
extern "C" __declspec(dllimport) unsigned long __stdcall GetLastError();
extern "C" __declspec(dllimport) void __stdcall SetLastError(unsigned long code);
extern "C" __declspec(dllimport) unsigned long __stdcall FormatMessageW(
    unsigned long flags, const void* source, unsigned long id, unsigned long language,
    wchar_t* buffer, unsigned long size, void* arguments);
#endif

namespace {

std::string Trimmed(std::string text) {
  while (!text.empty() &&
         (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

}  // namespace

std::string ErrnoText(int error) {
  const char* text = std::strerror(error);
  return Trimmed(text ? text : "");
}

#ifdef _WIN32

std::string SystemErrorText(unsigned long code) {
  constexpr unsigned long kFromSystem = 0x1000, kIgnoreInserts = 0x200;
  wchar_t buffer[256];
  const unsigned long length = FormatMessageW(kFromSystem | kIgnoreInserts, nullptr, code, 0,
                                              buffer, sizeof buffer / sizeof buffer[0], nullptr);
  // Wide, then converted: the system's code page need not be Windows-1252.
  std::string text = Trimmed(Cp1252Text(std::wstring_view(buffer, length)));
  return text.empty() ? "error " + std::to_string(code) : text;
}

unsigned long LastSystemError() {
  return GetLastError();
}

void ClearSystemError() {
  SetLastError(0);
}

#else

std::string SystemErrorText(unsigned long code) {
  return ErrnoText(static_cast<int>(code));
}

unsigned long LastSystemError() {
  return static_cast<unsigned long>(errno);
}

void ClearSystemError() {
  errno = 0;
}

#endif
