// The program's stand-in for the frame's dialogs on the window's options until their owner lands: a
// beep, and nothing runs.
#include "app/frame_operation_seams.h"
#include "platform/user.h"

int RunFrameDialogCommand(UINT, HWND) {
  MessageBeep(0);
  return 0;
}
