// The program's stand-in for the edit modes' options not built yet until their owner lands: a
// beep, and nothing runs.
#include "app/frame_operation_seams.h"
#include "platform/user.h"

int RunEditModeOption(UINT, HWND) {
  MessageBeep(0);
  return 0;
}
