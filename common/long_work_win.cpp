#include "common/long_work_win.h"

#include "common/dialog_win.h"
#include "common/language.h"
#include "engine/eval.h"

LongWork* LongWork::current_ = nullptr;

namespace {

// Well inside the tenth of a second in which a window must answer.
constexpr ULONGLONG kPumpEveryMs = 15;
// Shorter work shows nothing: no flicker of a progress that is gone at once.
constexpr ULONGLONG kProgressAfterMs = 500;

constexpr Wording kStopCaption = {{"Càlcul en curs", "Computation under way", "Cálculo en curso"}};
constexpr Wording kStopQuestion = {
    {"Voleu parar el càlcul?", "Stop the computation?", "¿Parar el cálculo?"}};

bool IsDialogWindow(HWND window) {
  wchar_t name[8] = L"";
  return GetClassNameW(window, name, 8) == 6 && lstrcmpW(name, L"#32770") == 0;
}

BOOL CALLBACK PokeWindow(HWND window, LPARAM) {
  PostMessageW(window, WM_NULL, 0, 0);
  return TRUE;
}

}  // namespace

LongWork::LongWork(LongWorkShow* show)
    : show_(show), focus_(GetFocus()), started_(GetTickCount64()), lastPump_(started_) {
  current_ = this;
  KeepWorking = &LongWork::KeepWorkingNow;
}

LongWork::~LongWork() {
  KeepWorking = nullptr;
  current_ = nullptr;
  if (frozen_ && show_) show_->Thaw();
  // The other windows grey what would start a computation as their messages
  // come: one message each, so that they offer it again now.
  if (frozen_) {
    EnumThreadWindows(GetCurrentThreadId(), &PokeWindow, 0);
  }
  if (progressShown_) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  // Greying the control that had the keyboard took it away, to its window
  // or to none: it gets it back.
  HWND focus = GetFocus();
  if (frozen_ && focus_ && IsWindow(focus_) && IsWindowEnabled(focus_) &&
      (!focus || focus == GetAncestor(focus_, GA_ROOT))) {
    SetFocus(focus_);
  }
}

bool LongWork::GoOn(std::int32_t done, std::int32_t asked) {
  done_ = done;
  asked_ = asked;
  return GoOn();
}

bool LongWork::GoOn() {
  if (stopped_) return false;
  if (pumping_) return true;  // a window's message evaluating meanwhile: not a slice
  const ULONGLONG now = GetTickCount64();
  if (now - lastPump_ < kPumpEveryMs) return true;
  lastPump_ = now;
  if (!frozen_ && show_) show_->Freeze();
  frozen_ = true;
  if (now - started_ >= kProgressAfterMs) {
    if (!progressShown_) SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    progressShown_ = true;
    if (show_) show_->ShowProgress(done_, asked_);
  }
  Pump();
  return !stopped_;
}

void LongWork::Pump() {
  pumping_ = true;
  MSG message;
  while (!stopped_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {  // for the loop the work runs in
      PostQuitMessage(static_cast<int>(message.wParam));
      stopped_ = true;
      break;
    }
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
        message.wParam == VK_ESCAPE) {
      stopped_ = true;
      break;
    }
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogWindow(root) && IsDialogMessageW(root, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    // Each window sets its own cursor as the mouse moves; over the program's
    // windows it is the wait cursor while the work runs.
    if (progressShown_ && (message.message == WM_MOUSEMOVE || message.message == WM_NCMOUSEMOVE)) {
      SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    }
  }
  // The time a message took (a box asking, say) is no slice of the work.
  lastPump_ = GetTickCount64();
  pumping_ = false;
}

bool LongWork::KeepWorkingNow() {
  return !current_ || current_->GoOn();
}

void LongWork::Stop() {
  if (current_) current_->stopped_ = true;
}

bool LongWork::AskToStop() {
  if (!current_) return true;
  if (AskYesNoStyled(kStopCaption.Get(), kStopQuestion.Get(), MB_ICONQUESTION) != IDYES) {
    return false;
  }
  Stop();
  return true;
}
