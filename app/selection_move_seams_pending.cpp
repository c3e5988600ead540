// The program's stand-in for the selection engine's transform
// (edit/key_command_seams.h) until it lands: it refuses with a beep.
#include "edit/key_command_seams.h"
#include "platform/user.h"

pl3::Box TransformSelectionArray(const pl3::Transform*) {
  MessageBeep(0);
  return pl3::kEmptyBox;
}
