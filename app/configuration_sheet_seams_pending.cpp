// The program's stand-in for the configuration property sheet until their owner lands: a
// beep, and nothing runs.
#include "app/frame_operation_seams.h"
#include "platform/user.h"

int RunConfigurationSheet(UINT, HWND) {
  MessageBeep(0);
  return 0;
}
