#include "common/atomic_save.h"

#include <cerrno>
#include <cstring>

#include "common/language.h"
#include "common/named_files.h"

#ifdef _WIN32
#include <io.h>
// The system's code of the last failure; declared here so that this file
// stays free of the Win32 headers.
extern "C" __declspec(dllimport) unsigned long __stdcall GetLastError();
#else
#include <unistd.h>
#endif

namespace {

SaveChannel platformChannel;
SaveChannel* channel = &platformChannel;

constexpr Wording kReadOnly = {
    {"el fitxer és només de lectura", "the file is read-only", "el archivo es de solo lectura"}};
constexpr Wording kFolderInTheWay = {{"al seu lloc hi ha una carpeta",
                                      "a folder stands in its place",
                                      "en su lugar hay una carpeta"}};
constexpr Wording kNotAFile = {{"al seu lloc hi ha una cosa que no és un fitxer",
                                "something that is not a file stands in its place",
                                "en su lugar hay algo que no es un archivo"}};
constexpr Wording kNoFolder = {
    {"la carpeta no existeix", "the folder does not exist", "la carpeta no existe"}};
constexpr Wording kNoAccess = {{"accés denegat: el fitxer és en ús o no s'hi pot escriure",
                                "access denied: the file is in use or cannot be written",
                                "acceso denegado: el archivo está en uso o no se puede escribir"}};
constexpr Wording kInUse = {{"el fitxer és en ús per un altre programa",
                             "the file is in use by another program",
                             "el archivo está en uso por otro programa"}};
constexpr Wording kDiskFull = {{"el disc és ple", "the disk is full", "el disco está lleno"}};
constexpr Wording kNotWritten = {{"no s'ha pogut escriure el fitxer sencer",
                                  "the file could not be written whole",
                                  "no se ha podido escribir el archivo completo"}};
constexpr Wording kSystemError = {{"error del sistema ", "system error ", "error del sistema "}};
constexpr Wording kReadDenied = {
    {"accés denegat: el fitxer és en ús per un altre programa o no es pot llegir",
     "access denied: the file is in use by another program or cannot be read",
     "acceso denegado: el archivo está en uso por otro programa o no se puede leer"}};
constexpr Wording kNotRead = {{"no s'ha pogut llegir el fitxer sencer",
                               "the file could not be read whole",
                               "no se ha podido leer el archivo completo"}};
// The save's own file beside the old one: named, since the user must move it.
constexpr Wording kTemporaryIs = {
    {" (el fitxer provisional del desament): ", " (the save's temporary file): ",
     " (el archivo provisional del guardado): "}};

void Tell(ShortText* whyNot, std::string_view reason) {
  if (whyNot) *whyNot = ShortText(reason);
}

// The C library's error, in our words where we have them.
void TellErrno(ShortText* whyNot, int error, const Wording& otherwise) {
  switch (error) {
    case 0:
      return Tell(whyNot, otherwise.Get());
    case ENOENT:
    case ENOTDIR:
      return Tell(whyNot, kNoFolder.Get());
    case EACCES:
    case EPERM:
      return Tell(whyNot, kNoAccess.Get());
    case ENOSPC:
      return Tell(whyNot, kDiskFull.Get());
    default:
      return Tell(whyNot, std::strerror(error));
  }
}

// Why the final replacement failed, from the system's own code.
void TellReplaceFailure(ShortText* whyNot) {
#ifdef _WIN32
  const unsigned long error = GetLastError();
  switch (error) {
    case 0:  // a channel that refused without asking the system
      return Tell(whyNot, kNotWritten.Get());
    case 2:  // ERROR_FILE_NOT_FOUND
    case 3:  // ERROR_PATH_NOT_FOUND
      return Tell(whyNot, kNoFolder.Get());
    case 5:  // ERROR_ACCESS_DENIED
      return Tell(whyNot, kNoAccess.Get());
    case 32:  // ERROR_SHARING_VIOLATION
    case 33:  // ERROR_LOCK_VIOLATION
      return Tell(whyNot, kInUse.Get());
    case 39:   // ERROR_HANDLE_DISK_FULL
    case 112:  // ERROR_DISK_FULL
      return Tell(whyNot, kDiskFull.Get());
    default:
      return Tell(whyNot, kSystemError.Get() + std::to_string(error));
  }
#else
  TellErrno(whyNot, errno, kNotWritten);
#endif
}

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
// The temporary file beside it is named in the reason.
bool LeftAlone(const std::string& path, ShortText* whyNot, bool temporary) {
  const FileFacts facts = LookUpFile(path);
  if (!facts.exists || (facts.regular && facts.writable)) return false;
  const std::string reason = (facts.folder    ? kFolderInTheWay
                              : facts.regular ? kReadOnly
                                              : kNotAFile)
                                 .Get();
  Tell(whyNot, temporary ? path + kTemporaryIs.Get() + reason : reason);
  return true;
}

}  // namespace

bool SaveChannel::Write(std::FILE* file, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

bool SaveChannel::Replace(const char* from, const char* to) {
  return ReplaceNamedFile(from, to);
}

void SetSaveChannel(SaveChannel* replacement) {
  channel = replacement ? replacement : &platformChannel;
}

ShortText WhyUnreadable(const FileFacts& facts, int error) {
  if (facts.exists && !facts.regular) {
    return ShortText((facts.folder ? kFolderInTheWay : kNotAFile).Get());
  }
  switch (error) {
    case 0:
      return ShortText(kNotRead.Get());
    case EACCES:
    case EPERM:
      return ShortText(kReadDenied.Get());
    default:
      return ShortText(std::strerror(error));
  }
}

bool PrepareSave(const char* path, const std::vector<std::string>& pieces, ShortText* whyNot) {
  if (LeftAlone(path, whyNot, false)) return false;
  const std::string fresh = std::string(path) + ".new";
  // Only ever a file of our own beside the old one: never a device or a pipe.
  if (LeftAlone(fresh, whyNot, true)) return false;
  errno = 0;
  std::FILE* file = OpenNamedFile(fresh, "wb");
  if (!file) {
    TellErrno(whyNot, errno, kNotWritten);
    return false;
  }
  errno = 0;  // what the opening left there is not a failure of ours
  bool written = true;
  for (const std::string& piece : pieces) {
    if (!piece.empty()) written = channel->Write(file, piece);
    if (!written) break;
  }
  if (written) written = FlushToDisk(file);
  if (std::fclose(file) != 0) written = false;
  if (written) return true;
  TellErrno(whyNot, errno, kNotWritten);
  RemoveNamedFile(fresh);
  return false;
}

bool FinishSave(const char* path, ShortText* whyNot) {
  const std::string fresh = std::string(path) + ".new";
  if (channel->Replace(fresh.c_str(), path)) return true;
  TellReplaceFailure(whyNot);
  RemoveNamedFile(fresh);
  return false;
}

void AbandonSave(const char* path) {
  RemoveNamedFile(std::string(path) + ".new");
}

bool SaveFileAtomically(const char* path, const std::vector<std::string>& pieces,
                        ShortText* whyNot) {
  return PrepareSave(path, pieces, whyNot) && FinishSave(path, whyNot);
}
