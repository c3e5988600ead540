// Dialogs: templates kept as tables next to the code that owns each dialog,
// modal and modeless dialogs with their dialog procedures, the dialog
// manager's keyboard handling (tab order, default and cancel buttons), and
// the dialog item helpers.
//
// A template is registered once, from the file that owns the dialog:
//
//   static const DialogControl kEnterTextControls[] = {
//     {"STATIC", 100, "Prompt", 7, 7, 180, 10, SS_LEFT},
//     {"EDIT", 101, "", 7, 20, 180, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
//     {"BUTTON", IDOK, "OK", 40, 40, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
//     {"BUTTON", IDCANCEL, "Cancel", 100, 40, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
//   };
//   static const DialogTemplate kEnterTextDlg{"EnterTextDlg", 0, "Enter Text", 0, 0, 194, 62,
//     DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kEnterTextControls};
//   static const bool kRegistered = pl3::RegisterDialogTemplate(&kEnterTextDlg);
//
// and then shown by name (DialogBoxParam(instance, "EnterTextDlg", ...)) or
// by number (MAKEINTRESOURCE(1004)). Positions and sizes are in dialog units.
#pragma once
#include <span>
#include <vector>

#include "platform/user.h"

struct DialogControl {
  const char* className;  // "BUTTON", "EDIT", "STATIC", "LISTBOX", "COMBOBOX" or a registered class
  int id;
  const char* text;
  short x, y, cx, cy;  // dialog units
  DWORD style;         // WS_CHILD and WS_VISIBLE are added
  DWORD exStyle = 0;
};

struct DialogTemplate {
  const char* name;  // the resource name, or null when the dialog is known by number
  int id;            // the resource number, or 0
  const char* caption;
  short x, y, cx, cy;  // dialog units
  DWORD style;
  std::span<const DialogControl> controls;
  const char* fontFace = "MS Sans Serif";
  int fontPoints = 8;
  DWORD exStyle = 0;
};

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM param);
INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, const DialogTemplate* tpl, HWND parent, DLGPROC proc,
                                LPARAM param);
HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM param);
HWND CreateDialogIndirectParamA(HINSTANCE instance, const DialogTemplate* tpl, HWND parent, DLGPROC proc,
                                LPARAM param);
inline INT_PTR DialogBoxA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc) {
  return DialogBoxParamA(instance, templateName, parent, proc, 0);
}
inline HWND CreateDialogA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc) {
  return CreateDialogParamA(instance, templateName, parent, proc, 0);
}
#define DialogBoxParam DialogBoxParamA
#define DialogBoxIndirectParam DialogBoxIndirectParamA
#define CreateDialogParam CreateDialogParamA
#define CreateDialogIndirectParam CreateDialogIndirectParamA
#define DialogBox DialogBoxA
#define CreateDialog CreateDialogA

BOOL EndDialog(HWND dialog, INT_PTR result);
LRESULT DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
#define DefDlgProc DefDlgProcA
// Handles the dialog keys (Tab, arrows, Enter, Escape) of a message meant for
// the dialog or one of its controls; TRUE when the message was taken (it is
// then also translated and dispatched).
BOOL IsDialogMessageA(HWND dialog, MSG* msg);
#define IsDialogMessage IsDialogMessageA

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
#define SetDlgItemText SetDlgItemTextA
#define GetDlgItemText GetDlgItemTextA
#define SendDlgItemMessage SendDlgItemMessageA
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId);
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
BOOL MapDialogRect(HWND dialog, RECT* rect);
LONG GetDialogBaseUnits();

namespace pl3 {

// Registers a dialog template under its name and number; returns true so it
// can initialise a static. A later template of the same name replaces it.
bool RegisterDialogTemplate(const DialogTemplate* tpl);
const DialogTemplate* FindDialogTemplate(LPCSTR nameOrId);
// Every registration in order (FindResource's RT_DIALOG picks a module's own).
std::vector<const DialogTemplate*>& RegisteredDialogTemplates();

}  // namespace pl3
