#include "cli/console_io.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
// after windows.h, which it needs
#include <direct.h>
#include <shellapi.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
std::string WideToUtf8(const wchar_t* wide) {
  int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string text(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
  return text;
}

std::wstring Utf8ToWide(const std::string& text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(size > 0 ? size - 1 : 0, L'\0');
  if (size > 1) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), size);
  return wide;
}

// The console behind a standard handle, or nullptr when it is redirected.
HANDLE ConsoleOf(DWORD standardHandle) {
  HANDLE handle = GetStdHandle(standardHandle);
  DWORD mode = 0;
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
    return nullptr;
  }
  return handle;
}

void WriteConsoleUtf8(HANDLE console, std::string_view utf8) {
  // CR before each LF, as the C runtime's text mode writes to a file.
  std::string text;
  text.reserve(utf8.size() + 8);
  for (char c : utf8) {
    if (c == '\n') text += '\r';
    text += c;
  }
  int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return;
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  // Older consoles refuse long writes: a few thousand characters at a time,
  // never splitting a surrogate pair.
  const std::size_t kChunk = 4096;
  std::size_t done = 0;
  while (done < wide.size()) {
    std::size_t count = wide.size() - done < kChunk ? wide.size() - done : kChunk;
    if (count > 1 && done + count < wide.size() && IS_HIGH_SURROGATE(wide[done + count - 1])) {
      --count;
    }
    DWORD written = 0;
    if (!WriteConsoleW(console, wide.data() + done, static_cast<DWORD>(count), &written, nullptr) ||
        written == 0) {
      return;
    }
    done += written;
  }
}
#endif

void Write(std::FILE* stream, std::string_view utf8) {
#ifdef _WIN32
  static const HANDLE outputConsole = ConsoleOf(STD_OUTPUT_HANDLE);
  static const HANDLE errorConsole = ConsoleOf(STD_ERROR_HANDLE);
  HANDLE console = stream == stdout ? outputConsole : errorConsole;
  if (console != nullptr) {
    std::fflush(stream);  // anything the C runtime still holds goes first
    WriteConsoleUtf8(console, utf8);
    return;
  }
#endif
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

}  // namespace

std::vector<std::string> Arguments(int argc, char** argv) {
  std::vector<std::string> args;
#ifdef _WIN32
  // The narrow argv is in the ANSI code page; take the wide one and make it UTF-8.
  (void)argv;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) args.push_back(WideToUtf8(wide[i]));
  LocalFree(wide);
#else
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
#endif
  (void)argc;
  return args;
}

void WriteOutput(std::string_view utf8) {
  Write(stdout, utf8);
}

void WriteError(std::string_view utf8) {
  Write(stderr, utf8);
}

void FlushOutput() {
  std::fflush(stdout);
}

bool ReadInputLine(std::string& line) {
  line.clear();
  int c = std::getc(stdin);
  if (c == EOF) return false;
  while (c != EOF && c != '\n') {
    line += static_cast<char>(c);
    c = std::getc(stdin);
  }
  return true;
}

#ifdef _WIN32

std::FILE* OpenArgumentFile(const std::string& utf8, const char* mode) {
  return _wfopen(Utf8ToWide(utf8).c_str(), Utf8ToWide(mode).c_str());
}

bool EnterArgumentFolder(const std::string& utf8) {
  return _wchdir(Utf8ToWide(utf8).c_str()) == 0;
}

bool MakeArgumentFolder(const std::string& utf8) {
  const std::wstring name = Utf8ToWide(utf8);
  _wmkdir(name.c_str());
  const DWORD attributes = GetFileAttributesW(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

#else

std::FILE* OpenArgumentFile(const std::string& utf8, const char* mode) {
  return std::fopen(utf8.c_str(), mode);
}

bool EnterArgumentFolder(const std::string& utf8) {
  return chdir(utf8.c_str()) == 0;
}

bool MakeArgumentFolder(const std::string& utf8) {
  mkdir(utf8.c_str(), 0777);
  struct stat info;
  return stat(utf8.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

#endif
