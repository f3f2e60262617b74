// Starting tools, seen through a platform that records instead of starting.
#include "tools/launch.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

class RecordingPlatform final : public LaunchPlatform {
 public:
  std::string current = "C:\\inicio";
  std::set<std::string> folders = {"C:\\inicio", "C:\\trabajo", "D:\\Mis datos"};
  std::set<std::string> unenterable;  // found by the search, refused as current
  std::set<std::string> files = {"notas del curso.txt", "C:\\Mis datos\\hoja.xls",
                                 "Mi programa.exe"};
  std::string refusal;  // what the system answers to a start; empty: it starts
  std::vector<std::string> events;

  std::string CurrentFolder() override { return current; }
  bool EnterFolder(const std::string& folder) override {
    if (!folders.count(folder) || unenterable.count(folder)) return false;
    if (folder != current) events.push_back("cd " + folder);
    current = folder;
    return true;
  }
  bool DirExists(std::string_view name) override {
    return folders.count(std::string(name)) || unenterable.count(std::string(name));
  }
  bool FileExists(std::string_view name) override { return files.count(std::string(name)); }
  void ShowMessage(std::string_view caption, std::string_view text, std::uint32_t style) override {
    events.push_back("message " + std::string(caption) + " / " + std::string(text) + " / " +
                     std::to_string(style));
  }
  std::string StartProgram(std::string_view commandLine) override {
    events.push_back("program [" + std::string(commandLine) + "] in " + current);
    return refusal;
  }
  std::string OpenDocument(std::string_view document, std::string_view parameters) override {
    events.push_back("open [" + std::string(document) + "] [" + std::string(parameters) + "] in " +
                     current);
    return refusal;
  }
};

ToolEntry Tool(const char* file, const char* workDir, const char* title = "T") {
  ToolEntry e;
  SetToolEntry(e, title, file, workDir, "ignored params");
  return e;
}

TEST(RunFile, ProgramsByTheirCommandLineDocumentsSplitAtTheFirstSpace) {
  struct Case {
    const char* text;
    const char* started;
  } cases[] = {
      {"notepad.exe notas.txt", "program [notepad.exe notas.txt] in C:\\inicio"},
      {"calc.exe", "program [calc.exe] in C:\\inicio"},
      {"C:\\a.exe.bak", "program [C:\\a.exe.bak] in C:\\inicio"},  // ".exe" anywhere
      // Only ".exe" exactly: in capitals it is a document and its parameters.
      {"NOTEPAD.EXE notas.txt", "open [NOTEPAD.EXE] [notas.txt] in C:\\inicio"},
      {"quillet.pdf", "open [quillet.pdf] [] in C:\\inicio"},
      {"D:\\Mis datos\\hoja.xls", "open [D:\\Mis] [datos\\hoja.xls] in C:\\inicio"},
      {"hoja.xls  /r x", "open [hoja.xls] [ /r x] in C:\\inicio"},
      // A text that names an existing file is that file, blanks and all.
      {"notas del curso.txt", "open [notas del curso.txt] [] in C:\\inicio"},
      {"C:\\Mis datos\\hoja.xls", "open [C:\\Mis datos\\hoja.xls] [] in C:\\inicio"},
      {"Mi programa.exe", "program [\"Mi programa.exe\"] in C:\\inicio"},
      {"notas del curso.txt /p", "open [notas] [del curso.txt /p] in C:\\inicio"},
      // A document in double quotes, then its parameters.
      {"\"D:\\Mis datos\\hoja.xls\" /r x", "open [D:\\Mis datos\\hoja.xls] [/r x] in C:\\inicio"},
      {"\"D:\\x y.txt\"", "open [D:\\x y.txt] [] in C:\\inicio"},
      {"\"sin cierre", "open [\"sin] [cierre] in C:\\inicio"},
      // Nothing to open: said so, and nothing is asked of the system.
      {"", "message No se ha podido abrir / \r\n\r\nEl campo \"Fichero\" est\xE1 vac\xEDo. / 48"},
  };
  for (const Case& c : cases) {
    RecordingPlatform platform;
    RunFile(platform, c.text);
    ASSERT_EQ(platform.events.size(), 1u) << c.text;
    EXPECT_EQ(platform.events[0], c.started) << c.text;
  }
}

TEST(RunFile, AStartTheSystemRefusesIsReportedOnce) {
  for (const char* text : {"noexiste.exe -x", "hoja.rara"}) {
    RecordingPlatform platform;
    platform.refusal = "El sistema no puede encontrar el archivo especificado";
    RunFile(platform, text);
    ASSERT_EQ(platform.events.size(), 2u) << text;
    EXPECT_EQ(platform.events[1], "message No se ha podido abrir / " + std::string(text) +
                                      "\r\n\r\n" + platform.refusal + ". / 48");
  }
}

TEST(LaunchTool, StartsInItsWorkingFolderAndComesBack) {
  RecordingPlatform platform;
  LaunchTool(platform, Tool("tool_probe.exe uno dos", "C:\\trabajo"));
  EXPECT_EQ(platform.events, (std::vector<std::string>{
                                 "cd C:\\trabajo",
                                 "program [tool_probe.exe uno dos] in C:\\trabajo",
                                 "cd C:\\inicio",
                             }));
  EXPECT_EQ(platform.current, "C:\\inicio");

  platform.events.clear();
  LaunchTool(platform, Tool("hoja.ods", ""));  // an empty folder: where we are
  EXPECT_EQ(platform.events, (std::vector<std::string>{"open [hoja.ods] [] in C:\\inicio"}));

  platform.events.clear();
  LaunchTool(platform, Tool("", "D:\\Mis datos"));  // nothing to start: still comes back
  EXPECT_EQ(platform.events.back(), "cd C:\\inicio");
}

// A folder that is missing, and one that is there but cannot be entered,
// give the same message and start nothing.
TEST(LaunchTool, AFolderThatCannotBeEnteredStartsNothing) {
  RecordingPlatform platform;
  platform.unenterable = {"C:\\un fichero.txt"};
  for (const char* folder : {"C:\\no existe", "C:\\un fichero.txt"}) {
    platform.events.clear();
    LaunchTool(platform, Tool("calc.exe", folder));
    ASSERT_EQ(platform.events.size(), 1u) << folder;
    EXPECT_EQ(platform.events[0],
              std::string("message No trobat directori... / ") + folder + " / 48");
    EXPECT_EQ(platform.current, "C:\\inicio");
  }
}

}  // namespace
