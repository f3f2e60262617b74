// The tool list and its file "Tools.rel".
#include "tools/tool_list.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "common/atomic_save.h"
#include "common/system_error.h"
#include "tests/support/test_folder.h"

namespace fs = std::filesystem;

namespace {

std::string Parsed(std::string_view bytes, std::uint16_t* count = nullptr) {
  auto parsed = std::make_unique<ParsedTools>();
  ParseTools(bytes, *parsed);
  if (count) *count = parsed->count;
  std::string fields;
  for (std::uint16_t i = 0; i < parsed->count; ++i) {
    const ToolEntry& e = parsed->entries[i];
    // Piece by piece: "[" + a temporary string trips a false -Wrestrict in GCC 12.
    for (const ShortText* field : {&e.Title, &e.File, &e.WorkDir, &e.Params}) {
      fields += field == &e.Title ? "[" : "|";
      fields += field->str();
    }
    fields += "]";
  }
  return fields;
}

std::string Entries(int from, int to, std::string_view lineEnd = "\r\n") {
  std::string text;
  for (int i = from; i <= to; ++i) {
    const std::string n = std::to_string(i);
    for (const std::string& field : {"t" + n, "f" + n + ".exe", "d" + n, "p" + n}) {
      text += field;
      text += lineEnd;
    }
  }
  return text;
}

// ASCII as UTF-16, low byte first, with no byte order mark.
std::string Utf16WithoutMark(std::string_view ascii) {
  std::string bytes;
  for (char c : ascii) bytes += {c, '\0'};
  return bytes;
}

void ClearList() {
  while (ToolCount > 0) DeleteToolEntry(ToolCount);
  ToolOverflow.clear();
  ToolsUnread.clear();
}

void Fill(int count) {
  ClearList();
  for (int i = 1; i <= count; ++i) {
    ASSERT_TRUE(AddToolEntry());
    const std::string n = std::to_string(i);
    SetToolEntry(ToolList[ToolCount], "t" + n, "f" + n + ".exe", "d" + n, "p" + n);
  }
}

TEST(ToolsFileReading, LinesAndEntries) {
  struct Case {
    std::string bytes;
    const char* fields;
  } cases[] = {
      {"", ""},
      {"a\r\nb\r\nc\r\nd\r\n", "[a|b|c|d]"},
      {"a\nb\nc\nd\n", "[a|b|c|d]"},
      {"a\r\nb\nc\rd", "[a|b|c|d]"},  // CR LF, LF and a lone CR all end a line
      {"a\r\n\r\n\r\nd\r\n", "[a|||d]"},
      // Nine lines: the third entry has only its title.
      {"1\n2\n3\n4\n5\n6\n7\n8\n9\n", "[1|2|3|4][5|6|7|8][9|||]"},
      {"x", "[x|||]"},
      {"a\nb\nc\nd\n\n", "[a|b|c|d]"},  // blank lines at the end are no entry
      {"a\nb\nc\nd\n\r\n\n\x1A", "[a|b|c|d]"},
      {"a\nb\nc\nd\n\n\n\n\n", "[a|b|c|d][|||]"},  // four are an entry, all empty
      {"a\nb\nc\nd\n\ne\n", "[a|b|c|d][|e||]"},
      {"a\r\r\nb\r\r\nc\r\r\nd\r\r\ne", "[a|b|c|d][e|||]"},  // CR CR LF: one line end
      // 0x1A where an entry would begin ends the list; inside a field it is text.
      {"a\nb\nc\nd\n\x1A"
       "e\nf\ng\nh\n",
       "[a|b|c|d]"},
      {"\x1A", ""},
      {"a\x1A\nb\nc\nd\n", "[a\x1A|b|c|d]"},
      {"\xE1rbol\n\n\n\n", "[\xE1rbol|||]"},  // 8-bit text passes as it is
      {"a\xF1o\r\nnotepad.exe a\xF1o.txt", "[a\xF1o|notepad.exe a\xF1o.txt||]"},
      // Today's editors: UTF-8 with and without its mark, UTF-16 either way round.
      {"a\xC3\xB1o\r\nnotepad.exe a\xC3\xB1o.txt", "[a\xF1o|notepad.exe a\xF1o.txt||]"},
      {"\xEF\xBB\xBF\xC3\xA1\r\n\xE2\x82\xAC\r\n", "[\xE1|\x80||]"},
      {"\xEF\xBB\xBFt\r\n\xE2\x84\xA6\r\n", "[t|?||]"},  // no 1252 form: '?'
      {std::string("\xFF\xFE\xE1\0\r\0\n\0\xAC\x20\n\0", 12), "[\xE1|\x80||]"},
      {std::string("\xFE\xFF\0\xE1\0\r\0\n\xD8\x3D\xDE\0\0x", 14), "[\xE1|?x||]"},
      {"\xC3\xA1\xF1", "[\xC3\xA1\xF1|||]"},  // not UTF-8 as a whole: Windows-1252
      // UTF-16 without a mark: every other byte of the first line is 0.
      {std::string("t\0\xE1\0\r\0\n\0f\0\r\0\n\0", 14), "[t\xE1|f||]"},
      {std::string("\0t\0\r\0\n\0f", 8), "[t|f||]"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parsed(c.bytes), c.fields) << c.bytes;
}

TEST(ToolsFileReading, FieldsKeepTheirFirst255Characters) {
  const std::string longLine(300, 'q');
  auto parsed = std::make_unique<ParsedTools>();
  ParseTools(longLine + "\r\n" + longLine.substr(0, 255) + "\r\nw\r\np", *parsed);
  ASSERT_EQ(parsed->count, 1);
  EXPECT_EQ(parsed->entries[0].Title.str(), longLine.substr(0, 255));
  EXPECT_EQ(parsed->entries[0].File.size(), 255u);
  EXPECT_EQ(parsed->entries[0].WorkDir, "w");  // the dropped tail does not become a line
  EXPECT_EQ(parsed->entries[0].Params, "p");
}

TEST(ToolsFileReading, EntriesBeyond64AreKeptAsTheyWere) {
  std::uint16_t count = 0;
  Parsed(Entries(1, 70), &count);
  EXPECT_EQ(count, MaxTools);

  auto parsed = std::make_unique<ParsedTools>();
  const std::string tail = Entries(65, 70, "\n");  // LF lines stay LF lines
  ParseTools(Entries(1, 64) + tail + "\x1A" + "after the end\n", *parsed);
  EXPECT_EQ(parsed->count, 64);
  EXPECT_EQ(parsed->entries[63].Title, "t64");
  EXPECT_EQ(parsed->overflow, tail + "\x1A" + "after the end\n");  // byte for byte

  ParseTools(Entries(1, 64), *parsed);
  EXPECT_EQ(parsed->overflow, "");
}

TEST(ToolsFileWriting, EveryFieldEndsInCrLf) {
  // Whatever the file was read as, it is written in Windows-1252.
  auto parsed = std::make_unique<ParsedTools>();
  ParseTools("\xEF\xBB\xBF\xC3\xB1\nx\n\n\n", *parsed);
  EXPECT_EQ(FormatTools(parsed->entries, parsed->count, {}), "\xF1\r\nx\r\n\r\n\r\n");

  ToolEntry entries[2];
  SetToolEntry(entries[0], "Notas", "notepad.exe notas.txt", "", "");
  SetToolEntry(entries[1], "", "", "C:\\x", "p");
  EXPECT_EQ(FormatTools(entries, 2, {}),
            "Notas\r\nnotepad.exe notas.txt\r\n\r\n\r\n\r\n\r\nC:\\x\r\np\r\n");
  EXPECT_EQ(FormatTools(entries, 0, {}), "");
  EXPECT_EQ(FormatTools(entries, 1, "rest\n"), "Notas\r\nnotepad.exe notas.txt\r\n\r\n\r\nrest\n");
}

TEST(ToolListOperations, DeletingMovesTheLaterEntriesUp) {
  Fill(3);
  DeleteToolEntry(1);
  ASSERT_EQ(ToolCount, 2);
  EXPECT_EQ(ToolList[1].Title, "t2");
  EXPECT_EQ(ToolList[2].Title, "t3");
  EXPECT_EQ(ToolList[3].Title, "");  // the freed slot holds nothing
  DeleteToolEntry(2);
  DeleteToolEntry(5);  // outside the list: nothing
  ASSERT_EQ(ToolCount, 1);
  EXPECT_EQ(ToolList[1].File, "f2.exe");
}

TEST(ToolListOperations, A65thEntryIsRefused) {
  Fill(64);
  EXPECT_FALSE(AddToolEntry());
  EXPECT_EQ(ToolCount, 64);
  EXPECT_EQ(ToolList[64].Title, "t64");
  DeleteToolEntry(64);
  EXPECT_TRUE(AddToolEntry());
  EXPECT_EQ(ToolCount, 64);
}

// Tools.rel in the test's own folder.
class ToolsFile : public TestFolder {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    path_ = (folder_ / "Tools.rel").string();
    ClearList();
  }
  void TearDown() override {
    SetSaveChannel(nullptr);
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, ignored);
    TestFolder::TearDown();
    ClearList();
  }

  void Write(const std::string& bytes) { WriteFile(path_, bytes); }
  std::string Read() const { return ReadFile(path_); }
  bool LeftoverNewFile() const { return Exists(path_ + ".new"); }

  std::string path_;
};

TEST_F(ToolsFile, SaveThenLoadGivesTheSameList) {
  Fill(3);
  SetToolEntry(ToolList[2], "Hoja de c\xE1lculo", "", "C:\\Mis datos", "");
  ASSERT_TRUE(SaveToolsTo(path_));
  EXPECT_FALSE(LeftoverNewFile());
  const std::string written = Read();
  ClearList();
  ASSERT_TRUE(LoadToolsFrom(path_));
  ASSERT_EQ(ToolCount, 3);
  EXPECT_EQ(ToolList[2].Title, "Hoja de c\xE1lculo");
  EXPECT_EQ(ToolList[2].WorkDir, "C:\\Mis datos");
  EXPECT_EQ(ToolList[3].Params, "p3");
  ASSERT_TRUE(SaveToolsTo(path_));
  EXPECT_EQ(Read(), written);
}

TEST_F(ToolsFile, EmptyListWritesAnEmptyFileAndReadsBackEmpty) {
  Write(Entries(1, 2));
  ClearList();
  ASSERT_TRUE(SaveToolsTo(path_));
  EXPECT_EQ(Read(), "");
  Fill(2);
  ASSERT_TRUE(LoadToolsFrom(path_));
  EXPECT_EQ(ToolCount, 0);
}

TEST_F(ToolsFile, MissingFileLeavesTheListAlone) {
  Fill(2);
  EXPECT_FALSE(LoadToolsFrom(path_));
  EXPECT_EQ(ToolCount, 2);
}

TEST_F(ToolsFile, ASaveKeepsTheEntriesBeyond64) {
  const std::string original = Entries(1, 70);
  Write(original);
  ASSERT_TRUE(LoadToolsFrom(path_));
  ASSERT_EQ(ToolCount, 64);
  ASSERT_TRUE(SaveToolsTo(path_));
  EXPECT_EQ(Read(), original);

  // An edit of the list changes only the list's part of the file.
  SetToolEntry(ToolList[1], "nuevo", "", "", "");
  ASSERT_TRUE(SaveToolsTo(path_));
  ASSERT_TRUE(LoadToolsFrom(path_));
  EXPECT_EQ(ToolList[1].Title, "nuevo");
  EXPECT_EQ(Read().substr(Read().size() - Entries(65, 70).size()), Entries(65, 70));
}

// A list saved with no edits leaves its file byte for byte, and a tool
// nobody edited keeps its lines as they were when another one is edited.
TEST_F(ToolsFile, WhatWasNotEditedIsWrittenAsItWasRead) {
  const std::string longLine(10000, 'L');
  const struct {
    const char* what;
    std::string file;
    std::string firstToolKept;  // the first tool's lines after another one is edited
  } cases[] = {
      {"a line past 255", longLine + "\r\nf\r\n\r\n\r\n" + Entries(2, 2),
       longLine + "\r\nf\r\n\r\n\r\n"},
      {"LF lines", Entries(1, 2, "\n"), Entries(1, 1, "\n")},
      {"CR CR LF", Entries(1, 2, "\r\r\n"), Entries(1, 1, "\r\r\n")},
      {"a blank line at the end", Entries(1, 2) + "\r\n", Entries(1, 1)},
      {"after the end of the file",
       Entries(1, 2) + "\x1A"
                       "notes",
       Entries(1, 1)},
      {"UTF-16 without a mark", Utf16WithoutMark("t1\r\n\r\n\r\n\r\nt2\r\n"), "t1\r\n\r\n\r\n\r\n"},
  };
  for (const auto& c : cases) {
    Write(c.file);
    ASSERT_TRUE(LoadToolsFrom(path_)) << c.what;
    ASSERT_EQ(ToolCount, 2) << c.what;
    ASSERT_TRUE(SaveToolsTo(path_)) << c.what;
    EXPECT_EQ(Read(), c.file) << c.what;

    SetToolEntry(ToolList[2], "nuevo", "", "", "");
    ASSERT_TRUE(SaveToolsTo(path_)) << c.what;
    const std::string saved = Read();
    EXPECT_EQ(saved.substr(0, c.firstToolKept.size()), c.firstToolKept) << c.what;
    ASSERT_TRUE(LoadToolsFrom(path_)) << c.what;
    ASSERT_EQ(ToolCount, 2) << c.what;
    EXPECT_EQ(ToolList[2].Title, "nuevo") << c.what;
    // Moved, the unedited tool still keeps its lines.
    SwapToolEntries(1, 2);
    ASSERT_TRUE(SaveToolsTo(path_)) << c.what;
    EXPECT_NE(Read().find(c.firstToolKept), std::string::npos) << c.what;
  }
}

// A failed save leaves the old file byte for byte and no new file beside it.
TEST_F(ToolsFile, AFailedSaveLeavesTheOldFile) {
  const std::string original = Entries(1, 5);

  // A write that fails half-way through.
  Write(original);
  Fill(5);
  SetToolEntry(ToolList[1], "changed", "", "", "");
  struct FailingChannel : SaveChannel {
    int piecesLeft = 2;
    bool Write(std::FILE* file, std::string_view piece) override {
      return piecesLeft-- > 0 && SaveChannel::Write(file, piece);
    }
  } failing;
  SetSaveChannel(&failing);
  std::string why;
  EXPECT_FALSE(SaveToolsTo(path_, &why));
  EXPECT_EQ(why, "no se ha podido escribir el archivo completo");
  EXPECT_EQ(Read(), original);
  EXPECT_FALSE(LeftoverNewFile());

  // The final replacement refused.
  struct RefusingChannel : SaveChannel {
    bool Replace(const char*, const char*) override { return false; }
  } refusing;
  SetSaveChannel(&refusing);
  EXPECT_FALSE(SaveToolsTo(path_, &why));
  EXPECT_EQ(why, "no se ha podido escribir el archivo completo");
  EXPECT_EQ(Read(), original);
  EXPECT_FALSE(LeftoverNewFile());
  SetSaveChannel(nullptr);

  // A read-only file.
  fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(SaveToolsTo(path_, &why));
  EXPECT_EQ(why, "el archivo es de solo lectura");
  fs::permissions(path_, fs::perms::owner_all);
  EXPECT_EQ(Read(), original);
  EXPECT_FALSE(LeftoverNewFile());

  // A folder in the file's place.
  fs::remove(path_);
  fs::create_directory(path_);
  EXPECT_FALSE(SaveToolsTo(path_, &why));
  EXPECT_EQ(why, "en su lugar hay una carpeta");
  EXPECT_TRUE(fs::is_directory(path_));
  EXPECT_FALSE(LeftoverNewFile());
  EXPECT_FALSE(LoadToolsFrom(path_));
  EXPECT_EQ(ToolCount, 5);
  fs::remove(path_);

  // The folder of the file is missing: the system says so.
  EXPECT_FALSE(SaveToolsTo((folder_ / "nowhere" / "Tools.rel").string(), &why));
  EXPECT_EQ(why, "la carpeta no existe");
}

#ifdef __linux__
// A file that is there but fails to read, as a file another program holds
// does on Windows: the list stays, and nothing is saved over any file until
// a list reads again.
TEST_F(ToolsFile, AnUnreadListIsNeverSavedOver) {
  Write(Entries(1, 3));
  Fill(2);
  EXPECT_FALSE(LoadToolsFrom("/proc/self/mem"));  // a plain file whose reading fails
  EXPECT_EQ(ToolsUnread, ErrnoText(EIO));
  EXPECT_EQ(ToolCount, 2);
  std::string why;
  EXPECT_FALSE(SaveToolsTo(path_, &why));
  EXPECT_EQ(why, ToolsUnread);
  EXPECT_EQ(Read(), Entries(1, 3));

  EXPECT_FALSE(LoadToolsFrom(path_ + ".missing"));  // nothing there to lose
  EXPECT_EQ(ToolsUnread, "");
  ASSERT_TRUE(SaveToolsTo(path_));
  EXPECT_EQ(Read(), Entries(1, 2));
}
#endif

}  // namespace
