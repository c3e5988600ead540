// Painting: the framebuffer of each top-level window, device contexts on
// windows, update regions, WM_PAINT with BeginPaint/EndPaint, and scrolling
// of window contents.
//
// A child window draws into its top-level window's framebuffer through a
// context whose origin is the child's client corner and whose clip is the
// child's visible client part. Children are painted after their parents, so
// what a parent paints under a child is painted over again.
#include <algorithm>
#include <cstring>

#include "platform/backend.h"
#include "platform/gdi.h"
#include "platform/user_internal.h"

namespace pl3::user {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }
bool IsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }
RECT Cut(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return IsEmpty(r) ? RECT{0, 0, 0, 0} : r;
}
RECT Moved(RECT r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// a less b as up to four disjoint rectangles.
void SubtractInto(const RECT& a, const RECT& b, std::vector<RECT>& out) {
  RECT i = Cut(a, b);
  if (IsEmpty(i)) {
    out.push_back(a);
    return;
  }
  if (a.top < i.top) out.push_back(RECT{a.left, a.top, a.right, i.top});
  if (i.bottom < a.bottom) out.push_back(RECT{a.left, i.bottom, a.right, a.bottom});
  if (a.left < i.left) out.push_back(RECT{a.left, i.top, i.left, i.bottom});
  if (i.right < a.right) out.push_back(RECT{i.right, i.top, a.right, i.bottom});
}

// The screen context's surface. Where a visible top-level window lies it
// mirrors the window's framebuffer: before every use (and when the queue is
// read or the context released) the pixels the context changed since the
// last use go to the topmost window under them, and then the windows'
// pixels are read back in. Elsewhere it keeps what was drawn there.
struct Desktop {
  std::vector<std::uint32_t> pixels;
  std::vector<std::uint32_t> snapshot;  // the pixels as last read back
  PixelSurface surface;
  std::uint64_t rowsMerged = 0;  // rows that differed on either side, for tests
};

Desktop& TheDesktop() {
  static Desktop desktop;
  return desktop;
}

// The framebuffer rectangle of each visible top-level window, front first.
std::vector<std::pair<WindowRecord*, RECT>> ScreenWindows(const RECT& screen) {
  std::vector<std::pair<WindowRecord*, RECT>> out;
  for (HWND h : S().topLevels) {
    WindowRecord* w = Find(h);
    if (!w || !(w->style & WS_VISIBLE) || (w->style & WS_MINIMIZE) || !w->surface.pixels) continue;
    RECT r = Cut(RECT{w->rect.left, w->rect.top, w->rect.left + w->surface.width, w->rect.top + w->surface.height}, screen);
    if (!IsEmpty(r)) out.emplace_back(w, r);
  }
  return out;
}

void SyncDesktop(PixelSurface& surface) {
  Desktop& d = TheDesktop();
  if (d.snapshot.size() != d.pixels.size()) d.snapshot = d.pixels;  // nothing drawn yet
  // One pass over the part of each window that no window in front of it
  // covers: a pixel the context changed goes to the window, any other is
  // read from it.
  Region covered;
  for (const auto& [w, r] : ScreenWindows(RECT{0, 0, surface.width, surface.height})) {
    Region own;
    own.Add(r);
    for (const RECT& c : covered.rects) own.Subtract(c);
    covered.Add(r);
    for (const RECT& part : own.rects)
      for (int y = part.top; y < part.bottom; ++y) {
        const std::size_t at = static_cast<std::size_t>(y) * surface.stride;
        std::uint32_t* mirror = d.pixels.data() + at;
        std::uint32_t* before = d.snapshot.data() + at;
        std::uint32_t* window = w->surface.pixels + static_cast<std::size_t>(y - w->rect.top) * w->surface.stride - w->rect.left;
        // Most rows changed on neither side since the last pass (a drag
        // draws a few lines): two block compares skip them.
        const std::size_t bytes = static_cast<std::size_t>(part.right - part.left) * sizeof(std::uint32_t);
        if (std::memcmp(mirror + part.left, before + part.left, bytes) == 0 &&
            std::memcmp(window + part.left, before + part.left, bytes) == 0)
          continue;
        d.rowsMerged++;
        std::uint32_t changed = 0;
        for (int x = part.left; x < part.right; ++x) {  // no branch: the compiler vectorises it
          const std::uint32_t v = mirror[x] != before[x] ? mirror[x] : window[x];
          changed |= mirror[x] ^ before[x];
          window[x] = before[x] = mirror[x] = v;
        }
        if (changed) w->dirty = true;
      }
  }
}

PixelSurface& DesktopSurface() {
  Desktop& d = TheDesktop();
  RECT s = pl3::ScreenRect();
  if (d.surface.width != Width(s) || d.surface.height != Height(s)) {
    d.pixels.assign(static_cast<size_t>(Width(s)) * static_cast<size_t>(Height(s)), 0);
    d.snapshot.clear();
    d.surface = PixelSurface{d.pixels.data(), Width(s), Height(s), Width(s), &SyncDesktop};
  }
  return d.surface;
}

bool DesktopContextHeld() {
  for (const auto& [dc, held] : S().heldDCs)
    if (!held.hwnd) return true;
  return false;
}

// What a context on `w` may touch beyond its clip rectangle, in surface
// pixels: only the update region while painting, never the children of a
// WS_CLIPCHILDREN window, never the siblings above a WS_CLIPSIBLINGS child.
// Null when the clip rectangle says it all.
HRGN VisibleRegion(WindowRecord* w, const RECT& clip, POINT so, const Region* update, POINT clientScreen) {
  bool clipChildren = (w->style & WS_CLIPCHILDREN) && !w->children.empty();
  bool clipSiblings = (w->style & WS_CLIPSIBLINGS) && w->parent;
  if (!update && !clipChildren && !clipSiblings) return nullptr;
  Region r;
  if (update) {
    for (const RECT& u : update->rects) r.Add(Moved(u, clientScreen.x - so.x, clientScreen.y - so.y));
    r.Clip(clip);
  } else {
    r.Add(clip);
  }
  // A child shows only inside its parent's client area: a maximised MDI
  // child reaches over its client's frame but hides none of it.
  auto cutOut = [&](WindowRecord* k, const RECT& shownIn) {
    if (k && (k->style & WS_VISIBLE)) r.Subtract(Moved(Cut(WindowScreenRect(k), shownIn), -so.x, -so.y));
  };
  if (clipChildren) {
    const RECT inside = ClientScreenRect(w);
    for (HWND c : w->children) cutOut(Find(c), inside);
  }
  if (clipSiblings) {
    WindowRecord* p = Find(w->parent);
    const RECT inside = ClientScreenRect(p);
    for (HWND sib : p->children) {
      if (sib == w->handle) break;  // only those above it
      cutOut(Find(sib), inside);
    }
  }
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  for (const RECT& piece : r.rects) {
    HRGN one = CreateRectRgnIndirect(&piece);
    CombineRgn(rgn, rgn, one, RGN_OR);
    DeleteObject(one);
  }
  return rgn;
}

HDC MakeDC(WindowRecord* w, bool whole, const Region* update) {
  WindowRecord* top = TopRecord(w);
  POINT so = SurfaceOrigin(top);
  RECT area = whole ? WindowScreenRect(w) : ClientScreenRect(w);
  RECT clip = whole ? (IsReallyVisible(w) ? WindowScreenRect(w) : RECT{0, 0, 0, 0}) : VisibleClientScreenRect(w);
  if (whole)
    for (WindowRecord* p = Find(w->parent); p; p = Find(p->parent)) clip = Cut(clip, ClientScreenRect(p));
  if (update) clip = Cut(clip, Moved(update->Bounds(), area.left, area.top));
  clip = Moved(clip, -so.x, -so.y);
  clip = Cut(clip, RECT{0, 0, top->surface.width, top->surface.height});
  // A CS_OWNDC window hands out the same client context each time, with what
  // was selected into it; only where it draws is set anew.
  const bool own = !whole && (w->cls->style & CS_OWNDC);
  const POINT origin{area.left - so.x, area.top - so.y};
  if (own && w->ownDC) RetargetSurfaceDC(w->ownDC, origin, clip);
  HDC dc = own && w->ownDC ? w->ownDC : CreateSurfaceDC(&top->surface, origin, clip);
  if (!dc) return nullptr;
  if (own) w->ownDC = dc;
  if (HRGN visible = VisibleRegion(w, clip, so, update, POINT{area.left, area.top})) {
    SetSurfaceDCVisibleRegion(dc, visible);
    DeleteObject(visible);
  }
  if (S().heldDCs.emplace(dc, State::HeldDC{w->handle, top->handle}).second) top->heldDCs++;
  return dc;
}

void DropDC(HDC dc) {
  State& s = S();
  auto it = s.heldDCs.find(dc);
  if (it == s.heldDCs.end()) return;
  HWND topHandle = it->second.top;
  if (!it->second.hwnd) SyncDesktop(DesktopSurface());  // what the screen context drew reaches the windows
  WindowRecord* w = Find(it->second.hwnd);
  s.heldDCs.erase(it);
  if (!w || w->ownDC != dc) DeleteSurfaceDC(dc);
  if (WindowRecord* top = Find(topHandle)) {
    top->heldDCs--;
    top->dirty = true;
    if (top->heldDCs <= 0) {
      top->heldDCs = 0;
      top->retiredPixels.clear();
    }
  }
}

void PaintOrder(HWND h, HWND filter, HWND* out) {
  if (*out) return;
  WindowRecord* w = Find(h);
  if (!w || !(w->style & WS_VISIBLE)) return;
  if ((!w->update.Empty() || w->ncPending) && !w->redrawOff && (!filter || h == filter || IsChild(filter, h))) {
    *out = h;
    return;
  }
  for (auto it = w->children.rbegin(); it != w->children.rend() && !*out; ++it) PaintOrder(*it, filter, out);
}

}  // namespace

RECT Region::Bounds() const {
  RECT b{0, 0, 0, 0};
  for (const RECT& r : rects) {
    if (IsEmpty(b)) {
      b = r;
      continue;
    }
    b = RECT{std::min(b.left, r.left), std::min(b.top, r.top), std::max(b.right, r.right), std::max(b.bottom, r.bottom)};
  }
  return b;
}

void Region::Add(const RECT& r) {
  if (IsEmpty(r)) return;
  std::vector<RECT> pieces{r};
  for (const RECT& have : rects) {
    std::vector<RECT> next;
    for (const RECT& p : pieces) SubtractInto(p, have, next);
    pieces.swap(next);
    if (pieces.empty()) return;
  }
  rects.insert(rects.end(), pieces.begin(), pieces.end());
}

void Region::Subtract(const RECT& r) {
  std::vector<RECT> next;
  for (const RECT& have : rects) SubtractInto(have, r, next);
  rects.swap(next);
}

void Region::Clip(const RECT& r) {
  std::vector<RECT> next;
  for (const RECT& have : rects)
    if (RECT c = Cut(have, r); !IsEmpty(c)) next.push_back(c);
  rects.swap(next);
}

void Region::Offset(int dx, int dy) {
  for (RECT& r : rects) r = Moved(r, dx, dy);
}

void ResizeSurface(WindowRecord* top) {
  int w = std::max(1, Width(top->rect));
  int h = std::max(1, Height(top->rect));
  PixelSurface& s = top->surface;
  int rows = s.stride > 0 ? static_cast<int>(top->pixels.size() / static_cast<size_t>(s.stride)) : 0;
  if (w > s.stride || h > rows) {
    int stride = std::max(w, s.stride);
    int newRows = std::max(h, rows);
    std::vector<std::uint32_t> grown(static_cast<size_t>(stride) * static_cast<size_t>(newRows), 0xFFFFFF);
    for (int y = 0; y < std::min(rows, newRows); ++y)
      std::memcpy(grown.data() + static_cast<size_t>(y) * static_cast<size_t>(stride),
                  top->pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(s.stride),
                  sizeof(std::uint32_t) * static_cast<size_t>(s.width));
    if (top->heldDCs > 0) top->retiredPixels.push_back(std::move(top->pixels));
    top->pixels = std::move(grown);
    s.stride = stride;
  }
  s.pixels = top->pixels.data();
  s.width = w;
  s.height = h;
  top->dirty = true;
}

void InvalidateArea(WindowRecord* w, const RECT* clientRect, bool erase, bool children) {
  if (!w || !IsReallyVisible(w)) return;
  RECT full{0, 0, Width(w->client), Height(w->client)};
  RECT r = clientRect ? Cut(*clientRect, full) : full;
  if (!clientRect) {
    // A frame that WM_NCCALCSIZE made (a tab band, say) needs WM_NCPAINT as
    // much as one that the style gives.
    const RECT whole{0, 0, Width(w->rect), Height(w->rect)};
    RECT in = NonClientInsetsOf(w);
    if (in.left || in.top || in.right || in.bottom || !EqualRect(&w->client, &whole)) w->ncPending = true;
  }
  if (!IsEmpty(r)) {
    w->update.Add(r);
    w->erasePending = w->erasePending || erase;
  }
  if (!children || IsEmpty(r)) return;
  for (HWND c : w->children) {
    WindowRecord* k = Find(c);
    if (!k || !(k->style & WS_VISIBLE)) continue;
    RECT kr = Cut(r, k->rect);
    if (IsEmpty(kr)) continue;
    bool whole = EqualRect(&kr, &k->rect);
    RECT local = Moved(kr, -k->rect.left - k->client.left, -k->rect.top - k->client.top);
    if (whole)
      InvalidateArea(k, nullptr, erase, true);
    else
      InvalidateArea(k, &local, erase, true);
  }
}

void InvalidateParentArea(WindowRecord* w) {
  WindowRecord* p = Find(w->parent);
  if (!p) return;
  RECT r = Moved(w->rect, -p->client.left, -p->client.top);
  r = Moved(r, 0, 0);
  InvalidateArea(p, &r, true, true);
}

bool FindPaintWindow(HWND filter, HWND* out) {
  *out = nullptr;
  std::vector<HWND> tops = S().topLevels;
  for (auto it = tops.rbegin(); it != tops.rend() && !*out; ++it) PaintOrder(*it, filter, out);
  return *out != nullptr;
}

void PresentDirtyWindows() {
  if (DesktopContextHeld()) SyncDesktop(DesktopSurface());
  std::vector<HWND> tops = S().topLevels;
  for (HWND h : tops) {
    WindowRecord* w = Find(h);
    if (w && w->dirty) {
      w->dirty = false;
      backend::Active().present(h);
    }
  }
}

void ReleaseAllDCs(HWND hwnd) {
  std::vector<HDC> drop;
  for (auto& [dc, held] : S().heldDCs)
    if (held.hwnd == hwnd) drop.push_back(dc);
  for (HDC dc : drop) DropDC(dc);
  if (WindowRecord* w = Find(hwnd); w && w->ownDC) {
    DeleteSurfaceDC(w->ownDC);
    w->ownDC = nullptr;
  }
}

}  // namespace pl3::user

using namespace pl3::user;
using pl3::PixelSurface;
using pl3::CreateSurfaceDC;
using pl3::DeleteSurfaceDC;
using pl3::SetSurfaceDCVisibleRegion;

HDC GetDC(HWND hwnd) {
  if (!hwnd) {
    PixelSurface& s = DesktopSurface();
    HDC dc = CreateSurfaceDC(&s, POINT{0, 0}, RECT{0, 0, s.width, s.height});
    if (dc) S().heldDCs[dc] = State::HeldDC{nullptr, nullptr};  // a desktop context
    return dc;
  }
  WindowRecord* w = Find(hwnd);
  return w ? MakeDC(w, false, nullptr) : nullptr;
}

HDC GetWindowDC(HWND hwnd) {
  if (!hwnd) return GetDC(nullptr);
  WindowRecord* w = Find(hwnd);
  return w ? MakeDC(w, true, nullptr) : nullptr;
}

// Only contexts that GetDC or GetWindowDC gave are released: a memory
// context, or one released already, is left alone.
int ReleaseDC(HWND, HDC dc) {
  if (!dc || !S().heldDCs.count(dc)) return 0;
  DropDC(dc);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  auto it = S().heldDCs.find(dc);
  if (it != S().heldDCs.end()) return it->second.hwnd;
  // A window's own context names it while released too.
  for (auto& [h, w] : S().windows)
    if (dc && w->ownDC == dc) return h;
  return nullptr;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  WindowRecord* w = Find(hwnd);
  if (!w || !ps) return nullptr;
  *ps = PAINTSTRUCT{};
  CaretHideForPaint(hwnd);
  if (w->ncPending) {
    w->ncPending = false;
    Send(hwnd, WM_NCPAINT, 1, 0);
    if ((w = Find(hwnd)) == nullptr) return nullptr;
  }
  Region update = w->update;
  RECT bounds = update.Bounds();
  bool erase = w->erasePending;
  w->validations++;
  w->update.Clear();
  w->erasePending = false;
  HDC dc = MakeDC(w, false, &update);
  ps->hdc = dc;
  ps->rcPaint = bounds;
  ps->fErase = FALSE;
  if (erase && dc) ps->fErase = Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (ps && ps->hdc) DropDC(ps->hdc);
  CaretRestoreAfterPaint(hwnd);
  return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!hwnd) {
    std::vector<HWND> tops = S().topLevels;
    for (HWND t : tops) InvalidateArea(Find(t), nullptr, erase, true);
    return TRUE;
  }
  WindowRecord* w = Find(hwnd);
  if (!w) return FALSE;
  InvalidateArea(w, rect, erase, true);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  WindowRecord* w = Find(hwnd);
  if (!w) return FALSE;
  w->validations++;
  if (!rect) {
    w->update.Clear();
    w->erasePending = false;
  } else {
    w->update.Subtract(*rect);
    if (w->update.Empty()) w->erasePending = false;
  }
  return TRUE;
}

static std::vector<RECT> RegionRects(HRGN region) {
  std::vector<RECT> out;
  DWORD size = GetRegionData(region, 0, nullptr);
  if (size < sizeof(RGNDATAHEADER)) return out;
  std::vector<char> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (!GetRegionData(region, size, data)) return out;
  out.resize(data->rdh.nCount);
  std::memcpy(out.data(), data->Buffer, sizeof(RECT) * out.size());
  return out;
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
  if (!region) return InvalidateRect(hwnd, nullptr, erase);
  for (const RECT& r : RegionRects(region)) InvalidateRect(hwnd, &r, erase);
  return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
  if (!region) return ValidateRect(hwnd, nullptr);
  for (const RECT& r : RegionRects(region)) ValidateRect(hwnd, &r);
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* out, BOOL erase) {
  WindowRecord* w = Find(hwnd);
  if (!w) return FALSE;
  RECT b = w->update.Bounds();
  if (out) *out = b;
  if (erase && w->erasePending && !w->update.Empty()) {
    w->erasePending = false;
    Region update = w->update;
    HDC dc = MakeDC(w, false, &update);
    if (dc) {
      Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
      DropDC(dc);
    }
  }
  return IsEmpty(b) ? FALSE : TRUE;
}

static void UpdateTree(HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  if (!w || !IsReallyVisible(w)) return;
  if ((!w->update.Empty() || w->ncPending) && !w->redrawOff) Send(hwnd, WM_PAINT, 0, 0);
  if ((w = Find(hwnd)) == nullptr) return;
  std::vector<HWND> kids(w->children.rbegin(), w->children.rend());
  for (HWND k : kids) UpdateTree(k);
}

BOOL UpdateWindow(HWND hwnd) {
  if (!Find(hwnd)) return FALSE;
  UpdateTree(hwnd);
  PresentDirtyWindows();
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
  if (!hwnd) hwnd = S().topLevels.empty() ? nullptr : S().topLevels.front();
  WindowRecord* w = Find(hwnd);
  if (!w) return FALSE;
  bool children = !(flags & RDW_NOCHILDREN);
  if (flags & RDW_FRAME) w->ncPending = IsReallyVisible(w);
  if (flags & RDW_INVALIDATE) {
    if (region)
      for (const RECT& r : RegionRects(region)) InvalidateArea(w, &r, flags & RDW_ERASE, children);
    else
      InvalidateArea(w, rect, flags & RDW_ERASE, children);
  }
  if (flags & RDW_VALIDATE) {
    if (region)
      ValidateRgn(hwnd, region);
    else
      ValidateRect(hwnd, rect);
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(hwnd);
  return TRUE;
}

BOOL LockWindowUpdate(HWND) { return TRUE; }

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRegion,
                   RECT* updateRect, UINT flags) {
  WindowRecord* w = Find(hwnd);
  if (!w) return ERROR;
  RECT full{0, 0, Width(w->client), Height(w->client)};
  RECT area = scroll ? Cut(*scroll, full) : full;
  if (clip) area = Cut(area, *clip);
  // Move the pixels that stay visible.
  WindowRecord* top = TopRecord(w);
  RECT screen = ClientScreenRect(w);
  RECT vis = Moved(VisibleClientScreenRect(w), -screen.left, -screen.top);
  RECT src = Cut(area, vis);
  RECT dst = Cut(Moved(src, dx, dy), Cut(area, vis));
  if (!IsEmpty(dst)) {
    PixelSurface& s = top->surface;
    POINT so = SurfaceOrigin(top);
    int ox = screen.left - so.x, oy = screen.top - so.y;
    int rowBytes = Width(dst) * static_cast<int>(sizeof(std::uint32_t));
    auto row = [&](int y) {
      std::uint32_t* d = s.pixels + static_cast<size_t>(y + oy) * static_cast<size_t>(s.stride) + dst.left + ox;
      const std::uint32_t* from =
          s.pixels + static_cast<size_t>(y - dy + oy) * static_cast<size_t>(s.stride) + dst.left - dx + ox;
      std::memmove(d, from, static_cast<size_t>(rowBytes));
    };
    if (dy > 0)
      for (int y = dst.bottom - 1; y >= dst.top; --y) row(y);
    else
      for (int y = dst.top; y < dst.bottom; ++y) row(y);
    top->dirty = true;
  }
  // The update region moves with the contents; what was uncovered is new.
  Region moved;
  for (const RECT& r : w->update.rects) {
    RECT in = Cut(r, area);
    if (!IsEmpty(in)) {
      moved.Add(Cut(Moved(in, dx, dy), area));
      w->update.Subtract(in);
    }
  }
  for (const RECT& r : moved.rects) w->update.Add(r);
  Region uncovered;
  uncovered.Add(area);
  uncovered.Subtract(dst);
  if (flags & SW_SCROLLCHILDREN) {
    for (HWND c : w->children) {
      WindowRecord* k = Find(c);
      if (!k) continue;
      RECT kr = Moved(k->rect, -0, -0);
      if (scroll && IsEmpty(Cut(kr, *scroll))) continue;
      k->rect = Moved(k->rect, dx, dy);
      SendSizeMove(k);
    }
  }
  if (flags & SW_INVALIDATE)
    for (const RECT& r : uncovered.rects) InvalidateArea(w, &r, (flags & SW_ERASE) != 0, true);
  if (updateRegion) {
    SetRectRgn(updateRegion, 0, 0, 0, 0);
    for (const RECT& r : uncovered.rects) {
      HRGN piece = CreateRectRgnIndirect(&r);
      CombineRgn(updateRegion, updateRegion, piece, RGN_OR);
      DeleteObject(piece);
    }
  }
  if (updateRect) *updateRect = uncovered.Bounds();
  if (uncovered.Empty()) return NULLREGION;
  return uncovered.rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
  UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0u : SW_SCROLLCHILDREN);
  return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr, flags) != ERROR;
}

std::uint64_t pl3::ScreenRowsMerged() { return TheDesktop().rowsMerged; }

const pl3::PixelSurface* pl3::WindowSurface(HWND hwnd) {
  WindowRecord* top = TopRecord(Find(hwnd));
  return top ? &top->surface : nullptr;
}

bool pl3::SaveWindowPng(HWND hwnd, const char* path) {
  const PixelSurface* s = WindowSurface(hwnd);
  return s && path && SaveSurfacePng(*s, path);
}

RECT pl3::ScreenRect() {
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  if (w <= 0 || h <= 0) {
    w = 1280;
    h = 1024;
  }
  return RECT{0, 0, w, h};
}
