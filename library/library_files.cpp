#include "library/library_files.h"

#include <sys/stat.h>

#include <algorithm>

#include "common/file_sync.h"

#ifdef _WIN32
#include <direct.h>
// The one kernel call the saves need; declared here so that this file stays
// free of the Win32 headers. MSVCRT's rename refuses an existing target.
extern "C" __declspec(dllimport) int __stdcall MoveFileExA(const char* from, const char* to,
                                                           unsigned long flags);
#endif

TopicRecord TopicList[MaxLibraryRecords + 1];
std::uint8_t TopicCount = 0;
FormulaRecord FormulaList[MaxLibraryRecords + 1];
std::uint8_t TopicFormulaCount = 0;
ShortText FormulaFilePath;
std::string TopicsBeyond;
std::string FormulasBeyond;
bool TopicsFileUnread = false;
bool FormulaFileUnread = false;

const char kTopicsFileName[] = "temas.rel";
const char kFormulaFolder[] = "Frmls";

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
constexpr unsigned long kMoveReplaceExisting = 0x1;
constexpr unsigned long kMoveWriteThrough = 0x8;
#else
constexpr char kSeparator = '/';
#endif

SaveChannel platformChannel;
SaveChannel* channel = &platformChannel;

// A text field of a record image: its length byte, then its bytes. A damaged
// length larger than the field reads as the field's size.
ShortText FieldText(std::string_view image, std::size_t offset, std::size_t size) {
  const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(image[offset]), size);
  return ShortText(image.substr(offset + 1, length));
}

void PutField(std::string& image, std::size_t offset, std::size_t size, const ShortText& text) {
  const std::size_t length = std::min(text.size(), size);
  image[offset] = static_cast<char>(length);
  image.replace(offset + 1, length, text.view().substr(0, length));
}

template <class Record, class Decode>
std::uint8_t ReadImages(std::string_view bytes, std::size_t recordSize, Record* slots,
                        std::string& beyond, Decode decode) {
  const std::size_t records = bytes.size() / recordSize;
  const std::size_t kept = std::min<std::size_t>(records, MaxLibraryRecords);
  for (std::size_t k = 0; k < kept; ++k)
    slots[k + 1] = decode(bytes.substr(k * recordSize, recordSize));
  beyond.assign(bytes.substr(kept * recordSize, (records - kept) * recordSize));
  return static_cast<std::uint8_t>(kept);
}

TopicRecord DecodeTopic(std::string_view image) {
  return {FieldText(image, 0, kTopicNameMax), FieldText(image, 42, kTopicFileMax)};
}

FormulaRecord DecodeFormula(std::string_view image) {
  return {FieldText(image, 0, kNameMax), FieldText(image, 4, kExpressionMax),
          FieldText(image, 46, kCommentMax)};
}

// The whole file, when it opens for reading and writing (the file is meant
// to be ours alone while we read it); empty otherwise. `unread` tells that
// the file is there but could not be opened (in use, no rights).
std::string ReadWholeFile(const char* path, bool& unread) {
  std::string bytes;
  std::FILE* file = std::fopen(path, "r+b");
  unread = false;
  if (!file) {
    struct stat info;
    unread = stat(path, &info) == 0;
    return bytes;
  }
  char buffer[8192];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
  std::fclose(file);
  return bytes;
}

// A file the user made read-only is left alone, also where the platform
// would let us replace it (root, or a rename over it).
bool ReadOnly(const char* path) {
  struct stat info;
  if (stat(path, &info) != 0) return false;
#ifdef _WIN32
  return (info.st_mode & _S_IWRITE) == 0;
#else
  return (info.st_mode & S_IWUSR) == 0;
#endif
}

void MakeFolder(const char* path) {
#ifdef _WIN32
  _mkdir(path);
#else
  mkdir(path, 0777);
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

bool SaveRecordFile(const char* path, const std::string* images, int count, std::string_view tail) {
  if (ReadOnly(path)) return false;
  const std::string fresh = std::string(path) + ".new";
  std::FILE* file = std::fopen(fresh.c_str(), "wb");
  if (!file) return false;
  bool written = true;
  for (int k = 0; k < count && written; ++k) written = channel->Write(file, images[k]);
  if (written && !tail.empty()) written = channel->Write(file, tail);
  if (written) written = FlushToDisk(file);
  if (std::fclose(file) != 0) written = false;
  if (written && channel->Replace(fresh.c_str(), path)) return true;
  std::remove(fresh.c_str());
  return false;
}

std::uint8_t ReadTopicImages(std::string_view bytes, TopicRecord* slots, std::string& beyond) {
  return ReadImages(bytes, kTopicRecordSize, slots, beyond, DecodeTopic);
}

std::uint8_t ReadFormulaImages(std::string_view bytes, FormulaRecord* slots, std::string& beyond) {
  return ReadImages(bytes, kFormulaRecordSize, slots, beyond, DecodeFormula);
}

std::string TopicImage(const TopicRecord& record) {
  std::string image(kTopicRecordSize, '\0');
  PutField(image, 0, kTopicNameMax, record.TopicName);
  PutField(image, 42, kTopicFileMax, record.TopicFile);
  return image;
}

std::string FormulaImage(const FormulaRecord& record) {
  std::string image(kFormulaRecordSize, '\0');
  PutField(image, 0, kNameMax, record.Name);
  PutField(image, 4, kExpressionMax, record.Expression);
  PutField(image, 46, kCommentMax, record.Comment);
  return image;
}

ShortText FormulaPath(std::string_view topicFile) {
  return ShortText(kFormulaFolder) + kSeparator + topicFile + ".frm";
}

void LoadTopics() {
  TopicCount = 0;
  TopicCount =
      ReadTopicImages(ReadWholeFile(kTopicsFileName, TopicsFileUnread), TopicList, TopicsBeyond);
}

bool SaveTopics() {
  if (TopicsFileUnread) return false;
  std::string images[MaxLibraryRecords];
  for (int k = 0; k < TopicCount; ++k) images[k] = TopicImage(TopicList[k + 1]);
  return SaveRecordFile(kTopicsFileName, images, TopicCount, TopicsBeyond);
}

void LoadFormulaFile(std::string_view topicFile) {
  FormulaFilePath = FormulaPath(topicFile);
  TopicFormulaCount = 0;
  TopicFormulaCount = ReadFormulaImages(ReadWholeFile(FormulaFilePath.c_str(), FormulaFileUnread),
                                        FormulaList, FormulasBeyond);
}

bool SaveFormulaFile() {
  if (FormulaFileUnread) return false;
  // Formulas of a new topic would be lost without their folder.
  if (FormulaFilePath.view().substr(0, sizeof kFormulaFolder) ==
      ShortText(kFormulaFolder) + kSeparator) {
    MakeFolder(kFormulaFolder);
  }
  std::string images[MaxLibraryRecords];
  for (int k = 0; k < TopicFormulaCount; ++k) images[k] = FormulaImage(FormulaList[k + 1]);
  return SaveRecordFile(FormulaFilePath.c_str(), images, TopicFormulaCount, FormulasBeyond);
}

ShortText TopicLine(int slot) {
  return TopicList[slot].TopicName;
}

ShortText FormulaLine(int slot) {
  const FormulaRecord& r = FormulaList[slot];
  return r.Name.empty() ? r.Expression : r.Name + " = " + r.Expression;
}
