// The tools editor on its real template, the tool items of the main window's
// menu, and tools started for real.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "common/language.h"
#include "resources/ids.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/dialog_template.h"
#include "tests/gui/msgbox_recorder.h"
#include "tests/support/test_folder.h"
#include "tools/tools_menu_win.h"
#include "tools/tool_list.h"
#include "tools/tools_editor_win.h"
#include "tools/tools_win.h"

namespace fs = std::filesystem;

namespace {

void ClearTools() {
  while (ToolCount > 0) DeleteToolEntry(ToolCount);
  ToolOverflow.clear();
}

void AddTools(std::initializer_list<const char*> titles) {
  for (const char* title : titles) {
    AddToolEntry();
    SetToolEntry(ToolList[ToolCount], title, std::string(title) + ".exe", "", "");
  }
}

// Starts seen, not done: what would be started, and in which folder.
class RecordingLauncher final : public LaunchPlatform {
 public:
  std::vector<std::string> started;

  std::string CurrentFolder() override { return SystemLauncher().CurrentFolder(); }
  bool EnterFolder(const std::string& folder) override {
    return SystemLauncher().EnterFolder(folder);
  }
  bool DirExists(std::string_view name) override { return SystemLauncher().DirExists(name); }
  void ShowMessage(std::string_view caption, std::string_view text, std::uint32_t style) override {
    SystemLauncher().ShowMessage(caption, text, style);
  }
  void StartProgram(std::string_view commandLine) override {
    started.push_back("program " + std::string(commandLine));
  }
  void OpenDocument(std::string_view document, std::string_view parameters) override {
    started.push_back("open " + std::string(document) + " | " + std::string(parameters));
  }
};

// An empty tool list in the test's own folder; starts are recorded, not done.
class ToolsFolder : public TestFolder {
 protected:
  void SetUp() override {
    TestFolder::SetUp();
    Language = 2;
    ClearTools();
    ToolLauncher = &launcher_;
  }
  void TearDown() override {
    ToolLauncher = nullptr;
    TestFolder::TearDown();
    ClearTools();
    Language = 2;
  }

  RecordingLauncher launcher_;
  MessageBoxRecorder boxes_;
};

class ToolsEditorDialog : public ToolsFolder {
 protected:
  void Open() {
    editor_ = std::make_unique<DialogDriver>("DLGTOOLS", &ToolsEditorProc);
    ASSERT_NE(editor_->Dialog(), nullptr);
  }
  DialogDriver& E() { return *editor_; }
  void TearDown() override {
    editor_.reset();
    ToolsFolder::TearDown();
  }

  int ListCount() {
    return static_cast<int>(SendMessageA(E().Item(IDC_TOOLS_LIST), LB_GETCOUNT, 0, 0));
  }
  int ListCursor() {
    return static_cast<int>(SendMessageA(E().Item(IDC_TOOLS_LIST), LB_GETCURSEL, 0, 0));
  }
  std::string ListLine(int index) {
    char text[300] = "";
    SendMessageA(E().Item(IDC_TOOLS_LIST), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
  }
  // What a person does: click a line of the list.
  void SelectLine(int index) {
    SendMessageA(E().Item(IDC_TOOLS_LIST), LB_SETCURSEL, index, 0);
    SendMessageA(E().Dialog(), WM_COMMAND, MAKEWPARAM(IDC_TOOLS_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(E().Item(IDC_TOOLS_LIST)));
    E().Pump();
  }
  void TypeEntry(const char* title, const char* file, const char* dir = "",
                 const char* params = "") {
    E().Type(IDC_TOOLS_TITLE, title);
    E().Type(IDC_TOOLS_FILE, file);
    E().Type(IDC_TOOLS_DIR, dir);
    E().Type(IDC_TOOLS_PARAMS, params);
  }
  std::vector<std::string> Fields() {
    return {E().Text(IDC_TOOLS_TITLE), E().Text(IDC_TOOLS_FILE), E().Text(IDC_TOOLS_DIR),
            E().Text(IDC_TOOLS_PARAMS)};
  }
  std::string Buttons() {  // "-^v" for the enabled ones, "." for the others
    std::string s;
    s += E().Enabled(IDC_TOOLS_DELETE) ? '-' : '.';
    s += E().Enabled(IDC_TOOLS_UP) ? '^' : '.';
    s += E().Enabled(IDC_TOOLS_DOWN) ? 'v' : '.';
    return s;
  }

  std::unique_ptr<DialogDriver> editor_;
};

// --- The template --------------------------------------------------------------

TEST_F(ToolsEditorDialog, TemplateLayoutAndLanguageTexts) {
  Open();
  const DWORD edit = ES_AUTOHSCROLL | WS_TABSTOP, button = BS_PUSHBUTTON | WS_TABSTOP,
              list = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP;
  // The texts of Language 2; no button is the default one.
  const TemplateControl controls[] = {
      {IDC_TOOLS_LIST_LABEL, "Static", "Útiles", 5, 2, 60, 9, SS_LEFT},
      {IDC_TOOLS_LIST, "ListBox", "", 5, 10, 85, 95, list, true},
      {IDC_TOOLS_NEW, "Button", "+", 92, 10, 15, 9, button},
      {IDC_TOOLS_DELETE, "Button", "-", 92, 20, 15, 9, button},
      {IDC_TOOLS_UP, "Button", "^", 92, 40, 10, 14, button},
      {IDC_TOOLS_DOWN, "Button", "v", 92, 55, 10, 14, button},
      {IDC_TOOLS_GROUP, "Button", "Útil", 110, 5, 115, 100, BS_GROUPBOX},
      {IDC_TOOLS_TITLE_LABEL, "Static", "Título", 115, 14, 30, 9, SS_LEFT},
      {IDC_TOOLS_TITLE, "Edit", "", 115, 21, 100, 9, edit, true},
      {IDC_TOOLS_FILE_LABEL, "Static", "Fichero", 115, 34, 30, 9, SS_LEFT},
      {IDC_TOOLS_DIR_LABEL, "Static", "Dir. de trabajo", 115, 54, 80, 9, SS_LEFT},
      {IDC_TOOLS_FILE, "Edit", "", 115, 41, 105, 9, edit, true},
      {IDC_TOOLS_DIR, "Edit", "", 115, 61, 105, 9, edit, true},
      {IDC_TOOLS_PARAMS_LABEL, "Static", "parámetros", 115, 74, 40, 9, SS_LEFT},
      {IDC_TOOLS_PARAMS, "Edit", "", 115, 81, 105, 9, edit, true},
      {IDC_TOOLS_BROWSE, "Button", "···", 205, 33, 15, 7, button},
      {IDC_TOOLS_STORE, "Button", "<- ok", 120, 93, 30, 10, button},
      {IDC_TOOLS_SAVE, "Button", "Ok", 60, 108, 30, 10, button},
      {IDC_CANCEL, "Button", "esc", 25, 108, 30, 10, button},
  };
  ExpectTemplateControls(E(), controls);
  EXPECT_EQ(WindowText(E().Dialog()), "Edición útiles");
}

// --- Editing the list ------------------------------------------------------------

TEST_F(ToolsEditorDialog, StoringIntoAnEmptyListAppendsTheFirstEntry) {
  Open();
  EXPECT_EQ(ListCount(), 0);
  EXPECT_EQ(Buttons(), "...");
  TypeEntry("Notas", "notepad.exe notas.txt", "C:\\datos", "libre");
  E().Click(IDC_TOOLS_STORE);
  ASSERT_EQ(ToolCount, 1);
  EXPECT_EQ(ToolList[1].Title, "Notas");
  EXPECT_EQ(ToolList[1].File, "notepad.exe notas.txt");
  EXPECT_EQ(ToolList[1].WorkDir, "C:\\datos");
  EXPECT_EQ(ToolList[1].Params, "libre");
  EXPECT_EQ(ListCount(), 1);
  EXPECT_EQ(ListLine(0), "Notas");
  EXPECT_EQ(Fields(), (std::vector<std::string>{"", "", "", ""}));

  // An entry with every field empty is stored too.
  E().Click(IDC_TOOLS_STORE);
  EXPECT_EQ(ToolCount, 2);
  EXPECT_EQ(ListLine(1), "");
}

TEST_F(ToolsEditorDialog, SelectingALineShowsItAndEnablesItsButtons) {
  AddTools({"uno"});
  Open();
  SelectLine(0);
  EXPECT_EQ(Buttons(), "-..");  // a single entry moves nowhere
  editor_.reset();

  AddTools({"dos", "tres"});
  Open();
  SelectLine(0);
  EXPECT_EQ(Buttons(), "-.v");
  EXPECT_EQ(Fields(), (std::vector<std::string>{"uno", "uno.exe", "", ""}));
  SelectLine(2);
  EXPECT_EQ(Buttons(), "-^.");
  SelectLine(1);
  EXPECT_EQ(Buttons(), "-^v");

  // Storing with a line selected replaces that entry.
  E().Type(IDC_TOOLS_TITLE, "DOS");
  E().Click(IDC_TOOLS_STORE);
  EXPECT_EQ(ToolCount, 3);
  EXPECT_EQ(ToolList[2].Title, "DOS");
  EXPECT_EQ(ListLine(1), "DOS");
  EXPECT_EQ(Buttons(), "...");
  EXPECT_EQ(ListCursor(), LB_ERR);
}

TEST_F(ToolsEditorDialog, MovingKeepsTheEntrySelected) {
  AddTools({"uno", "dos", "tres"});
  Open();
  SelectLine(1);
  E().Click(IDC_TOOLS_UP);
  EXPECT_EQ(ToolList[1].Title, "dos");
  EXPECT_EQ(ToolList[2].Title, "uno");
  EXPECT_EQ(ListLine(0), "dos");
  EXPECT_EQ(ListCursor(), 0);
  EXPECT_EQ(Buttons(), "-.v");
  EXPECT_EQ(E().Text(IDC_TOOLS_TITLE), "dos");

  E().Click(IDC_TOOLS_DOWN);
  E().Click(IDC_TOOLS_DOWN);
  EXPECT_EQ(ListLine(2), "dos");
  EXPECT_EQ(ListCursor(), 2);
  EXPECT_EQ(Buttons(), "-^.");
  EXPECT_EQ(ToolList[1].Title, "uno");
  EXPECT_EQ(ToolList[2].Title, "tres");
}

TEST_F(ToolsEditorDialog, DeletingAsksFirst) {
  AddTools({"uno", "dos", "tres"});
  Open();
  SelectLine(1);
  boxes_.Script(IDNO);
  E().Click(IDC_TOOLS_DELETE);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Last().caption, "Confirmar eliminar");
  EXPECT_EQ(boxes_.Last().text, "Eliminar \"dos\"?");
  EXPECT_EQ(boxes_.Last().Style(), MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(ToolCount, 3);

  boxes_.Script(IDYES);
  E().Click(IDC_TOOLS_DELETE);
  ASSERT_EQ(ToolCount, 2);
  EXPECT_EQ(ToolList[2].Title, "tres");
  EXPECT_EQ(ListCount(), 2);
  EXPECT_EQ(ListLine(1), "tres");
  EXPECT_EQ(Buttons(), "...");
  EXPECT_EQ(Fields(), (std::vector<std::string>{"", "", "", ""}));
}

TEST_F(ToolsEditorDialog, PlusDescribesANewEntryEvenWithALineHighlighted) {
  AddTools({"uno", "dos"});
  Open();
  SelectLine(0);
  E().Click(IDC_TOOLS_NEW);
  EXPECT_EQ(E().FocusedId(), IDC_TOOLS_TITLE);  // typing names the new entry
  EXPECT_EQ(Fields(), (std::vector<std::string>{"", "", "", ""}));
  EXPECT_EQ(Buttons(), "...");
  EXPECT_EQ(ListCursor(), 0);  // the highlight stays
  TypeEntry("nuevo", "nuevo.txt");
  E().Click(IDC_TOOLS_STORE);
  ASSERT_EQ(ToolCount, 3);
  EXPECT_EQ(ToolList[1].Title, "uno");
  EXPECT_EQ(ToolList[3].Title, "nuevo");
}

// Each field it reaches has its text selected; Enter on "<- ok" stores.
TEST_F(ToolsEditorDialog, EnterWalksDownTheFieldsAndStores) {
  Open();
  TypeEntry("uno", "uno.txt", "C:\\d", "-p");
  E().Focus(IDC_TOOLS_TITLE);
  for (int next : {IDC_TOOLS_FILE, IDC_TOOLS_DIR, IDC_TOOLS_PARAMS, IDC_TOOLS_STORE}) {
    E().PressEnter();
    EXPECT_EQ(E().FocusedId(), next);
    if (next != IDC_TOOLS_STORE) EXPECT_TRUE(E().AllSelected(next)) << next;
  }
  E().PressEnter();
  ASSERT_EQ(ToolCount, 1);
  EXPECT_EQ(ToolList[1].Title, "uno");
  EXPECT_EQ(ToolList[1].Params, "-p");
}

TEST_F(ToolsEditorDialog, A65thEntryIsRefusedWithAMessage) {
  for (int i = 1; i <= MaxTools; ++i) AddTools({"t"});
  Open();
  TypeEntry("sobra", "sobra.exe");
  E().Click(IDC_TOOLS_STORE);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Last().caption, "Lista llena");
  EXPECT_EQ(boxes_.Last().Style(), MB_OK | MB_ICONEXCLAMATION);
  EXPECT_EQ(ToolCount, MaxTools);
  EXPECT_EQ(ListCount(), MaxTools);
  EXPECT_EQ(E().Text(IDC_TOOLS_TITLE), "sobra");  // nothing typed is lost

  // A change to an existing entry is no new entry.
  SelectLine(63);
  E().Type(IDC_TOOLS_TITLE, "último");
  E().Click(IDC_TOOLS_STORE);
  EXPECT_EQ(ToolList[64].Title, "último");
  EXPECT_EQ(boxes_.Boxes().size(), 1u);
}

// --- Ok and esc ----------------------------------------------------------------

TEST_F(ToolsEditorDialog, OkSavesAndClosesEscKeepsTheFileButNotTheList) {
  WriteFile("Tools.rel", "viejo\r\nviejo.exe\r\n\r\n\r\n");
  ASSERT_TRUE(LoadTools());
  Open();
  TypeEntry("nuevo", "nuevo.exe");
  E().Click(IDC_TOOLS_STORE);
  E().Click(IDC_CANCEL);
  EXPECT_FALSE(IsWindowVisible(E().Dialog()));
  EXPECT_EQ(ReadFile("Tools.rel"), "viejo\r\nviejo.exe\r\n\r\n\r\n");
  EXPECT_EQ(ToolCount, 2);  // the list in memory keeps the edit

  editor_.reset();
  Open();
  EXPECT_EQ(ListLine(1), "nuevo");
  E().Type(IDC_TOOLS_TITLE, "typed, never stored");
  E().Click(IDC_TOOLS_SAVE);
  EXPECT_FALSE(IsWindowVisible(E().Dialog()));
  EXPECT_EQ(ReadFile("Tools.rel"), "viejo\r\nviejo.exe\r\n\r\n\r\nnuevo\r\nnuevo.exe\r\n\r\n\r\n");
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ToolsEditorDialog, AFailedSaveKeepsTheDialogAndTheOldFile) {
  const std::string old = "viejo\r\nviejo.exe\r\n\r\n\r\n";
  WriteFile("Tools.rel", old);
  AddTools({"nuevo"});
  Open();
  // Another program holds the file open and lets nobody write it.
  HANDLE held = CreateFileA("Tools.rel", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  E().Click(IDC_TOOLS_SAVE);
  CloseHandle(held);
  EXPECT_TRUE(IsWindowVisible(E().Dialog()));
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(ReadFile("Tools.rel"), old);
  EXPECT_FALSE(fs::exists("Tools.rel.new"));

  // Once the file is free again, Ok saves.
  E().Click(IDC_TOOLS_SAVE);
  EXPECT_FALSE(IsWindowVisible(E().Dialog()));
  EXPECT_EQ(ReadFile("Tools.rel"), "nuevo\r\nnuevo.exe\r\n\r\n\r\n");
}

// --- Browsing --------------------------------------------------------------------

// Answers the open-file dialog from inside its own loop.
struct FileDialogAnswer {
  static inline std::string path;
  static inline std::string initialName;
  static inline bool cancel = false;
  static void CALLBACK Step(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = nullptr;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
      char className[16] = "";
      GetClassNameA(w, className, sizeof className);
      if (IsWindowVisible(w) && std::string(className) == "#32770" &&
          GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() && GetDlgItem(w, IDOK) &&
          GetDlgItem(w, 0x47C /* cmb13, the file name */)) {
        box = w;
        break;
      }
    }
    if (!box) return;
    KillTimer(nullptr, timer);
    initialName = WindowText(GetDlgItem(box, 0x47C));
    if (cancel) {
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return;
    }
    SetWindowTextA(GetDlgItem(box, 0x47C), path.c_str());
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
};

TEST_F(ToolsEditorDialog, BrowsingFillsTheFileAndAnEmptyFolder) {
  fs::create_directories("Mis datos");
  WriteFile("Mis datos/hoja.txt", "x");
  const std::string folder = SystemLauncher().CurrentFolder() + "\\Mis datos";
  Open();
  LastBrowsed = "";
  E().Type(IDC_TOOLS_TITLE, "Hoja");
  FileDialogAnswer::path = folder + "\\hoja.txt";
  FileDialogAnswer::cancel = false;
  SetTimer(nullptr, 0, 50, &FileDialogAnswer::Step);
  E().Click(IDC_TOOLS_BROWSE);
  EXPECT_EQ(Fields(), (std::vector<std::string>{"Hoja", "hoja.txt", folder, ""}));
  EXPECT_EQ(LastBrowsed.str(), folder + "\\hoja.txt");
  EXPECT_EQ(fs::current_path(), folder_);
  EXPECT_EQ(ToolCount, 0);  // nothing stored until "<- ok"

  // A folder already typed stays; the last path is offered again; a cancel
  // changes nothing.
  E().Type(IDC_TOOLS_DIR, "C:\\otro");
  SetTimer(nullptr, 0, 50, &FileDialogAnswer::Step);
  E().Click(IDC_TOOLS_BROWSE);
  // The system dialog shows the name and opens in its folder.
  EXPECT_NE(FileDialogAnswer::initialName.find("hoja.txt"), std::string::npos);
  EXPECT_EQ(E().Text(IDC_TOOLS_DIR), "C:\\otro");
  E().Type(IDC_TOOLS_FILE, "a mano");
  FileDialogAnswer::cancel = true;
  SetTimer(nullptr, 0, 50, &FileDialogAnswer::Step);
  E().Click(IDC_TOOLS_BROWSE);
  EXPECT_EQ(E().Text(IDC_TOOLS_FILE), "a mano");
  EXPECT_EQ(fs::current_path(), folder_);
}

// --- The menu and the commands ------------------------------------------------------

class ToolsMenuItems : public ToolsFolder {
 protected:
  std::vector<std::pair<UINT, std::string>> Items() {
    std::vector<std::pair<UINT, std::string>> items;
    for (int i = 0; i < GetMenuItemCount(ToolsMenu); ++i) {
      char text[300] = "";
      GetMenuStringA(ToolsMenu, i, text, sizeof text, MF_BYPOSITION);
      items.emplace_back(GetMenuItemID(ToolsMenu, i), text);
    }
    return items;
  }
  using Items_ = std::vector<std::pair<UINT, std::string>>;
};

TEST_F(ToolsMenuItems, OneItemPerToolAfterTheSeparator) {
  {
    DialogDriver main("PRINCIPAL", &MainDialogProc);  // no Tools.rel here
    EXPECT_EQ(Items(), (Items_{{501, "&Edición Utilidades"}, {0, ""}}));
  }
  WriteFile("Tools.rel", "uno\r\nuno.exe\r\n\r\n\r\ndos\ndos.txt\n\n\ntres\n");
  DialogDriver main("PRINCIPAL", &MainDialogProc);
  EXPECT_EQ(
      Items(),
      (Items_{{501, "&Edición Utilidades"}, {0, ""}, {531, "uno"}, {532, "dos"}, {533, "tres"}}));
  DeleteToolEntry(1);
  RebuildToolsMenu(ToolsMenu);
  EXPECT_EQ(Items(), (Items_{{501, "&Edición Utilidades"}, {0, ""}, {531, "dos"}, {532, "tres"}}));
}

TEST_F(ToolsMenuItems, ToolCommandsStartTheirToolInfoOpensTheHelp) {
  WriteFile("Tools.rel", "uno\r\nuno.exe -x\r\n\r\n\r\ndos\r\ndos.txt a b\r\n\r\n\r\n");
  DialogDriver main("PRINCIPAL", &MainDialogProc);
  main.MenuCommand(532);
  main.MenuCommand(531);
  main.MenuCommand(533);  // no such slot: nothing
  main.MenuCommand(IDM_INFO);
  EXPECT_EQ(launcher_.started, (std::vector<std::string>{"open dos.txt | a b", "program uno.exe -x",
                                                         "open quillet.pdf | "}));
  for (int id : {500, 502, 529, 595, 800}) EXPECT_FALSE(HandleToolsCommand(id)) << id;
  for (int id : {530, 531, 594}) EXPECT_TRUE(HandleToolsCommand(id)) << id;
  EXPECT_EQ(launcher_.started.size(), 4u);  // 531 once more; 530 and 594 start nothing
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// The editor from the menu, run modally: Ok rebuilds the items, esc does not.
struct EditorScript {
  static inline bool save = true;
  static inline HWND salirTo = nullptr;  // when set: "Salir" of that main window instead
  static void CALLBACK Step(HWND, UINT, UINT_PTR timer, DWORD) {
    if (!ToolsEditor) return;
    KillTimer(nullptr, timer);
    if (salirTo) {
      SendMessageA(salirTo, WM_COMMAND, MAKEWPARAM(IDC_CANCEL, 0), 0);
      return;
    }
    SetDlgItemTextA(ToolsEditor, IDC_TOOLS_TITLE, "añadido");
    SendMessageA(GetDlgItem(ToolsEditor, IDC_TOOLS_STORE), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(ToolsEditor, save ? IDC_TOOLS_SAVE : IDC_CANCEL), BM_CLICK, 0, 0);
  }
};

TEST_F(ToolsMenuItems, TheEditorCommandRebuildsTheItemsAfterASave) {
  DialogDriver main("PRINCIPAL", &MainDialogProc);
  EditorScript::save = false;
  SetTimer(nullptr, 0, 30, &EditorScript::Step);
  main.MenuCommand(IDM_TOOLS_EDIT);
  EXPECT_EQ(ToolsEditor, nullptr);
  EXPECT_EQ(GetMenuItemCount(ToolsMenu), 2);
  EXPECT_EQ(ToolCount, 1);

  EditorScript::save = true;
  SetTimer(nullptr, 0, 30, &EditorScript::Step);
  main.MenuCommand(IDM_TOOLS_EDIT);
  EXPECT_EQ(Items(),
            (Items_{{501, "&Edición Utilidades"}, {0, ""}, {531, "añadido"}, {532, "añadido"}}));
  EXPECT_TRUE(fs::exists("Tools.rel"));

  // "Salir" with the editor open ends both.
  EditorScript::salirTo = main.Dialog();
  SetTimer(nullptr, 0, 30, &EditorScript::Step);
  main.MenuCommand(IDM_TOOLS_EDIT);
  EditorScript::salirTo = nullptr;
  EXPECT_EQ(ToolsEditor, nullptr);
  EXPECT_FALSE(IsWindowVisible(main.Dialog()));
}

// --- Starting for real ---------------------------------------------------------------

// The probe program, beside this test program, writes where it ran and its
// arguments to tool_probe.txt in its working folder.
TEST_F(ToolsFolder, ATrueStartRunsInTheWorkingFolderAndComesBack) {
  ToolLauncher = nullptr;
  fs::create_directories("trabajo");
  const std::string work = SystemLauncher().CurrentFolder() + "\\trabajo";
  const std::string before = SystemLauncher().CurrentFolder();
  ToolEntry entry;
  SetToolEntry(entry, "sonda", "tool_probe.exe uno \"dos tres\"", work, "");
  LaunchTool(entry);
  EXPECT_EQ(SystemLauncher().CurrentFolder(), before);
  const fs::path proof = folder_ / "trabajo" / "tool_probe.txt";
  for (int i = 0; i < 200 && !fs::exists(proof); ++i) Sleep(50);
  ASSERT_TRUE(fs::exists(proof));
  EXPECT_EQ(ReadFile(proof.string()), work + "\nuno\ndos tres\n");
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ToolsFolder, AFolderThatIsAFileOrMissingStartsNothing) {
  ToolLauncher = nullptr;
  WriteFile("plano", "a plain file");
  const std::string before = SystemLauncher().CurrentFolder();
  for (const char* folder : {"plano", "no existe"}) {
    ToolEntry entry;
    SetToolEntry(entry, "sonda", "tool_probe.exe", folder, "");
    LaunchTool(entry);
    ASSERT_FALSE(boxes_.Boxes().empty()) << folder;
    EXPECT_EQ(boxes_.Last().caption, "No trobat directori...");
    EXPECT_EQ(boxes_.Last().text, folder);
    EXPECT_EQ(boxes_.Last().Style(), MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(SystemLauncher().CurrentFolder(), before);
  }
  Sleep(500);
  EXPECT_FALSE(fs::exists("tool_probe.txt"));
  EXPECT_FALSE(fs::exists(fs::path("plano") / "tool_probe.txt"));
}

}  // namespace
