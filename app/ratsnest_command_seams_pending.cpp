// The program's stand-in for the ratsnest commands until their owner lands: a
// beep, and nothing runs.
#include "app/frame_operation_seams.h"
#include "platform/user.h"

int RunRatsnestCommand(UINT, HWND) {
  MessageBeep(0);
  return 0;
}
