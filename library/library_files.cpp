#include "library/library_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "common/atomic_save.h"

#ifdef _WIN32
#include <direct.h>
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
#else
constexpr char kSeparator = '/';
#endif

// A text field of a record: a length byte at `offset`, then at most `size`
// bytes. The records' layout, for reading and writing alike.
struct RecordField {
  std::size_t offset;
  std::size_t size;
};
constexpr RecordField kTopicNameField{0, kTopicNameMax};
constexpr RecordField kTopicFileField{42, kTopicFileMax};
constexpr RecordField kFormulaNameField{0, kNameMax};
constexpr RecordField kExpressionField{4, kExpressionMax};
constexpr RecordField kCommentField{46, kCommentMax};

// A damaged length larger than the field reads as the field's size.
ShortText FieldText(std::string_view image, RecordField field) {
  const std::size_t length =
      std::min<std::size_t>(static_cast<unsigned char>(image[field.offset]), field.size);
  return ShortText(image.substr(field.offset + 1, length));
}

void PutField(std::string& image, RecordField field, const ShortText& text) {
  const std::size_t length = std::min(text.size(), field.size);
  image[field.offset] = static_cast<char>(length);
  image.replace(field.offset + 1, length, text.view().substr(0, length));
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
  return {FieldText(image, kTopicNameField), FieldText(image, kTopicFileField)};
}

FormulaRecord DecodeFormula(std::string_view image) {
  return {FieldText(image, kFormulaNameField), FieldText(image, kExpressionField),
          FieldText(image, kCommentField)};
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

void MakeFolder(const char* path) {
#ifdef _WIN32
  _mkdir(path);
#else
  mkdir(path, 0777);
#endif
}

}  // namespace

std::uint8_t ReadTopicImages(std::string_view bytes, TopicRecord* slots, std::string& beyond) {
  return ReadImages(bytes, kTopicRecordSize, slots, beyond, DecodeTopic);
}

std::uint8_t ReadFormulaImages(std::string_view bytes, FormulaRecord* slots, std::string& beyond) {
  return ReadImages(bytes, kFormulaRecordSize, slots, beyond, DecodeFormula);
}

std::string TopicImage(const TopicRecord& record) {
  std::string image(kTopicRecordSize, '\0');
  PutField(image, kTopicNameField, record.TopicName);
  PutField(image, kTopicFileField, record.TopicFile);
  return image;
}

std::string FormulaImage(const FormulaRecord& record) {
  std::string image(kFormulaRecordSize, '\0');
  PutField(image, kFormulaNameField, record.Name);
  PutField(image, kExpressionField, record.Expression);
  PutField(image, kCommentField, record.Comment);
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
  std::vector<std::string> pieces;
  for (int k = 1; k <= TopicCount; ++k) pieces.push_back(TopicImage(TopicList[k]));
  pieces.push_back(TopicsBeyond);
  return SaveFileAtomically(kTopicsFileName, pieces);
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
  std::vector<std::string> pieces;
  for (int k = 1; k <= TopicFormulaCount; ++k) pieces.push_back(FormulaImage(FormulaList[k]));
  pieces.push_back(FormulasBeyond);
  return SaveFileAtomically(FormulaFilePath.c_str(), pieces);
}

ShortText TopicLine(int slot) {
  return TopicList[slot].TopicName;
}

ShortText FormulaLine(int slot) {
  const FormulaRecord& r = FormulaList[slot];
  return r.Name.empty() ? r.Expression : r.Name + " = " + r.Expression;
}
