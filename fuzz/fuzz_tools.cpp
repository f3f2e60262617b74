// The reader of "Tools.rel": any bytes read without a fault, no field longer
// than 255 characters or holding a line end, and what is written back reads
// as the same list and the same kept tail.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/codepage.h"
#include "tools/tool_list.h"

namespace {

// Every byte from 0x80 on.
const std::string kHighBytes = [] {
  std::string bytes;
  for (int b = 0x80; b <= 0xFF; ++b) bytes += static_cast<char>(b);
  return bytes;
}();

bool SameEntry(const ToolEntry& a, const ToolEntry& b) {
  return a.Title == b.Title && a.File == b.File && a.WorkDir == b.WorkDir && a.Params == b.Params;
}

void CheckField(const ShortText& field) {
  if (field.size() > ShortText::kMax) std::abort();
  if (field.view().find_first_of("\r\n") != std::string_view::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ParsedTools first;
  static ParsedTools second;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ParseTools(bytes, first);
  if (first.count > MaxTools) std::abort();
  if (first.overflow.size() > size) std::abort();
  for (std::uint16_t i = 0; i < first.count; ++i) {
    for (const ShortText* f : {&first.entries[i].Title, &first.entries[i].File,
                               &first.entries[i].WorkDir, &first.entries[i].Params}) {
      CheckField(*f);
    }
  }
  // Short of 64 entries, what follows the list holds no entry.
  if (first.count != MaxTools) {
    ParseTools(first.overflow, second);
    if (second.count != 0) std::abort();
  }

  const std::string written = FormatTools(first.entries, first.count, first.overflow);
  // The list is written in Windows-1252; a text of it that is also well-formed
  // UTF-8 (such as "Ã¡", or a mark left whole after a field was cut) is read
  // back as UTF-8, as a file from today's editors is. Those are the reader's
  // ambiguities; every other list must come back the same.
  if (IsUtf8(written) && written.find_first_of(kHighBytes) != std::string::npos) return 0;
  // Likewise a list whose first title starts with "ÿþ" or "þÿ": those bytes
  // are a UTF-16 byte order mark.
  if (written.rfind("\xFF\xFE", 0) == 0 || written.rfind("\xFE\xFF", 0) == 0) return 0;
  // And one whose first line has 0 for every other byte: UTF-16 without a mark.
  bool bigEndian = false;
  if (Utf16WithoutMark(written, bigEndian)) return 0;
  ParseTools(written, second);
  if (second.count != first.count || second.overflow != first.overflow) std::abort();
  for (std::uint16_t i = 0; i < first.count; ++i) {
    if (!SameEntry(first.entries[i], second.entries[i])) std::abort();
  }
  // Written once more, the file does not change any further.
  if (FormatTools(second.entries, second.count, second.overflow) != written) std::abort();
  return 0;
}
