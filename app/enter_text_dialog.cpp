#include "app/enter_text_dialog.h"

#include <cstdio>
#include <cstdlib>

#include "app/core_utilities.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/ok_cancel_dialog.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"

char* EnterTextCurrent = nullptr;
std::uint8_t EnterTextDialogResult = 0;

namespace {

constexpr int kPromptId = 53;
constexpr int kEditId = 72;

const char* g_title = nullptr;
const char* g_prompt = nullptr;
std::uint32_t g_maximumLength = 0;

const DialogControl kEnterTextControls[] = {
    {"STATIC", kPromptId, "", 7, 7, 180, 10, SS_LEFT},
    {"EDIT", kEditId, "", 7, 20, 180, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 40, 40, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 100, 40, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kEnterTextDlg{"EnterTextDlg", 0, "Enter Text", 0, 0, 194, 62,
                                   DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kEnterTextControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kEnterTextDlg);

void ResetEnterText() {
  // The current text belongs to the caller once the dialog returns.
  EnterTextCurrent = nullptr;
  EnterTextDialogResult = 0;
  g_title = nullptr;
  g_prompt = nullptr;
  g_maximumLength = 0;
}
const bool g_resetRegistered = pl3::RegisterGlobalReset(&ResetEnterText);

void Refuse(HWND dialog, const char* text) { ShowMessageEx(dialog, text, "Error", MB_OK | MB_ICONEXCLAMATION); }

// OK: the text is taken unless it is empty or too long.
void AcceptText(HWND dialog) {
  HWND edit = GetDlgItem(dialog, kEditId);
  const int n = GetWindowTextLength(edit) + 1;
  if (n == 1) {
    Refuse(dialog, "You must specify a string!");
    return;
  }
  if (g_maximumLength && static_cast<std::uint32_t>(n) > g_maximumLength + 1) {
    char text[96];
    std::snprintf(text, sizeof text, "You must specify a string less than %u characters long", g_maximumLength);
    Refuse(dialog, text);
    return;
  }
  char* entered = static_cast<char*>(std::malloc(static_cast<std::size_t>(n) + 1));
  if (!entered) return;
  GetDlgItemText(dialog, kEditId, entered, n + 1);
  std::free(EnterTextCurrent);
  EnterTextCurrent = entered;
  EndDialog(dialog, 1);
}

INT_PTR Initialise(HWND dialog, LPARAM) {
  if (g_title) SetWindowText(dialog, g_title);
  SetDlgItemText(dialog, kEditId, EnterTextCurrent ? EnterTextCurrent : "");
  SetDlgItemText(dialog, kPromptId, g_prompt ? g_prompt : "");
  SetFocus(GetDlgItem(dialog, kEditId));
  SendDlgItemMessage(dialog, kEditId, EM_SETSEL, 0, -1);
  return FALSE;
}

constexpr pl3::OkCancelSteps kSteps{&Initialise, &AcceptText};

}  // namespace

INT_PTR CALLBACK EnterTextDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return pl3::OkCancelDialogProc(kSteps, dialog, message, wParam, lParam);
}

char* ShowEnterTextDlgEx(const char* title, const char* prompt, char* text, std::uint32_t maximumLength) {
  (void)kRegistered;
  g_title = title;
  g_prompt = prompt;
  g_maximumLength = maximumLength;
  EnterTextCurrent = text;
  const INT_PTR result = DialogBoxParam(nullptr, "EnterTextDlg", FrameWindow, &EnterTextDlgProc, 0);
  EnterTextDialogResult = result == 1 ? 1 : 0;
  char* current = EnterTextCurrent;
  EnterTextCurrent = nullptr;
  return current;
}

char* ShowEnterTextDlg(const char* title, const char* prompt, char* text) {
  return ShowEnterTextDlgEx(title, prompt, text, 0);
}
