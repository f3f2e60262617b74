#include "common/atomic_save.h"

#include "common/named_files.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

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
  const FileFacts facts = LookUpFile(path);
  return facts.exists && (!facts.regular || !facts.writable);
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

bool SaveFileAtomically(const char* path, const std::vector<std::string>& pieces) {
  if (LeftAlone(path)) return false;
  const std::string fresh = std::string(path) + ".new";
  std::FILE* file = OpenNamedFile(fresh, "wb");
  if (!file) return false;
  bool written = true;
  for (const std::string& piece : pieces) {
    if (!piece.empty()) written = channel->Write(file, piece);
    if (!written) break;
  }
  if (written) written = FlushToDisk(file);
  if (std::fclose(file) != 0) written = false;
  if (written && channel->Replace(fresh.c_str(), path)) return true;
  RemoveNamedFile(fresh);
  return false;
}
