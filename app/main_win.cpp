// The program's entry: start-up in its fixed order, then the main window's
// modal loop is the program's loop. No command-line argument is read.
#include <windows.h>

#include "app/main_window_win.h"
#include "common/language.h"
#include "common/number_text.h"
#include "engine/eval.h"
#include "common/shared_font.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  InitSharedFont();
  LoadMathMessages(0);
  DecimalSeparator = '.';
  Language = 2;
  DialogBoxParamA(instance, "PRINCIPAL", nullptr, MainDialogProc, 0);
  ExitProcess(0);
}
