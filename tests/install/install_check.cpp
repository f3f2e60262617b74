// Starts the installed program the way its Start-menu shortcut does (its
// target in its working folder) and computes a formula in it, as a person
// would after installing.
//   install_check <shortcut.lnk>
// Prints the working folder on success; exit status 0 when all went well.
#include <windows.h>
// after windows.h, which they need
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "resources/ids.h"
#include "tests/e2e/e2e_support.h"

namespace {

struct Shortcut {
  std::string target;
  std::string folder;
};

bool ReadShortcut(const char* path, Shortcut& shortcut) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  IPersistFile* file = nullptr;
  bool read = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
    char target[MAX_PATH] = "";
    char folder[MAX_PATH] = "";
    if (SUCCEEDED(file->Load(widePath, STGM_READ)) &&
        SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
        SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH))) {
      shortcut.target = target;
      shortcut.folder = folder;
      read = true;
    }
    file->Release();
  }
  link->Release();
  return read;
}

int Fail(const char* what) {
  std::fprintf(stderr, "install_check: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return Fail("usage: install_check <shortcut.lnk>");
  CoInitialize(nullptr);
  Shortcut shortcut;
  if (!ReadShortcut(argv[1], shortcut)) return Fail("the shortcut cannot be read");
  if (shortcut.folder.empty()) return Fail("the shortcut has no working folder");

  RunningProgram program(shortcut.target, shortcut.folder);
  if (!program.Started()) return Fail("the shortcut's program does not start");
  HWND window = program.MainWindow(60000);
  if (!window) return Fail("no main window");
  SetItemText(window, IDC_FORMULA, "a*x^2+1");
  PressEnterIn(window, IDC_FORMULA);
  if (!WaitFor([&] { return IsWindowVisible(GetDlgItem(window, IDC_PARAM_EDIT2)) != FALSE; })) {
    return Fail("the formula was not accepted");
  }
  SetItemText(window, IDC_PARAM_EDIT1, "2");
  SetItemText(window, IDC_PARAM_EDIT2, "3");
  PressEnterIn(window, IDC_PARAM_EDIT2);
  if (!WaitFor([&] { return ItemText(window, IDC_RESULT1) == "19"; })) {
    return Fail(("wrong result: " + ItemText(window, IDC_RESULT1)).c_str());
  }
  if (!program.QuitsBySalir(window)) return Fail("the program did not end well");
  std::printf("%s\n", shortcut.folder.c_str());
  return 0;
}
