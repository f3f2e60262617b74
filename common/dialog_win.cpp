#include "common/dialog_win.h"

#include <string>

#include "common/codepage.h"

namespace {

// The owner is looked up at each call: whichever window is active now
// (none is fine) is disabled while the box is open.
int ShowBox(std::string_view caption, std::string_view text, UINT style) {
  const std::wstring cutCaption = WideText(ShortText(caption));
  const std::wstring cutText = WideText(ShortText(text));
  return MessageBoxW(GetActiveWindow(), cutText.c_str(), cutCaption.c_str(), style);
}

bool UnderWine() {
  static const bool wine =
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

LRESULT SendToList(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendDlgItemMessageW(dialog, id, message, wParam, lParam);
}

// Positions count from 1; position 0 becomes index -1, which every list
// message refuses.
WPARAM ListIndex(std::uint16_t position) {
  return static_cast<WPARAM>(static_cast<int>(position) - 1);
}

}  // namespace

int MessageOk(std::string_view caption, std::string_view text) {
  return ShowBox(caption, text, MB_OK);
}

int MessageStyled(std::string_view caption, std::string_view text, std::uint32_t style) {
  return ShowBox(caption, text, style);
}

int AskYesNo(std::string_view caption, std::string_view text) {
  return ShowBox(caption, text, MB_YESNO);
}

int AskYesNoStyled(std::string_view caption, std::string_view text, std::uint32_t style) {
  return ShowBox(caption, text, style | MB_YESNO);
}

int AskYesNoCancel(std::string_view caption, std::string_view text) {
  return ShowBox(caption, text, MB_YESNOCANCEL);
}

void LimitItemText(HWND dialog, int id, std::size_t limit) {
  SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, limit, 0);
}

void SetWindowCaption(HWND window, std::string_view text) {
  SetWindowTextW(window, WideText(ShortText(text)).c_str());
}

void SetItemText(HWND dialog, int id, std::string_view text) {
  SetDlgItemTextW(dialog, id, WideText(ShortText(text)).c_str());
}

ShortText GetItemText(HWND dialog, int id) {
  wchar_t buffer[kItemTextMax + 1];
  buffer[0] = L'\0';
  const UINT length = GetDlgItemTextW(dialog, id, buffer, kItemTextMax + 1);
  return ShortText(Cp1252Text(std::wstring_view(buffer, length <= kItemTextMax ? length : 0)));
}

ShortText TakeItemText(HWND dialog, int id) {
  ShortText text = GetItemText(dialog, id);
  SetItemText(dialog, id, "");
  return text;
}

HWND ItemWindow(HWND dialog, int id) {
  return GetDlgItem(dialog, id);
}

void FocusItem(HWND dialog, HWND control) {
  if (control) SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void BringForward(HWND window) {
  if (!window || !IsWindow(window)) return;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window);
  if (UnderWine()) {
    // Wine (8) leaves activation to the desktop's window manager and asks
    // it only when a window maps: the window above keeps the manager's
    // focus otherwise. Shown anew, the window is activated by the manager.
    ShowWindow(window, SW_HIDE);
    ShowWindow(window, SW_SHOW);
  }
}

void ShowItem(HWND dialog, int id) {
  ShowWindow(ItemWindow(dialog, id), SW_SHOW);
}

void HideItem(HWND dialog, int id) {
  ShowWindow(ItemWindow(dialog, id), SW_HIDE);
}

void SetItemVisible(HWND dialog, int id, bool visible) {
  HWND item = ItemWindow(dialog, id);
  if (item && (IsWindowVisible(item) != FALSE) != visible) {
    ShowWindow(item, visible ? SW_SHOW : SW_HIDE);
  }
}

void ListClear(HWND dialog, int id) {
  SendToList(dialog, id, LB_RESETCONTENT, 0, 0);
}

void ListAdd(HWND dialog, int id, std::string_view text) {
  const std::wstring item = WideText(ShortText(text));
  SendToList(dialog, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ListDelete(HWND dialog, int id, std::uint16_t position) {
  SendToList(dialog, id, LB_DELETESTRING, ListIndex(position), 0);
}

void ListSelect(HWND dialog, int id, std::uint16_t position) {
  SendToList(dialog, id, LB_SETCURSEL, ListIndex(position), 0);
}

std::uint16_t ListSelected(HWND dialog, int id) {
  const LRESULT index = SendToList(dialog, id, LB_GETCURSEL, 0, 0);
  return index < 0 ? 0 : static_cast<std::uint16_t>(index + 1);
}

ShortText ListItemText(HWND dialog, int id, std::uint16_t position) {
  const WPARAM index = ListIndex(position);
  // Items added here hold at most 255 characters, but a list filled by a
  // direct LB_ADDSTRING could hold more: never let LB_GETTEXT overrun.
  const LRESULT length = SendToList(dialog, id, LB_GETTEXTLEN, index, 0);
  if (length < 0) return ShortText();
  if (length <= 255) {
    wchar_t buffer[256];
    buffer[0] = L'\0';
    const LRESULT copied =
        SendToList(dialog, id, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer));
    return copied < 0 ? ShortText() : ShortText(Cp1252Text(std::wstring_view(buffer, copied)));
  }
  std::wstring longer(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendToList(dialog, id, LB_GETTEXT, index, reinterpret_cast<LPARAM>(longer.data()));
  return copied < 0 ? ShortText() : ShortText(Cp1252Text(std::wstring_view(longer.data(), copied)));
}

ShortText ListSelectedText(HWND dialog, int id) {
  return ListItemText(dialog, id, ListSelected(dialog, id));
}
