// What every end-to-end test needs: the real program started as its own
// process in a fresh copy of the data folder, its windows found by caption,
// and its controls used from outside as a person would.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
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
  // Its main window once it shows (nullptr when it never does).
  HWND MainWindow(int milliseconds = 20000) const;
  // "Salir" chosen in the main window: true once the program has ended with
  // exit code 0.
  bool QuitsBySalir(HWND mainWindow) const;

 private:
  std::string folder_;
  PROCESS_INFORMATION process_{};
  bool started_ = false;
  bool ownsFolder_ = false;

  void Start(const std::string& program);
};

// The program's texts are read and written wide, as a person sees them under
// every system code page, and given here in Windows-1252 as the test
// sources' literals are compiled. (An ANSI call would convert them through
// the code page of this process, and LB_GETTEXT sent ANSI to another process
// comes back as UTF-16 anyway.)
std::string ItemText(HWND window, int id);
// What a person's typing or pasting leaves in the control (its change
// notification comes as well).
void SetItemText(HWND window, int id, const std::string& text);
std::string ListItemText(HWND dialog, int list, int index);
// The program's keyboard focus, asked of its thread. Not by joining the two
// input queues: under Wine that clears the program's key state, and a Shift
// or Ctrl held by keys sent to it would be lost.
HWND FocusIn(HWND window);
// Puts the keyboard focus on a control of the program and presses Enter there;
// the program's dialog manager turns it into its command.
void PressEnterIn(HWND window, int id);
// What choosing a menu item of the window sends.
void Choose(HWND window, int command);
// A click or a double-click on item index (0-based) of a list, as the list reports it.
void Click(HWND dialog, int list, int index);
void DoubleClick(HWND dialog, int list, int index);
int ListCount(HWND dialog, int list);

// Real input from the X server, as a person's mouse and keyboard give it: a
// window manager sees it and decides activation by it, where SendInput goes
// straight into Wine's queues. Each runs xdotool and waits for it.
bool XInput(const std::string& arguments);
bool XClickAt(POINT screen);
bool XClickItem(HWND window, int id);  // the middle of a control
// Moves a window to the screen's top left corner without activating it, and
// waits until it stands there (a window manager may keep it a little off).
bool PutAtScreenCorner(HWND window);
bool XType(const std::string& text);   // the keys of an ASCII text
// The screen's pixel as the X server shows it (CLR_INVALID when unknown).
COLORREF ScreenPixel(POINT screen);
// Makes the window the foreground one, as a person's click would, and waits
// until it is: SendInput goes to the foreground window.
bool BringToFront(HWND window);
// Real key presses through the system's input, in the foreground window: the
// keys go down in order and come up in reverse, so {VK_CONTROL, 'T'} is Ctrl+T.
void PressKeys(std::initializer_list<WORD> keys);
// Each character as the keys that type it on the keyboard layout in use
// (Shift where it needs it); false when one cannot be typed.
bool TypeKeys(const std::string& text);

// The folder of the program under test: the test programs are built beside it.
std::string BuildFolder();

// "Info" opens the help document with the program its file type names: for
// the object's life that is the probe, which writes its working folder and
// arguments to tool_probe.txt there. Wine reads file types from the classes
// root only (not the user's own classes), so the type is set there and the
// previous one put back after.
class HelpDocumentType {
 public:
  HelpDocumentType();
  ~HelpDocumentType();
  HelpDocumentType(const HelpDocumentType&) = delete;
  HelpDocumentType& operator=(const HelpDocumentType&) = delete;

 private:
  std::string previous_;
};

// A file's bytes ("" when it cannot be read), and whether it exists.
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
