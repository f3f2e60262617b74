#include "tests/gui/dialog_template.h"

#include <gtest/gtest.h>

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

void ExpectTemplateControls(const DialogDriver& dialog, std::span<const TemplateControl> expected) {
  // The dialog manager keeps the controls in template order: that is the tab order.
  HWND control = GetWindow(dialog.Dialog(), GW_CHILD);
  for (const TemplateControl& e : expected) {
    ASSERT_NE(control, nullptr) << "missing control " << e.id;
    SCOPED_TRACE(testing::Message() << "control " << e.id);
    EXPECT_EQ(GetDlgCtrlID(control), e.id);
    char className[64] = "";
    GetClassNameA(control, className, sizeof className);
    EXPECT_STRCASEEQ(className, e.className);
    if (e.text) {
      EXPECT_EQ(WindowText(control), e.text);
    }
    EXPECT_EQ(IsWindowVisible(control) != FALSE, e.visible);
    const bool list = lstrcmpiA(e.className, "ListBox") == 0;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_EXSTYLE));
    // A list box without owner drawing is given LBS_HASSTRINGS when it is created.
    EXPECT_EQ(style & ((list ? 0xFFFF & ~LBS_HASSTRINGS : 0xFFFF) | WS_TABSTOP), e.styles);
    EXPECT_EQ((style & WS_BORDER) != 0 || (exStyle & WS_EX_CLIENTEDGE) != 0, e.border);

    RECT actual{};
    GetWindowRect(control, &actual);
    MapWindowPoints(nullptr, dialog.Dialog(), reinterpret_cast<POINT*>(&actual), 2);
    const RECT want = dialog.Pixels(e.x, e.y, e.width, e.height);
    EXPECT_EQ(actual.left, want.left);
    EXPECT_EQ(actual.top, want.top);
    // An icon control takes the icon's size; a list of whole lines may be shorter.
    const bool icon = lstrcmpiA(e.className, "Static") == 0 && (e.styles & SS_TYPEMASK) == SS_ICON;
    const bool wholeLines = list && !(e.styles & LBS_NOINTEGRALHEIGHT);
    if (!icon) {
      EXPECT_EQ(actual.right, want.right);
    }
    if (!icon && !wholeLines) {
      EXPECT_EQ(actual.bottom, want.bottom);
    }
    control = GetWindow(control, GW_HWNDNEXT);
  }
  EXPECT_EQ(control, nullptr) << "more controls than expected";
}
