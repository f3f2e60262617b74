#include "tools/tool_list.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "common/atomic_save.h"
#include "common/codepage.h"
#include "common/named_files.h"
#include "common/records_as_read.h"
#include "common/system_error.h"

ToolEntry ToolList[MaxTools + 1];
std::uint16_t ToolCount = 0;
std::string ToolOverflow;
std::string ToolsUnread;
ToolsFileAsRead ToolsAsRead;

namespace {

constexpr char kEndOfFile = 0x1A;
constexpr std::string_view kLineEnd = "\r\n";

class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ >= bytes_.size() || bytes_[pos_] == kEndOfFile; }
  std::size_t Position() const { return pos_; }

  // A lone CR ends a line too, so a file from any system reads line by line;
  // CR CR LF, as some tools write a CR LF file over again, is one line end.
  ShortText Next() {
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && bytes_[pos_] != '\r' && bytes_[pos_] != '\n') ++pos_;
    ShortText line(bytes_.substr(start, pos_ - start));
    lineEnded_ = pos_ < bytes_.size();
    if (lineEnded_ && bytes_[pos_] == '\n') {
      ++pos_;
    } else if (lineEnded_) {
      std::size_t run = pos_;
      while (run < bytes_.size() && bytes_[run] == '\r') ++run;
      pos_ = run < bytes_.size() && bytes_[run] == '\n' && run - pos_ <= 2 ? run + 1 : pos_ + 1;
    }
    return line;
  }

  // Blank lines at the end, fewer than an entry's four, are no entry.
  bool OnlyBlankLinesLeft() const {
    LineReader rest = *this;
    for (int line = 0; line < 4; ++line) {
      if (rest.AtEnd()) return true;
      if (!rest.Next().empty()) return false;
    }
    return false;
  }
  bool LastLineEnded() const { return lineEnded_; }

  void ReadEntry(ToolEntry& entry) {
    entry.Title = Next();
    entry.File = Next();
    entry.WorkDir = Next();
    entry.Params = Next();
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
  bool lineEnded_ = false;
};

bool SameEntry(const ToolEntry& a, const ToolEntry& b) {
  return a.Title == b.Title && a.File == b.File && a.WorkDir == b.WorkDir && a.Params == b.Params;
}

std::string ReadAll(std::FILE* file) {
  std::string bytes;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  return bytes;
}

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
  out.text = TextFileToCp1252(bytes);
  const std::string& text = out.text;
  LineReader reader(text);
  while (!reader.AtEnd() && !reader.OnlyBlankLinesLeft() && out.count < MaxTools) {
    const std::size_t start = reader.Position();
    reader.ReadEntry(out.entries[out.count]);
    std::string& lines = out.lines[out.count++];
    lines.assign(text, start, reader.Position() - start);
    // An entry cut short by the end of the file is written whole.
    if (!reader.LastLineEnded()) lines.clear();
  }
  out.overflow.assign(text, reader.Position());
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
  const std::string bytes = ReadAll(file);
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
  ToolsAsRead.path = path;
  ToolsAsRead.bytes = bytes;
  ToolsAsRead.overflow = parsed.overflow;
  ToolsAsRead.entries.assign(parsed.entries, parsed.entries + parsed.count);
  ToolsAsRead.lines.assign(parsed.lines, parsed.lines + parsed.count);
  return true;
}

bool SaveToolsTo(const std::string& path, std::string* why) {
  if (!ToolsUnread.empty()) {
    if (why) *why = ToolsUnread;
    return false;
  }
  // A tool that reads as it did keeps its lines, found in load order after
  // the one used before it (moves and deletions keep the order of the rest).
  std::vector<std::string> pieces;
  const bool sameFile = path == ToolsAsRead.path;
  const std::vector<ToolEntry> none;
  const std::vector<ToolEntry>& asRead = sameFile ? ToolsAsRead.entries : none;
  std::vector<bool> used(asRead.size());
  std::size_t next = 0;
  for (std::uint16_t i = 1; i <= ToolCount; ++i) {
    const std::size_t j = FindUnused(asRead.size(), used, next, [&](std::size_t k) {
      return SameEntry(asRead[k], ToolList[i]);
    });
    // Only lines that end in LF: a lone CR before a next entry's empty title
    // would read as one line end with it.
    const bool kept = j < asRead.size();
    if (kept && !ToolsAsRead.lines[j].empty() && ToolsAsRead.lines[j].back() == '\n') {
      pieces.push_back(ToolsAsRead.lines[j]);
    } else {
      pieces.push_back(FormatTools(&ToolList[i], 1, {}));
    }
    if (kept) {
      used[j] = true;
      next = j + 1;
    }
  }
  pieces.push_back(ToolOverflow);
  // No edits: the file stays as it is, unless it changed since it was read.
  const bool unedited = sameFile && ToolCount == asRead.size() &&
                        ToolOverflow == ToolsAsRead.overflow &&
                        std::equal(asRead.begin(), asRead.end(), ToolList + 1, SameEntry);
  if (unedited) {
    std::FILE* file = OpenNamedFile(path, "rb");
    const std::string bytes = file ? ReadAll(file) : std::string();
    const bool unchanged = file && !std::ferror(file) && bytes == ToolsAsRead.bytes;
    if (file) std::fclose(file);
    if (unchanged) return true;
  }
  ShortText whyNot;
  if (SaveFileAtomically(path.c_str(), pieces, &whyNot)) {
    // What is on disk now, for the next save.
    ToolsAsRead.path = path;
    ToolsAsRead.bytes.clear();
    for (const std::string& piece : pieces) ToolsAsRead.bytes += piece;
    ToolsAsRead.overflow = ToolOverflow;
    ToolsAsRead.entries.assign(ToolList + 1, ToolList + 1 + ToolCount);
    ToolsAsRead.lines.assign(pieces.begin(), pieces.end() - 1);
    return true;
  }
  if (why) *why = whyNot.str();
  return false;
}
