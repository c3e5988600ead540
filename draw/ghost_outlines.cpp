// The outline drawers behind GhostEntityData: tracks with their legs, arcs,
// circles, holes, polygons, rectangles and thin lines. Each works on a stack
// copy of the payload, turned by its own transform and placed by the given
// one, in view pixels; each straight piece is clipped first.
#include <algorithm>
#include <cstring>

#include "draw/ghost_pens.h"
#include "draw/ghost_seams.h"
#include "draw/ghosts.h"
#include "draw/raster_callbacks.h"
#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/clipping.h"
#include "geometry/octants.h"
#include "geometry/raster_state.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "platform/gdi.h"

namespace {

using pl3::Point;

HDC AsDC(void* dc) { return static_cast<HDC>(dc); }

Point ToView(const pl3::Transform* t, std::int32_t x, std::int32_t y) {
  if (t) pl3::TransformPoint(t, x, y);
  pl3::WorldToView(x, y);
  return {x, y};
}

void ClippedLine(void* dc, Point a, Point b) {
  pl3::ViewSegment s = {a.x, a.y, b.x, b.y};
  if (pl3::ClipSegmentToView(&s) != 0) return;
  MoveToEx(AsDC(dc), s.x1, s.y1, nullptr);
  LineTo(AsDC(dc), s.x2, s.y2);
}

// GDI takes a circle only while both coordinate sums of its box stay below the limit.
void GhostCircle(void* dc, Point c, std::int32_t r) {
  const std::int64_t left = static_cast<std::int64_t>(c.x) - r, right = static_cast<std::int64_t>(c.x) + r + 1;
  const std::int64_t top = static_cast<std::int64_t>(c.y) - r, bottom = static_cast<std::int64_t>(c.y) + r + 1;
  if (left + right >= kGdiCoordinateLimit || top + bottom >= kGdiCoordinateLimit) return;
  if (!pl3::DiscVisible(pl3::CurrentViewClip(), c.x, c.y, r)) return;
  Ellipse(AsDC(dc), static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom));
}

// Restores the window's StateFlags and CurrentColour on leaving a drawer
// that switches single-colour mode on.
struct ColourModeScope {
  CurrentWindowData& w;
  std::uint32_t flags = w.StateFlags;
  std::uint32_t colour = pl3::g_raster.fillValue;
  ~ColourModeScope() {
    w.StateFlags = flags;
    pl3::g_raster.fillValue = colour;
  }
  void SingleColour(std::uint32_t c) {
    w.StateFlags |= kStateSingleColour;
    pl3::g_raster.fillValue = c;
  }
};

// The plane bits of the used layers from `from` to `to` over the background.
std::uint32_t UsedLayerColour(const CurrentWindowData& w, std::uint8_t from, std::uint8_t to) {
  std::uint32_t c = static_cast<std::uint32_t>(w.BackgroundIndex);
  for (int l = std::min(from, to); l <= std::max(from, to); ++l) {
    const LayerRecord& r = w.layerTable.layers[l];
    if (r.flags & kLayerPresent) c |= r.planeBit;
  }
  return c;
}

// ---- Tracks ---------------------------------------------------------------

struct Piece {
  Point a;
  Point b;
  int endFlag;
};

// The legs of a segment by AngleAssist and the bend bits: one or two pieces.
int SplitIntoLegs(Point a, Point b, std::uint8_t angleAssist, std::uint32_t bend, Piece out[2]) {
  const std::int32_t dx = b.x - a.x, dy = b.y - a.y;
  if (dx == 0 || dy == 0 || angleAssist == 0 || angleAssist > 2) {
    out[0] = {a, b, 1};
    return 1;
  }
  Point corner;
  if (angleAssist == 1) {
    corner = (bend & 1) ? Point{a.x, b.y} : Point{b.x, a.y};
  } else {
    const std::int32_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    if (adx == ady) {
      out[0] = {a, b, 1};
      return 1;
    }
    const std::int32_t s = std::min(adx, ady);
    const std::int32_t sx = dx < 0 ? -s : s, sy = dy < 0 ? -s : s;
    corner = (bend & 2) ? Point{a.x + sx, a.y + sy} : Point{b.x - sx, b.y - sy};
  }
  out[0] = {a, corner, 0};
  out[1] = {corner, b, 1};
  return 2;
}

// One piece as its centre line, or as two edges with round ends.
void DrawTrackPiece(void* dc, const Piece& p, std::int32_t halfWidth) {
  if (!GhostOutlines || halfWidth < 2) {
    ClippedLine(dc, p.a, p.b);
    return;
  }
  const bool hasLength = p.a.x != p.b.x || p.a.y != p.b.y;
  if (hasLength) {
    const Point n = pl3::LatticeVector(p.a.y - p.b.y, p.b.x - p.a.x, halfWidth);
    ClippedLine(dc, {p.a.x + n.x, p.a.y + n.y}, {p.b.x + n.x, p.b.y + n.y});
    ClippedLine(dc, {p.a.x - n.x, p.a.y - n.y}, {p.b.x - n.x, p.b.y - n.y});
  }
  if (!GhostRoundEnds) return;
  GhostCircle(dc, p.a, halfWidth);
  if (hasLength && p.endFlag == 1) GhostCircle(dc, p.b, halfWidth);
}

// The quasi-track gap in pixels (0 when the setting is off for this piece).
std::int32_t QuasiTrackGapPixels(const CurrentWindowData& w, std::uint16_t type, std::uint8_t layer) {
  if (w.editorKind != kEditorPcb || type == Type_LinkedCut || type == Type_BoardOutlineLine) return 0;
  if (layer < 1 || layer > 32) return 0;
  const QuasiTrackSettings q = GetQuasiTrackSettings();
  if (!q.enabled) return 0;
  static constexpr double kFactors[4] = {36576.0, 36576000.0, 1440000.0, 14400000.0};
  const double world = kFactors[q.units < 4 ? q.units : 0] * q.gap;
  const std::int32_t units = pl3::TruncateToInt(world);
  if (units <= 0) return 0;
  return pl3::ScaleToView(units);
}

// ---- Arcs -----------------------------------------------------------------

bool IsZero(std::int32_t x, std::int32_t y) { return x == 0 && y == 0; }

// A GDI arc of radius r about c between the two directions; its box is
// inclusive on the right and bottom and shifted one pixel down. Arc records
// sweep from start toward +y (clockwise on the screen) and GDI runs
// counter-clockwise, so GDI is given the ends the other way round: the same
// sweep as the raster tracer draws.
void GdiArc(void* dc, Point c, std::int32_t r, Point from, Point to) {
  const Point s = pl3::LatticeVector(from.x, from.y, r), e = pl3::LatticeVector(to.x, to.y, r);
  Arc(AsDC(dc), c.x - r, c.y - r + 1, c.x + r + 1, c.y + r + 2, c.x + e.x, c.y + e.y, c.x + s.x, c.y + s.y);
}

void TracedArc(void* dc, Point c, std::int32_t r, Point from, Point to) {
  if (r <= 0) return;
  pl3::ArcLayout arc{};
  arc.centreX = c.x;
  arc.centreY = c.y;
  arc.radius = r;
  arc.startX = from.x;
  arc.startY = from.y;
  arc.endX = to.x;
  arc.endY = to.y;
  pl3::TraceArcRuns(dc, &arc);
}

enum class ArcPen { Entity, BoardOutline, Thin };

struct ViewArc {
  Point centre;
  std::int32_t radius;
  std::int32_t halfWidth;
  Point start;
  Point end;
};

ViewArc ArcToView(const pl3::ArcLayout& source, const pl3::Transform* transform, std::uint16_t type) {
  pl3::ArcLayout copy = source;
  ResolveEntitySizes(&copy, type);
  const pl3::Transform own = copy.head.transform;
  RotateEntityData(&copy, type, nullptr, &own);
  ViewArc v;
  v.centre = ToView(transform, copy.centreX, copy.centreY);
  v.radius = pl3::ScaleToView(copy.radius);
  v.halfWidth = pl3::ScaleToView(copy.width);
  v.start = {copy.startX, copy.startY};
  v.end = {copy.endX, copy.endY};
  if (transform) {
    pl3::TransformVector(transform, v.start.x, v.start.y);
    pl3::TransformVector(transform, v.end.x, v.end.y);
  }
  return v;
}

void DrawArcOutline(void* dc, const pl3::ArcLayout& source, std::uint32_t bendFlags, const pl3::Transform* transform,
                    std::uint16_t type, ArcPen penKind) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  ColourModeScope scope{*w};
  const std::int8_t outlinesOnEntry = GhostOutlines;
  if (penKind == ArcPen::BoardOutline) GhostOutlines = 0;
  const bool outlines = GhostOutlines != 0;
  switch (penKind) {
    case ArcPen::BoardOutline:
      scope.SingleColour(kGhostYellow);
      SetEntityPen(dc, 1, source.head.layer);
      break;
    case ArcPen::Thin: SetAllPlanesPen(dc, 1, 0); break;
    case ArcPen::Entity: SetEntityPen(dc, 0, source.head.layer); break;
  }

  ViewArc v = ArcToView(source, transform, type);
  const bool placedOtherSide = (w->ViewFlags & kViewDrawOtherSide) != 0;
  if (placedOtherSide != ((bendFlags & 1) != 0)) std::swap(v.start, v.end);
  if (IsZero(v.start.x, v.start.y)) v.start = v.end;
  if (IsZero(v.end.x, v.end.y)) v.end = v.start;
  if (IsZero(v.start.x, v.start.y)) v.start = v.end = {1, 0};
  const std::int32_t r = v.radius, hw = v.halfWidth;
  const std::int32_t drawn = outlines ? r + hw : r;
  Point s = pl3::LatticeVector(v.start.x, v.start.y, drawn), e = pl3::LatticeVector(v.end.x, v.end.y, drawn);
  if (s.x == e.x && s.y == e.y) e = s;  // coinciding ends: a full circle

  if (drawn < kTracedArcRadius) {
    MoveToEx(AsDC(dc), 0, 0, nullptr);
    if (!outlines) {
      GdiArc(dc, v.centre, r, s, e);
    } else {
      GdiArc(dc, v.centre, r + hw, s, e);
      if (hw > 0 && hw < r) GdiArc(dc, v.centre, r - hw, s, e);
    }
  } else if (outlines) {
    TracedArc(dc, v.centre, r - hw, s, e);
    TracedArc(dc, v.centre, r + hw, s, e);
  } else {
    TracedArc(dc, v.centre, r, s, e);
  }
  RestoreXorPen(dc);

  if (!(w->StateFlags & kStateNoArcRadii)) {
    const auto radiusLines = [&] {
      const Point rs = pl3::LatticeVector(s.x, s.y, r), re = pl3::LatticeVector(e.x, e.y, r);
      ClippedLine(dc, v.centre, {v.centre.x + rs.x, v.centre.y + rs.y});
      ClippedLine(dc, v.centre, {v.centre.x + re.x, v.centre.y + re.y});
    };
    const auto centreArc = [&] {
      if (outlines && drawn < kTracedArcRadius) GdiArc(dc, v.centre, r, s, e);
    };
    if (IsSchematicKind(*w)) {
      SetAllPlanesPen(dc, 0, 1);
      centreArc();
      RestoreXorPen(dc);
      SetAllPlanesPen(dc, 1, 0);
      radiusLines();
    } else if (type == Type_BoardOutlineArc) {
      scope.SingleColour(kGhostBlue);
      SetEntityPen(dc, 2, source.head.layer);
      centreArc();
      radiusLines();
    } else {
      SetEntityPen(dc, 1, source.head.layer);
      centreArc();
      RestoreXorPen(dc);
      SetEntityPen(dc, 0, source.head.layer);
      radiusLines();
    }
    RestoreXorPen(dc);
  }
  GhostOutlines = outlinesOnEntry;
}

}  // namespace

void GhostTrackData(void* dc, const void* payload, std::uint32_t bendFlags, const pl3::Transform* transform,
                    std::uint16_t type) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !payload) return;
  ColourModeScope scope{*w};
  pl3::TrackLayout copy;
  std::memcpy(&copy, payload, sizeof copy);
  if (type == Type_BoardOutlineLine) {
    copy.width = 1;
    copy.head.sizeFlags = kSizeCustom;
  }
  const bool slot = type == Type_PlatedSlot || type == Type_NonPlatedSlot;
  ResolveEntitySizes(&copy, slot ? type : static_cast<std::uint16_t>(Type_Track));
  const pl3::Transform own = copy.head.transform;
  RotateEntityData(&copy, type, nullptr, &own);
  const Point a = ToView(transform, copy.x1, copy.y1), b = ToView(transform, copy.x2, copy.y2);
  const std::int32_t halfWidth = pl3::ScaleToView(copy.width);

  Piece pieces[2];
  const int count = SplitIntoLegs(a, b, w->AngleAssist, bendFlags, pieces);
  const std::int32_t gap = QuasiTrackGapPixels(*w, type, copy.head.layer);
  for (int i = 0; i < count; ++i) {
    if (type == Type_BoardOutlineLine) {
      scope.SingleColour(kGhostYellow);
      SetEntityPen(dc, 1, copy.head.layer);
    } else if (slot) {
      scope.SingleColour(UsedLayerColour(*w, 1, 32));
      SetEntityPen(dc, 0, copy.head.layer);
    } else {
      SetEntityPen(dc, 0, copy.head.layer);
    }
    DrawTrackPiece(dc, pieces[i], halfWidth);
    RestoreXorPen(dc);
    if (gap >= 2) {
      SetEntityPen(dc, 1, copy.head.layer);
      DrawTrackPiece(dc, pieces[i], halfWidth + gap);
      RestoreXorPen(dc);
    }
  }
}

void GhostArcData(void* dc, const pl3::ArcLayout& arc, std::uint32_t bendFlags, const pl3::Transform* transform,
                  std::uint16_t type) {
  DrawArcOutline(dc, arc, bendFlags, transform, type,
                 type == Type_BoardOutlineArc ? ArcPen::BoardOutline : ArcPen::Entity);
}

void GhostThinArcData(void* dc, const void* payload, const pl3::Transform* transform) {
  pl3::ArcLayout arc;
  std::memcpy(&arc, payload, sizeof arc);
  DrawArcOutline(dc, arc, 0, transform, Type_ThinArc, ArcPen::Thin);
}

void GhostCircleData(void* dc, const void* payload, const pl3::Transform* transform) {
  pl3::CircleLayout copy;
  std::memcpy(&copy, payload, sizeof copy);
  ResolveEntitySizes(&copy, Type_Circle);
  const pl3::Transform own = copy.head.transform;
  RotateEntityData(&copy, Type_Circle, nullptr, &own);
  const Point c = ToView(transform, copy.centreX, copy.centreY);
  const std::int32_t r = pl3::ScaleToView(copy.size);
  SetEntityPen(dc, 0, copy.head.layer);
  GhostCircle(dc, c, r);
  RestoreXorPen(dc);
}

namespace {

void Cross(void* dc, Point c, std::int32_t arm) {
  ClippedLine(dc, {c.x - arm, c.y}, {c.x + arm + 1, c.y});
  // The vertical arm leaves out the centre, which the horizontal one drew.
  ClippedLine(dc, {c.x, c.y - arm}, {c.x, c.y});
  ClippedLine(dc, {c.x, c.y + 1}, {c.x, c.y + arm + 1});
}

}  // namespace

void GhostHoleData(void* dc, const void* payload, const pl3::Transform* transform) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  HolePayload copy{};
  std::memcpy(&copy, payload, sizeof(pl3::HoleLayout));
  ResolveEntitySizes(&copy, Type_Hole);
  const pl3::Transform own = copy.hole.head.transform;
  RotateEntityData(&copy, Type_Hole, nullptr, &own);
  const Point c = ToView(transform, copy.hole.centreX, copy.hole.centreY);
  const std::int32_t r1 = pl3::ScaleToView(copy.hole.size1);
  const std::int32_t r2 = pl3::ScaleToView(copy.hole.size2);
  if (!(copy.hole.flags & kHoleQuartered)) {
    SetAllPlanesPen(dc, 1, 0);
    // The cross reaches the circle, which draws the four pixels they share.
    Cross(dc, c, std::max(r1 - 1, 0));
    GhostCircle(dc, c, r1);
    RestoreXorPen(dc);
    return;
  }
  SetXorPen(dc, 0, UsedLayerColour(*w, copy.hole.head.layer, copy.hole.head.spare));
  GhostCircle(dc, c, r1);
  if (copy.hole.flags & kHoleIsVia) GhostCircle(dc, c, r2);
  RestoreXorPen(dc);
  SetAllPlanesPen(dc, 1, 0);
  Cross(dc, c, std::max(1, r1 / 4));
  RestoreXorPen(dc);
}

namespace {

// The polygon's points in view pixels, turned by its own transform first;
// the count byte is capped at the largest polygon a record holds.
int PolygonToView(const void* payload, const pl3::Transform* transform, Point* out, std::uint8_t* layer,
                  std::uint8_t* editIndex) {
  struct Copy {
    pl3::PolygonLayout head;
    Point points[kPolygonMaxPoints];
  } copy;
  std::memcpy(&copy.head, payload, sizeof copy.head);
  const int n = std::min<int>(copy.head.count, kPolygonMaxPoints);
  std::memcpy(copy.points, pl3::PolygonPoints(static_cast<const pl3::PolygonLayout*>(payload)),
              static_cast<std::size_t>(n) * sizeof(Point));
  copy.head.count = static_cast<std::uint8_t>(n);
  const pl3::Transform own = copy.head.head.transform;
  RotateEntityData(&copy, Type_Polygon, nullptr, &own);
  *layer = copy.head.head.layer;
  *editIndex = copy.head.editIndex;
  for (int i = 0; i < n; ++i) out[i] = ToView(transform, copy.points[i].x, copy.points[i].y);
  return n;
}

}  // namespace

void GhostPolygonData(void* dc, const void* payload, std::uint32_t flags, const pl3::Transform* transform) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  Point p[kPolygonMaxPoints];
  std::uint8_t layer = 0, edited = 0;
  const int n = PolygonToView(payload, transform, p, &layer, &edited);
  if (n < 2) return;
  SetEntityPen(dc, 0, layer);
  for (int i = 0; i + 1 < n; ++i) ClippedLine(dc, p[i], p[i + 1]);
  if (n > 2) ClippedLine(dc, p[n - 1], p[0]);
  RestoreXorPen(dc);
  if (edited == 255 || edited >= n) return;
  if (IsSchematicKind(*w)) {
    SetXorPen(dc, 1, kAllPlanes);
  } else {
    SetEntityPen(dc, 1, layer);
  }
  const int other = (flags & 0xFF) ? (edited == 0 ? n - 1 : edited - 1) : (edited + 1 == n ? 0 : edited + 1);
  ClippedLine(dc, p[edited], p[other]);
  RestoreXorPen(dc);
}

void GhostFilledPolygonData(void* dc, const void* payload, const pl3::Transform* transform) {
  Point p[kPolygonMaxPoints];
  std::uint8_t layer = 0, edited = 0;
  const int n = PolygonToView(payload, transform, p, &layer, &edited);
  if (n < 2) return;
  POINT pts[kPolygonMaxPoints + 1];
  for (int i = 0; i < n; ++i) pts[i] = {p[i].x, p[i].y};
  pts[n] = pts[0];
  SetEntityPen(dc, 5, layer);
  SelectObject(AsDC(dc), GetStockObject(WHITE_BRUSH));
  Polygon(AsDC(dc), pts, n + 1);
  SelectObject(AsDC(dc), GetStockObject(NULL_BRUSH));
  RestoreXorPen(dc);
}

void GhostRectangleData(void* dc, const void* payload, const pl3::Transform* transform) {
  pl3::RectangleLayout copy;
  std::memcpy(&copy, payload, sizeof copy);
  const pl3::Transform own = copy.head.transform;
  Point v[4];
  for (int i = 0; i < 4; ++i) {
    std::int32_t dx = copy.corners[i].x - copy.centreX, dy = copy.corners[i].y - copy.centreY;
    pl3::TransformVector(&own, dx, dy);
    v[i] = ToView(transform, copy.centreX + dx, copy.centreY + dy);
  }
  SetEntityPen(dc, 0, copy.head.layer);
  for (int i = 0; i < 4; ++i) ClippedLine(dc, v[i], v[(i + 1) % 4]);
  RestoreXorPen(dc);
}

void GhostThinLineData(void* dc, const void* payload, const pl3::Transform* transform) {
  pl3::TrackLayout copy;
  std::memcpy(&copy, payload, sizeof copy);
  ResolveEntitySizes(&copy, Type_ThinLine);
  const pl3::Transform own = copy.head.transform;
  RotateEntityData(&copy, Type_ThinLine, nullptr, &own);
  const Point a = ToView(transform, copy.x1, copy.y1), b = ToView(transform, copy.x2, copy.y2);
  const std::int32_t hw = pl3::ScaleToView(copy.width);
  SetAllPlanesPen(dc, 1, 0);
  const bool differ = a.x != b.x || a.y != b.y;
  if (differ) {
    const Point n = pl3::LatticeVector(a.y - b.y, b.x - a.x, hw);
    ClippedLine(dc, {a.x + n.x, a.y + n.y}, {b.x + n.x, b.y + n.y});
    ClippedLine(dc, {a.x - n.x, a.y - n.y}, {b.x - n.x, b.y - n.y});
  }
  GhostCircle(dc, a, hw);
  if (differ) GhostCircle(dc, b, hw);
  RestoreXorPen(dc);
}
