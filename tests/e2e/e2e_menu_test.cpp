// Every item of the main window's menu, chosen in one run of the real program,
// reaches its subsystem: a new formula, the library to pick and to store, the
// table, the tools editor and a tool, the help document through its file
// type, the about window; and "Salir" with the library and the table still
// open ends the program with code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "resources/ids.h"
#include "tests/e2e/e2e_support.h"

namespace {

TEST(ProgramMenu, EveryItemReachesItsSubsystem) {
  HelpDocumentType helpType;
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;

  // "Nueva" clears a computed formula.
  SetItemText(window, IDC_FORMULA, "2+3");
  PressEnterIn(window, IDC_FORMULA);
  ASSERT_TRUE(WaitFor([&] { return ItemText(window, IDC_RESULT1) == "5"; }));
  Choose(window, IDM_NEW);
  EXPECT_TRUE(WaitFor([&] { return ItemText(window, IDC_FORMULA).empty(); }));
  EXPECT_EQ(ItemText(window, IDC_RESULT1), "");

  // "Abrir": two double-clicks bring a sample formula into the main window.
  Choose(window, IDM_OPEN);
  HWND library = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (library = program.Window("Fórmulas")) != nullptr; }));
  DoubleClick(library, IDC_LIB_TOPICS, 0);
  ASSERT_TRUE(WaitFor([&] { return ListCount(library, IDC_LIB_FORMULAS) > 0; }));
  DoubleClick(library, IDC_LIB_FORMULAS, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(library); }));
  ASSERT_TRUE(WaitFor([&] { return !ItemText(window, IDC_FORMULA).empty(); }));
  const std::string picked = ItemText(window, IDC_FORMULA);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(window, IDC_PARAM_EDIT1)); }))
      << picked << " has parameters";

  // "Guardar" opens the library to store the formula on the screen; it stays
  // open while the main window goes on.
  Choose(window, IDM_SAVE);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = program.Window("guardar fórmula")) != nullptr; }));
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return (library = program.Window("Fórmulas")) != nullptr; }));
  EXPECT_EQ(ItemText(library, IDC_LIB_EXPRESSION), picked);

  // "Tabla" opens the value table of that formula beside it.
  Choose(window, IDM_TABLE);
  HWND table = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (table = program.WindowStartingWith("tabla  ")) != nullptr; }));

  // "Edición Utilidades": a tool added and saved becomes a menu item, and
  // the item starts it in its working folder.
  const std::string work = program.Folder() + "\\herramienta";
  ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
  Choose(window, IDM_TOOLS_EDIT);
  HWND editor = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (editor = program.Window("Edición útiles")) != nullptr; }));
  const int shippedTools = ListCount(editor, IDC_TOOLS_LIST);
  SetItemText(editor, IDC_TOOLS_TITLE, "Sonda");
  SetItemText(editor, IDC_TOOLS_FILE, BuildFolder() + "\\tool_probe.exe menu");
  SetItemText(editor, IDC_TOOLS_DIR, work);
  SendMessageA(GetDlgItem(editor, IDC_TOOLS_STORE), BM_CLICK, 0, 0);
  SendMessageA(GetDlgItem(editor, IDC_TOOLS_SAVE), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(editor); }));
  Choose(window, IDM_TOOL_FIRST + shippedTools);
  const std::string toolProof = work + "\\tool_probe.txt";
  ASSERT_TRUE(WaitFor([&] { return FileExists(toolProof); })) << toolProof;
  EXPECT_EQ(ReadFile(toolProof), work + "\nmenu\n");

  // "Info": the help document of the current folder, opened by its file type.
  Choose(window, IDM_INFO);
  const std::string helpProof = program.Folder() + "\\tool_probe.txt";
  ASSERT_TRUE(WaitFor([&] { return FileExists(helpProof); })) << helpProof;
  const std::string help = ReadFile(helpProof);
  EXPECT_EQ(help.substr(0, help.find('\n')), program.Folder());
  EXPECT_NE(help.find("quillet.pdf\n"), std::string::npos) << help;

  // "Sobre Quillet" opens the about window; its button closes it.
  Choose(window, IDM_ABOUT);
  HWND about = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (about = program.Window("Respecto quillet...")) != nullptr; }));
  SendMessageA(GetDlgItem(about, IDC_ABOUT_BUTTON), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(about); }));

  // "Salir" with the library and the table open ends them and the program.
  ASSERT_TRUE(IsWindow(library));
  ASSERT_TRUE(IsWindow(table));
  EXPECT_TRUE(program.QuitsBySalir(window));
}

}  // namespace
