// The message queue and message delivery: SendMessage (a direct, re-entrant
// call of the window procedure), PostMessage, GetMessage and PeekMessage with
// their filters, TranslateMessage, DispatchMessage, the quit message, nested
// modal loops, and the default window procedure.
//
// Retrieval order, as the program expects it: posted messages and input in
// arrival order, then the quit message, then WM_PAINT for a window with an
// update region, then WM_TIMER for a due timer.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/backend.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/menu_internal.h"
#include "platform/scroll_internal.h"
#include "platform/window_handover.h"

namespace pl3::user {

namespace {

bool InRange(UINT message, UINT lo, UINT hi) { return (lo == 0 && hi == 0) || (message >= lo && message <= hi); }

bool MatchesWindow(HWND msgWindow, HWND filter) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return msgWindow == nullptr;
  return msgWindow == filter || IsChild(filter, msgWindow);
}

LRESULT CallProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  State& s = S();
  s.sendDepth++;
  LRESULT r = proc(hwnd, message, wParam, lParam);
  s.sendDepth--;
  return r;
}

// Posted messages and input, cooking raw input on the way.
bool TakePosted(MSG* out, HWND filter, UINT lo, UINT hi, bool remove) {
  State& s = S();
  for (size_t i = 0; i < s.queue.size(); ++i) {
    if (s.queue[i].rawInput) {
      // Routing input sends messages (WM_SETCURSOR, WM_MOUSEACTIVATE) that may
      // post more; those only append, so the entry goes back where it was.
      QueuedMessage q = s.queue[i];
      s.queue.erase(s.queue.begin() + static_cast<std::ptrdiff_t>(i));
      bool keep = CookInput(q);
      if (!keep) {
        --i;
        continue;
      }
      s.queue.insert(s.queue.begin() + static_cast<std::ptrdiff_t>(std::min(i, s.queue.size())), q);
    }
    const MSG& m = s.queue[i].msg;
    if (!MatchesWindow(m.hwnd, filter) || !InRange(m.message, lo, hi)) continue;
    *out = m;
    if (remove) s.queue.erase(s.queue.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
  }
  return false;
}

bool Retrieve(MSG* out, HWND filter, UINT lo, UINT hi, bool remove) {
  State& s = S();
  FreeZombies();
  backend::Active().pollEvents(0);
  handover::Poll();
  DeliverCloseSignal();
  CaretBlink();
  bool got = TakePosted(out, filter, lo, hi, remove);
  // The quit message ends every loop, whatever range it waits for.
  if (!got && s.quitPosted) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0, static_cast<DWORD>(Now()), s.cursorPos};
    if (remove) s.quitPosted = false;
    got = true;
  }
  HWND paint = nullptr;
  if (!got && InRange(WM_PAINT, lo, hi) && FindPaintWindow(filter, &paint)) {
    *out = MSG{paint, WM_PAINT, 0, 0, static_cast<DWORD>(Now()), s.cursorPos};
    got = true;
  }
  if (!got && InRange(WM_TIMER, lo, hi)) got = FindDueTimer(filter, out, remove);
  if (got && remove) {
    NoteRetrieved(*out);
    s.lastMessage = *out;
  }
  return got;
}

// Sleeps in the display's event wait until input comes or the next timer is
// due; at most a quarter second, so the caret blinks and signals are seen.
void WaitForInput() {
  const std::uint64_t now = Now();
  const std::uint64_t wake = std::min(NextTimerDue(), now + 250);
  if (wake > now) backend::Active().pollEvents(static_cast<int>(wake - now));
}

}  // namespace

std::uint64_t Now() {
  const backend::Ops& ops = backend::Active();
  return ops.realDisplay ? ops.now() : S().testClock;
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* w = Find(hwnd);
  if (!w && handover::IsRemote(hwnd)) return handover::SendRemote(hwnd, message, wParam, lParam);
  if (!w || !w->proc) return 0;
  return CallProc(w->proc, hwnd, message, wParam, lParam);
}

void PostInput(const MSG& msg) {
  State& s = S();
  // Mouse moves that the program has not yet taken are merged, as the
  // platform does: only the latest position matters.
  if (msg.message == WM_MOUSEMOVE && !s.queue.empty()) {
    QueuedMessage& last = s.queue.back();
    if (last.rawInput && last.msg.message == WM_MOUSEMOVE) {
      last.msg = msg;
      return;
    }
  }
  s.queue.push_back(QueuedMessage{msg, true});
}

void RemoveMessagesFor(HWND hwnd) {
  std::erase_if(S().queue, [hwnd](const QueuedMessage& q) { return !q.rawInput && q.msg.hwnd == hwnd; });
}

void FreeZombies() {
  State& s = S();
  if (s.sendDepth == 0) s.zombies.clear();
}

bool RunModalLoop(HWND dialog, bool (*done)(void*), void* context, void (*idle)(void*)) {
  while (!done(context)) {
    MSG m;
    if (idle && !PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
      idle(context);
      continue;
    }
    BOOL r = GetMessageA(&m, nullptr, 0, 0);
    if (r == 0) {
      PostQuitMessage(static_cast<int>(m.wParam));
      return false;
    }
    if (r < 0) return false;
    if (dialog && IsWindow(dialog) && IsDialogMessageA(dialog, &m)) continue;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return true;
}

bool NextCapturedMessage(HWND hwnd, MSG* m, bool (*headlessIdle)(HWND)) {
  const bool headless = !pl3::backend::Active().realDisplay;
  while (IsWindow(hwnd) && GetCapture() == hwnd) {
    if (!PeekMessageA(m, nullptr, 0, 0, PM_REMOVE)) {
      if (headless && !(headlessIdle && headlessIdle(hwnd))) return false;
      if (!headless) pl3::backend::Active().pollEvents(50);
      continue;
    }
    if (m->message != WM_QUIT) return true;
    PostQuitMessage(static_cast<int>(m->wParam));
    return false;
  }
  return false;
}

}  // namespace pl3::user

using namespace pl3::user;

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return CallProc(proc, hwnd, message, wParam, lParam);
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    std::vector<HWND> tops = S().topLevels;
    for (HWND t : tops) Send(t, message, wParam, lParam);
    return 0;
  }
  return Send(hwnd, message, wParam, lParam);
}

BOOL SendNotifyMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SendMessageA(hwnd, message, wParam, lParam);
  return TRUE;
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  State& s = S();
  if (hwnd == HWND_BROADCAST) {
    for (HWND t : s.topLevels) PostMessageA(t, message, wParam, lParam);
    return TRUE;
  }
  if (hwnd && !Find(hwnd)) return FALSE;
  if (message == WM_QUIT) {
    s.quitPosted = true;
    s.quitCode = static_cast<int>(wParam);
    return TRUE;
  }
  s.queue.push_back(QueuedMessage{MSG{hwnd, message, wParam, lParam, static_cast<DWORD>(Now()), s.cursorPos}, false});
  return TRUE;
}

BOOL PostThreadMessageA(DWORD, UINT message, WPARAM wParam, LPARAM lParam) {
  return PostMessageA(nullptr, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
  S().quitPosted = true;
  S().quitCode = exitCode;
}

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) return FALSE;
  if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !Find(hwnd)) return FALSE;
  if (Retrieve(msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0)) return TRUE;
  PresentDirtyWindows();
  return FALSE;
}

BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) return -1;
  if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !Find(hwnd)) return -1;
  const pl3::backend::Ops& ops = pl3::backend::Active();
  for (;;) {
    if (Retrieve(msg, hwnd, filterMin, filterMax, true)) return msg->message == WM_QUIT ? 0 : 1;
    PresentDirtyWindows();
    if (ops.realDisplay) {
      WaitForInput();
      continue;
    }
    // Headless: time passes only while waiting. With a timer pending that
    // this wait takes, the clock moves on to it; with nothing that could ever
    // arrive the wait would never end, so the loop is told to quit instead.
    const std::uint64_t due = InRange(WM_TIMER, filterMin, filterMax) ? NextTimerDue(hwnd) : kNoTimerDue;
    if (due != kNoTimerDue) {
      S().testClock = std::max(S().testClock, due);
      continue;
    }
    std::fprintf(stderr, "GetMessage: nothing can arrive on the headless backend; quitting the loop\n");
    PostQuitMessage(-1);
  }
}

BOOL WaitMessage() {
  MSG m;
  if (PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) return TRUE;
  // Headless, nothing arrives while waiting: the caller's idle step acts.
  if (pl3::backend::Active().realDisplay) WaitForInput();
  return TRUE;
}

DWORD GetMessageTime() { return S().lastMessage.time; }

DWORD GetMessagePos() {
  POINT p = S().lastMessage.pt;
  return MAKELONG(static_cast<WORD>(static_cast<SHORT>(p.x)), static_cast<WORD>(static_cast<SHORT>(p.y)));
}

BOOL InSendMessage() { return FALSE; }

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  State& s = S();
  bool shift = s.keyState[VK_SHIFT] & 0x80;
  bool ctrl = (s.keyState[VK_CONTROL] & 0x80) && !(s.keyState[VK_MENU] & 0x80);
  bool caps = s.keyState[VK_CAPITAL] & 1;
  char c = UsKeyChar(static_cast<int>(msg->wParam), shift, caps, ctrl);
  // Typed text arrives as characters of its own: a plain key press makes a
  // character only for the control keys (Enter, Tab, Backspace, Escape,
  // Ctrl+letter), so nothing is typed twice.
  if (!c || (msg->message == WM_KEYDOWN && static_cast<unsigned char>(c) >= 0x20)) return FALSE;
  // Keypad digits with Alt make up an Alt code, not system characters.
  int vk = static_cast<int>(msg->wParam);
  if (msg->message == WM_SYSKEYDOWN && vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return FALSE;
  MSG ch = *msg;
  ch.message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  ch.wParam = static_cast<unsigned char>(c);
  s.queue.push_front(QueuedMessage{ch, false});
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if ((msg->message == WM_TIMER || msg->message == 0x0118 /* system timer */) && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    S().sendDepth++;
    proc(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(Now()));
    S().sendDepth--;
    return 0;
  }
  WindowRecord* w = Find(msg->hwnd);
  if (!w) return 0;
  if (msg->message != WM_PAINT) return Send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  // A window procedure that neither paints nor validates would be asked to
  // paint for ever: what it left is validated here. One that painted keeps
  // whatever it invalidated again for the next WM_PAINT.
  const unsigned validations = w->validations;
  LRESULT r = Send(msg->hwnd, WM_PAINT, 0, 0);
  if ((w = Find(msg->hwnd)) != nullptr && w->validations == validations) {
    w->update.Clear();
    w->erasePending = false;
    w->ncPending = false;
  }
  return r;
}

// ---- The default window procedure --------------------------------------------------

static void DefaultNcPaint(HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  if (!w) return;
  RECT in = NonClientInsetsOf(w);
  if (in.left == 0 && in.top == 0 && in.right == 0 && in.bottom == 0) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  RECT r{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  if (w->exStyle & WS_EX_CLIENTEDGE) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_3DSHADOW));
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, GetSysColorBrush(COLOR_3DDKSHADOW));
    InflateRect(&r, -1, -1);
  }
  if (w->style & WS_BORDER) FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
  if (HasOwnCaption(w->style, w->exStyle, w->parent != nullptr)) {
    RECT cap{in.left, in.left, r.right - in.left, in.top};
    FillRect(dc, &cap, GetSysColorBrush(COLOR_ACTIVECAPTION));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    cap = CaptionTextRect(hwnd);
    cap.left += 4;
    DrawTextA(dc, w->text.c_str(), -1, &cap, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    PaintCaptionButtons(hwnd, dc);
  }
  ReleaseDC(hwnd, dc);
  PaintMenuBar(hwnd);
  PaintWindowScrollBars(hwnd);
}

static LRESULT DefaultSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  WindowRecord* w = Find(hwnd);
  if (!w) return FALSE;
  // A parent may set the cursor for its children.
  if (w->parent && (w->style & WS_CHILD) && Send(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
  if ((w = Find(hwnd)) == nullptr) return FALSE;
  auto hit = static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam)));
  if (hit == HTCLIENT) {
    SetCursor(w->cls->cursor);
    return FALSE;
  }
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  return FALSE;
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* w = Find(hwnd);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      RECT in = NonClientInsetsOf(w);
      RECT* r = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      if (r) {
        r->left += in.left;
        r->top += in.top;
        r->right -= in.right;
        r->bottom -= in.bottom;
      }
      return 0;
    }
    case WM_NCHITTEST: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT c = ClientScreenRect(w), r = WindowScreenRect(w);
      if (PtInRect(&c, p)) return HTCLIENT;
      if (RECT bar = MenuBarScreenRect(hwnd); PtInRect(&bar, p)) return HTMENU;
      if (LRESULT onBar = ScrollBarHitTest(hwnd, p)) return onBar;
      if (LRESULT part = NonClientHitTest(hwnd, p)) return part;
      if (PtInRect(&r, p)) return ((w->style & WS_CAPTION) == WS_CAPTION && p.y < c.top) ? HTCAPTION : HTBORDER;
      return HTNOWHERE;
    }
    case WM_NCPAINT: DefaultNcPaint(hwnd); return 0;
    case WM_NCACTIVATE: return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      HBRUSH brush = w->cls->background;
      if (!brush) return 0;
      auto value = reinterpret_cast<std::uintptr_t>(brush);
      if (value <= static_cast<std::uintptr_t>(COLOR_COUNT)) brush = GetSysColorBrush(static_cast<int>(value - 1));
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
      return 1;
    }
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      if (!w->parent) pl3::backend::Active().windowChanged(hwnd);
      if (HasOwnCaption(w->style, w->exStyle, w->parent != nullptr)) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME);
      return TRUE;
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<LPSTR>(lParam);
      if (!buf || wParam == 0) return 0;
      size_t n = std::min(w->text.size(), static_cast<size_t>(wParam) - 1);
      std::memcpy(buf, w->text.data(), n);
      buf[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_SETCURSOR: return DefaultSetCursor(hwnd, wParam, lParam);
    case WM_MOUSEACTIVATE:
      if (w->parent && (w->style & WS_CHILD)) {
        LRESULT r = Send(w->parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return MA_ACTIVATE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
        HWND focus = GetFocus();
        if (!focus || TopLevelOf(focus) != hwnd) SetFocus(hwnd);
      }
      return 0;
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:  // a child's menu request goes up to the window that offers one
      if (w->parent && (w->style & WS_CHILD)) return Send(w->parent, message, wParam, lParam);
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && (lParam & (1 << 29))) PostMessageA(TopLevelOf(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
      DefaultMenuKey(hwnd, message, wParam, lParam);
      return 0;
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
    case WM_KEYDOWN:
      DefaultMenuKey(hwnd, message, wParam, lParam);
      return 0;
    case WM_NCLBUTTONDOWN:
      if (wParam == HTMENU) Send(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU | HTMENU, lParam);
      if (wParam == HTVSCROLL || wParam == HTHSCROLL)
        TrackScrollBar(hwnd, wParam == HTVSCROLL ? SB_VERT : SB_HORZ, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      NonClientPress(hwnd, static_cast<LRESULT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_NCLBUTTONDBLCLK:  // quick presses on a scroll bar each scroll
      if (wParam == HTVSCROLL || wParam == HTHSCROLL)
        TrackScrollBar(hwnd, wParam == HTVSCROLL ? SB_VERT : SB_HORZ, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_KEYMENU: TrackMenuBarKey(hwnd, static_cast<int>(lParam)); break;
        case SC_MOUSEMENU: {
          int item = MenuBarItemAt(TopLevelOf(hwnd), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
          if (item >= 0) TrackMenuBarMouse(hwnd, item);
          break;
        }
        case SC_MOVE:
        case SC_SIZE: MoveSizeLoop(hwnd, wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); break;
        case SC_CLOSE: Send(hwnd, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
        default: break;
      }
      return 0;
    case WM_SETREDRAW:
      w->redrawOff = !wParam;
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      auto dc = reinterpret_cast<HDC>(wParam);
      bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(field ? COLOR_WINDOW : COLOR_3DFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(field ? COLOR_WINDOW : COLOR_3DFACE));
    }
    case WM_GETMINMAXINFO:
    case WM_GETFONT:
    case WM_SHOWWINDOW:
    default: return 0;
  }
}

int pl3::PumpMessages() {
  int count = 0;
  MSG m;
  // A runaway (a window that posts to itself on every message) must not hang a test.
  for (int guard = 0; guard < 100000; ++guard) {
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) break;
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
    ++count;
  }
  PresentDirtyWindows();
  return count;
}
