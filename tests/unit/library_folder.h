// A fresh current folder for each test of the library files, and the
// library's lists emptied, so that tests do not see each other's files.
#pragma once

#include "library/library_files.h"
#include "tests/support/test_folder.h"

class LibraryFolderTest : public TestFolder {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    TopicCount = 0;
    TopicFormulaCount = 0;
    TopicsBeyond.clear();
    FormulasBeyond.clear();
    FormulaFilePath.Clear();
    TopicsFile = {};
    FormulaFile = {};
    TopicImagesAsRead.clear();
    FormulaImagesAsRead.clear();
  }
};
