// An in-memory dialog template (DLGTEMPLATE) for tests that need a dialog
// with a few controls but no resource script:
//
//   DialogTemplate t("Prueba", 200, 100);
//   t.Add(DialogTemplate::kEdit, 101, "", WS_BORDER | ES_AUTOHSCROLL, 5, 5, 100, 12);
//   HWND dialog = CreateDialogIndirectParamA(nullptr, t.Get(), nullptr, Proc, 0);
//
// Sizes are in dialog units. Every control gets WS_CHILD | WS_VISIBLE added.
// The id is a 16-bit word, as in a resource script: -1 is stored as 0xFFFF.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

class DialogTemplate {
 public:
  // Predefined control classes, as the template encodes them.
  static constexpr WORD kButton = 0x0080;
  static constexpr WORD kEdit = 0x0081;
  static constexpr WORD kStatic = 0x0082;
  static constexpr WORD kListBox = 0x0083;

  // A popup dialog with a caption and the "MS Shell Dlg" 8-point font.
  DialogTemplate(std::string_view title, short cx, short cy,
                 DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);

  DialogTemplate& Add(WORD controlClass, WORD id, std::string_view text, DWORD style, short x,
                      short y, short cx, short cy);

  // Valid until the next Add or the end of this object.
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void PutDword(DWORD value);
  void PutText(std::string_view text);
  void AlignToDword();

  std::vector<WORD> words_;
};
