// The formula library in the real program with the sample library: a
// formula picked with two double-clicks lands in the main window, and the
// main window's formula is stored under a new topic, byte for byte on disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "resources/ids.h"
#include "tests/e2e/e2e_support.h"

namespace {

constexpr COLORREF kMainBack = RGB(200, 0, 100);
const char kLibraryCaption[] = "Fórmulas";

// A text field of a record image: its length byte, its characters, zeros up to its size.
std::string Field(const std::string& text, std::size_t size) {
  std::string field(1, static_cast<char>(text.size()));
  return field + text + std::string(size - text.size(), '\0');
}

class LibraryProgram : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(main_ = program_.MainWindow(), nullptr) << ProgramPath; }
  HWND Library() { return program_.Window(kLibraryCaption); }

  RunningProgram program_;
  HWND main_ = nullptr;
};

TEST_F(LibraryProgram, AbrirPicksASampleFormulaAndGuardarStoresOneUnderANewTopic) {
  PostMessageA(main_, WM_COMMAND, MAKEWPARAM(IDM_OPEN, 0), 0);
  HWND library = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (library = Library()) != nullptr; }));
  const int sampleTopics = ListCount(library, IDC_LIB_TOPICS);
  ASSERT_GE(sampleTopics, 6);
  EXPECT_EQ(ListCount(library, IDC_LIB_FORMULAS), 0);

  DoubleClick(library, IDC_LIB_TOPICS, 0);
  ASSERT_TRUE(WaitFor([&] { return ListCount(library, IDC_LIB_FORMULAS) > 0; }));
  EXPECT_EQ(ItemText(library, IDC_LIB_HEADING), "fórmulas Geometría");
  EXPECT_TRUE(
      WaitFor([&] { return FocusIn(library) == GetDlgItem(library, IDC_LIB_FORMULA_NAME); }));
  DoubleClick(library, IDC_LIB_FORMULAS, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(library); }));

  ASSERT_TRUE(WaitFor([&] { return ItemText(main_, IDC_FORMULA) == "3.14159265*r^2"; }))
      << ItemText(main_, IDC_FORMULA);
  EXPECT_EQ(ItemText(main_, IDC_NAME_LABEL), "A=");
  EXPECT_EQ(ItemText(main_, IDC_COMMENT), "área del círculo");
  EXPECT_TRUE(
      WaitFor([&] { return IsWindowVisible(GetDlgItem(main_, IDC_PARAM_EDIT1)) != FALSE; }));

  // Guardar: the dialog tells what to do before it shows.
  PostMessageA(main_, WM_COMMAND, MAKEWPARAM(IDM_SAVE, 0), 0);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = program_.Window("guardar fórmula")) != nullptr; }));
  EXPECT_EQ(ItemText(box, 0xFFFF), "hay que seleccionar (doble click) un tema");
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return (library = Library()) != nullptr; }));
  EXPECT_EQ(ItemText(library, IDC_LIB_EXPRESSION), "3.14159265*r^2");

  // A new topic: Enter in its name proposes the file name, Enter there stores it.
  SetItemText(library, IDC_LIB_TOPIC_NAME, "Óptica");
  PressEnterIn(library, IDC_LIB_TOPIC_NAME);
  ASSERT_TRUE(WaitFor([&] { return ItemText(library, IDC_LIB_TOPIC_FILE) == "optica"; }));
  PressEnterIn(library, IDC_LIB_TOPIC_FILE);
  ASSERT_TRUE(WaitFor([&] { return ListCount(library, IDC_LIB_TOPICS) == sampleTopics + 1; }));

  DoubleClick(library, IDC_LIB_TOPICS, sampleTopics);
  ASSERT_TRUE(WaitFor([&] { return ItemText(library, IDC_LIB_HEADING) == "fórmulas Óptica"; }));
  EXPECT_EQ(ItemText(library, IDC_LIB_EXPRESSION), "3.14159265*r^2");
  SetItemText(library, IDC_LIB_FORMULA_NAME, "Ac");
  SetItemText(library, IDC_LIB_COMMENT, "área del círculo guardada");
  PressEnterIn(library, IDC_LIB_COMMENT);
  ASSERT_TRUE(WaitFor([&] { return ListCount(library, IDC_LIB_FORMULAS) == 1; }));
  PostMessageA(library, WM_COMMAND, MAKEWPARAM(IDC_LIB_ACCEPT, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(library); }));

  const std::string topics = ReadFile(program_.Folder() + "\\temas.rel");
  ASSERT_EQ(topics.size(), (sampleTopics + 1) * 52u);
  EXPECT_EQ(topics.substr(sampleTopics * 52),
            Field("Óptica", 40) + '\0' + Field("optica", 8) + '\0');
  EXPECT_EQ(ReadFile(program_.Folder() + "\\Frmls\\optica.frm"),
            Field("Ac", 3) + Field("3.14159265*r^2", 40) + '\0' +
                Field("área del círculo guardada", 32) + '\0');

  EXPECT_TRUE(program_.QuitsBySalir(main_));
}

// The open topic given another file: the formulas shown, and one added after
// choosing the topic again, go to the new file; the old file stays as it was.
TEST_F(LibraryProgram, ATopicGivenAnotherFileTakesItsFormulasThere) {
  const std::string frmls = program_.Folder() + "\\Frmls\\";
  const std::string old = ReadFile(frmls + "GEOMETRI.frm");
  const int formulas = static_cast<int>(old.size() / 80);
  ASSERT_GT(formulas, 0);
  PostMessageA(main_, WM_COMMAND, MAKEWPARAM(IDM_OPEN, 0), 0);
  HWND library = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (library = Library()) != nullptr; }));
  DoubleClick(library, IDC_LIB_TOPICS, 0);
  ASSERT_TRUE(WaitFor([&] { return ListCount(library, IDC_LIB_FORMULAS) == formulas; }));
  ASSERT_EQ(ItemText(library, IDC_LIB_TOPIC_FILE), "GEOMETRI");
  SetItemText(library, IDC_LIB_TOPIC_FILE, "GEOM2");
  PressEnterIn(library, IDC_LIB_TOPIC_FILE);
  ASSERT_TRUE(WaitFor([&] { return ItemText(library, IDC_LIB_TOPIC_FILE).empty(); }));

  DoubleClick(library, IDC_LIB_TOPICS, 0);
  ASSERT_TRUE(
      WaitFor([&] { return FocusIn(library) == GetDlgItem(library, IDC_LIB_FORMULA_NAME); }));
  EXPECT_EQ(ListCount(library, IDC_LIB_FORMULAS), formulas);
  SetItemText(library, IDC_LIB_FORMULA_NAME, "Q");
  SetItemText(library, IDC_LIB_EXPRESSION, "m*a");
  PressEnterIn(library, IDC_LIB_COMMENT);
  ASSERT_TRUE(WaitFor([&] { return ListCount(library, IDC_LIB_FORMULAS) == formulas + 1; }));
  PostMessageA(library, WM_COMMAND, MAKEWPARAM(IDC_LIB_ACCEPT, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(library); }));

  EXPECT_EQ(ReadFile(frmls + "GEOMETRI.frm"), old);
  const std::string moved = ReadFile(frmls + "GEOM2.frm");
  ASSERT_EQ(moved.size(), old.size() + 80);
  EXPECT_EQ(moved.substr(0, old.size()), old);
  EXPECT_EQ(moved.substr(old.size(), 9), Field("Q", 3) + Field("m*a", 40).substr(0, 5));
  EXPECT_EQ(ReadFile(program_.Folder() + "\\temas.rel").substr(42, 9), Field("GEOM2", 8));
  EXPECT_TRUE(program_.QuitsBySalir(main_));
}

// "Salir" asks the library's own question first: Cancel keeps the program
// and the library, No ends both without saving.
TEST_F(LibraryProgram, SalirAsksForTheLibrarysUnsavedChangesFirst) {
  const std::string topics = ReadFile(program_.Folder() + "\\temas.rel");
  PostMessageA(main_, WM_COMMAND, MAKEWPARAM(IDM_OPEN, 0), 0);
  HWND library = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (library = Library()) != nullptr; }));
  SetItemText(library, IDC_LIB_TOPIC_NAME, "sin guardar");
  PressEnterIn(library, IDC_LIB_TOPIC_NAME);
  PressEnterIn(library, IDC_LIB_TOPIC_FILE);
  const int topicCount = static_cast<int>(topics.size() / 52);
  ASSERT_TRUE(WaitFor([&] { return ListCount(library, IDC_LIB_TOPICS) == topicCount + 1; }));

  for (int answer : {IDCANCEL, IDNO}) {
    Choose(main_, IDM_EXIT);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = program_.Window("ha habido cambios")) != nullptr; }));
    EXPECT_EQ(ItemText(box, 0xFFFF), "¿guardar los cambios?");
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    if (answer == IDCANCEL) {
      EXPECT_FALSE(program_.Ended(500));
      EXPECT_TRUE(IsWindow(library));
    }
  }
  ASSERT_TRUE(program_.Ended(10000));
  EXPECT_EQ(program_.ExitCode(), 0u);
  EXPECT_EQ(ReadFile(program_.Folder() + "\\temas.rel"), topics);
}

// Two copies of the program on one library, each adding a topic: the second
// "Acepta" does not save over the first one's topic without asking; No keeps
// the library open with its edits, Yes replaces the file.
TEST_F(LibraryProgram, TwoCopiesOnOneLibraryNeverSaveOverEachOtherSilently) {
  RunningProgram second(ProgramPath, program_.Folder());
  HWND secondMain = second.MainWindow();
  ASSERT_NE(secondMain, nullptr);
  const std::string path = program_.Folder() + "\\temas.rel";
  const std::size_t topics = ReadFile(path).size() / 52;

  auto openAndAdd = [](HWND main, const RunningProgram& program, const char* topic) -> HWND {
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_OPEN, 0), 0);
    HWND library = nullptr;
    if (!WaitFor([&] { return (library = program.Window(kLibraryCaption)) != nullptr; })) {
      return nullptr;
    }
    const int before = ListCount(library, IDC_LIB_TOPICS);
    SetDlgItemTextA(library, IDC_LIB_TOPIC_NAME, topic);
    SetDlgItemTextA(library, IDC_LIB_TOPIC_FILE, topic);
    PostMessageA(library, WM_COMMAND, MAKEWPARAM(IDC_LIB_TOPIC_OK, BN_CLICKED), 0);
    WaitFor([&] { return ListCount(library, IDC_LIB_TOPICS) == before + 1; });
    return library;
  };
  HWND first = openAndAdd(main_, program_, "Uno");
  HWND other = openAndAdd(secondMain, second, "Dos");
  ASSERT_TRUE(first && other);
  PostMessageA(first, WM_COMMAND, MAKEWPARAM(IDC_LIB_ACCEPT, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(first); }));
  const std::string withUno = ReadFile(path);
  ASSERT_EQ(withUno.size(), (topics + 1) * 52);

  for (int answer : {IDNO, IDYES}) {
    PostMessageA(other, WM_COMMAND, MAKEWPARAM(IDC_LIB_ACCEPT, BN_CLICKED), 0);
    HWND box = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (box = second.Window("el fichero ha cambiado")) != nullptr; }));
    EXPECT_EQ(ItemText(box, 0xFFFF).find("temas.rel ha cambiado en el disco"), 0u);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    if (answer == IDNO) {
      EXPECT_FALSE(WaitFor([&] { return !IsWindow(other); }, 500));
      EXPECT_EQ(ReadFile(path), withUno);
      EXPECT_EQ(ListCount(other, IDC_LIB_TOPICS), static_cast<int>(topics) + 1);
    }
  }
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(other); }));
  const std::string saved = ReadFile(path);
  ASSERT_EQ(saved.size(), (topics + 1) * 52);
  EXPECT_EQ(saved.substr(topics * 52, 4), Field("Dos", 40).substr(0, 4));

  EXPECT_TRUE(second.QuitsBySalir(secondMain));
  EXPECT_TRUE(program_.QuitsBySalir(main_));
}

// The library opened with a wrong value in a parameter field, as a person
// does it with the mouse and the keyboard. Under a window manager the box of
// that value, shown while the focus moved, once froze the whole program at
// the next click: the second box never painted nor took a key.
TEST_F(LibraryProgram, AWrongValueLeftForTheLibraryNeverStopsTheProgram) {
  SetItemText(main_, IDC_FORMULA, "a+b");
  PressEnterIn(main_, IDC_FORMULA);
  ASSERT_TRUE(
      WaitFor([&] { return IsWindowVisible(GetDlgItem(main_, IDC_PARAM_EDIT1)) != FALSE; }));
  ASSERT_TRUE(XClickItem(main_, IDC_PARAM_EDIT1));
  ASSERT_TRUE(WaitFor([&] { return FocusIn(main_) == GetDlgItem(main_, IDC_PARAM_EDIT1); }));
  ASSERT_TRUE(XType("abc"));
  ASSERT_TRUE(WaitFor([&] {
    return ItemText(main_, IDC_PARAM_EDIT1).find("abc") != std::string::npos;
  })) << ItemText(main_, IDC_PARAM_EDIT1);

  // "Abrir" from the menu bar: a click on "Fórmulas", then its second item.
  POINT client{0, 0};
  ClientToScreen(main_, &client);
  ASSERT_TRUE(XClickAt({client.x + 20, client.y - GetSystemMetrics(SM_CYMENU) / 2}));
  ASSERT_TRUE(XInput("key --delay 100 Down Down Return"));
  HWND library = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (library = Library()) != nullptr; }));

  // Every box for the value is answered as a person would, with a click.
  std::set<HWND> boxes;
  auto answerBoxes = [&] {
    if (HWND box = program_.Window("error: parámetro a")) {
      if (boxes.insert(box).second) XClickItem(box, IDOK);
    }
    return false;
  };
  WaitFor(answerBoxes, 1500);
  RECT topics{};
  GetWindowRect(GetDlgItem(library, IDC_LIB_TOPICS), &topics);
  ASSERT_TRUE(XClickAt({topics.left + 30, topics.top + 8}));
  const bool loaded =
      WaitFor([&] { return answerBoxes() || ListCount(library, IDC_LIB_FORMULAS) > 0; }, 8000);
  EXPECT_TRUE(loaded) << "the click on the first topic loaded no formulas";
  EXPECT_LE(boxes.size(), 1u) << "boxes for one wrong value";
  ASSERT_TRUE(loaded);

  // The library closed by its button: the main window under it paints again.
  ASSERT_TRUE(XClickItem(library, IDC_LIB_CANCEL));
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(library); }));
  POINT inside{3, 3};
  ClientToScreen(main_, &inside);
  EXPECT_TRUE(WaitFor([&] { return ScreenPixel(inside) == kMainBack; }, 5000))
      << std::hex << ScreenPixel(inside);
  EXPECT_NE(ItemText(main_, IDC_PARAM_EDIT1).find("abc"), std::string::npos);  // left to be mended
  EXPECT_TRUE(boxes.size() <= 1 && !program_.Window("error: parámetro a"));

  EXPECT_TRUE(program_.QuitsBySalir(main_));
}

}  // namespace
