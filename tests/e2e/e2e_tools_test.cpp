// The real program's Utilidades menu, used from outside: a tool added in the
// editor, saved, and started from its menu item in its own working folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "resources/ids.h"
#include "tests/e2e/e2e_support.h"

namespace {

const char kEditorCaption[] = "Edición útiles";

TEST(ProgramTools, AToolAddedInTheEditorStartsInItsWorkingFolder) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;
  const std::string rel = program.Folder() + "\\Tools.rel";
  const std::string shipped = ReadFile(rel);
  ASSERT_FALSE(shipped.empty()) << "the run folder ships a tool list";
  const std::string work = program.Folder() + "\\trabajo";
  ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));

  Choose(window, IDM_TOOLS_EDIT);
  HWND editor = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (editor = program.Window(kEditorCaption)) != nullptr; }));
  const int shippedTools = ListCount(editor, IDC_TOOLS_LIST);
  ASSERT_GT(shippedTools, 0);

  // Two tools: the probe in a folder of its own, and the probe where the
  // program is, which shows that the first start gave the folder back.
  SetItemText(editor, IDC_TOOLS_TITLE, "Sonda");
  SetItemText(editor, IDC_TOOLS_FILE, "tool_probe.exe hola");
  SetItemText(editor, IDC_TOOLS_DIR, work);
  SendMessageA(GetDlgItem(editor, IDC_TOOLS_STORE), BM_CLICK, 0, 0);
  SetItemText(editor, IDC_TOOLS_TITLE, "Sonda aquí");
  SetItemText(editor, IDC_TOOLS_FILE, "tool_probe.exe aqui");
  SendMessageA(GetDlgItem(editor, IDC_TOOLS_STORE), BM_CLICK, 0, 0);
  EXPECT_EQ(ListCount(editor, IDC_TOOLS_LIST), shippedTools + 2);
  SendMessageA(GetDlgItem(editor, IDC_TOOLS_SAVE), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(editor); }));

  EXPECT_EQ(ReadFile(rel), shipped + "Sonda\r\ntool_probe.exe hola\r\n" + work +
                               "\r\n\r\nSonda aqu\xED\r\ntool_probe.exe aqui\r\n\r\n\r\n");

  const int first = IDM_TOOL_FIRST + shippedTools;
  Choose(window, first);
  const std::string proof = work + "\\tool_probe.txt";
  ASSERT_TRUE(WaitFor([&] { return FileExists(proof); })) << proof;
  EXPECT_EQ(ReadFile(proof), work + "\nhola\n");

  Choose(window, first + 1);
  const std::string here = program.Folder() + "\\tool_probe.txt";
  ASSERT_TRUE(WaitFor([&] { return FileExists(here); })) << here;
  EXPECT_EQ(ReadFile(here), program.Folder() + "\naqui\n");

  EXPECT_TRUE(program.QuitsBySalir(window));
}

TEST(ProgramTools, TheAboutWindowOpensFromTheMenuAndCloses) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;
  Choose(window, IDM_ABOUT);
  HWND about = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (about = program.Window("Respecto quillet...")) != nullptr; }));
  Choose(window, IDM_ABOUT);  // a second time: still one window
  Sleep(300);
  int count = 0;
  for (HWND w = FindWindowExA(nullptr, nullptr, "FerSobre", nullptr); w;
       w = FindWindowExA(nullptr, w, "FerSobre", nullptr)) {
    ++count;
  }
  EXPECT_EQ(count, 1);
  SendMessageA(GetDlgItem(about, IDC_ABOUT_BUTTON), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(about); }));
  // The main window goes on working once it is closed.
  SetItemText(window, IDC_FORMULA, "2+3");
  PressEnterIn(window, IDC_FORMULA);
  EXPECT_TRUE(WaitFor([&] { return ItemText(window, IDC_RESULT1) == "5"; }));
  EXPECT_TRUE(program.QuitsBySalir(window));
}

}  // namespace
