// The program's stand-in for the mouse, status-bar units and auto via dialogs until their owner lands: a
// beep, and nothing runs.
#include "app/frame_operation_seams.h"
#include "platform/user.h"

int RunSettingsDialogCommand(UINT, HWND) {
  MessageBeep(0);
  return 0;
}
