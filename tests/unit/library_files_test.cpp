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

bool Has(const ShortText& text, const char* part) {
  return text.str().find(part) != std::string::npos;
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

// --- Safe file names ----------------------------------------------------------

TEST_F(LibraryFiles, OnlyPlainFileNamesInFrmlsAreSafe) {
  const struct {
    const char* name;
    bool safe;
  } cases[] = {
      {"GEOM", true},     {"", true},         {"Auxilio", true},     {"CONSTANT", true},
      {"COM0", true},     {"COM10", true},    {"LPT", true},         {"a.b", true},
      {"a/b", false},     {"a\\b", false},    {"..\\..\\zz", false}, {"C:x", false},
      {"a*b", false},     {"a?b", false},     {"a\"b", false},       {"a<b", false},
      {"a>b", false},     {"a|b", false},     {"a\tb", false},       {"\x7F", false},
      {"..", false},      {"CON", false},     {"con", false},        {"Aux", false},
      {"NUL.txt", false}, {"PRN .x", false},  {"COM1", false},       {"com9", false},
      {"LPT5", false},    {"COM\xB9", false}, {"CONIN$", false},
  };
  for (const auto& c : cases) EXPECT_EQ(SafeTopicFile(c.name), c.safe) << c.name;
}

TEST_F(LibraryFiles, AProposalIsSafeAndNoOtherTopicsFile) {
  TopicList[1] = {"Geometría", "GEOMETRI"};
  TopicList[2] = {"Geometría plana", "geometr1"};
  TopicList[3] = {"Auxiliar", "AUX1"};
  TopicCount = 3;
  const struct {
    const char* topicName;
    int ownSlot;
    const char* proposed;
  } cases[] = {
      {"Física Nuclear", 4, "FisicaNu"},
      {"Luz/Calor", 4, "LuzCalor"},
      {"a:b*c?d\"e<f>g|h\\i", 4, "abcdefgh"},
      {"Geometría analítica", 4, "Geometr2"},  // case does not tell files apart
      {"Geometría", 1, "Geometri"},            // its own file is no other topic's
      {"Aux", 4, "Aux2"},
      {"COM1", 4, "COM11"},
      {"", 4, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProposedTopicFile(c.topicName, c.ownSlot), c.proposed) << c.topicName;
  }
}

// A name from a shared or damaged temas.rel: nothing is read from it or
// written to it, not even the file it points at.
TEST_F(LibraryFiles, AnUnsafeTopicFileIsNeitherReadNorWritten) {
  MakeFolder("Frmls");
  const std::string outside = FormulaImage(Formula("z", "1", "fuera"));
  for (const char* name : {"../zz", "..\\zz", "AUX"}) {
    WriteFile("zz.frm", outside);
#ifndef _WIN32  // there, the name opens the device itself
    WriteFile(FormulaPath("AUX").c_str(), outside);
#endif
    LoadFormulaFile(name);
    EXPECT_EQ(TopicFormulaCount, 0) << name;
    FormulaList[1] = Formula("f", "x", "");
    TopicFormulaCount = 1;
    SaveFailure failure;
    EXPECT_FALSE(SaveFormulaFile(&failure)) << name;
    EXPECT_TRUE(Has(failure.reason, "no es un nombre de fichero válido")) << failure.reason.str();
    EXPECT_EQ(ReadFile("zz.frm"), outside);
#ifndef _WIN32
    EXPECT_EQ(ReadFile(FormulaPath("AUX").c_str()), outside);
#endif
  }
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
  file += "xyz";  // a partial record: kept at the end
  WriteFile("temas.rel", file);
  LoadTopics();
  ASSERT_EQ(TopicCount, 255);
  EXPECT_EQ(TopicList[255].TopicName, "t255");
  TopicList[1].TopicName = "primero";
  TopicCount = 254;  // the last loaded one deleted
  ASSERT_TRUE(SaveTopics());
  const std::string saved = ReadFile("temas.rel");
  ASSERT_EQ(saved.size(), (254 + 45) * 52u + 3);
  EXPECT_EQ(saved.substr(0, 52), TopicImage({"primero", "F"}));
  EXPECT_EQ(saved.substr(253 * 52, 52), file.substr(253 * 52, 52));
  EXPECT_EQ(saved.substr(254 * 52), file.substr(255 * 52));
}

// Only what the user edited changes in a file: a record nobody touched keeps
// its own bytes (padding, bytes past a text, a damaged length byte), a
// trailing partial record stays at the end.
TEST_F(LibraryFiles, ASaveKeepsTheBytesItDidNotChange) {
  MakeFolder("Frmls");
  std::string odd = FormulaImage(Formula("a", "x+1", "uno"));
  odd[45] = 'P';  // padding
  odd[10] = 'Q';  // past the expression's 3 characters
  std::string damaged = FormulaImage(Formula("b", std::string(40, 'y'), ""));
  damaged[4] = static_cast<char>(0xFF);  // reads as 40
  const std::string plain = FormulaImage(Formula("c", "3", ""));
  const std::string partial = Bytes({1, 'Z', 0, 0, 5}) + "x*2+1" + std::string(40, '\0');
  const std::string file = odd + damaged + plain + partial;
  const std::string fresh = FormulaImage(Formula("n", "2", ""));
  const struct {
    const char* what;
    void (*edit)();
    std::string saved;
  } cases[] = {
      {"no edit", [] {}, file},
      {"one appended", [] { FormulaList[++TopicFormulaCount] = Formula("n", "2", ""); },
       odd + damaged + plain + fresh + partial},
      {"the middle one edited", [] { FormulaList[2].Comment = "dos"; },
       odd + FormulaImage(Formula("b", std::string(40, 'y'), "dos")) + plain + partial},
      {"the first one deleted",
       [] {
         FormulaList[1] = FormulaList[2];
         FormulaList[2] = FormulaList[3];
         TopicFormulaCount = 2;
       },
       damaged + plain + partial},
      {"two swapped", [] { std::swap(FormulaList[1], FormulaList[3]); },
       plain + damaged + odd + partial},
  };
  for (const auto& c : cases) {
    WriteFile(FormulaPath("F").c_str(), file);
    LoadFormulaFile("F");
    ASSERT_EQ(TopicFormulaCount, 3) << c.what;
    c.edit();
    ASSERT_TRUE(SaveFormulaFile()) << c.what;
    EXPECT_EQ(ReadFile(FormulaPath("F").c_str()), c.saved) << c.what;
    ASSERT_TRUE(SaveFormulaFile()) << c.what << ", saved again";
    EXPECT_EQ(ReadFile(FormulaPath("F").c_str()), c.saved) << c.what << ", saved again";
  }
  WriteFile("temas.rel", TopicImage({"uno", "UNO"}) +
                             "\x03"
                             "dos" +
                             std::string(26, '#'));
  LoadTopics();
  TopicList[2] = {"dos", "DOS"};
  TopicCount = 2;
  ASSERT_TRUE(SaveTopics());
  EXPECT_EQ(ReadFile("temas.rel"), TopicImage({"uno", "UNO"}) + TopicImage({"dos", "DOS"}) +
                                       "\x03"
                                       "dos" +
                                       std::string(26, '#'));
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

// Each failure leaves the old file byte for byte and says why, in words a
// user can act on.
TEST_F(LibrarySaveFaults, EachFailureLeavesTheOldFileAndSaysWhy) {
  const struct {
    const char* what;
    int writesBeforeFailure;
    bool refuseReplace;
    bool readOnly;
    const char* reason;
  } cases[] = {
      {"a write failing at once", 0, false, false, "no se ha podido escribir el archivo completo"},
      {"a write failing half way", 1, false, false, "no se ha podido escribir el archivo completo"},
      {"a write failing at the end", 3, false, false, "no se ha podido escribir"},
      {"the replacement refused", 1000, true, false, ""},
      {"a read-only file", 1000, false, true, "el archivo es de solo lectura"},
  };
  for (const auto& c : cases) {
    FailingChannel failing;
    failing.writesBeforeFailure = c.writesBeforeFailure;
    failing.refuseReplace = c.refuseReplace;
    SetSaveChannel(&failing);
    if (c.readOnly) {
      ASSERT_EQ(chmod("temas.rel", 0444), 0);
    }
    SaveFailure failure;
    EXPECT_FALSE(SaveTopics(&failure)) << c.what;
    chmod("temas.rel", 0644);
    EXPECT_TRUE(Has(failure.reason, c.reason)) << c.what << ": " << failure.reason.str();
    EXPECT_FALSE(failure.reason.empty()) << c.what;
    EXPECT_FALSE(failure.changedOnDisk) << c.what;
    ExpectOldFileAlone();
  }
}

TEST_F(LibrarySaveFaults, AFolderInTheFilesPlaceIsLeftAlone) {
  std::filesystem::remove("temas.rel");
  MakeFolder("temas.rel");
  SaveFailure failure;
  EXPECT_FALSE(SaveTopics(&failure));
  EXPECT_EQ(failure.reason, "en su lugar hay una carpeta");
  EXPECT_TRUE(std::filesystem::is_directory("temas.rel"));
  // The save's own file beside it is named, not the file.
  std::filesystem::remove("temas.rel");
  MakeFolder("temas.rel.new");
  EXPECT_FALSE(SaveTopics(&failure, true));
  EXPECT_EQ(failure.reason,
            "temas.rel.new (el archivo provisional del guardado): en su lugar hay una carpeta");
  EXPECT_TRUE(std::filesystem::is_directory("temas.rel.new"));
}

TEST_F(LibrarySaveFaults, AFormulaFolderThatIsAFileFailsTheSave) {
  WriteFile("Frmls", "no soy una carpeta");
  LoadFormulaFile("X");
  FormulaList[1] = Formula("f", "x", "");
  TopicFormulaCount = 1;
  SaveFailure failure;
  EXPECT_FALSE(SaveFormulaFile(&failure));
  EXPECT_EQ(failure.reason, "la carpeta no existe");
  EXPECT_EQ(ReadFile("Frmls"), "no soy una carpeta");
}

TEST_F(LibrarySaveFaults, AListWhoseFileCouldNotBeOpenedIsNotSavedOverIt) {
  MakeFolder("Frmls");
  MakeFolder(FormulaPath("X").c_str());  // there, but no file to open
  LoadFormulaFile("X");
  EXPECT_EQ(TopicFormulaCount, 0);
  FormulaList[1] = Formula("f", "x", "");
  TopicFormulaCount = 1;
  EXPECT_TRUE(FormulaFile.unread);
  EXPECT_EQ(FormulaFile.why, "en su lugar hay una carpeta");
  SaveFailure failure;
  EXPECT_FALSE(SaveFormulaFile(&failure));
  EXPECT_EQ(failure.reason, "en su lugar hay una carpeta");  // what stops it now
  std::filesystem::remove(FormulaPath("X").c_str());
  WriteFile(FormulaPath("X").c_str(), "");  // a file again: what was not read is at stake
  EXPECT_FALSE(SaveFormulaFile(&failure));
  EXPECT_EQ(failure.reason,
            "no se pudo leer al abrir la biblioteca (en su lugar hay una carpeta), y guardarlo "
            "borraría lo que no se leyó");
  LoadFormulaFile("Y");  // a missing file is no obstacle
  TopicFormulaCount = 1;
  EXPECT_TRUE(SaveFormulaFile());
}

// Another copy of the program saved the file after this one loaded it: the
// save says so instead of writing, and writes only when told to overwrite.
TEST_F(LibrarySaveFaults, AFileChangedOnDiskSinceLoadingIsNotSavedOver) {
  MakeFolder("Frmls");
  const std::string theirs = FormulaImage(Formula("o", "otra", "copia"));
  const struct {
    const char* what;
    const char* path;
    void (*load)();
    bool (*save)(SaveFailure*, bool);
  } files[] = {
      {"topics", "temas.rel", [] { LoadTopics(); }, SaveTopics},
      {"formulas", "Frmls/F.frm", [] { LoadFormulaFile("F"); }, SaveFormulaFile},
  };
  for (const auto& f : files) {
    std::filesystem::remove(f.path);
    f.load();  // missing when loaded, created since: changed too
    WriteFile(f.path, theirs);
    SaveFailure failure;
    EXPECT_FALSE(f.save(&failure, false)) << f.what;
    EXPECT_TRUE(failure.changedOnDisk) << f.what;
    EXPECT_EQ(ReadFile(f.path), theirs) << f.what;

    f.load();
    WriteFile(f.path, theirs);  // the same bytes again: nothing to lose
    EXPECT_TRUE(f.save(&failure, false)) << f.what;
    const std::string ours = ReadFile(f.path);
    EXPECT_TRUE(f.save(&failure, false)) << f.what << ": our own save is no change";
    WriteFile(f.path, theirs + theirs);
    EXPECT_FALSE(f.save(&failure, false)) << f.what;
    EXPECT_TRUE(failure.changedOnDisk) << f.what;
    EXPECT_TRUE(f.save(&failure, true)) << f.what;
    EXPECT_EQ(ReadFile(f.path), ours) << f.what;
  }
}

// A library that may be read but not written is read all the same.
TEST_F(LibrarySaveFaults, AReadOnlyLibraryIsRead) {
  ASSERT_EQ(chmod("temas.rel", 0444), 0);
  LoadTopics();
  chmod("temas.rel", 0644);
  EXPECT_EQ(TopicCount, 5);
  EXPECT_FALSE(TopicsFile.unread);
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
