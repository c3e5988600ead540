// The program's stand-ins for the board information and board set-up
// dialogs and the layer stack-up store (pcb/pcb_command_seams.h) until their
// owners land: the dialogs beep and end as cancelled; no stack-up is read or
// written.
#include "pcb/pcb_command_seams.h"
#include "platform/responder.h"
#include "platform/user.h"

std::intptr_t GetPCBInfoDlg(HWND, const Tower*, std::uint32_t) {
  MessageBeep(0);
  return 0;
}
std::intptr_t PCBDimensionsDlg(HWND, BoardSetupBlock*) {
  MessageBeep(0);
  return IDCANCEL;
}
void* GetLayerStackup(const Tower*) { return nullptr; }
void StoreLayerStackup(const Tower*, const void*) {}
