#include "library/library_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "common/atomic_save.h"
#include "common/named_files.h"
#include "common/records_as_read.h"
#include "common/text_helpers.h"

TopicRecord TopicList[MaxLibraryRecords + 1];
std::uint8_t TopicCount = 0;
FormulaRecord FormulaList[MaxLibraryRecords + 1];
std::uint8_t TopicFormulaCount = 0;
ShortText FormulaFilePath;
std::string TopicsBeyond;
std::string FormulasBeyond;
LoadedFile TopicsFile;
LoadedFile FormulaFile;
std::string TopicImagesAsRead;
std::string FormulaImagesAsRead;

const char kTopicsFileName[] = "temas.rel";
const char kFormulaFolder[] = "Frmls";
const char kUnsafeTopicFile[] =
    "el fichero del tema no puede llevar \\ / : * ? \" < > | ni caracteres de control, ni ser "
    "CON, PRN, AUX, NUL, COM1 a COM9 o LPT1 a LPT9";

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
  beyond.assign(bytes.substr(kept * recordSize));
  return static_cast<std::uint8_t>(kept);
}

// Whether a field of an image reads as `text`, as FieldText takes it.
bool FieldReads(std::string_view image, RecordField field, const ShortText& text) {
  const std::size_t length =
      std::min<std::size_t>(static_cast<unsigned char>(image[field.offset]), field.size);
  return image.substr(field.offset + 1, length) == text.view();
}

bool ImageReads(std::string_view image, const TopicRecord& r) {
  return FieldReads(image, kTopicNameField, r.TopicName) &&
         FieldReads(image, kTopicFileField, r.TopicFile);
}

bool ImageReads(std::string_view image, const FormulaRecord& r) {
  return FieldReads(image, kFormulaNameField, r.Name) &&
         FieldReads(image, kExpressionField, r.Expression) &&
         FieldReads(image, kCommentField, r.Comment);
}

// The list's images, one piece each, then the bytes after the list: a
// record that reads as it did when loaded keeps its own bytes; an edited or
// new one gets a fresh image.
template <class Record, class Image>
std::vector<std::string> ListPieces(const Record* slots, int count, const std::string& kept,
                                    std::size_t recordSize, Image image,
                                    const std::string& beyond) {
  std::vector<std::string> pieces;
  pieces.reserve(count + 1);
  const std::size_t keptCount = kept.size() / recordSize;
  std::vector<bool> used(keptCount);
  std::size_t next = 0;
  for (int k = 1; k <= count; ++k) {
    const std::size_t j = FindUnused(keptCount, used, next, [&](std::size_t i) {
      return ImageReads(std::string_view(kept).substr(i * recordSize, recordSize), slots[k]);
    });
    if (j < keptCount) {
      pieces.emplace_back(kept, j * recordSize, recordSize);
      used[j] = true;
      next = j + 1;
    } else {
      pieces.push_back(image(slots[k]));
    }
  }
  pieces.push_back(beyond);
  return pieces;
}

// After a save: the images as written.
void KeepWritten(std::string& kept, int count, const std::vector<std::string>& pieces) {
  kept.clear();
  for (int k = 0; k < count; ++k) kept += pieces[k];
}

TopicRecord DecodeTopic(std::string_view image) {
  return {FieldText(image, kTopicNameField), FieldText(image, kTopicFileField)};
}

FormulaRecord DecodeFormula(std::string_view image) {
  return {FieldText(image, kFormulaNameField), FieldText(image, kExpressionField),
          FieldText(image, kCommentField)};
}

bool PlainFile(const struct stat& info) {
#ifdef _WIN32
  return (info.st_mode & _S_IFREG) != 0;
#else
  return S_ISREG(info.st_mode);
#endif
}

// FNV-1a over the bytes, continued from `hash`.
std::uint64_t HashBytes(std::uint64_t hash, std::string_view bytes) {
  for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3ULL;
  return hash;
}
constexpr std::uint64_t kHashStart = 0xcbf29ce484222325ULL;

// The whole file, read when it is a plain file that opens for reading (a
// read-only library is read all the same); empty otherwise. `found` tells
// what was there. A device, a pipe or a folder is never opened: reading one
// could wait for ever.
std::string ReadWholeFile(const char* path, LoadedFile& found) {
  found = {};
  std::string bytes;
  const FileFacts facts = LookUpFile(path);
  if (!facts.exists) return bytes;
  found.unread = true;
  found.why = WhyUnreadable(facts, 0);
  if (!facts.regular) return bytes;
  errno = 0;
  std::FILE* file = OpenNamedFile(path, "rb");
  if (!file) {
    found.why = WhyUnreadable(facts, errno);
    return bytes;
  }
  // Checked again on what was opened: the name may have changed hands since.
  struct stat info;
  if (fstat(fileno(file), &info) != 0 || !PlainFile(info)) {
    std::fclose(file);
    found.why = WhyUnreadable(FileFacts{true, false, false, false}, 0);
    return bytes;
  }
  char buffer[8192];
  std::size_t n;
  errno = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) {
    found.why = WhyUnreadable(facts, error);
    bytes.clear();
    return bytes;
  }
  found.why.Clear();
  found.unread = false;
  found.present = true;
  found.size = bytes.size();
  found.hash = HashBytes(kHashStart, bytes);
  return bytes;
}

// Saves a list's pieces over the file it was loaded from, unless the load
// could not read it, its name is unsafe, or (without `overwrite`) another
// copy of the program has saved it since.
bool SaveList(const char* path, LoadedFile& loaded, const std::vector<std::string>& pieces,
              SaveFailure* failure, bool overwrite) {
  SaveFailure ignored;
  SaveFailure& why = failure ? *failure : ignored;
  why = {};
  if (loaded.refused) {
    why.reason = "no es un nombre de fichero válido (sale de la carpeta Frmls o es un dispositivo)";
    return false;
  }
  if (loaded.unread) {
    // Something other than a file in its place now: that is what stops the save.
    const FileFacts now = LookUpFile(path);
    why.reason = now.exists && !now.regular
                     ? WhyUnreadable(now, 0)
                     : ShortText("no se pudo leer al abrir la biblioteca (") + loaded.why +
                           "), y guardarlo borraría lo que no se leyó";
    return false;
  }
  if (!overwrite) {
    LoadedFile now;
    ReadWholeFile(path, now);
    if (!now.unread &&
        (now.present != loaded.present || now.size != loaded.size || now.hash != loaded.hash)) {
      why.reason = "ha cambiado en el disco desde que se abrió aquí (¿otra copia del programa?)";
      why.changedOnDisk = true;
      return false;
    }
  }
  if (!SaveFileAtomically(path, pieces, &why.reason)) return false;
  loaded.present = true;
  loaded.size = 0;
  loaded.hash = kHashStart;
  for (const std::string& piece : pieces) {
    loaded.size += piece.size();
    loaded.hash = HashBytes(loaded.hash, piece);
  }
  return true;
}

// As the file systems of Windows compare names: regardless of case, accented
// capitals included (Windows-1252).
char FoldCase(char c) {
  const auto u = static_cast<unsigned char>(c);
  if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
    return static_cast<char>(u + 0x20);
  if (u == 0x8A || u == 0x8C || u == 0x8E) return static_cast<char>(u + 0x10);
  if (u == 0x9F) return static_cast<char>(0xFF);
  return c;
}

bool SafeFileChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x20 && u != 0x7F && std::strchr("\\/:*?\"<>|", c) == nullptr;
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

bool SafeTopicFile(std::string_view topicFile) {
  if (!std::all_of(topicFile.begin(), topicFile.end(), SafeFileChar)) return false;
  if (topicFile == "." || topicFile == "..") return false;
  // Windows takes the part before the first dot, trailing blanks dropped, as
  // the device name: "aux.frm" and "con .txt.frm" are devices too.
  std::string stem(topicFile.substr(0, topicFile.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem) c = FoldCase(c);
  for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$"}) {
    if (stem == device) return false;
  }
  if (stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0)) {
    const auto digit = static_cast<unsigned char>(stem[3]);
    // 1 to 9, and the superscripts ¹ ² ³, which Windows counts as digits here.
    if ((digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3) {
      return false;
    }
  }
  return true;
}

bool SameTopicFile(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

ShortText ProposedTopicFile(std::string_view topicName, int ownSlot) {
  std::string base;
  const ShortText plain = RemoveSpaces(FoldAccents(topicName));
  for (char c : plain.view()) {
    if (SafeFileChar(c)) base += c;
  }
  base.resize(std::min(base.size(), kTopicFileMax));
  auto taken = [&](const std::string& name) {
    if (!SafeTopicFile(name)) return true;
    for (int k = 1; k <= TopicCount; ++k) {
      if (k != ownSlot && SameTopicFile(TopicList[k].TopicFile, name)) return true;
    }
    return false;
  };
  // At most 255 topics: one of the first 256 numbers is free.
  std::string name = base;
  for (int n = 1; taken(name); ++n) {
    const std::string digits = std::to_string(n);
    name = base.substr(0, kTopicFileMax - digits.size()) + digits;
  }
  return ShortText(name);
}

void LoadTopics() {
  TopicCount = 0;
  const std::string bytes = ReadWholeFile(kTopicsFileName, TopicsFile);
  TopicCount = ReadTopicImages(bytes, TopicList, TopicsBeyond);
  TopicImagesAsRead.assign(bytes, 0, TopicCount * kTopicRecordSize);
}

bool SaveTopics(SaveFailure* failure, bool overwrite) {
  const std::vector<std::string> pieces = ListPieces(TopicList, TopicCount, TopicImagesAsRead,
                                                     kTopicRecordSize, TopicImage, TopicsBeyond);
  if (!SaveList(kTopicsFileName, TopicsFile, pieces, failure, overwrite)) return false;
  KeepWritten(TopicImagesAsRead, TopicCount, pieces);
  return true;
}

void LoadFormulaFile(std::string_view topicFile) {
  FormulaFilePath = FormulaPath(topicFile);
  TopicFormulaCount = 0;
  FormulasBeyond.clear();
  FormulaImagesAsRead.clear();
  if (!SafeTopicFile(topicFile)) {
    FormulaFile = {};
    FormulaFile.refused = true;
    return;
  }
  const std::string bytes = ReadWholeFile(FormulaFilePath.c_str(), FormulaFile);
  TopicFormulaCount = ReadFormulaImages(bytes, FormulaList, FormulasBeyond);
  FormulaImagesAsRead.assign(bytes, 0, TopicFormulaCount * kFormulaRecordSize);
}

void BindFormulaFile(std::string_view topicFile) {
  FormulaFilePath = FormulaPath(topicFile);
  FormulaFile = {};
  FormulaFile.refused = !SafeTopicFile(topicFile);
  // What is there now, so that a save can tell whether it is replaced.
  if (!FormulaFile.refused) ReadWholeFile(FormulaFilePath.c_str(), FormulaFile);
  FormulaFile.unread = false;
}

bool SaveFormulaFile(SaveFailure* failure, bool overwrite) {
  // Formulas of a new topic would be lost without their folder.
  if (!FormulaFile.refused && FormulaFilePath.view().substr(0, sizeof kFormulaFolder) ==
                                  ShortText(kFormulaFolder) + kSeparator) {
    MakeNamedFolder(kFormulaFolder);
  }
  const std::vector<std::string> pieces =
      ListPieces(FormulaList, TopicFormulaCount, FormulaImagesAsRead, kFormulaRecordSize,
                 FormulaImage, FormulasBeyond);
  if (!SaveList(FormulaFilePath.c_str(), FormulaFile, pieces, failure, overwrite)) return false;
  KeepWritten(FormulaImagesAsRead, TopicFormulaCount, pieces);
  return true;
}

ShortText TopicLine(int slot) {
  return TopicList[slot].TopicName;
}

ShortText FormulaLine(int slot) {
  const FormulaRecord& r = FormulaList[slot];
  return r.Name.empty() ? r.Expression : r.Name + " = " + r.Expression;
}
