// The editors' right-button menu, shown as an owner-drawn pop-up when the
// right button is held. The commands it sends go to its owner as any menu
// command does.
#include "app/pending_services.h"
#include "objects/item_helper_seams.h"
#include "platform/reset_hooks.h"


int ShowHoldMenu(HWND owner, int x, int y) {
  if (!RightButtonMenu || !IsMenu(RightButtonMenu)) return 0;
  return TrackOwnerDrawnPopupMenu(RightButtonMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, owner) ? 1
                                                                                                              : 0;
}
