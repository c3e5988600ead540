#include "pcb/layer_counts.h"

#include <cstdlib>

#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "geometry/transform.h"
#include "objects/dimensioner_seams.h"
#include "objects/layer_sets.h"
#include "objects/type_codes.h"
#include "platform/mdi.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "store/tower.h"

HWND InactiveRedrawWindow = nullptr;

namespace {

// Unsigned comparisons of world coordinates, as every stored box is kept.
std::uint32_t U(std::int32_t v) { return static_cast<std::uint32_t>(v); }

bool SameBox(const pl3::Box& a, const pl3::Box& b) {
  return a.xmin == b.xmin && a.ymin == b.ymin && a.xmax == b.xmax && a.ymax == b.ymax;
}

void WidenUnsigned(pl3::Box& box, const pl3::Box& by) {
  if (U(by.xmin) < U(box.xmin)) box.xmin = by.xmin;
  if (U(by.ymin) < U(box.ymin)) box.ymin = by.ymin;
  if (U(by.xmax) > U(box.xmax)) box.xmax = by.xmax;
  if (U(by.ymax) > U(box.ymax)) box.ymax = by.ymax;
}

CurrentWindowData* BlockOfWindow(HWND window) {
  return window ? reinterpret_cast<CurrentWindowData*>(GetWindowLongPtr(window, GWLP_USERDATA)) : nullptr;
}

// The block whose plane table the plane drawing keeps: the window being
// drawn, else the active document window.
CurrentWindowData* PlaneTableOwner() {
  if (CurrentWindowData* b = BlockOfWindow(InactiveRedrawWindow)) return b;
  if (!MDIClientWindow) return nullptr;
  return BlockOfWindow(reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDIGETACTIVE, 0, 0)));
}

// Types whose boxes make up the design's extent.
bool CountsForExtent(std::uint16_t code) {
  return (code >= 1 && code <= 11) || (code >= 37 && code <= 39) || (code >= 41 && code <= 46) || code == 49 ||
         code == Type_SymbolInstance || code == Type_Shape;
}

pl3::Box TransformedBox(const pl3::Box& box, const pl3::Transform& t) {
  pl3::Box out = kEmptyPlaneExtent;
  const pl3::Point corners[4] = {{box.xmin, box.ymin}, {box.xmax, box.ymin}, {box.xmin, box.ymax}, {box.xmax, box.ymax}};
  for (pl3::Point p : corners) {
    TransformPoint(&t, p.x, p.y);
    WidenUnsigned(out, {p.x, p.y, p.x, p.y});
  }
  return out;
}

}  // namespace

std::uint32_t CountCopperLayersOf(const LayerTable& table) { return CountPresentCopperLayers(table); }

std::uint32_t CountCopperLayers() { return ActiveWindowData ? CountCopperLayersOf(ActiveWindowData->layerTable) : 0; }

int IsCopperLayer(std::uint32_t index) {
  if (!ActiveWindowData || index >= kLayerCount) return 0;
  const LayerRecord& r = ActiveWindowData->layerTable.layers[index];
  return r.kind == LayerKind_Copper && (r.flags & kLayerPresent) ? 1 : 0;
}

void BuildPlaneExtents(const Tower* design, PlaneExtents& table) {
  for (pl3::Box& box : table) box = kEmptyPlaneExtent;
  Tower* planes = design ? GetChildTower(design, Type_Plane) : nullptr;
  while (planes && FindNextEntity(planes)) {
    const Entity* e = TowerEntity(planes);
    if (e->payloadSize < sizeof(pl3::PolygonLayout)) continue;  // too short to hold its box
    const auto* p = reinterpret_cast<const pl3::PolygonLayout*>(EntityPayload(e));
    const pl3::Box stored{p->extra[0].x, p->extra[0].y, p->extra[1].x, p->extra[1].y};
    WidenUnsigned(table[p->head.layer], stored);
  }
  ReleaseTower(&planes);
}

void UpdateWindowPlaneExtents(const Tower* design) {
  if (CurrentWindowData* b = PlaneTableOwner()) BuildPlaneExtents(design, b->Pcb.LayerExtents);
}

int LayerHasPlane(std::uint32_t layer) {
  if (!ActiveWindowData || layer >= kLayerCount) return 0;
  return SameBox(ActiveWindowData->Pcb.LayerExtents[layer], kEmptyPlaneExtent) ? 0 : 1;
}

pl3::Box* GetDesignExtentWithin(const Tower* design, const pl3::Box& limit) {
  auto* result = static_cast<pl3::Box*>(std::malloc(sizeof(pl3::Box)));
  if (!result) return nullptr;
  pl3::Box extent = kEmptyPlaneExtent;
  Tower* children = design ? GetAllChildrenTower(design) : nullptr;
  while (children && FindNextEntity(children)) {
    const std::uint16_t code = TowerEntity(children)->typeCode;
    const bool designator = code == Type_Designator;
    if (!designator && !CountsForExtent(code)) {
      SkipToNextType(children);
      continue;
    }
    pl3::Box box;
    if (!GetBox(children, &box)) continue;
    if (designator && ActiveWindowData) box = TransformedBox(box, ActiveWindowData->PlacementTransform);
    WidenUnsigned(extent, box);
  }
  ReleaseTower(&children);
  if (U(extent.xmin) < U(limit.xmin)) extent.xmin = limit.xmin;
  if (U(extent.ymin) < U(limit.ymin)) extent.ymin = limit.ymin;
  if (U(extent.xmax) > U(limit.xmax)) extent.xmax = limit.xmax;
  if (U(extent.ymax) > U(limit.ymax)) extent.ymax = limit.ymax;
  *result = extent;
  return result;
}

std::uint32_t LayerOffsetPlusThree(std::uint32_t value) { return value + 3; }
