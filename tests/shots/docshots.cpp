// Takes the documentation's pictures from the real program: starts it in a
// fresh copy of the run folder, brings each window to the state a reader
// sees in the guide, and saves that window as it is on the screen.
//   docshots <quillet.exe> <run folder> <output folder>
// Writes main-window.bmp, table.bmp, library.bmp, tools-editor.bmp, about.bmp.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/ids.h"
#include "tests/e2e/e2e_support.h"

namespace {

std::string Output;

// The window as the screen shows it, frame and caption included, as a 24-bit BMP.
bool SaveWindow(HWND window, const char* name) {
  SetForegroundWindow(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  Sleep(700);
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(stride) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  const std::string path = Output + "\\" + name;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(pixels.data(), 1, pixels.size(), out);
  return std::fclose(out) == 0;
}

int Fail(const char* what) {
  std::fprintf(stderr, "docshots: %s\n", what);
  return 1;
}

HWND WaitForWindow(const RunningProgram& program, const char* caption) {
  HWND found = nullptr;
  WaitFor([&] { return (found = program.Window(caption)) != nullptr; });
  return found;
}

HWND WaitForWindowStarting(const RunningProgram& program, const char* start) {
  HWND found = nullptr;
  WaitFor([&] { return (found = program.WindowStartingWith(start)) != nullptr; });
  return found;
}

// Moves a window to a free place of the screen, so no other window covers it.
void Place(HWND window, int x, int y) {
  SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return Fail("usage: docshots <quillet.exe> <run folder> <output folder>");
  ProgramPath = argv[1];
  DataFolder = argv[2];
  Output = WindowsPath(argv[3]);

  RunningProgram program;
  if (!program.Started()) return Fail("the program does not start");
  HWND main = program.MainWindow();
  if (!main) return Fail("no main window");
  Place(main, 20, 20);

  // The calculator: a*x^2+1 for a = 2, x = 3.
  SetItemText(main, IDC_FORMULA, "a*x^2+1");
  PressEnterIn(main, IDC_FORMULA);
  WaitFor([&] { return IsWindowVisible(GetDlgItem(main, IDC_PARAM_EDIT2)) != FALSE; });
  SetItemText(main, IDC_PARAM_EDIT1, "2");
  PressEnterIn(main, IDC_PARAM_EDIT1);
  WaitFor([&] { return FocusIn(main) == GetDlgItem(main, IDC_PARAM_EDIT2); });
  SetItemText(main, IDC_PARAM_EDIT2, "3");
  PressEnterIn(main, IDC_PARAM_EDIT2);
  if (!WaitFor([&] { return ItemText(main, IDC_RESULT1) == "19"; })) return Fail("no result");
  if (!SaveWindow(main, "main-window.bmp")) return Fail("main window not saved");

  // The value table of a*x^2+b: x from 0 to 3 in halves, a = 2, b = -1. The
  // plot's height is set by the two ends, so the range is one where they
  // bound the curve.
  SetItemText(main, IDC_FORMULA, "a*x^2+b");
  PressEnterIn(main, IDC_FORMULA);
  WaitFor([&] { return IsWindowVisible(GetDlgItem(main, IDC_TABLE_BUTTON)) != FALSE; });
  Choose(main, IDM_TABLE);
  HWND table = WaitForWindowStarting(program, "tabla  ");
  if (!table) return Fail("no table");
  Place(table, 20, 20);
  Click(table, IDC_TABLE_VARIABLES, 1);
  WaitFor([&] { return ItemText(table, IDC_TABLE_VAR_HEADER) == "x"; });
  SetItemText(table, IDC_TABLE_CONST1, "2");
  SetItemText(table, IDC_TABLE_CONST2, "-1");
  SetItemText(table, IDC_TABLE_FROM, "0");
  SetItemText(table, IDC_TABLE_TO, "3");
  SetItemText(table, IDC_TABLE_STEP, "0.5");
  PressEnterIn(table, IDC_TABLE_TO);
  WaitFor([&] { return ListCount(table, IDC_TABLE_ROWS) == 7; });
  if (!SaveWindow(table, "table.bmp")) return Fail("table not saved");
  PostMessageA(table, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  WaitFor([&] { return !IsWindow(table); });

  // The library with the sample's first topic open.
  Choose(main, IDM_OPEN);
  HWND library = WaitForWindow(program, "Fórmulas");
  if (!library) return Fail("no library");
  Place(library, 20, 20);
  DoubleClick(library, IDC_LIB_TOPICS, 0);
  WaitFor([&] { return ListCount(library, IDC_LIB_FORMULAS) > 0; });
  Click(library, IDC_LIB_FORMULAS, 1);
  Sleep(300);
  if (!SaveWindow(library, "library.bmp")) return Fail("library not saved");
  PostMessageA(library, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  WaitFor([&] { return !IsWindow(library); });

  // The tools editor with the first sample tool picked.
  Choose(main, IDM_TOOLS_EDIT);
  HWND editor = WaitForWindow(program, "Edición útiles");
  if (!editor) return Fail("no tools editor");
  Place(editor, 20, 20);
  Click(editor, IDC_TOOLS_LIST, 0);
  Sleep(300);
  if (!SaveWindow(editor, "tools-editor.bmp")) return Fail("tools editor not saved");
  PostMessageA(editor, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  WaitFor([&] { return !IsWindow(editor); });

  // The about window.
  Choose(main, IDM_ABOUT);
  HWND about = WaitForWindow(program, "Respecto quillet...");
  if (!about) return Fail("no about window");
  Place(about, 20, 20);
  if (!SaveWindow(about, "about.bmp")) return Fail("about window not saved");
  SendMessageA(GetDlgItem(about, IDC_ABOUT_BUTTON), BM_CLICK, 0, 0);
  WaitFor([&] { return !IsWindow(about); });

  program.QuitsBySalir(main);
  return 0;
}
