#include "common/text_helpers.h"

namespace {

// Only the accents of Catalan and Spanish topic names; ñ, ç, ì, ù, circumflexes
// and the other diaereses stay as typed.
// clang-format off
char FoldedVowel(unsigned char c) {
  switch (c) {
    case 0xC0: case 0xC1: case 0xE0: case 0xE1: return 'a';
    case 0xC8: case 0xC9: case 0xE8: case 0xE9: return 'e';
    case 0xCD: case 0xCF: case 0xED: case 0xEF: return 'i';
    case 0xD2: case 0xD3: case 0xF2: case 0xF3: return 'o';
    case 0xDA: case 0xDC: case 0xFA: case 0xFC: return 'u';
    default: return static_cast<char>(c);
  }
}
// clang-format on

}  // namespace

// Both take their input as a text, so a longer input is cut to 255 first.
ShortText FoldAccents(std::string_view text) {
  const ShortText input(text);
  ShortText folded;
  for (char c : input.view()) folded += FoldedVowel(static_cast<unsigned char>(c));
  return folded;
}

ShortText RemoveSpaces(std::string_view text) {
  const ShortText input(text);
  ShortText kept;
  for (char c : input.view()) {
    if (c != ' ') kept += c;
  }
  return kept;
}

std::vector<std::string> SplitTabs(std::string_view line) {
  std::vector<std::string> parts(1);
  for (char c : line) {
    if (c == '\t') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

ShortText TrimBlanks(std::string_view text) {
  std::size_t first = 0, last = text.size();
  while (first < last && text[first] == ' ') ++first;
  while (last > first && text[last - 1] == ' ') --last;
  return ShortText(text.substr(first, last - first));
}

ShortText RepeatChar(char c, std::uint16_t n) {
  ShortText text;
  for (std::uint16_t i = 0; i < n && text.size() < ShortText::kMax; ++i) text += c;
  return text;
}

ShortText Spaces(std::uint16_t n) { return RepeatChar(' ', n); }

std::uint16_t LastCharPos(char c, std::string_view text) {
  for (std::size_t i = text.size(); i > 0; --i) {
    if (text[i - 1] == c) return static_cast<std::uint16_t>(i);
  }
  return 0;
}
