// The program's stand-in for the output commands and the 3D view until their owner lands: a
// beep, and nothing runs.
#include "app/frame_operation_seams.h"
#include "platform/user.h"

int RunOutputCommand(UINT, HWND) {
  MessageBeep(0);
  return 0;
}
