// Records the message boxes that the calling thread shows and answers each
// one with a scripted button, so code that asks the user can run unattended.
//
//   MessageBoxRecorder boxes;          // hook installed on this thread
//   boxes.Script(IDNO);                // the first box is answered "No"
//   RunCodeThatAsks();                 // later boxes get the default, IDOK
//   ASSERT_EQ(boxes.Boxes().size(), 2u);
//   EXPECT_EQ(boxes.Boxes()[0].caption, "Borrar");
//   EXPECT_EQ(boxes.Boxes()[0].Style(), MB_YESNO | MB_ICONQUESTION);
//
// How: a thread-local WH_CBT hook sees HCBT_ACTIVATE of every window of the
// thread. A window counts as a message box when it is a dialog ("#32770")
// whose procedure is the system's (user32) and that has the message static
// (a Static control with id 0xFFFF). The program's own dialogs are left alone
// even when they hold controls with id 0xFFFF (-1 in a resource script).
// The answer is a posted WM_COMMAND/BN_CLICKED for the button, which the
// box's own modal loop handles; the box's caller then gets that button code.
//
// Only boxes of the thread that created the recorder are seen. Recorders may
// nest when scoped (the inner one ends first); the innermost one records.
// Texts are read wide and given in Windows-1252, as the program's own are.
// The GUI test main keeps one recorder for the whole run: a box that no test
// recorder catches is answered too (never hangs) and fails the running test.
#pragma once

#include <windows.h>

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

enum class BoxIcon { None, Error, Question, Exclamation, Information, Other };

struct MessageBoxRecord {
  std::string caption;       // title bar
  std::string text;          // the message static
  HWND owner = nullptr;      // GetWindow(box, GW_OWNER); nullptr when unowned
  std::vector<int> buttons;  // ids present, ascending: IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7, ...
  BoxIcon icon = BoxIcon::None;
  int answer = 0;  // the button the recorder pressed

  bool HasButton(int id) const;
  // The MessageBoxA style that gives these buttons and this icon, for example
  // MB_YESNO | MB_ICONQUESTION (0x24); -1 when the buttons form no standard set.
  // Default-button, modality and help bits are not observed.
  int Style() const;
};

class MessageBoxRecorder {
 public:
  MessageBoxRecorder();
  ~MessageBoxRecorder();
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  // Queues the answer for the next box not yet answered (IDOK, IDYES, ...).
  // With the queue empty a box gets IDOK. A scripted button the box does not
  // have is replaced by IDCANCEL when present, else by the box's last button
  // (so a Yes/No box answers No); the record's `answer` tells what was pressed.
  void Script(int button);
  std::size_t PendingScripts() const { return script_.size(); }

  // Every box seen since construction or the last Clear, in order.
  const std::vector<MessageBoxRecord>& Boxes() const { return boxes_; }
  // The last box; the recorder must have seen one.
  const MessageBoxRecord& Last() const { return boxes_.back(); }
  // Forgets the records and any unused scripted answers.
  void Clear();

  // Called with each new record, before its answer is posted, while the code
  // that showed the box is still inside MessageBoxA (a gtest failure added
  // here belongs to the running test).
  void OnEachBox(std::function<void(const MessageBoxRecord&)> observer) {
    observer_ = std::move(observer);
  }

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  void Answer(HWND box);

  HHOOK hook_ = nullptr;
  MessageBoxRecorder* outer_ = nullptr;
  std::deque<int> script_;
  std::vector<MessageBoxRecord> boxes_;
  std::vector<HWND> answered_;  // boxes still open that already got their answer
  std::function<void(const MessageBoxRecord&)> observer_;
};

// True when the window is a system message box (see above).
bool IsMessageBox(HWND window);
