// The program's stand-in for the spiral insertion (edit/key_command_seams.h)
// until the insertion tools land: it refuses with a beep.
#include "edit/key_command_seams.h"
#include "platform/user.h"

int BeginInsertSpiral(HWND, EntityRecord**, ButtonRecord*) {
  MessageBeep(0);
  return 0;
}
