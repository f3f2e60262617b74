#include "tests/gui/dialog_driver.h"

#include <cstring>

#include "common/codepage.h"

DialogDriver::DialogDriver(const char* templateName, DLGPROC procedure, LPARAM parameter) {
  // Wide, as the program opens its dialogs: the template keeps its accents.
  dialog_ = CreateDialogParamW(GetModuleHandleW(nullptr), WideText(templateName).c_str(), nullptr,
                               procedure, parameter);
  if (!dialog_) return;
  ShowWindow(dialog_, SW_SHOW);
  SetForegroundWindow(dialog_);
  SetActiveWindow(dialog_);
  Pump();
}

DialogDriver::~DialogDriver() {
  if (dialog_ && IsWindow(dialog_)) DestroyWindow(dialog_);
  Pump();
}

void DialogDriver::Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (dialog_ && IsWindow(dialog_) && IsDialogMessageW(dialog_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void DialogDriver::Type(int id, std::string_view text) {
  SetDlgItemTextW(dialog_, id, WideText(text).c_str());
  Pump();
}

void DialogDriver::Focus(int id) {
  SetFocus(Item(id));
  Pump();
}

void DialogDriver::PressKey(UINT virtualKey) {
  HWND target = GetFocus();
  if (!target) target = dialog_;
  const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
  Pump();
}

void DialogDriver::PressKey(UINT virtualKey, UINT heldKey) {
  BYTE keys[256];
  GetKeyboardState(keys);
  BYTE held[256];
  memcpy(held, keys, sizeof held);
  held[heldKey] = 0x80;
  SetKeyboardState(held);
  PressKey(virtualKey);
  SetKeyboardState(keys);
}

void DialogDriver::Click(int id) {
  SendMessageW(Item(id), BM_CLICK, 0, 0);
  Pump();
}

void DialogDriver::MenuCommand(int id) {
  SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  Pump();
}

void SelectInList(HWND dialog, int list, int index, int notification) {
  HWND box = GetDlgItem(dialog, list);
  SendMessageW(box, LB_SETCURSEL, index, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(list, notification), reinterpret_cast<LPARAM>(box));
}

std::string WindowText(HWND window) {
  wchar_t buffer[1024] = L"";
  GetWindowTextW(window, buffer, 1024);
  return Cp1252Text(buffer);
}

std::string ListLineText(HWND list, int index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
  if (length < 0) return "";
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  return Cp1252Text(std::wstring_view(text.data(), got > 0 ? got : 0));
}

std::string MenuText(HMENU menu, int position) {
  wchar_t text[300] = L"";
  GetMenuStringW(menu, position, text, 300, MF_BYPOSITION);
  return Cp1252Text(text);
}

std::string DialogDriver::Text(int id) const {
  return WindowText(Item(id));
}

bool DialogDriver::Visible(int id) const {
  return IsWindowVisible(Item(id)) != FALSE;
}

bool DialogDriver::Enabled(int id) const {
  return IsWindowEnabled(Item(id)) != FALSE;
}

bool DialogDriver::Focused(int id) const {
  HWND item = Item(id);
  return item && GetFocus() == item;
}

int DialogDriver::FocusedId() const {
  HWND focus = GetFocus();
  if (!focus || GetParent(focus) != dialog_) return -1;
  return GetDlgCtrlID(focus);
}

bool DialogDriver::AllSelected(int id) const {
  DWORD start = 1, end = 0;
  SendMessageW(Item(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  const LRESULT length = GetWindowTextLengthW(Item(id));
  return length > 0 && start == 0 && end == static_cast<DWORD>(length);
}

bool DialogDriver::MenuItemGrayed(int command) const {
  const UINT state = GetMenuState(GetMenu(dialog_), command, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_GRAYED) != 0;
}

std::string DialogDriver::MenuItemText(int command) const {
  wchar_t buffer[256] = L"";
  GetMenuStringW(GetMenu(dialog_), command, buffer, 256, MF_BYCOMMAND);
  return Cp1252Text(buffer);
}

RECT DialogDriver::ItemRect(int id) const {
  RECT r{};
  GetWindowRect(Item(id), &r);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT DialogDriver::Pixels(int x, int y, int width, int height) const {
  // The dialog manager converts the size on its own, not the far corner.
  RECT r{x, y, width, height};
  MapDialogRect(dialog_, &r);
  return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

void SendRealKey(WORD virtualKey) {
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = virtualKey;
    key.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

namespace {

double MsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart;
}

}  // namespace

AnswerWatch::AnswerWatch(HWND window) : window_(window) {
  thread_ = std::thread([this] {
    while (!done_) {
      LARGE_INTEGER sent;
      QueryPerformanceCounter(&sent);
      DWORD_PTR result = 0;
      // Unanswered after a second, it counts as that slow.
      if (SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result)) ++answers_;
      const double ms = MsSince(sent);
      if (ms > slowestMs_) slowestMs_ = ms;
      Sleep(5);
    }
  });
}

AnswerWatch::~AnswerWatch() {
  done_ = true;
  thread_.join();
}

TimedSteps* TimedSteps::current_ = nullptr;

TimedSteps::~TimedSteps() {
  if (timer_) KillTimer(nullptr, timer_);
  if (current_ == this) current_ = nullptr;
}

void TimedSteps::Start() {
  current_ = this;
  QueryPerformanceCounter(&start_);
  timer_ = SetTimer(nullptr, 0, 10, &TimedSteps::Tick);
}

double TimedSteps::Now() const {
  return MsSince(start_);
}

bool TimedSteps::AllRun() const {
  for (const Step& step : steps_) {
    if (!step.done) return false;
  }
  return true;
}

void CALLBACK TimedSteps::Tick(HWND, UINT, UINT_PTR, DWORD) {
  TimedSteps* self = current_;
  if (!self) return;
  const double now = self->Now();
  for (Step& step : self->steps_) {
    if (step.done || now < step.ms) continue;
    step.done = true;  // before it runs: a step may pump the queue itself
    step.run();
    return;  // one step a tick, so each sees what the loop did after the one before
  }
}
