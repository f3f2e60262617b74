// Message boxes, dialog-control and list-box helpers over Win32 USER.
// Texts handed to the platform are cut at 255 characters; texts read from a
// control at 254. They cross as UTF-16 (the "W" calls), converted from and to
// Windows-1252, so that they read the same under every system code page.
// List positions count from 1; 0 means no item.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "common/short_text.h"

// The code under which a window's own message loop offers each message to
// the thread's message filter (WH_MSGFILTER) first, as the dialog loops do
// with MSGF_DIALOGBOX: the program's shortcut keys work in that loop too.
inline constexpr int OwnLoopFilterCode = MSGF_USER + 1;

// Owned by GetActiveWindow() at the moment of the call; return the button code.
int MessageOk(std::string_view caption, std::string_view text);
int MessageStyled(std::string_view caption, std::string_view text, std::uint32_t style);
int AskYesNo(std::string_view caption, std::string_view text);
int AskYesNoStyled(std::string_view caption, std::string_view text, std::uint32_t style);
int AskYesNoCancel(std::string_view caption, std::string_view text);

// The most a control's text can be read with: what a field shows beyond it
// would never be used.
inline constexpr std::size_t kItemTextMax = 254;

// The most a person can type or paste into an edit control; a paste is cut
// there, where it shows. Texts set from code are not limited.
void LimitItemText(HWND dialog, int id, std::size_t limit);

void SetWindowCaption(HWND window, std::string_view text);
void SetItemText(HWND dialog, int id, std::string_view text);
ShortText GetItemText(HWND dialog, int id);
ShortText TakeItemText(HWND dialog, int id);
HWND ItemWindow(HWND dialog, int id);
// The keyboard focus to a control of the dialog as Tab moves it: an edit
// field's text is selected, so that typing replaces it, and a push button
// becomes the one Enter presses. (A click places the caret instead.)
void FocusItem(HWND dialog, HWND control);
// Brings a window of the program that is open already to the front, restored
// if it was minimised, active and with the keyboard: asking again for it
// shows it, under a window manager too.
void BringForward(HWND window);
void ShowItem(HWND dialog, int id);
void HideItem(HWND dialog, int id);
// Shows or hides only on a change: the windows call it on every message, and
// ShowWindow each time would flood the controls with messages.
void SetItemVisible(HWND dialog, int id, bool visible);

void ListClear(HWND dialog, int id);
void ListAdd(HWND dialog, int id, std::string_view text);
void ListDelete(HWND dialog, int id, std::uint16_t position);
void ListSelect(HWND dialog, int id, std::uint16_t position);
std::uint16_t ListSelected(HWND dialog, int id);
ShortText ListItemText(HWND dialog, int id, std::uint16_t position);
ShortText ListSelectedText(HWND dialog, int id);
