// The library as text: escapes, refusals that name their line, the round
// trip through the record files, and the sample library that ships.
#include "library/library_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "common/codepage.h"
#include "engine/check.h"
#include "tests/unit/library_folder.h"

namespace {

class LibraryText : public LibraryFolderTest {};

std::string Topic(const std::string& name, const std::string& file) {
  return "topic\t" + name + "\t" + file + "\n";
}
std::string Formula(const std::string& name, const std::string& expression,
                    const std::string& comment) {
  return "formula\t" + name + "\t" + expression + "\t" + comment + "\n";
}

// The refusal's line, or 0 when the text was taken.
int RefusedLine(const std::string& text) {
  Library library;
  LibraryTextError error;
  if (ParseLibraryLines(text, library, error)) return 0;
  EXPECT_NE(error.text.view().find("línea " + std::to_string(error.line) + ":"),
            std::string_view::npos)
      << error.text;
  return error.line;
}

TEST_F(LibraryText, EscapesRoundTripAndBadOnesAreRefused) {
  const std::string raw = "a\\b\tc\r\nd";
  const std::string escaped = EscapeLibraryText(raw);
  EXPECT_EQ(escaped, "a\\\\b\\tc\\r\\nd");
  std::string back;
  ASSERT_TRUE(UnescapeLibraryText(escaped, back));
  EXPECT_EQ(back, raw);
  EXPECT_FALSE(UnescapeLibraryText("a\\x", back));
  EXPECT_FALSE(UnescapeLibraryText("final\\", back));
}

TEST_F(LibraryText, ReadsTopicsAndFormulasSkippingBlankAndCommentLines) {
  const std::string text = "# biblioteca\r\n\r\n" + Topic("Física", "FISICA") +
                           Formula("F", "m*a", "Newton") + Formula("", "d/t", "") + "\n" +
                           Topic("Vacío", "") + Topic("Otro", "OTRO");
  Library library;
  LibraryTextError error;
  ASSERT_TRUE(ParseLibraryLines(text, library, error)) << error.text;
  ASSERT_EQ(library.topics.size(), 3u);
  EXPECT_EQ(library.topics[0].topic.TopicName, "Física");
  ASSERT_EQ(library.topics[0].formulas.size(), 2u);
  EXPECT_EQ(library.topics[0].formulas[1].Expression, "d/t");
  EXPECT_EQ(library.topics[1].topic.TopicFile, "");
  EXPECT_TRUE(library.topics[1].formulas.empty());
  EXPECT_EQ(library.topics[2].line, 8);
}

TEST_F(LibraryText, RefusesMalformedLinesNamingThem) {
  const std::string t = Topic("T", "T");
  EXPECT_EQ(RefusedLine(Formula("f", "x", "")), 1);  // before any topic
  EXPECT_EQ(RefusedLine(t + "topic\tsolo\n"), 2);
  EXPECT_EQ(RefusedLine(t + "formula\tf\tx\n"), 2);
  EXPECT_EQ(RefusedLine(t + "formula\tf\tx\tc\textra\n"), 2);
  EXPECT_EQ(RefusedLine(t + "\n" + "Topic\tT\tT\n"), 3);
  EXPECT_EQ(RefusedLine(t + Formula("f", "x\\q", "")), 2);
  EXPECT_EQ(RefusedLine(t + Topic("T", "a/b")), 2);
  EXPECT_EQ(RefusedLine(t + Topic("T", "a\\\\b")), 2);
  EXPECT_EQ(RefusedLine(t + Topic("T", "..")), 2);
  EXPECT_EQ(RefusedLine(t + Topic("T", "Aux")), 2);  // a device, not a file
}

TEST_F(LibraryText, EachFieldIsTakenAtItsSizeAndRefusedOneBeyond) {
  const std::string t = Topic("T", "T");
  struct Case {
    std::string fits, tooLong;
  } cases[] = {
      {Topic(std::string(40, 'n'), "F"), Topic(std::string(41, 'n'), "F")},
      {Topic("T", "12345678"), Topic("T", "123456789")},
      {t + Formula("abc", "x", ""), t + Formula("abcd", "x", "")},
      {t + Formula("f", std::string(40, '1'), ""), t + Formula("f", std::string(41, '1'), "")},
      {t + Formula("f", "x", std::string(32, 'c')), t + Formula("f", "x", std::string(33, 'c'))},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RefusedLine(c.fits), 0) << c.fits;
    EXPECT_GT(RefusedLine(c.tooLong), 0) << c.tooLong;
  }
  // An escape counts as the one character it stands for.
  EXPECT_EQ(RefusedLine(t + Formula("\\t\\r\\n", "x", "")), 0);
}

TEST_F(LibraryText, RefusesThe256thTopicAndThe256thFormula) {
  std::string topics;
  for (int k = 1; k <= 255; ++k) {
    const std::string n = std::to_string(k);
    topics += Topic(std::string("t") + n, std::string("F") + n);
  }
  EXPECT_EQ(RefusedLine(topics), 0);
  EXPECT_EQ(RefusedLine(topics + Topic("otro", "OTRO")), 256);
  std::string formulas = Topic("T", "T");
  for (int k = 1; k <= 255; ++k) formulas += Formula("f", std::to_string(k), "");
  EXPECT_EQ(RefusedLine(formulas), 0);
  EXPECT_EQ(RefusedLine(formulas + Formula("f", "x", "")), 257);
}

TEST_F(LibraryText, TwoTopicsMayShareAFileOnlyWithTheSameFormulas) {
  const std::string a = Topic("A", "comun") + Formula("f", "x", "");
  EXPECT_EQ(RefusedLine(a + Topic("B", "COMUN") + Formula("f", "x", "")), 0);
  EXPECT_EQ(RefusedLine(a + Topic("B", "COMUN") + Formula("g", "x", "")), 3);
  EXPECT_EQ(RefusedLine(a + Topic("B", "Comun")), 3);
}

TEST_F(LibraryText, RoundTripsThroughTheRecordFiles) {
  const std::string text = Topic("Geometría", "GEOM") + Formula("A", "b*h", "área\\tcon tab") +
                           Formula("", "x^2", "") + Topic("Sin fórmulas", "") +
                           Topic("Otra", "OTRA") + Formula("c", "(a^2+b^2)^0.5", "Pitágoras");
  Library library;
  LibraryTextError error;
  ASSERT_TRUE(ParseLibraryLines(text, library, error)) << error.text;
  ASSERT_TRUE(WriteLibraryFiles(library));
  EXPECT_EQ(ReadFile("temas.rel").size(), 3 * 52u);
  EXPECT_EQ(ReadFile(FormulaPath("GEOM").c_str()).size(), 2 * 80u);
  EXPECT_EQ(ReadFile(FormulaPath("").c_str()).size(), 0u);
  EXPECT_EQ(LibraryLines(ReadLibraryFiles()), text);
}

TEST_F(LibraryText, ATopicWithoutItsFileListsNoFormulas) {
  TopicList[1] = {"Perdido", "NOESTA"};
  TopicCount = 1;
  ASSERT_TRUE(SaveTopics());
  EXPECT_EQ(LibraryLines(ReadLibraryFiles()), Topic("Perdido", "NOESTA"));
}

// --- The sample library that ships ------------------------------------------

std::string SampleText() {
  std::string source = __FILE__;
  source = source.substr(0, source.find_last_of("/\\") + 1) + "../../data/library.txt";
  std::ifstream in(source, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SampleLibrary, HasSixTopicsAndSixtyCheckedFormulasWithComments) {
  const std::string text = SampleText();
  ASSERT_FALSE(text.empty()) << "data/library.txt not found from " << __FILE__;
  Library library;
  LibraryTextError error;
  ASSERT_TRUE(ParseLibraryLines(Utf8ToCp1252(text), library, error)) << error.text;
  EXPECT_GE(library.topics.size(), 6u);
  std::size_t formulas = 0;
  std::set<std::string> files;
  for (const LibraryTopic& topic : library.topics) {
    EXPECT_FALSE(topic.topic.TopicFile.empty()) << topic.topic.TopicName;
    EXPECT_TRUE(files.insert(topic.topic.TopicFile.str()).second) << topic.topic.TopicFile;
    for (const FormulaRecord& f : topic.formulas) {
      ++formulas;
      EXPECT_FALSE(f.Name.empty()) << f.Expression;
      EXPECT_FALSE(f.Comment.empty()) << f.Expression;
      EXPECT_EQ(f.Expression.view().find('='), std::string_view::npos) << f.Expression;
      const CheckResult check = CheckFormula(f.Expression);
      EXPECT_TRUE(check.ok) << f.Expression << ": " << check.caption << " " << check.text;
      std::set<char> params;
      for (char c : f.Expression.view()) {
        if (IsNameLetter(c)) params.insert(c);
      }
      EXPECT_LE(params.size(), 4u) << f.Expression;
    }
  }
  EXPECT_GE(formulas, 60u);
}

}  // namespace
