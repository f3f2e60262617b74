// Long work on the one GUI thread that keeps the program answering: between
// its slices (the table's rows, a power's millions of factors) the work lets
// the windows take their messages, repaint and show its progress. Esc in any
// window of the program stops it.
//
//   TableProgress show(dialog);
//   LongWork work(&show);          // no other may start while it lives
//   while (... && work.GoOn()) ... // false once stopped
#pragma once

#include <windows.h>

#include <cstdint>

// What a window shows of a work under way.
class LongWorkShow {
 public:
  virtual ~LongWorkShow() = default;
  // The work has run a first slice: controls that would start another go grey.
  virtual void Freeze() {}
  // Past about half a second: the progress shows.
  virtual void ShowProgress(std::int32_t /*done*/, std::int32_t /*asked*/) {}
  // The work ended, or was stopped: everything as before.
  virtual void Thaw() {}
};

class LongWork {
 public:
  explicit LongWork(LongWorkShow* show);
  ~LongWork();
  LongWork(const LongWork&) = delete;
  LongWork& operator=(const LongWork&) = delete;

  // Between slices: lets the windows work every few milliseconds; false once
  // the work was stopped.
  bool GoOn();
  bool GoOn(std::int32_t done, std::int32_t asked);
  bool Stopped() const { return stopped_; }

  // A work is under way: nothing may start another.
  static bool Running() { return current_ != nullptr; }
  static void Stop();
  // For Salir and the close boxes while a work runs: asks whether to stop
  // it; true, with the work stopped, when the user agrees.
  static bool AskToStop();

 private:
  static bool KeepWorkingNow();
  void Pump();

  LongWorkShow* show_;
  HWND focus_;  // where the keyboard was, given back at the end
  ULONGLONG started_;
  ULONGLONG lastPump_;
  std::int32_t done_ = 0, asked_ = 0;
  bool stopped_ = false;
  bool pumping_ = false;
  bool frozen_ = false;
  bool progressShown_ = false;
  static LongWork* current_;
};
