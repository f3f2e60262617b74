// The value table dialog "TAULA": a running variable, its range and step, the
// constants, the rows and their plot. Opened by the main window's "Tabla".
#pragma once

#include <windows.h>

#include "common/window_place_win.h"

extern HWND TableWindow;        // the open table dialog, nullptr when closed
extern HWND PlotControl;        // its control 150
extern WindowPlace TablePlace;  // where it opens

inline constexpr COLORREF TableBackColour = RGB(192, 224, 234);
extern HBRUSH TableBackBrush;

// Runs the dialog modally with no owner, so the main window stays usable.
// When a table is already open it is brought to the front instead.
void OpenTable();
INT_PTR CALLBACK TableDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void ApplyVariable(HWND dialog);
// A formula accepted since the open table was built: its caption, variable
// list and constant fields are built again as at opening; "de", "a", "incr."
// and the rows and plot stay until the next computation.
void TableFollowsFormula();
// The table's Ok: ComputeTable on the dialog's fields, list and plot.
void ComputeTableInDialog(HWND dialog);
// Every row of the list, one a line, onto the clipboard as text.
void CopyTableRows(HWND dialog);
