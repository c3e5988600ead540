// The program's stand-in for the selection engine's size actions of
// edit/selection_actions.h until they land: it refuses with a beep.
#include "edit/selection_actions.h"

#include "platform/user.h"

int PerformSelectionArrayAction(std::uint32_t, std::uint32_t) {
  MessageBeep(0);
  return kSelectionActionAtEnd;
}
