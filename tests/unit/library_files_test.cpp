// The record files of the library: layouts, damaged and oversized files, and
// saves that must never lose the old file.
#include "library/library_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "common/atomic_save.h"
#include "tests/unit/library_folder.h"

namespace {

class LibraryFiles : public LibraryFolderTest {};

FormulaRecord Formula(ShortText name, ShortText expression, ShortText comment) {
  return {name, expression, comment};
}

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

// --- Layouts ----------------------------------------------------------------

TEST_F(LibraryFiles, TopicImageHasItsFieldsAtTheirOffsetsAndZerosElsewhere) {
  const std::string image = TopicImage({"Física", "FISICA"});
  ASSERT_EQ(image.size(), 52u);
  EXPECT_EQ(image[0], 6);
  EXPECT_EQ(image.substr(1, 6), "F\xEDsica");  // Windows-1252 í
  EXPECT_EQ(image.substr(7, 35), std::string(35, '\0'));
  EXPECT_EQ(image[42], 6);
  EXPECT_EQ(image.substr(43, 6), "FISICA");
  EXPECT_EQ(image.substr(49), std::string(3, '\0'));
}

TEST_F(LibraryFiles, FormulaImageHasItsFieldsAtTheirOffsets) {
  const std::string image = FormulaImage(Formula("f", "a+b", "suma"));
  ASSERT_EQ(image.size(), 80u);
  EXPECT_EQ(image.substr(0, 2), Bytes({1, 'f'}));
  EXPECT_EQ(image.substr(4, 4), Bytes({3, 'a', '+', 'b'}));
  EXPECT_EQ(image[45], 0);
  EXPECT_EQ(image.substr(46, 5), Bytes({4, 's', 'u', 'm', 'a'}));
  EXPECT_EQ(image[79], 0);
}

TEST_F(LibraryFiles, FullFieldsFillTheirBytesAndReadBackWhole) {
  const FormulaRecord full{"abc", std::string(40, 'x'), std::string(32, 'y')};
  const std::string image = FormulaImage(full);
  std::string beyond;
  FormulaRecord back[2];
  ASSERT_EQ(ReadFormulaImages(image, back, beyond), 1);
  EXPECT_EQ(back[1].Name, "abc");
  EXPECT_EQ(back[1].Expression.str(), std::string(40, 'x'));
  EXPECT_EQ(back[1].Comment.str(), std::string(32, 'y'));
}

TEST_F(LibraryFiles, ListLines) {
  FormulaList[1] = Formula("f", "a+b", "suma");
  FormulaList[2] = Formula("", "a+b", "suma");
  EXPECT_EQ(FormulaLine(1), "f = a+b");
  EXPECT_EQ(FormulaLine(2), "a+b");
  TopicList[1] = {"Geometría", "GEOM"};
  EXPECT_EQ(TopicLine(1), "Geometría");
}

// --- Loading ----------------------------------------------------------------

TEST_F(LibraryFiles, WholeRecordsAreReadAndATrailingPartialOneIgnored) {
  const std::string two = TopicImage({"uno", "UNO"}) + TopicImage({"dos", "DOS"});
  WriteFile("temas.rel", two);
  LoadTopics();
  EXPECT_EQ(TopicCount, 2);
  EXPECT_EQ(TopicList[2].TopicFile, "DOS");
  WriteFile("temas.rel", two.substr(0, 103));
  LoadTopics();
  EXPECT_EQ(TopicCount, 1);
  WriteFile("temas.rel", two.substr(0, 51));
  LoadTopics();
  EXPECT_EQ(TopicCount, 0);
}

TEST_F(LibraryFiles, AMissingFileGivesAnEmptyListAndTheFirstSaveCreatesIt) {
  TopicCount = 3;
  LoadTopics();
  EXPECT_EQ(TopicCount, 0);
  TopicList[1] = {"uno", "UNO"};
  TopicCount = 1;
  ASSERT_TRUE(SaveTopics());
  EXPECT_EQ(ReadFile("temas.rel").size(), 52u);
}

TEST_F(LibraryFiles, LengthBytesLargerThanTheirFieldsStopAtTheFieldsEnd) {
  std::string image = FormulaImage(Formula("abc", std::string(40, 'x'), std::string(32, 'y')));
  image[0] = static_cast<char>(255);
  image[4] = static_cast<char>(200);
  image[46] = static_cast<char>(33);
  std::string topic = TopicImage({std::string(40, 'n'), "FICHERO8"});
  topic[0] = 41;
  topic[42] = static_cast<char>(255);

  std::string beyond;
  FormulaRecord formulas[2];
  ASSERT_EQ(ReadFormulaImages(image, formulas, beyond), 1);
  EXPECT_EQ(formulas[1].Name, "abc");
  EXPECT_EQ(formulas[1].Expression.str(), std::string(40, 'x'));
  EXPECT_EQ(formulas[1].Comment.str(), std::string(32, 'y'));
  TopicRecord topics[2];
  ASSERT_EQ(ReadTopicImages(topic, topics, beyond), 1);
  EXPECT_EQ(topics[1].TopicName.str(), std::string(40, 'n'));
  EXPECT_EQ(topics[1].TopicFile, "FICHERO8");
}

TEST_F(LibraryFiles, AnEmptyTopicFileUsesDotFrmInTheFormulaFolder) {
  LoadFormulaFile("");
  EXPECT_EQ(FormulaFilePath, FormulaPath(""));
  EXPECT_EQ(FormulaFilePath.str().substr(0, 5), "Frmls");
  EXPECT_EQ(FormulaFilePath.str().substr(6), ".frm");
  EXPECT_EQ(TopicFormulaCount, 0);
}

TEST_F(LibraryFiles, LoadingBindsThePathEvenWhenTheFileIsMissing) {
  FormulaList[1] = Formula("f", "x", "");
  TopicFormulaCount = 1;
  LoadFormulaFile("NUEVO");
  EXPECT_EQ(TopicFormulaCount, 0);
  FormulaList[1] = Formula("g", "2*x", "doble");
  TopicFormulaCount = 1;
  ASSERT_TRUE(SaveFormulaFile());
  EXPECT_EQ(ReadFile(FormulaPath("NUEVO").c_str()), FormulaImage(Formula("g", "2*x", "doble")));
}

// --- Saving -----------------------------------------------------------------

TEST_F(LibraryFiles, ThreeFormulasMake240BytesInListOrder) {
  MakeFolder("Frmls");
  LoadFormulaFile("TRES");
  const FormulaRecord r[] = {Formula("a", "1", ""), Formula("b", "2", ""), Formula("c", "3", "")};
  for (int k = 0; k < 3; ++k) FormulaList[k + 1] = r[k];
  TopicFormulaCount = 3;
  ASSERT_TRUE(SaveFormulaFile());
  EXPECT_EQ(ReadFile(FormulaFilePath.c_str()),
            FormulaImage(r[0]) + FormulaImage(r[1]) + FormulaImage(r[2]));
  TopicFormulaCount = 0;
  ASSERT_TRUE(SaveFormulaFile());
  EXPECT_EQ(ReadFile(FormulaFilePath.c_str()), "");
}

TEST_F(LibraryFiles, RecordsBeyond255AreKeptAfterTheListOnSave) {
  std::string file;
  for (int k = 1; k <= 300; ++k) {
    std::string name = std::to_string(k);
    name.insert(0, 1, 't');
    file += TopicImage({name, "F"});
  }
  file += "xyz";  // a partial record: dropped
  WriteFile("temas.rel", file);
  LoadTopics();
  ASSERT_EQ(TopicCount, 255);
  EXPECT_EQ(TopicList[255].TopicName, "t255");
  TopicList[1].TopicName = "primero";
  TopicCount = 254;  // the last loaded one deleted
  ASSERT_TRUE(SaveTopics());
  const std::string saved = ReadFile("temas.rel");
  ASSERT_EQ(saved.size(), (254 + 45) * 52u);
  EXPECT_EQ(saved.substr(0, 52), TopicImage({"primero", "F"}));
  EXPECT_EQ(saved.substr(253 * 52, 52), file.substr(253 * 52, 52));
  EXPECT_EQ(saved.substr(254 * 52), file.substr(255 * 52, 45 * 52));
}

TEST_F(LibraryFiles, ASaveCreatesTheMissingFormulaFolder) {
  LoadFormulaFile("GEOM");
  FormulaList[1] = Formula("A", "b*h", "");
  TopicFormulaCount = 1;
  ASSERT_TRUE(SaveFormulaFile());
  EXPECT_EQ(ReadFile(FormulaPath("GEOM").c_str()).size(), 80u);
}

// Fails the write after a number of calls, or the final replacement.
class FailingChannel : public SaveChannel {
 public:
  int writesBeforeFailure = 1000;
  bool refuseReplace = false;
  bool Write(std::FILE* file, std::string_view bytes) override {
    if (writesBeforeFailure-- <= 0) {
      SaveChannel::Write(file, bytes.substr(0, bytes.size() / 2));  // a short write
      return false;
    }
    return SaveChannel::Write(file, bytes);
  }
  bool Replace(const char* from, const char* to) override {
    return !refuseReplace && SaveChannel::Replace(from, to);
  }
};

class LibrarySaveFaults : public LibraryFiles {
 protected:
  void SetUp() override {
    LibraryFiles::SetUp();
    for (int k = 1; k <= 5; ++k) TopicList[k] = {"viejo" + std::to_string(k), "V"};
    TopicCount = 5;
    ASSERT_TRUE(SaveTopics());
    old_ = ReadFile("temas.rel");
    for (int k = 1; k <= 5; ++k) TopicList[k] = {"nuevo" + std::to_string(k), "N"};
  }
  void TearDown() override {
    SetSaveChannel(nullptr);
    LibraryFiles::TearDown();
  }
  void ExpectOldFileAlone() {
    EXPECT_EQ(ReadFile("temas.rel"), old_);
    EXPECT_FALSE(Exists("temas.rel.new"));
  }
  std::string old_;
};

TEST_F(LibrarySaveFaults, AWriteFailingHalfWayLeavesTheOldFile) {
  for (int after : {0, 1, 3}) {
    FailingChannel failing;
    failing.writesBeforeFailure = after;
    SetSaveChannel(&failing);
    EXPECT_FALSE(SaveTopics()) << after;
    ExpectOldFileAlone();
  }
}

TEST_F(LibrarySaveFaults, AFailedReplacementLeavesTheOldFile) {
  FailingChannel failing;
  failing.refuseReplace = true;
  SetSaveChannel(&failing);
  EXPECT_FALSE(SaveTopics());
  ExpectOldFileAlone();
}

TEST_F(LibrarySaveFaults, AReadOnlyFileIsNotReplaced) {
  ASSERT_EQ(chmod("temas.rel", 0444), 0);
  EXPECT_FALSE(SaveTopics());
  chmod("temas.rel", 0644);
  ExpectOldFileAlone();
}

TEST_F(LibrarySaveFaults, AFormulaFolderThatIsAFileFailsTheSave) {
  WriteFile("Frmls", "no soy una carpeta");
  LoadFormulaFile("X");
  FormulaList[1] = Formula("f", "x", "");
  TopicFormulaCount = 1;
  EXPECT_FALSE(SaveFormulaFile());
  EXPECT_EQ(ReadFile("Frmls"), "no soy una carpeta");
}

TEST_F(LibrarySaveFaults, AListWhoseFileCouldNotBeOpenedIsNotSavedOverIt) {
  MakeFolder("Frmls");
  MakeFolder(FormulaPath("X").c_str());  // there, but no file to open
  LoadFormulaFile("X");
  EXPECT_EQ(TopicFormulaCount, 0);
  FormulaList[1] = Formula("f", "x", "");
  TopicFormulaCount = 1;
  EXPECT_FALSE(SaveFormulaFile());
  LoadFormulaFile("Y");  // a missing file is no obstacle
  TopicFormulaCount = 1;
  EXPECT_TRUE(SaveFormulaFile());
}

TEST_F(LibrarySaveFaults, TheNextSaveAfterAFailureSucceeds) {
  FailingChannel failing;
  failing.writesBeforeFailure = 2;
  SetSaveChannel(&failing);
  EXPECT_FALSE(SaveTopics());
  SetSaveChannel(nullptr);
  ASSERT_TRUE(SaveTopics());
  LoadTopics();
  ASSERT_EQ(TopicCount, 5);
  EXPECT_EQ(TopicList[5].TopicName, "nuevo5");
}

}  // namespace
