#include "cli/library_modes.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/console_window.h"
#include "common/codepage.h"
#include "library/library_text.h"

#ifdef _WIN32
#include <direct.h>
#define chdir _chdir
#define MakeDirectory(path) _mkdir(path)
#else
#include <sys/stat.h>
#include <unistd.h>
#define MakeDirectory(path) mkdir(path, 0777)
#endif

namespace {

const char kCaption[] = "biblioteca";

void LibraryUsage() {
  std::cerr << "usage: quillet-calc --list-library [DIR]\n"
               "       quillet-calc --build-library FILE [DIR]\n";
}

// The record files are named relative to the current folder, as in the
// program. A folder to build in is made when missing.
bool EnterFolder(const std::string& folder, bool make = false) {
  if (folder.empty()) return true;
  if (make) MakeDirectory(folder.c_str());
  if (chdir(folder.c_str()) == 0) return true;
  PrintMessage(kCaption, "no se puede entrar en la carpeta " + Utf8ToCp1252(folder));
  return false;
}

int ListLibrary(const std::vector<std::string>& args) {
  if (args.size() > 2) {
    LibraryUsage();
    return 2;
  }
  if (!EnterFolder(args.size() == 2 ? args[1] : "")) return 1;
  std::cout << Cp1252ToUtf8(LibraryLines(ReadLibraryFiles())) << std::flush;
  return 0;
}

int BuildLibrary(const std::vector<std::string>& args) {
  if (args.size() < 2 || args.size() > 3) {
    LibraryUsage();
    return 2;
  }
  std::ifstream file(args[1], std::ios::binary);
  if (!file) {
    PrintMessage(kCaption, "no se puede leer " + Utf8ToCp1252(args[1]));
    return 1;
  }
  std::ostringstream text;
  text << file.rdbuf();
  Library library;
  LibraryTextError error;
  if (!ParseLibraryLines(Utf8ToCp1252(text.str()), library, error)) {
    PrintMessage(kCaption, error.text);
    return 1;
  }
  if (!EnterFolder(args.size() == 3 ? args[2] : "", true)) return 1;
  if (!WriteLibraryFiles(library)) {
    PrintMessage(kCaption, "no se han podido escribir todos los ficheros");
    return 1;
  }
  return 0;
}

}  // namespace

bool IsLibraryMode(const std::vector<std::string>& args) {
  return !args.empty() && (args[0] == "--list-library" || args[0] == "--build-library");
}

int RunLibraryMode(const std::vector<std::string>& args) {
  return args[0] == "--list-library" ? ListLibrary(args) : BuildLibrary(args);
}
