#include "tools/tools_editor_win.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "common/dialog_win.h"
#include "common/late_call_win.h"
#include "common/language.h"
#include "common/text_helpers.h"
#include "resources/ids.h"
#include "tools/tool_list.h"
#include "tools/tools_win.h"

ShortText LastBrowsed;
HWND ToolsEditor = nullptr;

namespace {

std::uint16_t Selected = 1;
ToolEntry EditBuffer;
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

void Command(HWND dialog, int id, int notification) {
  switch (id) {
    case IDOK:
      MoveFocusOn(dialog);
      break;
    case IDC_CANCEL:
      EndDialog(dialog, 0);
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
      if (SaveTools()) EndDialog(dialog, 1);
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
  SetLanguageTexts(dialog);
  RefillList(dialog);
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
    case WM_DESTROY:
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
  return DialogBoxParamA(GetModuleHandleA(nullptr), "DLGTOOLS", nullptr, ToolsEditorProc, 0);
}

bool OpenFileDialog(ShortText& name) {
  const std::string remembered = SystemLauncher().CurrentFolder();
  char file[260] = "";
  std::memcpy(file, name.c_str(), name.size() + 1);
  OPENFILENAMEA request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = nullptr;
  request.lpstrFilter = "All files (*.*)\0*.*\0";
  request.nFilterIndex = 1;
  request.lpstrFile = file;
  request.nMaxFile = sizeof file;
  request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
  request.lpstrDefExt = "*";
  using OpenFileFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);
  static const auto getOpenFileName =
      LateFunction<OpenFileFunction>("comdlg32.dll", "GetOpenFileNameA");
  const bool chosen = getOpenFileName && getOpenFileName(&request) != FALSE;
  name = file;
  SystemLauncher().EnterFolder(remembered);
  return chosen;
}
