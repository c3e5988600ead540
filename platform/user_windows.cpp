// Window classes and windows: creation and destruction, the parent/child
// tree, text, rectangles and coordinate mapping, showing, enabling, window
// longs and properties.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/backend.h"
#include "platform/gdi.h"
#include "platform/window_handover.h"
#include "platform/menu_internal.h"
#include "platform/scroll_internal.h"
#include "platform/reset_hooks.h"
#include "platform/text_case.h"
#include "platform/user_internal.h"

namespace pl3::user {

State& S() {
  static State state;
  return state;
}

WindowRecord* Find(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto it = S().windows.find(hwnd);
  return it == S().windows.end() ? nullptr : it->second.get();
}

WindowRecord* TopRecord(WindowRecord* w) {
  while (w && w->parent) w = Find(w->parent);
  return w;
}

HWND TopLevelOf(HWND hwnd) {
  WindowRecord* top = TopRecord(Find(hwnd));
  return top ? top->handle : nullptr;
}

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT Offset(RECT r, int dx, int dy) {
  r.left += dx;
  r.right += dx;
  r.top += dy;
  r.bottom += dy;
  return r;
}

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.left >= r.right || r.top >= r.bottom) r = RECT{0, 0, 0, 0};
  return r;
}

// Screen position of the window's top-left corner.
POINT WindowOrigin(WindowRecord* w) {
  POINT p{w->rect.left, w->rect.top};
  if (WindowRecord* parent = Find(w->parent)) {
    POINT c = WindowOrigin(parent);
    p.x += c.x + parent->client.left;
    p.y += c.y + parent->client.top;
  }
  return p;
}

ClassRecord* FindClass(LPCSTR name) {
  if (!name) return nullptr;
  if (IS_INTRESOURCE(name)) {
    auto atom = static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(name));
    for (auto& c : S().classes)
      if (c->atom == atom) return c.get();
    return nullptr;
  }
  for (auto& c : S().classes)
    if (EqualsNoCase(c->name, name)) return c.get();
  return nullptr;
}

std::string PropKey(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return IntResourceName(name);
  return LowerCopy(name);
}

// The border widths of the non-client area. Top-level windows get their
// frame from the desktop's window manager, so their client area is the whole
// window; child windows and captioned tool windows (floating panes, shown
// without the window manager's frame) draw their own borders.
RECT NonClientInsets(DWORD style, DWORD exStyle, bool child) {
  RECT in{0, 0, 0, 0};
  if (!child && !HasOwnCaption(style, exStyle, child)) return in;
  int b = 0;
  if (style & WS_THICKFRAME)
    b += 4;
  else if ((style & WS_CAPTION) == WS_DLGFRAME || (exStyle & WS_EX_DLGMODALFRAME))
    b += 3;
  else if (style & WS_BORDER)
    b += 1;
  if (exStyle & WS_EX_CLIENTEDGE) b += 2;
  if (exStyle & WS_EX_STATICEDGE) b += 1;
  in = RECT{b, b, b, b};
  if ((style & WS_CAPTION) == WS_CAPTION) in.top += 18;
  return in;
}

void ComputeClient(WindowRecord* w) {
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = w->rect;
  params.rgrc[1] = w->rect;
  params.rgrc[2] = w->rect;
  HWND h = w->handle;
  Send(h, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
  w = Find(h);
  if (!w) return;
  RECT c = params.rgrc[0];
  c.right = std::max(c.right, c.left);
  c.bottom = std::max(c.bottom, c.top);
  w->client = Offset(c, -w->rect.left, -w->rect.top);
}

void RemoveFromList(std::vector<HWND>& list, HWND h) { list.erase(std::remove(list.begin(), list.end(), h), list.end()); }

std::vector<HWND>& SiblingList(WindowRecord* w) {
  if (WindowRecord* p = Find(w->parent)) return p->children;
  return S().topLevels;
}

void NotifyBackend(WindowRecord* w) {
  if (w && !w->parent) backend::Active().windowChanged(w->handle);
}

POINT DefaultTopLevelPosition() {
  static int cascade = 0;
  int n = cascade++ % 8;
  return POINT{40 + 24 * n, 40 + 24 * n};
}

void ResetUser();

}  // namespace

RECT WindowScreenRect(WindowRecord* w) {
  POINT o = WindowOrigin(w);
  return RECT{o.x, o.y, o.x + Width(w->rect), o.y + Height(w->rect)};
}

RECT ClientScreenRect(WindowRecord* w) {
  POINT o = WindowOrigin(w);
  return Offset(w->client, o.x, o.y);
}

bool IsReallyVisible(WindowRecord* w) {
  for (; w; w = Find(w->parent)) {
    if (!(w->style & WS_VISIBLE)) return false;
    if (!w->parent) return true;
  }
  return false;
}

RECT VisibleClientScreenRect(WindowRecord* w) {
  if (!IsReallyVisible(w)) return RECT{0, 0, 0, 0};
  RECT r = ClientScreenRect(w);
  for (WindowRecord* p = Find(w->parent); p; p = Find(p->parent)) r = Intersect(r, ClientScreenRect(p));
  return r;
}

POINT SurfaceOrigin(WindowRecord* top) { return POINT{top->rect.left, top->rect.top}; }

void SendSizeMove(WindowRecord* w) {
  HWND h = w->handle;
  WPARAM kind = (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
  int cw = Width(w->client), ch = Height(w->client);
  if (kind == SIZE_MINIMIZED) cw = ch = 0;
  Send(h, WM_SIZE, kind, MAKELPARAM(static_cast<WORD>(cw), static_cast<WORD>(ch)));
  if ((w = Find(h)) == nullptr) return;
  POINT p{w->rect.left + w->client.left, w->rect.top + w->client.top};
  Send(h, WM_MOVE, 0, MAKEPOINTLPARAM(p.x, p.y));
  if ((w = Find(h)) != nullptr) w->sizeSent = true;
}

void ActivateWindow(HWND hwnd, WORD how) {
  State& s = S();
  WindowRecord* w = TopRecord(Find(hwnd));
  if (!w || s.active == w->handle) return;
  HWND h = w->handle;
  HWND old = s.active;
  if (!old) SendActivateApp(TRUE);
  s.active = h;
  if (Find(old)) {
    Send(old, WM_NCACTIVATE, FALSE, 0);
    Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(h));
  }
  if (!Find(h) || s.active != h) return;
  // To the front, behind any topmost window unless it is one itself.
  RemoveFromList(s.topLevels, h);
  auto at = s.topLevels.begin();
  if (!(Find(h)->exStyle & WS_EX_TOPMOST))
    while (at != s.topLevels.end() && Find(*at) && (Find(*at)->exStyle & WS_EX_TOPMOST)) ++at;
  s.topLevels.insert(at, h);
  Send(h, WM_NCACTIVATE, TRUE, 0);
  if (WindowRecord* now = Find(h))
    Send(h, WM_ACTIVATE, MAKEWPARAM(how, (now->style & WS_MINIMIZE) ? 1 : 0), reinterpret_cast<LPARAM>(old));
}

// The next window to activate when `leaving` goes: its owner, else the
// front-most other visible top-level window.
static void ActivateSuccessor(HWND leaving) {
  State& s = S();
  if (s.active != leaving) return;
  WindowRecord* w = Find(leaving);
  HWND next = nullptr;
  if (w && Find(w->owner) && IsReallyVisible(Find(w->owner)) && !(Find(w->owner)->style & WS_DISABLED))
    next = w->owner;
  if (!next)
    for (HWND h : s.topLevels) {
      WindowRecord* t = Find(h);
      if (h != leaving && t && (t->style & WS_VISIBLE) && !(t->style & WS_DISABLED) && !t->destroying) {
        next = h;
        break;
      }
    }
  s.active = nullptr;
  if (Find(leaving)) Send(leaving, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(next));
  if (next) {
    ActivateWindow(next, WA_ACTIVE);
  } else {
    if (s.focus && TopLevelOf(s.focus) == leaving) s.focus = nullptr;
  }
}

static bool InSubtree(HWND root, HWND h) {
  for (WindowRecord* w = Find(h); w; w = Find(w->parent))
    if (w->handle == root) return true;
  return false;
}

void ForgetWindow(WindowRecord* w) {
  State& s = S();
  HWND h = w->handle;
  KillTimersFor(h);
  RemoveMessagesFor(h);
  CaretOwnerDestroyed(h);
  ReleaseAllDCs(h);
  if (s.focus == h) s.focus = nullptr;
  ForgetInputWindow(h);
  if (s.active == h) s.active = nullptr;
  if (s.lastDownWindow == h) s.lastDownWindow = nullptr;
  if (s.lastMouseWindow == h) s.lastMouseWindow = nullptr;
  if (WindowRecord* p = Find(w->parent)) RemoveFromList(p->children, h);
  RemoveFromList(s.topLevels, h);
  if (!w->parent) backend::Active().windowDestroyed(h);
  if (w->cls) w->cls->windows--;
  MenusWindowForgotten(w);
  ScrollWindowForgotten(h);
  w->state.reset();
  auto it = s.windows.find(h);
  if (it != s.windows.end()) {
    s.zombies.push_back(std::move(it->second));
    s.windows.erase(it);
  }
}

ClassRecord* AddSystemClass(const char* name, UINT style, WNDPROC proc, int wndExtra, HCURSOR cursor,
                            HBRUSH background) {
  if (ClassRecord* c = FindClass(name)) return c;
  auto c = std::make_unique<ClassRecord>();
  c->name = name;
  c->atom = S().nextAtom++;
  c->style = style;
  c->proc = proc;
  c->wndExtra = wndExtra;
  c->cursor = cursor;
  c->background = background;
  c->system = true;
  S().classes.push_back(std::move(c));
  return S().classes.back().get();
}

static void EnsureSystemClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterDialogClass();
  RegisterControlClasses();
  RegisterCommonControlClasses();
  RegisterMenuClass();
  RegisterMdiClientClass();
}

namespace {

// Destroys every window and class without sending a message: the window
// procedures of an earlier test may point at state that is gone.
void ResetUser() {
  State& s = S();
  for (auto& [h, w] : s.windows)
    if (!w->parent) backend::Active().windowDestroyed(h);
  for (auto& [dc, held] : s.heldDCs) DeleteSurfaceDC(dc);
  s.heldDCs.clear();
  for (auto& [h, w] : s.windows)
    if (w->ownDC) DeleteSurfaceDC(w->ownDC);
  s.windows.clear();
  s.zombies.clear();
  s.topLevels.clear();
  std::erase_if(s.classes, [](const std::unique_ptr<ClassRecord>& c) { return !c->system; });
  for (auto& c : s.classes) c->windows = 0;
  s.queue.clear();
  s.quitPosted = false;
  s.quitCode = 0;
  s.sendDepth = 0;
  s.focus = s.active = s.capture = nullptr;
  s.timers.clear();
  s.testClock = 0;
  s.lastMessage = MSG{};
  std::memset(s.keyState, 0, sizeof s.keyState);
  std::memset(s.asyncKeyState, 0, sizeof s.asyncKeyState);
  s.cursorPos = POINT{};
  s.cursorShape = IDC_ARROW_ID;
  s.cursorShowCount = 0;
  s.caret = Caret{};
  s.beepCount = 0;
  s.lastDownMessage = 0;
  s.lastDownWindow = s.lastMouseWindow = nullptr;
  s.lastDownTime = 0;
  s.input = InputState{};
}

const bool kResetRegistered = RegisterGlobalReset(&ResetUser);

}  // namespace

}  // namespace pl3::user

using namespace pl3::user;

// ---- Classes -----------------------------------------------------------------

static ATOM RegisterClassRecord(const WNDCLASSEXA& wc) {
  EnsureSystemClasses();
  if (!wc.lpszClassName || !wc.lpfnWndProc) return 0;
  std::string name = IS_INTRESOURCE(wc.lpszClassName) ? IntResourceName(wc.lpszClassName) : std::string(wc.lpszClassName);
  if (ClassRecord* existing = FindClass(name.c_str())) {
    if (!existing->system) return 0;  // already registered
  }
  auto c = std::make_unique<ClassRecord>();
  c->name = name;
  c->atom = S().nextAtom++;
  c->style = wc.style;
  c->proc = wc.lpfnWndProc;
  c->clsExtra = std::max(0, wc.cbClsExtra);
  c->wndExtra = std::max(0, wc.cbWndExtra);
  c->instance = wc.hInstance;
  c->icon = wc.hIcon;
  c->iconSmall = wc.hIconSm;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  if (wc.lpszMenuName && !IS_INTRESOURCE(wc.lpszMenuName)) c->menuName = wc.lpszMenuName;
  c->extra.assign(static_cast<size_t>(c->clsExtra), 0);
  ATOM atom = c->atom;
  // An application class of the same name as a built-in one takes precedence.
  S().classes.insert(S().classes.begin(), std::move(c));
  return atom;
}

ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc) return 0;
  WNDCLASSEXA ex{sizeof(WNDCLASSEXA), wc->style,   wc->lpfnWndProc,   wc->cbClsExtra,
                 wc->cbWndExtra,      wc->hInstance, wc->hIcon,       wc->hCursor,
                 wc->hbrBackground,   wc->lpszMenuName, wc->lpszClassName, nullptr};
  return RegisterClassRecord(ex);
}

ATOM RegisterClassExA(const WNDCLASSEXA* wc) { return wc ? RegisterClassRecord(*wc) : 0; }

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  ClassRecord* c = FindClass(className);
  if (!c || c->system || c->windows > 0) return FALSE;
  std::erase_if(S().classes, [c](const std::unique_ptr<ClassRecord>& p) { return p.get() == c; });
  return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR className, WNDCLASSEXA* out) {
  EnsureSystemClasses();
  ClassRecord* c = FindClass(className);
  if (!c || !out) return FALSE;
  *out = WNDCLASSEXA{sizeof(WNDCLASSEXA), c->style,    c->proc,       c->clsExtra, c->wndExtra,
                     c->instance,         c->icon,     c->cursor,     c->background,
                     c->menuName.empty() ? nullptr : c->menuName.c_str(), c->name.c_str(), c->iconSmall};
  return TRUE;
}

BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* out) {
  WNDCLASSEXA ex{};
  if (!out || !GetClassInfoExA(instance, className, &ex)) return FALSE;
  *out = WNDCLASSA{ex.style,   ex.lpfnWndProc, ex.cbClsExtra,    ex.cbWndExtra,   ex.hInstance,
                   ex.hIcon,   ex.hCursor,     ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
  return TRUE;
}

int GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
  WindowRecord* w = Find(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  int n = std::min<int>(static_cast<int>(w->cls->name.size()), size - 1);
  std::memcpy(buffer, w->cls->name.data(), static_cast<size_t>(n));
  buffer[n] = '\0';
  return n;
}

static ULONG_PTR ClassLong(ClassRecord* c, int index, const LONG_PTR* set) {
  auto swap = [set](auto& field) {
    ULONG_PTR old = reinterpret_cast<ULONG_PTR>(field);
    if (set) field = reinterpret_cast<std::remove_reference_t<decltype(field)>>(*set);
    return old;
  };
  switch (index) {
    case GCLP_HBRBACKGROUND: return swap(c->background);
    case GCLP_HCURSOR: return swap(c->cursor);
    case GCLP_HICON: return swap(c->icon);
    case GCLP_HICONSM: return swap(c->iconSmall);
    case GCLP_HMODULE: return swap(c->instance);
    case GCLP_WNDPROC: return swap(c->proc);
    case GCL_STYLE: {
      ULONG_PTR old = c->style;
      if (set) c->style = static_cast<UINT>(*set);
      return old;
    }
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(c->wndExtra);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(c->clsExtra);
    default: break;
  }
  if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= c->extra.size()) {
    LONG_PTR old;
    std::memcpy(&old, c->extra.data() + index, sizeof old);
    if (set) std::memcpy(c->extra.data() + index, set, sizeof *set);
    return static_cast<ULONG_PTR>(old);
  }
  return 0;
}

ULONG_PTR GetClassLongPtrA(HWND hwnd, int index) {
  WindowRecord* w = Find(hwnd);
  return w ? ClassLong(w->cls, index, nullptr) : 0;
}

ULONG_PTR SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  WindowRecord* w = Find(hwnd);
  return w ? ClassLong(w->cls, index, &value) : 0;
}

// ---- Creation and destruction ---------------------------------------------------

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  EnsureSystemClasses();
  State& s = S();
  ClassRecord* cls = FindClass(className);
  if (!cls) return nullptr;
  bool messageOnly = parent == HWND_MESSAGE;
  if (messageOnly) parent = nullptr;
  bool child = (style & WS_CHILD) != 0;
  if (child && !Find(parent)) return nullptr;
  if (!child && parent && !Find(parent)) return nullptr;

  auto rec = std::make_unique<WindowRecord>();
  WindowRecord* w = rec.get();
  w->handle = reinterpret_cast<HWND>(s.nextHandle);
  s.nextHandle += 4;
  w->cls = cls;
  w->proc = cls->proc;
  w->style = style & ~WS_VISIBLE;
  w->exStyle = exStyle;
  w->instance = instance;
  w->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
  if (child) {
    w->parent = parent;
    w->id = reinterpret_cast<LONG_PTR>(menu);
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
  } else {
    if (parent) w->owner = TopLevelOf(parent);
    if (menu && IsMenu(menu)) w->menu = menu;
    RECT screen = pl3::ScreenRect();
    if (x == CW_USEDEFAULT) {
      POINT p = (style & WS_POPUP) ? POINT{0, 0} : DefaultTopLevelPosition();
      x = p.x;
      y = p.y;
    }
    if (width == CW_USEDEFAULT) {
      width = (style & WS_POPUP) ? 0 : Width(screen) * 3 / 4;
      height = (style & WS_POPUP) ? 0 : Height(screen) * 3 / 4;
    }
  }
  w->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
  w->normalRect = w->rect;
  HWND h = w->handle;
  s.windows.emplace(h, std::move(rec));
  cls->windows++;
  if (child) {
    Find(parent)->children.push_back(h);  // creation order is tab order
  } else {
    auto at = s.topLevels.begin();  // in front, but behind topmost windows unless it is one
    if (!(exStyle & WS_EX_TOPMOST))
      while (at != s.topLevels.end() && Find(*at) && (Find(*at)->exStyle & WS_EX_TOPMOST)) ++at;
    s.topLevels.insert(at, h);
    ResizeSurface(w);
    if (!messageOnly) pl3::backend::Active().windowCreated(h);
  }

  CREATESTRUCTA cs{param,  instance,  menu,  parent,    height,    width,
                   y,      x,         static_cast<LONG>(style), windowName, className, exStyle};
  if (!Send(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if ((w = Find(h)) != nullptr) {
      Send(h, WM_NCDESTROY, 0, 0);
      if ((w = Find(h)) != nullptr) ForgetWindow(w);
    }
    return nullptr;
  }
  if ((w = Find(h)) == nullptr) return nullptr;
  ComputeClient(w);
  if (Find(h) == nullptr) return nullptr;
  if (Send(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(h);
    return nullptr;
  }
  if ((w = Find(h)) == nullptr) return nullptr;
  if (!w->sizeSent) SendSizeMove(w);
  if ((w = Find(h)) == nullptr) return nullptr;
  if (style & WS_VISIBLE) {
    if (child)
      ShowWindow(h, SW_SHOWNA);
    else
      ShowWindow(h, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED : SW_SHOW);
  }
  return Find(h) ? h : nullptr;
}

static void CollectPreorder(HWND h, std::vector<HWND>& out) {
  WindowRecord* w = Find(h);
  if (!w) return;
  out.push_back(h);
  std::vector<HWND> kids(w->children.rbegin(), w->children.rend());
  for (HWND k : kids) CollectPreorder(k, out);
}

BOOL DestroyWindow(HWND hwnd) {
  State& s = S();
  WindowRecord* w = Find(hwnd);
  if (!w) return FALSE;
  if (w->destroying) return TRUE;
  w->destroying = true;

  // Owned windows go first.
  std::vector<HWND> owned;
  for (HWND t : s.topLevels)
    if (Find(t) && Find(t)->owner == hwnd) owned.push_back(t);
  for (HWND t : owned) DestroyWindow(t);

  if ((w = Find(hwnd)) == nullptr) return TRUE;
  if (s.capture && InSubtree(hwnd, s.capture)) ReleaseCapture();
  if ((w = Find(hwnd)) == nullptr) return TRUE;
  if (w->style & WS_VISIBLE) {
    if (w->parent) InvalidateParentArea(w);
    w->style &= ~WS_VISIBLE;
    NotifyBackend(w);
  }
  if (s.focus && InSubtree(hwnd, s.focus)) s.focus = nullptr;  // no WM_KILLFOCUS to a window going away
  if (!w->parent) ActivateSuccessor(hwnd);

  std::vector<HWND> tree;
  CollectPreorder(hwnd, tree);
  for (HWND h : tree) {
    if (WindowRecord* t = Find(h)) {
      t->destroying = true;
      Send(h, WM_DESTROY, 0, 0);
    }
  }
  for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
    if (Find(*it)) Send(*it, WM_NCDESTROY, 0, 0);
    if (WindowRecord* t = Find(*it)) ForgetWindow(t);
  }
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Find(hwnd) ? TRUE : FALSE; }

BOOL IsChild(HWND parent, HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  if (!w || !Find(parent)) return FALSE;
  for (WindowRecord* p = Find(w->parent); p; p = Find(p->parent))
    if (p->handle == parent) return TRUE;
  return FALSE;
}

HWND GetParent(HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  if (!w) return nullptr;
  if (w->style & WS_CHILD) return w->parent;
  return w->owner;
}

HWND SetParent(HWND hwnd, HWND newParent) {
  WindowRecord* w = Find(hwnd);
  if (!w || (newParent && !Find(newParent)) || hwnd == newParent) return nullptr;
  if (newParent && InSubtree(hwnd, newParent)) return nullptr;
  HWND old = w->parent ? w->parent : GetDesktopWindow();
  bool visible = (w->style & WS_VISIBLE) != 0;
  if (visible) InvalidateParentArea(w);
  if (WindowRecord* p = Find(w->parent)) {
    RemoveFromList(p->children, hwnd);
  } else {
    RemoveFromList(S().topLevels, hwnd);
    pl3::backend::Active().windowDestroyed(hwnd);
  }
  if (newParent && newParent != GetDesktopWindow()) {
    w->parent = newParent;
    w->style |= WS_CHILD;
    Find(newParent)->children.push_back(hwnd);
  } else {
    w->parent = nullptr;
    w->style &= ~WS_CHILD;
    S().topLevels.insert(S().topLevels.begin(), hwnd);
    ResizeSurface(w);
    pl3::backend::Active().windowCreated(hwnd);
    NotifyBackend(w);
  }
  if (visible) InvalidateArea(w, nullptr, true, true);
  return old;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  WindowRecord* w = Find(hwnd);
  if (!w) return nullptr;
  switch (flags) {
    case GA_PARENT: return w->parent ? w->parent : GetDesktopWindow();
    case GA_ROOT: return TopRecord(w)->handle;
    case GA_ROOTOWNER: {
      WindowRecord* t = TopRecord(w);
      while (Find(t->owner)) t = Find(t->owner);
      return t->handle;
    }
    default: return nullptr;
  }
}

HWND GetWindow(HWND hwnd, UINT relation) {
  WindowRecord* w = Find(hwnd);
  if (!w) return nullptr;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (relation == GW_OWNER) return w->parent ? nullptr : w->owner;
  std::vector<HWND>& list = SiblingList(w);
  auto it = std::find(list.begin(), list.end(), hwnd);
  switch (relation) {
    case GW_HWNDFIRST: return list.front();
    case GW_HWNDLAST: return list.back();
    case GW_HWNDNEXT: return (it == list.end() || it + 1 == list.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == list.begin() || it == list.end()) ? nullptr : *(it - 1);
    default: return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) {
  if (!hwnd) return S().topLevels.empty() ? nullptr : S().topLevels.front();
  return GetWindow(hwnd, GW_CHILD);
}

HWND GetDesktopWindow() { return reinterpret_cast<HWND>(0x8); }

HWND GetDlgItem(HWND dialog, int id) {
  WindowRecord* w = Find(dialog);
  if (!w) return nullptr;
  for (HWND c : w->children)
    if (Find(c) && Find(c)->id == id) return c;
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  return (w && (w->style & WS_CHILD)) ? static_cast<int>(w->id) : 0;
}

static bool MatchesClassAndTitle(WindowRecord* w, LPCSTR className, LPCSTR windowName) {
  if (className && FindClass(className) != w->cls) return false;
  if (windowName && w->text != windowName) return false;
  return true;
}

HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName) {
  if (className && !FindClass(className)) return nullptr;
  std::vector<HWND> list;
  if (parent && parent != GetDesktopWindow()) {
    WindowRecord* p = Find(parent);
    if (!p) return nullptr;
    list = p->children;
  } else {
    list = S().topLevels;
  }
  auto it = list.begin();
  if (childAfter) {
    it = std::find(list.begin(), list.end(), childAfter);
    if (it == list.end()) return nullptr;
    ++it;
  }
  for (; it != list.end(); ++it)
    if (WindowRecord* w = Find(*it); w && MatchesClassAndTitle(w, className, windowName)) return *it;
  return nullptr;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
  if (HWND local = FindWindowExA(nullptr, nullptr, className, windowName)) return local;
  // Another instance of the program may show it.
  return pl3::handover::FindRemote(className, windowName);
}

static bool EnumTree(HWND h, WNDENUMPROC fn, LPARAM param) {
  WindowRecord* w = Find(h);
  if (!w) return true;
  std::vector<HWND> kids = w->children;
  for (HWND k : kids) {
    if (!Find(k)) continue;
    if (!fn(k, param)) return false;
    if (!EnumTree(k, fn, param)) return false;
  }
  return true;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC fn, LPARAM param) {
  if (!fn) return FALSE;
  if (!parent) return EnumWindows(fn, param);
  return EnumTree(parent, fn, param) ? TRUE : FALSE;
}

BOOL EnumWindows(WNDENUMPROC fn, LPARAM param) {
  if (!fn) return FALSE;
  std::vector<HWND> tops = S().topLevels;
  for (HWND h : tops)
    if (Find(h) && !fn(h, param)) return FALSE;
  return TRUE;
}

HWND ChildWindowFromPointEx(HWND parent, POINT client, UINT flags) {
  WindowRecord* p = Find(parent);
  if (!p) return nullptr;
  RECT cr{0, 0, Width(p->client), Height(p->client)};
  if (!PtInRect(&cr, client)) return nullptr;
  for (HWND c : p->children) {
    WindowRecord* w = Find(c);
    if (!w) continue;
    if ((flags & CWP_SKIPINVISIBLE) && !(w->style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && (w->style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (w->exStyle & WS_EX_TRANSPARENT)) continue;
    if (PtInRect(&w->rect, client)) return c;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT client) { return ChildWindowFromPointEx(parent, client, CWP_ALL); }

HWND WindowFromPoint(POINT screen) {
  for (HWND t : S().topLevels) {
    WindowRecord* w = Find(t);
    if (!w || !(w->style & WS_VISIBLE)) continue;
    RECT r = WindowScreenRect(w);
    if (!PtInRect(&r, screen)) continue;
    HWND h = t;
    for (;;) {
      WindowRecord* cur = Find(h);
      RECT c = ClientScreenRect(cur);
      if (!PtInRect(&c, screen)) return h;
      HWND next = nullptr;
      for (HWND k : cur->children) {
        WindowRecord* kw = Find(k);
        if (!kw || !(kw->style & WS_VISIBLE)) continue;
        RECT kr = WindowScreenRect(kw);
        if (!PtInRect(&kr, screen)) continue;
        if (Send(k, WM_NCHITTEST, 0, MAKEPOINTLPARAM(screen.x, screen.y)) == HTTRANSPARENT) continue;
        next = k;
        break;
      }
      if (!next) return h;
      h = next;
    }
  }
  return nullptr;
}

// ---- Window longs and properties ------------------------------------------------------

static LONG_PTR WindowLong(HWND hwnd, int index, const LONG_PTR* set) {
  WindowRecord* w = Find(hwnd);
  if (!w) return 0;
  LONG_PTR old = 0;
  switch (index) {
    case GWLP_WNDPROC:
      old = reinterpret_cast<LONG_PTR>(w->proc);
      if (set && *set) w->proc = reinterpret_cast<WNDPROC>(*set);
      return old;
    case GWLP_HINSTANCE:
      old = reinterpret_cast<LONG_PTR>(w->instance);
      if (set) w->instance = reinterpret_cast<HINSTANCE>(*set);
      return old;
    case GWLP_HWNDPARENT:
      old = reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
      if (set && !w->parent) w->owner = TopLevelOf(reinterpret_cast<HWND>(*set));
      return old;
    case GWLP_ID:
      old = w->id;
      if (set) w->id = *set;
      return old;
    case GWLP_USERDATA:
      old = w->userData;
      if (set) w->userData = *set;
      return old;
    case GWL_STYLE:
      old = static_cast<LONG_PTR>(w->style);
      if (set) {
        DWORD keep = w->style & WS_VISIBLE;  // visibility changes only through ShowWindow
        w->style = (static_cast<DWORD>(*set) & ~WS_VISIBLE) | keep;
      }
      return old;
    case GWL_EXSTYLE:
      old = static_cast<LONG_PTR>(w->exStyle);
      if (set) w->exStyle = static_cast<DWORD>(*set);
      return old;
    default: break;
  }
  if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w->extra.size()) {
    std::memcpy(&old, w->extra.data() + index, sizeof old);
    if (set) std::memcpy(w->extra.data() + index, set, sizeof *set);
    return old;
  }
  if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG) <= w->extra.size()) {
    LONG small;
    std::memcpy(&small, w->extra.data() + index, sizeof small);
    if (set) {
      auto v = static_cast<LONG>(*set);
      std::memcpy(w->extra.data() + index, &v, sizeof v);
    }
    return small;
  }
  return 0;
}

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) { return WindowLong(hwnd, index, nullptr); }
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) { return WindowLong(hwnd, index, &value); }

BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data) {
  WindowRecord* w = Find(hwnd);
  if (!w || !name) return FALSE;
  std::string key = PropKey(name);
  for (auto& [k, v] : w->props)
    if (k == key) {
      v = data;
      return TRUE;
    }
  w->props.emplace_back(key, data);
  return TRUE;
}

HANDLE GetPropA(HWND hwnd, LPCSTR name) {
  WindowRecord* w = Find(hwnd);
  if (!w || !name) return nullptr;
  std::string key = PropKey(name);
  for (auto& [k, v] : w->props)
    if (k == key) return v;
  return nullptr;
}

HANDLE RemovePropA(HWND hwnd, LPCSTR name) {
  WindowRecord* w = Find(hwnd);
  if (!w || !name) return nullptr;
  std::string key = PropKey(name);
  for (auto it = w->props.begin(); it != w->props.end(); ++it)
    if (it->first == key) {
      HANDLE v = it->second;
      w->props.erase(it);
      return v;
    }
  return nullptr;
}

// ---- Text ----------------------------------------------------------------------------------

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  if (!Find(hwnd)) return 0;
  return static_cast<int>(Send(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND hwnd) { return Find(hwnd) ? static_cast<int>(Send(hwnd, WM_GETTEXTLENGTH, 0, 0)) : 0; }

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (!Find(hwnd)) return FALSE;
  return Send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

// ---- Rectangles and coordinates ----------------------------------------------------------------

BOOL GetWindowRect(HWND hwnd, RECT* out) {
  // The desktop is the screen.
  if (hwnd && hwnd == GetDesktopWindow() && out) {
    *out = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return TRUE;
  }
  WindowRecord* w = Find(hwnd);
  if (!w || !out) return FALSE;
  *out = WindowScreenRect(w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* out) {
  WindowRecord* w = Find(hwnd);
  if (!w || !out) return FALSE;
  *out = RECT{0, 0, Width(w->client), Height(w->client)};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* pt) {
  WindowRecord* w = Find(hwnd);
  if (!w || !pt) return FALSE;
  RECT c = ClientScreenRect(w);
  pt->x += c.left;
  pt->y += c.top;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt) {
  WindowRecord* w = Find(hwnd);
  if (!w || !pt) return FALSE;
  RECT c = ClientScreenRect(w);
  pt->x -= c.left;
  pt->y -= c.top;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  POINT o1{0, 0}, o2{0, 0};
  if (from && from != GetDesktopWindow() && !ClientToScreen(from, &o1)) return 0;
  if (to && to != GetDesktopWindow() && !ScreenToClient(to, &o2)) return 0;
  int dx = o1.x + o2.x, dy = o1.y + o2.y;
  for (UINT i = 0; i < count && points; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(static_cast<SHORT>(dx)), static_cast<WORD>(static_cast<SHORT>(dy)));
}

static void ReorderWindow(WindowRecord* w, HWND after) {
  std::vector<HWND>& list = SiblingList(w);
  HWND h = w->handle;
  if (after == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
  if (after == HWND_NOTOPMOST) w->exStyle &= ~WS_EX_TOPMOST;
  RemoveFromList(list, h);
  if (after == HWND_BOTTOM) {
    list.push_back(h);
  } else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    list.insert(list.begin(), h);
  } else {
    auto it = std::find(list.begin(), list.end(), after);
    list.insert(it == list.end() ? list.begin() : it + 1, h);
  }
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  WindowRecord* w = Find(hwnd);
  if (!w) return FALSE;
  if (!(flags & SWP_NOZORDER)) {
    ReorderWindow(w, insertAfter);
    if (w->style & WS_VISIBLE && !(flags & SWP_NOREDRAW)) InvalidateArea(w, nullptr, true, true);
  }
  RECT old = w->rect;
  RECT r = old;
  if (!(flags & SWP_NOMOVE)) r = Offset(r, x - r.left, y - r.top);
  if (!(flags & SWP_NOSIZE)) {
    r.right = r.left + std::max(0, cx);
    r.bottom = r.top + std::max(0, cy);
  }
  bool moved = r.left != old.left || r.top != old.top;
  bool sized = Width(r) != Width(old) || Height(r) != Height(old);
  if (moved || sized || (flags & SWP_FRAMECHANGED)) {
    bool visible = (w->style & WS_VISIBLE) != 0;
    if (visible && !(flags & SWP_NOREDRAW) && w->parent) InvalidateParentArea(w);
    w->rect = r;
    if (!(w->style & (WS_MAXIMIZE | WS_MINIMIZE))) w->normalRect = r;
    RECT oldClient = w->client;
    ComputeClient(w);
    if ((w = Find(hwnd)) == nullptr) return TRUE;
    if (!w->parent) ResizeSurface(w);
    NotifyBackend(w);
    bool clientSized = Width(oldClient) != Width(w->client) || Height(oldClient) != Height(w->client);
    if (sized || clientSized || moved) SendSizeMove(w);
    if ((w = Find(hwnd)) == nullptr) return TRUE;
    if (visible && !(flags & SWP_NOREDRAW)) {
      InvalidateArea(w, nullptr, true, true);
      if (WindowRecord* ww = Find(hwnd)) ww->erasePending = true;
    }
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  if (!(flags & (SWP_NOACTIVATE | SWP_NOZORDER)) && (w = Find(hwnd)) && !w->parent && (w->style & WS_VISIBLE))
    ActivateWindow(hwnd, WA_ACTIVE);
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) return FALSE;
  RECT in = NonClientInsets(style, exStyle, (style & WS_CHILD) != 0);
  if (menu && !(style & WS_CHILD)) in.top += GetSystemMetrics(SM_CYMENU);  // one row of the bar
  rect->left -= in.left;
  rect->top -= in.top;
  rect->right += in.right;
  rect->bottom += in.bottom;
  return TRUE;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* out) {
  WindowRecord* w = Find(hwnd);
  if (!w || !out) return FALSE;
  out->length = sizeof(WINDOWPLACEMENT);
  out->flags = 0;
  // A placement is minimised, maximised or normal; hiding is no placement,
  // so a window hidden on its way out (WM_DESTROY) is saved as normal and
  // restored shown.
  out->showCmd = (w->style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                 : (w->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                            : SW_SHOWNORMAL;
  out->ptMinPosition = POINT{-1, -1};
  out->ptMaxPosition = POINT{-1, -1};
  out->rcNormalPosition = (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) ? w->normalRect : w->rect;
  return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* p) {
  WindowRecord* w = Find(hwnd);
  if (!w || !p) return FALSE;
  const RECT& r = p->rcNormalPosition;
  if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
    w->normalRect = r;
  } else {
    SetWindowPos(hwnd, nullptr, r.left, r.top, Width(r), Height(r), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (!Find(hwnd)) return FALSE;
  ShowWindow(hwnd, static_cast<int>(p->showCmd));
  if ((w = Find(hwnd)) != nullptr) w->normalRect = r;
  return TRUE;
}

// ---- Showing and enabling --------------------------------------------------------------

static RECT MaximisedRect(WindowRecord* w) {
  if (WindowRecord* p = Find(w->parent)) return RECT{0, 0, Width(p->client), Height(p->client)};
  return pl3::ScreenRect();
}

static void SetShape(WindowRecord* w, DWORD state, const RECT& r) {
  HWND h = w->handle;
  if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->normalRect = w->rect;
  w->style = (w->style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | state;
  bool visible = (w->style & WS_VISIBLE) != 0;
  if (visible && w->parent) InvalidateParentArea(w);
  w->rect = r;
  ComputeClient(w);
  if ((w = Find(h)) == nullptr) return;
  if (!w->parent) ResizeSurface(w);
  NotifyBackend(w);
  SendSizeMove(w);
  if ((w = Find(h)) != nullptr && visible) InvalidateArea(w, nullptr, true, true);
}

BOOL ShowWindow(HWND hwnd, int command) {
  State& s = S();
  WindowRecord* w = Find(hwnd);
  if (!w) return FALSE;
  bool wasVisible = (w->style & WS_VISIBLE) != 0;
  if (command == SW_HIDE) {
    if (!wasVisible) return FALSE;
    Send(hwnd, WM_SHOWWINDOW, FALSE, 0);
    if ((w = Find(hwnd)) == nullptr) return TRUE;
    if (w->parent) InvalidateParentArea(w);
    w->style &= ~WS_VISIBLE;
    NotifyBackend(w);
    if (s.focus && InSubtree(hwnd, s.focus)) {
      HWND parent = w->parent;
      SetFocus(parent && Find(parent) ? parent : nullptr);
    }
    if (s.capture && InSubtree(hwnd, s.capture)) ReleaseCapture();
    if (!w->parent) ActivateSuccessor(hwnd);
    return TRUE;
  }
  switch (command) {
    case SW_SHOWMAXIMIZED:
      if (!(w->style & WS_MAXIMIZE)) SetShape(w, WS_MAXIMIZE, MaximisedRect(w));
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      if (!(w->style & WS_MINIMIZE)) SetShape(w, WS_MINIMIZE, w->rect);
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
      if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) SetShape(w, 0, w->normalRect);
      break;
    default: break;
  }
  if ((w = Find(hwnd)) == nullptr) return wasVisible;
  if (!(w->style & WS_VISIBLE)) {
    Send(hwnd, WM_SHOWWINDOW, TRUE, 0);
    if ((w = Find(hwnd)) == nullptr) return wasVisible;
    w->style |= WS_VISIBLE;
    NotifyBackend(w);
    InvalidateArea(w, nullptr, true, true);
  }
  bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE &&
                  command != SW_MINIMIZE && !(w->exStyle & WS_EX_NOACTIVATE);
  if (!w->parent && activate) ActivateWindow(hwnd, WA_ACTIVE);
  return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  return (w && IsReallyVisible(w)) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  return (w && (w->style & WS_MINIMIZE)) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  return (w && (w->style & WS_MAXIMIZE)) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  WindowRecord* w = Find(hwnd);
  if (!w) return FALSE;
  BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (enable && wasDisabled) {
    w->style &= ~WS_DISABLED;
    Send(hwnd, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    w->style |= WS_DISABLED;
    if (S().capture && InSubtree(hwnd, S().capture)) ReleaseCapture();
    if (S().focus && InSubtree(hwnd, S().focus)) SetFocus(nullptr);
    Send(hwnd, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  return (w && !(w->style & WS_DISABLED)) ? TRUE : FALSE;
}

RECT pl3::user::NonClientInsetsOf(WindowRecord* w) {
  RECT in = NonClientInsets(w->style, w->exStyle, w->parent != nullptr);
  in.top += MenuBarHeightOf(w);
  if (w->style & WS_VSCROLL) in.right += GetSystemMetrics(SM_CXVSCROLL);
  if (w->style & WS_HSCROLL) in.bottom += GetSystemMetrics(SM_CYHSCROLL);
  return in;
}
