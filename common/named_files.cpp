#include "common/named_files.h"

#include <sys/stat.h>

#include <string>

#include "common/codepage.h"

#ifdef _WIN32
#include <direct.h>
// The one kernel call needed here; declared so that this file stays free of
// the Win32 headers. The C runtime's rename refuses an existing target.
extern "C" __declspec(dllimport) int __stdcall MoveFileExW(const wchar_t* from, const wchar_t* to,
                                                           unsigned long flags);
extern "C" __declspec(dllimport) unsigned long __stdcall GetFileAttributesW(const wchar_t* name);
extern "C" __declspec(dllimport) int __stdcall SetFileAttributesW(const wchar_t* name,
                                                                  unsigned long attributes);
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
constexpr unsigned long kMoveReplaceExisting = 0x1;
constexpr unsigned long kMoveWriteThrough = 0x8;
constexpr unsigned long kNoAttributes = 0xFFFFFFFF;
constexpr unsigned long kHiddenOrSystem = 0x2 | 0x4;
#endif

}  // namespace

#ifdef _WIN32

std::FILE* OpenNamedFile(std::string_view name, const char* mode) {
  return _wfopen(WideText(name).c_str(), WideText(mode).c_str());
}

FileFacts LookUpFile(std::string_view name) {
  struct _stat info;
  if (_wstat(WideText(name).c_str(), &info) != 0) return {};
  return {true, (info.st_mode & _S_IFREG) != 0, (info.st_mode & _S_IFDIR) != 0,
          (info.st_mode & _S_IWRITE) != 0};
}

bool RemoveNamedFile(std::string_view name) {
  return _wremove(WideText(name).c_str()) == 0;
}

// The new file takes the old one's hidden and system marks: the user set them.
bool ReplaceNamedFile(std::string_view from, std::string_view to) {
  const std::wstring target = WideText(to);
  const unsigned long marks = GetFileAttributesW(target.c_str());
  if (!MoveFileExW(WideText(from).c_str(), target.c_str(),
                   kMoveReplaceExisting | kMoveWriteThrough)) {
    return false;
  }
  if (marks != kNoAttributes && (marks & kHiddenOrSystem) != 0) {
    const unsigned long now = GetFileAttributesW(target.c_str());
    if (now != kNoAttributes) SetFileAttributesW(target.c_str(), now | (marks & kHiddenOrSystem));
  }
  return true;
}

bool MakeNamedFolder(std::string_view name) {
  return _wmkdir(WideText(name).c_str()) == 0;
}

#else

std::FILE* OpenNamedFile(std::string_view name, const char* mode) {
  return std::fopen(std::string(name).c_str(), mode);
}

FileFacts LookUpFile(std::string_view name) {
  struct stat info;
  if (stat(std::string(name).c_str(), &info) != 0) return {};
  return {true, S_ISREG(info.st_mode), S_ISDIR(info.st_mode), (info.st_mode & S_IWUSR) != 0};
}

bool RemoveNamedFile(std::string_view name) {
  return std::remove(std::string(name).c_str()) == 0;
}

bool ReplaceNamedFile(std::string_view from, std::string_view to) {
  return std::rename(std::string(from).c_str(), std::string(to).c_str()) == 0;
}

bool MakeNamedFolder(std::string_view name) {
  return mkdir(std::string(name).c_str(), 0777) == 0;
}

#endif
