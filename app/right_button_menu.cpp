// The editors' right-button menu, kept apart from the code that shows it so
// that the menu rebuild, which destroys it, links without that code.
#include "app/pending_services.h"
#include "platform/reset_hooks.h"

HMENU RightButtonMenu = nullptr;

namespace {
// Tests own the menus they load: the handle is only forgotten.
void ForgetRightButtonMenu() { RightButtonMenu = nullptr; }
const bool g_registered = pl3::RegisterGlobalReset(&ForgetRightButtonMenu);
}  // namespace
