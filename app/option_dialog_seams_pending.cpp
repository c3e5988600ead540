// The program's stand-in for the colour, net, pin and option dialogs until their owner lands: a
// beep, and nothing runs.
#include "app/frame_operation_seams.h"
#include "platform/user.h"

int RunOptionDialogCommand(UINT, HWND) {
  MessageBeep(0);
  return 0;
}
