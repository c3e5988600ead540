// The storage of polygon records: finishing the polygon being entered,
// inserting a polygon record as a node with its fill triangles, and
// reversing the points of the polygon in hand. Declared for the design
// objects in objects/polygon_entry_seams.h.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "edit/drawn_item_accepts.h"
#include "edit/polygon_points.h"
#include "edit/window_data.h"
#include "geometry/pot2.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/plane_clearances.h"
#include "objects/polygon_entry_seams.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

// The node type of a polygon record by its kind bits.
std::uint16_t PolygonNodeType(const EntityRecord& r) {
  if (r.header.state & kStateKeepout) return r.header.recordType;
  if (r.header.state & kStatePlaneCutout) return Type_PlaneCutout;
  if (r.header.state & kStatePlane) return Type_Plane;
  return Type_Polygon;
}

}  // namespace

Tower* InsertPolygonRecord(const EntityRecord* polygon, const Tower* parent) {
  if (!polygon || !parent) return nullptr;
  const std::uint32_t n = reinterpret_cast<const PolygonHead*>(polygon->payload)->count;
  const std::uint32_t size = PolygonStoredSize(n);
  std::vector<std::uint8_t> node(std::max<std::uint32_t>(size, sizeof(PolygonHead) + 8 * n), 0);
  std::memcpy(node.data(), polygon->payload, sizeof(PolygonHead) + 8 * n);
  if (n > 2) {
    auto* stored = reinterpret_cast<pl3::PolygonLayout*>(node.data());
    pl3::TriangulatePolygon(static_cast<int>(n), pl3::PolygonPoints(stored), pl3::PolygonTriangles(stored));
  }
  return InsertEntity(parent, n >= 2 ? size : static_cast<std::uint32_t>(node.size()), PolygonNodeType(*polygon),
                      node.data());
}

pl3::Box* SetPolygon(EntityRecord* polygon) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !polygon) return nullptr;
  auto& head = polygon->as<PolygonHead>();
  if (head.count < 4) return nullptr;
  --head.count;  // the closing point
  if (IsPolygonSelfIntersecting(&head)) {
    ++head.count;
    MessageBox(nullptr, kPolygonCrossingMessage, "SetPolygon", MB_OK | MB_ICONEXCLAMATION);
    return nullptr;
  }
  pl3::Box* box = RecomputePolygonBox(&head);
  if (!box) return nullptr;
  const std::int32_t clearance = GetPlaneClearance(w->design, head.head.layer);
  box->xmin = std::max(0, box->xmin - clearance);
  box->ymin = std::max(0, box->ymin - clearance);
  box->xmax += clearance;
  box->ymax += clearance;
  if (pl3::TriangulatePolygonRecord(&head) == 0) {
    MessageBeep(MB_ICONEXCLAMATION);
  } else {
    Tower* stored = InsertEntityWithUndo(polygon, w->design);
    ReleaseTower(&stored);
  }
  // The tail frees the window's record; a polygon held elsewhere stays its holder's.
  EntityRecord* held = polygon;
  FinishAcceptedItem(static_cast<HWND>(w->Window), w->PendingRecord == polygon ? &w->PendingRecord : &held);
  return box;
}

void ReversePolygonInHand(HWND window, EntityRecord* polygon) {
  if (!polygon) return;
  auto& head = polygon->as<PolygonHead>();
  const std::uint32_t n = head.count;
  if (n < 2) return;
  std::vector<pl3::Point> copy(pl3::PolygonPoints(&head), pl3::PolygonPoints(&head) + n - 1);
  std::reverse(copy.begin(), copy.end());
  std::memcpy(pl3::PolygonPoints(&head), copy.data(), copy.size() * sizeof(pl3::Point));
  pl3::Box* box = RecomputePolygonBox(&head);
  if (box) RedrawViewRect(window, box, 1);
  std::free(box);
}
