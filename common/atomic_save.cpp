#include "common/atomic_save.h"

#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
// The one kernel call the saves need; declared here so that this file stays
// free of the Win32 headers. MSVCRT's rename refuses an existing target.
extern "C" __declspec(dllimport) int __stdcall MoveFileExA(const char* from, const char* to,
                                                           unsigned long flags);
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
constexpr unsigned long kMoveReplaceExisting = 0x1;
constexpr unsigned long kMoveWriteThrough = 0x8;
#endif

SaveChannel platformChannel;
SaveChannel* channel = &platformChannel;

// Flushes the stream's buffer and the system's cache of the file to the disk.
bool FlushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

// Read-only also where the platform would let us replace it (root, or a
// rename over it); a folder in the file's place is never replaced either.
bool LeftAlone(const char* path) {
  struct stat info;
  if (stat(path, &info) != 0) return false;
#ifdef _WIN32
  return (info.st_mode & _S_IFREG) == 0 || (info.st_mode & _S_IWRITE) == 0;
#else
  return !S_ISREG(info.st_mode) || (info.st_mode & S_IWUSR) == 0;
#endif
}

}  // namespace

bool SaveChannel::Write(std::FILE* file, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

bool SaveChannel::Replace(const char* from, const char* to) {
#ifdef _WIN32
  return MoveFileExA(from, to, kMoveReplaceExisting | kMoveWriteThrough) != 0;
#else
  return std::rename(from, to) == 0;
#endif
}

void SetSaveChannel(SaveChannel* replacement) {
  channel = replacement ? replacement : &platformChannel;
}

bool SaveFileAtomically(const char* path, const std::vector<std::string>& pieces) {
  if (LeftAlone(path)) return false;
  const std::string fresh = std::string(path) + ".new";
  std::FILE* file = std::fopen(fresh.c_str(), "wb");
  if (!file) return false;
  bool written = true;
  for (const std::string& piece : pieces) {
    if (!piece.empty()) written = channel->Write(file, piece);
    if (!written) break;
  }
  if (written) written = FlushToDisk(file);
  if (std::fclose(file) != 0) written = false;
  if (written && channel->Replace(fresh.c_str(), path)) return true;
  std::remove(fresh.c_str());
  return false;
}
