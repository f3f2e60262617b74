// The path helpers behind the about window's program name.
#include "about/about_text.h"

#include <gtest/gtest.h>

namespace {

TEST(AboutPaths, FileNameOnlyAndBaseName) {
  struct Case {
    const char* path;
    const char* file;
    const char* base;
  } cases[] = {
      {"C:\\Program Files\\Quillet\\quillet.exe", "quillet.exe", "quillet"},
      {"quillet.exe", "quillet.exe", "quillet"},
      {"C:\\bin\\quillet", "quillet", "quillet"},
      {"C:\\a.b\\c.d.exe", "c.d.exe", "c.d"},
      {"C:\\a.b\\noext", "noext", "noext"},
      {"C:\\dir\\", "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileNameOnly(c.path), c.file) << c.path;
    EXPECT_EQ(BaseName(c.path), c.base) << c.path;
  }
}

}  // namespace
