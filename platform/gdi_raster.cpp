// Lines, shapes and fills. Every shape is first turned into a list of pixel
// spans in surface coordinates; the list is normalised so that each pixel
// appears once, the fill loses the pixels of the outline, and only then are
// pixels written. That is what makes a second XOR drawing restore the first.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/gdi_internal.h"

namespace pl3::gdi {
namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFF;

// ---------------------------------------------------------------------------
// Writing pixels

void WriteRun(std::uint32_t* p, int n, std::uint32_t pen, int rop2) {
  switch (rop2) {
    case R2_COPYPEN: std::fill_n(p, n, pen); return;
    case R2_XORPEN:
      for (int i = 0; i < n; ++i) p[i] ^= pen;
      return;
    case R2_NOT:
      for (int i = 0; i < n; ++i) p[i] = ~p[i] & kRgbMask;
      return;
    case R2_NOP: return;
    default:
      for (int i = 0; i < n; ++i) p[i] = Rop2Pixel(p[i], pen, rop2);
  }
}

std::uint32_t* RowOf(const PixelSurface& s, int y) {
  return s.pixels + static_cast<std::ptrdiff_t>(y) * s.stride;
}

// Walks clip rectangles for rows in ascending order.
template <class Fn>
void ForClippedSpans(const Region& clip, const SpanList& spans, Fn fn) {
  const auto& rects = clip.rects;
  std::size_t cursor = 0;
  for (const Span& s : spans) {
    while (cursor < rects.size() && rects[cursor].bottom <= s.y) ++cursor;
    for (std::size_t i = cursor; i < rects.size() && rects[i].top <= s.y; ++i) {
      if (rects[i].bottom <= s.y) continue;
      const int a = std::max<int>(s.x0, rects[i].left);
      const int b = std::min<int>(s.x1, rects[i].right);
      if (a < b) fn(s.y, a, b);
    }
  }
}

// ---------------------------------------------------------------------------
// Span builders

void AddPixel(SpanList& out, int x, int y) {
  if (!out.empty()) {
    Span& last = out.back();
    if (last.y == y && last.x1 == x) {
      ++last.x1;
      return;
    }
    if (last.y == y && last.x0 == x + 1) {
      --last.x0;
      return;
    }
  }
  out.push_back(Span{y, x, x + 1});
}

void AddRect(SpanList& out, int left, int top, int right, int bottom, const RECT& bounds) {
  const int t = std::max<int>(top, bounds.top), b = std::min<int>(bottom, bounds.bottom);
  const int l = std::max<int>(left, bounds.left), r = std::min<int>(right, bounds.right);
  if (l >= r) return;
  for (int y = t; y < b; ++y) out.push_back(Span{y, l, r});
}

// Dash patterns of one-pixel pens, in pixels: on, off, on, off...
bool PatternOn(int style, long long step) {
  static const int kDash[] = {18, 6};
  static const int kDot[] = {3, 3};
  static const int kDashDot[] = {9, 6, 3, 6};
  static const int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  const int* p = nullptr;
  int n = 0;
  switch (style) {
    case PS_DASH: p = kDash, n = 2; break;
    case PS_DOT: p = kDot, n = 2; break;
    case PS_DASHDOT: p = kDashDot, n = 4; break;
    case PS_DASHDOTDOT: p = kDashDotDot, n = 6; break;
    default: return true;
  }
  int period = 0;
  for (int i = 0; i < n; ++i) period += p[i];
  int pos = static_cast<int>(step % period);
  for (int i = 0; i < n; ++i) {
    if (pos < p[i]) return i % 2 == 0;
    pos -= p[i];
  }
  return true;
}

// One-pixel line from (x0, y0) up to but not including (x1, y1). Each step's
// minor coordinate is computed directly, so only the steps inside `bounds`
// are visited however far away the end points lie.
void AddThinLine(SpanList& out, SpanList* gaps, int x0, int y0, int x1, int y1, const RECT& bounds, int style,
                 long long& phase) {
  const long long dx = static_cast<long long>(x1) - x0, dy = static_cast<long long>(y1) - y0;
  const long long adx = std::llabs(dx), ady = std::llabs(dy);
  const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  const bool xMajor = adx >= ady;
  const long long steps = xMajor ? adx : ady;
  if (steps == 0) return;
  const long long major0 = xMajor ? x0 : y0;
  const int majorSign = xMajor ? sx : sy;
  const long long lo = xMajor ? bounds.left : bounds.top;
  const long long hi = xMajor ? bounds.right : bounds.bottom;  // exclusive
  long long first = 0, last = steps - 1;
  if (majorSign > 0) {
    first = std::max(first, lo - major0);
    last = std::min(last, hi - 1 - major0);
  } else {
    first = std::max(first, major0 - (hi - 1));
    last = std::min(last, major0 - lo);
  }
  const long long minorDelta = xMajor ? ady : adx;
  for (long long i = first; i <= last; ++i) {
    const bool on = style == PS_SOLID || PatternOn(style, phase + i);
    if (!on && !gaps) continue;
    const long long minor = (2 * i * minorDelta + steps) / (2 * steps);
    const long long x = xMajor ? x0 + sx * i : x0 + sx * minor;
    const long long y = xMajor ? y0 + sy * minor : y0 + sy * i;
    if (x < bounds.left || x >= bounds.right || y < bounds.top || y >= bounds.bottom) continue;
    AddPixel(on ? out : *gaps, static_cast<int>(x), static_cast<int>(y));
  }
  phase += steps;
}

// A pen wider than one pixel: a band of the pen's width with round ends, the
// centre line on pixel centres for odd widths and on pixel corners for even.
void AddWideSegment(SpanList& out, int x0, int y0, int x1, int y1, int width, const RECT& bounds) {
  const double half = width / 2.0;
  const double off = (width % 2) ? 0.5 : 0.0;
  const double ax = x0 + off, ay = y0 + off, bx = x1 + off, by = y1 + off;
  RECT near{static_cast<LONG>(std::max<double>(bounds.left, std::min(ax, bx) - width - 1)),
            static_cast<LONG>(std::max<double>(bounds.top, std::min(ay, by) - width - 1)),
            static_cast<LONG>(std::min<double>(bounds.right, std::max(ax, bx) + width + 1)),
            static_cast<LONG>(std::min<double>(bounds.bottom, std::max(ay, by) + width + 1))};
  if (near.left >= near.right || near.top >= near.bottom) return;
  AddEllipseSpans(out, ax - half, ay - half, ax + half, ay + half, near);
  if (x0 == x1 && y0 == y1) return;
  AddEllipseSpans(out, bx - half, by - half, bx + half, by + half, near);
  const double len = std::hypot(bx - ax, by - ay);
  const double nx = -(by - ay) / len * half, ny = (bx - ax) / len * half;
  const double quad[8] = {ax + nx, ay + ny, bx + nx, by + ny, bx - nx, by - ny, ax - nx, ay - ny};
  const int four = 4;
  AddPolygonSpans(out, quad, &four, 1, false, near);
}

// The filled interval of an ellipse box on row y; false when the row misses it.
bool EllipseRow(double l, double t, double r, double b, int y, int& x0, int& x1) {
  const double a = (r - l) / 2, bb = (b - t) / 2;
  if (a <= 0 || bb <= 0) return false;
  const double cx = (l + r) / 2, cy = (t + b) / 2;
  const double dy = (y + 0.5 - cy) / bb;
  if (dy * dy >= 1) return false;
  const double hw = a * std::sqrt(1 - dy * dy);
  x0 = static_cast<int>(std::floor(cx - hw - 0.5)) + 1;
  x1 = static_cast<int>(std::ceil(cx + hw - 0.5));  // exclusive
  return x0 < x1;
}

struct Pens {
  bool present = false;
  int width = 1;
  int style = PS_SOLID;
};

Pens PenOf(const Dc& dc) {
  Pens p;
  const Pen* pen = dc.st.pen;
  if (!pen || pen->style == PS_NULL) return p;
  p.present = true;
  p.width = std::max(pen->width, 1);
  p.style = p.width > 1 ? PS_SOLID : pen->style;
  if (p.style == PS_INSIDEFRAME) p.style = PS_SOLID;
  return p;
}

// What a pen puts down: its own pixels, and the gaps of a dashed pen, which
// take the background colour in OPAQUE background mode.
struct Strokes {
  SpanList pen;
  SpanList gaps;
};

// Outline through the points (closing back to the first when asked).
void AddPolyline(Strokes& out, const std::vector<POINT>& pts, bool closed, const Pens& pen, const RECT& bounds) {
  long long phase = 0;
  const std::size_t n = pts.size();
  const std::size_t segments = closed ? n : (n > 0 ? n - 1 : 0);
  for (std::size_t i = 0; i < segments; ++i) {
    const POINT a = pts[i], b = pts[(i + 1) % n];
    if (pen.width > 1) {
      AddWideSegment(out.pen, a.x, a.y, b.x, b.y, pen.width, bounds);
    } else {
      AddThinLine(out.pen, &out.gaps, a.x, a.y, b.x, b.y, bounds, pen.style, phase);
    }
  }
}

// Outline and interior of an ellipse box: the interior is the filled box
// shrunk by the pen, less its own boundary; the outline is the rest.
void EllipseParts(double l, double t, double r, double b, int penWidth, const RECT& bounds, SpanList* outline,
                  SpanList* interior) {
  const int inset = std::max(penWidth, 1) - 1;
  const double il = l + inset, it = t + inset, ir = r - inset, ib = b - inset;
  const int y0 = std::max<int>(bounds.top, static_cast<int>(std::floor(t)));
  const int y1 = std::min<int>(bounds.bottom, static_cast<int>(std::ceil(b)));
  for (int y = y0; y < y1; ++y) {
    int ox0, ox1;
    if (!EllipseRow(l, t, r, b, y, ox0, ox1)) continue;
    int ix0 = 0, ix1 = 0;
    bool hasInner = penWidth > 0 && EllipseRow(il, it, ir, ib, y, ix0, ix1);
    if (penWidth > 0 && hasInner) {
      int ux0, ux1, dx0, dx1;
      const bool up = EllipseRow(il, it, ir, ib, y - 1, ux0, ux1);
      const bool down = EllipseRow(il, it, ir, ib, y + 1, dx0, dx1);
      hasInner = up && down;
      if (hasInner) {
        ix0 = std::max({ix0 + 1, ux0, dx0});
        ix1 = std::min({ix1 - 1, ux1, dx1});
        hasInner = ix0 < ix1;
      }
    }
    if (penWidth == 0) {
      ix0 = ox0, ix1 = ox1, hasInner = true;
    }
    auto clampAdd = [&](SpanList* list, int a, int c) {
      if (!list) return;
      a = std::max<int>(a, bounds.left);
      c = std::min<int>(c, bounds.right);
      if (a < c) list->push_back(Span{y, a, c});
    };
    if (hasInner) {
      clampAdd(interior, std::max(ix0, ox0), std::min(ix1, ox1));
      if (penWidth > 0) {
        clampAdd(outline, ox0, std::min(ix0, ox1));
        clampAdd(outline, std::max(ix1, ox0), ox1);
      }
    } else if (penWidth > 0) {
      clampAdd(outline, ox0, ox1);
    }
  }
}

// ---------------------------------------------------------------------------
// Drawing a shape: outline with the pen, interior with the brush

// Angle of a point around a centre, counter-clockwise as seen on the screen.
double ScreenAngle(double x, double y, double cx, double cy) { return std::atan2(-(y - cy), x - cx); }

double Wrap(double a) {
  const double twoPi = 2 * M_PI;
  a = std::fmod(a, twoPi);
  return a < 0 ? a + twoPi : a;
}

RECT ClipBounds(const Region& clip) { return clip.Box(); }

std::uint32_t PenPixel(const Dc& dc) {
  const Pen* pen = dc.st.pen;
  return ColourToPixel(dc, pen->dcPen ? dc.st.dcPenColour : pen->colour);
}

bool BrushPixel(const Dc& dc, const Brush* brush, std::uint32_t& pixel) {
  if (!brush || brush->style == BS_NULL) return false;
  pixel = ColourToPixel(dc, brush->dcBrush ? dc.st.dcBrushColour : brush->colour);
  return true;
}

void PaintClipped(Dc& dc, const Region& clip, const SpanList& spans, std::uint32_t pixel, int rop2) {
  PixelSurface* s = TargetSurface(dc);
  if (!s) return;
  ForClippedSpans(clip, spans, [&](int y, int a, int b) { WriteRun(RowOf(*s, y) + a, b - a, pixel, rop2); });
}

bool HatchOn(int hatch, int px, int py) {
  switch (hatch) {
    case HS_HORIZONTAL: return py == 0;
    case HS_VERTICAL: return px == 0;
    case HS_FDIAGONAL: return px == py;
    case HS_BDIAGONAL: return px == 7 - py;
    case HS_CROSS: return px == 0 || py == 0;
    case HS_DIAGCROSS: return px == py || px == 7 - py;
    default: return true;
  }
}

// Paints spans with a brush: one colour for a solid brush; for a hatched one
// the lines in its colour and, in OPAQUE mode, the rest in the background colour.
void PaintBrushSpans(Dc& dc, const Region& clip, const SpanList& spans, const Brush* brush, std::uint32_t pixel,
                     int rop2) {
  if (!brush || brush->style != BS_HATCHED) {
    PaintClipped(dc, clip, spans, pixel, rop2);
    return;
  }
  const int ox = dc.st.brushOrg.x + dc.origin.x, oy = dc.st.brushOrg.y + dc.origin.y;
  SpanList lines, rest;
  const RECT box = clip.Box();
  for (const Span& sp : spans) {
    if (sp.y < box.top || sp.y >= box.bottom) continue;
    const int py = (((sp.y - oy) % 8) + 8) % 8;
    for (int x = std::max<int>(sp.x0, box.left); x < std::min<int>(sp.x1, box.right); ++x) {
      AddPixel(HatchOn(brush->hatch, (((x - ox) % 8) + 8) % 8, py) ? lines : rest, x, sp.y);
    }
  }
  PaintClipped(dc, clip, lines, pixel, rop2);
  if (dc.st.bkMode == OPAQUE) PaintClipped(dc, clip, rest, ColourToPixel(dc, dc.st.bkColour), rop2);
}

// Paints the brush's pixels, then the pen's gaps, then the pen's pixels;
// each set first loses the pixels of those painted after it.
void RenderShape(Dc& dc, const Region& clip, Strokes& strokes, SpanList& fill, bool withFill) {
  NormalizeSpans(strokes.pen);
  const Pens pen = PenOf(dc);
  SpanList gaps;
  if (pen.present && dc.st.bkMode == OPAQUE && !strokes.gaps.empty()) {
    NormalizeSpans(strokes.gaps);
    gaps = SubtractSpans(strokes.gaps, strokes.pen);
  }
  std::uint32_t brushPixel = 0;
  if (withFill && BrushPixel(dc, dc.st.brush, brushPixel)) {
    NormalizeSpans(fill);
    SpanList inside = SubtractSpans(fill, strokes.pen);
    if (!gaps.empty()) inside = SubtractSpans(inside, gaps);
    PaintBrushSpans(dc, clip, inside, dc.st.brush, brushPixel, dc.st.rop2);
  }
  if (!gaps.empty()) PaintClipped(dc, clip, gaps, ColourToPixel(dc, dc.st.bkColour), dc.st.rop2);
  if (pen.present) PaintClipped(dc, clip, strokes.pen, PenPixel(dc), dc.st.rop2);
}

// Splits a one-pixel ring into dashes by walking its pixels in angle order
// (counter-clockwise from `start`), so that curves take dashed pens too.
void DashRing(const SpanList& ring, double cx, double cy, double start, int style, Strokes& out) {
  struct Pixel {
    double angle;
    int x, y;
  };
  std::vector<Pixel> pixels;
  for (const Span& sp : ring) {
    for (int x = sp.x0; x < sp.x1; ++x) pixels.push_back(Pixel{Wrap(ScreenAngle(x + 0.5, sp.y + 0.5, cx, cy) - start), x, sp.y});
  }
  std::sort(pixels.begin(), pixels.end(), [](const Pixel& a, const Pixel& b) { return a.angle < b.angle; });
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    AddPixel(PatternOn(style, static_cast<long long>(i)) ? out.pen : out.gaps, pixels[i].x, pixels[i].y);
  }
}

std::vector<POINT> ToSurfacePoints(const Dc& dc, const POINT* pts, int count) {
  std::vector<POINT> out(count);
  for (int i = 0; i < count; ++i) out[i] = ToSurface(dc, pts[i].x, pts[i].y);
  return out;
}

struct Target {
  Dc* dc = nullptr;
  Region clip;
  RECT bounds{0, 0, 0, 0};
};

// The context and its clip, or false when there is nothing to draw on.
bool Begin(HDC handle, Target& t) {
  t.dc = GetDc(handle);
  if (!t.dc || !TargetSurface(*t.dc)) return false;
  t.clip = EffectiveClip(*t.dc);
  t.bounds = ClipBounds(t.clip);
  return true;
}

RECT NormalizedSurfaceRect(const Dc& dc, long long left, long long top, long long right, long long bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  const POINT a = ToSurface(dc, left, top), b = ToSurface(dc, right, bottom);
  return RECT{a.x, a.y, b.x, b.y};
}


enum class ArcKind { kArc, kPie, kChord };

struct ArcGeometry {
  double cx, cy, start, sweep;  // sweep 0 means the whole ellipse
  double sx, sy, ex, ey;        // where the start and end rays meet the ellipse
  POINT startPt, endPt, centre;  // the same, as pixels
};

ArcGeometry ArcOf(RECT box, POINT s, POINT e) {
  ArcGeometry g;
  g.cx = (box.left + box.right) / 2.0;
  g.cy = (box.top + box.bottom) / 2.0;
  g.start = ScreenAngle(s.x, s.y, g.cx, g.cy);
  g.sweep = Wrap(ScreenAngle(e.x, e.y, g.cx, g.cy) - g.start);
  const double a = (box.right - box.left) / 2.0, b = (box.bottom - box.top) / 2.0;
  auto onEllipse = [&](POINT p, double& x, double& y) {
    const double dx = p.x - g.cx, dy = p.y - g.cy;
    const double k = (dx == 0 && dy == 0) ? 0 : 1 / std::sqrt(dx * dx / (a * a) + dy * dy / (b * b));
    x = g.cx + dx * k;
    y = g.cy + dy * k;
    return POINT{static_cast<LONG>(std::floor(x)), static_cast<LONG>(std::floor(y))};
  };
  g.startPt = onEllipse(s, g.sx, g.sy);
  g.endPt = onEllipse(e, g.ex, g.ey);
  g.centre = POINT{static_cast<LONG>(std::floor(g.cx)), static_cast<LONG>(std::floor(g.cy))};
  return g;
}

bool InSweep(const ArcGeometry& g, double x, double y) {
  if (g.sweep == 0) return true;
  return Wrap(ScreenAngle(x, y, g.cx, g.cy) - g.start) <= g.sweep;
}

template <class Keep>
SpanList FilterPixels(const SpanList& spans, Keep keep) {
  SpanList out;
  for (const Span& s : spans) {
    for (int x = s.x0; x < s.x1; ++x) {
      if (keep(x, s.y)) AddPixel(out, x, s.y);
    }
  }
  return out;
}

BOOL DrawArcShape(HDC handle, ArcKind kind, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) {
  Target t;
  if (!Begin(handle, t)) return FALSE;
  Dc& dc = *t.dc;
  const RECT box = NormalizedSurfaceRect(dc, left, top, right, bottom);
  if (box.right - box.left < 1 || box.bottom - box.top < 1) return TRUE;
  const POINT s = ToSurface(dc, xs, ys), e = ToSurface(dc, xe, ye);
  const ArcGeometry g = ArcOf(box, s, e);
  const Pens pen = PenOf(dc);
  SpanList ring, inside;
  EllipseParts(box.left, box.top, box.right, box.bottom, pen.present ? pen.width : 0, t.bounds, &ring, &inside);
  NormalizeSpans(ring);
  Strokes outline;
  outline.pen = FilterPixels(ring, [&](int x, int y) { return InSweep(g, x + 0.5, y + 0.5); });
  if (pen.present && pen.style != PS_SOLID) {
    const SpanList arc = std::move(outline.pen);
    outline.pen.clear();
    DashRing(arc, g.cx, g.cy, g.start, pen.style, outline);
  }
  if (kind == ArcKind::kArc) {
    SpanList none;
    RenderShape(dc, t.clip, outline, none, false);
    return TRUE;
  }
  std::vector<POINT> edge;
  if (kind == ArcKind::kPie) {
    edge = {g.endPt, g.centre, g.startPt};
  } else {
    edge = {g.endPt, g.startPt};
  }
  if (pen.present) AddPolyline(outline, edge, false, pen, t.bounds);
  NormalizeSpans(inside);
  SpanList fill;
  if (kind == ArcKind::kPie) {
    fill = FilterPixels(inside, [&](int x, int y) { return InSweep(g, x + 0.5, y + 0.5); });
  } else {
    // The chord keeps the side of the line from start to end that holds the arc.
    const double mid = g.start + (g.sweep == 0 ? 2 * M_PI : g.sweep) / 2;
    const double a = (box.right - box.left) / 2.0, b = (box.bottom - box.top) / 2.0;
    const double ux = std::cos(mid), uy = -std::sin(mid);
    const double k = 1 / std::sqrt(ux * ux / (a * a) + uy * uy / (b * b));
    const double mx = g.cx + ux * k, my = g.cy + uy * k;  // the middle of the arc
    const double ex = g.ex - g.sx, ey = g.ey - g.sy;
    auto side = [&](double x, double y) { return ex * (y - g.sy) - ey * (x - g.sx); };
    const bool midSide = side(mx, my) >= 0;
    fill = FilterPixels(inside, [&](int x, int y) { return (side(x + 0.5, y + 0.5) >= 0) == midSide; });
  }
  RenderShape(dc, t.clip, outline, fill, true);
  return TRUE;
}

// Frame of a rectangle, one pixel wide, each pixel once.
void AddFrame(SpanList& out, RECT rc, const RECT& bounds) {
  AddRect(out, rc.left, rc.top, rc.right, rc.top + 1, bounds);
  if (rc.bottom - rc.top > 1) AddRect(out, rc.left, rc.bottom - 1, rc.right, rc.bottom, bounds);
  AddRect(out, rc.left, rc.top + 1, rc.left + 1, rc.bottom - 1, bounds);
  if (rc.right - rc.left > 1) AddRect(out, rc.right - 1, rc.top + 1, rc.right, rc.bottom - 1, bounds);
}

}  // namespace

// ---------------------------------------------------------------------------
// Raster operations

std::uint32_t Rop2Pixel(std::uint32_t d, std::uint32_t p, int rop2) {
  std::uint32_t r = 0;
  switch (rop2) {
    case R2_BLACK: r = 0; break;
    case R2_NOTMERGEPEN: r = ~(p | d); break;
    case R2_MASKNOTPEN: r = ~p & d; break;
    case R2_NOTCOPYPEN: r = ~p; break;
    case R2_MASKPENNOT: r = p & ~d; break;
    case R2_NOT: r = ~d; break;
    case R2_XORPEN: r = p ^ d; break;
    case R2_NOTMASKPEN: r = ~(p & d); break;
    case R2_MASKPEN: r = p & d; break;
    case R2_NOTXORPEN: r = ~(p ^ d); break;
    case R2_NOP: r = d; break;
    case R2_MERGENOTPEN: r = ~p | d; break;
    case R2_COPYPEN: r = p; break;
    case R2_MERGEPENNOT: r = p | ~d; break;
    case R2_MERGEPEN: r = p | d; break;
    case R2_WHITE: r = ~0u; break;
    default: r = d; break;
  }
  return r & kRgbMask;
}

std::uint32_t Rop3Pixel(std::uint32_t p, std::uint32_t s, std::uint32_t d, DWORD rop) {
  const unsigned table = (rop >> 16) & 0xFF;
  switch (table) {
    case 0xCC: return s;
    case 0xEE: return s | d;
    case 0x88: return s & d;
    case 0x66: return s ^ d;
    case 0x44: return s & ~d & kRgbMask;
    case 0x33: return ~s & kRgbMask;
    case 0xF0: return p;
    case 0x5A: return p ^ d;
    case 0x55: return ~d & kRgbMask;
    case 0x00: return 0;
    case 0xFF: return kRgbMask;
    default: break;
  }
  std::uint32_t r = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!(table & (1u << i))) continue;
    r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return r & kRgbMask;
}

void PaintSpans(Dc& dc, const SpanList& spans, std::uint32_t pixel, int rop2) {
  PaintClipped(dc, EffectiveClip(dc), spans, pixel, rop2);
}

void PatternRect(Dc& dc, RECT rc, std::uint32_t pattern, DWORD rop) {
  PixelSurface* s = TargetSurface(dc);
  if (!s || IsRectEmpty(&rc)) return;
  const Region clip = EffectiveClip(dc);
  for (const RECT& c : clip.rects) {
    RECT part;
    if (!IntersectRect(&part, &c, &rc)) continue;
    const int n = part.right - part.left;
    for (int y = part.top; y < part.bottom; ++y) {
      std::uint32_t* p = RowOf(*s, y) + part.left;
      switch (rop) {
        case PATCOPY: std::fill_n(p, n, pattern); break;
        case BLACKNESS: std::fill_n(p, n, 0u); break;
        case WHITENESS: std::fill_n(p, n, kRgbMask); break;
        case DSTINVERT:
          for (int i = 0; i < n; ++i) p[i] ^= kRgbMask;
          break;
        case PATINVERT:
          for (int i = 0; i < n; ++i) p[i] ^= pattern;
          break;
        default:
          for (int i = 0; i < n; ++i) p[i] = Rop3Pixel(pattern, 0, p[i], rop);
      }
    }
  }
}

void AddPolygonSpans(SpanList& out, const double* xy, const int* counts, int contours, bool winding,
                     const RECT& bounds) {
  struct Edge {
    double x0, y0, x1, y1;
    int dir;
  };
  std::vector<Edge> edges;
  double minY = 1e300, maxY = -1e300;
  const double* p = xy;
  for (int c = 0; c < contours; ++c) {
    const int n = counts[c];
    for (int i = 0; i < n; ++i) {
      const double ax = p[2 * i], ay = p[2 * i + 1];
      const double bx = p[2 * ((i + 1) % n)], by = p[2 * ((i + 1) % n) + 1];
      minY = std::min(minY, ay);
      maxY = std::max(maxY, ay);
      if (ay == by) continue;
      if (ay < by) {
        edges.push_back(Edge{ax, ay, bx, by, 1});
      } else {
        edges.push_back(Edge{bx, by, ax, ay, -1});
      }
    }
    p += 2 * std::max(n, 0);
  }
  if (edges.empty()) return;
  const int y0 = std::max<int>(bounds.top, static_cast<int>(std::floor(minY)));
  const int y1 = std::min<int>(bounds.bottom, static_cast<int>(std::ceil(maxY)) + 1);
  struct Crossing {
    double x;
    int dir;
  };
  std::vector<Crossing> xs;
  for (int y = y0; y < y1; ++y) {
    const double yc = y + 0.5;
    xs.clear();
    for (const Edge& e : edges) {
      if (yc < e.y0 || yc >= e.y1) continue;
      xs.push_back(Crossing{e.x0 + (yc - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir});
    }
    std::sort(xs.begin(), xs.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    int wind = 0;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
      wind += winding ? xs[i].dir : 1;
      const bool inside = winding ? wind != 0 : (wind % 2) == 1;
      if (!inside) continue;
      const double l = std::max<double>(std::ceil(xs[i].x - 0.5), bounds.left);
      const double r = std::min<double>(std::ceil(xs[i + 1].x - 0.5), bounds.right);
      if (l < r) out.push_back(Span{y, static_cast<int>(l), static_cast<int>(r)});
    }
  }
}

void AddEllipseSpans(SpanList& out, double left, double top, double right, double bottom, const RECT& bounds) {
  EllipseParts(left, top, right, bottom, 0, bounds, nullptr, &out);
}

}  // namespace pl3::gdi

using namespace pl3::gdi;
using pl3::PixelSurface;

// ---------------------------------------------------------------------------
// Lines

BOOL MoveToEx(HDC handle, int x, int y, POINT* old) {
  Dc* dc = GetDc(handle);
  if (!dc) return FALSE;
  if (old) *old = dc->st.position;
  dc->st.position = POINT{x, y};
  return TRUE;
}

BOOL GetCurrentPositionEx(HDC handle, POINT* out) {
  Dc* dc = GetDc(handle);
  if (!dc || !out) return FALSE;
  *out = dc->st.position;
  return TRUE;
}

BOOL PolylineTo(HDC handle, const POINT* pts, int count) {
  Dc* dc = GetDc(handle);
  if (!dc || !pts || count < 0) return FALSE;
  std::vector<POINT> all;
  all.push_back(dc->st.position);
  all.insert(all.end(), pts, pts + count);
  if (count > 0) dc->st.position = pts[count - 1];
  Target t;
  if (!Begin(handle, t)) return FALSE;
  const Pens pen = PenOf(*dc);
  if (!pen.present) return TRUE;
  std::vector<POINT> surf = ToSurfacePoints(*dc, all.data(), static_cast<int>(all.size()));
  Strokes outline;
  SpanList none;
  AddPolyline(outline, surf, false, pen, t.bounds);
  RenderShape(*dc, t.clip, outline, none, false);
  return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
  const POINT p{x, y};
  return PolylineTo(handle, &p, 1);
}

BOOL Polyline(HDC handle, const POINT* pts, int count) {
  Target t;
  if (!pts || count < 2) return FALSE;
  if (!Begin(handle, t)) return FALSE;
  const Pens pen = PenOf(*t.dc);
  if (!pen.present) return TRUE;
  Strokes outline;
  SpanList none;
  AddPolyline(outline, ToSurfacePoints(*t.dc, pts, count), false, pen, t.bounds);
  RenderShape(*t.dc, t.clip, outline, none, false);
  return TRUE;
}

// ---------------------------------------------------------------------------
// Shapes

BOOL PolyPolygon(HDC handle, const POINT* pts, const INT* counts, int polygons) {
  Target t;
  if (!pts || !counts || polygons <= 0) return FALSE;
  for (int i = 0; i < polygons; ++i) {
    if (counts[i] < 2) return FALSE;
  }
  if (!Begin(handle, t)) return FALSE;
  Dc& dc = *t.dc;
  const Pens pen = PenOf(dc);
  Strokes outline;
  SpanList fill;
  std::vector<double> xy;
  const POINT* p = pts;
  for (int i = 0; i < polygons; ++i) {
    std::vector<POINT> surf = ToSurfacePoints(dc, p, counts[i]);
    if (pen.present) AddPolyline(outline, surf, true, pen, t.bounds);
    for (const POINT& q : surf) xy.insert(xy.end(), {static_cast<double>(q.x), static_cast<double>(q.y)});
    p += counts[i];
  }
  AddPolygonSpans(fill, xy.data(), counts, polygons, dc.st.fillMode == WINDING, t.bounds);
  RenderShape(dc, t.clip, outline, fill, true);
  return TRUE;
}

BOOL Polygon(HDC handle, const POINT* pts, int count) {
  const INT counts[1] = {count};
  return PolyPolygon(handle, pts, counts, 1);
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
  Target t;
  if (!Begin(handle, t)) return FALSE;
  Dc& dc = *t.dc;
  const RECT rc = NormalizedSurfaceRect(dc, left, top, right, bottom);
  if (IsRectEmpty(&rc)) return TRUE;
  const Pens pen = PenOf(dc);
  Strokes outline;
  SpanList fill;
  int inset = 0;
  if (pen.present && pen.style != PS_SOLID) {
    std::vector<POINT> corners = {{rc.left, rc.top}, {rc.right - 1, rc.top}, {rc.right - 1, rc.bottom - 1},
                                  {rc.left, rc.bottom - 1}};
    AddPolyline(outline, corners, true, pen, t.bounds);
    inset = 1;
  } else if (pen.present) {
    // Wide pens stay inside the rectangle, so the frame never leaves its box.
    inset = pen.width;
    for (int i = 0; i < pen.width; ++i) {
      RECT ring{rc.left + i, rc.top + i, rc.right - i, rc.bottom - i};
      if (IsRectEmpty(&ring)) break;
      AddFrame(outline.pen, ring, t.bounds);
    }
  }
  AddRect(fill, rc.left + inset, rc.top + inset, rc.right - inset, rc.bottom - inset, t.bounds);
  RenderShape(dc, t.clip, outline, fill, true);
  return TRUE;
}

BOOL Ellipse(HDC handle, int left, int top, int right, int bottom) {
  Target t;
  if (!Begin(handle, t)) return FALSE;
  Dc& dc = *t.dc;
  const RECT rc = NormalizedSurfaceRect(dc, left, top, right, bottom);
  const Pens pen = PenOf(dc);
  Strokes outline;
  SpanList fill;
  EllipseParts(rc.left, rc.top, rc.right, rc.bottom, pen.present ? pen.width : 0, t.bounds, &outline.pen, &fill);
  if (pen.present && pen.style != PS_SOLID) {
    NormalizeSpans(outline.pen);
    const SpanList ring = std::move(outline.pen);
    outline.pen.clear();
    DashRing(ring, (rc.left + rc.right) / 2.0, (rc.top + rc.bottom) / 2.0, 0, pen.style, outline);
  }
  RenderShape(dc, t.clip, outline, fill, true);
  return TRUE;
}

BOOL Arc(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return DrawArcShape(dc, ArcKind::kArc, l, t, r, b, xs, ys, xe, ye);
}

BOOL Pie(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return DrawArcShape(dc, ArcKind::kPie, l, t, r, b, xs, ys, xe, ye);
}

BOOL Chord(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return DrawArcShape(dc, ArcKind::kChord, l, t, r, b, xs, ys, xe, ye);
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF colour) {
  Target t;
  if (!Begin(handle, t)) return CLR_INVALID;
  const POINT p = ToSurface(*t.dc, x, y);
  if (!t.clip.Contains(p.x, p.y)) return CLR_INVALID;
  const std::uint32_t pixel = ColourToPixel(*t.dc, colour);
  RowOf(*TargetSurface(*t.dc), p.y)[p.x] = pixel;
  return PixelToColour(pixel);
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF colour) { return SetPixel(dc, x, y, colour) != CLR_INVALID; }

COLORREF GetPixel(HDC handle, int x, int y) {
  Target t;
  if (!Begin(handle, t)) return CLR_INVALID;
  const POINT p = ToSurface(*t.dc, x, y);
  if (!t.clip.Contains(p.x, p.y)) return CLR_INVALID;
  return PixelToColour(RowOf(*TargetSurface(*t.dc), p.y)[p.x]);
}

// ---------------------------------------------------------------------------
// Rectangle fills

namespace {

// A brush handle, or a system colour index plus one as window classes pass it.
bool ResolveBrush(const Dc& dc, HBRUSH handle, std::uint32_t& pixel, const Brush*& brush) {
  const auto value = reinterpret_cast<std::uintptr_t>(handle);
  brush = nullptr;
  if (value >= 1 && value <= static_cast<std::uintptr_t>(COLOR_COUNT)) {
    pixel = RgbToPixel(GetSysColor(static_cast<int>(value - 1)));
    return true;
  }
  brush = GetBrush(AsObj(handle));
  return BrushPixel(dc, brush, pixel);
}

// Fills a rectangle in surface pixels with a brush, whatever the ROP2 mode.
void FillSurfaceRect(Dc& dc, const RECT& rc, const Brush* brush, std::uint32_t pixel) {
  if (!brush || brush->style != BS_HATCHED) {
    PatternRect(dc, rc, pixel, PATCOPY);
    return;
  }
  const Region clip = EffectiveClip(dc);
  SpanList spans;
  AddRect(spans, rc.left, rc.top, rc.right, rc.bottom, clip.Box());
  PaintBrushSpans(dc, clip, spans, brush, pixel, R2_COPYPEN);
}


}  // namespace

int FillRect(HDC handle, const RECT* rc, HBRUSH brush) {
  Dc* dc = GetDc(handle);
  std::uint32_t pixel;
  const Brush* b;
  if (!dc || !rc || !ResolveBrush(*dc, brush, pixel, b)) return 0;
  FillSurfaceRect(*dc, ToSurfaceRect(*dc, *rc), b, pixel);
  return 1;
}

int FrameRect(HDC handle, const RECT* rc, HBRUSH brush) {
  Target t;
  std::uint32_t pixel;
  const Brush* b;
  if (!rc || !Begin(handle, t) || !ResolveBrush(*t.dc, brush, pixel, b)) return 0;
  const RECT r = ToSurfaceRect(*t.dc, *rc);
  if (IsRectEmpty(&r)) return 1;
  SpanList frame;
  AddFrame(frame, r, t.bounds);
  NormalizeSpans(frame);
  PaintBrushSpans(*t.dc, t.clip, frame, b, pixel, R2_COPYPEN);
  return 1;
}

BOOL InvertRect(HDC handle, const RECT* rc) {
  Dc* dc = GetDc(handle);
  if (!dc || !rc) return FALSE;
  PatternRect(*dc, ToSurfaceRect(*dc, *rc), 0, DSTINVERT);
  return TRUE;
}

BOOL DrawFocusRect(HDC handle, const RECT* rc) {
  Target t;
  if (!rc || !Begin(handle, t)) return FALSE;
  const RECT r = ToSurfaceRect(*t.dc, *rc);
  if (IsRectEmpty(&r)) return TRUE;
  SpanList frame;
  AddFrame(frame, r, t.bounds);
  NormalizeSpans(frame);
  SpanList dots = FilterPixels(frame, [](int x, int y) { return ((x + y) & 1) == 0; });
  PaintClipped(*t.dc, t.clip, dots, 0x00FFFFFF, R2_XORPEN);
  return TRUE;
}

BOOL FillRgn(HDC handle, HRGN rgn, HBRUSH brush) {
  Dc* dc = GetDc(handle);
  RegionObject* r = GetRegionObject(rgn);
  std::uint32_t pixel;
  const Brush* b;
  if (!dc || !r || !ResolveBrush(*dc, brush, pixel, b)) return FALSE;
  for (const RECT& rc : r->region.rects) FillSurfaceRect(*dc, ToSurfaceRect(*dc, rc), b, pixel);
  return TRUE;
}

BOOL InvertRgn(HDC handle, HRGN rgn) {
  Dc* dc = GetDc(handle);
  RegionObject* r = GetRegionObject(rgn);
  if (!dc || !r) return FALSE;
  for (const RECT& rc : r->region.rects) PatternRect(*dc, ToSurfaceRect(*dc, rc), 0, DSTINVERT);
  return TRUE;
}

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
  Dc* dc = GetDc(handle);
  if (!dc) return FALSE;
  const unsigned table = (rop >> 16) & 0xFF;
  if (((table >> 2) ^ table) & 0x33) return FALSE;  // the operation reads a source
  std::uint32_t pattern = 0;
  const bool usesPattern = ((table >> 4) ^ table) & 0x0F;
  if (!BrushPixel(*dc, dc->st.brush, pattern) && usesPattern) return TRUE;  // a hollow brush paints nothing
  const RECT rc = NormalizedSurfaceRect(*dc, x, y, static_cast<long long>(x) + width, static_cast<long long>(y) + height);
  if (rop == PATCOPY) {
    FillSurfaceRect(*dc, rc, dc->st.brush, pattern);
  } else {
    PatternRect(*dc, rc, pattern, rop);  // other operations treat a hatch as its colour
  }
  return TRUE;
}
