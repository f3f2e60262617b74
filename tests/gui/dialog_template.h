// An in-memory dialog template (DLGTEMPLATE) for tests that need a dialog
// with a few controls but no resource script:
//
//   DialogTemplate t("Prueba", 200, 100);
//   t.Add(DialogTemplate::kEdit, 101, "", WS_BORDER | ES_AUTOHSCROLL, 5, 5, 100, 12);
//   HWND dialog = CreateDialogIndirectParamA(nullptr, t.Get(), nullptr, Proc, 0);
//
// Sizes are in dialog units. Every control gets WS_CHILD | WS_VISIBLE added.
// The id is a 16-bit word, as in a resource script: -1 is stored as 0xFFFF.
//
// ExpectTemplateControls checks a dialog opened from the program's own
// template against a table of the controls a person should find in it.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>
#include <vector>

#include "tests/gui/dialog_driver.h"

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

// One control as the template places it and the dialog shows it.
struct TemplateControl {
  int id;
  const char* className;
  const char* text;         // nullptr: not compared
  int x, y, width, height;  // dialog units
  DWORD styles;             // the low word and WS_TABSTOP
  bool border = false;      // WS_BORDER, or the client edge an edit may take instead
  bool visible = true;
};

// Expects exactly these controls, in this order: id, class, text,
// visibility, styles, border, place and size.
void ExpectTemplateControls(const DialogDriver& dialog, std::span<const TemplateControl> expected);
