// Dialog 1030 "Net Name": asks for the name of the net a Net Name or Named
// IO Port locator shows, starting from a proposed text.
#include <cstring>

#include "app/core_utilities.h"
#include "objects/attribute_services.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/ok_cancel_dialog.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"

namespace {

constexpr int kNetNameDialogId = 1030;
constexpr int kPromptId = 1031;
constexpr int kNameEditId = 1032;

const DialogControl kNetNameControls[] = {
    {"STATIC", kPromptId, "Net Name", 7, 7, 180, 10, SS_LEFT},
    {"EDIT", kNameEditId, "", 7, 20, 180, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 40, 40, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 100, 40, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kNetNameDialog{nullptr, kNetNameDialogId, "Net Name", 0, 0, 194, 62,
                                    DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kNetNameControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kNetNameDialog);

// The caller's buffer while the dialog runs.
char* g_buffer = nullptr;
void ResetNetNameDialog() { g_buffer = nullptr; }
const bool g_resetRegistered = pl3::RegisterGlobalReset(&ResetNetNameDialog);

INT_PTR Initialise(HWND dialog, LPARAM) {
  SendDlgItemMessage(dialog, kNameEditId, EM_LIMITTEXT, kNetNameBufferSize - 1, 0);
  SetDlgItemText(dialog, kNameEditId, g_buffer ? g_buffer : "");
  SetFocus(GetDlgItem(dialog, kNameEditId));
  SendDlgItemMessage(dialog, kNameEditId, EM_SETSEL, 0, -1);
  return FALSE;
}

void Accept(HWND dialog) {
  if (g_buffer) GetDlgItemText(dialog, kNameEditId, g_buffer, static_cast<int>(kNetNameBufferSize));
  EndDialog(dialog, 1);
}

constexpr pl3::OkCancelSteps kSteps{&Initialise, &Accept};

INT_PTR CALLBACK NetNameDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return pl3::OkCancelDialogProc(kSteps, dialog, message, wParam, lParam);
}

}  // namespace

int ShowNetNameDialog(char* buffer) {
  (void)kRegistered;
  if (!buffer) return 0;
  buffer[kNetNameBufferSize - 1] = '\0';
  g_buffer = buffer;
  const INT_PTR result =
      DialogBoxParam(nullptr, MAKEINTRESOURCE(kNetNameDialogId), FrameWindow, &NetNameDlgProc, 0);
  g_buffer = nullptr;
  return result == 1 ? 1 : 0;
}
