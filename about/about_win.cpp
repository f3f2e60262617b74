#include "about/about_win.h"

#include <cstdlib>
#include <cstring>

#include "about/about_text.h"
#include "common/codepage.h"
#include "common/dialog_win.h"
#include "common/dpi_win.h"
#include "common/number_text.h"
#include "common/shared_font.h"
#include "common/text_at_win.h"
#include "resources/ids.h"

HWND AboutWindow = nullptr;
ShortText ProgYear;

namespace {

// The program file's name without folder and extension, as the window shows it.
ShortText ProgName;

constexpr COLORREF BackColour = RGB(255, 255, 178);
constexpr COLORREF DescrColour = RGB(220, 100, 0);
constexpr COLORREF TextColour = RGB(0, 100, 250);
constexpr wchar_t kClassName[] = L"FerSobre";
constexpr wchar_t kIconName[] = L"Ic0";

ShortText AboutDescription;
ShortText AboutMail;
bool PaintEnabled = false;
bool ClassRegistered = false;
HBRUSH BackBrush = nullptr;
// The window's device context, held while it is open; every text is drawn
// through it.
HDC CanvasDC = nullptr;
// True while the loop of the open window should go on.
bool AboutOpen = false;
// The window's dots per inch: every place, size and font below is made for
// 96 and scaled by it.
int AboutDpi = kBaseDpi;

int Scaled(int pixels) {
  return ScaleForDpi(pixels, AboutDpi);
}

// The window's outer place and size, and its button's.
constexpr RECT kWindowPlace = {400, 200, 400 + 312, 200 + 240};
constexpr RECT kButtonPlace = {122, 180, 122 + 70, 180 + 24};

HINSTANCE Instance() {
  return GetModuleHandleW(nullptr);
}

void SetFace(const char* face) {
  std::strncpy(SharedFont.FaceName, face, sizeof SharedFont.FaceName - 1);
  SharedFont.FaceName[sizeof SharedFont.FaceName - 1] = '\0';
}

// The year of the last write, in local time, of the first plain entry of that name.
bool FileYear(const std::wstring& name, ShortText& year) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(name.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool ok = false;
  do {
    if (found.dwFileAttributes &
        (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY)) {
      continue;
    }
    FILETIME local;
    SYSTEMTIME time;
    ok = FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) &&
         FileTimeToSystemTime(&local, &time);
    if (ok) year = IntegerText(time.wYear);
    break;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return ok;
}

// As the system names it: a folder whose name Windows-1252 cannot hold
// (a user's folder under another code page) is still found by it.
std::wstring ModuleFileName() {
  wchar_t path[MAX_PATH] = L"";
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, length < MAX_PATH ? length : 0);
}

// The file's own name, as the window shows it (a letter 1252 lacks as "?").
ShortText ModuleName(const std::wstring& path) {
  return BaseName(Cp1252Text(std::wstring_view(path).substr(path.find_last_of(L"\\/") + 1)));
}

// Kept for as long as its size serves: every paint draws it, and a load per
// paint made each opening of the window cost memory.
void DrawIconAt(HDC dc, int x, int y, const wchar_t* name) {
  static HICON icon = nullptr;
  static int iconSize = 0;
  const int size = Scaled(32);  // the icon's size at 96 dots per inch
  if (!icon || iconSize != size) {
    if (icon) DestroyIcon(icon);
    icon = static_cast<HICON>(LoadImageW(Instance(), name, IMAGE_ICON, size, size, 0));
    iconSize = size;
  }
  if (icon) DrawIconEx(dc, Scaled(x), Scaled(y), icon, size, size, 0, nullptr, DI_NORMAL);
}

// The shared font description is borrowed for the paint and given back, so
// the value table's plot keeps its own.
void Paint() {
  if (!CanvasDC) return;
  const FontDescription kept = SharedFont;
  SetFace("arial");
  SetFontSize(CanvasDC, Scaled(16), Scaled(6));
  SetFontWeight(CanvasDC, false);
  SetTextColor(CanvasDC, DescrColour);
  TextAt(CanvasDC, Scaled(20), Scaled(50), AboutDescription);
  SetTextColor(CanvasDC, TextColour);
  TextAt(CanvasDC, Scaled(66), Scaled(120), AuthorLine(ProgYear));
  TextAt(CanvasDC, Scaled(66), Scaled(134), WebLine());
  if (!AboutMail.empty()) {
    TextAt(CanvasDC, Scaled(66), Scaled(150), ShortText("mail: ") + AboutMail);
  }
  SetFace("Comic sans ms");
  SetFontWeight(CanvasDC, false);
  SetFontSize(CanvasDC, Scaled(36), Scaled(16));
  TextAt(CanvasDC, Scaled(60), Scaled(10), ProgName);
  // Covering and uncovering the window wipes the icon as well as the texts.
  DrawIconAt(CanvasDC, 134, 80, kIconName);
  SharedFont = kept;
}

void Initialise(HWND window) {
  const std::wstring module = ModuleFileName();
  ProgName = ModuleName(module);
  // Started from another folder, the program's own file tells the year.
  if (!FileYear(WideText(ProgName + ".exe"), ProgYear) && !FileYear(module, ProgYear)) {
    ProgYear.Clear();
  }
  SetWindowCaption(window, AboutCaption(ProgName));
  Paint();
  SetItemText(window, IDC_ABOUT_BUTTON, AboutButtonText(std::rand() % kAboutButtonTexts));
  PaintEnabled = true;
}

void OpenCanvas(HWND window) {
  CanvasDC = GetDC(window);
  SetBkColor(CanvasDC, BackColour);
  SetTextColor(CanvasDC, TextColour);
}

void CloseCanvas(HWND window) {
  if (!CanvasDC) return;
  // The last font made for the canvas is still selected; put the stock one
  // back so that it can go.
  HGDIOBJ last = SelectObject(CanvasDC, GetStockObject(SYSTEM_FONT));
  if (last) DeleteObject(last);
  ReleaseDC(window, CanvasDC);
  CanvasDC = nullptr;
}

LRESULT CALLBACK AboutWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool RegisterAboutClass() {
  if (ClassRegistered) return true;
  ClassRegistered = true;
  WNDCLASSW c{};
  c.style = CS_HREDRAW | CS_VREDRAW;
  c.lpfnWndProc = AboutWindowProc;
  c.hInstance = Instance();
  c.hIcon = LoadIconW(Instance(), kIconName);
  c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  c.hbrBackground = BackBrush;
  c.lpszClassName = kClassName;
  if (RegisterClassW(&c)) return true;
  MessageBoxW(nullptr, L"Register failed", nullptr, MB_OK);
  return false;
}

// The corner and the size each scaled, so that the size is exactly the scaled one.
RECT ScaledPlace(const RECT& place) {
  const LONG left = Scaled(place.left), top = Scaled(place.top);
  return RECT{left, top, left + Scaled(place.right - place.left),
              top + Scaled(place.bottom - place.top)};
}

void MoveButton(HWND window) {
  const RECT b = ScaledPlace(kButtonPlace);
  MoveWindow(GetDlgItem(window, IDC_ABOUT_BUTTON), b.left, b.top, b.right - b.left,
             b.bottom - b.top, TRUE);
}

// Another monitor, another scale: the place the system proposes, and the
// button and the texts drawn again at the new scale.
void ChangeDpi(HWND window, int dpi, const RECT& proposed) {
  AboutDpi = dpi;
  SetWindowPos(window, nullptr, proposed.left, proposed.top, proposed.right - proposed.left,
               proposed.bottom - proposed.top, SWP_NOZORDER | SWP_NOACTIVATE);
  MoveButton(window);
  InvalidateRect(window, nullptr, TRUE);
}

HWND BuildWindow() {
  if (!BackBrush) BackBrush = CreateSolidBrush(BackColour);
  if (!RegisterAboutClass()) return nullptr;
  // Placed at the screen's scale; on a monitor of another one, made again
  // for that one before it shows.
  AboutDpi = WindowDpi(nullptr);
  RECT w = ScaledPlace(kWindowPlace);
  HWND window =
      CreateWindowExW(0, kClassName, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU, w.left, w.top,
                      w.right - w.left, w.bottom - w.top, nullptr, nullptr, Instance(), nullptr);
  if (!window) {
    MessageBoxW(nullptr, L"CreaFSobre failed", nullptr, MB_OK);
    return nullptr;
  }
  if (WindowDpi(window) != AboutDpi) {
    AboutDpi = WindowDpi(window);
    w = ScaledPlace(kWindowPlace);
    SetWindowPos(window, nullptr, w.left, w.top, w.right - w.left, w.bottom - w.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  AboutWindow = window;
  ShowWindow(window, SW_SHOWDEFAULT);
  UpdateWindow(window);
  CreateWindowExW(0, L"BUTTON", L"Vist", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0,
                  0, 0, window, reinterpret_cast<HMENU>(IDC_ABOUT_BUTTON), Instance(), nullptr);
  MoveButton(window);
  OpenCanvas(window);
  return window;
}

bool IsClosingKey(const MSG& message) {
  return message.message == WM_KEYDOWN &&
         (message.wParam == VK_ESCAPE || message.wParam == VK_RETURN);
}

// Opens the window with the maker's mail address and returns when it has
// been closed.
void RunAbout(std::string_view description, std::string_view mail) {
  std::srand(GetTickCount());
  PaintEnabled = false;
  AboutDescription = description;
  AboutMail = mail;
  HWND window = BuildWindow();
  if (!window) return;
  AboutOpen = true;
  SendMessageW(window, WM_INITDIALOG, 0, 0);
  // The loop ends on the window's own end rather than on a quit message: a
  // quit message would also end a dialog opened meanwhile from the main window.
  MSG message;
  while (AboutOpen && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (CallMsgFilterW(&message, OwnLoopFilterCode)) continue;  // the menu's shortcut keys
    // Esc and Enter on the button are the window's, as when it has the focus.
    if (IsClosingKey(message) && GetParent(message.hwnd) == window) message.hwnd = window;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

LRESULT CALLBACK AboutWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      CloseCanvas(window);
      PaintEnabled = false;
      AboutWindow = nullptr;
      AboutOpen = false;
      // Wakes the loop, which then sees the window gone.
      PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
      return 0;
    case WM_PAINT: {
      // The background is erased first, so the texts land on it, not under it.
      PAINTSTRUCT ps;
      BeginPaint(window, &ps);
      if (PaintEnabled) Paint();
      EndPaint(window, &ps);
      return 0;
    }
    case WM_INITDIALOG:
      Initialise(window);
      break;
    case WM_DPICHANGED:
      ChangeDpi(window, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_ABOUT_BUTTON || LOWORD(wParam) == IDCANCEL) {
        SendMessageW(window, WM_CLOSE, 0, 0);
      }
      break;
    case WM_KEYDOWN:
      // Enter is the button; Esc closes as it would a dialog. Handled here
      // rather than in the loop, so they work under another dialog's loop too.
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        SendMessageW(window, WM_COMMAND, wParam == VK_RETURN ? IDOK : IDCANCEL, 0);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void ShowAbout(std::string_view description) {
  // One window at a time: the canvas and the texts are the window's alone.
  if (AboutWindow) {
    BringForward(AboutWindow);
    return;
  }
  RunAbout(description, kMakerMail);
}

void CloseAboutWindow() {
  if (AboutWindow) DestroyWindow(AboutWindow);
}
