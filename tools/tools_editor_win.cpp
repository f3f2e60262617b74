#include "tools/tools_editor_win.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "common/codepage.h"
#include "common/dialog_win.h"
#include "common/language.h"
#include "common/late_call_win.h"
#include "common/text_helpers.h"
#include "resources/ids.h"
#include "tools/tool_list.h"
#include "tools/tools_win.h"

ShortText LastBrowsed;
HWND ToolsEditor = nullptr;
WindowPlace EditorPlace;

namespace {

std::uint16_t Selected = 1;
ToolEntry EditBuffer;
// The list as it was when the editor opened: esc puts it back, so that the
// list and the menu, built from it, always agree.
ToolEntry OpenedList[MaxTools + 1];
std::uint16_t OpenedCount = 0;
HWND DeleteButton = nullptr;
HWND UpButton = nullptr;
HWND DownButton = nullptr;

// The template's own texts are the English ones.
struct ControlText {
  int id;  // 0: the caption
  Wording text;
};
constexpr ControlText kControlTexts[] = {
    {0, {{"Edició eines", nullptr, "Edición útiles"}}},
    {IDC_TOOLS_LIST_LABEL, {{"Eines", nullptr, "Útiles"}}},
    {IDC_TOOLS_GROUP, {{"Eina", nullptr, "Útil"}}},
    {IDC_TOOLS_TITLE_LABEL, {{"Títol", nullptr, "Título"}}},
    {IDC_TOOLS_FILE_LABEL, {{"Fitxer", nullptr, "Fichero"}}},
    {IDC_TOOLS_DIR_LABEL, {{"Dir. de treball", nullptr, "Dir. de trabajo"}}},
    {IDC_TOOLS_PARAMS_LABEL, {{"paràmetres", nullptr, "parámetros"}}},
};

constexpr Wording kFullCaption = {{"Llista plena", "List full", "Lista llena"}};
constexpr Wording kFullText = {
    {"Hi caben 64 eines com a màxim. Esborreu-ne una per afegir-ne una altra.",
     "The list holds at most 64 tools. Delete one to add another.",
     "La lista admite 64 útiles como máximo. Elimine uno para añadir otro."}};

constexpr Wording kNotSavedCaption = {{"No s'ha desat", "Not saved", "No se ha guardado"}};
constexpr Wording kNotSavedText = {{"No s'ha pogut desar la llista d'eines a",
                                    "The tool list could not be saved to",
                                    "No se ha podido guardar la lista de útiles en"}};
constexpr Wording kEditsKept = {{"Els canvis continuen a l'editor.",
                                 "Your changes are still in the editor.",
                                 "Los cambios siguen en el editor."}};
constexpr Wording kNotReadCaption = {{"No s'ha llegit", "Not read", "No se ha leído"}};
constexpr Wording kNotReadText = {
    {"No s'ha pogut llegir", "This could not be read:", "No se ha podido leer"}};
constexpr Wording kNotReadAdvice = {
    {"Per no perdre'n les eines, no s'hi desa res. Tanqueu-lo a l'altre programa i torneu a "
     "obrir l'editor.",
     "So that its tools are not lost, nothing is saved over it. Close it in the other program "
     "and open the editor again.",
     "Para no perder sus útiles, no se guarda nada encima. Ciérrelo en el otro programa y "
     "abra de nuevo el editor."}};
constexpr Wording kChangedCaption = {
    {"hi ha hagut canvis", "there were changes", "ha habido cambios"}};
constexpr Wording kSaveChanges = {
    {"desar els canvis?", "save the changes?", "¿guardar los cambios?"}};

// Shown once the dialog is on the screen, not while it is being made.
constexpr UINT kShowNotReadMessage = WM_APP + 1;

constexpr int kFieldIds[] = {IDC_TOOLS_TITLE, IDC_TOOLS_FILE, IDC_TOOLS_DIR, IDC_TOOLS_PARAMS};

void SetLanguageTexts(HWND dialog) {
  for (const ControlText& t : kControlTexts) {
    const char* text = t.text.Get();
    if (!text) return;  // the template's own
    if (t.id == 0) {
      SetWindowCaption(dialog, text);
    } else {
      SetItemText(dialog, t.id, text);
    }
  }
}

void ShowFields(HWND dialog, const ToolEntry& entry) {
  SetItemText(dialog, IDC_TOOLS_TITLE, entry.Title);
  SetItemText(dialog, IDC_TOOLS_FILE, entry.File);
  SetItemText(dialog, IDC_TOOLS_DIR, entry.WorkDir);
  SetItemText(dialog, IDC_TOOLS_PARAMS, entry.Params);
}

void ReadFields(HWND dialog) {
  SetToolEntry(EditBuffer, GetItemText(dialog, IDC_TOOLS_TITLE),
               GetItemText(dialog, IDC_TOOLS_FILE), GetItemText(dialog, IDC_TOOLS_DIR),
               GetItemText(dialog, IDC_TOOLS_PARAMS));
}

void ClearFields(HWND dialog) {
  for (int id : kFieldIds) SetItemText(dialog, id, "");
  EnableWindow(DeleteButton, FALSE);
  EnableWindow(UpButton, FALSE);
  EnableWindow(DownButton, FALSE);
  Selected = ToolCount + 1;
}

void RefillList(HWND dialog) {
  ListClear(dialog, IDC_TOOLS_LIST);
  for (std::uint16_t i = 1; i <= ToolCount; ++i) ListAdd(dialog, IDC_TOOLS_LIST, ToolList[i].Title);
}

void UpdateMoveButtons() {
  EnableWindow(UpButton, Selected > 1);
  EnableWindow(DownButton, Selected < ToolCount);
}

void MoveEntry(HWND dialog, int delta) {
  const int other = Selected + delta;
  if (Selected > ToolCount || other < 1 || other > ToolCount) return;
  SwapToolEntries(Selected, static_cast<std::uint16_t>(other));
  Selected = static_cast<std::uint16_t>(other);
  RefillList(dialog);
  ListSelect(dialog, IDC_TOOLS_LIST, Selected);
  UpdateMoveButtons();
}

void MoveFocusOn(HWND dialog) {
  HWND focus = GetFocus();
  if (!focus || GetParent(focus) != dialog) return;
  int next = 0;
  switch (GetDlgCtrlID(focus)) {
    case IDC_TOOLS_TITLE:
      next = IDC_TOOLS_FILE;
      break;
    case IDC_TOOLS_FILE:
      next = IDC_TOOLS_DIR;
      break;
    case IDC_TOOLS_DIR:
      next = IDC_TOOLS_PARAMS;
      break;
    case IDC_TOOLS_PARAMS:
      next = IDC_TOOLS_STORE;
      break;
    case IDC_TOOLS_STORE:
      next = IDC_TOOLS_LIST;
      break;
    default:
      return;
  }
  FocusItem(dialog, GetDlgItem(dialog, next));
}

void DeleteSelected(HWND dialog) {
  if (Selected < 1 || Selected > ToolCount) return;
  const ShortText question = ShortText("Eliminar \"") + ToolList[Selected].Title + "\"?";
  if (AskYesNoStyled("Confirmar eliminar", question, MB_ICONQUESTION) != IDYES) return;
  DeleteToolEntry(Selected);
  RefillList(dialog);
  ClearFields(dialog);
}

void StoreFields(HWND dialog) {
  ReadFields(dialog);
  if (Selected > ToolCount) {
    // Each tool needs a menu command of its own, and there are 64 of them.
    if (!AddToolEntry()) {
      MessageStyled(kFullCaption.Get(), kFullText.Get(), MB_ICONEXCLAMATION);
      return;
    }
    Selected = ToolCount;
  }
  ToolList[Selected] = EditBuffer;
  RefillList(dialog);
  ClearFields(dialog);
}

void Browse(HWND dialog) {
  if (!OpenFileDialog(LastBrowsed)) return;
  ReadFields(dialog);
  const std::uint16_t p = LastCharPos('\\', LastBrowsed);
  EditBuffer.File = LastBrowsed.From(p).Left(99);
  if (EditBuffer.WorkDir.empty() && p > 0) EditBuffer.WorkDir = LastBrowsed.Left(p - 1);
  ShowFields(dialog, EditBuffer);
}

void ListChanged(HWND dialog) {
  const std::uint16_t line = ListSelected(dialog, IDC_TOOLS_LIST);
  if (line == 0 || line > ToolCount) return;
  Selected = line;
  ShowFields(dialog, ToolList[Selected]);
  EnableWindow(DeleteButton, TRUE);
  UpdateMoveButtons();
}

bool SameEntry(const ToolEntry& a, const ToolEntry& b) {
  return a.Title == b.Title && a.File == b.File && a.WorkDir == b.WorkDir && a.Params == b.Params;
}

bool ListEdited() {
  if (ToolCount != OpenedCount) return true;
  for (std::uint16_t i = 1; i <= ToolCount; ++i) {
    if (!SameEntry(ToolList[i], OpenedList[i])) return true;
  }
  return false;
}

// The file, why, and what the user should know, in that order: a box cuts
// its text at 255 characters.
void ShowFileProblem(const Wording& caption, const Wording& what, std::string why,
                     const Wording& then) {
  // The reason stands as a sentence of its own here.
  if (!why.empty() && why[0] >= 'a' && why[0] <= 'z')
    why[0] = static_cast<char>(why[0] - 'a' + 'A');
  MessageStyled(caption.Get(),
                std::string(what.Get()) + "\r\n" + ToolsFilePath() + "\r\n\r\n" + why +
                    ".\r\n\r\n" + then.Get(),
                MB_ICONEXCLAMATION);
}

void ShowNotRead() {
  ShowFileProblem(kNotReadCaption, kNotReadText, ToolsUnread, kNotReadAdvice);
}

// A list that was never read is not saved over; any other failure says why.
// Either way the dialog and every edit stay as they are.
bool SaveOrSay() {
  if (!ToolsUnread.empty()) {
    ShowNotRead();
    return false;
  }
  std::string why;
  if (SaveTools(&why)) return true;
  ShowFileProblem(kNotSavedCaption, kNotSavedText, why, kEditsKept);
  return false;
}

// Closing without a save puts back the list of the opening.
void Discard(HWND dialog) {
  for (std::uint16_t i = 0; i <= MaxTools; ++i) ToolList[i] = OpenedList[i];
  ToolCount = OpenedCount;
  EndDialog(dialog, 0);
}

void Command(HWND dialog, int id, int notification) {
  switch (id) {
    case IDOK:
      MoveFocusOn(dialog);
      break;
    case IDC_CANCEL:
      Discard(dialog);
      break;
    case IDC_TOOLS_NEW:
      ClearFields(dialog);
      FocusItem(dialog, GetDlgItem(dialog, IDC_TOOLS_TITLE));  // the new entry's title
      break;
    case IDC_TOOLS_DELETE:
      DeleteSelected(dialog);
      break;
    case IDC_TOOLS_UP:
      MoveEntry(dialog, -1);
      break;
    case IDC_TOOLS_DOWN:
      MoveEntry(dialog, +1);
      break;
    case IDC_TOOLS_BROWSE:
      Browse(dialog);
      break;
    case IDC_TOOLS_STORE:
      StoreFields(dialog);
      break;
    case IDC_TOOLS_SAVE:
      // A failed save keeps the dialog, and the old file, as they were.
      if (SaveOrSay()) EndDialog(dialog, 1);
      break;
    case IDC_TOOLS_LIST:
      if (notification == LBN_SELCHANGE) ListChanged(dialog);
      break;
    default:
      break;
  }
}

void Init(HWND dialog) {
  ToolsEditor = dialog;
  DeleteButton = GetDlgItem(dialog, IDC_TOOLS_DELETE);
  UpButton = GetDlgItem(dialog, IDC_TOOLS_UP);
  DownButton = GetDlgItem(dialog, IDC_TOOLS_DOWN);
  EnableWindow(DeleteButton, FALSE);
  EnableWindow(UpButton, FALSE);
  EnableWindow(DownButton, FALSE);
  Selected = ToolCount + 1;
  for (std::uint16_t i = 0; i <= MaxTools; ++i) OpenedList[i] = ToolList[i];
  OpenedCount = ToolCount;
  SetLanguageTexts(dialog);
  RefillList(dialog);
  if (!ToolsUnread.empty()) PostMessageW(dialog, kShowNotReadMessage, 0, 0);
  PlaceWindow(dialog, EditorPlace);
}

}  // namespace

INT_PTR CALLBACK ToolsEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      Init(dialog);
      return FALSE;  // no control gets the focus at first
    case WM_COMMAND:
      Command(dialog, LOWORD(wParam), HIWORD(wParam));
      return FALSE;
    case kShowNotReadMessage:
      ShowNotRead();
      return TRUE;
    case WM_DESTROY:
      RememberPlace(dialog, EditorPlace);
      if (ToolsEditor == dialog) ToolsEditor = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR OpenToolsEditor() {
  // A second editor over the same list would undo the first one's work.
  if (ToolsEditor) {
    BringForward(ToolsEditor);
    return 0;
  }
  return DialogBoxParamW(GetModuleHandleW(nullptr), L"DLGTOOLS", nullptr, ToolsEditorProc, 0);
}

bool CloseToolsEditorAsking() {
  HWND dialog = ToolsEditor;
  if (!dialog) return true;
  if (ListEdited()) {
    const int answer = AskYesNoCancel(kChangedCaption.Get(), kSaveChanges.Get());
    const bool stays = answer == IDCANCEL || (answer == IDYES && !SaveOrSay());
    if (stays) {
      // Salir came from the main window, which now covers the edits.
      SetForegroundWindow(dialog);
      return false;
    }
    if (answer == IDYES) {
      EndDialog(dialog, 1);
      return true;
    }
  }
  Discard(dialog);
  return true;
}

bool OpenFileDialog(ShortText& name) {
  const std::string remembered = SystemLauncher().CurrentFolder();
  wchar_t file[260] = L"";
  WideText(name).copy(file, ShortText::kMax);
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = nullptr;
  request.lpstrFilter = L"All files (*.*)\0*.*\0";
  request.nFilterIndex = 1;
  request.lpstrFile = file;
  request.nMaxFile = sizeof file / sizeof file[0];
  request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
  request.lpstrDefExt = L"*";
  using OpenFileFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);
  static const auto getOpenFileName =
      LateFunction<OpenFileFunction>(L"comdlg32.dll", "GetOpenFileNameW");
  const bool chosen = getOpenFileName && getOpenFileName(&request) != FALSE;
  name = Cp1252Text(file);
  SystemLauncher().EnterFolder(remembered);
  return chosen;
}
