// Entry point of the GUI tests: the common controls must be registered
// before any test opens a dialog from the program's templates.
// clang-format off
#include <windows.h>  // before <commctrl.h>, which uses its types
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

#include "tests/gui/msgbox_recorder.h"

int main(int argc, char** argv) {
  InitCommonControls();
  testing::InitGoogleTest(&argc, argv);
  // Under a virtual display nobody would press a button of a box that no
  // test expected: answer it and fail the test that showed it.
  MessageBoxRecorder unexpected;
  unexpected.OnEachBox([](const MessageBoxRecord& box) {
    ADD_FAILURE() << "unexpected message box \"" << box.caption << "\": \"" << box.text
                  << "\" (answered " << box.answer << ")";
  });
  return RUN_ALL_TESTS();
}
