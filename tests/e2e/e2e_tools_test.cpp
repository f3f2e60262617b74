// The real program's Utilidades menu, used from outside: a tool added in the
// editor, saved, and started from its menu item in its own working folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/e2e_support.h"

namespace {

// Ids as the user meets them: the menu commands and the editor's controls.
constexpr int kEditTools = 501, kFirstTool = 531, kAbout = 801, kSalir = 2;
constexpr int kTitle = 100, kFile = 101, kDir = 102, kStore = 15, kSave = 20, kList = 40;
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

  Choose(window, kEditTools);
  HWND editor = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (editor = program.Window(kEditorCaption)) != nullptr; }));
  const LRESULT shippedTools = SendMessageA(GetDlgItem(editor, kList), LB_GETCOUNT, 0, 0);
  ASSERT_GT(shippedTools, 0);

  // Two tools: the probe in a folder of its own, and the probe where the
  // program is, which shows that the first start gave the folder back.
  SetDlgItemTextA(editor, kTitle, "Sonda");
  SetDlgItemTextA(editor, kFile, "tool_probe.exe hola");
  SetDlgItemTextA(editor, kDir, work.c_str());
  SendMessageA(GetDlgItem(editor, kStore), BM_CLICK, 0, 0);
  SetDlgItemTextA(editor, kTitle, "Sonda aquí");
  SetDlgItemTextA(editor, kFile, "tool_probe.exe aqui");
  SendMessageA(GetDlgItem(editor, kStore), BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(GetDlgItem(editor, kList), LB_GETCOUNT, 0, 0), shippedTools + 2);
  SendMessageA(GetDlgItem(editor, kSave), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(editor); }));

  EXPECT_EQ(ReadFile(rel), shipped + "Sonda\r\ntool_probe.exe hola\r\n" + work +
                               "\r\n\r\nSonda aqu\xED\r\ntool_probe.exe aqui\r\n\r\n\r\n");

  const int first = kFirstTool + static_cast<int>(shippedTools);
  Choose(window, first);
  const std::string proof = work + "\\tool_probe.txt";
  ASSERT_TRUE(WaitFor([&] { return FileExists(proof); })) << proof;
  EXPECT_EQ(ReadFile(proof), work + "\nhola\n");

  Choose(window, first + 1);
  const std::string here = program.Folder() + "\\tool_probe.txt";
  ASSERT_TRUE(WaitFor([&] { return FileExists(here); })) << here;
  EXPECT_EQ(ReadFile(here), program.Folder() + "\naqui\n");

  Choose(window, kSalir);
  ASSERT_TRUE(program.Ended(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(ProgramTools, TheAboutWindowOpensFromTheMenuAndCloses) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;
  Choose(window, kAbout);
  HWND about = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (about = program.Window("Respecto quillet...")) != nullptr; }));
  Choose(window, kAbout);  // a second time: still one window
  Sleep(300);
  int count = 0;
  for (HWND w = FindWindowExA(nullptr, nullptr, "FerSobre", nullptr); w;
       w = FindWindowExA(nullptr, w, "FerSobre", nullptr)) {
    ++count;
  }
  EXPECT_EQ(count, 1);
  SendMessageA(GetDlgItem(about, 1), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(about); }));
  // The main window goes on working once it is closed.
  SetDlgItemTextA(window, 101, "2+3");
  PressEnterIn(window, 101);
  EXPECT_TRUE(WaitFor([&] { return ItemText(window, 80) == "5"; }));
  Choose(window, kSalir);
  ASSERT_TRUE(program.Ended(10000));
}

}  // namespace
