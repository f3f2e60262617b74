#include "table/table_dialog_win.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/dialog_win.h"
#include "common/field_brush_win.h"
#include "common/language.h"
#include "common/late_call_win.h"
#include "common/long_work_win.h"
#include "common/number_text.h"
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

constexpr Wording kStopButton = {{"Parar", "Stop", "Parar"}};
constexpr Wording kStoppedAt = {{"Aturat: ", "Stopped: ", "Parado: "}};
constexpr Wording kRowsOf = {{" de ", " of ", " de "}};
constexpr Wording kRows = {{" files", " rows", " filas"}};

// The table's own work, not one of the main window that runs while it is open.
bool TableComputing = false;

// A control made by code where the template has room, in the dialog's font.
HWND MakeControl(HWND dialog, int id, const wchar_t* kind, std::string_view text, DWORD style,
                 int x, int y, int width, int height) {
  RECT r{x, y, width, height};  // the size is converted on its own, as the dialog manager does
  MapDialogRect(dialog, &r);
  HWND control = CreateWindowExW(
      0, kind, WideText(text).c_str(), WS_CHILD | style, r.left, r.top, r.right, r.bottom, dialog,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
  return control;
}

// The progress bar is a common control: its library is loaded only for a
// table that takes long.
HWND MakeProgressBar(HWND dialog) {
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static const Init init = LateFunction<Init>(L"comctl32.dll", "InitCommonControlsEx");
  if (init) {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    init(&classes);
  }
  return MakeControl(dialog, IDC_TABLE_PROGRESS, PROGRESS_CLASSW, "", 0, 195, 20, 60, 8);
}

// While the rows are computed the fields and Ok are grey; past half a
// second a progress bar (rows done of rows asked) and "Parar" show.
class TableProgress final : public LongWorkShow {
 public:
  explicit TableProgress(HWND dialog) : dialog_(dialog) {}

  void Freeze() override {
    // Keys then go to the dialog itself: Esc stops, Enter presses the grey Ok.
    HWND focus = GetFocus();
    if (focus && IsChild(dialog_, focus)) SetFocus(dialog_);
    for (int id : kFrozen) {
      HWND item = ItemWindow(dialog_, id);
      if (item && IsWindowEnabled(item)) {
        EnableWindow(item, FALSE);
        frozen_.push_back(item);
      }
    }
  }
  void ShowProgress(std::int32_t done, std::int32_t asked) override {
    HWND bar = ItemWindow(dialog_, IDC_TABLE_PROGRESS);
    if (!bar) bar = MakeProgressBar(dialog_);
    if (!ItemWindow(dialog_, IDC_TABLE_STOP)) {
      MakeControl(dialog_, IDC_TABLE_STOP, L"BUTTON", kStopButton.Get(), WS_TABSTOP | BS_PUSHBUTTON,
                  195, 31, 30, 12);
    }
    SendMessageW(bar, PBM_SETRANGE32, 0, asked);
    SendMessageW(bar, PBM_SETPOS, done, 0);
    SetItemVisible(dialog_, IDC_TABLE_PROGRESS, true);
    SetItemVisible(dialog_, IDC_TABLE_STOP, true);
  }
  void Thaw() override {
    SetItemVisible(dialog_, IDC_TABLE_PROGRESS, false);
    SetItemVisible(dialog_, IDC_TABLE_STOP, false);
    for (HWND item : frozen_) EnableWindow(item, TRUE);
  }

 private:
  static constexpr int kFrozen[] = {
      IDC_TABLE_VARIABLES, IDC_TABLE_FROM,   IDC_TABLE_TO,     IDC_TABLE_STEP,
      IDC_TABLE_CONST1,    IDC_TABLE_CONST2, IDC_TABLE_CONST3, IDOK};
  HWND dialog_;
  std::vector<HWND> frozen_;
};

// The one line under the headers that says how far a stopped table got.
void ShowTableStatus(HWND dialog, std::string_view text) {
  if (!ItemWindow(dialog, IDC_TABLE_STATUS)) {
    if (text.empty()) return;
    MakeControl(dialog, IDC_TABLE_STATUS, L"STATIC", "", SS_LEFT, 110, 44, 140, 8);
  }
  SetItemText(dialog, IDC_TABLE_STATUS, text);
  SetItemVisible(dialog, IDC_TABLE_STATUS, !text.empty());
}

// The dialog's controls as the table computation sees them. The rows are
// kept as they come and listed at the end, all at once.
class DialogTableView final : public TableView {
 public:
  DialogTableView(HWND dialog, LongWork& work)
      : dialog_(dialog), work_(work), canvas_(PlotControl) {}

  ShortText ItemText(int id) override { return GetItemText(dialog_, id); }
  char SelectedLetter() override {
    const ShortText letter = ListSelectedText(dialog_, IDC_TABLE_VARIABLES);
    return letter.empty() ? 0 : letter[0];
  }
  void ClearRows(std::int32_t rowsToCome) override {
    cleared_ = true;
    rowStarts_.reserve(static_cast<std::size_t>(rowsToCome));
    rowsText_.reserve(static_cast<std::size_t>(rowsToCome) * kUsualRow);
  }
  // One buffer for all the rows, each ended by a zero: no allocation a row.
  void AddRow(std::string_view row) override {
    rowStarts_.push_back(rowsText_.size());
    AppendWideText(rowsText_, ShortText(row).view());
    rowsText_ += L'\0';
  }
  bool GoOn(std::int32_t done, std::int32_t asked) override { return work_.GoOn(done, asked); }
  void RowsDone(std::int32_t listed, std::int32_t asked) override {
    if (cleared_) ListRows();
    if (listed < asked) {
      ShowTableStatus(dialog_, ShortText(kStoppedAt.Get()) + IntegerText(listed) + kRowsOf.Get() +
                                   IntegerText(asked) + kRows.Get());
    }
  }
  void ShowMessage(std::string_view caption, std::string_view text) override {
    MessageStyled(caption, text, MB_OK | MB_ICONEXCLAMATION);
  }
  PlotCanvas* Canvas() override { return &canvas_; }

 private:
  // Thousands of rows: redraw once at the end, not after each of them (a
  // hundred times faster under Wine), with room for all of them made first.
  // Straight to the list's window: under Wine every lookup of a control by
  // its id costs about as much as adding the row.
  void ListRows() {
    HWND list = ItemWindow(dialog_, IDC_TABLE_ROWS);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    SendMessageW(list, LB_INITSTORAGE, rowStarts_.size(), rowsText_.size() * sizeof(wchar_t));
    for (std::size_t start : rowStarts_) {
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rowsText_.data() + start));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
  }

  HWND dialog_;
  LongWork& work_;
  static constexpr std::size_t kUsualRow = 32;  // characters of a row of two values, and its end
  std::wstring rowsText_;
  std::vector<std::size_t> rowStarts_;
  bool cleared_ = false;
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
  if (LongWork::Running()) return;  // one computation at a time
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
  if (LongWork::Running()) return;
  ShowTableStatus(dialog, "");
  TableProgress show(dialog);
  LongWork work(&show);
  TableComputing = true;
  {
    DialogTableView view(dialog, work);
    ComputeTable(view);
  }
  TableComputing = false;
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
        wchar_t row[ShortText::kMax + 1];
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length < 0 || length > static_cast<LRESULT>(ShortText::kMax)) return ShortText();
        const LRESULT copied = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
        const std::wstring_view wide(row, copied > 0 ? copied : 0);
        // Digits, signs and blanks, character for character; no text a row.
        ShortText text;
        for (wchar_t c : wide) {
          if (c >= 0x80) return ShortText(Cp1252Text(wide));
          text += static_cast<char>(c);
        }
        return text;
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
        // The close box while the rows are computed: the table closes once stopped.
        if (!TableComputing) {
          EndDialog(dialog, 0);
        } else if (LongWork::AskToStop()) {
          PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
      } else if (id == IDC_TABLE_STOP) {
        LongWork::Stop();
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
