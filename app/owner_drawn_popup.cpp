// The frame's owner-drawn pop-up menus: made owner-drawn just before they are
// tracked, and freed with their owner-draw data.
#include "app/pending_services.h"
#include "objects/item_helper_seams.h"

BOOL TrackOwnerDrawnPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
  MakeMenuOwnerDrawn(menu, 0, 0);
  return TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr);
}

BOOL TrackOwnerDrawnPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
  MakeMenuOwnerDrawn(menu, 0, 0);
  return TrackPopupMenuEx(menu, flags, x, y, owner, params);
}

BOOL DestroyOwnerDrawnMenu(HMENU menu) {
  if (!IsMenu(menu)) return TRUE;
  FreeOwnerDrawnMenu(menu);
  return DestroyMenu(menu);
}
