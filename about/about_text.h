// The texts of the about window, apart from the window.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/short_text.h"

// The text after the last "\", or the whole text when there is none.
ShortText FileNameOnly(std::string_view path);
// FileNameOnly without the part from its last "." on.
ShortText BaseName(std::string_view path);

// The seven button texts of the current language; one is picked at random.
constexpr int kAboutButtonTexts = 7;
const char* AboutButtonText(int index);
// "Respecto " + name + "..." and its sister wordings.
ShortText AboutCaption(std::string_view progName);
ShortText AuthorLine(std::string_view year);
ShortText WebLine();
// The maker's mail address; none, so the mail line is not drawn.
inline constexpr std::string_view kMakerMail = "";
