#include "about/about_win.h"

#include <cstdlib>
#include <cstring>

#include "about/about_text.h"
#include "common/dialog_win.h"
#include "common/number_text.h"
#include "resources/ids.h"
#include "common/shared_font.h"
#include "common/text_at_win.h"

HWND AboutWindow = nullptr;
ShortText ProgYear;

namespace {

// The program file's name without folder and extension, as the window shows it.
ShortText ProgName;

constexpr COLORREF BackColour = RGB(255, 255, 178);
constexpr COLORREF DescrColour = RGB(220, 100, 0);
constexpr COLORREF TextColour = RGB(0, 100, 250);
constexpr char kClassName[] = "FerSobre";
constexpr char kIconName[] = "Ic0";

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

HINSTANCE Instance() {
  return GetModuleHandleA(nullptr);
}

void SetFace(const char* face) {
  std::strncpy(SharedFont.FaceName, face, sizeof SharedFont.FaceName - 1);
  SharedFont.FaceName[sizeof SharedFont.FaceName - 1] = '\0';
}

// The year of the last write, in local time, of the first plain entry of that name.
bool FileYear(const char* name, ShortText& year) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(name, &found);
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
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return ok;
}

ShortText ModuleFileName() {
  char path[255] = "";
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return ShortText(std::string_view(path, length < sizeof path ? length : 0));
}

// Loaded once for the process and kept: every paint draws it, and a load per
// paint made each opening of the window cost memory.
void DrawIconAt(HDC dc, int x, int y, const char* name) {
  static const HICON icon =
      static_cast<HICON>(LoadImageA(Instance(), name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  if (icon) DrawIcon(dc, x, y, icon);
}

// The shared font description is borrowed for the paint and given back, so
// the value table's plot keeps its own.
void Paint() {
  if (!CanvasDC) return;
  const FontDescription kept = SharedFont;
  SetFace("arial");
  SetFontSize(CanvasDC, 16, 6);
  SetFontWeight(CanvasDC, false);
  SetTextColor(CanvasDC, DescrColour);
  TextAt(CanvasDC, 20, 50, AboutDescription);
  SetTextColor(CanvasDC, TextColour);
  TextAt(CanvasDC, 66, 120, AuthorLine(ProgYear));
  TextAt(CanvasDC, 66, 134, WebLine());
  if (!AboutMail.empty()) TextAt(CanvasDC, 66, 150, ShortText("mail: ") + AboutMail);
  SetFace("Comic sans ms");
  SetFontWeight(CanvasDC, false);
  SetFontSize(CanvasDC, 36, 16);
  TextAt(CanvasDC, 60, 10, ProgName);
  // Covering and uncovering the window wipes the icon as well as the texts.
  DrawIconAt(CanvasDC, 134, 80, kIconName);
  SharedFont = kept;
}

void Initialise(HWND window) {
  ProgName = BaseName(ModuleFileName());
  // Started from another folder, the program's own file tells the year.
  if (!FileYear((ProgName + ".exe").c_str(), ProgYear) &&
      !FileYear(ModuleFileName().c_str(), ProgYear)) {
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
  WNDCLASSA c{};
  c.style = CS_HREDRAW | CS_VREDRAW;
  c.lpfnWndProc = AboutWindowProc;
  c.hInstance = Instance();
  c.hIcon = LoadIconA(Instance(), kIconName);
  c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  c.hbrBackground = BackBrush;
  c.lpszClassName = kClassName;
  if (RegisterClassA(&c)) return true;
  MessageBoxA(nullptr, "Register failed", nullptr, MB_OK);
  return false;
}

HWND BuildWindow() {
  if (!BackBrush) BackBrush = CreateSolidBrush(BackColour);
  if (!RegisterAboutClass()) return nullptr;
  HWND window = CreateWindowExA(0, kClassName, "", WS_POPUP | WS_CAPTION | WS_SYSMENU, 400, 200,
                                312, 240, nullptr, nullptr, Instance(), nullptr);
  if (!window) {
    MessageBoxA(nullptr, "CreaFSobre failed", nullptr, MB_OK);
    return nullptr;
  }
  AboutWindow = window;
  ShowWindow(window, SW_SHOWDEFAULT);
  UpdateWindow(window);
  CreateWindowExA(0, "BUTTON", "Vist", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 122, 180,
                  70, 24, window, reinterpret_cast<HMENU>(IDC_ABOUT_BUTTON), Instance(), nullptr);
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
  SendMessageA(window, WM_INITDIALOG, 0, 0);
  // The loop ends on the window's own end rather than on a quit message: a
  // quit message would also end a dialog opened meanwhile from the main window.
  MSG message;
  while (AboutOpen && GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (CallMsgFilterA(&message, OwnLoopFilterCode)) continue;  // the menu's shortcut keys
    // Esc and Enter on the button are the window's, as when it has the focus.
    if (IsClosingKey(message) && GetParent(message.hwnd) == window) message.hwnd = window;
    TranslateMessage(&message);
    DispatchMessageA(&message);
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
      PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
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
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_ABOUT_BUTTON || LOWORD(wParam) == IDCANCEL) {
        SendMessageA(window, WM_CLOSE, 0, 0);
      }
      break;
    case WM_KEYDOWN:
      // Enter is the button; Esc closes as it would a dialog. Handled here
      // rather than in the loop, so they work under another dialog's loop too.
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        SendMessageA(window, WM_COMMAND, wParam == VK_RETURN ? IDOK : IDCANCEL, 0);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void ShowAbout(std::string_view description) {
  // One window at a time: the canvas and the texts are the window's alone.
  if (AboutWindow) {
    SetForegroundWindow(AboutWindow);
    return;
  }
  RunAbout(description, kMakerMail);
}

void CloseAboutWindow() {
  if (AboutWindow) DestroyWindow(AboutWindow);
}
