#include "app/shortcut_keys_win.h"

#include <vector>

#include "about/about_win.h"
#include "common/dialog_win.h"
#include "library/library_dialog_win.h"
#include "table/table_dialog_win.h"
#include "tools/tools_editor_win.h"

namespace {

HWND CommandWindow = nullptr;
std::vector<ACCEL> Keys;
HHOOK Filter = nullptr;

// The program's own windows; a message box or the system's open-file dialog
// is none of them, so the keys do nothing while one of those is in front.
bool IsProgramWindow(HWND window) {
  if (!window) return false;
  for (HWND own : {CommandWindow, TableWindow, LibraryDialog, ToolsEditor, AboutWindow}) {
    if (own && window == own) return true;
  }
  return false;
}

bool Held(int key) {
  return GetKeyState(key) < 0;
}

// The command of the key, 0 when it is none of the table's.
WORD CommandOf(const MSG& message) {
  const bool control = Held(VK_CONTROL), shift = Held(VK_SHIFT), alt = Held(VK_MENU);
  for (const ACCEL& key : Keys) {
    if (!(key.fVirt & FVIRTKEY) || key.key != message.wParam) continue;
    if (((key.fVirt & FCONTROL) != 0) == control && ((key.fVirt & FSHIFT) != 0) == shift &&
        ((key.fVirt & FALT) != 0) == alt) {
      return key.cmd;
    }
  }
  return 0;
}

// The key being handed to its own dialog: the dialog manager offers it to
// this filter again (a copy of it, under Wine), which must leave it alone then.
MSG Routing{};

bool IsBeingRouted(const MSG& m) {
  return m.message == Routing.message && m.hwnd == Routing.hwnd && m.wParam == Routing.wParam &&
         m.lParam == Routing.lParam && m.time == Routing.time;
}

bool IsClosingKey(WPARAM key) {
  return key == VK_RETURN || key == VK_ESCAPE;
}

// A dialog loop runs the keyboard of its own dialog only: while the table's
// loop runs, Enter, Tab and Esc in the main window (or in the library opened
// from there) would reach their controls raw. Each key goes to the dialog it
// was pressed in, as that dialog's own loop would hand it on.
bool RouteToItsWindow(const MSG& message) {
  if (message.message != WM_KEYDOWN || !message.hwnd) return false;
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (!IsProgramWindow(root)) return false;
  if (root == AboutWindow) {
    // Not a dialog: Enter and Esc are the window's own, wherever its focus is.
    if (!IsClosingKey(message.wParam)) return false;
    SendMessageW(root, WM_COMMAND, message.wParam == VK_RETURN ? IDOK : IDCANCEL, 0);
    return true;
  }
  const MSG outer = Routing;
  Routing = message;
  MSG routed = message;
  const bool handled = IsDialogMessageW(root, &routed) != FALSE;
  Routing = outer;
  return handled;
}

LRESULT CALLBACK FilterMessage(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const MSG*>(lParam);
  if ((code == MSGF_DIALOGBOX || code == OwnLoopFilterCode) && !IsBeingRouted(*message) &&
      (TranslateShortcutKey(*message) || RouteToItsWindow(*message))) {
    return TRUE;
  }
  return CallNextHookEx(Filter, code, wParam, lParam);
}

}  // namespace

void InstallShortcutKeys(HWND mainWindow) {
  CommandWindow = mainWindow;
  if (Keys.empty()) {
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), L"TECLES");
    const int count = table ? CopyAcceleratorTableW(table, nullptr, 0) : 0;
    Keys.resize(count);
    if (count > 0) CopyAcceleratorTableW(table, Keys.data(), count);
  }
  if (!Filter)
    Filter = SetWindowsHookExW(WH_MSGFILTER, FilterMessage, nullptr, GetCurrentThreadId());
}

bool TranslateShortcutKey(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  if (!CommandWindow || !IsWindow(CommandWindow)) return false;
  HWND active = GetActiveWindow();
  if (!IsProgramWindow(active) || GetAncestor(message.hwnd, GA_ROOT) != active) return false;
  const WORD command = CommandOf(message);
  if (command == 0) return false;
  // A grayed item's key does nothing; so does every key while the main
  // window waits for one of its own message boxes.
  const UINT state = GetMenuState(GetMenu(CommandWindow), command, MF_BYCOMMAND);
  const bool grayed = state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED));
  if (!grayed && IsWindowEnabled(CommandWindow)) {
    // Posted, as a menu posts its command: the command may run a dialog's
    // loop, which must not run inside this filter.
    PostMessageW(CommandWindow, WM_COMMAND, MAKEWPARAM(command, 1), 0);
  }
  return true;
}
