// The program's stand-in for the Select Net dialog and the via resist options until their owner lands: a
// beep, and nothing runs.
#include "app/frame_operation_seams.h"
#include "platform/user.h"

int RunSelectNetCommand(UINT, HWND) {
  MessageBeep(0);
  return 0;
}
