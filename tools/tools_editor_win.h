// The tools editor "DLGTOOLS": add, change, delete and reorder the tools.
#pragma once

#include <windows.h>

#include "common/short_text.h"
#include "common/window_place_win.h"

// The path last chosen with the browse button; offered again next time.
extern ShortText LastBrowsed;
// Set while the editor is open.
extern HWND ToolsEditor;
extern WindowPlace EditorPlace;  // where the editor opens

// Runs the editor modally with no owner: 1 after Ok with a successful save,
// 0 after esc.
INT_PTR OpenToolsEditor();
// For "Salir": true when the editor is closed (or was not open). Edits not
// yet saved are first offered for saving; false when the user chose to stay,
// or the save failed (the editor then stays open with its edits).
bool CloseToolsEditorAsking();
INT_PTR CALLBACK ToolsEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The system's open-file dialog; name is the initial file name on entry and
// the chosen path on return. The current directory is the same afterwards.
bool OpenFileDialog(ShortText& name);
