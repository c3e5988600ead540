// The editors' right-button menu, shown as an owner-drawn pop-up when the
// right button is held. The commands it sends go to its owner as any menu
// command does.
#include "app/pending_services.h"
#include "objects/item_helper_seams.h"
#include "platform/reset_hooks.h"

HMENU RightButtonMenu = nullptr;

namespace {
// Tests own the menus they load: the handle is only forgotten.
void ForgetRightButtonMenu() { RightButtonMenu = nullptr; }
const bool g_registered = pl3::RegisterGlobalReset(&ForgetRightButtonMenu);
}  // namespace

int ShowHoldMenu(HWND owner, int x, int y) {
  if (!RightButtonMenu || !IsMenu(RightButtonMenu)) return 0;
  return TrackOwnerDrawnPopupMenu(RightButtonMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, owner) ? 1
                                                                                                              : 0;
}
