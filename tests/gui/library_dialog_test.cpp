// The library dialog from its real template, in both modes, with its
// questions answered by the recorder and the files on disk checked.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/library_dialog_win.h"
#include "library/library_text.h"
#include "resources/ids.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/dialog_template.h"
#include "tests/gui/msgbox_recorder.h"
#include "tests/unit/library_folder.h"

namespace {

const char kTopicHelp[] =
    "click: edición nombre o fichero\r\n\r\ndoble click: mostrar las fórmulas";
const char kFormulaHelp[] =
    "click: edición fórmula y comentario\r\n\r\ndoble click: incorporar fórmula seleccionada al "
    "cálculo";

class LibraryDialog : public LibraryFolderTest {
 protected:
  void SetUp() override {
    LibraryFolderTest::SetUp();
    ResetFormulaCycle();
    WriteSampleLibrary();
  }
  void WriteSampleLibrary() {
    Library library;
    library.topics.push_back({{"Geometría", "GEOM"},
                              {{"A", "b*h", "rectángulo"}, {"f", "a+b", "suma"}, {"", "x^2", ""}}});
    library.topics.push_back({{"Física", "FISICA"}, {{"F", "m*a", "Newton"}}});
    library.topics.push_back({{"Vacío", "VACIO"}, {}});
    ASSERT_TRUE(WriteLibraryFiles(library));
    TopicCount = 0;
    TopicFormulaCount = 0;
  }

  void TearDown() override {
    window_.reset();
    LibraryFolderTest::TearDown();
  }

  void Open(int mode) {
    LibraryMode = mode;
    window_ = std::make_unique<DialogDriver>("LLISTAFORMULES", &LibraryDialogProc);
    ASSERT_NE(window_->Dialog(), nullptr);
  }
  DialogDriver& W() { return *window_; }

  void Choose(int list, int position, bool doubleClick) {
    SendMessageA(W().Item(list), LB_SETCURSEL, position - 1, 0);
    SendMessageA(W().Dialog(), WM_COMMAND,
                 MAKEWPARAM(list, doubleClick ? LBN_DBLCLK : LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(W().Item(list)));
    W().Pump();
  }
  void ClickTopic(int position) { Choose(IDC_LIB_TOPICS, position, false); }
  void DoubleClickTopic(int position) { Choose(IDC_LIB_TOPICS, position, true); }
  void ClickFormula(int position) { Choose(IDC_LIB_FORMULAS, position, false); }
  void DoubleClickFormula(int position) { Choose(IDC_LIB_FORMULAS, position, true); }
  void EnterIn(int id) {
    W().Focus(id);
    W().PressEnter();
  }

  std::vector<std::string> Lines(int list) {
    std::vector<std::string> lines;
    const int n = static_cast<int>(SendMessageA(W().Item(list), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) lines.push_back(ListLineText(W().Item(list), i));
    return lines;
  }
  int Selected(int list) {
    return static_cast<int>(SendMessageA(W().Item(list), LB_GETCURSEL, 0, 0)) + 1;
  }
  bool Ended() { return !IsWindowVisible(W().Dialog()); }
  std::string Geom() { return ReadFile(FormulaPath("GEOM").c_str()); }

  MessageBoxRecorder boxes_;  // before the dialog, so it sees every box
  std::unique_ptr<DialogDriver> window_;
};

using Strings = std::vector<std::string>;

// --- The template -------------------------------------------------------------

TEST_F(LibraryDialog, TemplateHasItsControlsInTabOrderWithTheirLayout) {
  Open(kPickMode);
  EXPECT_EQ(WindowText(W().Dialog()), "Fórmulas");
  const DWORD list = LBS_NOTIFY | WS_TABSTOP, edit = ES_AUTOHSCROLL | WS_TABSTOP,
              button = BS_PUSHBUTTON | WS_TABSTOP;
  const TemplateControl controls[] = {
      {90, "ListBox", "", 7, 12, 84, 73, list, true},
      {95, "Edit", "", 7, 95, 83, 10, edit, true},
      {96, "Edit", "", 33, 110, 40, 10, ES_RIGHT | edit, true},
      {100, "ListBox", "", 107, 14, 100, 73, list, true},
      {120, "Edit", "", 132, 98, 77, 10, edit, true},
      {121, "Edit", "", 108, 117, 101, 10, edit, true},
      {65535, "Static", "fórmula", 113, 89, 27, 8, SS_LEFT},
      {65535, "Static", "comentario", 113, 109, 36, 8, SS_LEFT},
      {8, "Button", "Supr", 123, 129, 20, 10, button},
      {65535, "Static", "Temas", 13, 2, 27, 8, SS_LEFT},
      {65535, "Static", "Tema", 9, 86, 27, 8, SS_LEFT},
      {65535, "Static", "fichero", 9, 111, 23, 8, SS_LEFT},
      {65535, "Static", ".frm", 75, 111, 16, 8, SS_LEFT},
      {10, "Button", "Acepta", 152, 148, 33, 14, button},
      {2, "Button", "Cancela", 34, 148, 33, 14, button},
      {6, "Button", "Ok", 178, 129, 16, 10, button},
      {7, "Button", "Nueva", 151, 129, 23, 10, button},
      {5, "Button", "Supr", 12, 123, 20, 10, button},
      {3, "Button", "Ok", 66, 123, 16, 10, button},
      {4, "Button", "Nuevo", 38, 123, 23, 10, button},
      {0, "Static", "Fórmulas", 108, 4, 92, 8, SS_LEFT | SS_ENDELLIPSIS},
      {199, "Button", "?", 202, 1, 10, 9, button},
      {119, "Edit", "", 111, 98, 11, 10, edit, true},
      {65535, "Static", "=", 125, 100, 4, 8, SS_LEFT},
  };
  ExpectTemplateControls(W(), controls);
  // Tab moves through the lists, edit fields and buttons in template order;
  // the dialog opens with the caret in the topic name all the same.
  EXPECT_TRUE(W().Focused(IDC_LIB_TOPIC_NAME));
  const int tabOrder[] = {90, 95, 96, 100, 120, 121, 8, 10, 2, 6, 7, 5, 3, 4, 199, 119, 90};
  for (std::size_t k = 0; k + 1 < std::size(tabOrder); ++k) {
    EXPECT_EQ(GetNextDlgTabItem(W().Dialog(), W().Item(tabOrder[k]), FALSE),
              W().Item(tabOrder[k + 1]))
        << tabOrder[k];
  }
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// --- Opening and choosing -------------------------------------------------------

TEST_F(LibraryDialog, PickModeListsTopicsAndLoadsAClickedTopicsFormulas) {
  Open(kPickMode);
  EXPECT_EQ(Lines(IDC_LIB_TOPICS), (Strings{"Geometría", "Física", "Vacío"}));
  EXPECT_TRUE(Lines(IDC_LIB_FORMULAS).empty());
  EXPECT_EQ(W().Text(IDC_LIB_HEADING), "Fórmulas");

  W().Type(IDC_LIB_EXPRESSION, "resto");
  ClickTopic(1);
  EXPECT_EQ(W().Text(IDC_LIB_TOPIC_NAME), "Geometría");
  EXPECT_EQ(W().Text(IDC_LIB_TOPIC_FILE), "GEOM");
  EXPECT_EQ(Lines(IDC_LIB_FORMULAS), (Strings{"A = b*h", "f = a+b", "x^2"}));
  EXPECT_EQ(W().Text(IDC_LIB_HEADING), "fórmulas Geometría");
  EXPECT_EQ(W().Text(IDC_LIB_EXPRESSION), "");  // pick mode empties the formula fields

  ClickFormula(2);
  EXPECT_EQ(W().Text(IDC_LIB_FORMULA_NAME), "f");
  EXPECT_EQ(W().Text(IDC_LIB_EXPRESSION), "a+b");
  EXPECT_EQ(W().Text(IDC_LIB_COMMENT), "suma");

  DoubleClickTopic(2);
  EXPECT_TRUE(W().Focused(IDC_LIB_FORMULA_NAME));
  EXPECT_EQ(Lines(IDC_LIB_FORMULAS), (Strings{"F = m*a"}));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(LibraryDialog, DoubleClickingAFormulaHandsItToTheMainWindow) {
  Open(kPickMode);
  DoubleClickTopic(1);
  DoubleClickFormula(2);
  EXPECT_TRUE(Ended());
  EXPECT_EQ(CurrentFormula.Name, "f");
  EXPECT_EQ(CurrentFormula.Expression, "a+b");
  EXPECT_EQ(CurrentFormula.Comment, "suma");
}

// Enter on a list's selected line does what a double-click on it does; on a
// list with nothing selected it does nothing.
TEST_F(LibraryDialog, EnterOnAListLineDoesWhatItsDoubleClickDoes) {
  Open(kPickMode);
  W().Focus(IDC_LIB_TOPICS);
  W().PressEnter();
  EXPECT_TRUE(W().Focused(IDC_LIB_TOPICS));
  EXPECT_TRUE(Lines(IDC_LIB_FORMULAS).empty());

  SendMessageA(W().Item(IDC_LIB_TOPICS), LB_SETCURSEL, 1, 0);  // no notification
  W().PressEnter();
  EXPECT_TRUE(W().Focused(IDC_LIB_FORMULA_NAME));
  EXPECT_EQ(W().Text(IDC_LIB_TOPIC_NAME), "Física");
  EXPECT_EQ(Lines(IDC_LIB_FORMULAS), (Strings{"F = m*a"}));

  W().Focus(IDC_LIB_FORMULAS);
  SendMessageA(W().Item(IDC_LIB_FORMULAS), LB_SETCURSEL, 0, 0);
  W().PressEnter();
  EXPECT_TRUE(Ended());
  EXPECT_EQ(CurrentFormula.Name, "F");
  EXPECT_EQ(CurrentFormula.Expression, "m*a");
  EXPECT_EQ(CurrentFormula.Comment, "Newton");
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(LibraryDialog, StoreModeKeepsTheExpressionAcrossTopicsAndStoresItWithEnter) {
  CurrentFormula = {"f", "2*x+1", ""};
  Open(kStoreMode);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Last().caption, "guardar fórmula");
  EXPECT_EQ(boxes_.Last().text, "hay que seleccionar (doble click) un tema");
  EXPECT_EQ(W().Text(IDC_LIB_EXPRESSION), "2*x+1");

  DoubleClickTopic(2);
  DoubleClickTopic(1);
  EXPECT_EQ(W().Text(IDC_LIB_EXPRESSION), "2*x+1");
  W().Type(IDC_LIB_FORMULA_NAME, "g");
  EnterIn(IDC_LIB_FORMULA_NAME);
  EXPECT_TRUE(W().Focused(IDC_LIB_EXPRESSION));
  W().PressEnter();
  EXPECT_TRUE(W().Focused(IDC_LIB_COMMENT));
  W().Type(IDC_LIB_COMMENT, "recta");
  W().PressEnter();
  EXPECT_EQ(Lines(IDC_LIB_FORMULAS), (Strings{"A = b*h", "f = a+b", "x^2", "g = 2*x+1"}));
  EXPECT_EQ(W().Text(IDC_LIB_EXPRESSION), "");
  EXPECT_TRUE(W().Focused(IDC_LIB_FORMULA_NAME));

  const std::string before = Geom();
  W().Click(IDC_LIB_ACCEPT);
  EXPECT_TRUE(Ended());
  EXPECT_EQ(Geom(), before + FormulaImage({"g", "2*x+1", "recta"}));
  EXPECT_EQ(boxes_.Boxes().size(), 1u);
}

// --- Storing --------------------------------------------------------------------

TEST_F(LibraryDialog, ProposesAFileNameFromTheTopicName) {
  Open(kPickMode);
  W().Type(IDC_LIB_TOPIC_NAME, "Física Nuclear");
  EnterIn(IDC_LIB_TOPIC_NAME);
  EXPECT_EQ(W().Text(IDC_LIB_TOPIC_FILE), "FisicaNu");
  EXPECT_TRUE(W().Focused(IDC_LIB_TOPIC_FILE));
  W().Type(IDC_LIB_TOPIC_FILE, "PROPIO");
  EnterIn(IDC_LIB_TOPIC_NAME);
  EXPECT_EQ(W().Text(IDC_LIB_TOPIC_FILE), "PROPIO");
  EXPECT_TRUE(W().Focused(IDC_LIB_TOPIC_FILE));
}

TEST_F(LibraryDialog, NewTopicsAreAppendedCutToTheirFieldsAndSavedOnAccept) {
  Open(kPickMode);
  W().Type(IDC_LIB_TOPIC_NAME, std::string(50, 'n'));
  W().Type(IDC_LIB_TOPIC_FILE, "LARGUISIMO");
  W().Click(IDC_LIB_TOPIC_OK);
  EXPECT_EQ(W().Text(IDC_LIB_TOPIC_NAME), "");
  EXPECT_EQ(W().Text(IDC_LIB_TOPIC_FILE), "");
  EXPECT_TRUE(W().Focused(IDC_LIB_TOPIC_NAME));
  W().Type(IDC_LIB_TOPIC_NAME, "Otro");
  W().Click(IDC_LIB_TOPIC_OK);
  EXPECT_EQ(Lines(IDC_LIB_TOPICS),
            (Strings{"Geometría", "Física", "Vacío", std::string(40, 'n'), "Otro"}));

  W().Click(IDC_LIB_ACCEPT);
  LoadTopics();
  ASSERT_EQ(TopicCount, 5);
  EXPECT_EQ(TopicList[4].TopicFile, "LARGUISI");
}

TEST_F(LibraryDialog, ClickingATopicThenOkOverwritesIt) {
  Open(kPickMode);
  ClickTopic(2);
  W().Type(IDC_LIB_TOPIC_NAME, "Física clásica");
  EnterIn(IDC_LIB_TOPIC_FILE);
  EXPECT_EQ(Lines(IDC_LIB_TOPICS), (Strings{"Geometría", "Física clásica", "Vacío"}));
}

// After "Nuevo" or "Nueva" the name typed next goes into the new record's
// first field, and Enter goes on from there instead of pressing the button.
TEST_F(LibraryDialog, NewPutsTheCaretInTheNewRecordsFirstField) {
  Open(kPickMode);
  ClickTopic(2);
  ClickFormula(1);
  W().Click(IDC_LIB_TOPIC_NEW);
  EXPECT_TRUE(W().Focused(IDC_LIB_TOPIC_NAME));
  EXPECT_EQ(W().Text(IDC_LIB_TOPIC_NAME) + W().Text(IDC_LIB_TOPIC_FILE), "");
  W().Click(IDC_LIB_FORMULA_NEW);
  EXPECT_TRUE(W().Focused(IDC_LIB_FORMULA_NAME));
  EXPECT_TRUE(W().AllSelected(IDC_LIB_FORMULA_NAME));  // the kept name: typing replaces it
  W().PressEnter();
  EXPECT_TRUE(W().Focused(IDC_LIB_EXPRESSION));
}

TEST_F(LibraryDialog, StoringAFormulaWithoutATopicIsRefused) {
  Open(kPickMode);
  W().Type(IDC_LIB_EXPRESSION, "x+1");
  W().Click(IDC_LIB_FORMULA_OK);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Last().caption, "no hay tema");
  EXPECT_EQ(boxes_.Last().text, "hay que seleccionar antes un tema");
  EXPECT_EQ(W().Text(IDC_LIB_EXPRESSION), "x+1");
  EXPECT_TRUE(Lines(IDC_LIB_FORMULAS).empty());
}

// --- Changing topic with changed formulas --------------------------------------------

TEST_F(LibraryDialog, ChangedFormulasAreOfferedForSavingWhenAnotherTopicIsChosen) {
  const std::string original = Geom();
  Open(kPickMode);
  ClickTopic(1);
  ClickFormula(1);
  W().Type(IDC_LIB_COMMENT, "rectángulo b por h");
  W().Click(IDC_LIB_FORMULA_OK);

  boxes_.Script(IDCANCEL);
  ClickTopic(2);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Last().caption, "las fórmulas han cambiado");
  EXPECT_EQ(boxes_.Last().text, "guardar las fórmulas de Geometría?");
  EXPECT_EQ(boxes_.Last().Style(), MB_YESNOCANCEL);
  EXPECT_EQ(Selected(IDC_LIB_TOPICS), 1);
  EXPECT_EQ(Lines(IDC_LIB_FORMULAS).size(), 3u);

  boxes_.Script(IDNO);
  ClickTopic(2);
  EXPECT_EQ(Lines(IDC_LIB_FORMULAS), (Strings{"F = m*a"}));
  EXPECT_EQ(Geom(), original);

  ClickTopic(1);  // nothing changed in Física: no question
  EXPECT_EQ(boxes_.Boxes().size(), 2u);
  W().Click(IDC_LIB_FORMULA_DELETE);  // nothing selected: nothing happens
  ClickFormula(3);
  boxes_.Script(IDYES);
  W().Click(IDC_LIB_FORMULA_DELETE);
  boxes_.Script(IDYES);
  ClickTopic(3);
  EXPECT_EQ(boxes_.Boxes().size(), 4u);
  EXPECT_EQ(Geom(), original.substr(0, 160));
}

// A topic's formulas live in the file it names now: a free name takes the
// formulas shown at the next save and the old file stays; a name whose file
// exists is used only when the user says so, after the question about
// unsaved formulas; a mended unsafe name is saved under.
TEST_F(LibraryDialog, ATopicsFormulasGoToTheFileItNamesNow) {
  const Strings geomAndQ = {"A = b*h", "f = a+b", "x^2", "Q = m*a"};
  const struct {
    const char* what;
    int topic;
    const char* file;
    bool addFirst;  // Q = m*a stored before the file name changes, else after
    std::vector<int> answers;
    std::vector<const char*> captions;
    Strings shown;          // the formula list after the change and Q
    const char* topicFile;  // what temas.rel names for the topic at the end
    Strings inGeom;         // Frmls\GEOM.frm at the end
  } cases[] = {
      {"a free name", 1, "GEOM2", false, {}, {}, geomAndQ, "GEOM2", {"A = b*h", "f = a+b", "x^2"}},
      {"a taken name, used",
       1,
       "FISICA",
       false,
       {IDYES},
       {"el fichero ya existe"},
       {"F = m*a", "Q = m*a"},
       "FISICA",
       {"A = b*h", "f = a+b", "x^2"}},
      {"a taken name, refused",
       1,
       "FISICA",
       false,
       {IDNO},
       {"el fichero ya existe"},
       geomAndQ,
       "GEOM",
       geomAndQ},
      {"a taken name with unsaved formulas",
       1,
       "FISICA",
       true,
       {IDYES, IDYES},
       {"el fichero ya existe", "las fórmulas han cambiado"},
       {"F = m*a"},
       "FISICA",
       geomAndQ},
      {"an unsafe name mended",
       4,
       "AUXI",
       false,
       {},
       {},
       {"Q = m*a"},
       "AUXI",
       {"A = b*h", "f = a+b", "x^2"}},
  };
  auto formulasIn = [](const char* file) {
    LoadFormulaFile(file);
    Strings lines;
    for (int k = 1; k <= TopicFormulaCount; ++k) lines.push_back(FormulaLine(k).str());
    return lines;
  };
  auto addQ = [&] {
    W().Type(IDC_LIB_FORMULA_NAME, "Q");
    W().Type(IDC_LIB_EXPRESSION, "m*a");
    W().Click(IDC_LIB_FORMULA_OK);
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(FormulaPath(c.file).c_str());
    WriteSampleLibrary();
    WriteFile("temas.rel", ReadFile("temas.rel") + TopicImage({"Aparato", "AUX"}));
    const std::string fisica = ReadFile(FormulaPath("FISICA").c_str());
    Open(kPickMode);
    boxes_.Clear();
    DoubleClickTopic(c.topic);
    if (c.addFirst) addQ();
    for (int answer : c.answers) boxes_.Script(answer);
    W().Type(IDC_LIB_TOPIC_FILE, c.file);
    W().Click(IDC_LIB_TOPIC_OK);
    ASSERT_EQ(boxes_.Boxes().size(), c.captions.size());
    for (std::size_t k = 0; k < c.captions.size(); ++k) {
      EXPECT_EQ(boxes_.Boxes()[k].caption, c.captions[k]);
    }
    if (!c.captions.empty()) {
      EXPECT_EQ(boxes_.Boxes()[0].text,
                std::string("Frmls\\") + c.file +
                    ".frm ya existe: ¿pasa el tema a usar ese fichero y sus fórmulas?\r\n\r\n"
                    "No: el tema se queda como estaba");
    }
    DoubleClickTopic(c.topic);  // chosen again: what the topic names now
    if (!c.addFirst) addQ();
    EXPECT_EQ(Lines(IDC_LIB_FORMULAS), c.shown);
    W().Click(IDC_LIB_ACCEPT);
    EXPECT_TRUE(Ended());
    window_.reset();

    LoadTopics();
    EXPECT_EQ(TopicList[c.topic].TopicFile, c.topicFile);
    EXPECT_EQ(formulasIn(c.topicFile), c.shown);
    EXPECT_EQ(formulasIn("GEOM"), c.inGeom);
    if (std::string(c.topicFile) != "FISICA") {
      EXPECT_EQ(ReadFile(FormulaPath("FISICA").c_str()), fisica);
    }
  }
}

// --- Deleting -------------------------------------------------------------------

TEST_F(LibraryDialog, DeletingAsksWithTheListLineAndWritesOnlyOnAccept) {
  const std::string original = Geom();
  Open(kPickMode);
  ClickTopic(1);
  ClickFormula(2);
  boxes_.Script(IDNO);
  W().Click(IDC_LIB_FORMULA_DELETE);
  EXPECT_EQ(boxes_.Last().caption, "confirmar eliminar");
  EXPECT_EQ(boxes_.Last().text, "eliminar f = a+b?");
  EXPECT_EQ(boxes_.Last().Style(), MB_YESNO);
  EXPECT_EQ(Lines(IDC_LIB_FORMULAS).size(), 3u);

  ClickFormula(2);
  boxes_.Script(IDYES);
  W().Click(IDC_LIB_FORMULA_DELETE);
  EXPECT_EQ(Lines(IDC_LIB_FORMULAS), (Strings{"A = b*h", "x^2"}));
  EXPECT_EQ(Geom(), original);

  W().Click(IDC_LIB_ACCEPT);
  EXPECT_EQ(Geom(), original.substr(0, 80) + original.substr(160));
}

TEST_F(LibraryDialog, AfterDeletingTheLoadedTopicTheQuestionNamesIt) {
  Open(kPickMode);
  ClickTopic(1);
  W().Type(IDC_LIB_EXPRESSION, "y");
  W().Click(IDC_LIB_FORMULA_OK);
  boxes_.Script(IDYES);
  W().Click(IDC_LIB_TOPIC_DELETE);
  EXPECT_EQ(Lines(IDC_LIB_TOPICS), (Strings{"Física", "Vacío"}));
  // Física now stands at the loaded topic's old position; the formulas are Geometría's.
  boxes_.Script(IDNO);
  ClickTopic(2);
  EXPECT_EQ(boxes_.Last().text, "guardar las fórmulas de Geometría?");

  // The last topic, loaded and deleted: its old position is past the list.
  W().Type(IDC_LIB_EXPRESSION, "z");
  W().Click(IDC_LIB_FORMULA_OK);
  boxes_.Script(IDYES);
  W().Click(IDC_LIB_TOPIC_DELETE);
  EXPECT_EQ(Lines(IDC_LIB_TOPICS), (Strings{"Física"}));
  boxes_.Script(IDNO);
  ClickTopic(1);
  ASSERT_EQ(boxes_.Boxes().size(), 4u);
  EXPECT_EQ(boxes_.Last().text, "guardar las fórmulas de Vacío?");
  EXPECT_EQ(Lines(IDC_LIB_FORMULAS), (Strings{"F = m*a"}));
}

TEST_F(LibraryDialog, TheQuestionNamesTheLoadedTopicAsItIsNow) {
  Open(kPickMode);
  ClickTopic(2);
  W().Type(IDC_LIB_EXPRESSION, "y");
  W().Click(IDC_LIB_FORMULA_OK);
  W().Type(IDC_LIB_TOPIC_NAME, "Mecánica");  // the loaded topic renamed
  W().Click(IDC_LIB_TOPIC_OK);
  boxes_.Script(IDCANCEL);
  ClickTopic(3);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Last().text, "guardar las fórmulas de Mecánica?");

  // A topic before it deleted: the loaded topic moves up under another number.
  SendMessageA(W().Item(IDC_LIB_TOPICS), LB_SETCURSEL, 0, 0);
  boxes_.Script(IDYES);
  W().Click(IDC_LIB_TOPIC_DELETE);
  ASSERT_EQ(Lines(IDC_LIB_TOPICS), (Strings{"Mecánica", "Vacío"}));
  ClickTopic(1);  // the loaded topic itself, under its new number: nothing to ask
  EXPECT_EQ(boxes_.Boxes().size(), 2u);
  EXPECT_EQ(Lines(IDC_LIB_FORMULAS), (Strings{"F = m*a", "y"}));
  boxes_.Script(IDCANCEL);
  ClickTopic(2);
  ASSERT_EQ(boxes_.Boxes().size(), 3u);
  EXPECT_EQ(boxes_.Last().text, "guardar las fórmulas de Mecánica?");
  EXPECT_EQ(Selected(IDC_LIB_TOPICS), 1);
}

// --- Closing --------------------------------------------------------------------

TEST_F(LibraryDialog, AcceptWithNothingChangedWritesNothingAndHandsBackNothing) {
  std::filesystem::remove(FormulaPath("GEOM").c_str());
  std::filesystem::remove("temas.rel");
  WriteFile("temas.rel", TopicImage({"Geometría", "GEOM"}));
  CurrentFormula = {"z", "sin", "tocar"};
  Open(kPickMode);
  ClickTopic(1);
  W().Click(IDC_LIB_ACCEPT);
  EXPECT_TRUE(Ended());
  EXPECT_EQ(CurrentFormula.Expression, "sin");
  EXPECT_FALSE(Exists(FormulaPath("GEOM").c_str()));
}

TEST_F(LibraryDialog, AcceptHandsBackTheClickedFormula) {
  Open(kPickMode);
  ClickTopic(2);
  ClickFormula(1);
  W().Click(IDC_LIB_ACCEPT);
  EXPECT_TRUE(Ended());
  EXPECT_EQ(CurrentFormula.Expression, "m*a");
}

TEST_F(LibraryDialog, CancelAfterChangesAsksAndSavesOnlyOnYes) {
  const std::string topics = ReadFile("temas.rel");
  Open(kPickMode);
  W().Type(IDC_LIB_TOPIC_NAME, "Nuevo");
  W().Click(IDC_LIB_TOPIC_OK);

  boxes_.Script(IDCANCEL);
  W().Click(IDC_LIB_CANCEL);
  EXPECT_EQ(boxes_.Last().caption, "ha habido cambios");
  EXPECT_EQ(boxes_.Last().text, "¿guardar los cambios?");
  EXPECT_FALSE(Ended());

  boxes_.Script(IDNO);
  W().Click(IDC_LIB_CANCEL);
  EXPECT_TRUE(Ended());
  EXPECT_EQ(ReadFile("temas.rel"), topics);

  window_.reset();
  Open(kPickMode);
  W().Type(IDC_LIB_TOPIC_NAME, "Nuevo");
  W().Click(IDC_LIB_TOPIC_OK);
  boxes_.Script(IDYES);
  SendMessageA(W().Dialog(), WM_CLOSE, 0, 0);  // the close box
  W().Pump();
  EXPECT_TRUE(Ended());
  EXPECT_EQ(ReadFile("temas.rel").size(), 4 * 52u);
}

TEST_F(LibraryDialog, HelpExplainsTheHalfLastUsed) {
  Open(kPickMode);
  W().Click(IDC_LIB_HELP);
  W().Focus(IDC_LIB_EXPRESSION);
  W().Click(IDC_LIB_HELP);
  W().Click(IDC_LIB_TOPIC_NEW);
  W().Click(IDC_LIB_HELP);
  ASSERT_EQ(boxes_.Boxes().size(), 3u);
  EXPECT_EQ(boxes_.Boxes()[0].caption, "tratamiento temas");
  EXPECT_EQ(boxes_.Boxes()[0].text, kTopicHelp);
  EXPECT_EQ(boxes_.Boxes()[1].caption, "fórmulas");
  EXPECT_EQ(boxes_.Boxes()[1].text, kFormulaHelp);
  EXPECT_EQ(boxes_.Boxes()[2].caption, "tratamiento temas");
}

// --- Full lists -------------------------------------------------------------------

TEST_F(LibraryDialog, AFullListRefusesANewRecordAndAcceptHandsBackNothing) {
  Library library;
  LibraryTopic full{{"Lleno", "LLENO"}, {}};
  for (int k = 1; k <= 255; ++k) full.formulas.push_back({"f", std::to_string(k), ""});
  library.topics.push_back(full);
  ASSERT_TRUE(WriteLibraryFiles(library));
  const std::string file = ReadFile(FormulaPath("LLENO").c_str());

  CurrentFormula = {"z", "sin", "tocar"};
  Open(kPickMode);
  ClickTopic(1);
  W().Type(IDC_LIB_EXPRESSION, "x");
  W().Click(IDC_LIB_FORMULA_OK);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Last().caption, "lista llena");
  EXPECT_EQ(Lines(IDC_LIB_FORMULAS).size(), 255u);
  EXPECT_EQ(W().Text(IDC_LIB_EXPRESSION), "x");  // kept for the user to place elsewhere

  W().Click(IDC_LIB_ACCEPT);
  EXPECT_TRUE(Ended());
  EXPECT_EQ(CurrentFormula.Expression, "sin");
  EXPECT_EQ(ReadFile(FormulaPath("LLENO").c_str()), file);
}

// --- Saves that fail ------------------------------------------------------------

HANDLE Hold(const char* path, DWORD sharing) {
  return CreateFileA(path, GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

enum class SaveBy { Accept, ChangingTopic, CancelYes };

// Each way of failing, through each of the three ways the dialog saves: one
// message naming the file and why, the dialog open with every edit, the old
// file as it was; once the obstacle is gone, "Acepta" saves the edits.
TEST_F(LibraryDialog, AFailedSaveSaysWhyAndKeepsTheDialogAndItsEdits) {
  struct Case {
    const char* what;
    bool topics;  // a new topic is stored; else a formula of `topic`
    int topic;    // 4: the odd one added to temas.rel
    TopicRecord odd;
    bool beforeOpen;  // the obstacle is there when the dialog opens
    SaveBy by;
    const char* file;
    const char* reason;
    const char* intact;  // the file that must stay as it was
    // Puts the obstacle in place; returns what takes it away (empty: nothing can).
    std::function<std::function<void()>()> obstruct;
  };
  auto holding = [](const char* path, DWORD sharing) {
    return [=]() -> std::function<void()> {
      HANDLE held = Hold(path, sharing);
      EXPECT_NE(held, INVALID_HANDLE_VALUE) << path;
      return [held] { CloseHandle(held); };
    };
  };
  auto folderFor = [](const char* path) {
    return [=]() -> std::function<void()> {
      std::filesystem::rename(path, "apartado");
      std::filesystem::create_directory(path);
      return [=] {
        std::filesystem::remove(path);
        std::filesystem::rename("apartado", path);
      };
    };
  };
  auto nothing = []() -> std::function<void()> { return {}; };
  auto readOnly = []() -> std::function<void()> {
    SetFileAttributesA("temas.rel", FILE_ATTRIBUTE_READONLY);
    return [] { SetFileAttributesA("temas.rel", FILE_ATTRIBUTE_NORMAL); };
  };
  auto folderForTheNewFile = []() -> std::function<void()> {
    std::filesystem::create_directory("Frmls\\GEOM.frm.new");
    return [] { std::filesystem::remove("Frmls\\GEOM.frm.new"); };
  };
  const TopicRecord none;
  const Case cases[] = {
      {"formula file held by another program", false, 1, none, false, SaveBy::Accept,
       "Frmls\\GEOM.frm", "en uso", "Frmls\\GEOM.frm", holding("Frmls\\GEOM.frm", 0)},
      {"topic list held by another program", true, 0, none, false, SaveBy::CancelYes, "temas.rel",
       "en uso", "temas.rel", holding("temas.rel", 0)},
      {"topic list read by another program", true, 0, none, true, SaveBy::Accept, "temas.rel",
       "en uso", "temas.rel", holding("temas.rel", FILE_SHARE_READ)},
      {"read-only topic list", true, 0, none, true, SaveBy::Accept, "temas.rel",
       "el archivo es de solo lectura", "temas.rel", readOnly},
      {"folder in the topic list's place", true, 0, none, false, SaveBy::Accept, "temas.rel",
       "en su lugar hay una carpeta", "temas.rel", folderFor("temas.rel")},
      {"folder in the new formula file's place", false, 1, none, false, SaveBy::ChangingTopic,
       "Frmls\\GEOM.frm",
       "Frmls\\GEOM.frm.new (el archivo provisional del guardado): en su lugar hay una carpeta",
       "Frmls\\GEOM.frm", folderForTheNewFile},
      {"file name that leaves Frmls", false, 4, TopicRecord{"Raro", "..\\zz"}, false,
       SaveBy::ChangingTopic, "Frmls\\..\\zz.frm", "no es un nombre de fichero válido", "zz.frm",
       nothing},
      // Opened, a device would hold the program for good.
      {"device name", false, 4, TopicRecord{"Aparato", "AUX"}, false, SaveBy::Accept,
       "Frmls\\AUX.frm", "no es un nombre de fichero válido", "zz.frm", nothing},
  };
  const std::string outside = FormulaImage({"z", "1", "fuera"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteSampleLibrary();
    if (c.topic == 4) WriteFile("temas.rel", ReadFile("temas.rel") + TopicImage(c.odd));
    WriteFile("zz.frm", outside);
    const std::string old = ReadFile(c.intact);
    std::function<void()> release;
    if (c.beforeOpen) release = c.obstruct();
    Open(kPickMode);
    EXPECT_GE(Lines(IDC_LIB_TOPICS).size(), 3u);
    if (c.topics) {
      W().Type(IDC_LIB_TOPIC_NAME, "Óptica");
      W().Type(IDC_LIB_TOPIC_FILE, "OPTICA");
      W().Click(IDC_LIB_TOPIC_OK);
    } else {
      ClickTopic(c.topic);
      if (c.topic == 4) {
        EXPECT_TRUE(Lines(IDC_LIB_FORMULAS).empty());
      }
      W().Type(IDC_LIB_FORMULA_NAME, "g");
      W().Type(IDC_LIB_EXPRESSION, "2*x");
      W().Click(IDC_LIB_FORMULA_OK);
    }
    const Strings topics = Lines(IDC_LIB_TOPICS), formulas = Lines(IDC_LIB_FORMULAS);
    if (!c.beforeOpen) release = c.obstruct();
    boxes_.Clear();
    if (c.by == SaveBy::Accept) {
      W().Click(IDC_LIB_ACCEPT);
    } else if (c.by == SaveBy::ChangingTopic) {
      boxes_.Script(IDYES);
      ClickTopic(2);
    } else {
      boxes_.Script(IDYES);
      W().Click(IDC_LIB_CANCEL);
    }
    ASSERT_FALSE(boxes_.Boxes().empty());
    EXPECT_EQ(boxes_.Boxes().size(), c.by == SaveBy::Accept ? 1u : 2u);
    EXPECT_EQ(boxes_.Last().caption, "no se ha guardado");
    const std::string named = std::string("no se ha podido guardar ") + c.file + ": ";
    EXPECT_EQ(boxes_.Last().text.substr(0, named.size()), named) << boxes_.Last().text;
    EXPECT_NE(boxes_.Last().text.find(c.reason), std::string::npos) << boxes_.Last().text;
    EXPECT_EQ(boxes_.Last().Style(), MB_OK | MB_ICONEXCLAMATION);
    EXPECT_FALSE(Ended());
    EXPECT_EQ(Lines(IDC_LIB_TOPICS), topics);
    EXPECT_EQ(Lines(IDC_LIB_FORMULAS), formulas);
    if (c.by == SaveBy::ChangingTopic) {
      EXPECT_EQ(Selected(IDC_LIB_TOPICS), c.topic);
    }
    if (release) release();
    EXPECT_EQ(ReadFile(c.intact), old);
    EXPECT_EQ(ReadFile("zz.frm"), outside);

    if (release) {
      W().Click(IDC_LIB_ACCEPT);
      EXPECT_TRUE(Ended());
      EXPECT_EQ(ReadFile(c.file).size(), old.size() + (c.topics ? 52u : 80u));
    } else {
      boxes_.Script(IDNO);
      W().Click(IDC_LIB_CANCEL);
      EXPECT_TRUE(Ended());
    }
    window_.reset();
  }
}

// The topic list and the formula file are read while another program has
// them open; the list that could not be read at all is never saved over.
TEST_F(LibraryDialog, AListThatCouldNotBeReadIsNeverSavedOverItsFile) {
  const std::string topics = ReadFile("temas.rel");
  const std::string original = Geom();
  HANDLE held = Hold("temas.rel", 0);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Open(kPickMode);
  CloseHandle(held);
  EXPECT_TRUE(Lines(IDC_LIB_TOPICS).empty());
  W().Type(IDC_LIB_TOPIC_NAME, "Geometría");
  W().Type(IDC_LIB_TOPIC_FILE, "GEOM");
  W().Click(IDC_LIB_TOPIC_OK);

  held = Hold(FormulaPath("GEOM").c_str(), 0);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ClickTopic(1);
  CloseHandle(held);
  EXPECT_TRUE(Lines(IDC_LIB_FORMULAS).empty());
  W().Type(IDC_LIB_EXPRESSION, "x");
  W().Click(IDC_LIB_FORMULA_OK);
  W().Click(IDC_LIB_ACCEPT);
  // Each list that shows empty for want of reading says so, with its file and why.
  ASSERT_EQ(boxes_.Boxes().size(), 3u);
  const std::string heldWhy =
      ": acceso denegado: el archivo está en uso por otro programa o no se puede leer\r\n\r\n"
      "la lista se muestra vacía, y no se guardará sobre ese archivo";
  EXPECT_EQ(boxes_.Boxes()[0].caption, "no se ha podido leer");
  EXPECT_EQ(boxes_.Boxes()[0].text, "no se ha podido leer temas.rel" + heldWhy);
  EXPECT_EQ(boxes_.Boxes()[1].text, "no se ha podido leer Frmls\\GEOM.frm" + heldWhy);
  EXPECT_NE(boxes_.Last().text.find("temas.rel: no se pudo leer"), std::string::npos)
      << boxes_.Last().text;
  EXPECT_FALSE(Ended());
  EXPECT_EQ(ReadFile("temas.rel"), topics);
  EXPECT_EQ(Geom(), original);
}

// A library that is there is read whatever its files' attributes, and a save
// keeps their hidden and system marks.
TEST_F(LibraryDialog, ALibraryIsReadWhateverItsAttributes) {
  for (DWORD marks : {FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_HIDDEN,
                      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_ARCHIVE}) {
    SCOPED_TRACE(marks);
    WriteSampleLibrary();
    for (const char* file : {"temas.rel", "Frmls\\GEOM.frm"}) {
      ASSERT_TRUE(SetFileAttributesA(file, marks));
    }
    Open(kPickMode);
    EXPECT_EQ(Lines(IDC_LIB_TOPICS).size(), 3u);
    ClickTopic(1);
    EXPECT_EQ(Lines(IDC_LIB_FORMULAS).size(), 3u);
    W().Type(IDC_LIB_FORMULA_NAME, "g");
    W().Type(IDC_LIB_EXPRESSION, "2*x");
    W().Click(IDC_LIB_FORMULA_OK);
    W().Click(IDC_LIB_TOPIC_NEW);
    W().Type(IDC_LIB_TOPIC_NAME, "Óptica");
    W().Type(IDC_LIB_TOPIC_FILE, "OPTICA");
    W().Click(IDC_LIB_TOPIC_OK);
    W().Click(IDC_LIB_ACCEPT);
    EXPECT_TRUE(Ended());
    EXPECT_TRUE(boxes_.Boxes().empty());
    window_.reset();
    EXPECT_EQ(ReadFile("temas.rel").size(), 4 * 52u);
    EXPECT_EQ(Geom().size(), 4 * 80u);
    for (const char* file : {"temas.rel", "Frmls\\GEOM.frm"}) {
      EXPECT_EQ(GetFileAttributesA(file) & marks, marks) << file;
      SetFileAttributesA(file, FILE_ATTRIBUTE_NORMAL);
    }
  }
}

// Another copy of the program saved the library after this dialog loaded it.
TEST_F(LibraryDialog, AFileChangedOnDiskIsReplacedOnlyWhenTheUserSaysSo) {
  Open(kPickMode);
  W().Type(IDC_LIB_TOPIC_NAME, "Óptica");
  W().Type(IDC_LIB_TOPIC_FILE, "OPTICA");
  W().Click(IDC_LIB_TOPIC_OK);
  ClickTopic(1);
  W().Type(IDC_LIB_EXPRESSION, "2*x");
  W().Click(IDC_LIB_FORMULA_OK);
  const std::string theirs = ReadFile("temas.rel") + TopicImage({"Suyo", "SUYO"});
  WriteFile("temas.rel", theirs);

  boxes_.Script(IDNO);
  W().Click(IDC_LIB_ACCEPT);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Last().caption, "el fichero ha cambiado");
  EXPECT_EQ(boxes_.Last().text.find("temas.rel ha cambiado en el disco desde que se abrió"), 0u)
      << boxes_.Last().text;
  EXPECT_EQ(boxes_.Last().Style(), MB_YESNO | MB_ICONEXCLAMATION);
  EXPECT_FALSE(Ended());
  EXPECT_EQ(ReadFile("temas.rel"), theirs);
  EXPECT_EQ(Lines(IDC_LIB_TOPICS), (Strings{"Geometría", "Física", "Vacío", "Óptica"}));

  // The formula file changed too: each file is asked about on its own.
  const std::string geom = Geom() + FormulaImage({"o", "otra", ""});
  WriteFile(FormulaPath("GEOM").c_str(), geom);
  boxes_.Script(IDYES);
  boxes_.Script(IDNO);
  W().Click(IDC_LIB_ACCEPT);
  ASSERT_EQ(boxes_.Boxes().size(), 3u);
  EXPECT_EQ(boxes_.Last().text.find("Frmls\\GEOM.frm ha cambiado"), 0u) << boxes_.Last().text;
  EXPECT_FALSE(Ended());
  EXPECT_EQ(ReadFile("temas.rel").size(), 4 * 52u);  // replaced by this window's list
  EXPECT_EQ(Geom(), geom);

  boxes_.Script(IDYES);
  W().Click(IDC_LIB_ACCEPT);  // temas.rel is ours now: only the formulas ask
  EXPECT_EQ(boxes_.Boxes().size(), 4u);
  EXPECT_TRUE(Ended());
  EXPECT_EQ(Geom().size(), 4 * 80u);
}

// --- Deleting and storing again ---------------------------------------------------

// A deleted record's fields stay for a new one, so that "Ok" undoes a
// mistaken deletion; deleting one before the current record keeps the
// fields on theirs. Neither overwrites a neighbour.
TEST_F(LibraryDialog, AfterADeletionOkNeverOverwritesAnotherRecord) {
  Open(kPickMode);
  ClickTopic(1);
  ClickFormula(2);
  boxes_.Script(IDYES);
  W().Click(IDC_LIB_FORMULA_DELETE);
  EXPECT_EQ(W().Text(IDC_LIB_EXPRESSION), "a+b");
  W().Click(IDC_LIB_FORMULA_OK);
  EXPECT_EQ(Lines(IDC_LIB_FORMULAS), (Strings{"A = b*h", "x^2", "f = a+b"}));

  ClickFormula(3);
  W().Type(IDC_LIB_COMMENT, "suma de dos");
  SendMessageA(W().Item(IDC_LIB_FORMULAS), LB_SETCURSEL, 0, 0);  // no notification
  boxes_.Script(IDYES);
  W().Click(IDC_LIB_FORMULA_DELETE);
  W().Click(IDC_LIB_FORMULA_OK);
  EXPECT_EQ(Lines(IDC_LIB_FORMULAS), (Strings{"x^2", "f = a+b"}));

  boxes_.Script(IDYES);  // Geometría's formulas saved
  ClickTopic(2);
  boxes_.Script(IDYES);
  W().Click(IDC_LIB_TOPIC_DELETE);
  EXPECT_EQ(W().Text(IDC_LIB_TOPIC_NAME), "Física");
  W().Click(IDC_LIB_TOPIC_OK);
  EXPECT_EQ(Lines(IDC_LIB_TOPICS), (Strings{"Geometría", "Vacío", "Física"}));

  ClickTopic(3);
  W().Type(IDC_LIB_TOPIC_NAME, "Física clásica");
  SendMessageA(W().Item(IDC_LIB_TOPICS), LB_SETCURSEL, 0, 0);
  boxes_.Script(IDYES);
  W().Click(IDC_LIB_TOPIC_DELETE);
  W().Click(IDC_LIB_TOPIC_OK);
  EXPECT_EQ(Lines(IDC_LIB_TOPICS), (Strings{"Vacío", "Física clásica"}));

  W().Click(IDC_LIB_ACCEPT);
  EXPECT_TRUE(Ended());
  EXPECT_EQ(Geom(), FormulaImage({"", "x^2", ""}) + FormulaImage({"f", "a+b", "suma de dos"}));
  LoadTopics();
  ASSERT_EQ(TopicCount, 2);
  EXPECT_EQ(TopicList[2].TopicFile, "FISICA");
}

}  // namespace
