#include "draw/display_painters.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "draw/display_builders.h"
#include "draw/display_paint.h"
#include "draw/layer_drawing.h"
#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "geometry/record_view.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/design_helpers.h"
#include "objects/plane_clearances.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/surface.h"

namespace {

using pl3::g_raster;

constexpr std::uint32_t kDatumArrowColour = 0x820000;
constexpr std::int64_t kDatumUnitsPerSize = 131072;
constexpr std::int32_t kCutoutCornerLength = 320000;
constexpr std::uint8_t kFirstInner = 2;
constexpr std::uint8_t kLastInner = 31;
constexpr std::uint8_t kFirstCopper = 1;
constexpr std::uint8_t kLastCopper = 32;

const pl3::Transform kPlaced = pl3::kIdentityTransform;

using RasterSave = RasterStateSave;

// The colour a normal painter takes: the current one, or the saved one while
// only highlighted items are shown.
std::uint32_t Chosen(std::uint32_t saved, std::uint32_t current) {
  return ActiveWindowData && ActiveWindowData->ViewOnlyHighlighted ? saved : current;
}

const LineItem& Line(const DisplayItem* item) { return *ItemAs<LineItem>(item); }
const ArcItem& Arc(const DisplayItem* item) { return *ItemAs<ArcItem>(item); }
const CircleItem& Circle(const DisplayItem* item) { return *ItemAs<CircleItem>(item); }
const RectangleItem& Rect(const DisplayItem* item) { return *ItemAs<RectangleItem>(item); }
const PolygonItem& Poly(const DisplayItem* item) { return *ItemAs<PolygonItem>(item); }
const GlyphItem& Glyph(const DisplayItem* item) { return *ItemAs<GlyphItem>(item); }
const HoleItem& Hole(const DisplayItem* item) { return *ItemAs<HoleItem>(item); }

bool AllInner(const DisplayItem* item) { return (item->flags & kItemAllInnerLayers) != 0; }

// The clearance rule: one cut in the saved colour with the item's own
// clearance, or for an item on all inner layers one cut per group.
template <typename Cut>
void ClearByRule(const DisplayItem* item, std::uint32_t saved, std::int32_t clearance,
                 const PaintLayerGroups& groups, Cut cut) {
  const RasterSave save;
  if (!AllInner(item)) {
    g_raster.fillValue = saved;
    cut(clearance);
    return;
  }
  for (std::uint32_t i = 0; i < groups.count; ++i) {
    g_raster.fillValue = groups.groups[i].colourBits;
    cut(groups.groups[i].clearance);
  }
}

void WorldLine(pl3::Point a, pl3::Point b, std::int32_t width) {
  pl3::TrackLayout line = MakeTrackRecord(0, a, b, width);
  pl3::TransformAndDrawLine(&line, &kPlaced);
}

// The kernel's view factor for the active view, before lengths are scaled on their own.
void SyncViewFactor() { g_raster.viewFactor = pl3::ViewFactorForZoom(pl3::ActiveViewMapping().zoom); }

pl3::Point ToView(pl3::Point p) {
  pl3::WorldToView(p.x, p.y);
  return p;
}

pl3::Point VectorToView(pl3::Point v) {
  pl3::ScaleSignedToViewInPlace(v.x);
  pl3::ScaleSignedToViewInPlace(v.y);
  return v;
}

// ---- The device context over the plane -------------------------------------------------

struct PlaneDC {
  HDC dc = nullptr;
  const std::uint32_t* plane = nullptr;
  pl3::PixelSurface surface;
};
PlaneDC g_planeDC;

[[maybe_unused]] const bool g_registered = pl3::RegisterGlobalReset([] { ReleasePlaneDC(); });

// Deletes the GDI objects it was given when it ends (after the caller has
// restored the context that held them).
struct GdiObjects {
  HDC dc;
  std::vector<HPEN> pens;
  std::vector<HBRUSH> brushes;
  std::vector<HFONT> fonts;
  ~GdiObjects() {
    for (HPEN o : pens) DeleteObject(o);
    for (HBRUSH o : brushes) DeleteObject(o);
    for (HFONT o : fonts) DeleteObject(o);
  }
};

}  // namespace

RasterStateSave::RasterStateSave()
    : op(g_raster.rasterOp),
      fill(g_raster.fillValue),
      outline(g_raster.trackOutlineMode),
      highlight(g_raster.trackHighlightMode) {}

RasterStateSave::~RasterStateSave() {
  g_raster.rasterOp = op;
  g_raster.fillValue = fill;
  g_raster.trackOutlineMode = outline;
  g_raster.trackHighlightMode = highlight;
}

HDC AcquirePlaneDC() {
  if (g_raster.spanTarget != pl3::kTargetPlane || !g_raster.plane || !g_raster.width || !g_raster.height) return nullptr;
  if (g_planeDC.dc && g_planeDC.plane == g_raster.plane) return g_planeDC.dc;
  ReleasePlaneDC();
  pl3::PixelSurface& s = g_planeDC.surface;
  s.width = static_cast<int>(g_raster.width);
  s.height = static_cast<int>(g_raster.height);
  s.stride = -s.width;
  s.pixels = g_raster.plane + static_cast<std::size_t>(g_raster.height - 1) * g_raster.width;
  const pl3::ViewClip& clip = pl3::CurrentViewClip();
  const RECT bounds{clip.xmin, clip.ymin, clip.xmax + 1, clip.ymax + 1};
  g_planeDC.dc = pl3::CreateSurfaceDC(&s, POINT{0, 0}, bounds);
  g_planeDC.plane = g_raster.plane;
  return g_planeDC.dc;
}

void ReleasePlaneDC() {
  if (g_planeDC.dc) pl3::DeleteSurfaceDC(g_planeDC.dc);
  g_planeDC = PlaneDC{};
}

COLORREF PlaneColourWord(std::uint32_t planeValue) {
  if (planeValue & 0x800000u) return 0x80u + ((planeValue >> 16) & 0xFu);
  return SwapRedBlue(planeValue & 0xFFFFFFu);
}

void MeasureText(HDC dc, const char* text, RECT* rect) {
  if (text) DrawTextA(dc, text, -1, rect, DT_CALCRECT);
}

// ---- Paint layer groups -----------------------------------------------------------------------

namespace {

PaintLayerGroups BuildGroups(std::uint8_t first, std::uint8_t last, int allLayers) {
  PaintLayerGroups out;
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return out;
  std::vector<PaintLayerGroup> groups;
  for (unsigned n = first; n <= last; ++n) {
    const auto layer = static_cast<std::uint8_t>(n);
    if (!IsLayerUsed(*w, layer)) continue;
    if (!allLayers) {
      const bool shown = w->SingleLayer >= 0 ? w->SingleLayer == layer
                                             : (w->layerTable.layers[layer].flags & kLayerVisible) != 0;
      if (!shown) continue;
    }
    const std::int32_t clearance = GetPlaneClearance(w->design, layer);
    auto it = std::find_if(groups.begin(), groups.end(), [&](const PaintLayerGroup& g) { return g.clearance == clearance; });
    if (it == groups.end()) {
      groups.push_back(PaintLayerGroup{clearance, 0, 0, 0, {}});
      it = groups.end() - 1;
    }
    it->colourBits |= w->layerTable.layers[layer].planeBit;
    it->layers[it->layerCount++] = layer;
  }
  if (groups.empty()) return out;
  out.groups = static_cast<PaintLayerGroup*>(std::malloc(groups.size() * sizeof(PaintLayerGroup)));
  if (!out.groups) return out;
  std::memcpy(out.groups, groups.data(), groups.size() * sizeof(PaintLayerGroup));
  out.count = static_cast<std::uint32_t>(groups.size());
  return out;
}

}  // namespace

PaintLayerGroups BuildPaintLayerGroups(int allLayers) { return BuildGroups(kFirstInner, kLastInner, allLayers); }
PaintLayerGroups BuildOutlineLayerGroups(int allLayers) { return BuildGroups(kFirstCopper, kLastCopper, allLayers); }

void FreePaintLayerGroups(PaintLayerGroups& groups) {
  std::free(groups.groups);
  groups = PaintLayerGroups{};
}

// ---- Tracks and lines ---------------------------------------------------------------------------

void PaintTrackItem(const DisplayItem* item) {
  const LineItem& l = Line(item);
  const RasterSave save;
  g_raster.fillValue = Chosen(l.savedColour, l.currentColour);
  pl3::TrackLayout copy = l.record;
  pl3::TransformAndDrawLine(&copy, &kPlaced);
}

void ClearTrackItem(const DisplayItem* item, const PaintLayerGroups& groups) {
  const LineItem& l = Line(item);
  ClearByRule(item, l.savedColour, l.clearance, groups, [&](std::int32_t clearance) {
    pl3::TrackLayout copy = l.record;
    copy.width += clearance;
    pl3::TransformAndDrawLine(&copy, &kPlaced);
  });
}

void PaintTrackEndMarks(const DisplayItem* item) {
  const LineItem& l = Line(item);
  const RasterSave save;
  g_raster.rasterOp = pl3::kRasterClearBits;
  g_raster.fillValue = l.currentColour;
  for (int end = 0; end < 2; ++end) {
    const pl3::Point& at = l.endMarks[3 * end];
    for (int k = 1; k <= 2; ++k) {
      const pl3::Point& mark = l.endMarks[3 * end + k];
      pl3::DrawWorldLine(at.x, at.y, mark.x, mark.y);
    }
  }
}

namespace {

// A dotted pen of special colour 0 on an opaque background of special colour 4.
void SelectOutlinePen(GdiObjects& gdi) {
  SetBkMode(gdi.dc, OPAQUE);
  SetBkColor(gdi.dc, PlaneColourWord(0x840000));
  HPEN pen = CreatePen(PS_DOT, 0, PlaneColourWord(0x800000));
  gdi.pens.push_back(pen);
  SelectObject(gdi.dc, pen);
}

}  // namespace

void PaintOutlineLineItem(const DisplayItem* item) {
  HDC dc = AcquirePlaneDC();
  if (!dc) return;
  const int saved = SaveDC(dc);
  {
    GdiObjects gdi{dc, {}, {}, {}};
    SelectOutlinePen(gdi);
    const pl3::TrackLayout& r = Line(item).record;
    const pl3::Point a = ToView({r.x1, r.y1}), b = ToView({r.x2, r.y2});
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
    RestoreDC(dc, saved);
  }
}

void ClearOutlineLineItem(const DisplayItem* item, const PaintLayerGroups& outlineGroups) {
  const RasterSave save;
  for (std::uint32_t i = 0; i < outlineGroups.count; ++i) {
    g_raster.fillValue = outlineGroups.groups[i].colourBits;
    pl3::TrackLayout copy = Line(item).record;
    copy.width = outlineGroups.groups[i].clearance;
    pl3::TransformAndDrawLine(&copy, &kPlaced);
  }
}

void PaintLinkedCutOutline(const DisplayItem* item) {
  const LineItem& l = Line(item);
  const RasterSave save;
  g_raster.fillValue = l.currentColour;
  g_raster.trackOutlineMode = 1;
  pl3::TrackLayout copy = l.record;
  pl3::TransformAndDrawLine(&copy, &kPlaced);
}

// ---- Arcs and circles ------------------------------------------------------------------------------

void PaintArcItem(const DisplayItem* item) {
  const ArcItem& a = Arc(item);
  const RasterSave save;
  g_raster.fillValue = Chosen(a.savedColour, a.currentColour);
  pl3::ArcLayout copy = a.record;
  pl3::TransformAndDrawArc(&copy, &kPlaced);
}

void PaintOutlineArcItem(const DisplayItem* item) {
  HDC dc = AcquirePlaneDC();
  if (!dc) return;
  const int saved = SaveDC(dc);
  {
    GdiObjects gdi{dc, {}, {}, {}};
    SelectOutlinePen(gdi);
    pl3::ArcLayout copy = Arc(item).record;
    pl3::TransformArcToView(&copy, &kPlaced);
    const std::int32_t r = copy.radius, cx = copy.centreX, cy = copy.centreY;
    ::Arc(dc, cx - r, cy - r + 1, cx + r, cy + r + 1, cx + copy.endX, cy + copy.endY + 1, cx + copy.startX,
          cy + copy.startY + 1);
    RestoreDC(dc, saved);
  }
}

void ClearArcItem(const DisplayItem* item, const PaintLayerGroups& groups) {
  const ArcItem& a = Arc(item);
  const bool asWidth = (item->flags & kItemClearanceAsWidth) != 0;
  ClearByRule(item, a.savedColour, a.clearance, groups, [&](std::int32_t clearance) {
    pl3::ArcLayout copy = a.record;
    copy.width = asWidth && AllInner(item) ? clearance : copy.width + clearance;
    pl3::TransformAndDrawArc(&copy, &kPlaced);
  });
}

void ClearOutlineArcItem(const DisplayItem* item, const PaintLayerGroups& outlineGroups) {
  const RasterSave save;
  for (std::uint32_t i = 0; i < outlineGroups.count; ++i) {
    g_raster.fillValue = outlineGroups.groups[i].colourBits;
    pl3::ArcLayout copy = Arc(item).record;
    copy.width = outlineGroups.groups[i].clearance;
    pl3::TransformAndDrawArc(&copy, &kPlaced);
  }
}

void PaintCircleItem(const DisplayItem* item) {
  const CircleItem& c = Circle(item);
  const RasterSave save;
  g_raster.fillValue = Chosen(c.savedColour, c.currentColour);
  pl3::CircleLayout copy = c.record;
  pl3::TransformAndFillCircle(&copy, &kPlaced);
}

void ClearCircleItem(const DisplayItem* item, const PaintLayerGroups& groups) {
  const CircleItem& c = Circle(item);
  ClearByRule(item, c.savedColour, c.clearance, groups, [&](std::int32_t clearance) {
    pl3::CircleLayout copy = c.record;
    copy.size += clearance;
    pl3::TransformAndFillCircle(&copy, &kPlaced);
  });
}

// ---- Rectangles and polygons -------------------------------------------------------------------------

void PaintRectangleItem(const DisplayItem* item) {
  const RectangleItem& r = Rect(item);
  const RasterSave save;
  g_raster.fillValue = Chosen(r.savedColour, r.currentColour);
  const pl3::Point c = ToView(r.centre), u = VectorToView(r.u), v = VectorToView(r.v);
  pl3::FillTriangle(c.x + u.x, c.y + u.y, c.x + v.x, c.y + v.y, c.x - v.x, c.y - v.y);
  pl3::FillTriangle(c.x + v.x, c.y + v.y, c.x - v.x, c.y - v.y, c.x - u.x, c.y - u.y);
}

void ClearRectangleItem(const DisplayItem* item, const PaintLayerGroups& groups) {
  const RectangleItem& r = Rect(item);
  const pl3::Point c = r.centre;
  const pl3::Point pu{c.x + r.u.x, c.y + r.u.y}, pv{c.x + r.v.x, c.y + r.v.y};
  const pl3::Point mu{c.x - r.u.x, c.y - r.u.y}, mv{c.x - r.v.x, c.y - r.v.y};
  ClearByRule(item, r.savedColour, r.clearance, groups, [&](std::int32_t clearance) {
    WorldLine(pu, pv, clearance);
    WorldLine(pv, mu, clearance);
    WorldLine(mu, mv, clearance);
    WorldLine(mv, pu, clearance);
  });
}

void PaintPolygonItem(const DisplayItem* item) {
  const PolygonItem& p = Poly(item);
  const RasterSave save;
  g_raster.fillValue = Chosen(p.savedColour, p.currentColour);
  pl3::FillPolygon(PolygonItemRecord(&p), &kPlaced);
}

void PaintPolygonOutline(const DisplayItem* item) {
  const PolygonItem& p = Poly(item);
  const RasterSave save;
  g_raster.fillValue = p.currentColour;
  DrawPolygonOutline(PolygonItemRecord(&p), &kPlaced);
}

void PaintComponentOutline(const DisplayItem* item) { PaintPolygonOutline(item); }

void ClearPolygonItem(const DisplayItem* item, const PaintLayerGroups& groups) {
  const PolygonItem& p = Poly(item);
  const pl3::PolygonLayout* record = PolygonItemRecord(&p);
  const pl3::Point* points = pl3::PolygonPoints(record);
  const int n = record->count;
  ClearByRule(item, p.savedColour, p.clearance, groups, [&](std::int32_t clearance) {
    for (int i = 0; n > 1 && i < n; ++i) WorldLine(points[i], points[(i + 1) % n], clearance);
  });
}

void PaintCutoutCorners(const DisplayItem* item) {
  const PolygonItem& p = Poly(item);
  const RasterSave save;
  g_raster.fillValue = p.currentColour;
  std::int32_t length = kCutoutCornerLength;
  SyncViewFactor();
  pl3::ScaleToViewInPlace(length);
  pl3::DrawPolygonCornerMarks(PolygonItemRecord(&p), &kPlaced, length);
}

void PaintKeepoutItem(const DisplayItem* item) {
  HDC dc = AcquirePlaneDC();
  if (!dc) return;
  const pl3::PolygonLayout* record = PolygonItemRecord(&Poly(item));
  const int n = record->count;
  if (n < 2) return;
  COLORREF colour = 0x80;
  switch (item->kind) {
    case 41: colour = 0x82; break;
    case 42: colour = 0x83; break;
    case 43: case 49: colour = 0x84; break;
    default: break;
  }
  std::vector<POINT> points(static_cast<std::size_t>(n) + 1);
  POINT largest{INT32_MIN, INT32_MIN};
  for (int i = 0; i < n; ++i) {
    const pl3::Point v = ToView(pl3::PolygonPoints(record)[i]);
    points[static_cast<std::size_t>(i)] = POINT{v.x, v.y};
    largest.x = std::max(largest.x, v.x);
    largest.y = std::max(largest.y, v.y);
  }
  points[static_cast<std::size_t>(n)] = points[0];
  const int saved = SaveDC(dc);
  {
    GdiObjects gdi{dc, {}, {}, {}};
    const bool hatched = ActiveWindowData && ActiveWindowData->PaintOptions.HatchKeepouts;
    if (hatched) {
      SetBkMode(dc, TRANSPARENT);
      HBRUSH brush = CreateHatchBrush(HS_DIAGCROSS, colour);
      gdi.brushes.push_back(brush);
      SelectObject(dc, brush);
      SelectObject(dc, GetStockObject(NULL_PEN));
      SetBrushOrgEx(dc, largest.x, largest.y, nullptr);
      Polygon(dc, points.data(), n + 1);
    } else {
      HPEN pen = CreatePen(PS_SOLID, 0, colour);
      gdi.pens.push_back(pen);
      SelectObject(dc, pen);
      Polyline(dc, points.data(), n + 1);
    }
    RestoreDC(dc, saved);
  }
}

// ---- Glyphs --------------------------------------------------------------------------------------------

void PaintGlyphItem(const DisplayItem* item) {
  const GlyphItem& g = Glyph(item);
  const RasterSave save;
  g_raster.fillValue = Chosen(g.savedColour, g.currentColour);
  for (std::uint32_t t = 0; t < g.triangleCount; ++t) {
    const std::uint16_t* corner = g.triangles + 3 * t;
    if (corner[0] >= g.pointCount || corner[1] >= g.pointCount || corner[2] >= g.pointCount) continue;
    const pl3::Point a = ToView(g.points[corner[0]]), b = ToView(g.points[corner[1]]), c = ToView(g.points[corner[2]]);
    pl3::FillTriangle(a.x, a.y, b.x, b.y, c.x, c.y);
  }
}

void ClearGlyphItem(const DisplayItem* item) {
  const GlyphItem& g = Glyph(item);
  const RasterSave save;
  g_raster.fillValue = g.savedColour;
  for (std::uint32_t c = 0; c < g.contourCount; ++c) {
    const std::uint32_t first = g.contours[2 * c], last = g.contours[2 * c + 1];
    if (first > last || last >= g.pointCount) continue;
    for (std::uint32_t i = first; i <= last; ++i) WorldLine(g.points[i], g.points[i == last ? first : i + 1], g.clearance);
  }
}

// ---- Holes, vias and slots ---------------------------------------------------------------------------------

void PaintHoleRing(const DisplayItem* item) {
  const HoleItem& h = Hole(item);
  const RasterSave save;
  g_raster.fillValue = Chosen(h.savedColourA, h.currentColourA);
  pl3::HoleLayout copy = h.record.hole;
  pl3::DrawHoleRing(&copy, &kPlaced);
}

void PaintHoleCross(const DisplayItem* item) {
  const RasterSave save;
  g_raster.fillValue = kHighlightColour;
  pl3::HoleLayout copy = Hole(item).record.hole;
  pl3::DrawHoleCross(&copy, &kPlaced);
}

void PaintViaItem(const DisplayItem* item) {
  const HoleItem& h = Hole(item);
  const RasterSave save;
  g_raster.fillValue = Chosen(h.savedColourA, h.currentColourA);
  pl3::HoleLayout copy = h.record.hole;
  pl3::FillHoleInner(&copy, &kPlaced);
}

void ClearHoleItem(const DisplayItem* item) {
  const HoleItem& h = Hole(item);
  const RasterSave save;
  for (std::uint32_t i = 0; i < h.groupCount; ++i) {
    g_raster.fillValue = h.groups[i].colourBits;
    pl3::HoleLayout copy = h.record.hole;
    copy.size1 += h.groups[i].clearance;
    pl3::FillHoleOuter(&copy, &kPlaced);
  }
}

void ClearViaItem(const DisplayItem* item) {
  const HoleItem& h = Hole(item);
  const RasterSave save;
  for (std::uint32_t i = 0; i < h.groupCount; ++i) {
    g_raster.fillValue = h.groups[i].colourBits;
    pl3::HoleLayout copy = h.record.hole;
    copy.size2 += h.groups[i].clearance;
    pl3::FillHoleInner(&copy, &kPlaced);
  }
}

void DrillHoleItem(const DisplayItem* item) {
  const HoleItem& h = Hole(item);
  const RasterSave save;
  g_raster.rasterOp = pl3::kRasterClearBits;
  g_raster.fillValue = Chosen(h.savedColourB, h.currentColourB);
  pl3::HoleLayout copy = h.record.hole;
  pl3::FillHoleOuter(&copy, &kPlaced);
}

void PaintSlotItem(const DisplayItem* item, std::uint32_t copperMask) {
  const RasterSave save;
  g_raster.fillValue = copperMask;
  pl3::TrackLayout copy = Line(item).record;
  pl3::TransformAndDrawSlot(&copy, &kPlaced);
}

void ClearSlotItem(const DisplayItem* item) {
  const LineItem& l = Line(item);
  const RasterSave save;
  g_raster.rasterOp = pl3::kRasterClearBits;
  for (std::uint32_t i = 0; i < l.groupCount; ++i) {
    g_raster.fillValue = l.groups[i].colourBits;
    pl3::TrackLayout copy = l.record;
    copy.width += l.groups[i].clearance;
    pl3::TransformAndDrawSlot(&copy, &kPlaced);
  }
}

void PaintSlotOutline(const DisplayItem* item, std::uint32_t copperMask) {
  const RasterSave save;
  g_raster.fillValue = copperMask;
  g_raster.trackOutlineMode = 1;
  pl3::TrackLayout copy = Line(item).record;
  pl3::TransformAndDrawSlot(&copy, &kPlaced);
}

void PaintSlotDrillMarks(const DisplayItem* item) {
  const pl3::TrackLayout& r = Line(item).record;
  const RasterSave save;
  g_raster.fillValue = kHighlightColour;
  pl3::DrawWorldLine(r.x1, r.y1, r.x2, r.y2);
  // Plated slots get short crosses at their ends, non-plated ones crosses of the slot's width.
  const std::int32_t reach = item->kind == 46 ? r.width / 4 : r.width;
  for (const pl3::Point end : {pl3::Point{r.x1, r.y1}, pl3::Point{r.x2, r.y2}}) {
    pl3::DrawWorldLine(end.x - reach, end.y, end.x + reach, end.y);
    pl3::DrawWorldLine(end.x, end.y - reach, end.x, end.y + reach);
  }
}

// ---- Datums ---------------------------------------------------------------------------------------------------

void PaintDatumItem(const DisplayItem* item) {
  const DatumItem& d = *ItemAs<DatumItem>(item);
  const RasterSave save;
  g_raster.fillValue = kDatumArrowColour;
  std::int32_t s = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{d.textSize} * kDatumUnitsPerSize, INT32_MAX));
  SyncViewFactor();
  pl3::ScaleToViewInPlace(s);
  const pl3::Point p = ToView({d.x, d.y});
  if (d.upperRight) s = -s;
  const std::int32_t t = s / 3;
  pl3::DrawThickViewLine(p.x, p.y + t, p.x, p.y - s, 0);
  pl3::DrawThickViewLine(p.x - t, p.y, p.x + s, p.y, 0);
  pl3::DrawThickViewLine(p.x - t, p.y - s + t, p.x, p.y - s, 0);
  pl3::DrawThickViewLine(p.x + t, p.y - s + t, p.x, p.y - s, 0);
  pl3::DrawThickViewLine(p.x + s - t, p.y + t, p.x + s, p.y, 0);
  pl3::DrawThickViewLine(p.x + s - t, p.y - t, p.x + s, p.y, 0);
}

// ---- Plane cutting by layer -----------------------------------------------------------------------------------

namespace {

void OnLayer(std::uint8_t layer) {
  RasterFirstLayer = RasterLastLayer = layer;
  if (ActiveWindowData) g_raster.fillValue = ActiveWindowData->layerTable.layers[layer].planeBit;
}

// The by-layer form: an item on one layer is cut there with its own
// clearance; an item on all inner layers once on each layer of each group,
// with that group's clearance.
template <typename Clear>
void ClearByLayer(const DisplayItem* item, std::int32_t* clearance, const PaintLayerGroups& groups, Clear clear) {
  const RasterSave save;
  if (!AllInner(item)) {
    RasterFirstLayer = RasterLastLayer = item->layer;
    clear(item, PaintLayerGroups{});
    return;
  }
  const std::int32_t ownClearance = *clearance;
  auto* flags = const_cast<std::uint32_t*>(&item->flags);
  const std::uint32_t ownFlags = *flags;
  *flags &= ~kItemAllInnerLayers;
  for (std::uint32_t g = 0; g < groups.count; ++g) {
    *clearance = groups.groups[g].clearance;
    for (std::uint32_t k = 0; k < groups.groups[g].layerCount; ++k) {
      OnLayer(groups.groups[g].layers[k]);
      clear(item, PaintLayerGroups{});
    }
  }
  *clearance = ownClearance;
  *flags = ownFlags;
}

std::int32_t* ClearanceOf(const DisplayItem* item) {
  switch (item->kind) {
    case 1: case 10: case 35: case 37: case 39: case 46: case 47:
      return &const_cast<LineItem*>(ItemAs<LineItem>(item))->clearance;
    case 2: case 38: return &const_cast<ArcItem*>(ItemAs<ArcItem>(item))->clearance;
    case 3: return &const_cast<CircleItem*>(ItemAs<CircleItem>(item))->clearance;
    case 6: return &const_cast<RectangleItem*>(ItemAs<RectangleItem>(item))->clearance;
    default: return &const_cast<PolygonItem*>(ItemAs<PolygonItem>(item))->clearance;
  }
}

}  // namespace

void ClearHoleByLayer(const DisplayItem* item) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  const RasterSave save;
  for (std::uint8_t layer = kFirstCopper; layer <= kLastCopper; ++layer) {
    if (!IsLayerUsed(*w, layer)) continue;
    OnLayer(layer);
    pl3::HoleLayout copy = Hole(item).record.hole;
    copy.size1 += GetPlaneClearance(w->design, layer);
    pl3::FillHoleOuter(&copy, &kPlaced);
  }
}

void ClearTrackByLayer(const DisplayItem* item, const PaintLayerGroups& groups) {
  ClearByLayer(item, ClearanceOf(item), groups, &ClearTrackItem);
}
void ClearArcByLayer(const DisplayItem* item, const PaintLayerGroups& groups) {
  ClearByLayer(item, ClearanceOf(item), groups, &ClearArcItem);
}
void ClearCircleByLayer(const DisplayItem* item, const PaintLayerGroups& groups) {
  ClearByLayer(item, ClearanceOf(item), groups, &ClearCircleItem);
}
void ClearRectangleByLayer(const DisplayItem* item, const PaintLayerGroups& groups) {
  ClearByLayer(item, ClearanceOf(item), groups, &ClearRectangleItem);
}
void ClearPolygonByLayer(const DisplayItem* item, const PaintLayerGroups& groups) {
  ClearByLayer(item, ClearanceOf(item), groups, &ClearPolygonItem);
}

// ---- Pin labels ---------------------------------------------------------------------------------------------------

namespace {

constexpr std::uint32_t kLabelNetNames = 0x1;
constexpr std::uint32_t kLabelPadNames = 0x2;
constexpr std::uint32_t kLabelHideN0 = 0x4;
constexpr std::uint32_t kLabelNeedsNet = 0x8;
constexpr std::uint32_t kLabelHighlightTexts = 0x10;
constexpr COLORREF kLabelBoxColour = 0xFFFF00;
constexpr std::uint32_t kSideTop = 1, kSideBottom = 2, kSideAny = 4;

struct PinLabelPass {
  HBRUSH brushes[3];  // top, bottom, through-hole
  COLORREF colours[3];
  std::uint32_t visibleSides;
};

int SideIndex(std::uint32_t side) { return side == kSideTop ? 0 : side == kSideBottom ? 1 : 2; }

bool LayerShown(const CurrentWindowData& w, std::uint8_t layer) {
  if (w.SingleLayer >= 0) return w.SingleLayer == layer;
  return (w.layerTable.layers[layer].flags & kLayerVisible) != 0;
}

std::uint32_t VisibleSides(const CurrentWindowData& w) {
  std::uint32_t sides = 0;
  if (LayerShown(w, Layer_Top)) sides |= kSideTop;
  if (LayerShown(w, Layer_Bottom)) sides |= kSideBottom;
  bool any = sides != 0;
  for (std::uint8_t layer = 2; !any && layer <= 30; ++layer) any = IsLayerUsed(w, layer) && LayerShown(w, layer);
  if (any) sides |= kSideAny;
  return sides;
}

void LayoutPinLabel(HDC dc, PinLabelItem& item, const PinLabelPass& pass) {
  item.text[0] = item.text[1] = nullptr;
  const CurrentWindowData& w = *ActiveWindowData;
  if (!(item.side & pass.visibleSides)) return;
  const std::uint32_t options = w.PaintOptions.PinLabelOptions;
  const bool hasNet = item.netName && item.netName[0];
  if ((options & kLabelNeedsNet) && !hasNet) return;
  const char* netText = (options & kLabelNetNames) && hasNet ? item.netName : nullptr;
  if (netText && (options & kLabelHideN0) && std::strncmp(netText, "N0", 2) == 0) netText = nullptr;
  const char* padText = (options & kLabelPadNames) && item.labelText && item.labelText[0] ? item.labelText : nullptr;
  if (!netText && !padText) return;

  pl3::Box box = item.head.box;
  SyncViewFactor();
  pl3::ScaleToViewInPlace(box.xmin);
  pl3::ScaleToViewInPlace(box.ymin);
  pl3::ScaleToViewInPlace(box.xmax);
  pl3::ScaleToViewInPlace(box.ymax);
  const std::int64_t padWidth = std::int64_t{box.xmax} - box.xmin, padHeight = std::int64_t{box.ymax} - box.ymin;
  const pl3::Point origin = ToView(item.origin);
  RECT a{0, 0, 0, 0}, b{0, 0, 0, 0};
  MeasureText(dc, netText, &a);
  MeasureText(dc, padText, &b);
  const std::int64_t aw = netText ? a.right - a.left : 0, ah = netText ? a.bottom - a.top : 0;
  const std::int64_t bw = padText ? b.right - b.left : 0, bh = padText ? b.bottom - b.top : 0;
  const std::int64_t margin = 2 * std::int64_t{w.PaintOptions.LabelMargin} + 2;
  if (margin + std::max(aw, bw) > padWidth || margin + ah + bh > padHeight) return;

  auto centred = [&](std::int64_t width, std::int64_t top, std::int64_t height) {
    const auto left = static_cast<LONG>(origin.x - width / 2);
    return RECT{left, static_cast<LONG>(top), static_cast<LONG>(left + width), static_cast<LONG>(top + height)};
  };
  if (netText && padText) {
    item.textRect[1] = centred(bw, origin.y - bh, 2 * bh);
    item.textRect[0] = centred(aw, origin.y, ah);
  } else if (netText) {
    item.textRect[0] = centred(aw, origin.y - ah / 2, ah);
  } else {
    item.textRect[1] = centred(bw, origin.y - bh / 2, bh);
  }
  item.text[0] = netText;
  item.text[1] = padText;
  SelectObject(dc, pass.brushes[SideIndex(item.side)]);
  for (int k = 0; k < 2; ++k) {
    if (!item.text[k]) continue;
    const RECT& r = item.textRect[k];
    Rectangle(dc, r.left - 2, r.top - 2, r.right + 3, r.bottom + 3);
  }
}

void DrawPinLabelTexts(HDC dc, PinLabelItem& item, const PinLabelPass& pass) {
  if (!(item.side & pass.visibleSides)) return;
  SetTextColor(dc, pass.colours[SideIndex(item.side)]);
  for (int k = 0; k < 2; ++k) {
    if (item.text[k]) DrawTextA(dc, item.text[k], -1, &item.textRect[k], DT_CENTER);
  }
}

}  // namespace

void PaintPinLabels(const pl3::Box* box, const DisplayList* list) {
  const CurrentWindowData* w = ActiveWindowData;
  HDC dc = AcquirePlaneDC();
  if (!w || !dc || !list) return;
  const std::uint32_t options = w->PaintOptions.PinLabelOptions;
  PinLabelPass pass{};
  const int savedDC = SaveDC(dc);
  GdiObjects gdi{dc, {}, {}, {}};
  SetROP2(dc, R2_MASKNOTPEN);
  HPEN nullPen = CreatePen(PS_NULL, 0, 0);
  gdi.pens.push_back(nullPen);
  for (HBRUSH& brush : pass.brushes) {
    brush = CreateSolidBrush(kLabelBoxColour);
    gdi.brushes.push_back(brush);
  }
  const std::uint32_t top = w->layerTable.layers[Layer_Top].planeBit, bottom = w->layerTable.layers[Layer_Bottom].planeBit;
  pass.colours[0] = (options & kLabelHighlightTexts) ? PlaneColourWord(kHighlightColour) : PlaneColourWord(top);
  pass.colours[1] = (options & kLabelHighlightTexts) ? PlaneColourWord(kHighlightColour) : PlaneColourWord(bottom);
  pass.colours[2] = PlaneColourWord(kHighlightColour);
  pass.visibleSides = VisibleSides(*w);
  HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                           "MS Sans Serif");
  gdi.fonts.push_back(font);
  SelectObject(dc, font);
  SelectObject(dc, nullPen);
  SetBkMode(dc, TRANSPARENT);
  for (DisplayNode* n = list->lists[DisplayList_PinLabels]; n; n = n->next) {
    if (n->item && ItemMeetsBox(box, n->item->box)) LayoutPinLabel(dc, *ItemAs<PinLabelItem>(n->item), pass);
  }
  for (DisplayNode* n = list->lists[DisplayList_PinLabels]; n; n = n->next) {
    if (n->item && ItemMeetsBox(box, n->item->box)) DrawPinLabelTexts(dc, *ItemAs<PinLabelItem>(n->item), pass);
  }
  RestoreDC(dc, savedDC);
}
