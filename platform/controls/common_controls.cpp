// InitCommonControlsEx and the notification helper every common control uses.
#include "platform/commctrl.h"

#include "platform/user_internal.h"

namespace pl3::controls {
void RegisterHeaderClass();
void RegisterListViewClass();
void RegisterTreeViewClass();
void RegisterStatusBarClass();
void RegisterTabControlClass();
void RegisterProgressBarClass();
void RegisterTrackbarClass();
void RegisterToolbarClass();
void RegisterTooltipClass();
}  // namespace pl3::controls

// Each common control's file defines its registration; the list grows here.
void pl3::user::RegisterCommonControlClasses() {
  pl3::controls::RegisterHeaderClass();
  pl3::controls::RegisterListViewClass();
  pl3::controls::RegisterTreeViewClass();
  pl3::controls::RegisterStatusBarClass();
  pl3::controls::RegisterTabControlClass();
  pl3::controls::RegisterProgressBarClass();
  pl3::controls::RegisterTrackbarClass();
  pl3::controls::RegisterToolbarClass();
  pl3::controls::RegisterTooltipClass();
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
  if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  pl3::user::RegisterCommonControlClasses();
  return TRUE;
}

void InitCommonControls() { pl3::user::RegisterCommonControlClasses(); }

LRESULT SendNotify(HWND from, UINT code, NMHDR* hdr) {
  hdr->hwndFrom = from;
  hdr->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(from));
  hdr->code = code;
  const HWND parent = GetParent(from);
  if (!parent) return 0;
  return SendMessage(parent, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr));
}
