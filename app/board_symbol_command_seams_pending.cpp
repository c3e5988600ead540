// The program's stand-in for the board's symbol definition commands until their owner lands: a
// beep, and nothing runs.
#include "app/frame_operation_seams.h"
#include "platform/user.h"

int RunBoardSymbolCommand(UINT, HWND) {
  MessageBeep(0);
  return 0;
}
