// Entry point of the GUI tests: the common controls must be registered
// before any test opens a dialog from the program's templates.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  InitCommonControls();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
