// The formula library dialog "LLISTAFORMULES": topics on the left, the
// formulas of one topic on the right. It edits the lists in memory and
// writes the changed ones when the user accepts, confirms, or moves to
// another topic.
#pragma once

#include <windows.h>

#include "common/window_place_win.h"

inline constexpr int kPickMode = 0;   // "Abrir": a formula goes to the main window
inline constexpr int kStoreMode = 1;  // "Guardar": the main window's formula is stored

extern int LibraryMode;
// The open dialog, nullptr when none; the main window ends it on "Salir".
extern HWND LibraryDialog;
extern WindowPlace LibraryPlace;  // where the dialog opens

// Runs the dialog modally with no owner. True when a formula was copied into
// CurrentFormula. While the dialog is open a second call only brings it to
// the front and returns false: two dialogs over the same lists would undo
// each other's edits.
bool OpenLibrary(int mode);

// Ends the open dialog as its "Cancela" does: with unsaved changes it asks
// "¿guardar los cambios?" first. False when the user keeps it open (Cancel,
// or a save that failed); true when it has ended or none was open.
bool CloseLibraryAsking();

INT_PTR CALLBACK LibraryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
