#include "geometry/clipping.h"

#include <algorithm>
#include <utility>

#include "geometry/raster_state.h"

namespace pl3 {
namespace {

std::int32_t Add(std::int32_t a, std::uint32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + b);
}
std::int32_t Sub(std::int32_t a, std::uint32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - b);
}
std::uint32_t Diff(std::int32_t hi, std::int32_t lo) {
  return static_cast<std::uint32_t>(hi) - static_cast<std::uint32_t>(lo);
}
// floor(d * num / den) with a 64-bit product and an unsigned division.
std::uint32_t Cut(std::uint32_t d, std::uint32_t num, std::uint32_t den) {
  if (den == 0) return 0;
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(d) * num / den);
}

std::int32_t Saturate(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// The four cuts of a sloped segment whose x falls as y rises (y1 < y2, x1 > x2).
bool CutFalling(const ViewClip& c, ViewSegment& s, std::uint32_t dx, std::uint32_t dy) {
  if (s.y1 < c.ymin) {
    s.x1 = Sub(s.x1, Cut(Diff(c.ymin, s.y1), dx, dy));
    if (s.x1 < c.xmin) return false;
    s.y1 = c.ymin;
  }
  if (s.y2 > c.ymax) {
    s.x2 = Add(s.x2, Cut(Diff(s.y2, c.ymax), dx, dy));
    if (s.x2 > c.xmax) return false;
    s.y2 = c.ymax;
  }
  if (s.x1 > c.xmax) {
    s.y1 = Add(s.y1, Cut(Diff(s.x1, c.xmax), dy, dx));
    if (s.y1 > c.ymax) return false;
    s.x1 = c.xmax;
  }
  if (s.x2 < c.xmin) {
    s.y2 = Sub(s.y2, Cut(Diff(c.xmin, s.x2), dy, dx));
    if (s.y2 < c.ymin) return false;
    s.x2 = c.xmin;
  }
  return true;
}

// The four cuts of a sloped segment whose x rises with y (y1 < y2, x1 < x2).
bool CutRising(const ViewClip& c, ViewSegment& s, std::uint32_t dx, std::uint32_t dy) {
  if (s.y1 < c.ymin) {
    s.x1 = Add(s.x1, Cut(Diff(c.ymin, s.y1), dx, dy));
    if (s.x1 > c.xmax) return false;
    s.y1 = c.ymin;
  }
  if (s.y2 > c.ymax) {
    s.x2 = Sub(s.x2, Cut(Diff(s.y2, c.ymax), dx, dy));
    if (s.x2 < c.xmin) return false;
    s.y2 = c.ymax;
  }
  if (s.x1 < c.xmin) {
    s.y1 = Add(s.y1, Cut(Diff(c.xmin, s.x1), dy, dx));
    if (s.y1 > c.ymax) return false;
    s.x1 = c.xmin;
  }
  if (s.x2 > c.xmax) {
    s.y2 = Sub(s.y2, Cut(Diff(s.x2, c.xmax), dy, dx));
    if (s.y2 < c.ymin) return false;
    s.x2 = c.xmax;
  }
  return true;
}

}  // namespace

int ClipSegment(const ViewClip& c, ViewSegment* seg) {
  ViewSegment s = *seg;
  if (std::max(s.x1, s.x2) < c.xmin || std::min(s.x1, s.x2) > c.xmax || std::max(s.y1, s.y2) < c.ymin ||
      std::min(s.y1, s.y2) > c.ymax) {
    return 1;
  }
  if (s.y1 == s.y2) {
    seg->x1 = std::max(std::min(s.x1, s.x2), c.xmin);
    seg->x2 = std::min(std::max(s.x1, s.x2), c.xmax);
    return 0;
  }
  if (s.y1 > s.y2) {
    std::swap(s.x1, s.x2);
    std::swap(s.y1, s.y2);
  }
  if (s.x1 == s.x2) {
    seg->y1 = std::max(s.y1, c.ymin);
    seg->y2 = std::min(s.y2, c.ymax);
    return 0;
  }
  const std::uint32_t dx = s.x1 > s.x2 ? Diff(s.x1, s.x2) : Diff(s.x2, s.x1);
  const std::uint32_t dy = Diff(s.y2, s.y1);
  const bool visible = s.x1 > s.x2 ? CutFalling(c, s, dx, dy) : CutRising(c, s, dx, dy);
  if (!visible) return 1;
  *seg = s;
  return 0;
}

int ClipSegmentToView(ViewSegment* seg) { return ClipSegment(CurrentViewClip(), seg); }

bool ClipHorizontalRun(const ViewClip& c, std::int32_t& x0, std::int32_t& x1, std::int32_t y) {
  if (x1 < x0 || y < c.ymin || y > c.ymax || x0 > c.xmax || x1 < c.xmin) return false;
  x0 = std::max(x0, c.xmin);
  x1 = std::min(x1, c.xmax);
  return true;
}

bool ClipVerticalRun(const ViewClip& c, std::int32_t x, std::int32_t& y0, std::int32_t& y1) {
  if (x < c.xmin || x > c.xmax || y0 > c.ymax || y1 < c.ymin) return false;
  y0 = std::max(y0, c.ymin);
  y1 = std::min(y1, c.ymax);
  return true;
}

void FillClippedRect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  const ViewClip& c = CurrentViewClip();
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  if (y0 > c.ymax || y1 < c.ymin || x0 > c.xmax || x1 < c.xmin) return;
  x0 = std::max(x0, c.xmin);
  x1 = std::min(x1, c.xmax);
  y0 = std::max(y0, c.ymin);
  y1 = std::min(y1, c.ymax);
  if (x0 == x1) {
    EmitVerticalRun(x0, y0, y1);
    return;
  }
  for (std::int32_t y = y0; y <= y1; ++y) EmitHorizontalRun(x0, x1, y);
}

bool ThickSegmentVisible(const ViewClip& c, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                         std::int32_t y2, std::int32_t w) {
  const std::int64_t grow = static_cast<std::int64_t>(w < 0 ? 0 : w) + 1;
  const ViewClip wide = {Saturate(c.xmin - grow), Saturate(c.ymin - grow), Saturate(c.xmax + grow),
                         Saturate(c.ymax + grow), c.width, c.height};
  auto inside = [&wide](std::int32_t x, std::int32_t y) {
    return x >= wide.xmin && x <= wide.xmax && y >= wide.ymin && y <= wide.ymax;
  };
  if (inside(x1, y1) || inside(x2, y2)) return true;
  ViewSegment s = {x1, y1, x2, y2};
  return ClipSegment(wide, &s) == 0;
}

bool DiscVisible(const ViewClip& c, std::int32_t cx, std::int32_t cy, std::int32_t r) {
  const std::int64_t rr = r;
  return !(cx + rr < c.xmin || cx - rr > c.xmax || cy + rr < c.ymin || cy - rr > c.ymax);
}

}  // namespace pl3
