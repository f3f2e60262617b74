#include "common/field_brush_win.h"

HBRUSH FieldBrush = nullptr;
