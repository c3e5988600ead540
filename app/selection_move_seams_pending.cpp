// The program's stand-ins for the selection engine's move and transform
// (edit/key_command_seams.h) until it lands: they refuse with a beep.
#include "edit/key_command_seams.h"
#include "platform/user.h"

int MoveSelectionArray(SelectionInfo*, std::int32_t, std::int32_t) {
  MessageBeep(0);
  return 0;
}
pl3::Box TransformSelectionArray(const pl3::Transform*) {
  MessageBeep(0);
  return pl3::kEmptyBox;
}
