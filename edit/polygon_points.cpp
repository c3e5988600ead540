#include "edit/polygon_points.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "draw/ghosts.h"
#include "edit/status_seams.h"
#include "edit/window_data.h"
#include "geometry/pot2.h"
#include "geometry/view_mapping.h"
#include "objects/editor_seams.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/plane_clearances.h"
#include "objects/polygon_entry_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/responder.h"
#include "platform/user.h"

namespace {

using pl3::Point;

constexpr std::uint32_t kPolygonLimit = 255;

bool Cross(Point a, Point b, Point c, Point d) { return pl3::SegmentsIntersect(a, b, c, d) != 0; }

// The rule of the outline over a list of n vertices.
bool OutlineCrosses(const Point* v, std::uint32_t n) {
  if (n < 4) return false;
  for (std::uint32_t i = 0; i + 3 < n; ++i)
    for (std::uint32_t j = i + 2; j + 1 < n; ++j)
      if (Cross(v[i], v[i + 1], v[j], v[j + 1])) return true;
  for (std::uint32_t j = 1; j + 2 < n; ++j)
    if (Cross(v[n - 1], v[0], v[j], v[j + 1])) return true;
  return false;
}

// The new edge (v[n-1], v[n-2]) against every edge but the adjacent one.
bool NewEdgeCrosses(const Point* v, std::uint32_t n) {
  for (std::uint32_t i = 0; i + 3 < n; ++i)
    if (Cross(v[n - 1], v[n - 2], v[i], v[i + 1])) return true;
  return false;
}

void ShowCrossing(const char* caption) {
  MessageBox(nullptr, kPolygonCrossingMessage, caption, MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

bool Same(Point a, Point b) { return a.x == b.x && a.y == b.y; }

pl3::Box* BoxCopy(const pl3::Box& b) {
  auto* box = static_cast<pl3::Box*>(std::malloc(sizeof(pl3::Box)));
  if (box) *box = b;
  return box;
}

pl3::Box StoredBox(const pl3::PolygonLayout* p) {
  return {p->extra[0].x, p->extra[0].y, p->extra[1].x, p->extra[1].y};
}
void StoreBox(pl3::PolygonLayout* p, const pl3::Box& b) {
  p->extra[0] = {b.xmin, b.ymin};
  p->extra[1] = {b.xmax, b.ymax};
}

}  // namespace

pl3::Box ShownWorldBox(const CurrentWindowData& w) {
  RECT client{};
  if (w.Window) GetClientRect(static_cast<HWND>(w.Window), &client);
  const auto world = [&](std::int32_t origin, std::int32_t pixel) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(origin + pixel) * w.Zoom);
  };
  return {world(w.ViewOriginX, client.left), world(w.ViewOriginY, client.top), world(w.ViewOriginX, client.right),
          world(w.ViewOriginY, client.bottom)};
}

bool IsPolygonSelfIntersecting(const pl3::PolygonLayout* polygon) {
  return polygon && OutlineCrosses(pl3::PolygonPoints(polygon), polygon->count);
}

bool IsWidePolygonSelfIntersecting(const std::uint8_t* record) {
  if (!record) return false;
  std::uint32_t n = 0;
  std::memcpy(&n, record + 48, sizeof n);
  n = std::min(n, kPolygonLimit);
  std::vector<Point> points(n);
  if (n) std::memcpy(points.data(), record + 76, n * sizeof(Point));
  return OutlineCrosses(points.data(), n);
}

bool CheckPolygonPointRemoval(const pl3::PolygonLayout* polygon) {
  if (!polygon || polygon->count == 0) return false;
  const std::uint32_t n = polygon->count;
  const std::uint32_t index = polygon->editIndex;
  std::vector<Point> v(pl3::PolygonPoints(polygon), pl3::PolygonPoints(polygon) + n);
  if (index < n) v.erase(v.begin() + index);
  else v.pop_back();
  return OutlineCrosses(v.data(), static_cast<std::uint32_t>(v.size()));
}

int CheckNewPolygonPoint(const pl3::PolygonLayout* polygon) {
  if (!polygon) return 1;
  const std::uint32_t n = polygon->count;
  if (n >= kPolygonLimit) return 1;
  if (n == 0) return 0;
  const std::uint32_t current = std::min<std::uint32_t>(polygon->editIndex, n - 1);
  const Point* p = pl3::PolygonPoints(polygon);
  std::vector<Point> v;
  v.reserve(n);
  for (std::uint32_t i = current + 1; i < n; ++i) v.push_back(p[i]);
  for (std::uint32_t i = 0; i <= current; ++i) v.push_back(p[i]);
  if (n >= 4 && NewEdgeCrosses(v.data(), n)) {
    ShowCrossing("SetPolygonPoint");
    return 1;
  }
  if (n > 1 && Same(v[n - 1], v[n - 2])) {
    MessageBeep(MB_ICONEXCLAMATION);
    return 1;
  }
  return 0;
}

pl3::Box* GrowPolygonBox(pl3::PolygonLayout* polygon) {
  if (!polygon) return nullptr;
  pl3::Box b = StoredBox(polygon);
  if (polygon->editIndex < polygon->count) {
    const Point p = pl3::PolygonPoints(polygon)[polygon->editIndex];
    b = {std::min(b.xmin, p.x), std::min(b.ymin, p.y), std::max(b.xmax, p.x), std::max(b.ymax, p.y)};
  }
  StoreBox(polygon, b);
  return BoxCopy(b);
}

pl3::Box* RecomputePolygonBox(pl3::PolygonLayout* polygon) {
  if (!polygon) return nullptr;
  pl3::Box b{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
  const Point* p = pl3::PolygonPoints(polygon);
  for (std::uint32_t i = 0; i < polygon->count; ++i)
    b = {std::min(b.xmin, p[i].x), std::min(b.ymin, p[i].y), std::max(b.xmax, p[i].x), std::max(b.ymax, p[i].y)};
  StoreBox(polygon, b);
  return BoxCopy(b);
}

int EnsureLayerVisible(std::uint8_t layer, pl3::Box* box) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || w->editorKind != kEditorPcb) return 0;
  if (w->FullRedrawPending) {
    w->FullRedrawPending = 0;
    if (box) *box = ShownWorldBox(*w);
    UpdateStatusBar(w->Window);
  }
  bool soloEnded = false;
  if (w->SingleLayer != -1) {
    if (w->SingleLayer == layer) return 0;
    w->SingleLayer = -1;
    soloEnded = true;
    Docking_SendToPaneClient(Pane_Layers, kLayersPaneRefreshMessage, 0, 0);
  }
  LayerRecord& record = w->layerTable.layers[layer];
  int switchedOn = 0;
  if (!(record.flags & kLayerVisible)) {
    record.flags |= kLayerVisible;
    switchedOn = 1;
  } else if (!soloEnded) {
    return 0;
  }
  if (box) *box = ShownWorldBox(*w);
  Docking_SendToPaneClient(Pane_Layers, kLayersPaneRefreshMessage, 0, 0);
  return switchedOn;
}

void SetPolygonPoint(void* dc, EntityRecord* record) {
  if (!record) return;
  auto& polygon = record->as<PolygonHead>();
  const std::uint32_t n = polygon.count;
  if (n >= kPolygonLimit) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  Point* v = pl3::PolygonPoints(&polygon);
  if (n > 3 && NewEdgeCrosses(v, n)) {
    ShowCrossing("SetPolygonPoint");
    return;
  }
  if (n > 1 && Same(v[n - 1], v[n - 2])) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  if (n == 0) return;
  GhostPolygonItem(dc, record, &record->header.transform);
  v[n] = v[n - 1];
  pl3::Box* box = GrowPolygonBox(&polygon);
  if (box && EnsureLayerVisible(polygon.head.layer, box) == 1) {
    if (const CurrentWindowData* w = ActiveWindowData) RedrawView(w->Window);
  }
  std::free(box);
  polygon.count = static_cast<std::uint8_t>(n + 1);
  polygon.editIndex = static_cast<std::uint8_t>(polygon.editIndex + 1);
  GhostPolygonItem(dc, record, &record->header.transform);
}

void ReverseStoredPolygon(HWND window, pl3::PolygonLayout* polygon) {
  if (!polygon) return;
  const std::uint32_t n = polygon->count;
  Point* v = pl3::PolygonPoints(polygon);
  std::reverse(v, v + n);
  if (n) polygon->editIndex = static_cast<std::uint8_t>(n - polygon->editIndex - 1);
  pl3::Box* box = RecomputePolygonBox(polygon);
  if (box) RedrawViewRect(window, box, 1);
  std::free(box);
}

void SpiralEditStep(SpiralPayload* spiral, std::int32_t dx, std::int32_t dy, std::uint32_t editCode) {
  if (!spiral) return;
  const auto move = [&](Point& p) {
    p.x += dx;
    p.y += dy;
  };
  switch (editCode) {
    case 0:
      move(spiral->centre);
      move(spiral->start);
      move(spiral->end);
      break;
    case 8: move(spiral->end); break;
    case 9: move(spiral->start); break;
    case 10: {
      const CurrentWindowData* w = ActiveWindowData;
      if (!w) return;
      Point c = w->Cursor;
      SnapXY(&c.x, &c.y, 0);
      const double ddx = static_cast<double>(c.x) - spiral->start.x;
      const double ddy = static_cast<double>(c.y) - spiral->start.y;
      spiral->pitch = static_cast<std::int32_t>(std::sqrt(ddx * ddx + ddy * ddy));
      break;
    }
    default:
      break;
  }
}

void GetArcClearanceBox(const pl3::ArcLayout* arc, pl3::Box* box) {
  if (!arc || !box) return;
  pl3::ArcLayout a = *arc;
  if (a.head.sizeFlags & kSizeByIndex) ResolveEntitySizes(&a, Type_Arc);
  const std::int64_t reach = std::int64_t{a.radius} + a.width;
  const CurrentWindowData* w = ActiveWindowData;
  const std::int64_t clearance = GetPlaneClearance(w ? w->design : nullptr, a.head.layer);
  const auto low = [&](std::int32_t c) { return static_cast<std::int32_t>(std::max<std::int64_t>(0, c - reach - clearance)); };
  const auto high = [&](std::int32_t c) { return static_cast<std::int32_t>(c + reach + clearance); };
  *box = {low(a.centreX), low(a.centreY), high(a.centreX), high(a.centreY)};
}
