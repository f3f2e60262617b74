#include "table/table_dialog_win.h"

#include <string>

#include "common/codepage.h"
#include "common/dialog_win.h"
#include "common/field_brush_win.h"
#include "engine/formula_cycle.h"
#include "resources/ids.h"
#include "table/plot_win.h"
#include "table/value_table.h"

HWND TableWindow = nullptr;
HWND PlotControl = nullptr;
HBRUSH TableBackBrush = nullptr;
WindowPlace TablePlace;

namespace {

HWND FromField = nullptr;
HWND ToField = nullptr;

// The dialog's controls as the table computation sees them.
class DialogTableView final : public TableView {
 public:
  explicit DialogTableView(HWND dialog) : dialog_(dialog), canvas_(PlotControl) {}

  ShortText ItemText(int id) override { return GetItemText(dialog_, id); }
  char SelectedLetter() override {
    const ShortText letter = ListSelectedText(dialog_, IDC_TABLE_VARIABLES);
    return letter.empty() ? 0 : letter[0];
  }
  void ClearRows(std::int32_t) override {
    // Thousands of rows: redraw once at the end, not after each of them (a
    // hundred times faster under Wine).
    rows_ = ItemWindow(dialog_, IDC_TABLE_ROWS);
    SendMessageW(rows_, WM_SETREDRAW, FALSE, 0);
    ListClear(dialog_, IDC_TABLE_ROWS);
  }
  // Straight to the list's window: under Wine every lookup of a control by
  // its id costs about as much as adding the row.
  void AddRow(std::string_view row) override {
    const std::wstring item = WideText(ShortText(row));
    SendMessageW(rows_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  void RowsDone() override {
    HWND rows = ItemWindow(dialog_, IDC_TABLE_ROWS);
    SendMessageW(rows, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(rows, nullptr, TRUE);
  }
  void ShowMessage(std::string_view caption, std::string_view text) override {
    MessageStyled(caption, text, MB_OK | MB_ICONEXCLAMATION);
  }
  PlotCanvas* Canvas() override { return &canvas_; }

 private:
  HWND dialog_;
  HWND rows_ = nullptr;  // list 100, taken when the rows are cleared
  GdiPlotCanvas canvas_;
};

// The letters of the formula the table was built for. The main window's
// may meanwhile be none ("Nueva", an edit, a refused formula) until another
// is accepted: the labels go on naming the table's own.
ShortText TableLetters;

// The table's letter i; empty past its letters.
ShortText Letter(int i) {
  if (i < 1 || i > static_cast<int>(TableLetters.size())) return ShortText();
  return ShortText(TableLetters.view().substr(i - 1, 1));
}

ShortText TableCaption() {
  ShortText caption = "tabla  ";
  for (int i = 1; i <= FormulaCount; ++i) {
    caption += "f";
    if (FormulaCount == 2) caption += static_cast<char>('0' + i);
    caption += ": ";
    caption += Formulas[i];
    caption += "  ";
  }
  return caption;
}

// The formula the open table was built for, told by its acceptance count.
std::uint32_t TableFormula = 0;

// What depends on the current formula: the caption, the variable list and
// the constant fields, the first letter running.
void BuildForFormula(HWND dialog) {
  TableFormula = AcceptedFormulas;
  TableLetters = ShortText(ParamNames.view().substr(0, ParamCount));
  SetWindowCaption(dialog, TableCaption());
  ListClear(dialog, IDC_TABLE_VARIABLES);
  for (int i = 1; i <= ParamCount; ++i) ListAdd(dialog, IDC_TABLE_VARIABLES, Letter(i));
  ListSelect(dialog, IDC_TABLE_VARIABLES, 1);
  for (int j = 1; j < ParamCount; ++j) {
    ShowItem(dialog, IDC_TABLE_LETTER1 - 1 + j);
    ShowItem(dialog, IDC_TABLE_CONST1 - 1 + j);
  }
  TableVariable = 1;
  ApplyVariable(dialog);
  // Shown with the constant fields of the formula the table was built for:
  // "Nueva" or an edit in the main window leaves those fields, and it, alone.
  if (ParamCount > 1) {
    ShowItem(dialog, IDC_TABLE_CONST_LABEL);
  } else {
    HideItem(dialog, IDC_TABLE_CONST_LABEL);
  }
}

void InitTable(HWND dialog) {
  // One brush for every opening: the colour never changes.
  if (!TableBackBrush) TableBackBrush = CreateSolidBrush(TableBackColour);
  TableWindow = dialog;
  FromField = ItemWindow(dialog, IDC_TABLE_FROM);
  ToField = ItemWindow(dialog, IDC_TABLE_TO);
  for (int id : {IDC_TABLE_FROM, IDC_TABLE_TO, IDC_TABLE_STEP, IDC_TABLE_CONST1, IDC_TABLE_CONST2,
                 IDC_TABLE_CONST3}) {
    LimitItemText(dialog, id, kItemTextMax);
  }
  BuildForFormula(dialog);
  PlotControl = ItemWindow(dialog, IDC_TABLE_PLOT);
  KeepPlot(PlotControl);
  // The dialog opens in the first constant, its value selected: typing goes
  // there at once and replaces it. With no constant, in "de".
  FocusItem(dialog, ItemWindow(dialog, ParamCount > 1 ? IDC_TABLE_CONST1 : IDC_TABLE_FROM));
  PlaceWindow(dialog, TablePlace);
}

// Enter is command 1 wherever the focus is: "de" passes it on to "a", "a"
// and the button compute, every other control ignores it.
void PressOk(HWND dialog) {
  HWND focus = GetFocus();
  if (focus == ItemWindow(dialog, IDOK) || (focus && focus == ToField)) {
    ComputeTableInDialog(dialog);
  } else if (focus && focus == FromField) {
    FocusItem(dialog, ToField);
  }
}

void ShowRowsMenu(HWND dialog, HWND list, LPARAM where) {
  POINT at{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
  if (where == static_cast<LPARAM>(-1)) {  // from the keyboard: at the list's corner
    RECT r{};
    GetWindowRect(list, &r);
    at = POINT{r.left, r.top};
  }
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, IDM_TABLE_COPY, L"Copiar");
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x,
                                    at.y, 0, dialog, nullptr);
  DestroyMenu(menu);
  if (chosen == IDM_TABLE_COPY) CopyTableRows(dialog);
}

INT_PTR Paint(WPARAM dc, COLORREF back, HBRUSH brush) {
  SetBkColor(reinterpret_cast<HDC>(dc), back);
  return reinterpret_cast<INT_PTR>(brush);
}

}  // namespace

void OpenTable() {
  if (ParamCount == 0) return;  // nothing could run
  if (TableWindow && IsWindow(TableWindow)) {
    BringForward(TableWindow);
    return;
  }
  DialogBoxParamW(GetModuleHandleW(nullptr), L"Taula", nullptr, &TableDialogProc, 0);
  TableWindow = nullptr;
  PlotControl = nullptr;
}

void ApplyVariable(HWND dialog) {
  SetItemText(dialog, IDC_TABLE_VAR_HEADER, Letter(TableVariable));
  ConstCount = 0;
  ConstLetters.Clear();
  for (int i = 1; i <= static_cast<int>(TableLetters.size()); ++i) {
    if (i == TableVariable) continue;
    const int j = ++ConstCount;
    ConstLetters += TableLetters[i - 1];
    SetItemText(dialog, IDC_TABLE_CONST1 - 1 + j, ConstTexts[i]);
    SetItemText(dialog, IDC_TABLE_LETTER1 - 1 + j, Letter(i));
    ShowItem(dialog, IDC_TABLE_CONST1 - 1 + j);
    ShowItem(dialog, IDC_TABLE_LETTER1 - 1 + j);
  }
  for (int j = ConstCount + 1; j <= 3; ++j) {
    HideItem(dialog, IDC_TABLE_CONST1 - 1 + j);
    HideItem(dialog, IDC_TABLE_LETTER1 - 1 + j);
  }
}

void TableFollowsFormula() {
  if (TableWindow && IsWindow(TableWindow) && TableFormula != AcceptedFormulas) {
    BuildForFormula(TableWindow);
  }
}

void ComputeTableInDialog(HWND dialog) {
  DialogTableView view(dialog);
  ComputeTable(view);
}

namespace {

// One block of the clipboard holding the bytes; false when it could not be set.
bool PutOnClipboard(UINT format, const void* bytes, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return false;
  void* p = GlobalLock(memory);
  if (!p) {
    GlobalFree(memory);
    return false;
  }
  memcpy(p, bytes, size);
  GlobalUnlock(memory);
  if (SetClipboardData(format, memory)) return true;
  GlobalFree(memory);
  return false;
}

}  // namespace

// Every row, read by its index (a list may hold 100 000, past any 16-bit
// position), as UTF-16 and as Windows-1252 text, so that every program that
// pastes reads the same characters whatever its code page.
void CopyTableRows(HWND dialog) {
  HWND list = ItemWindow(dialog, IDC_TABLE_ROWS);
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  const std::string text =
      CopyRowsText(count > 0 ? static_cast<std::int32_t>(count) : 0, [list](std::int32_t i) {
        // The table's own rows: at most 255 characters each.
        wchar_t row[ShortText::kMax + 1] = L"";
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length < 0 || length > static_cast<LRESULT>(ShortText::kMax)) return ShortText();
        const LRESULT copied = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
        return ShortText(Cp1252Text(std::wstring_view(row, copied > 0 ? copied : 0)));
      });
  const std::u16string wide = Cp1252ToUtf16(text);
  if (!OpenClipboard(dialog)) return;
  EmptyClipboard();
  PutOnClipboard(CF_TEXT, text.c_str(), text.size() + 1);
  PutOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
  CloseClipboard();
}

INT_PTR CALLBACK TableDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitTable(dialog);
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDOK) {
        PressOk(dialog);
      } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
      } else if (id == IDC_TABLE_VARIABLES && HIWORD(wParam) == LBN_SELCHANGE) {
        TableVariable = static_cast<std::uint8_t>(ListSelected(dialog, IDC_TABLE_VARIABLES));
        ApplyVariable(dialog);
      }
      return 0;
    }
    case WM_VKEYTOITEM:
      if (LOWORD(wParam) == 'C' && GetKeyState(VK_CONTROL) < 0 &&
          reinterpret_cast<HWND>(lParam) == ItemWindow(dialog, IDC_TABLE_ROWS)) {
        CopyTableRows(dialog);
        return -2;  // handled: the list does nothing more
      }
      return -1;  // the list's own handling of the key
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == ItemWindow(dialog, IDC_TABLE_ROWS)) {
        ShowRowsMenu(dialog, reinterpret_cast<HWND>(wParam), lParam);
      }
      return 0;
    case WM_DESTROY:
      RememberPlace(dialog, TablePlace);
      return 0;
    case WM_CTLCOLORLISTBOX:
      return FieldBrush ? Paint(wParam, kFieldBack, FieldBrush) : 0;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return Paint(wParam, TableBackColour, TableBackBrush);
    default:
      return 0;
  }
}
