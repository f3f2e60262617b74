// The tools editor on its real template, the tool items of the main window's
// menu, and tools started for real.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "common/atomic_save.h"
#include "common/language.h"
#include "resources/ids.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/dialog_template.h"
#include "tests/gui/msgbox_recorder.h"
#include "tests/support/test_folder.h"
#include "tools/tool_list.h"
#include "tools/tools_editor_win.h"
#include "tools/tools_menu_win.h"
#include "tools/tools_win.h"

namespace fs = std::filesystem;

namespace {

void ClearTools() {
  while (ToolCount > 0) DeleteToolEntry(ToolCount);
  ToolOverflow.clear();
  ToolsUnread.clear();
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
  bool FileExists(std::string_view name) override { return SystemLauncher().FileExists(name); }
  void ShowMessage(std::string_view caption, std::string_view text, std::uint32_t style) override {
    SystemLauncher().ShowMessage(caption, text, style);
  }
  std::string StartProgram(std::string_view commandLine) override {
    started.push_back("program " + std::string(commandLine));
    return {};
  }
  std::string OpenDocument(std::string_view document, std::string_view parameters) override {
    started.push_back("open " + std::string(document) + " | " + std::string(parameters));
    return {};
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
  std::string ListLine(int index) { return ListLineText(E().Item(IDC_TOOLS_LIST), index); }
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

TEST_F(ToolsEditorDialog, OkSavesAndClosesEscPutsTheListBack) {
  WriteFile("Tools.rel", "viejo\r\nviejo.exe\r\n\r\n\r\n");
  ASSERT_TRUE(LoadTools());
  Open();
  TypeEntry("nuevo", "nuevo.exe");
  E().Click(IDC_TOOLS_STORE);
  SelectLine(0);
  E().Click(IDC_TOOLS_DOWN);
  E().Click(IDC_CANCEL);
  EXPECT_FALSE(IsWindowVisible(E().Dialog()));
  EXPECT_EQ(ReadFile("Tools.rel"), "viejo\r\nviejo.exe\r\n\r\n\r\n");
  ASSERT_EQ(ToolCount, 1);  // as it was when the editor opened
  EXPECT_EQ(ToolList[1].Title, "viejo");
  EXPECT_EQ(ToolList[2].Title, "");

  editor_.reset();
  Open();
  EXPECT_EQ(ListCount(), 1);
  TypeEntry("nuevo", "nuevo.exe");
  E().Click(IDC_TOOLS_STORE);
  E().Type(IDC_TOOLS_TITLE, "typed, never stored");
  E().Click(IDC_TOOLS_SAVE);
  EXPECT_FALSE(IsWindowVisible(E().Dialog()));
  EXPECT_EQ(ReadFile("Tools.rel"), "viejo\r\nviejo.exe\r\n\r\n\r\nnuevo\r\nnuevo.exe\r\n\r\n\r\n");
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// Every failed save: one message naming the file and why, the dialog open
// with the list and the fields as they were, the old file intact.
TEST_F(ToolsEditorDialog, AFailedSaveSaysWhyAndKeepsEverything) {
  struct FailingWrite : SaveChannel {
    bool Write(std::FILE*, std::string_view) override { return false; }
  } failingWrite;
  const std::string old = "viejo\r\nviejo.exe\r\n\r\n\r\n";
  const std::string path = SystemLauncher().CurrentFolder() + "\\Tools.rel";
  struct Case {
    const char* name;
    DWORD share;           // the file held open by another program with this sharing
    SaveChannel* channel;  // or a failing save channel
    const char* reason;    // in the message, when the reason is ours
  } cases[] = {
      {"held", FILE_SHARE_READ, nullptr, nullptr},
      {"failing write", 0, &failingWrite, "No se ha podido escribir"},
  };
  for (const Case& c : cases) {
    boxes_.Clear();
    ClearTools();
    WriteFile("Tools.rel", old);
    AddTools({"nuevo"});
    Open();
    SelectLine(0);
    E().Type(IDC_TOOLS_PARAMS, "escrito sin <- ok");
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.share) {
      held = CreateFileA("Tools.rel", GENERIC_READ, c.share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(held, INVALID_HANDLE_VALUE) << c.name;
    }
    SetSaveChannel(c.channel);
    E().Click(IDC_TOOLS_SAVE);
    SetSaveChannel(nullptr);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

    EXPECT_TRUE(IsWindowVisible(E().Dialog())) << c.name;
    ASSERT_EQ(boxes_.Boxes().size(), 1u) << c.name;
    EXPECT_EQ(boxes_.Last().caption, "No se ha guardado");
    EXPECT_EQ(boxes_.Last().Style(), MB_OK | MB_ICONEXCLAMATION);
    const std::string& text = boxes_.Last().text;
    EXPECT_EQ(
        text.rfind("No se ha podido guardar la lista de útiles en\r\n" + path + "\r\n\r\n", 0), 0u)
        << text;
    // A box holds 255 characters; the file and why come first.
    if (text.size() < 255) {
      EXPECT_NE(text.find(".\r\n\r\nLos cambios siguen en el editor."), std::string::npos) << text;
    }
    if (c.reason) {
      EXPECT_NE(text.find(c.reason), std::string::npos) << text;
    } else {  // the system's words name the cause; ours would say only that it failed
      EXPECT_EQ(text.find("No se ha podido escribir el archivo completo"), std::string::npos)
          << text;
    }
    EXPECT_EQ(ReadFile("Tools.rel"), old) << c.name;
    EXPECT_FALSE(fs::exists("Tools.rel.new")) << c.name;
    EXPECT_EQ(E().Text(IDC_TOOLS_PARAMS), "escrito sin <- ok");
    EXPECT_EQ(Buttons(), "-..");
    EXPECT_EQ(ListLine(0), "nuevo");

    // Once the way is free again, Ok saves.
    E().Click(IDC_TOOLS_SAVE);
    EXPECT_FALSE(IsWindowVisible(E().Dialog())) << c.name;
    EXPECT_EQ(ReadFile("Tools.rel"), "nuevo\r\nnuevo.exe\r\n\r\n\r\n");
    editor_.reset();
  }
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
      items.emplace_back(GetMenuItemID(ToolsMenu, i), MenuText(ToolsMenu, i));
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
  // UTF-8 from today's editors; "&" doubled for the menu, which shows one.
  WriteFile("Tools.rel", "uno\r\nuno.exe\r\n\r\n\r\nA&B \xC3\xB1\ndos.txt\n\n\ntres\n");
  DialogDriver main("PRINCIPAL", &MainDialogProc);
  EXPECT_EQ(
      Items(),
      (Items_{
          {501, "&Edición Utilidades"}, {0, ""}, {531, "uno"}, {532, "A&&B ñ"}, {533, "tres"}}));
  EXPECT_EQ(ToolList[2].Title, "A&B ñ");
  DeleteToolEntry(1);
  RebuildToolsMenu(ToolsMenu);
  EXPECT_EQ(Items(),
            (Items_{{501, "&Edición Utilidades"}, {0, ""}, {531, "A&&B ñ"}, {532, "tres"}}));
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

// The editor from the menu, run modally, driven from inside its loop.
struct EditorScript {
  static inline std::function<void(HWND editor)> steps;
  static void CALLBACK Step(HWND, UINT, UINT_PTR timer, DWORD) {
    // Once it is on the screen, as a person would see it.
    if (!ToolsEditor || !IsWindowVisible(ToolsEditor)) return;
    KillTimer(nullptr, timer);
    steps(ToolsEditor);
  }
  static void Click(HWND editor, int id) { SendMessageA(GetDlgItem(editor, id), BM_CLICK, 0, 0); }
  static void Add(HWND editor) {
    SetDlgItemTextW(editor, IDC_TOOLS_TITLE, L"añadido");
    Click(editor, IDC_TOOLS_STORE);
  }
};

void RunEditor(DialogDriver& main, std::function<void(HWND editor)> steps) {
  EditorScript::steps = std::move(steps);
  SetTimer(nullptr, 0, 30, &EditorScript::Step);
  main.MenuCommand(IDM_TOOLS_EDIT);
}

TEST_F(ToolsMenuItems, TheEditorCommandRebuildsTheItemsAfterASave) {
  DialogDriver main("PRINCIPAL", &MainDialogProc);
  RunEditor(main, [](HWND editor) {
    EditorScript::Add(editor);
    EditorScript::Click(editor, IDC_CANCEL);
  });
  EXPECT_EQ(ToolsEditor, nullptr);
  EXPECT_EQ(GetMenuItemCount(ToolsMenu), 2);
  EXPECT_EQ(ToolCount, 0);

  for (int i = 0; i < 2; ++i) {
    RunEditor(main, [](HWND editor) {
      EditorScript::Add(editor);
      EditorScript::Click(editor, IDC_TOOLS_SAVE);
    });
  }
  EXPECT_EQ(Items(),
            (Items_{{501, "&Edición Utilidades"}, {0, ""}, {531, "añadido"}, {532, "añadido"}}));
  EXPECT_TRUE(fs::exists("Tools.rel"));

  // "Salir" with the editor open and nothing changed ends both, unasked.
  RunEditor(main, [&](HWND) { SendMessageA(main.Dialog(), WM_COMMAND, IDC_CANCEL, 0); });
  EXPECT_EQ(ToolsEditor, nullptr);
  EXPECT_FALSE(IsWindowVisible(main.Dialog()));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// After esc the list is the menu's again: each item starts its own tool.
TEST_F(ToolsMenuItems, EscThenAMenuCommandStartsTheItemsTool) {
  WriteFile("Tools.rel", "uno\r\nuno.exe\r\n\r\n\r\ndos\r\ndos.exe\r\n\r\n\r\n");
  DialogDriver main("PRINCIPAL", &MainDialogProc);
  RunEditor(main, [](HWND editor) {
    SendDlgItemMessageA(editor, IDC_TOOLS_LIST, LB_SETCURSEL, 1, 0);
    SendMessageA(editor, WM_COMMAND, MAKEWPARAM(IDC_TOOLS_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(editor, IDC_TOOLS_LIST)));
    EditorScript::Click(editor, IDC_TOOLS_UP);
    EditorScript::Add(editor);
    EditorScript::Click(editor, IDC_CANCEL);
  });
  main.MenuCommand(531);
  main.MenuCommand(533);  // the "cancelled" addition has no item and no slot
  EXPECT_EQ(launcher_.started, (std::vector<std::string>{"program uno.exe"}));
  EXPECT_EQ(ToolCount, 2);
  EXPECT_EQ(ReadFile("Tools.rel"), "uno\r\nuno.exe\r\n\r\n\r\ndos\r\ndos.exe\r\n\r\n\r\n");
}

// "Salir" with unsaved edits asks first: Cancel stays, No leaves the file,
// Yes saves (and a save that fails keeps the program and the edits).
TEST_F(ToolsMenuItems, SalirWithUnsavedEditsAsksFirst) {
  const std::string old = "uno\r\nuno.exe\r\n\r\n\r\n";
  const std::string added = old + "añadido\r\n\r\n\r\n\r\n";
  struct Case {
    std::vector<int> answers;
    bool holdFile;
    bool quits;
    std::string file;
  } cases[] = {
      {{IDCANCEL}, false, false, old},
      {{IDNO}, false, true, old},
      {{IDYES}, false, true, added},
      {{IDYES, IDOK}, true, false, old},  // the save fails: its message, then the editor
  };
  for (const Case& c : cases) {
    ClearTools();
    boxes_.Clear();
    WriteFile("Tools.rel", old);
    DialogDriver main("PRINCIPAL", &MainDialogProc);
    for (int answer : c.answers) boxes_.Script(answer);
    bool editorStayed = false;
    RunEditor(main, [&](HWND editor) {
      EditorScript::Add(editor);
      HANDLE held = c.holdFile ? CreateFileA("Tools.rel", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                               : INVALID_HANDLE_VALUE;
      SetForegroundWindow(main.Dialog());  // "Salir" is clicked there
      SendMessageA(main.Dialog(), WM_COMMAND, IDC_CANCEL, 0);
      if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
      editorStayed = IsWindowVisible(editor) != FALSE;
      if (editorStayed) {
        EXPECT_EQ(GetForegroundWindow(), editor);  // in front, with its edits
        EditorScript::Click(editor, IDC_CANCEL);
      }
    });
    ASSERT_GE(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "ha habido cambios");
    EXPECT_EQ(boxes_.Boxes()[0].text, "¿guardar los cambios?");
    EXPECT_EQ(boxes_.Boxes()[0].Style(), MB_YESNOCANCEL);
    EXPECT_EQ(boxes_.Boxes().size(), c.answers.size());
    if (c.holdFile) {
      EXPECT_EQ(boxes_.Last().caption, "No se ha guardado");
    }
    EXPECT_EQ(editorStayed, !c.quits);
    EXPECT_EQ(IsWindowVisible(main.Dialog()) == FALSE, c.quits);
    EXPECT_EQ(ReadFile("Tools.rel"), c.file);
  }
}

// A list that is there is read whatever its attributes, and Ok with no edits
// leaves its file as it was; a save that the read-only mark or the system
// refuses says so and keeps the edits.
TEST_F(ToolsMenuItems, AListIsReadWhateverItsAttributes) {
  const std::string three = "uno\r\nuno.exe\r\n\r\n\r\ndos\r\n\r\n\r\n\r\ntres\r\n\r\n\r\n\r\n";
  const struct {
    const char* what;
    DWORD attributes;
    bool saves;
  } cases[] = {
      {"system", FILE_ATTRIBUTE_SYSTEM, true},
      {"hidden", FILE_ATTRIBUTE_HIDDEN, true},
      {"hidden and system", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true},
      {"archive", FILE_ATTRIBUTE_ARCHIVE, true},
      {"read-only", FILE_ATTRIBUTE_READONLY, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ClearTools();
    boxes_.Clear();
    SetFileAttributesA("Tools.rel", FILE_ATTRIBUTE_NORMAL);
    WriteFile("Tools.rel", three);
    ASSERT_TRUE(SetFileAttributesA("Tools.rel", c.attributes));
    DialogDriver main("PRINCIPAL", &MainDialogProc);
    EXPECT_EQ(GetMenuItemCount(ToolsMenu), 5);
    RunEditor(main, [](HWND editor) { EditorScript::Click(editor, IDC_TOOLS_SAVE); });
    EXPECT_EQ(ReadFile("Tools.rel"), three);
    EXPECT_TRUE(boxes_.Boxes().empty());

    bool stayed = false;
    RunEditor(main, [&](HWND editor) {
      EditorScript::Add(editor);
      EditorScript::Click(editor, IDC_TOOLS_SAVE);
      stayed = IsWindowVisible(editor) != FALSE;
      if (stayed) {
        EXPECT_EQ(SendDlgItemMessageA(editor, IDC_TOOLS_LIST, LB_GETCOUNT, 0, 0), 4);
        EditorScript::Click(editor, IDC_CANCEL);
      }
    });
    EXPECT_EQ(stayed, !c.saves);
    if (c.saves) {
      EXPECT_TRUE(boxes_.Boxes().empty());
      EXPECT_EQ(ReadFile("Tools.rel"), three + "añadido\r\n\r\n\r\n\r\n");
      EXPECT_EQ(GetFileAttributesA("Tools.rel") & c.attributes, c.attributes);
    } else {
      ASSERT_EQ(boxes_.Boxes().size(), 1u);
      EXPECT_EQ(boxes_.Last().caption, "No se ha guardado");
      EXPECT_NE(boxes_.Last().text.find("El archivo es de solo lectura."), std::string::npos)
          << boxes_.Last().text;
      EXPECT_EQ(ReadFile("Tools.rel"), three);
    }
    SetFileAttributesA("Tools.rel", FILE_ATTRIBUTE_NORMAL);
  }
}

// A list that could not be read is never saved over; once the file reads,
// the editor command reads it and the menu shows it.
TEST_F(ToolsMenuItems, AnUnreadListIsNeverSavedOver) {
  const std::string three = "uno\r\nuno.exe\r\n\r\n\r\ndos\r\n\r\n\r\n\r\ntres\r\n\r\n\r\n\r\n";
  WriteFile("Tools.rel", three);
  HANDLE held = CreateFileA("Tools.rel", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  DialogDriver main("PRINCIPAL", &MainDialogProc);
  EXPECT_EQ(GetMenuItemCount(ToolsMenu), 2);
  EXPECT_FALSE(ToolsUnread.empty());

  RunEditor(main, [](HWND editor) {
    EditorScript::Add(editor);
    EditorScript::Click(editor, IDC_TOOLS_SAVE);
    EditorScript::Click(editor, IDC_CANCEL);
  });
  // One message as the editor opens, one for Ok; both say which file and why.
  ASSERT_EQ(boxes_.Boxes().size(), 2u);
  const std::string path = SystemLauncher().CurrentFolder() + "\\Tools.rel";
  for (const MessageBoxRecord& box : boxes_.Boxes()) {
    EXPECT_EQ(box.caption, "No se ha leído");
    EXPECT_EQ(box.text.rfind("No se ha podido leer\r\n" + path + "\r\n\r\n" + ToolsUnread + ".", 0),
              0u)
        << box.text;
    EXPECT_EQ(box.Style(), MB_OK | MB_ICONEXCLAMATION);
  }
  CloseHandle(held);
  EXPECT_EQ(ReadFile("Tools.rel"), three);

  boxes_.Clear();
  RunEditor(main, [](HWND editor) {
    EditorScript::Add(editor);
    EditorScript::Click(editor, IDC_TOOLS_SAVE);
  });
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(ReadFile("Tools.rel"), three + "añadido\r\n\r\n\r\n\r\n");
  EXPECT_EQ(GetMenuItemCount(ToolsMenu), 6);
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

// A program picked with "···" whose name has blanks starts as a whole; one
// that is not there says so, once.
TEST_F(ToolsFolder, ANameWithBlanksStartsAMissingOneSaysSo) {
  ToolLauncher = nullptr;
  char self[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const fs::path probe = fs::path(self).parent_path() / "tool_probe.exe";
  fs::create_directories("con blancos");
  fs::copy_file(probe, folder_ / "con blancos" / "sonda con blancos.exe");
  const std::string work = SystemLauncher().CurrentFolder() + "\\con blancos";
  ToolEntry entry;
  SetToolEntry(entry, "sonda", "sonda con blancos.exe", work, "");
  LaunchTool(entry);
  const fs::path proof = folder_ / "con blancos" / "tool_probe.txt";
  for (int i = 0; i < 200 && !fs::exists(proof); ++i) Sleep(50);
  ASSERT_TRUE(fs::exists(proof));
  EXPECT_EQ(ReadFile(proof.string()), work + "\n");
  EXPECT_TRUE(boxes_.Boxes().empty());

  for (const char* file : {"no existe.exe", "no existe.txt"}) {
    boxes_.Clear();
    SetToolEntry(entry, "falta", file, "", "");
    LaunchTool(entry);
    ASSERT_EQ(boxes_.Boxes().size(), 1u) << file;
    EXPECT_EQ(boxes_.Last().caption, "No se ha podido abrir");
    EXPECT_EQ(boxes_.Last().text.rfind(std::string(file) + "\r\n\r\n", 0), 0u)
        << boxes_.Last().text;
    EXPECT_GT(boxes_.Last().text.size(), std::string(file).size() + 4);  // and why
    EXPECT_EQ(boxes_.Last().Style(), MB_OK | MB_ICONEXCLAMATION);
  }
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
