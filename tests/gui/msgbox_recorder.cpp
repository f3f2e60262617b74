#include "tests/gui/msgbox_recorder.h"

#include <algorithm>
#include <array>

#include "common/codepage.h"

namespace {

constexpr int kMessageStaticId = 0xFFFF;

// The innermost recorder of this thread; a nested one shares the outer's hook.
thread_local MessageBoxRecorder* current = nullptr;

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

// Read wide: what the box shows, whatever the system's code page.
std::string TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
  return Cp1252Text(text);
}

// The procedure is Unicode inside the system, so ask with the W call: the A
// call would hand back a conversion thunk instead of the address.
bool HasSystemDialogProc(HWND window) {
  const auto proc = reinterpret_cast<LPCSTR>(GetWindowLongPtrW(window, DWLP_DLGPROC));
  HMODULE module = nullptr;
  if (proc == nullptr || !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                                 GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                             proc, &module)) {
    return false;
  }
  return module == GetModuleHandleA("user32.dll");
}

BOOL CALLBACK CollectChild(HWND child, LPARAM lParam) {
  auto* record = reinterpret_cast<MessageBoxRecord*>(lParam);
  const std::string cls = ClassOf(child);
  const LONG style = GetWindowLongA(child, GWL_STYLE);
  if (lstrcmpiA(cls.c_str(), "Button") == 0 && (style & WS_VISIBLE)) {
    record->buttons.push_back(static_cast<int>(GetWindowLongPtrA(child, GWLP_ID)));
  } else if (lstrcmpiA(cls.c_str(), "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
    // The icon static may exist without an icon in it.
    const auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    if (icon == nullptr) return TRUE;
    const std::array<std::pair<LPCSTR, BoxIcon>, 4> known = {{
        {IDI_HAND, BoxIcon::Error},
        {IDI_QUESTION, BoxIcon::Question},
        {IDI_EXCLAMATION, BoxIcon::Exclamation},
        {IDI_ASTERISK, BoxIcon::Information},
    }};
    record->icon = BoxIcon::Other;
    for (const auto& [id, kind] : known) {
      if (LoadIconA(nullptr, id) == icon) record->icon = kind;
    }
  }
  return TRUE;
}

}  // namespace

bool IsMessageBox(HWND window) {
  if (window == nullptr || ClassOf(window) != "#32770") return false;
  const HWND message = GetDlgItem(window, kMessageStaticId);
  return message != nullptr && lstrcmpiA(ClassOf(message).c_str(), "Static") == 0 &&
         HasSystemDialogProc(window);
}

bool MessageBoxRecord::HasButton(int id) const {
  return std::find(buttons.begin(), buttons.end(), id) != buttons.end();
}

int MessageBoxRecord::Style() const {
  struct Set {
    std::vector<int> ids;
    int style;
  };
  static const Set kSets[] = {
      {{IDOK}, MB_OK},
      {{IDOK, IDCANCEL}, MB_OKCANCEL},
      {{IDABORT, IDRETRY, IDIGNORE}, MB_ABORTRETRYIGNORE},
      {{IDCANCEL, IDYES, IDNO}, MB_YESNOCANCEL},
      {{IDYES, IDNO}, MB_YESNO},
      {{IDCANCEL, IDRETRY}, MB_RETRYCANCEL},
      {{IDCANCEL, IDTRYAGAIN, IDCONTINUE}, MB_CANCELTRYCONTINUE},
  };
  int iconStyle = 0;
  switch (icon) {
    case BoxIcon::Error:
      iconStyle = MB_ICONHAND;
      break;
    case BoxIcon::Question:
      iconStyle = MB_ICONQUESTION;
      break;
    case BoxIcon::Exclamation:
      iconStyle = MB_ICONEXCLAMATION;
      break;
    case BoxIcon::Information:
      iconStyle = MB_ICONASTERISK;
      break;
    case BoxIcon::None:
    case BoxIcon::Other:
      break;
  }
  for (const Set& set : kSets) {
    if (set.ids == buttons) return set.style | iconStyle;
  }
  return -1;
}

MessageBoxRecorder::MessageBoxRecorder() : outer_(current) {
  if (outer_ == nullptr) {
    hook_ = SetWindowsHookExA(WH_CBT, &HookProc, nullptr, GetCurrentThreadId());
  }
  current = this;
}

MessageBoxRecorder::~MessageBoxRecorder() {
  current = outer_;
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
}

void MessageBoxRecorder::Script(int button) {
  script_.push_back(button);
}

void MessageBoxRecorder::Clear() {
  boxes_.clear();
  script_.clear();
}

LRESULT CALLBACK MessageBoxRecorder::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  // HCBT_ACTIVATE also comes with no window when a box goes away.
  if (code == HCBT_ACTIVATE && current != nullptr) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (IsMessageBox(window)) current->Answer(window);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxRecorder::Answer(HWND box) {
  // A box can be activated again (its owner's focus moves, another box
  // closes); it was answered the first time. Closed handles may be reused.
  answered_.erase(
      std::remove_if(answered_.begin(), answered_.end(), [](HWND w) { return !IsWindow(w); }),
      answered_.end());
  if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) return;
  answered_.push_back(box);

  MessageBoxRecord record;
  record.caption = TextOf(box);
  record.text = TextOf(GetDlgItem(box, kMessageStaticId));
  record.owner = GetWindow(box, GW_OWNER);
  EnumChildWindows(box, &CollectChild, reinterpret_cast<LPARAM>(&record));
  std::sort(record.buttons.begin(), record.buttons.end());

  int answer = IDOK;
  if (!script_.empty()) {
    answer = script_.front();
    script_.pop_front();
  }
  if (!record.HasButton(answer) && !record.buttons.empty()) {
    answer = record.HasButton(IDCANCEL) ? IDCANCEL : record.buttons.back();
  }
  record.answer = answer;
  boxes_.push_back(record);
  if (observer_) observer_(record);

  PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}
