// The program's stand-ins for the schematic editor's Wire tool
// (edit/key_command_seams.h) until it lands: the wire refuses with a beep.
#include "edit/key_command_seams.h"
#include "platform/user.h"

void SetWireTool() {}
int BeginInsertWire(HWND, EntityRecord**, ButtonRecord*) {
  MessageBeep(0);
  return 0;
}
