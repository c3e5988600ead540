// Window state that changes from outside the program: the window manager
// minimising, maximising and restoring a top-level window, the desktop moving
// the keyboard focus to us or away, and AnimateWindow, which shows at once.
#include "platform/user_internal.h"

using namespace pl3::user;

// The program gains or loses the desktop's focus: each of its top-level
// windows hears it (floating panes hide and show on it).
void pl3::user::SendActivateApp(BOOL active) {
  std::vector<HWND> tops = S().topLevels;
  for (HWND t : tops)
    if (Find(t)) Send(t, WM_ACTIVATEAPP, static_cast<WPARAM>(active), 0);
}

namespace {

bool IsUnder(HWND root, HWND h) { return h == root || IsChild(root, h); }

}  // namespace

void pl3::InjectWindowState(HWND top, int showCommand, const RECT* rect) {
  WindowRecord* w = Find(top);
  if (!w || w->parent) return;
  switch (showCommand) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      if (!IsIconic(top)) ShowWindow(top, SW_MINIMIZE);
      return;
    case SW_MAXIMIZE:
      if (!IsZoomed(top)) ShowWindow(top, SW_SHOWMAXIMIZED);
      break;
    case SW_RESTORE:
      if (IsIconic(top) || IsZoomed(top)) ShowWindow(top, SW_RESTORE);
      break;
    default: return;
  }
  if (rect && IsWindow(top))
    SetWindowPos(top, nullptr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void pl3::InjectAppActivation(HWND top) {
  State& s = S();
  if (top) {
    if (!Find(top) || s.active == top) return;
    HWND saved = s.input.focusBeforeLeaving;
    s.input.focusBeforeLeaving = nullptr;
    ActivateWindow(top, WA_ACTIVE);
    if (saved && Find(saved) && IsUnder(top, saved) && s.active == top && GetFocus() != saved) SetFocus(saved);
    return;
  }
  HWND old = s.active;
  if (!old) return;
  // The program loses the desktop's focus: its active window is told, then
  // the focus window loses the keyboard.
  s.active = nullptr;
  Send(old, WM_NCACTIVATE, FALSE, 0);
  if (Find(old)) Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  SendActivateApp(FALSE);
  HWND focus = s.focus;
  if (focus && !s.active) {
    s.input.focusBeforeLeaving = focus;
    s.focus = nullptr;
    if (Find(focus)) Send(focus, WM_KILLFOCUS, 0, 0);
  }
}

BOOL AnimateWindow(HWND hwnd, DWORD, DWORD flags) {
  WindowRecord* w = Find(hwnd);
  if (!w) return FALSE;
  bool visible = (w->style & WS_VISIBLE) != 0;
  if ((flags & AW_HIDE) ? !visible : visible) return FALSE;  // nothing to animate
  if (flags & AW_HIDE) {
    ShowWindow(hwnd, SW_HIDE);
  } else {
    ShowWindow(hwnd, (flags & AW_ACTIVATE) ? SW_SHOW : SW_SHOWNA);
  }
  return TRUE;
}
