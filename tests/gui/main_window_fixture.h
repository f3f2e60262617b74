// The real main window over a one-topic library in a fresh folder: what the
// tests of its commands and the soak start from.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "app/main_window_win.h"
#include "common/language.h"
#include "common/number_text.h"
#include "library/library_text.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/msgbox_recorder.h"
#include "tests/unit/library_folder.h"

class MainWindowOnALibrary : public LibraryFolderTest {
 protected:
  void SetUp() override {
    LibraryFolderTest::SetUp();
    Language = 2;
    DecimalSeparator = '.';
    ResetFormulaCycle();
    Library library;
    library.topics.push_back({{"Geometría", "GEOM"}, {{"A", "b*h", "rectángulo"}}});
    ASSERT_TRUE(WriteLibraryFiles(library));
    PrepareFolder();
    window_ = std::make_unique<DialogDriver>("PRINCIPAL", &MainDialogProc);
  }
  void TearDown() override {
    window_.reset();
    LibraryFolderTest::TearDown();
  }
  // More files the window is to find when it opens.
  virtual void PrepareFolder() {}
  DialogDriver& W() { return *window_; }

  MessageBoxRecorder boxes_;  // before the window, so it sees every box
  std::unique_ptr<DialogDriver> window_;
};
