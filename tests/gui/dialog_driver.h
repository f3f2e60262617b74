// Drives a dialog of the program's own resources the way a person would, and
// reads back what a person would see.
//
//   DialogDriver window("PRINCIPAL", MainDialogProc);
//   window.Type(IDC_FORMULA, "2+3");     // the procedure gets EN_CHANGE
//   window.PressEnter();                 // through the dialog manager
//   EXPECT_EQ(window.Text(IDC_RESULT1), "5");
//
// The dialog is opened modelessly on the calling thread, shown and made
// active. Keys are posted to the focused control and pumped through
// IsDialogMessage, so Enter, Esc and Tab mean what the dialog manager makes of
// them. Message boxes run their own loops inside the calls; record and answer
// them with a MessageBoxRecorder created before the driver.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/support/formula_cycle_reset.h"

class DialogDriver {
 public:
  DialogDriver(const char* templateName, DLGPROC procedure, LPARAM parameter = 0);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  HWND Dialog() const { return dialog_; }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }

  // Input. Each call ends with the queue pumped.
  void Type(int id, std::string_view text);
  void Focus(int id);
  void PressKey(UINT virtualKey);
  // The key with another held down meanwhile (VK_SHIFT, VK_CONTROL) in the
  // thread's key state, as the dialog manager and the controls read it.
  void PressKey(UINT virtualKey, UINT heldKey);
  void PressEnter() { PressKey(VK_RETURN); }
  void Click(int id);        // BM_CLICK: the button takes the focus, as under a mouse
  void MenuCommand(int id);  // what choosing a menu item sends
  void Pump();

  // What a person sees.
  std::string Text(int id) const;
  bool Visible(int id) const;
  bool Enabled(int id) const;
  bool Focused(int id) const;
  int FocusedId() const;  // -1 when the focus is on no control of the dialog
  // An edit field whose whole text, not empty, is selected: typing replaces it.
  bool AllSelected(int id) const;
  bool MenuItemGrayed(int command) const;
  std::string MenuItemText(int command) const;
  // The control's rectangle in the dialog's client area, in pixels.
  RECT ItemRect(int id) const;
  // A rectangle given in dialog units, as a template gives it, in pixels.
  RECT Pixels(int x, int y, int width, int height) const;

 private:
  HWND dialog_ = nullptr;
};

// Item index (0-based) of a list chosen as a click (LBN_SELCHANGE) or a
// double-click (LBN_DBLCLK) chooses it, for a dialog that runs its own loop.
void SelectInList(HWND dialog, int list, int index, int notification);

// The window's text as a person reads it, read wide and given in
// Windows-1252, as the test sources' literals are compiled: the same under
// every system code page.
std::string WindowText(HWND window);
// Likewise a list box's line (0-based) and a menu's item by its position.
std::string ListLineText(HWND list, int index);
std::string MenuText(HMENU menu, int position);

// A real key, down and up, as a keyboard gives it to the foreground window.
void SendRealKey(WORD virtualKey);

// While it lives, another thread sends the window a message every few
// milliseconds, as the system does to tell a window that does not answer,
// and keeps the slowest answer.
class AnswerWatch {
 public:
  explicit AnswerWatch(HWND window);
  ~AnswerWatch();
  AnswerWatch(const AnswerWatch&) = delete;
  AnswerWatch& operator=(const AnswerWatch&) = delete;

  double SlowestMs() const { return slowestMs_; }
  int Answers() const { return answers_; }

 private:
  HWND window_;
  std::atomic<bool> done_{false};
  std::atomic<double> slowestMs_{0};
  std::atomic<int> answers_{0};
  std::thread thread_;
};

// Steps run at their times (milliseconds from Start) by a timer, from inside
// whatever loop takes the thread's messages then: the program's own while
// it computes.
class TimedSteps {
 public:
  ~TimedSteps();
  void At(int ms, std::function<void()> step) { steps_.push_back({ms, std::move(step), false}); }
  void Start();
  bool AllRun() const;
  // Milliseconds since Start.
  double Now() const;

 private:
  struct Step {
    int ms;
    std::function<void()> run;
    bool done;
  };
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  std::vector<Step> steps_;
  UINT_PTR timer_ = 0;
  LARGE_INTEGER start_{};
  static TimedSteps* current_;
};
