// Timers and the caret, both driven by the message clock.
#include <algorithm>

#include "platform/user_internal.h"

namespace pl3::user {

namespace {

constexpr UINT kMinimumElapse = 10;  // a zero period would fire on every retrieval
constexpr UINT kCaretBlinkMs = 530;

bool Matches(const Timer& t, HWND filter) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return t.hwnd == nullptr;
  return t.hwnd == filter || IsChild(filter, t.hwnd);
}

// Inverts the caret's rectangle in its window's framebuffer.
void ToggleCaretPixels() {
  Caret& c = S().caret;
  WindowRecord* w = Find(c.owner);
  if (!w) return;
  WindowRecord* top = TopRecord(w);
  RECT client = ClientScreenRect(w);
  RECT vis = VisibleClientScreenRect(w);
  POINT so = SurfaceOrigin(top);
  RECT r{client.left + c.pos.x, client.top + c.pos.y, client.left + c.pos.x + c.width,
         client.top + c.pos.y + c.height};
  RECT cut{std::max(r.left, vis.left), std::max(r.top, vis.top), std::min(r.right, vis.right),
           std::min(r.bottom, vis.bottom)};
  PixelSurface& s = top->surface;
  for (int y = cut.top; y < cut.bottom; ++y) {
    int sy = y - so.y;
    if (sy < 0 || sy >= s.height) continue;
    for (int x = cut.left; x < cut.right; ++x) {
      int sx = x - so.x;
      if (sx < 0 || sx >= s.width) continue;
      s.pixels[static_cast<size_t>(sy) * static_cast<size_t>(s.stride) + static_cast<size_t>(sx)] ^= 0x00FFFFFF;
    }
  }
  top->dirty = true;
  c.drawn = !c.drawn;
}

void EraseCaret() {
  if (S().caret.drawn) ToggleCaretPixels();
}

}  // namespace

bool FindDueTimer(HWND filter, MSG* out, bool remove) {
  State& s = S();
  std::uint64_t now = Now();
  Timer* best = nullptr;
  for (Timer& t : s.timers)
    if (t.due <= now && Matches(t, filter) && (!best || t.due < best->due)) best = &t;
  if (!best) return false;
  *out = MSG{best->hwnd, WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->proc), static_cast<DWORD>(now),
             s.cursorPos};
  if (remove) best->due = now + best->elapse;
  return true;
}

bool AnyTimerPending() { return !S().timers.empty(); }

std::uint64_t NextTimerDue(HWND filter) {
  std::uint64_t next = kNoTimerDue;
  for (const Timer& t : S().timers)
    if (Matches(t, filter)) next = std::min(next, t.due);
  return next;
}

void KillTimersFor(HWND hwnd) {
  std::erase_if(S().timers, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
}

void CaretHideForPaint(HWND hwnd) {
  if (S().caret.owner == hwnd) EraseCaret();
}

void CaretRestoreAfterPaint(HWND hwnd) {
  Caret& c = S().caret;
  if (c.owner == hwnd && c.hideCount == 0 && !c.drawn) ToggleCaretPixels();
}

void CaretBlink() {
  Caret& c = S().caret;
  if (!c.owner || c.hideCount > 0) return;
  std::uint64_t now = Now();
  if (now < c.nextBlink) return;
  ToggleCaretPixels();
  c.nextBlink = now + kCaretBlinkMs;
}

void CaretOwnerDestroyed(HWND hwnd) {
  if (S().caret.owner == hwnd) S().caret = Caret{};
}

}  // namespace pl3::user

using namespace pl3::user;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  State& s = S();
  if (hwnd && !Find(hwnd)) return 0;
  UINT elapse = std::clamp<UINT>(elapseMs, kMinimumElapse, 0x7FFFFFFF);
  std::uint64_t due = Now() + elapse;
  for (Timer& t : s.timers)
    if (t.hwnd == hwnd && t.id == id && (hwnd || id)) {
      t.elapse = elapse;
      t.proc = proc;
      t.due = due;
      return hwnd ? (id ? id : 1) : id;
    }
  if (!hwnd) id = s.nextTimerId++;
  s.timers.push_back(Timer{hwnd, id, elapse, proc, due});
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = S().timers;
  auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers.end()) return FALSE;
  timers.erase(it);
  return TRUE;
}

std::uint64_t pl3::MessageClockNow() { return Now(); }

void pl3::AdvanceTestClock(std::uint32_t ms) { S().testClock += ms; }

// ---- Carets --------------------------------------------------------------------------

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
  if (!Find(hwnd)) return FALSE;
  DestroyCaret();
  Caret& c = S().caret;
  c.owner = hwnd;
  c.width = width > 0 ? width : 1;
  c.height = height > 0 ? height : 16;
  c.hideCount = 1;
  c.drawn = false;
  return TRUE;
}

BOOL DestroyCaret() {
  Caret& c = S().caret;
  if (!c.owner) return FALSE;
  EraseCaret();
  c = Caret{};
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  Caret& c = S().caret;
  if (!c.owner || (hwnd && hwnd != c.owner) || c.hideCount == 0) return FALSE;
  if (--c.hideCount == 0) {
    if (!c.drawn) ToggleCaretPixels();
    c.nextBlink = Now() + kCaretBlinkMs;
  }
  return TRUE;
}

BOOL HideCaret(HWND hwnd) {
  Caret& c = S().caret;
  if (!c.owner || (hwnd && hwnd != c.owner)) return FALSE;
  if (c.hideCount++ == 0) EraseCaret();
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  Caret& c = S().caret;
  if (!c.owner) return FALSE;
  bool wasDrawn = c.drawn;
  EraseCaret();
  c.pos = POINT{x, y};
  if (wasDrawn && c.hideCount == 0) ToggleCaretPixels();
  return TRUE;
}

BOOL GetCaretPos(POINT* out) {
  if (!out) return FALSE;
  *out = S().caret.pos;
  return TRUE;
}

UINT GetCaretBlinkTime() { return kCaretBlinkMs; }
