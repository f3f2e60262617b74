#include "common/atomic_save.h"

#include <sys/stat.h>

#include <cerrno>

#include "common/language.h"
#include "common/system_error.h"

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

constexpr Wording kNotAFile = {{"Al seu lloc hi ha una carpeta, no un fitxer",
                                "A folder stands in its place, not a file",
                                "En su lugar hay una carpeta, no un archivo"}};
constexpr Wording kReadOnly = {
    {"El fitxer és només de lectura", "The file is read-only", "El archivo es de solo lectura"}};
constexpr Wording kNotWritten = {
    {"No s'ha pogut escriure", "It could not be written", "No se ha podido escribir"}};
constexpr Wording kNotReplaced = {{"No s'ha pogut substituir el fitxer anterior",
                                   "The old file could not be replaced",
                                   "No se ha podido sustituir el archivo anterior"}};

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
// Returns why, or nothing when the file may be replaced.
const Wording* LeftAlone(const char* path) {
  struct stat info;
  if (stat(path, &info) != 0) return nullptr;
#ifdef _WIN32
  if ((info.st_mode & _S_IFREG) == 0) return &kNotAFile;
  if ((info.st_mode & _S_IWRITE) == 0) return &kReadOnly;
#else
  if (!S_ISREG(info.st_mode)) return &kNotAFile;
  if ((info.st_mode & S_IWUSR) == 0) return &kReadOnly;
#endif
  return nullptr;
}

// errno as the failed call left it; a channel that failed without a word
// still gets a reason.
std::string ErrnoOr(const Wording& otherwise) {
  return errno != 0 ? ErrnoText(errno) : otherwise.Get();
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

bool SaveFileAtomically(const char* path, const std::vector<std::string>& pieces,
                        std::string* why) {
  std::string reason;
  const auto fail = [&](std::string text) {
    if (why) *why = std::move(text);
    return false;
  };
  if (const Wording* refusal = LeftAlone(path)) return fail(refusal->Get());
  const std::string fresh = std::string(path) + ".new";
  errno = 0;
  std::FILE* file = std::fopen(fresh.c_str(), "wb");
  if (!file) return fail(ErrnoOr(kNotWritten));
  bool written = true;
  for (const std::string& piece : pieces) {
    errno = 0;
    if (!piece.empty()) written = channel->Write(file, piece);
    if (!written) break;
  }
  if (written) {
    errno = 0;
    written = FlushToDisk(file);
  }
  if (!written) reason = ErrnoOr(kNotWritten);
  if (std::fclose(file) != 0 && written) {
    written = false;
    reason = ErrnoOr(kNotWritten);
  }
  if (written) {
    ClearSystemError();
    if (channel->Replace(fresh.c_str(), path)) return true;
    const unsigned long code = LastSystemError();
    reason = code != 0 ? SystemErrorText(code) : kNotReplaced.Get();
  }
  std::remove(fresh.c_str());
  return fail(reason);
}
