#include "tests/gui/gui_objects.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace {

// One entry of the GDI handle table that Wine keeps for the process and
// publishes in the PEB, as on 64-bit Windows: the same 24 bytes in 32 and
// 64-bit processes.
struct GdiHandleEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint8_t extType;  // bit 7: a stock object
  std::uint8_t generation;
  std::uint8_t type;  // 0 once the object is deleted
  std::uint8_t flags;
  std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr int kGdiHandles = 0x10000;

// PEB.GdiSharedHandleTable.
constexpr std::size_t kPebGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

const GdiHandleEntry* GdiTable() {
  // ProcessBasicInformation: the exit status, then the PEB's address.
  struct BasicInformation {
    LONG_PTR exitStatus;
    const std::uint8_t* peb;
    ULONG_PTR rest[4];
  } info{};
  using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  if (!query || query(GetCurrentProcess(), 0, &info, sizeof info, nullptr) != 0 || !info.peb) {
    return nullptr;
  }
  return *reinterpret_cast<const GdiHandleEntry* const*>(info.peb + kPebGdiTableOffset);
}

int CountGdiInTable() {
  const GdiHandleEntry* table = GdiTable();
  if (!table) return 0;
  int count = 0;
  for (int i = 0; i < kGdiHandles; ++i) {
    count += table[i].type != 0 && (table[i].extType & 0x80) == 0;
  }
  return count;
}

// Wine numbers USER objects 0x20 + 2 * index, with a generation in the high
// word that may be left 0 to match any. Each probe below answers only for an
// object of this process and of its own kind, without asking the server.
constexpr UINT_PTR kFirstUserHandle = 0x20;
constexpr UINT_PTR kLastUserHandle = 0xffef;

bool IsOwnWindow(HANDLE h) {
  // Another process's window has no window procedure here.
  return GetWindowLongPtrA(static_cast<HWND>(h), GWLP_WNDPROC) != 0;
}

bool IsOwnIcon(HANDLE h) {
  ICONINFO info{};
  if (!GetIconInfo(static_cast<HICON>(h), &info)) return false;
  // The copies of its bitmaps are the caller's; they must not be counted.
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return true;
}

int CountUserByProbing() {
  const HWND desktop = GetDesktopWindow();
  int count = 0;
  for (UINT_PTR value = kFirstUserHandle; value <= kLastUserHandle; value += 2) {
    HANDLE h = reinterpret_cast<HANDLE>(value);
    if (LOWORD(reinterpret_cast<UINT_PTR>(desktop)) == value) continue;
    count += IsOwnWindow(h) || IsMenu(static_cast<HMENU>(h)) ||
             CopyAcceleratorTableA(static_cast<HACCEL>(h), nullptr, 0) > 0 || IsOwnIcon(h);
  }
  return count;
}

bool UnderWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

}  // namespace

GuiObjectCount CountGuiObjects() {
  if (!UnderWine()) {
    return {static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
            static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))};
  }
  // USER first: its icon probe makes and deletes bitmaps.
  const int user = CountUserByProbing();
  return {CountGdiInTable(), user};
}
