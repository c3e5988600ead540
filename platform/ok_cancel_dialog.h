// Not an emulation: the one body of the small modal dialogs that take a
// value and end with OK or Cancel. The dialog's own steps are its
// initialisation (WM_INITDIALOG, with the dialog's parameter), its OK (which
// ends the dialog itself when what was entered is good, else keeps it open)
// and, where it has them, further messages; Cancel ends it with 0.
#pragma once
#include "platform/dialogs.h"
#include "platform/user.h"

namespace pl3 {

struct OkCancelSteps {
  INT_PTR (*initialise)(HWND dialog, LPARAM parameter);
  void (*accept)(HWND dialog);
  // Messages other than WM_INITDIALOG and WM_COMMAND; null: none handled.
  INT_PTR (*other)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) = nullptr;
};

inline INT_PTR OkCancelDialogProc(const OkCancelSteps& steps, HWND dialog, UINT message, WPARAM wParam,
                                  LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return steps.initialise(dialog, lParam);
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          steps.accept(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return steps.other ? steps.other(dialog, message, wParam, lParam) : FALSE;
  }
}

}  // namespace pl3
