// How many GDI and USER objects this process holds, counted from inside it:
// under Wine GetGuiResources answers 0, so there the handle tables are read.
#pragma once

struct GuiObjectCount {
  int gdi = 0;   // bitmaps, brushes, fonts, pens, regions, device contexts...
  int user = 0;  // windows, menus, icons and cursors, accelerator tables
};

GuiObjectCount CountGuiObjects();
