// The recorder itself: scripted answers, its fallbacks, and that it leaves
// ordinary dialogs alone.
#include "tests/gui/msgbox_recorder.h"

#include <gtest/gtest.h>

#include "tests/gui/dialog_template.h"

namespace {

TEST(MessageBoxRecorder, AnswersInScriptOrderThenOk) {
  MessageBoxRecorder boxes;
  boxes.Script(IDNO);
  boxes.Script(IDYES);
  EXPECT_EQ(MessageBoxA(nullptr, "1", "a", MB_YESNO), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "2", "b", MB_YESNOCANCEL), IDYES);
  EXPECT_EQ(MessageBoxA(nullptr, "3", "c", MB_OKCANCEL | MB_ICONHAND), IDOK);
  EXPECT_EQ(boxes.PendingScripts(), 0u);

  ASSERT_EQ(boxes.Boxes().size(), 3u);
  struct Expected {
    const char* caption;
    const char* text;
    std::vector<int> buttons;
    BoxIcon icon;
    int answer;
  };
  const Expected expected[] = {
      {"a", "1", {IDYES, IDNO}, BoxIcon::None, IDNO},
      {"b", "2", {IDCANCEL, IDYES, IDNO}, BoxIcon::None, IDYES},
      {"c", "3", {IDOK, IDCANCEL}, BoxIcon::Error, IDOK},
  };
  for (std::size_t i = 0; i < 3; ++i) {
    const MessageBoxRecord& box = boxes.Boxes()[i];
    EXPECT_EQ(box.caption, expected[i].caption) << i;
    EXPECT_EQ(box.text, expected[i].text) << i;
    EXPECT_EQ(box.buttons, expected[i].buttons) << i;
    EXPECT_EQ(box.icon, expected[i].icon) << i;
    EXPECT_EQ(box.answer, expected[i].answer) << i;
  }
  EXPECT_EQ(boxes.Boxes()[2].Style(), MB_OKCANCEL | MB_ICONHAND);

  boxes.Script(IDNO);
  boxes.Clear();
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(boxes.PendingScripts(), 0u);
}

TEST(MessageBoxRecorder, ButtonsTheBoxLacksFallBack) {
  struct Case {
    UINT style;
    int script;  // 0: none
    int answer;
  };
  for (const Case& c : std::initializer_list<Case>{
           {MB_OK, IDYES, IDOK},
           {MB_YESNO, 0, IDNO},  // no OK and no Cancel: the last button
           {MB_YESNOCANCEL, IDOK, IDCANCEL},
           {MB_OKCANCEL | MB_ICONASTERISK, IDNO, IDCANCEL},
       }) {
    MessageBoxRecorder boxes;
    if (c.script != 0) boxes.Script(c.script);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", c.style), c.answer) << c.style;
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Last().answer, c.answer) << c.style;
    EXPECT_EQ(boxes.Last().Style(), int(c.style)) << c.style;
  }
}

TEST(MessageBoxRecorder, ObserverSeesEachBoxBeforeItCloses) {
  MessageBoxRecorder boxes;
  std::vector<std::string> seen;
  boxes.OnEachBox([&](const MessageBoxRecord& box) {
    seen.push_back(box.caption);
    EXPECT_TRUE(IsWindow(FindWindowA("#32770", box.caption.c_str())));
  });
  MessageBoxA(nullptr, "t", "uno", MB_OK);
  MessageBoxA(nullptr, "t", "dos", MB_OK);
  EXPECT_EQ(seen, (std::vector<std::string>{"uno", "dos"}));
}

TEST(MessageBoxRecorder, NestedRecorderTakesOverAndHandsBack) {
  MessageBoxRecorder outer;
  {
    MessageBoxRecorder inner;
    inner.Script(IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "t", "inner", MB_YESNO), IDNO);
    EXPECT_EQ(inner.Boxes().size(), 1u);
  }
  EXPECT_EQ(MessageBoxA(nullptr, "t", "outer", MB_OK), IDOK);
  ASSERT_EQ(outer.Boxes().size(), 1u);
  EXPECT_EQ(outer.Last().caption, "outer");
}

// A dialog of the program's own, with controls of id 0xFFFF (-1 in a resource
// script) like the message static: it runs until its timer ends it. Once
// running, it shows one message box of its own.
constexpr int kEndedByTimer = 42;
constexpr UINT_PTR kAskTimer = 1;
constexpr UINT_PTR kEndTimer = 2;

INT_PTR CALLBACK OrdinaryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetTimer(dialog, kAskTimer, 50, nullptr);
      return TRUE;
    case WM_TIMER:
      KillTimer(dialog, wParam);
      if (wParam == kAskTimer) {
        MessageBoxA(dialog, "dentro", "caja", MB_OK);
        SetTimer(dialog, kEndTimer, 300, nullptr);
      } else {
        EndDialog(dialog, kEndedByTimer);
      }
      return TRUE;
    case WM_COMMAND:
      EndDialog(dialog, LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

TEST(MessageBoxRecorder, LeavesOrdinaryDialogsAlone) {
  DialogTemplate t("Principal", 160, 80);
  t.Add(DialogTemplate::kStatic, 0xFFFF, "etiqueta", SS_LEFT, 5, 5, 100, 10);
  t.Add(DialogTemplate::kButton, 0xFFFF, "grupo", BS_GROUPBOX, 5, 20, 100, 30);
  t.Add(DialogTemplate::kButton, IDOK, "Ok", BS_DEFPUSHBUTTON | WS_TABSTOP, 110, 5, 40, 14);
  t.Add(DialogTemplate::kButton, IDCANCEL, "Cancelar", WS_TABSTOP, 110, 22, 40, 14);

  MessageBoxRecorder boxes;
  const INT_PTR result =
      DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), nullptr, &OrdinaryDialogProc, 0);
  EXPECT_EQ(result, kEndedByTimer);  // no button was pressed for it
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Last().caption, "caja");
  EXPECT_NE(boxes.Last().owner, nullptr);
}

}  // namespace
