#include "pcb/new_pcb_dialog.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/core_utilities.h"
#include "app/start_values.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/ok_cancel_dialog.h"
#include "platform/responder.h"
#include "platform/user.h"

namespace {

const DialogControl kNewPcbControls[] = {
    {"STATIC", -1, "Number of layers:", 7, 9, 70, 10, SS_LEFT},
    {"EDIT", kNewPcbLayersId, "", 80, 7, 40, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"STATIC", -1, "Description:", 7, 27, 70, 10, SS_LEFT},
    {"EDIT", kNewPcbDescriptionId, "", 80, 25, 150, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", kNewPcbNetEditingId, "Allow net editing/Manual PCB (See nets menu)", 7, 44, 220, 10,
     BS_AUTOCHECKBOX | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 60, 62, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 125, 62, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kNewPcbTemplate{nullptr, kNewPcbDialogId, "Create New PCB", 0, 0, 240, 84,
                                     DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kNewPcbControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kNewPcbTemplate);

NewPcbSettings* Settings(HWND dialog) {
  return reinterpret_cast<NewPcbSettings*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

// The layer field as an unsigned number: digits only, within 32 bits.
// Creation can make 1 to 32 copper layers, so a count outside them is
// refused as an unreadable one is.
bool ReadLayerCount(HWND dialog, std::uint32_t* count) {
  char text[32] = {};
  if (GetDlgItemTextA(dialog, kNewPcbLayersId, text, sizeof text) <= 0) return false;
  const char* p = text;
  while (*p == ' ') ++p;
  if (*p < '0' || *p > '9') return false;
  errno = 0;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(p, &end, 10);
  while (*end == ' ') ++end;
  if (*end || errno == ERANGE || value > 0xFFFFFFFFull) return false;
  *count = static_cast<std::uint32_t>(value);
  return true;
}

void Accept(HWND dialog) {
  NewPcbSettings* s = Settings(dialog);
  std::uint32_t count = 0;
  if (!s || !ReadLayerCount(dialog, &count) || count < 1 || count > 32) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  s->layerCount = count;
  HWND description = GetDlgItem(dialog, kNewPcbDescriptionId);
  const int length = GetWindowTextLengthA(description);
  if (length > 0) {
    std::free(s->description);
    s->description = static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1));
    if (s->description) GetWindowTextA(description, s->description, length + 1);
  }
  s->allowNetEditing = IsDlgButtonChecked(dialog, kNewPcbNetEditingId) == BST_CHECKED ? 1 : 0;
  EndDialog(dialog, 1);
}

INT_PTR Initialise(HWND dialog, LPARAM parameter) {
  auto* s = reinterpret_cast<NewPcbSettings*>(parameter);
  if (!s) {
    MessageBox(dialog, "NewPcbDlg called without LParam", "Error", MB_OK);
    EndDialog(dialog, 0);
    return TRUE;
  }
  SetWindowLongPtrA(dialog, GWLP_USERDATA, parameter);
  SetDlgItemInt(dialog, kNewPcbLayersId, s->layerCount, FALSE);
  HWND layers = GetDlgItem(dialog, kNewPcbLayersId);
  SetFocus(layers);
  SendMessageA(layers, EM_SETSEL, 0, -1);
  return FALSE;
}

INT_PTR Other(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_CLOSE) return FALSE;
  EndDialog(dialog, 0);
  return TRUE;
}

constexpr pl3::OkCancelSteps kSteps{&Initialise, &Accept, &Other};

}  // namespace

INT_PTR CALLBACK NewPcbDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return pl3::OkCancelDialogProc(kSteps, dialog, message, wParam, lParam);
}

NewPcbSettings* AskNewPcbSettings(HWND parent) {
  (void)kRegistered;
  auto* s = static_cast<NewPcbSettings*>(std::calloc(1, sizeof(NewPcbSettings)));
  if (!s) return nullptr;
  s->layerCount = DefaultPCBLayers;
  if (DialogBoxParamA(nullptr, MAKEINTRESOURCE(kNewPcbDialogId), parent, &NewPcbDlg, reinterpret_cast<LPARAM>(s)) ==
      1)
    return s;
  FreeNewObjectInfo(s);
  return nullptr;
}

void FreeNewObjectInfo(NewPcbSettings* settings) {
  if (!settings) return;
  std::free(settings->description);
  std::free(settings);
}
