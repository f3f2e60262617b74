// The message-box, control and list-box helpers on real controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "common/codepage.h"
#include "common/dialog_win.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/dialog_template.h"
#include "tests/gui/msgbox_recorder.h"

namespace {

constexpr int kEdit = 101;
constexpr int kList = 102;
constexpr int kLabel = 103;

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

// A visible, active dialog with an edit, an unsorted list box and a label.
class DialogHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    DialogTemplate t("Ayudantes", 200, 120,
                     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME);
    t.Add(DialogTemplate::kEdit, kEdit, "", WS_BORDER | ES_AUTOHSCROLL, 5, 5, 150, 12);
    t.Add(DialogTemplate::kListBox, kList, "", WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 5, 22, 150, 60);
    t.Add(DialogTemplate::kStatic, kLabel, "etiqueta", SS_LEFT, 5, 90, 100, 10);
    // Wide, as every window of the program: an ANSI one takes texts in the
    // system's code page whichever call sets them.
    dialog_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.Get(), nullptr,
                                         &PlainDialogProc, 0);
    ASSERT_NE(dialog_, nullptr);
    SetActiveWindow(dialog_);
  }
  void TearDown() override {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
  }

  std::string ControlText(int id) const { return WindowText(GetDlgItem(dialog_, id)); }
  std::wstring WideControlText(HWND control) const {
    wchar_t buffer[1024] = L"";
    GetWindowTextW(control, buffer, 1024);
    return buffer;
  }
  LRESULT ToList(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendDlgItemMessageW(dialog_, kList, message, wParam, lParam);
  }
  std::wstring WideItem(int index) const {
    wchar_t buffer[300] = L"";
    ToList(LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  void FillList(std::initializer_list<const char*> items) const {
    for (const char* item : items) ListAdd(dialog_, kList, item);
  }

  HWND dialog_ = nullptr;
};

TEST_F(DialogHelpers, ItemTexts) {
  SetItemText(dialog_, kEdit, "Física");
  EXPECT_EQ(ControlText(kEdit), "Física");
  EXPECT_EQ(GetItemText(dialog_, kEdit), "Física");

  SetItemText(dialog_, kEdit, "F");
  EXPECT_EQ(TakeItemText(dialog_, kEdit), "F");
  EXPECT_EQ(ControlText(kEdit), "");
  EXPECT_EQ(TakeItemText(dialog_, kEdit), "");
}

// The run is under the system code page it asked for (wine.gui_cp1251 asks
// for 1251): else that run would prove nothing.
TEST(SystemCodePage, IsTheOneTheRunAsksFor) {
  const char* asked = std::getenv("QUILLET_CODE_PAGE");
  if (!asked) GTEST_SKIP() << "the system's own code page";
  EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(asked)));
}

// The controls hold UTF-16: each text reads the same under every system code
// page, and what Windows-1252 cannot hold (typed under 1251, say) reads "?".
TEST_F(DialogHelpers, TextsCrossAsUtf16) {
  SetItemText(dialog_, kEdit, "División €");
  EXPECT_EQ(WideControlText(GetDlgItem(dialog_, kEdit)), L"División €");
  SetDlgItemTextW(dialog_, kEdit, L"жир área 日本 😀");
  EXPECT_EQ(GetItemText(dialog_, kEdit), "??? área ?? ?");

  SetWindowCaption(dialog_, "Fórmulas");
  EXPECT_EQ(WideControlText(dialog_), L"Fórmulas");

  ListAdd(dialog_, kList, "Ñandú");
  EXPECT_EQ(WideItem(0), L"Ñandú");
  ToList(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Ωmega"));
  EXPECT_EQ(ListItemText(dialog_, kList, 2), "?mega");

  MessageBoxRecorder boxes;
  MessageOk("Línea", "División por cero");
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Last().caption, "Línea");
  EXPECT_EQ(boxes.Last().text, "División por cero");
}

TEST_F(DialogHelpers, TextLimits) {
  const std::string long_text = std::string(250, 'a') + std::string(50, 'b');

  SetItemText(dialog_, kEdit, long_text);  // handed over cut at 255
  EXPECT_EQ(ControlText(kEdit), long_text.substr(0, 255));

  SetDlgItemTextW(dialog_, kEdit, WideText(long_text).c_str());  // read back cut at 254
  EXPECT_EQ(GetItemText(dialog_, kEdit).str(), long_text.substr(0, 254));
  EXPECT_EQ(TakeItemText(dialog_, kEdit).str(), long_text.substr(0, 254));
  EXPECT_EQ(ControlText(kEdit), "");

  SetWindowCaption(dialog_, long_text);
  EXPECT_EQ(WindowText(dialog_), long_text.substr(0, 255));
}

TEST_F(DialogHelpers, ShowAndHide) {
  EXPECT_EQ(ItemWindow(dialog_, kLabel), GetDlgItem(dialog_, kLabel));
  HideItem(dialog_, kLabel);
  EXPECT_FALSE(IsWindowVisible(ItemWindow(dialog_, kLabel)));
  ShowItem(dialog_, kLabel);
  EXPECT_TRUE(IsWindowVisible(ItemWindow(dialog_, kLabel)));
}

TEST_F(DialogHelpers, ListPositionsCountFromOne) {
  FillList({"uno", "dos", "tres"});
  EXPECT_EQ(ToList(LB_GETCOUNT), 3);
  EXPECT_EQ(ListSelected(dialog_, kList), 0);  // nothing selected yet

  struct Case {
    std::uint16_t select;
    std::uint16_t selected;
    const char* text;
  };
  for (const Case& c : std::initializer_list<Case>{
           {1, 1, "uno"}, {3, 3, "tres"}, {2, 2, "dos"}, {0, 0, ""},  // 0 takes the selection away
       }) {
    ListSelect(dialog_, kList, c.select);
    EXPECT_EQ(ListSelected(dialog_, kList), c.selected) << c.select;
    EXPECT_EQ(ToList(LB_GETCURSEL), c.selected - 1) << c.select;
    if (c.selected != 0) {
      EXPECT_EQ(ListSelectedText(dialog_, kList), c.text) << c.select;
    }
  }

  for (std::uint16_t p : {1, 2, 3}) {
    EXPECT_EQ(ListItemText(dialog_, kList, p).str(), Cp1252Text(WideItem(p - 1))) << p;
  }
  EXPECT_EQ(ListItemText(dialog_, kList, 0), "");
  EXPECT_EQ(ListItemText(dialog_, kList, 4), "");
}

TEST_F(DialogHelpers, ListDeleteMovesLaterItemsUp) {
  FillList({"uno", "dos", "tres"});
  ListDelete(dialog_, kList, 1);
  EXPECT_EQ(ToList(LB_GETCOUNT), 2);
  EXPECT_EQ(ListItemText(dialog_, kList, 1), "dos");
  EXPECT_EQ(ListItemText(dialog_, kList, 2), "tres");
  ListDelete(dialog_, kList, 2);
  EXPECT_EQ(ToList(LB_GETCOUNT), 1);
  EXPECT_EQ(ListItemText(dialog_, kList, 1), "dos");
  ListDelete(dialog_, kList, 0);  // no item: nothing happens
  EXPECT_EQ(ToList(LB_GETCOUNT), 1);
  ListClear(dialog_, kList);
  EXPECT_EQ(ToList(LB_GETCOUNT), 0);
  EXPECT_EQ(ListSelected(dialog_, kList), 0);
}

TEST_F(DialogHelpers, ListTextsKeepAtMost255) {
  const std::string long_item(300, 'x');
  ListAdd(dialog_, kList, long_item);
  EXPECT_EQ(ToList(LB_GETTEXTLEN, 0), 255);
  EXPECT_EQ(ListItemText(dialog_, kList, 1).size(), 255u);

  // An item put in without the helper is longer; reading it must not overrun.
  ToList(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(long_item).c_str()));
  EXPECT_EQ(ListItemText(dialog_, kList, 2).str(), long_item.substr(0, 255));

  ListAdd(dialog_, kList, "Ñandú");
  ListSelect(dialog_, kList, 3);
  EXPECT_EQ(ListSelectedText(dialog_, kList), "Ñandú");
}

// Which buttons and icon each kind of box shows, and what its caller gets back.
TEST_F(DialogHelpers, MessageBoxKinds) {
  struct Case {
    const char* name;
    int (*show)();
    int script;  // 0: the recorder's default
    int style;   // as observed: button set | icon
    int result;
  };
  const Case cases[] = {
      {"MessageOk", [] { return MessageOk("Título", "Texto"); }, 0, MB_OK, IDOK},
      {"MessageStyled 0x30", [] { return MessageStyled("Título", "Texto", 0x30); }, 0,
       MB_OK | MB_ICONEXCLAMATION, IDOK},
      {"MessageStyled as given", [] { return MessageStyled("Título", "Texto", 0x24); }, IDYES,
       MB_YESNO | MB_ICONQUESTION, IDYES},
      {"AskYesNo no", [] { return AskYesNo("Título", "Texto"); }, IDNO, MB_YESNO, IDNO},
      {"AskYesNo yes", [] { return AskYesNo("Título", "Texto"); }, IDYES, MB_YESNO, IDYES},
      {"AskYesNoStyled 0x20", [] { return AskYesNoStyled("Título", "Texto", 0x20); }, IDYES,
       MB_YESNO | MB_ICONQUESTION, IDYES},
      {"AskYesNoStyled 0x30", [] { return AskYesNoStyled("Título", "Texto", 0x30); }, IDNO,
       MB_YESNO | MB_ICONEXCLAMATION, IDNO},
      {"AskYesNoCancel cancel", [] { return AskYesNoCancel("Título", "Texto"); }, IDCANCEL,
       MB_YESNOCANCEL, IDCANCEL},
      {"AskYesNoCancel no", [] { return AskYesNoCancel("Título", "Texto"); }, IDNO, MB_YESNOCANCEL,
       IDNO},
  };
  for (const Case& c : cases) {
    MessageBoxRecorder boxes;
    if (c.script != 0) boxes.Script(c.script);
    EXPECT_EQ(c.show(), c.result) << c.name;
    ASSERT_EQ(boxes.Boxes().size(), 1u) << c.name;
    EXPECT_EQ(boxes.Last().Style(), c.style) << c.name;
    EXPECT_EQ(boxes.Last().caption, "Título") << c.name;
    EXPECT_EQ(boxes.Last().text, "Texto") << c.name;
  }
}

TEST_F(DialogHelpers, MessageTextsAreCutAt255) {
  MessageBoxRecorder boxes;
  const std::string caption = std::string(255, 'c') + "CUT";
  const std::string text = std::string(255, 't') + std::string(45, 'T');
  MessageOk(caption, text);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Last().caption, std::string(255, 'c'));
  EXPECT_EQ(boxes.Last().text, std::string(255, 't'));
}

TEST_F(DialogHelpers, BoxIsOwnedByTheActiveWindow) {
  MessageBoxRecorder boxes;
  ASSERT_EQ(GetActiveWindow(), dialog_);
  AskYesNo("Título", "Texto");
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Last().owner, dialog_);
  EXPECT_TRUE(IsWindowEnabled(dialog_));  // enabled again once the box is gone

  DestroyWindow(dialog_);
  dialog_ = nullptr;
  ASSERT_EQ(GetActiveWindow(), nullptr);
  MessageOk("Título", "Texto");
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_EQ(boxes.Last().owner, nullptr);
}

}  // namespace
