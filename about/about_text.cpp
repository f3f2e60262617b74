#include "about/about_text.h"

#include "common/language.h"
#include "common/text_helpers.h"

namespace {

constexpr Wording kCaptionWords = {{"Quant a ", "About ", "Respecto "}};
constexpr Wording kButtonTexts[kAboutButtonTexts] = {
    {{"buenu", "Ok", "bueno"}}, {{"Ah!", "Ah!", "¡Ah!"}},    {{"Oh!", "Oh!", "¡Oh!"}},
    {{"vaja!", "Bah!", "psé"}}, {{"hum!", "hum!", "hum!"}}, {{"mmm..", "mmm..", "mmm.."}},
    {{"i vés!", "Done", "¡vaya!"}},
};
constexpr Wording kWebSuffixes = {{"", "/en", "/es"}};

// The project has no web address of its own yet; the line names the project
// until it has one, and then takes the language suffix.
constexpr std::string_view kWebAddress = "";
constexpr std::string_view kProjectName = "Quillet";
constexpr std::string_view kAuthors = "Quillet contributors";

}  // namespace

ShortText FileNameOnly(std::string_view path) {
  const ShortText cut(path);
  return cut.From(LastCharPos('\\', cut));
}

ShortText BaseName(std::string_view path) {
  const ShortText name = FileNameOnly(path);
  const std::uint16_t dot = LastCharPos('.', name);
  return dot == 0 ? name : name.Left(dot - 1);
}

const char* AboutButtonText(int index) {
  if (index < 0 || index >= kAboutButtonTexts) index = 0;
  return kButtonTexts[index].Get();
}

ShortText AboutCaption(std::string_view progName) {
  return ShortText(kCaptionWords.Get()) + progName + "...";
}

ShortText AuthorLine(std::string_view year) {
  return ShortText(kAuthors) + " - " + year;
}

ShortText WebLine() {
  if (kWebAddress.empty()) return ShortText("web: ") + kProjectName;
  return ShortText("web: ") + kWebAddress + kWebSuffixes.Get();
}
