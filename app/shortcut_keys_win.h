// The menu's shortcut keys (accelerator table "TECLES"), and the keyboard of
// each window of the program whichever loop runs: a dialog loop handles the
// keys of its own dialog only. The main window and the dialogs opened from it
// run in dialog loops that are not ours to write, so a message filter sees
// their messages; the about window's own loop offers its messages to the same
// filter with OwnLoopFilterCode.
#pragma once

#include <windows.h>

// Loads the table and sets the thread's message filter (both once); the
// commands go to mainWindow from now on.
void InstallShortcutKeys(HWND mainWindow);

// True when message is one of the keys, pressed in a window of the program
// that is active: its command has then been posted to the main window, unless
// the menu item is grayed, in which case the key is only swallowed.
bool TranslateShortcutKey(const MSG& message);
