// The colours of editable fields and lists, which the main window and the
// value table share.
#pragma once

#include <windows.h>

inline constexpr COLORREF kFieldBack = RGB(255, 255, 211);
inline constexpr COLORREF kFieldText = RGB(0, 100, 200);

// Made by the main window when it opens; process-wide and never freed, so the
// windows opened from it paint with the same brush.
extern HBRUSH FieldBrush;
