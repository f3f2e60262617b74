#include "tests/gui/dialog_template.h"

namespace {

// Word offset of DLGTEMPLATE::cdit, the control count patched by Add.
constexpr std::size_t kCountWord = 4;

}  // namespace

DialogTemplate::DialogTemplate(std::string_view title, short cx, short cy, DWORD style) {
  PutDword(style | DS_SETFONT);
  PutDword(0);          // extended style
  words_.push_back(0);  // control count
  for (short v : {short(0), short(0), cx, cy}) words_.push_back(static_cast<WORD>(v));
  words_.push_back(0);  // no menu
  words_.push_back(0);  // the standard dialog class
  PutText(title);
  words_.push_back(8);
  PutText("MS Shell Dlg");
}

DialogTemplate& DialogTemplate::Add(WORD controlClass, WORD id, std::string_view text, DWORD style,
                                    short x, short y, short cx, short cy) {
  AlignToDword();  // every item starts on a DWORD boundary
  PutDword(style | WS_CHILD | WS_VISIBLE);
  PutDword(0);
  for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
  words_.push_back(id);
  words_.push_back(0xFFFF);  // a predefined class follows as an atom
  words_.push_back(controlClass);
  PutText(text);
  words_.push_back(0);  // no creation data
  ++words_[kCountWord];
  return *this;
}

void DialogTemplate::PutDword(DWORD value) {
  words_.push_back(LOWORD(value));
  words_.push_back(HIWORD(value));
}

// Template texts are UTF-16; the tests' texts are Windows-1252.
void DialogTemplate::PutText(std::string_view text) {
  if (!text.empty()) {
    const int n = MultiByteToWideChar(1252, 0, text.data(), int(text.size()), nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(n));
    MultiByteToWideChar(1252, 0, text.data(), int(text.size()), wide.data(), n);
    for (wchar_t w : wide) words_.push_back(static_cast<WORD>(w));
  }
  words_.push_back(0);
}

void DialogTemplate::AlignToDword() {
  if (words_.size() % 2 != 0) words_.push_back(0);
}
