// The program's stand-ins for the selection engine's size actions of
// edit/selection_actions.h until the engine lands: each refuses with a beep.
#include "edit/selection_actions.h"

#include "platform/user.h"

int ValidateSelectionForAction(std::uint32_t, std::uint32_t) {
  MessageBeep(0);
  return 0;
}
int PerformSelectionArrayAction(std::uint32_t, std::uint32_t) {
  MessageBeep(0);
  return kSelectionActionAtEnd;
}
