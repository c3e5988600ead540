#include "app/attribute_name_dialog.h"

#include <cstdlib>

#include "app/core_utilities.h"
#include "edit/window_data.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/ok_cancel_dialog.h"
#include "platform/responder.h"

namespace {

constexpr int kAttributeNameDialogId = 1185;
constexpr int kNameEditId = 414;

const DialogControl kAttributeNameControls[] = {
    {"EDIT", kNameEditId, "", 7, 7, 160, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 30, 26, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 90, 26, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kAttributeNameDlg{nullptr, kAttributeNameDialogId, "Attribute Name", 0, 0, 174, 46,
                                       DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kAttributeNameControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kAttributeNameDlg);

char** NameBlock(HWND dialog) { return reinterpret_cast<char**>(GetWindowLongPtr(dialog, DWLP_USER)); }

void FocusName(HWND dialog) {
  SetFocus(GetDlgItem(dialog, kNameEditId));
  SendDlgItemMessage(dialog, kNameEditId, EM_SETSEL, 0, -1);
}

// OK: a name replaces the caller's string; an empty one keeps the dialog open.
void AcceptName(HWND dialog) {
  const int length = GetWindowTextLength(GetDlgItem(dialog, kNameEditId));
  if (length <= 0) {
    ShowMessageEx(dialog, "You must enter a net name", "Error", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  char* entered = static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1));
  if (!entered) return;
  GetDlgItemText(dialog, kNameEditId, entered, length + 1);
  char** block = NameBlock(dialog);
  std::free(*block);
  *block = entered;
  EndDialog(dialog, 1);
}

INT_PTR Initialise(HWND dialog, LPARAM parameter) {
  auto** block = reinterpret_cast<char**>(parameter);
  if (!block) {
    ShowMessageEx(dialog, "AttributeNameDialogProc called without LParam", "Error", MB_OK | MB_ICONEXCLAMATION);
    EndDialog(dialog, 0);
    return TRUE;
  }
  SetWindowLongPtr(dialog, DWLP_USER, parameter);
  SetDlgItemText(dialog, kNameEditId, *block ? *block : "");
  FocusName(dialog);
  return FALSE;
}

INT_PTR OnShow(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_SHOWWINDOW) FocusName(dialog);
  return FALSE;
}

constexpr pl3::OkCancelSteps kSteps{&Initialise, &AcceptName, &OnShow};

}  // namespace

INT_PTR CALLBACK AttributeNameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return pl3::OkCancelDialogProc(kSteps, dialog, message, wParam, lParam);
}

char* ShowAttributeNameDialog() {
  (void)kRegistered;
  char* name = nullptr;
  HWND owner = ActiveWindowData && ActiveWindowData->Window ? static_cast<HWND>(ActiveWindowData->Window) : FrameWindow;
  const INT_PTR result = DialogBoxParam(nullptr, MAKEINTRESOURCE(kAttributeNameDialogId), owner,
                                        &AttributeNameDialogProc, reinterpret_cast<LPARAM>(&name));
  if (result == 1) return name;
  std::free(name);
  return nullptr;
}
