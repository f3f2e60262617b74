#include "tools/tool_list.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include "common/atomic_save.h"
#include "common/codepage.h"
#include "common/named_files.h"
#include "common/system_error.h"

ToolEntry ToolList[MaxTools + 1];
std::uint16_t ToolCount = 0;
std::string ToolOverflow;
std::string ToolsUnread;

namespace {

constexpr char kEndOfFile = 0x1A;
constexpr std::string_view kLineEnd = "\r\n";

class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ >= bytes_.size() || bytes_[pos_] == kEndOfFile; }
  std::size_t Position() const { return pos_; }

  // A lone CR ends a line too, so a file from any system reads line by line.
  ShortText Next() {
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && bytes_[pos_] != '\r' && bytes_[pos_] != '\n') ++pos_;
    ShortText line(bytes_.substr(start, pos_ - start));
    if (pos_ < bytes_.size() && bytes_[pos_++] == '\r' && pos_ < bytes_.size() &&
        bytes_[pos_] == '\n') {
      ++pos_;
    }
    return line;
  }

  void ReadEntry(ToolEntry& entry) {
    entry.Title = Next();
    entry.File = Next();
    entry.WorkDir = Next();
    entry.Params = Next();
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace

bool AddToolEntry() {
  if (ToolCount >= MaxTools) return false;
  ToolList[++ToolCount] = ToolEntry{};
  return true;
}

void DeleteToolEntry(std::uint16_t i) {
  if (i < 1 || i > ToolCount) return;
  --ToolCount;
  for (std::uint16_t j = i; j <= ToolCount; ++j) ToolList[j] = ToolList[j + 1];
  ToolList[ToolCount + 1] = ToolEntry{};
}

void SetToolEntry(ToolEntry& entry, std::string_view title, std::string_view file,
                  std::string_view workDir, std::string_view params) {
  entry.Title = title;
  entry.File = file;
  entry.WorkDir = workDir;
  entry.Params = params;
}

void SwapToolEntries(std::uint16_t i, std::uint16_t j) {
  if (i < 1 || j < 1 || i > ToolCount || j > ToolCount) return;
  const ToolEntry kept = ToolList[i];
  ToolList[i] = ToolList[j];
  ToolList[j] = kept;
}

void ParseTools(std::string_view bytes, ParsedTools& out) {
  out.count = 0;
  out.overflow.clear();
  const std::string text = TextFileToCp1252(bytes);
  LineReader reader(text);
  while (!reader.AtEnd() && out.count < MaxTools) reader.ReadEntry(out.entries[out.count++]);
  // The rest is read only to find where the list ends; its bytes are kept.
  const std::size_t overflowStart = reader.Position();
  ToolEntry scratch;
  while (!reader.AtEnd()) reader.ReadEntry(scratch);
  out.overflow = text.substr(overflowStart, reader.Position() - overflowStart);
}

std::string FormatTools(const ToolEntry* entries, std::uint16_t count, std::string_view overflow) {
  std::string text;
  for (std::uint16_t i = 0; i < count; ++i) {
    for (const ShortText* field :
         {&entries[i].Title, &entries[i].File, &entries[i].WorkDir, &entries[i].Params}) {
      text += field->view();
      text += kLineEnd;
    }
  }
  text += overflow;
  return text;
}

bool LoadToolsFrom(const std::string& path) {
  // A folder in the file's place is no list, as a missing file is none.
  errno = 0;
  const FileFacts facts = LookUpFile(path);
  if (!facts.exists || !facts.regular) {
    const bool missing = errno == 0 || errno == ENOENT || errno == ENOTDIR;
    ToolsUnread = missing ? "" : ErrnoText(errno);
    return false;
  }
  std::FILE* file = OpenNamedFile(path, "rb");
  if (!file) {
    ToolsUnread = ErrnoText(errno);
    return false;
  }
  std::string bytes;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) {
    ToolsUnread = ErrnoText(error);
    return false;
  }

  static ParsedTools parsed;
  ParseTools(bytes, parsed);
  ToolCount = 0;
  for (std::uint16_t i = 0; i < parsed.count; ++i) {
    AddToolEntry();
    ToolList[ToolCount] = parsed.entries[i];
  }
  ToolOverflow = parsed.overflow;
  ToolsUnread.clear();
  return true;
}

bool SaveToolsTo(const std::string& path, std::string* why) {
  if (!ToolsUnread.empty()) {
    if (why) *why = ToolsUnread;
    return false;
  }
  std::vector<std::string> pieces;
  for (std::uint16_t i = 1; i <= ToolCount; ++i) pieces.push_back(FormatTools(&ToolList[i], 1, {}));
  pieces.push_back(ToolOverflow);
  ShortText whyNot;
  if (SaveFileAtomically(path.c_str(), pieces, &whyNot)) return true;
  if (why) *why = whyNot.str();
  return false;
}
