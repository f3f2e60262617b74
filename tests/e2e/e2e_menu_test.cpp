// Every item of the main window's menu, chosen in one run of the real program,
// reaches its subsystem: a new formula, the library to pick and to store, the
// table, the tools editor and a tool, the help document through its file
// type, the about window; and "Salir" with the library and the table still
// open ends the program with code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/e2e_support.h"

namespace {

constexpr int kNueva = 201, kAbrir = 202, kGuardar = 203, kTabla = 210, kEditTools = 501,
              kFirstTool = 531, kInfo = 800, kAbout = 801, kSalir = 2;
constexpr int kFormula = 101, kResult = 80, kFirstParam = 61;
// The library dialog: topics, formulas, the record's expression.
constexpr int kTopics = 90, kFormulas = 100, kExpression = 120;
// The tools editor: title, file, folder, store, save, list.
constexpr int kTitle = 100, kFile = 101, kDir = 102, kStore = 15, kSave = 20, kList = 40;

TEST(ProgramMenu, EveryItemReachesItsSubsystem) {
  HelpDocumentType helpType;
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;

  // "Nueva" clears a computed formula.
  SetDlgItemTextA(window, kFormula, "2+3");
  PressEnterIn(window, kFormula);
  ASSERT_TRUE(WaitFor([&] { return ItemText(window, kResult) == "5"; }));
  Choose(window, kNueva);
  EXPECT_TRUE(WaitFor([&] { return ItemText(window, kFormula).empty(); }));
  EXPECT_EQ(ItemText(window, kResult), "");

  // "Abrir": two double-clicks bring a sample formula into the main window.
  Choose(window, kAbrir);
  HWND library = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (library = program.Window("Fórmulas")) != nullptr; }));
  DoubleClick(library, kTopics, 0);
  ASSERT_TRUE(WaitFor([&] { return ListCount(library, kFormulas) > 0; }));
  DoubleClick(library, kFormulas, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(library); }));
  ASSERT_TRUE(WaitFor([&] { return !ItemText(window, kFormula).empty(); }));
  const std::string picked = ItemText(window, kFormula);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(window, kFirstParam)) != FALSE; }))
      << picked << " has parameters";

  // "Guardar" opens the library to store the formula on the screen; it stays
  // open while the main window goes on.
  Choose(window, kGuardar);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = program.Window("guardar fórmula")) != nullptr; }));
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return (library = program.Window("Fórmulas")) != nullptr; }));
  EXPECT_EQ(ItemText(library, kExpression), picked);

  // "Tabla" opens the value table of that formula beside it.
  Choose(window, kTabla);
  HWND table = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (table = program.WindowStartingWith("tabla  ")) != nullptr; }));

  // "Edición Utilidades": a tool added and saved becomes a menu item, and
  // the item starts it in its working folder.
  const std::string work = program.Folder() + "\\herramienta";
  ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
  Choose(window, kEditTools);
  HWND editor = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (editor = program.Window("Edición útiles")) != nullptr; }));
  const int shippedTools = ListCount(editor, kList);
  SetDlgItemTextA(editor, kTitle, "Sonda");
  SetDlgItemTextA(editor, kFile, (BuildFolder() + "\\tool_probe.exe menu").c_str());
  SetDlgItemTextA(editor, kDir, work.c_str());
  SendMessageA(GetDlgItem(editor, kStore), BM_CLICK, 0, 0);
  SendMessageA(GetDlgItem(editor, kSave), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(editor); }));
  Choose(window, kFirstTool + shippedTools);
  const std::string toolProof = work + "\\tool_probe.txt";
  ASSERT_TRUE(WaitFor([&] { return FileExists(toolProof); })) << toolProof;
  EXPECT_EQ(ReadFile(toolProof), work + "\nmenu\n");

  // "Info": the help document of the current folder, opened by its file type.
  Choose(window, kInfo);
  const std::string helpProof = program.Folder() + "\\tool_probe.txt";
  ASSERT_TRUE(WaitFor([&] { return FileExists(helpProof); })) << helpProof;
  const std::string help = ReadFile(helpProof);
  EXPECT_EQ(help.substr(0, help.find('\n')), program.Folder());
  EXPECT_NE(help.find("quillet.pdf\n"), std::string::npos) << help;

  // "Sobre Quillet" opens the about window; its button closes it.
  Choose(window, kAbout);
  HWND about = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (about = program.Window("Respecto quillet...")) != nullptr; }));
  SendMessageA(GetDlgItem(about, 1), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(about); }));

  // "Salir" with the library and the table open ends them and the program.
  ASSERT_TRUE(IsWindow(library));
  ASSERT_TRUE(IsWindow(table));
  Choose(window, kSalir);
  ASSERT_TRUE(program.Ended(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
}

}  // namespace
