#include "cli/library_modes.h"

#include <cstdio>

#include "cli/console_io.h"
#include "cli/console_window.h"
#include "common/codepage.h"
#include "library/library_text.h"

namespace {

const char kCaption[] = "biblioteca";

void LibraryUsage() {
  WriteError(
      "usage: quillet-calc --list-library [DIR]\n"
      "       quillet-calc --build-library FILE [DIR]\n");
}

// The whole file as it is; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& text) {
  std::FILE* file = OpenArgumentFile(path, "rb");
  if (file == nullptr) return false;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const bool complete = !std::ferror(file);
  std::fclose(file);
  return complete;
}

// The record files are named relative to the current folder, as in the
// program. A folder to build in is made when missing.
bool EnterFolder(const std::string& folder, bool make = false) {
  if (folder.empty()) return true;
  if (make) MakeArgumentFolder(folder);
  if (EnterArgumentFolder(folder)) return true;
  PrintMessage(kCaption, "no se puede entrar en la carpeta " + Utf8ToCp1252(folder));
  return false;
}

}  // namespace

int ListLibrary(const std::vector<std::string>& operands) {
  if (operands.size() > 1) {
    LibraryUsage();
    return 2;
  }
  if (!EnterFolder(operands.empty() ? "" : operands[0])) return 1;
  std::vector<LibraryProblem> problems;
  const Library library = ReadLibraryFiles(&problems);
  // A file not read whole would list as fewer formulas, or none, and a text
  // built back from that list would replace what it did not hold: nothing is
  // listed then, and each file says what is wrong with it.
  for (const LibraryProblem& problem : problems) {
    WriteError(Cp1252ToUtf8(std::string(kCaption) + ": " + problem.file.str() + ": " +
                            problem.reason.str()) +
               "\n");
  }
  if (!problems.empty()) return 1;
  WriteOutput(Cp1252ToUtf8(LibraryLines(library)));
  return 0;
}

int BuildLibrary(const std::vector<std::string>& operands) {
  if (operands.empty() || operands.size() > 2) {
    LibraryUsage();
    return 2;
  }
  std::string text;
  if (!ReadWholeFile(operands[0], text)) {
    PrintMessage(kCaption, "no se puede leer " + Utf8ToCp1252(operands[0]));
    return 1;
  }
  // Read as the program reads Tools.rel; a letter the library's files
  // cannot hold is refused rather than stored as another one.
  std::string cp1252;
  int line = 0;
  int column = 0;
  if (!TextFileToCp1252Exactly(text, cp1252, line, column)) {
    PrintMessage(kCaption, "línea " + std::to_string(line) + ", columna " + std::to_string(column) +
                               ": un carácter que la biblioteca no puede guardar (solo admite "
                               "los de Windows-1252)");
    return 1;
  }
  Library library;
  LibraryTextError error;
  if (!ParseLibraryLines(cp1252, library, error)) {
    PrintMessage(kCaption, error.text);
    return 1;
  }
  if (!EnterFolder(operands.size() == 2 ? operands[1] : "", true)) return 1;
  LibraryProblem failure;
  if (!WriteLibraryFiles(library, &failure)) {
    PrintMessage(kCaption, "no se ha podido escribir " + failure.file.str() + ": " +
                               failure.reason.str() + "; la biblioteca no ha cambiado");
    return 1;
  }
  return 0;
}
