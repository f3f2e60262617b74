#include "app/main_window_win.h"

#include "about/about_win.h"
#include "app/shortcut_keys_win.h"
#include "common/dialog_win.h"
#include "common/dpi_win.h"
#include "common/field_brush_win.h"
#include "common/language.h"
#include "common/long_work_win.h"
#include "library/library_dialog_win.h"
#include "resources/ids.h"
#include "table/table_dialog_win.h"
#include "tools/tools_editor_win.h"
#include "tools/tools_menu_win.h"
#include "tools/tools_win.h"

HWND MainWindow = nullptr;
HMENU MainMenu = nullptr;
HWND FormulaField = nullptr;
HWND ParamEdits[kMaxParams + 1] = {};
HBRUSH DialogBrush = nullptr;

namespace {

constexpr COLORREF kDialogBack = RGB(200, 0, 100);
constexpr COLORREF kDialogText = RGB(0, 0, 100);

struct MenuPicture {
  int command;
  const wchar_t* bitmap;
};
constexpr MenuPicture kMenuPictures[] = {
    {IDM_NEW, L"nova"},    {IDM_OPEN, L"obrir"}, {IDM_SAVE, L"desar"},
    {IDM_TABLE, L"taula"}, {IDM_INFO, L"help"},
};

void EnableMenuCommand(HMENU menu, int id, bool enabled) {
  if (menu) EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

// As SetItemVisible: only on a change, since this runs on every message.
void SetItemEnabled(HWND dialog, int id, bool enabled) {
  HWND item = GetDlgItem(dialog, id);
  if (item && (IsWindowEnabled(item) != FALSE) != enabled) EnableWindow(item, enabled);
}

void SetMenuCommandEnabled(HMENU menu, int id, bool enabled) {
  const UINT state = menu ? GetMenuState(menu, id, MF_BYCOMMAND) : static_cast<UINT>(-1);
  if (state == static_cast<UINT>(-1)) return;
  if (((state & (MF_GRAYED | MF_DISABLED)) == 0) != enabled) EnableMenuCommand(menu, id, enabled);
}

// Keeps the buttons, the table button and the menu items in step with the
// formula text and the parameter count.
// While a computation runs, nothing that would start another or change the
// formula is offered.
void RefreshControls(HWND dialog) {
  if (!GetDlgItem(dialog, IDC_FORMULA)) return;  // controls not created yet
  const bool free = !LongWork::Running();
  const bool hasFormula = !GetItemText(dialog, IDC_FORMULA).empty();
  for (int id : {IDC_COMPUTE, IDC_NEW, IDC_OK}) SetItemEnabled(dialog, id, hasFormula && free);
  const bool hasParams = ParamCount > 0;
  SetItemVisible(dialog, IDC_TABLE_BUTTON, hasParams);
  SetItemVisible(dialog, IDC_TABLE_ICON, hasParams);
  SetItemEnabled(dialog, IDC_TABLE_BUTTON, free);
  HMENU menu = GetMenu(dialog);
  SetMenuCommandEnabled(menu, IDM_TABLE, hasParams && free);
  SetMenuCommandEnabled(menu, IDM_SAVE, hasFormula && free);
  for (int id : {IDM_NEW, IDM_OPEN, IDM_TOOLS_EDIT}) SetMenuCommandEnabled(menu, id, free);
  HWND formula = GetDlgItem(dialog, IDC_FORMULA);
  const bool readOnly = (GetWindowLongPtrW(formula, GWL_STYLE) & ES_READONLY) != 0;
  if (readOnly == free) SendMessageW(formula, EM_SETREADONLY, !free, 0);
}

constexpr Wording kComputing = {{"calculant…", "computing…", "calculando…"}};
constexpr Wording kStopped = {{"càlcul aturat", "computation stopped", "cálculo parado"}};

// The line under the results: what a long computation is doing, or that it
// was stopped. Made the first time it has something to say.
void ShowWorkStatus(HWND dialog, std::string_view text) {
  if (!GetDlgItem(dialog, IDC_WORK_STATUS)) {
    if (text.empty()) return;
    RECT r{50, 83, 110, 8};  // under the results, right of the parameters
    MapDialogRect(dialog, &r);
    HWND line =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT, r.left, r.top, r.right, r.bottom,
                        dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_WORK_STATUS)),
                        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(line, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
  }
  SetItemText(dialog, IDC_WORK_STATUS, text);
  SetItemVisible(dialog, IDC_WORK_STATUS, !text.empty());
}

class MainWindowProgress final : public LongWorkShow {
 public:
  explicit MainWindowProgress(HWND dialog) : dialog_(dialog) {}
  void Freeze() override { RefreshControls(dialog_); }
  void ShowProgress(std::int32_t, std::int32_t) override {
    if (!shown_) ShowWorkStatus(dialog_, kComputing.Get());
    shown_ = true;
  }
  void Thaw() override {
    ShowWorkStatus(dialog_, "");
    RefreshControls(dialog_);
  }

 private:
  HWND dialog_;
  bool shown_ = false;
};

// A command that may evaluate a formula: the window answers meanwhile, and
// a stopped evaluation leaves the previous results, saying so.
template <class Command>
void Computing(HWND dialog, Command command) {
  ShowWorkStatus(dialog, "");
  bool stopped = false;
  {
    MainWindowProgress show(dialog);
    LongWork work(&show);
    command();
    stopped = work.Stopped();
  }
  if (stopped) ShowWorkStatus(dialog, kStopped.Get());
}

// "Utilidades", where the tool items go: the menu bar's second popup (the
// last one, should the bar have fewer).
constexpr int kToolsPopupPosition = 2;

// The template names the menu, so the dialog comes with it attached: loading
// it a second time would only slow the start.
void AttachMenu(HWND dialog, HINSTANCE instance) {
  MainMenu = GetMenu(dialog);
  if (!MainMenu) {
    MainMenu = LoadMenuW(instance, L"MENU");
    SetMenu(dialog, MainMenu);
  }
  HMENU menu = MainMenu;

  const int popups = menu ? GetMenuItemCount(menu) : 0;
  const int toolsPosition = popups < kToolsPopupPosition ? popups : kToolsPopupPosition;
  InitToolsMenu(toolsPosition > 0 ? GetSubMenu(menu, toolsPosition - 1) : nullptr);
  for (const MenuPicture& picture : kMenuPictures) {
    HBITMAP bitmap = LoadBitmapW(instance, picture.bitmap);
    SetMenuItemBitmaps(menu, picture.command, MF_BYCOMMAND, bitmap, bitmap);
  }
}

// The template's picture has the system's icon size; at another scale than
// the system's, the window's own (once: the program has one main window).
void ScaleTableIcon(HWND dialog, HINSTANCE instance) {
  const int size = ScaleForDpi(32, WindowDpi(dialog));  // the icon's size at 96
  if (size == GetSystemMetrics(SM_CXICON)) return;
  static const HANDLE icon = LoadImageW(instance, L"IcTaula", IMAGE_ICON, size, size, 0);
  if (!icon) return;
  SendDlgItemMessageW(dialog, IDC_TABLE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

// A click into a parameter field selects its value, as the focus coming
// there does, also in the field that has the focus already (after a
// message box, say), where no focus change comes; a drag still selects
// what it covers. The four fields share their class's procedure.
WNDPROC EditProcedure = nullptr;
bool ClickInFocusedField = false;

LRESULT CALLBACK ParamFieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN) ClickInFocusedField = GetFocus() == edit;
  const LRESULT result = CallWindowProcW(EditProcedure, edit, message, wParam, lParam);
  if (message == WM_LBUTTONUP && ClickInFocusedField) {
    ClickInFocusedField = false;
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start == end) SendMessageW(edit, EM_SETSEL, 0, -1);
  }
  return result;
}

void SelectOnEveryClick(HWND edit) {
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ParamFieldProc)));
  if (previous != &ParamFieldProc) EditProcedure = previous;
}

// The dialog manager then gives the focus to the first tab stop, the formula
// field, so a user can type at once.
INT_PTR InitMainWindow(HWND dialog) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
  AttachMenu(dialog, instance);
  ScaleTableIcon(dialog, instance);
  SetClassLongPtrW(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(LoadIconW(instance, L"Ic0")));
  // Process-wide and never freed: later windows of the program share them.
  if (!DialogBrush) DialogBrush = CreateSolidBrush(kDialogBack);
  if (!FieldBrush) FieldBrush = CreateSolidBrush(kFieldBack);
  MainWindow = dialog;
  FormulaField = GetDlgItem(dialog, IDC_FORMULA);
  // What the fields show is what is computed: a formula of 40 characters, values of 254.
  LimitItemText(dialog, IDC_FORMULA, kExpressionMax);
  for (int i = 1; i <= kMaxParams; ++i) {
    ParamEdits[i] = GetDlgItem(dialog, IDC_PARAM_EDIT1 + i - 1);
    LimitItemText(dialog, IDC_PARAM_EDIT1 + i - 1, kItemTextMax);
    if (ParamEdits[i]) SelectOnEveryClick(ParamEdits[i]);
  }
  InstallShortcutKeys(dialog);
  return TRUE;
}

INT_PTR PaintWith(WPARAM dc, COLORREF back, COLORREF text, HBRUSH brush) {
  SetBkColor(reinterpret_cast<HDC>(dc), back);
  SetTextColor(reinterpret_cast<HDC>(dc), text);
  return reinterpret_cast<INT_PTR>(brush);
}

void PressEnter(MainFormulaWindow& w) {
  if (w.HasFocus(IDC_FORMULA) || w.HasFocus(IDC_OK)) {
    OkFormula(w);
  } else {
    EnterOutsideFormula(w);
  }
}

// The values are read after the focus change, never inside it: a box shown
// while the focus moves (to the library, say, or to a message box) nests in
// the system's own focus handling, where under a window manager nothing can
// paint or take input, and a second box for the same value follows.
constexpr UINT kReadParamsMessage = WM_APP + 1;

// A message box of the cycle takes the focus from the field it is shown
// over: reading again after it would show it again, and again.
void LeaveParamField(HWND dialog) {
  if (!MainFormulaWindow::MessageOpen()) PostMessageW(dialog, kReadParamsMessage, 0, 0);
}

// Only while the user goes on in this window: a value that is not a number
// is reported when it is used (Resultado, Enter), and until then the
// previous value stays in use.
void ReadParamsAfterFocusChange(HWND dialog) {
  HWND focus = GetFocus();
  if (GetActiveWindow() != dialog || !focus || !IsChild(dialog, focus)) return;
  if (MainFormulaWindow::MessageOpen()) return;
  MainFormulaWindow w(dialog);
  ReadParamValues(w);
}

// Typing into a field that gets the focus replaces its value, whichever way
// the focus came. Posted, so that it comes after what the click that brought
// the focus does to the caret.
void EnterParamField(HWND dialog, int id) {
  PostMessageW(GetDlgItem(dialog, id), EM_SETSEL, 0, -1);
}

void NewFormula(MainFormulaWindow& w) {
  LoadFormula(w, DefaultFormula);
  w.Focus(IDC_FORMULA);
}

bool IsParamField(int id) {
  return id >= IDC_PARAM_EDIT1 && id <= IDC_PARAM_EDIT4;
}

// The tools take their commands first; the library, the table, the help
// document and the about window are reached from here.
void HandleCommand(HWND dialog, int id, int notification) {
  MainFormulaWindow w(dialog);
  if (IsParamField(id)) {
    if (notification == EN_KILLFOCUS) LeaveParamField(dialog);
    if (notification == EN_SETFOCUS) EnterParamField(dialog, id);
    return;
  }
  if (LongWork::Running() && id != IDC_FORMULA) {
    // One computation at a time. Salir asks to stop it; the window closes
    // once it has stopped.
    if (id == IDC_CANCEL && LongWork::AskToStop()) PostMessageW(dialog, WM_COMMAND, IDC_CANCEL, 0);
    return;
  }
  if (HandleToolsCommand(static_cast<std::uint16_t>(id))) return;
  switch (id) {
    case IDC_OK:
      Computing(dialog, [&] { PressEnter(w); });
      break;
    case IDC_CANCEL:
      // Each window with unsaved edits asks first; Cancel keeps the program going.
      if (!CloseLibraryAsking() || !CloseToolsEditorAsking()) break;
      if (TableWindow) EndDialog(TableWindow, 0);
      CloseAboutWindow();
      EndDialog(dialog, 0);
      break;
    case IDC_COMPUTE:
      Computing(dialog, [&] { ComputeButton(w); });
      break;
    case IDC_FORMULA:
      if (notification == EN_CHANGE) {
        ShowWorkStatus(dialog, "");
        FormulaEdited(w);
      }
      break;
    case IDC_NEW:
      NewFormula(w);
      break;
    case IDM_INFO:
      RunFile("quillet.pdf");
      break;
    case IDM_ABOUT:
      ShowAbout("cálculo de fórmulas");
      break;
    case IDM_OPEN:
      if (OpenLibrary(kPickMode)) Computing(dialog, [&] { LoadFormula(w, CurrentFormula); });
      break;
    case IDM_SAVE:
      CurrentFormula.Expression = GetItemText(dialog, IDC_FORMULA).Left(kExpressionMax);
      OpenLibrary(kStoreMode);
      break;
    case IDM_TABLE:  // the menu item and the table button share the id
      OpenTable();
      break;
    default:
      break;
  }
}

}  // namespace

int MainFormulaWindow::openMessages_ = 0;

HWND MainFormulaWindow::Item(int id) const {
  if (IsParamField(id) && ParamEdits[id - IDC_PARAM_EDIT1 + 1]) {
    return ParamEdits[id - IDC_PARAM_EDIT1 + 1];
  }
  return ItemWindow(dialog_, id);
}

ShortText MainFormulaWindow::ItemText(int id) {
  return GetItemText(dialog_, id);
}
void MainFormulaWindow::SetText(int id, std::string_view text) {
  SetItemText(dialog_, id, text);
}
void MainFormulaWindow::Show(int id) {
  ShowItem(dialog_, id);
}
void MainFormulaWindow::Hide(int id) {
  HideItem(dialog_, id);
}
void MainFormulaWindow::Focus(int id) {
  SetFocus(Item(id));
}

bool MainFormulaWindow::HasFocus(int id) {
  HWND item = Item(id);
  return item && GetFocus() == item;
}

void MainFormulaWindow::EnableMenuItem(int id, bool enabled) {
  EnableMenuCommand(GetMenu(dialog_), id, enabled);
}

void MainFormulaWindow::ShowMessage(std::string_view caption, std::string_view text) {
  ++openMessages_;
  MessageOk(caption, text);
  --openMessages_;
}

void MainFormulaWindow::ShowStyledMessage(std::string_view caption, std::string_view text,
                                          std::uint32_t style) {
  ++openMessages_;
  MessageStyled(caption, text, style);
  --openMessages_;
}

// RefreshControls runs before every message; after a command or the
// initialisation it runs once more, so that what the command changed (the
// menu items that AcceptFormula enables, say) is right before the next message.
INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  RefreshControls(window);
  switch (message) {
    case WM_INITDIALOG: {
      const INT_PTR result = InitMainWindow(window);
      RefreshControls(window);
      return result;
    }
    case WM_CTLCOLOREDIT:
      return PaintWith(wParam, kFieldBack, kFieldText, FieldBrush);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return PaintWith(wParam, kDialogBack, kDialogText, DialogBrush);
    case WM_COMMAND:
      HandleCommand(window, LOWORD(wParam), HIWORD(wParam));
      TableFollowsFormula();
      RefreshControls(window);
      return FALSE;
    case kReadParamsMessage:
      ReadParamsAfterFocusChange(window);
      RefreshControls(window);
      return FALSE;
    default:
      return FALSE;
  }
}
