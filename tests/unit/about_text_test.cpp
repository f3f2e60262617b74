// The texts of the about window.
#include "about/about_text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/language.h"

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

TEST(AboutTexts, CaptionAndButtonsFollowTheLanguage) {
  const int kept = LANGUAGE;
  const char* captions[] = {"Quant a quillet...", "About quillet...", "Respecto quillet..."};
  const char* firsts[] = {"buenu", "Ok", "bueno"};
  for (int language = 0; language <= 2; ++language) {
    LANGUAGE = language;
    EXPECT_EQ(AboutCaption("quillet"), captions[language]);
    std::set<std::string> texts;
    for (int i = 0; i < kAboutButtonTexts; ++i) texts.insert(AboutButtonText(i));
    EXPECT_EQ(texts.size(), 7u) << language;
    EXPECT_EQ(std::string(AboutButtonText(0)), firsts[language]);
  }
  LANGUAGE = 2;
  EXPECT_EQ(std::string(AboutButtonText(6)), "¡vaya!");
  LANGUAGE = kept;
}

TEST(AboutTexts, AuthorAndWebLines) {
  EXPECT_EQ(AuthorLine("2026"), "Quillet contributors - 2026");
  EXPECT_EQ(WebLine(), "web: Quillet");
  EXPECT_TRUE(kMakerMail.empty());
}

}  // namespace
