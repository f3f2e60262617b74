// libFuzzer target of the library's readers: any bytes as a topic file, as a
// formula file and as the library's text form. No reader may take a text
// past its field or a record past the file; what is read, written back and
// read again must be the same list. Now and then the bytes go through the
// real files: saved with the saves, loaded with the loads.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "library/library_files.h"
#include "library/library_text.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "\nfuzz_library: %s\n", what);
  std::abort();
}

bool Same(const TopicRecord& a, const TopicRecord& b) {
  return a.TopicName == b.TopicName && a.TopicFile == b.TopicFile;
}
bool Same(const FormulaRecord& a, const FormulaRecord& b) {
  return a.Name == b.Name && a.Expression == b.Expression && a.Comment == b.Comment;
}

TopicRecord topics[MaxLibraryRecords + 1], topicsAgain[MaxLibraryRecords + 1];
FormulaRecord formulas[MaxLibraryRecords + 1], formulasAgain[MaxLibraryRecords + 1];

// Reads the bytes as records, checks the limits, writes them and reads again.
template <class Record, class Read, class Image>
void RoundTrip(std::string_view bytes, std::size_t size, Record* first, Record* again, Read read,
               Image image, bool (*fits)(const Record&)) {
  std::string beyond;
  const int count = read(bytes, first, beyond);
  const std::size_t records = bytes.size() / size;
  if (count != static_cast<int>(records < 255 ? records : 255)) Fail("record count");
  if (beyond.size() != bytes.size() - count * size) Fail("the bytes after the list");
  std::string written;
  for (int k = 1; k <= count; ++k) {
    if (!fits(first[k])) Fail("a text longer than its field");
    const std::string one = image(first[k]);
    if (one.size() != size) Fail("record image size");
    written += one;
  }
  written += beyond;
  std::string beyondAgain;
  if (read(written, again, beyondAgain) != count || beyondAgain != beyond) Fail("count again");
  for (int k = 1; k <= count; ++k) {
    if (!Same(first[k], again[k])) Fail("a record read back differently");
  }
}

bool TopicFits(const TopicRecord& r) {
  return r.TopicName.size() <= kTopicNameMax && r.TopicFile.size() <= kTopicFileMax;
}
bool FormulaFits(const FormulaRecord& r) {
  return r.Name.size() <= kNameMax && r.Expression.size() <= kExpressionMax &&
         r.Comment.size() <= kCommentMax;
}

void TextRoundTrip(std::string_view text) {
  Library library;
  LibraryTextError error;
  if (!ParseLibraryLines(text, library, error)) {
    if (error.line < 0) Fail("refusal without a line");
    return;
  }
  const std::string lines = LibraryLines(library);
  Library again;
  if (!ParseLibraryLines(lines, again, error)) Fail("written text refused");
  if (LibraryLines(again) != lines) Fail("text read back differently");
}

// The saves and loads themselves, in a folder of the fuzzer's own.
void FileRoundTrip(std::string_view bytes) {
  TopicCount = ReadTopicImages(bytes, TopicList, TopicsBeyond);
  const std::uint8_t savedTopics = TopicCount;
  if (!SaveTopics()) Fail("topic save failed");
  LoadTopics();
  if (TopicCount != savedTopics) Fail("topic count after load");
  for (int k = 1; k <= TopicCount; ++k) {
    if (!Same(TopicList[k], topics[k])) Fail("topic changed by save and load");
  }
  LoadFormulaFile("F");
  TopicFormulaCount = ReadFormulaImages(bytes, FormulaList, FormulasBeyond);
  const std::uint8_t savedFormulas = TopicFormulaCount;
  if (!SaveFormulaFile()) Fail("formula save failed");
  LoadFormulaFile("F");
  if (TopicFormulaCount != savedFormulas) Fail("formula count after load");
  for (int k = 1; k <= TopicFormulaCount; ++k) {
    if (!Same(FormulaList[k], formulas[k])) Fail("formula changed by save and load");
  }
}

}  // namespace

char folder[] = "/tmp/fuzz-library-XXXXXX";

void RemoveFolder() {
  std::remove("temas.rel");
  std::remove(FormulaPath("F").c_str());
  rmdir(kFormulaFolder);
  rmdir(folder);
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!mkdtemp(folder) || chdir(folder) != 0) Fail("no working folder");
  std::atexit(RemoveFolder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  RoundTrip(bytes, kTopicRecordSize, topics, topicsAgain, ReadTopicImages, TopicImage, TopicFits);
  RoundTrip(bytes, kFormulaRecordSize, formulas, formulasAgain, ReadFormulaImages, FormulaImage,
            FormulaFits);
  TextRoundTrip(bytes);
  if (size > 0 && data[0] < 16) FileRoundTrip(bytes);
  return 0;
}
