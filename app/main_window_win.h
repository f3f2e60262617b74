// The main window "PRINCIPAL": its dialog procedure, the handles and brushes it
// records, and the formula cycle's view of it.
#pragma once

#include <windows.h>

#include "engine/formula_cycle.h"

// Recorded when the main window initialises.
extern HWND MainWindow;
extern HMENU MainMenu;  // its menu bar
extern HWND FormulaField;
extern HWND ParamEdits[kMaxParams + 1];  // [1..4]: the fields 61..64
extern HBRUSH DialogBrush;               // the window, its labels and group boxes, the results

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The formula cycle works on the dialog through this.
class MainFormulaWindow final : public FormulaWindow {
 public:
  explicit MainFormulaWindow(HWND dialog) : dialog_(dialog) {}

  ShortText ItemText(int id) override;
  void SetText(int id, std::string_view text) override;
  void Show(int id) override;
  void Hide(int id) override;
  void Focus(int id) override;
  bool HasFocus(int id) override;
  void EnableMenuItem(int id, bool enabled) override;
  void ShowMessage(std::string_view caption, std::string_view text) override;
  void ShowStyledMessage(std::string_view caption, std::string_view text,
                         std::uint32_t style) override;

  // True while one of the cycle's message boxes is open.
  static bool MessageOpen() { return openMessages_ > 0; }

 private:
  HWND Item(int id) const;

  HWND dialog_;
  static int openMessages_;
};
