// Whether a library item's origin stands on a hole or on a top-layer pad:
// the design is drawn at a fixed zoom with the origin on one pixel, and the
// raster kernel's area pick collects whatever is drawn there.
#include <cstdlib>

#include "draw/item_search_seams.h"
#include "draw/layer_drawing.h"
#include "draw/raster_callbacks.h"
#include "edit/item_boxes.h"
#include "edit/window_data.h"
#include "geometry/view_mapping.h"
#include "objects/pad_stacks.h"
#include "objects/placed_item_records.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kProbeZoom = 500;
// The origin's pixel.
constexpr pl3::Box kProbePixel{1, 1, 1, 1};

bool OnLayerOne(const Entity* e) {
  return e->typeCode == Type_PadStackLayerInfo && e->payloadSize > offsetof(PadStackLayerRecord, layer) &&
         EntityPayload(e)[offsetof(PadStackLayerRecord, layer)] == 1;
}

// The kernel collects what a pad-stack entry draws as its shape's own
// items: such a hit counts for the entry of layer 1 that names the shape.
bool DrawnByLayerOneEntry(const Tower* design, const Tower* hit) {
  Tower* shape = GetEnclosingTower(hit, Type_ShapeDefinition);
  if (!shape) return false;
  bool found = false;
  Tower* entries = GetChildTower(design, Type_PadStackLayerInfo);
  while (!found && entries && FindNextEntity(entries)) {
    if (!OnLayerOne(TowerEntity(entries))) continue;
    Tower* target = GetInfoTargetTower(entries, nullptr);
    found = target && TowerEntity(target) == TowerEntity(shape);
    ReleaseTower(&target);
  }
  ReleaseTower(&entries);
  ReleaseTower(&shape);
  return found;
}

bool TouchesTopOrBottom(const Tower* design, const Tower* hit) {
  const Entity* e = TowerEntity(hit);
  if (!e) return false;
  return e->typeCode == Type_Hole || OnLayerOne(e) || DrawnByLayerOneEntry(design, hit);
}

// The view the probe draws with, put back when it ends. A hole is drawn as
// its whole disc: its ring alone leaves the centre, where an origin on the
// hole stands, undrawn.
class ProbeView {
 public:
  ProbeView(CurrentWindowData& w, const OriginRecord& origin)
      : window_(w),
        view_(w.View),
        factor_(pl3::g_raster.viewFactor),
        target_(pl3::g_raster.spanTarget),
        holeOptions_(TypeDrawOptions[Type_Hole]) {
    TypeDrawOptions[Type_Hole] = kTypeDrawnByWalks | kTypeDrawCut;
    w.Zoom = kProbeZoom;
    w.ViewOriginX = static_cast<std::int32_t>(origin.x / static_cast<std::int32_t>(kProbeZoom)) - 1;
    w.ViewOriginY = static_cast<std::int32_t>(origin.y / static_cast<std::int32_t>(kProbeZoom)) - 1;
    UpdateViewGlobals();
  }
  ~ProbeView() {
    TypeDrawOptions[Type_Hole] = holeOptions_;
    pl3::g_raster.spanTarget = target_;
    window_.View = view_;
    pl3::g_raster.viewFactor = factor_;
    UpdateViewGlobals();
  }
  ProbeView(const ProbeView&) = delete;
  ProbeView& operator=(const ProbeView&) = delete;

 private:
  CurrentWindowData& window_;
  pl3::ViewMapping view_;
  std::uint32_t factor_;
  std::uint8_t target_;
  std::uint16_t holeOptions_;
};

}  // namespace

int OriginTouchesTopOrBottom(const Tower* item) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design || !item) return 0;
  StoreWindowOriginOnce(item);
  OriginRecord* origin = GetItemOrigin(item);
  if (!origin) {
    MessageBox(nullptr, "Error - Couldn't locate Origin", "OriginTouchesTopOrBottom", MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  int touches = 0;
  {
    ProbeView probe(*w, *origin);
    pl3::Box world = kProbePixel;
    pl3::ViewBoxToWorld(&world);
    pl3::FreePickList();
    pl3::BeginAreaPick(kProbePixel);
    pl3::g_raster.spanTarget = pl3::kTargetAreaPick;
    FindItemsInBox(&world, w->design, &pl3::kIdentityTransform, 0);
    for (const pl3::PickListNode* n = pl3::PickList(); n && !touches; n = n->next) {
      touches = n->entity && TouchesTopOrBottom(w->design, n->entity) ? 1 : 0;
    }
    pl3::FreePickList();
  }
  std::free(origin);
  return touches;
}
