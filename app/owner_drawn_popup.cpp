// The frame's owner-drawn pop-up menus: made owner-drawn just before they are
// tracked, and freed with their owner-draw data. While one is tracked its
// owner answers the menu's measure and draw requests through the
// owner-drawn routines, whatever window it is.
#include "app/owner_drawn_menus.h"
#include "app/pending_services.h"
#include "objects/item_helper_seams.h"

namespace {

WNDPROC gOwnerProc = nullptr;

LRESULT CALLBACK TrackingOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MEASUREITEM && MeasureOwnerDrawnMenuItem(window, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
    return TRUE;
  if (message == WM_DRAWITEM && reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->CtlType == ODT_MENU &&
      reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->itemData) {
    DrawOwnerDrawnMenuItem(window, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    return TRUE;
  }
  return CallWindowProcA(gOwnerProc, window, message, wParam, lParam);
}

template <typename Track>
BOOL TrackWithOwner(HWND owner, Track track) {
  WNDPROC previous = owner ? reinterpret_cast<WNDPROC>(GetWindowLongPtrA(owner, GWLP_WNDPROC)) : nullptr;
  const bool wrap = previous && previous != &TrackingOwnerProc;
  WNDPROC outer = gOwnerProc;
  if (wrap) {
    gOwnerProc = previous;
    SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrackingOwnerProc));
  }
  const BOOL result = track();
  if (wrap) {
    if (IsWindow(owner)) SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    gOwnerProc = outer;
  }
  return result;
}

}  // namespace

BOOL TrackOwnerDrawnPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
  MakeMenuOwnerDrawn(menu, 0, 0);
  return TrackWithOwner(owner, [&] { return TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr); });
}

BOOL TrackOwnerDrawnPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
  MakeMenuOwnerDrawn(menu, 0, 0);
  return TrackWithOwner(owner, [&] { return TrackPopupMenuEx(menu, flags, x, y, owner, params); });
}

BOOL DestroyOwnerDrawnMenu(HMENU menu) {
  if (!IsMenu(menu)) return TRUE;
  FreeOwnerDrawnMenu(menu);
  return DestroyMenu(menu);
}
