#include "edit/drag_geometry.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "draw/entity_geometry.h"
#include "draw/ghosts.h"
#include "draw/grids.h"
#include "edit/edit_modes.h"
#include "edit/insertion.h"
#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/record_view.h"
#include "geometry/view_mapping.h"
#include "objects/graphic_records.h"
#include "objects/view_seams.h"
#include "platform/responder.h"
#include "platform/user.h"

namespace {

using pl3::Point;

constexpr std::uint32_t kViewNoDragSnap = 0x2000;

Point Snapped(Point p) {
  SnapXY(&p.x, &p.y, 0);
  return p;
}

std::int32_t Distance(double dx, double dy) { return static_cast<std::int32_t>(std::sqrt(dx * dx + dy * dy)); }
std::int32_t Distance(Point a, Point b) {
  return Distance(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
}
std::int32_t SnappedLength(std::int32_t length) {
  SnapXToGrid(&length);
  return length;
}

pl3::ArcLayout& Arc(EntityRecord* r) { return r->as<ArcPayload>(); }
pl3::ArcLayout& Arc(EntityRecord& r) { return r.as<ArcPayload>(); }
Point CentreOf(const pl3::ArcLayout& a) { return {a.centreX, a.centreY}; }

// The angle step: the moving vector follows the cursor's direction at the
// arc's radius and lands on the grid; a cursor on the centre keeps the
// other vector's direction.
void AngleStep(pl3::ArcLayout& a, Point cursor, bool moveStart) {
  std::int32_t& vx = moveStart ? a.startX : a.endX;
  std::int32_t& vy = moveStart ? a.startY : a.endY;
  const std::int32_t ox = moveStart ? a.endX : a.startX;
  const std::int32_t oy = moveStart ? a.endY : a.startY;
  std::int32_t x = cursor.x - a.centreX, y = cursor.y - a.centreY;
  if (x == 0 && y == 0) x = ox, y = oy;
  ScaleVectorToLength(a.radius, &x, &y);
  const Point end = Snapped({a.centreX + x, a.centreY + y});
  vx = end.x - a.centreX;
  vy = end.y - a.centreY;
}

void RadiusStep(pl3::ArcLayout& a, Point cursor) {
  a.startX = cursor.x - a.centreX;
  a.startY = cursor.y - a.centreY;
  a.endX = -a.startY;
  a.endY = a.startX;
  a.radius = Distance(static_cast<double>(a.startX), static_cast<double>(a.startY));
}

std::int32_t HalfSum(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>((std::uint64_t{static_cast<std::uint32_t>(a)} + static_cast<std::uint32_t>(b)) >> 1);
}

void DiameterStep(pl3::ArcLayout& a, Point q) {
  const Point p1 = ArcToolFirstPoint;
  ArcToolSecondPoint = q;
  a.centreX = HalfSum(p1.x, q.x);
  a.centreY = HalfSum(p1.y, q.y);
  a.startX = p1.x - a.centreX;
  a.startY = p1.y - a.centreY;
  a.endX = q.x - a.centreX;
  a.endY = q.y - a.centreY;
  a.radius = Distance(static_cast<double>(a.startX), static_cast<double>(a.startY));
}

double U(std::int32_t v) { return static_cast<double>(static_cast<std::uint32_t>(v)); }

// The foot of the perpendicular from the cursor onto the bisector of P1P2.
void ThreePointStep(pl3::ArcLayout& a, Point q) {
  const Point p1 = ArcToolFirstPoint, p2 = ArcToolSecondPoint;
  const double dx = U(p2.x) - U(p1.x), dy = U(p2.y) - U(p1.y);
  const double d = dx * dx + dy * dy;
  if (d == 0) return;
  const double mx = U(HalfSum(p1.x, p2.x)), my = U(HalfSum(p1.y, p2.y));
  const double qx = U(q.x), qy = U(q.y);
  const double cx = ((my - qy) * dy * dx + dy * dy * qx + dx * dx * mx) / d;
  const double cy = ((mx - qx) * dy * dx + dy * dy * my + dx * dx * qy) / d;
  a.centreX = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(cx)));
  a.centreY = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(cy)));
  a.radius = Distance(p1, CentreOf(a));
  ArcToolRadius = a.radius;
  a.startX = p1.x - a.centreX;
  a.startY = p1.y - a.centreY;
  a.endX = p2.x - a.centreX;
  a.endY = p2.y - a.centreY;
}

// The corners of the drag are (x1, y1) in the first stored corner and
// (x2, y2) in the second; the dragged one is named going round from
// (x1, y1) through (x1, y2).
void DragCorner(RectanglePayload& r, Point at) {
  Point& first = r.rect.corners[0];
  Point& second = r.rect.corners[1];
  switch (r.draggedCorner) {
    case 0: first = at; break;
    case 1: first.x = at.x, second.y = at.y; break;
    case 2: second = at; break;
    case 3: second.x = at.x, first.y = at.y; break;
    default: break;
  }
}

// Computes the mode's new geometry into the record; false for a mode
// without a step here.
bool Recompute(std::uint8_t mode, EntityRecord* r, const CurrentWindowData& w, Point cursor) {
  const Point snapped = Snapped(cursor);
  switch (mode) {
    case Mode_SetArcRadius: case Mode_AddNewThinArc: RadiusStep(Arc(r), snapped); return true;
    case Mode_SetArcAngle: case 10: case 50: AngleStep(Arc(r), snapped, false); return true;
    case 9: AngleStep(Arc(r), snapped, true); return true;
    case Mode_EditArcRadius: Arc(r).radius = SnappedLength(Distance(CentreOf(Arc(r)), cursor)); return true;
    case Mode_AddNewCircleRadius: case 12: {
      auto& c = r->as<CirclePayload>();
      c.size = SnappedLength(Distance({c.centreX, c.centreY}, cursor));
      return true;
    }
    case Mode_AddNewViaB: case 19: {
      auto& h = r->as<HolePayload>().hole;
      h.size1 = SnappedLength(Distance({h.centreX, h.centreY}, cursor));
      return true;
    }
    case Mode_AddNewVia: case 21: {
      auto& h = r->as<HolePayload>().hole;
      h.centreX = snapped.x, h.centreY = snapped.y;
      return true;
    }
    case Mode_AddNewCircle: case 23: {
      auto& c = r->as<CirclePayload>();
      c.centreX = snapped.x, c.centreY = snapped.y;
      return true;
    }
    case Mode_AddNewPolygon: case Mode_EditPolygon: {
      auto& p = r->as<PolygonHead>();
      if (p.editIndex >= kPolygonMaxPoints) return false;
      pl3::PolygonPoints(&p)[p.editIndex] = snapped;
      return true;
    }
    case Mode_AddNewRectangleB: r->as<RectanglePayload>().rect.corners[1] = snapped; return true;
    case Mode_DragRectangleCorner: DragCorner(r->as<RectanglePayload>(), snapped); return true;
    case Mode_AddNewRectangle: {
      auto& rect = r->as<RectanglePayload>().rect;
      rect.centreX = snapped.x, rect.centreY = snapped.y;
      return true;
    }
    case Mode_AddNewString: case Mode_EditString: {
      const Point at = Snapped({cursor.x - w.CursorOffset.x, cursor.y - w.CursorOffset.y});
      r->head().transform.tx = at.x;
      r->head().transform.ty = at.y;
      return true;
    }
    case 7: {
      const Point at = (w.ViewFlags & kViewNoDragSnap) ? cursor : snapped;
      auto& l = r->as<LinePayload>();
      l.x1 = at.x, l.y1 = at.y;
      return true;
    }
    case Mode_SetArcEndPoint: DiameterStep(Arc(r), snapped); return true;
    default: return false;
  }
}

// What the screen shows of the coordinates a mode changes: points and
// lengths in view pixels, or an arc's prepared draw state in the view.
struct ViewForm {
  std::int32_t words[12] = {};
  int count = 0;
  void Add(std::int32_t v) { words[count++] = v; }
  void AddPoint(Point p) {
    pl3::WorldToView(p.x, p.y);
    Add(p.x);
    Add(p.y);
  }
  void AddLength(std::int32_t length) { Add(pl3::ScaleToView(length)); }
  bool operator==(const ViewForm& o) const {
    return count == o.count && std::memcmp(words, o.words, sizeof words) == 0;
  }
};

// The arc as it is drawn: width, radius and centre in the view, the end
// octants and the lattice ends at the view radius. The vectors keep their
// world length, as the ghost drawer keeps them.
void AddArcForm(ViewForm& f, const pl3::ArcLayout& arc) {
  pl3::ArcLayout v = arc;
  pl3::TransformArcToView(&v, &pl3::kIdentityTransform);
  v.startX = arc.startX, v.startY = arc.startY;
  v.endX = arc.endX, v.endY = arc.endY;
  pl3::PrepareArcEnds(&v);
  for (std::int32_t word : {v.width, v.radius, v.centreX, v.centreY, std::int32_t{v.startOctant},
                            std::int32_t{v.endOctant}, v.latticeStartX, v.latticeStartY, v.latticeEndX, v.latticeEndY})
    f.Add(word);
}

ViewForm FormOf(std::uint8_t mode, EntityRecord& r) {
  ViewForm f;
  Point origin{};
  pl3::WorldToView(origin.x, origin.y);  // sets the view factor of the active window
  switch (mode) {
    case Mode_SetArcRadius: case Mode_AddNewThinArc: case Mode_SetArcAngle: case 9: case 10: case 50:
    case Mode_SetArcEndPoint:
      AddArcForm(f, Arc(r));
      break;
    case Mode_EditArcRadius: f.AddLength(Arc(r).radius); break;
    case Mode_AddNewCircleRadius: case 12: f.AddLength(r.as<CirclePayload>().size); break;
    case Mode_AddNewViaB: case 19: f.AddLength(r.as<HolePayload>().hole.size1); break;
    case Mode_AddNewVia: case 21: {
      const auto& h = r.as<HolePayload>().hole;
      f.AddPoint({h.centreX, h.centreY});
      break;
    }
    case Mode_AddNewCircle: case 23: {
      const auto& c = r.as<CirclePayload>();
      f.AddPoint({c.centreX, c.centreY});
      break;
    }
    case Mode_AddNewPolygon: case Mode_EditPolygon: {
      auto& p = r.as<PolygonHead>();
      f.AddPoint(pl3::PolygonPoints(&p)[p.editIndex]);
      break;
    }
    case Mode_AddNewRectangleB: case Mode_DragRectangleCorner: {
      const auto& rect = r.as<RectanglePayload>().rect;
      f.AddPoint(rect.corners[0]);
      f.AddPoint(rect.corners[1]);
      break;
    }
    case Mode_AddNewRectangle: {
      const auto& rect = r.as<RectanglePayload>().rect;
      f.AddPoint({rect.centreX, rect.centreY});
      break;
    }
    case Mode_AddNewString: case Mode_EditString: f.AddPoint({r.head().transform.tx, r.head().transform.ty}); break;
    case 7: {
      const auto& l = r.as<LinePayload>();
      f.AddPoint({l.x1, l.y1});
      break;
    }
    default: break;
  }
  return f;
}

}  // namespace

bool DragViewFormChanged(std::uint8_t mode, const EntityRecord& before, const EntityRecord& after) {
  // FormOf only reads; the record accessors are not const.
  return !(FormOf(mode, const_cast<EntityRecord&>(before)) == FormOf(mode, const_cast<EntityRecord&>(after)));
}

int DragStep(std::uint8_t mode, HDC dc, EntityRecord* record, ButtonRecord* cursor) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !record || !cursor) return 0;
  auto before = std::make_unique<EntityRecord>(*record);
  if (mode == Mode_SetArcCentre) {
    ThreePointStep(Arc(record), cursor->Cursor);
    GhostEntity(dc, before.get(), 0);
    GhostEntity(dc, record, 0);
    return 1;
  }
  if (!Recompute(mode, record, *w, cursor->Cursor)) return 0;
  // A move inside one grid cell or one pixel leaves the ghost as it is.
  if (!DragViewFormChanged(mode, *before, *record)) return 1;
  GhostEntity(dc, before.get(), 0);
  GhostEntity(dc, record, 0);
  return 1;
}

int AcceptArcStep(std::uint8_t mode, HDC dc, EntityRecord* record, ButtonRecord* cursor) {
  CurrentWindowData* w = ActiveWindowData;
  std::uint8_t next = 0;
  switch (mode) {
    case Mode_SetArcRadius: next = Mode_SetArcAngle; break;
    case Mode_AddNewThinArc: next = 50; break;
    case Mode_SetArcEndPoint: next = Mode_SetArcCentre; break;
    default: return 0;
  }
  if (!w || !record || !cursor) return 1;
  const Point at = Snapped(cursor->Cursor);
  pl3::ArcLayout& a = Arc(record);
  if (at.x == a.centreX && at.y == a.centreY) {
    MessageBeep(MB_ICONEXCLAMATION);
    return 1;
  }
  w->EditMode = next;
  GhostEntity(dc, record, 0);
  a.startX = a.endX = at.x - a.centreX;
  a.startY = a.endY = at.y - a.centreY;
  if (mode == Mode_SetArcEndPoint) ArcToolSecondPoint = at;
  GhostEntity(dc, record, 0);
  if (next == Mode_SetArcAngle || next == Mode_SetArcCentre) UpdateStatusBar(w->Window);
  if (next == Mode_SetArcCentre) DragStep(Mode_SetArcCentre, dc, record, cursor);
  return 1;
}

void DeleteGraphic(EntityRecord** record) {
  if (!record || !*record) {
    MessageBox(nullptr, "Error : Attempt to delete non-existent graphic.", "Delete Graphic Error.",
               MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  delete *record;
  *record = nullptr;
}
