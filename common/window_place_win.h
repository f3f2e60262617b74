// Where the program's dialogs open: the first time where their template puts
// them; once the user has moved one, where it was left, for the rest of the
// run. Each dialog keeps one WindowPlace for the life of the process.
#pragma once

#include <windows.h>

struct WindowPlace {
  bool moved = false;
  POINT left{};    // the top-left corner it was left at, in screen pixels
  POINT opened{};  // the top-left corner it opened at this time
};

// At the dialog's initialisation: to where it was left, if it was moved,
// and in every case wholly on the work area of its monitor.
void PlaceWindow(HWND window, WindowPlace& place);
// As the dialog closes: a dialog standing elsewhere than where it opened
// was moved, and its place is kept. A minimised one keeps the earlier place.
void RememberPlace(HWND window, WindowPlace& place);
