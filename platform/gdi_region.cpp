// Rectangles, regions and pixel spans.
#include <algorithm>
#include <cstring>

#include "platform/gdi_internal.h"

namespace pl3::gdi {
namespace {

bool SameIntervals(const std::vector<RECT>& rects, std::size_t first, const std::vector<Interval>& iv) {
  if (rects.size() - first != iv.size()) return false;
  for (std::size_t i = 0; i < iv.size(); ++i) {
    if (rects[first + i].left != iv[i].x0 || rects[first + i].right != iv[i].x1) return false;
  }
  return true;
}

// Appends bands, merging a band into the one above when they touch and hold
// the same intervals, which keeps regions canonical.
struct RegionBuilder {
  Region region;
  std::size_t lastBand = 0;
  bool haveBand = false;

  void AddBand(int top, int bottom, const std::vector<Interval>& iv) {
    if (iv.empty() || bottom <= top) return;
    auto& rects = region.rects;
    if (haveBand && rects[lastBand].bottom == top && SameIntervals(rects, lastBand, iv)) {
      for (std::size_t i = lastBand; i < rects.size(); ++i) rects[i].bottom = bottom;
      return;
    }
    lastBand = rects.size();
    haveBand = true;
    for (const Interval& i : iv) rects.push_back(RECT{i.x0, top, i.x1, bottom});
  }
};

// The intervals of the band of `r` that holds row y; `cursor` walks forward.
void BandAt(const Region& r, int y, std::size_t& cursor, std::vector<Interval>& out) {
  out.clear();
  const auto& rects = r.rects;
  while (cursor < rects.size() && rects[cursor].bottom <= y) ++cursor;
  for (std::size_t i = cursor; i < rects.size() && rects[i].top <= y; ++i) {
    if (rects[i].bottom > y) out.push_back(Interval{rects[i].left, rects[i].right});
  }
}

bool Covered(const std::vector<Interval>& iv, std::size_t& k, int x) {
  while (k < iv.size() && iv[k].x1 <= x) ++k;
  return k < iv.size() && iv[k].x0 <= x;
}

void CombineIntervals(const std::vector<Interval>& a, const std::vector<Interval>& b, RegionOp op,
                      std::vector<Interval>& out) {
  out.clear();
  std::vector<int> xs;
  xs.reserve(2 * (a.size() + b.size()));
  for (const Interval& i : a) xs.insert(xs.end(), {i.x0, i.x1});
  for (const Interval& i : b) xs.insert(xs.end(), {i.x0, i.x1});
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  std::size_t ka = 0, kb = 0;
  for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
    const bool inA = Covered(a, ka, xs[i]);
    const bool inB = Covered(b, kb, xs[i]);
    bool in = false;
    switch (op) {
      case RegionOp::kAnd: in = inA && inB; break;
      case RegionOp::kOr: in = inA || inB; break;
      case RegionOp::kXor: in = inA != inB; break;
      case RegionOp::kDiff: in = inA && !inB; break;
    }
    if (!in) continue;
    if (!out.empty() && out.back().x1 == xs[i]) {
      out.back().x1 = xs[i + 1];
    } else {
      out.push_back(Interval{xs[i], xs[i + 1]});
    }
  }
}

}  // namespace

Region Region::FromRect(int left, int top, int right, int bottom) {
  Region r;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left < right && top < bottom) r.rects.push_back(RECT{left, top, right, bottom});
  return r;
}

RECT Region::Box() const {
  if (rects.empty()) return RECT{0, 0, 0, 0};
  RECT box = rects.front();
  for (const RECT& rc : rects) {
    box.left = std::min(box.left, rc.left);
    box.right = std::max(box.right, rc.right);
    box.bottom = std::max(box.bottom, rc.bottom);
  }
  return box;
}

int Region::Kind() const {
  if (rects.empty()) return NULLREGION;
  return rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void Region::Offset(int dx, int dy) {
  for (RECT& rc : rects) OffsetRect(&rc, dx, dy);
}

bool Region::Contains(int x, int y) const {
  for (const RECT& rc : rects) {
    if (rc.top > y) break;
    if (y < rc.bottom && x >= rc.left && x < rc.right) return true;
  }
  return false;
}

bool Region::Intersects(const RECT& area) const {
  RECT tmp;
  for (const RECT& rc : rects) {
    if (IntersectRect(&tmp, &rc, &area)) return true;
  }
  return false;
}

Region CombineRegions(const Region& a, const Region& b, RegionOp op) {
  std::vector<int> ys;
  for (const RECT& rc : a.rects) ys.insert(ys.end(), {static_cast<int>(rc.top), static_cast<int>(rc.bottom)});
  for (const RECT& rc : b.rects) ys.insert(ys.end(), {static_cast<int>(rc.top), static_cast<int>(rc.bottom)});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  RegionBuilder builder;
  std::vector<Interval> ia, ib, out;
  std::size_t ca = 0, cb = 0;
  for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
    BandAt(a, ys[i], ca, ia);
    BandAt(b, ys[i], cb, ib);
    CombineIntervals(ia, ib, op, out);
    builder.AddBand(ys[i], ys[i + 1], out);
  }
  return builder.region;
}

void NormalizeSpans(SpanList& spans) {
  std::erase_if(spans, [](const Span& s) { return s.x1 <= s.x0; });
  std::sort(spans.begin(), spans.end(), [](const Span& p, const Span& q) {
    return p.y != q.y ? p.y < q.y : p.x0 < q.x0;
  });
  std::size_t n = 0;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (n > 0 && spans[n - 1].y == spans[i].y && spans[i].x0 <= spans[n - 1].x1) {
      spans[n - 1].x1 = std::max(spans[n - 1].x1, spans[i].x1);
    } else {
      spans[n++] = spans[i];
    }
  }
  spans.resize(n);
}

SpanList SubtractSpans(const SpanList& a, const SpanList& b) {
  SpanList out;
  std::size_t j = 0;
  for (const Span& s : a) {
    while (j < b.size() && (b[j].y < s.y || (b[j].y == s.y && b[j].x1 <= s.x0))) ++j;
    int x = s.x0;
    for (std::size_t k = j; k < b.size() && b[k].y == s.y && b[k].x0 < s.x1; ++k) {
      if (b[k].x0 > x) out.push_back(Span{s.y, x, b[k].x0});
      x = std::max(x, b[k].x1);
    }
    if (x < s.x1) out.push_back(Span{s.y, x, s.x1});
  }
  return out;
}

Region RegionFromSpans(SpanList spans) {
  NormalizeSpans(spans);
  RegionBuilder builder;
  std::vector<Interval> row;
  for (std::size_t i = 0; i < spans.size();) {
    const int y = spans[i].y;
    row.clear();
    for (; i < spans.size() && spans[i].y == y; ++i) row.push_back(Interval{spans[i].x0, spans[i].x1});
    builder.AddBand(y, y + 1, row);
  }
  return builder.region;
}

}  // namespace pl3::gdi

using pl3::gdi::Region;
using pl3::gdi::RegionObject;

// ---------------------------------------------------------------------------
// Rectangles

BOOL SetRect(RECT* rc, int left, int top, int right, int bottom) {
  if (!rc) return FALSE;
  *rc = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(RECT* rc) { return SetRect(rc, 0, 0, 0, 0); }

BOOL CopyRect(RECT* dst, const RECT* src) {
  if (!dst || !src) return FALSE;
  *dst = *src;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* rc) { return !rc || rc->right <= rc->left || rc->bottom <= rc->top; }

BOOL EqualRect(const RECT* a, const RECT* b) {
  return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* rc, POINT pt) {
  return rc && pt.x >= rc->left && pt.x < rc->right && pt.y >= rc->top && pt.y < rc->bottom;
}

BOOL OffsetRect(RECT* rc, int dx, int dy) {
  if (!rc) return FALSE;
  rc->left += dx;
  rc->right += dx;
  rc->top += dy;
  rc->bottom += dy;
  return TRUE;
}

BOOL InflateRect(RECT* rc, int dx, int dy) {
  if (!rc) return FALSE;
  rc->left -= dx;
  rc->right += dx;
  rc->top -= dy;
  rc->bottom += dy;
  return TRUE;
}

BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&r)) {
    *dst = RECT{0, 0, 0, 0};
    return FALSE;
  }
  *dst = r;
  return TRUE;
}

BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  const bool ea = IsRectEmpty(a), eb = IsRectEmpty(b);
  if (ea && eb) {
    *dst = RECT{0, 0, 0, 0};
    return FALSE;
  }
  if (ea) {
    *dst = *b;
  } else if (eb) {
    *dst = *a;
  } else {
    *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                std::max(a->bottom, b->bottom)};
  }
  return TRUE;
}

BOOL SubtractRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  RECT r = *a;
  RECT cut;
  if (IntersectRect(&cut, a, b)) {
    const bool fullWidth = cut.left <= a->left && cut.right >= a->right;
    const bool fullHeight = cut.top <= a->top && cut.bottom >= a->bottom;
    if (fullWidth && fullHeight) {
      r = RECT{0, 0, 0, 0};
    } else if (fullWidth && cut.top <= a->top) {
      r.top = cut.bottom;
    } else if (fullWidth && cut.bottom >= a->bottom) {
      r.bottom = cut.top;
    } else if (fullHeight && cut.left <= a->left) {
      r.left = cut.right;
    } else if (fullHeight && cut.right >= a->right) {
      r.right = cut.left;
    }
  }
  *dst = r;
  return !IsRectEmpty(dst);
}

// ---------------------------------------------------------------------------
// Region handles

namespace {

HRGN NewRegion(Region r) {
  auto* obj = new RegionObject;
  obj->region = std::move(r);
  pl3::gdi::Register(obj);
  return pl3::gdi::ToHandle<HRGN>(obj);
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return NewRegion(Region::FromRect(left, top, right, bottom));
}

HRGN CreateRectRgnIndirect(const RECT* rc) {
  if (!rc) return nullptr;
  return CreateRectRgn(rc->left, rc->top, rc->right, rc->bottom);
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  pl3::gdi::SpanList spans;
  pl3::gdi::AddEllipseSpans(spans, left, top, right, bottom, RECT{left, top, right, bottom});
  return NewRegion(pl3::gdi::RegionFromSpans(std::move(spans)));
}

HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode) {
  if (!pts || count < 0) return nullptr;
  std::vector<double> xy;
  RECT bounds{0, 0, 0, 0};
  for (int i = 0; i < count; ++i) {
    xy.push_back(pts[i].x);
    xy.push_back(pts[i].y);
    RECT p{pts[i].x, pts[i].y, pts[i].x + 1, pts[i].y + 1};
    if (i == 0) {
      bounds = p;
    } else {
      UnionRect(&bounds, &bounds, &p);
    }
  }
  pl3::gdi::SpanList spans;
  if (count >= 3) pl3::gdi::AddPolygonSpans(spans, xy.data(), &count, 1, fillMode == WINDING, bounds);
  return NewRegion(pl3::gdi::RegionFromSpans(std::move(spans)));
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  RegionObject* r = pl3::gdi::GetRegionObject(rgn);
  if (!r) return FALSE;
  r->region = Region::FromRect(left, top, right, bottom);
  return TRUE;
}

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
  RegionObject* d = pl3::gdi::GetRegionObject(dst);
  RegionObject* ra = pl3::gdi::GetRegionObject(a);
  if (!d || !ra) return ERROR;
  if (mode == RGN_COPY) {
    d->region = ra->region;
    return d->region.Kind();
  }
  RegionObject* rb = pl3::gdi::GetRegionObject(b);
  if (!rb) return ERROR;
  pl3::gdi::RegionOp op;
  switch (mode) {
    case RGN_AND: op = pl3::gdi::RegionOp::kAnd; break;
    case RGN_OR: op = pl3::gdi::RegionOp::kOr; break;
    case RGN_XOR: op = pl3::gdi::RegionOp::kXor; break;
    case RGN_DIFF: op = pl3::gdi::RegionOp::kDiff; break;
    default: return ERROR;
  }
  d->region = pl3::gdi::CombineRegions(ra->region, rb->region, op);
  return d->region.Kind();
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  RegionObject* r = pl3::gdi::GetRegionObject(rgn);
  if (!r) return ERROR;
  r->region.Offset(dx, dy);
  return r->region.Kind();
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  RegionObject* r = pl3::gdi::GetRegionObject(rgn);
  return r && r->region.Contains(x, y);
}

BOOL RectInRegion(HRGN rgn, const RECT* rc) {
  RegionObject* r = pl3::gdi::GetRegionObject(rgn);
  return r && rc && r->region.Intersects(*rc);
}

BOOL EqualRgn(HRGN a, HRGN b) {
  RegionObject* ra = pl3::gdi::GetRegionObject(a);
  RegionObject* rb = pl3::gdi::GetRegionObject(b);
  if (!ra || !rb || ra->region.rects.size() != rb->region.rects.size()) return FALSE;
  for (std::size_t i = 0; i < ra->region.rects.size(); ++i) {
    if (!EqualRect(&ra->region.rects[i], &rb->region.rects[i])) return FALSE;
  }
  return TRUE;
}

int GetRgnBox(HRGN rgn, RECT* out) {
  RegionObject* r = pl3::gdi::GetRegionObject(rgn);
  if (!r || !out) return ERROR;
  *out = r->region.Box();
  return r->region.Kind();
}

DWORD GetRegionData(HRGN rgn, DWORD size, RGNDATA* out) {
  RegionObject* r = pl3::gdi::GetRegionObject(rgn);
  if (!r) return 0;
  const auto& rects = r->region.rects;
  const DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  if (!out) return needed;
  if (size < needed) return 0;
  out->rdh.dwSize = sizeof(RGNDATAHEADER);
  out->rdh.iType = RDH_RECTANGLES;
  out->rdh.nCount = static_cast<DWORD>(rects.size());
  out->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  out->rdh.rcBound = r->region.Box();
  if (!rects.empty()) std::memcpy(out->Buffer, rects.data(), rects.size() * sizeof(RECT));
  return needed;
}
