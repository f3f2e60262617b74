// What every end-to-end test needs: the real program started as its own
// process in a fresh copy of the data folder, its windows found by caption,
// and its controls used from outside as a person would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// From the command line: quillet_e2e <path of quillet.exe> <data folder>.
extern std::string ProgramPath;
extern std::string DataFolder;

// Wine hands Unix paths through unchanged; the Z: drive is the Unix root.
std::string WindowsPath(std::string path);
bool WaitFor(const std::function<bool()>& done, int milliseconds = 20000);
void CopyFolder(const std::string& from, const std::string& to);
void RemoveFolder(const std::string& folder);

// The running program, ended at the latest when the test ends.
class RunningProgram {
 public:
  RunningProgram();
  // The given program in the given folder, as a shortcut would start it; the
  // folder is left as it is.
  RunningProgram(const std::string& program, const std::string& folder);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool Started() const { return started_; }
  // Its working folder, a fresh copy of the data folder.
  const std::string& Folder() const { return folder_; }
  // A visible top-level window of the program; with a caption, that one.
  HWND Window(const char* caption = nullptr) const;
  // A visible top-level window of the program whose caption starts so.
  HWND WindowStartingWith(const char* start) const;
  bool Ended(int milliseconds) const;
  DWORD ExitCode() const;

 private:
  std::string folder_;
  PROCESS_INFORMATION process_{};
  bool started_ = false;
  bool ownsFolder_ = false;

  void Start(const std::string& program);
};

std::string ItemText(HWND window, int id);
// The program's keyboard focus, asked of its thread. Not by joining the two
// input queues: under Wine that clears the program's key state, and a Shift
// or Ctrl held by keys sent to it would be lost.
HWND FocusIn(HWND window);
// Puts the keyboard focus on a control of the program and presses Enter there;
// the program's dialog manager turns it into its command.
void PressEnterIn(HWND window, int id);
// What choosing a menu item of the window sends.
void Choose(HWND window, int command);
// A double-click on item index (0-based) of a list, as the list reports it.
void DoubleClick(HWND dialog, int list, int index);
int ListCount(HWND dialog, int list);

// A file's bytes ("" when it cannot be read), and whether it exists.
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
