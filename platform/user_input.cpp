// Keyboard and mouse: focus, activation, capture, key state, the cursor, the
// beep, and the road from input (reported by a backend or a test) to mouse
// and key messages.
#include "platform/window_handover.h"
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/backend.h"
#include "platform/code_page.h"
#include "platform/gdi.h"
#include "platform/resource_images.h"
#include "platform/user_internal.h"

namespace pl3::user {

namespace {

constexpr UINT kDoubleClickMs = 500;

bool IsStandardCursor(int id) {
  switch (id) {
    case IDC_ARROW_ID: case IDC_IBEAM_ID: case IDC_WAIT_ID: case IDC_CROSS_ID: case IDC_UPARROW_ID:
    case IDC_SIZENWSE_ID: case IDC_SIZENESW_ID: case IDC_SIZEWE_ID: case IDC_SIZENS_ID: case IDC_SIZEALL_ID:
    case IDC_NO_ID: case IDC_HAND_ID: case IDC_APPSTARTING_ID: case IDC_HELP_ID: case 32640: case 32641:
      return true;
    default: return false;
  }
}

WPARAM MouseKeyFlags(const BYTE* keys) {
  WPARAM f = 0;
  if (keys[VK_LBUTTON] & 0x80) f |= MK_LBUTTON;
  if (keys[VK_RBUTTON] & 0x80) f |= MK_RBUTTON;
  if (keys[VK_MBUTTON] & 0x80) f |= MK_MBUTTON;
  if (keys[VK_SHIFT] & 0x80) f |= MK_SHIFT;
  if (keys[VK_CONTROL] & 0x80) f |= MK_CONTROL;
  return f;
}

void SetKey(BYTE* keys, int vk, bool down) {
  if (vk <= 0 || vk > 255) return;
  if (down && !(keys[vk] & 0x80)) keys[vk] ^= 1;  // toggle on each press
  keys[vk] = static_cast<BYTE>(down ? (keys[vk] | 0x80) : (keys[vk] & ~0x80));
}

int ButtonKey(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return VK_LBUTTON;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return VK_RBUTTON;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return VK_MBUTTON;
    default: return 0;
  }
}

// Ends TME_LEAVE tracking with its WM_MOUSELEAVE.
void PostMouseLeave() {
  State& s = S();
  HWND tracked = s.input.leaveTracked;
  if (!tracked) return;
  s.input.leaveTracked = nullptr;
  PostMessageA(tracked, WM_MOUSELEAVE, 0, 0);
}

void GrabPointer(bool on) {
  State& s = S();
  if (s.input.pointerGrabbed == on) return;
  s.input.pointerGrabbed = on;
  if (const pl3::backend::HostServices* host = pl3::backend::Host()) host->grabPointer(on);
}

bool IsButtonDown(UINT m) { return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN; }

// A click inside a document window (an MDI child) that does not hold the
// focus asks it to activate, as a click in an inactive top-level window does.
bool InUnfocusedMdiChild(HWND target) {
  HWND focus = S().focus;
  for (WindowRecord* w = Find(target); w; w = Find(w->parent))
    if (w->exStyle & WS_EX_MDICHILD) return !(focus && (focus == w->handle || IsChild(w->handle, focus)));
  return false;
}

bool CookMouse(QueuedMessage& q) {
  State& s = S();
  MSG& m = q.msg;
  POINT pt = m.pt;
  if (m.message == WM_MOUSEWHEEL) {
    HWND target = s.focus ? s.focus : WindowFromPoint(pt);
    if (!target) return false;
    m.hwnd = target;
    m.lParam = MAKEPOINTLPARAM(pt.x, pt.y);
    return true;
  }
  HWND target = s.capture;
  LRESULT hit = HTCLIENT;
  if (!target) {
    target = WindowFromPoint(pt);
    if (target != s.input.leaveTracked) PostMouseLeave();
    if (!target) return false;
    hit = Send(target, WM_NCHITTEST, 0, MAKEPOINTLPARAM(pt.x, pt.y));
    if (!Find(target)) return false;
    if (hit != HTCLIENT && target == s.input.leaveTracked) PostMouseLeave();
    // A disabled window takes no mouse input.
    for (WindowRecord* w = Find(target); w; w = Find(w->parent))
      if (w->style & WS_DISABLED) {
        if (IsButtonDown(m.message)) MessageBeep(0);
        return false;
      }
    Send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(m.message)));
    if (!Find(target)) return false;
  }
  if (IsButtonDown(m.message)) {
    HWND top = TopLevelOf(target);
    if (top && (top != s.active || InUnfocusedMdiChild(target))) {
      LRESULT r = Send(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                       MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(m.message)));
      if (r != MA_NOACTIVATE && r != MA_NOACTIVATEANDEAT) ActivateWindow(top, WA_CLICKACTIVE);
      if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT) return false;
      if (!Find(target)) return false;
    }
    WindowRecord* w = Find(target);
    int cx = GetSystemMetrics(SM_CXDOUBLECLK), cy = GetSystemMetrics(SM_CYDOUBLECLK);
    if (cx <= 0) cx = 4;
    if (cy <= 0) cy = 4;
    if ((w->cls->style & CS_DBLCLKS) && s.lastDownWindow == target && s.lastDownMessage == m.message &&
        m.time - s.lastDownTime <= kDoubleClickMs && std::abs(pt.x - s.lastDownPoint.x) <= cx / 2 &&
        std::abs(pt.y - s.lastDownPoint.y) <= cy / 2) {
      m.message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
      s.lastDownWindow = nullptr;
    } else {
      s.lastDownWindow = target;
      s.lastDownMessage = m.message;
      s.lastDownTime = m.time;
      s.lastDownPoint = pt;
    }
  }
  m.hwnd = target;
  if (hit != HTCLIENT && !s.capture) {
    m.message = m.message - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
    m.wParam = static_cast<WPARAM>(hit);
    m.lParam = MAKEPOINTLPARAM(pt.x, pt.y);
    return true;
  }
  POINT c = pt;
  ScreenToClient(target, &c);
  m.lParam = MAKEPOINTLPARAM(c.x, c.y);
  s.lastMouseWindow = target;
  return true;
}

bool CookKey(QueuedMessage& q) {
  State& s = S();
  MSG& m = q.msg;
  HWND target = s.focus;
  if (!target) {
    // With no focus the active window takes keys as system keys.
    target = s.active;
    if (!target) return false;
    if (m.message == WM_KEYDOWN) m.message = WM_SYSKEYDOWN;
    if (m.message == WM_KEYUP) m.message = WM_SYSKEYUP;
    if (m.message == WM_CHAR) m.message = WM_SYSCHAR;
  }
  m.hwnd = target;
  return true;
}

}  // namespace

bool CookInput(QueuedMessage& q) {
  q.rawInput = false;
  UINT m = q.msg.message;
  if (m >= WM_KEYFIRST && m <= WM_KEYLAST) return CookKey(q);
  return CookMouse(q);
}

void NoteRetrieved(const MSG& msg) {
  State& s = S();
  UINT m = msg.message;
  if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN || m == WM_KEYUP || m == WM_SYSKEYUP) {
    bool down = m == WM_KEYDOWN || m == WM_SYSKEYDOWN;
    SetKey(s.keyState, static_cast<int>(msg.wParam), down);
  } else if (int vk = ButtonKey(m)) {
    bool down = m != WM_LBUTTONUP && m != WM_RBUTTONUP && m != WM_MBUTTONUP;
    SetKey(s.keyState, vk, down);
  }
}

int CursorShapeOf(HCURSOR cursor) { return static_cast<int>(reinterpret_cast<std::uintptr_t>(cursor)); }

void ForgetInputWindow(HWND gone) {
  State& s = S();
  if (s.capture == gone) {
    s.capture = nullptr;
    GrabPointer(false);
  }
  if (s.input.leaveTracked == gone) s.input.leaveTracked = nullptr;
  if (s.input.focusBeforeLeaving == gone) s.input.focusBeforeLeaving = nullptr;
}

void PointerLeftTopLevel(HWND top) {
  State& s = S();
  if (!s.capture && s.input.leaveTracked && TopLevelOf(s.input.leaveTracked) == top) PostMouseLeave();
}

}  // namespace pl3::user

using namespace pl3::user;

// ---- Focus and activation ------------------------------------------------------------------

HWND SetFocus(HWND hwnd) {
  State& s = S();
  if (hwnd && !Find(hwnd)) return nullptr;
  HWND old = s.focus;
  if (hwnd == old) return old;
  if (hwnd) {
    HWND top = TopLevelOf(hwnd);
    if (top != s.active) ActivateWindow(top, WA_ACTIVE);
    if (!Find(hwnd)) return nullptr;
    old = s.focus;
    if (old == hwnd) return old;
  }
  s.focus = hwnd;
  if (old && Find(old)) Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && s.focus == hwnd && Find(hwnd)) Send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() { return S().focus; }

HWND SetActiveWindow(HWND hwnd) {
  HWND old = S().active;
  if (!Find(hwnd)) return nullptr;
  ActivateWindow(hwnd, WA_ACTIVE);
  return old;
}

HWND GetActiveWindow() { return S().active; }

BOOL SetForegroundWindow(HWND hwnd) {
  if (!Find(hwnd)) return pl3::handover::IsRemote(hwnd) && pl3::handover::RaiseRemote(hwnd) ? TRUE : FALSE;
  ActivateWindow(hwnd, WA_ACTIVE);
  return TRUE;
}

HWND GetForegroundWindow() { return S().active; }

SHORT GetKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  BYTE k = S().keyState[vk];
  return static_cast<SHORT>(((k & 0x80) ? 0x8000 : 0) | (k & 1));
}

SHORT GetAsyncKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  return static_cast<SHORT>((S().asyncKeyState[vk] & 0x80) ? 0x8000 : 0);
}

BOOL GetKeyboardState(BYTE* keys256) {
  if (!keys256) return FALSE;
  std::copy(std::begin(S().keyState), std::end(S().keyState), keys256);
  return TRUE;
}

// ---- Capture and cursor ------------------------------------------------------------------------

HWND SetCapture(HWND hwnd) {
  State& s = S();
  HWND old = s.capture;
  if (!Find(hwnd) || old == hwnd) return old;
  s.capture = hwnd;
  GrabPointer(true);
  if (old && Find(old)) Send(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  State& s = S();
  HWND old = s.capture;
  s.capture = nullptr;
  GrabPointer(false);
  if (old && Find(old)) Send(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return S().capture; }

BOOL GetCursorPos(POINT* out) {
  if (!out) return FALSE;
  *out = S().cursorPos;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  pl3::backend::Active().warpCursor(POINT{x, y});
  pl3::InjectMouseMove(POINT{x, y});
  return TRUE;
}

UINT GetDoubleClickTime() { return kDoubleClickMs; }

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  const int id = IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<std::uintptr_t>(name)) : 0;
  if (!instance && IsStandardCursor(id)) return reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(id));
  return pl3::LoadCursorResource(instance, name);  // a module's own cursor, by name or number
}

HCURSOR SetCursor(HCURSOR cursor) {
  State& s = S();
  HCURSOR old = reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(s.cursorShape));
  int shape = CursorShapeOf(cursor);
  if (shape != s.cursorShape) {
    s.cursorShape = shape;
    pl3::backend::Active().cursorChanged(s.cursorShowCount >= 0 ? shape : 0);
  }
  return s.cursorShape == 0 && !old ? nullptr : old;
}

HCURSOR GetCursor() { return reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(S().cursorShape)); }

int ShowCursor(BOOL show) {
  State& s = S();
  s.cursorShowCount += show ? 1 : -1;
  pl3::backend::Active().cursorChanged(s.cursorShowCount >= 0 ? s.cursorShape : 0);
  return s.cursorShowCount;
}

BOOL ClipCursor(const RECT*) { return TRUE; }

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
  State& s = S();
  if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT)) return FALSE;
  if (track->dwFlags & TME_QUERY) {
    track->dwFlags = s.input.leaveTracked ? TME_LEAVE : 0;
    track->hwndTrack = s.input.leaveTracked;
    track->dwHoverTime = 0;
    return TRUE;
  }
  if (!Find(track->hwndTrack)) return FALSE;
  if (!(track->dwFlags & TME_LEAVE)) return TRUE;
  if (track->dwFlags & TME_CANCEL) {
    if (s.input.leaveTracked == track->hwndTrack) s.input.leaveTracked = nullptr;
    return TRUE;
  }
  if (s.input.leaveTracked != track->hwndTrack) PostMouseLeave();
  s.input.leaveTracked = track->hwndTrack;
  // Asked while the pointer is elsewhere already: the leave comes at once.
  POINT p = s.cursorPos;
  HWND under = s.capture ? s.capture : WindowFromPoint(p);
  RECT client = VisibleClientScreenRect(Find(track->hwndTrack));
  bool inside = p.x >= client.left && p.x < client.right && p.y >= client.top && p.y < client.bottom;
  if (under != track->hwndTrack || !inside) PostMouseLeave();
  return TRUE;
}

BOOL MessageBeep(UINT) {
  S().beepCount++;
  pl3::backend::Active().beep();
  return TRUE;
}

int pl3::BeepCount() { return S().beepCount; }

int pl3::CurrentCursorShape() { return S().cursorShowCount >= 0 ? S().cursorShape : 0; }

// ---- Input --------------------------------------------------------------------------------------

void pl3::InjectMouseMove(POINT screen) {
  State& s = S();
  s.cursorPos = screen;
  PostInput(MSG{nullptr, WM_MOUSEMOVE, MouseKeyFlags(s.asyncKeyState), 0, static_cast<DWORD>(Now()), screen});
}

void pl3::InjectMouseButton(MouseButton button, bool down, POINT screen) {
  State& s = S();
  s.cursorPos = screen;
  static const UINT downs[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
  static const int keys[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
  int i = static_cast<int>(button);
  SetKey(s.asyncKeyState, keys[i], down);
  UINT message = downs[i] + (down ? 0 : 1);
  PostInput(MSG{nullptr, message, MouseKeyFlags(s.asyncKeyState), 0, static_cast<DWORD>(Now()), screen});
}

void pl3::InjectMouseWheel(int delta, POINT screen) {
  State& s = S();
  s.cursorPos = screen;
  WPARAM w = MAKEWPARAM(static_cast<WORD>(MouseKeyFlags(s.asyncKeyState)), static_cast<WORD>(static_cast<SHORT>(delta)));
  PostInput(MSG{nullptr, WM_MOUSEWHEEL, w, 0, static_cast<DWORD>(Now()), screen});
}

void pl3::InjectKey(int vk, bool down, bool keypad) {
  State& s = S();
  if (vk <= 0 || vk > 255) return;
  bool wasDown = s.asyncKeyState[vk] & 0x80;
  SetKey(s.asyncKeyState, vk, down);
  bool alt = s.asyncKeyState[VK_MENU] & 0x80;
  bool ctrl = s.asyncKeyState[VK_CONTROL] & 0x80;
  std::optional<char32_t> altCode = AltCodeKey(vk, down, keypad);
  bool sys = ((alt && !ctrl) || vk == VK_F10 || (vk == VK_MENU && !ctrl)) && !altCode;
  UINT message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  LPARAM l = KeyMessageBits(vk, keypad);
  if (alt) l |= 1L << 29;
  if (wasDown) l |= 1L << 30;
  if (!down) l |= static_cast<LPARAM>(1UL << 31);
  PostInput(MSG{nullptr, message, static_cast<WPARAM>(vk), l, static_cast<DWORD>(Now()), s.cursorPos});
  // The release of Alt that ends an Alt code comes as a plain key release,
  // followed by the character.
  if (altCode && *altCode) PostTypedChar(*altCode);
}

void pl3::InjectClick(HWND hwnd, POINT client, MouseButton button) {
  POINT p = client;
  ClientToScreen(hwnd, &p);
  InjectMouseMove(p);
  InjectMouseButton(button, true, p);
  InjectMouseButton(button, false, p);
}

void pl3::InjectKeyStroke(int vk, bool shift, bool ctrl) {
  if (ctrl) InjectKey(VK_CONTROL, true);
  if (shift) InjectKey(VK_SHIFT, true);
  InjectKey(vk, true);
  InjectKey(vk, false);
  if (shift) InjectKey(VK_SHIFT, false);
  if (ctrl) InjectKey(VK_CONTROL, false);
}

void pl3::InjectText(const char* text) {
  static const char shiftedDigits[] = ")!@#$%^&*(";
  struct Punct {
    char plain, shifted;
    int vk;
  };
  static const Punct punct[] = {{';', ':', VK_OEM_1},  {'=', '+', VK_OEM_PLUS},   {',', '<', VK_OEM_COMMA},
                                {'-', '_', VK_OEM_MINUS}, {'.', '>', VK_OEM_PERIOD}, {'/', '?', VK_OEM_2},
                                {'`', '~', VK_OEM_3},  {'[', '{', VK_OEM_4},      {'\\', '|', VK_OEM_5},
                                {']', '}', VK_OEM_6},  {'\'', '"', VK_OEM_7}};
  if (!text) return;
  std::string_view all(text);
  for (std::size_t pos = 0; pos < all.size();) {
    std::size_t start = pos;
    char32_t cp = DecodeUtf8(all, pos);
    std::string one(all.substr(start, pos - start));
    int vk = 0;
    bool shift = false;
    if (cp >= 'a' && cp <= 'z') {
      vk = static_cast<int>(cp - 'a' + 'A');
    } else if (cp >= 'A' && cp <= 'Z') {
      vk = static_cast<int>(cp);
      shift = true;
    } else if (cp >= '0' && cp <= '9') {
      vk = static_cast<int>(cp);
    } else if (cp == ' ') {
      vk = VK_SPACE;
    } else if (cp == '\n' || cp == '\r') {
      vk = VK_RETURN;
    } else if (cp == '\t') {
      vk = VK_TAB;
    } else if (cp < 0x80) {
      if (const char* d = std::char_traits<char>::find(shiftedDigits, 10, static_cast<char>(cp))) {
        vk = '0' + static_cast<int>(d - shiftedDigits);
        shift = true;
      }
      for (const Punct& p : punct)
        if (p.plain == static_cast<char>(cp) || p.shifted == static_cast<char>(cp)) {
          vk = p.vk;
          shift = p.shifted == static_cast<char>(cp);
        }
    }
    if (!vk) {
      InjectTypedText(one.c_str());
      continue;
    }
    if (shift) InjectKey(VK_SHIFT, true);
    InjectKey(vk, true);
    InjectTypedText(one.c_str());  // control characters come from TranslateMessage instead
    InjectKey(vk, false);
    if (shift) InjectKey(VK_SHIFT, false);
  }
}
