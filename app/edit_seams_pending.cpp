// The program's stand-ins for the editing engine's layer walks
// (edit/editing_seams.h) until the engine lands. They refuse: every layer
// counts as holding items, so no change of the copper layers can drop copper,
// and nothing is moved.
#include "edit/editing_seams.h"

#include "platform/user.h"

int IsLayerInUse(std::uint8_t) { return 1; }
int MoveLayerItems(std::uint8_t, std::uint8_t) {
  MessageBeep(0);
  return 0;
}
