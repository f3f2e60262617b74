// The about window: a window of its own class "FerSobre" with its own message
// loop, drawn with explicit fonts, colours and positions.
#pragma once

#include <windows.h>

#include <string_view>

#include "common/short_text.h"

// The open about window; nullptr when none is open.
extern HWND AboutWindow;

// Opens the window with the maker's mail address and returns when it has
// been closed. While one is open, another call brings it to the front.
void ShowAbout(std::string_view description);
// Closes the open window, if any (the main window does, before it ends).
void CloseAboutWindow();

// The year of the program file's last change, as the window shows it.
extern ShortText ProgYear;
