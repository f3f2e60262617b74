// The program's entry: start-up in its fixed order, then the main window's
// modal loop is the program's loop. No command-line argument is read.
#include <windows.h>

#include "app/main_window_win.h"
#include "common/shared_font.h"
#include "engine/start_up.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  InitSharedFont();
  StartEngine();
  DialogBoxParamW(instance, L"PRINCIPAL", nullptr, MainDialogProc, 0);
  ExitProcess(0);
}
