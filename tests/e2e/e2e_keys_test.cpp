// The keyboard of the real program, with real key presses sent to it while
// it is the foreground window: Tab and Enter through the parameter fields,
// typing over a field's value, the menu's shortcut keys in the main window
// and inside the dialogs they open, Enter on the library's lists, the main
// window's keys and its menu's access keys while the table is open, and the
// about window closed with Esc and with Enter.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "resources/ids.h"
#include "tests/e2e/e2e_support.h"

namespace {

bool FocusIs(HWND dialog, int id) {
  return WaitFor([&] { return FocusIn(dialog) == GetDlgItem(dialog, id); }, 5000);
}

// Typed with the keys into the focused field, whose text must then be just that.
testing::AssertionResult TypedInto(HWND dialog, int id, const std::string& text) {
  if (!TypeKeys(text)) return testing::AssertionFailure() << "cannot type " << text;
  if (WaitFor([&] { return ItemText(dialog, id) == text; })) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "field " << id << " holds " << ItemText(dialog, id);
}

TEST(ProgramKeys, FieldsByTabAndEnterAndTheShortcutKeysInEveryLoop) {
  HelpDocumentType helpType;
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;
  ASSERT_TRUE(BringToFront(window));
  ASSERT_TRUE(FocusIs(window, IDC_FORMULA));

  // With no formula "Guardar" and "Tabla" are grayed: their keys do nothing.
  // The keys are handled in order, so once the typed formula shows, they were.
  PressKeys({VK_CONTROL, 'S'});
  PressKeys({VK_CONTROL, 'T'});
  ASSERT_TRUE(TypedInto(window, IDC_FORMULA, "a*x+b"));
  EXPECT_EQ(program.WindowStartingWith("tabla"), nullptr);
  EXPECT_EQ(program.Window("Fórmulas"), nullptr);

  // Enter shows the fields with the focus in the first; typing replaces its 0.
  PressKeys({VK_RETURN});
  ASSERT_TRUE(FocusIs(window, IDC_PARAM_EDIT1));
  EXPECT_TRUE(TypedInto(window, IDC_PARAM_EDIT1, "2"));
  // Tab reaches the second and third fields; Shift+Tab goes back.
  PressKeys({VK_TAB});
  ASSERT_TRUE(FocusIs(window, IDC_PARAM_EDIT2));
  EXPECT_TRUE(TypedInto(window, IDC_PARAM_EDIT2, "3"));
  PressKeys({VK_TAB});
  ASSERT_TRUE(FocusIs(window, IDC_PARAM_EDIT3));
  EXPECT_TRUE(TypedInto(window, IDC_PARAM_EDIT3, "4"));
  PressKeys({VK_SHIFT, VK_TAB});
  ASSERT_TRUE(FocusIs(window, IDC_PARAM_EDIT2));
  EXPECT_TRUE(TypedInto(window, IDC_PARAM_EDIT2, "5"));
  // Enter moves on to the last field, whose value it selects; Enter computes.
  PressKeys({VK_RETURN});
  ASSERT_TRUE(FocusIs(window, IDC_PARAM_EDIT3));
  TypeKeys("1");
  PressKeys({VK_RETURN});
  EXPECT_TRUE(WaitFor([&] { return ItemText(window, IDC_RESULT1) == "11"; }))
      << "2*5+1, result field: " << ItemText(window, IDC_RESULT1);

  // Ctrl+S asks for a topic in a message box; keys there are the box's own.
  PressKeys({VK_CONTROL, 'S'});
  ASSERT_TRUE(WaitFor([&] { return program.Window("guardar fórmula") != nullptr; }));
  PressKeys({VK_CONTROL, 'T'});
  PressKeys({VK_RETURN});
  HWND library = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (library = program.Window("Fórmulas")) != nullptr; }));
  EXPECT_EQ(ItemText(library, IDC_LIB_EXPRESSION), "a*x+b");
  EXPECT_EQ(program.WindowStartingWith("tabla"), nullptr);
  ASSERT_TRUE(BringToFront(library));
  PressKeys({VK_ESCAPE});
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(library); }));

  // Ctrl+T opens the table in its first constant; Tab goes on as the screen
  // reads, the second constant, "Ok", the variable list, where the arrows
  // choose; Shift+Tab goes back from the constants to "incr.".
  ASSERT_TRUE(BringToFront(window));
  PressKeys({VK_CONTROL, 'T'});
  HWND table = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (table = program.WindowStartingWith("tabla  ")) != nullptr; }));
  ASSERT_TRUE(BringToFront(table));
  ASSERT_TRUE(FocusIs(table, IDC_TABLE_CONST1));
  PressKeys({VK_SHIFT, VK_TAB});
  ASSERT_TRUE(FocusIs(table, IDC_TABLE_STEP));
  for (int id : {IDC_TABLE_CONST1, IDC_TABLE_CONST2, IDOK, IDC_TABLE_VARIABLES}) {
    PressKeys({VK_TAB});
    ASSERT_TRUE(FocusIs(table, id)) << id;
  }
  PressKeys({VK_DOWN});
  EXPECT_TRUE(WaitFor([&] { return ItemText(table, IDC_TABLE_VAR_HEADER) == "x"; }));

  // Ctrl+O inside the table's loop opens the library. Shift+Tab reaches the
  // topic list; Enter on a topic loads it as a double-click does, and Enter
  // on a formula hands it to the main window.
  PressKeys({VK_CONTROL, 'O'});
  ASSERT_TRUE(WaitFor([&] { return (library = program.Window("Fórmulas")) != nullptr; }));
  ASSERT_TRUE(BringToFront(library));
  ASSERT_TRUE(FocusIs(library, IDC_LIB_TOPIC_NAME));
  PressKeys({VK_SHIFT, VK_TAB});
  ASSERT_TRUE(FocusIs(library, IDC_LIB_TOPICS));
  PressKeys({VK_HOME});
  PressKeys({VK_RETURN});
  ASSERT_TRUE(FocusIs(library, IDC_LIB_FORMULA_NAME));
  ASSERT_GT(ListCount(library, IDC_LIB_FORMULAS), 0);
  // From the formula's name past the topics, the topic's name and file.
  for (int tab = 0; tab < 4; ++tab) PressKeys({VK_TAB});
  ASSERT_TRUE(FocusIs(library, IDC_LIB_FORMULAS));
  PressKeys({VK_HOME});
  std::string picked;
  ASSERT_TRUE(WaitFor([&] { return !(picked = ItemText(library, IDC_LIB_EXPRESSION)).empty(); }));
  PressKeys({VK_RETURN});
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(library); }));
  EXPECT_TRUE(WaitFor([&] { return ItemText(window, IDC_FORMULA) == picked; }))
      << ItemText(window, IDC_FORMULA) << " instead of " << picked;

  // F1 asks for the help document.
  ASSERT_TRUE(BringToFront(window));
  PressKeys({VK_F1});
  const std::string helpProof = program.Folder() + "\\tool_probe.txt";
  ASSERT_TRUE(WaitFor([&] { return FileExists(helpProof); })) << helpProof;
  EXPECT_NE(ReadFile(helpProof).find("quillet.pdf\n"), std::string::npos) << ReadFile(helpProof);

  EXPECT_TRUE(IsWindow(table));
  EXPECT_TRUE(program.QuitsBySalir(window));
}

// The keys of the main window while the table's loop runs, as a person meets
// them: a click into a field there, then Enter and Tab; Ctrl+T brings the
// table back to the front, which keeps its own keys; then Alt+F and Esc.
TEST(ProgramKeys, TheMainWindowKeepsItsKeysWithTheTableOpen) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;
  ASSERT_TRUE(BringToFront(window));
  ASSERT_TRUE(FocusIs(window, IDC_FORMULA));
  ASSERT_TRUE(TypedInto(window, IDC_FORMULA, "a*x+b"));
  PressKeys({VK_RETURN});
  ASSERT_TRUE(FocusIs(window, IDC_PARAM_EDIT1))
      << "focus " << GetDlgCtrlID(FocusIn(window)) << " fg " << (GetForegroundWindow() == window)
      << " p1 " << IsWindowVisible(GetDlgItem(window, IDC_PARAM_EDIT1)) << " f "
      << ItemText(window, IDC_FORMULA) << " r " << ItemText(window, IDC_RESULT1);

  // The table opens in its first constant, whose "0" the typing replaces.
  PressKeys({VK_CONTROL, 'T'});
  HWND table = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (table = program.WindowStartingWith("tabla  ")) != nullptr; }));
  ASSERT_TRUE(BringToFront(table));
  ASSERT_TRUE(FocusIs(table, IDC_TABLE_CONST1));
  EXPECT_TRUE(TypedInto(table, IDC_TABLE_CONST1, "5"));
  // Both open at the screen's middle: the table goes aside for the click.
  ASSERT_TRUE(PutAtScreenCorner(table));

  ASSERT_TRUE(XClickItem(window, IDC_PARAM_EDIT1));
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window; }));
  ASSERT_TRUE(FocusIs(window, IDC_PARAM_EDIT1));
  // A click selects the value, also a second one into the field that has
  // the focus already: typing replaces it.
  ASSERT_TRUE(XClickItem(window, IDC_PARAM_EDIT1));
  EXPECT_TRUE(TypedInto(window, IDC_PARAM_EDIT1, "2"));
  PressKeys({VK_RETURN});
  ASSERT_TRUE(FocusIs(window, IDC_PARAM_EDIT2));
  EXPECT_TRUE(TypedInto(window, IDC_PARAM_EDIT2, "3"));
  PressKeys({VK_TAB});
  ASSERT_TRUE(FocusIs(window, IDC_PARAM_EDIT3));
  EXPECT_TRUE(TypedInto(window, IDC_PARAM_EDIT3, "4"));
  PressKeys({VK_RETURN});
  EXPECT_TRUE(WaitFor([&] { return ItemText(window, IDC_RESULT1) == "10"; }))
      << "2*3+4, result field: " << ItemText(window, IDC_RESULT1);

  // Ctrl+T with the table open brings it to the front, where Tab is its own.
  PressKeys({VK_CONTROL, 'T'});
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == table; }));
  ASSERT_TRUE(FocusIs(table, IDC_TABLE_CONST1));
  PressKeys({VK_TAB});
  ASSERT_TRUE(FocusIs(table, IDC_TABLE_CONST2));
  EXPECT_TRUE(TypedInto(table, IDC_TABLE_CONST2, "6"));

  // Alt+F opens "Fórmulas"; N is its "Nueva".
  ASSERT_TRUE(BringToFront(window));
  PressKeys({VK_MENU, 'F'});
  PressKeys({'N'});
  EXPECT_TRUE(WaitFor([&] { return ItemText(window, IDC_FORMULA).empty(); }))
      << ItemText(window, IDC_FORMULA);

  // Esc in the main window is "Salir" as ever: it ends the table and the program.
  PressKeys({VK_ESCAPE});
  EXPECT_TRUE(program.Ended(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
}

// The keyboard focus on a control of the program, as a click in it puts it.
bool FocusOn(HWND dialog, int id) {
  const DWORD theirs = GetWindowThreadProcessId(dialog, nullptr);
  AttachThreadInput(GetCurrentThreadId(), theirs, TRUE);
  SetFocus(GetDlgItem(dialog, id));
  AttachThreadInput(GetCurrentThreadId(), theirs, FALSE);
  return FocusIs(dialog, id);
}

void PutOnClipboard(const std::string& text) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

// Typed with the keys, an empty field keeps what is computed or stored of
// it. A Backspace and a "." after the text make a text that shows only once
// every key before them was handled.
testing::AssertionResult TypedAndKept(HWND dialog, int id, const std::string& typed,
                                      std::size_t kept) {
  SetItemText(dialog, id, "");
  if (!FocusOn(dialog, id)) return testing::AssertionFailure() << "no focus in " << id;
  if (!TypeKeys(typed)) return testing::AssertionFailure() << "cannot type " << typed;
  PressKeys({VK_BACK});
  TypeKeys(".");
  const std::string want = typed.substr(0, kept - 1) + ".";
  if (WaitFor([&] { return ItemText(dialog, id) == want; }, 10000)) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "field " << id << " holds " << ItemText(dialog, id);
}

// Each field takes at most what is computed or stored of it, whatever is
// typed or pasted; the library's name field scrolls, so its three letters
// can be typed and edited in the dialog's face.
TEST(ProgramKeys, FieldsTakeWhatIsComputedOrStored) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;
  ASSERT_TRUE(BringToFront(window));
  std::string digits;
  while (digits.size() < 260) digits += "1234567890";
  digits.resize(260);

  // A paste is cut where it shows: the formula field holds what Ok computes.
  PutOnClipboard("1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+17+18+19+20");
  SetItemText(window, IDC_FORMULA, "");
  ASSERT_TRUE(FocusOn(window, IDC_FORMULA));
  PressKeys({VK_CONTROL, 'V'});
  EXPECT_TRUE(WaitFor([&] {
    return ItemText(window, IDC_FORMULA) == "1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+1";
  })) << ItemText(window, IDC_FORMULA);
  PressEnterIn(window, IDC_FORMULA);
  EXPECT_TRUE(WaitFor([&] { return ItemText(window, IDC_RESULT1) == "137"; }))
      << ItemText(window, IDC_RESULT1);

  struct Field {
    int id;
    std::size_t kept;
  };
  EXPECT_TRUE(TypedAndKept(window, IDC_FORMULA, digits.substr(0, 45), 40));
  SetItemText(window, IDC_FORMULA, "a*x");
  PressEnterIn(window, IDC_FORMULA);
  ASSERT_TRUE(FocusIs(window, IDC_PARAM_EDIT1));
  EXPECT_TRUE(TypedAndKept(window, IDC_PARAM_EDIT1, digits, 254));

  PressKeys({VK_CONTROL, 'T'});
  HWND table = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (table = program.WindowStartingWith("tabla  ")) != nullptr; }));
  ASSERT_TRUE(BringToFront(table));
  for (int id : {IDC_TABLE_CONST1, IDC_TABLE_STEP}) {
    EXPECT_TRUE(TypedAndKept(table, id, digits, 254));
  }
  PressKeys({VK_ESCAPE});
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(table); }));

  Choose(window, IDM_OPEN);
  HWND library = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (library = program.Window("Fórmulas")) != nullptr; }));
  ASSERT_TRUE(BringToFront(library));
  const Field fields[] = {
      {IDC_LIB_TOPIC_NAME, 40}, {IDC_LIB_TOPIC_FILE, 8}, {IDC_LIB_FORMULA_NAME, 3},
      {IDC_LIB_EXPRESSION, 40}, {IDC_LIB_COMMENT, 32},
  };
  for (const Field& f : fields)
    EXPECT_TRUE(TypedAndKept(library, f.id, digits.substr(0, 45), f.kept));

  // "kWh" typed whole, then its middle letter deleted and typed again.
  SetItemText(library, IDC_LIB_FORMULA_NAME, "");
  ASSERT_TRUE(FocusOn(library, IDC_LIB_FORMULA_NAME));
  TypeKeys("kWh");
  EXPECT_TRUE(WaitFor([&] { return ItemText(library, IDC_LIB_FORMULA_NAME) == "kWh"; }))
      << ItemText(library, IDC_LIB_FORMULA_NAME);
  PressKeys({VK_HOME});
  PressKeys({VK_RIGHT});
  PressKeys({VK_DELETE});
  EXPECT_TRUE(WaitFor([&] { return ItemText(library, IDC_LIB_FORMULA_NAME) == "kh"; }));
  TypeKeys("W");
  EXPECT_TRUE(WaitFor([&] { return ItemText(library, IDC_LIB_FORMULA_NAME) == "kWh"; }))
      << ItemText(library, IDC_LIB_FORMULA_NAME);
  PressKeys({VK_ESCAPE});
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(library); }));
  EXPECT_TRUE(program.QuitsBySalir(window));
}

TEST(ProgramKeys, EscAndEnterCloseTheAboutWindow) {
  RunningProgram program;
  HWND window = program.MainWindow();
  ASSERT_NE(window, nullptr) << ProgramPath;
  for (WORD key : {VK_ESCAPE, VK_RETURN}) {
    SCOPED_TRACE(key == VK_ESCAPE ? "Esc" : "Enter");
    Choose(window, IDM_ABOUT);
    HWND about = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (about = program.Window("Respecto quillet...")) != nullptr; }));
    ASSERT_TRUE(BringToFront(about));
    PressKeys({key});
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));
  }
  EXPECT_TRUE(program.QuitsBySalir(window));
}

}  // namespace
