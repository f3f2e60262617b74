// The main window's library commands on the real templates: "Abrir" runs the
// library modally and loads the picked formula, "Guardar" hands the formula
// field to it cut to 40 characters, and "Salir" ends an open library too.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "library/library_dialog_win.h"
#include "resources/ids.h"
#include "tests/gui/main_window_fixture.h"

namespace {

// Runs inside the library's modal loop, from a timer, once the dialog is up.
std::function<void(HWND)> insideLibrary;
std::string expressionSeen;

void CALLBACK WhenLibraryOpens(HWND, UINT, UINT_PTR timer, DWORD) {
  if (!LibraryDialog) return;  // not yet: wait for the next tick
  KillTimer(nullptr, timer);
  insideLibrary(LibraryDialog);
}

class LibraryCommands : public MainWindowOnALibrary {
 protected:
  // Chooses a menu command that opens the library, doing `steps` inside it.
  void RunLibrary(int command, std::function<void(HWND)> steps) {
    insideLibrary = std::move(steps);
    SetTimer(nullptr, 0, 20, &WhenLibraryOpens);
    W().MenuCommand(command);
    EXPECT_EQ(LibraryDialog, nullptr);
  }
};

TEST_F(LibraryCommands, AbrirLoadsThePickedFormulaWithItsNameAndComment) {
  RunLibrary(IDM_OPEN, [](HWND library) {
    SelectInList(library, IDC_LIB_TOPICS, 0, LBN_DBLCLK);
    SelectInList(library, IDC_LIB_FORMULAS, 0, LBN_DBLCLK);
  });
  EXPECT_EQ(W().Text(IDC_FORMULA), "b*h");
  EXPECT_EQ(W().Text(IDC_NAME_LABEL), "A=");
  EXPECT_EQ(W().Text(IDC_COMMENT), "rectángulo");
  EXPECT_TRUE(W().Visible(IDC_PARAM_EDIT2));  // accepted: b and h
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(LibraryCommands, AbrirClosedWithoutAPickLeavesTheWindowAsItWas) {
  W().Type(IDC_FORMULA, "x+1");
  RunLibrary(IDM_OPEN, [](HWND library) { SendMessageA(library, WM_COMMAND, IDC_LIB_CANCEL, 0); });
  EXPECT_EQ(W().Text(IDC_FORMULA), "x+1");
  EXPECT_EQ(W().Text(IDC_NAME_LABEL), "F =");
}

TEST_F(LibraryCommands, GuardarOffersTheFormulaFieldCutTo40) {
  CurrentFormula = {"g", "", "mi comentario"};
  const std::string formula = "1234567890123456789012345678901234567890+x";
  W().Type(IDC_FORMULA, formula);
  RunLibrary(IDM_SAVE, [](HWND library) {
    expressionSeen = WindowText(GetDlgItem(library, IDC_LIB_EXPRESSION));
    SendMessageA(library, WM_COMMAND, IDC_LIB_CANCEL, 0);
  });
  EXPECT_EQ(expressionSeen, formula.substr(0, 40));
  EXPECT_EQ(CurrentFormula.Name, "g");
  EXPECT_EQ(CurrentFormula.Comment, "mi comentario");
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Last().caption, "guardar fórmula");
  EXPECT_EQ(W().Text(IDC_FORMULA), formula);  // the main window keeps its text
}

TEST_F(LibraryCommands, SalirEndsTheLibraryAndTheMainWindow) {
  RunLibrary(IDM_OPEN, [this](HWND library) {
    // A second "Abrir" while it is open only brings it forward.
    EXPECT_FALSE(OpenLibrary(kPickMode));
    EXPECT_EQ(LibraryDialog, library);
    SendMessageA(W().Dialog(), WM_COMMAND, IDM_EXIT, 0);
  });
  EXPECT_FALSE(IsWindowVisible(W().Dialog()));
}

// Unsaved changes in the library: "Salir" asks the library's question, and
// only Yes (saved) or No ends the program.
TEST_F(LibraryCommands, SalirAsksForTheLibrarysUnsavedChanges) {
  const std::string topics = ReadFile("temas.rel");
  RunLibrary(IDM_OPEN, [this](HWND library) {
    SetDlgItemTextA(library, IDC_LIB_TOPIC_NAME, "Nuevo");
    SendMessageA(library, WM_COMMAND, IDC_LIB_TOPIC_OK, 0);
    boxes_.Script(IDCANCEL);
    SendMessageA(W().Dialog(), WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(boxes_.Last().caption, "ha habido cambios");
    EXPECT_EQ(boxes_.Last().text, "¿guardar los cambios?");
    EXPECT_EQ(LibraryDialog, library);
    EXPECT_TRUE(IsWindowVisible(W().Dialog()));

    // Yes, and the save fails: its message, and both windows stay.
    HANDLE held = CreateFileA("temas.rel", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    boxes_.Script(IDYES);
    SendMessageA(W().Dialog(), WM_COMMAND, IDM_EXIT, 0);
    CloseHandle(held);
    EXPECT_EQ(boxes_.Last().caption, "no se ha guardado");
    EXPECT_EQ(LibraryDialog, library);
    EXPECT_TRUE(IsWindowVisible(W().Dialog()));

    boxes_.Script(IDNO);
    SendMessageA(W().Dialog(), WM_COMMAND, IDM_EXIT, 0);
  });
  EXPECT_EQ(boxes_.Boxes().size(), 4u);
  EXPECT_FALSE(IsWindowVisible(W().Dialog()));
  EXPECT_EQ(ReadFile("temas.rel"), topics);
}

}  // namespace
