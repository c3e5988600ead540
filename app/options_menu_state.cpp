// The menu bar's Options and Selection menus as the frame and the editors
// share them: the handles in the bar, the lock that holds redraws while they
// change and the kind they were built for. Kept apart from the menu builder so
// that reading them does not bring in every menu rule.
#include <cstdint>

#include "app/options_menus.h"
#include "platform/reset_hooks.h"
#include "platform/win_types.h"

HMENU OptionsMenu = nullptr;
HMENU SelectionMenu = nullptr;
std::uint8_t MenuRedrawLock = 0;
std::uint32_t SelectionMenuKind = 0;

namespace {

void ResetOptionsMenus() {
  OptionsMenu = SelectionMenu = nullptr;
  MenuRedrawLock = 0;
  SelectionMenuKind = 0;
}
const bool gOptionsMenusResetRegistered = pl3::RegisterGlobalReset(&ResetOptionsMenus);

}  // namespace
