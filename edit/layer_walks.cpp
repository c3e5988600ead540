#include "edit/layer_walks.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "edit/window_data.h"
#include "objects/entity_record.h"
#include "objects/layer_table.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "store/tower.h"

namespace {

// What a layer walk changes in the walker's table and the window, put back
// when the walk ends (also when a walk runs inside another).
class SavedWalkState {
 public:
  explicit SavedWalkState(CurrentWindowData& w)
      : window_(w),
        walkFlags_(w.WalkFlags),
        viewFlags_(w.ViewFlags),
        singleLayer_(w.SingleLayer),
        layerSetCount_(w.LayerSetCount),
        firstSetLayer_(w.LayerSet[0]) {
    std::memcpy(typeFlags_, WalkTypeFlags, sizeof typeFlags_);
  }
  ~SavedWalkState() {
    std::memcpy(WalkTypeFlags, typeFlags_, sizeof typeFlags_);
    window_.WalkFlags = walkFlags_;
    window_.ViewFlags = viewFlags_;
    window_.SingleLayer = singleLayer_;
    window_.LayerSetCount = layerSetCount_;
    window_.LayerSet[0] = firstSetLayer_;
  }
  SavedWalkState(const SavedWalkState&) = delete;
  SavedWalkState& operator=(const SavedWalkState&) = delete;

 private:
  CurrentWindowData& window_;
  std::uint32_t walkFlags_, viewFlags_;
  std::int32_t singleLayer_;
  std::uint32_t layerSetCount_;
  std::uint8_t firstSetLayer_;
  std::uint16_t typeFlags_[kWalkTypeCount];
};

// Every code, less those that lie on no single layer or on the board as a
// whole: holes, info boxes, datums, board outlines and slots.
void WantLayerItems() {
  std::fill(std::begin(WalkTypeFlags), std::end(WalkTypeFlags), static_cast<std::uint16_t>(0x101));
  for (std::uint16_t code : {Type_Hole, Type_InfoBoxHier, Type_Datum, Type_BoardOutlineArc, Type_BoardOutlineLine,
                             Type_PlatedSlot, Type_NonPlatedSlot}) {
    WalkTypeFlags[code] = 0;
  }
}

// The walk sees the one layer as the window's layer set, from the front of
// the board, shown or not.
void SeeOneLayer(CurrentWindowData& w, std::uint8_t layer) {
  w.SingleLayer = -1;
  w.LayerSetCount = 1;
  w.LayerSet[0] = layer;
  w.WalkFlags = (w.WalkFlags | kWalkUseLayerSet) & ~(kWalkShownOnly | kWalkInPadStack | kWalkInnerLayersOnePass);
  w.ViewFlags &= ~kViewOtherSide;
}

}  // namespace

int IsLayerInUse(std::uint8_t layer) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return 0;
  {
    SavedWalkState saved(*w);
    WantLayerItems();
    SeeOneLayer(*w, layer);
    DisplayOptions &= ~kDisplayLayerInUse;
    PerformTowerAction(&pl3::kIdentityTransform, w->design, nullptr, 0, WalkAction_LayerPresence, 0);
  }
  const bool used = (DisplayOptions & kDisplayLayerInUse) != 0;
  DisplayOptions &= ~kDisplayLayerInUse;
  return used ? 1 : 0;
}

int MoveLayerItems(std::uint8_t fromLayer, std::uint8_t toLayer) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return 0;
  SavedWalkState saved(*w);
  std::fill(std::begin(WalkTypeFlags), std::end(WalkTypeFlags), kWalkTypeWanted);
  return RenumberLayerItems(fromLayer, toLayer);
}

std::int32_t RenumberLayerItems(std::uint8_t fromLayer, std::uint8_t toLayer) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return 0;
  SavedWalkState saved(*w);
  // Every item of the source layer is visited whatever the view shows; the
  // types visited are the caller's.
  SeeOneLayer(*w, fromLayer);
  const std::uint8_t savedSource = WalkSourceLayer;
  const std::uint8_t savedTarget = WalkTargetLayer;
  WalkSourceLayer = fromLayer;
  WalkTargetLayer = toLayer;
  const std::int32_t result =
      PerformTowerAction(&pl3::kIdentityTransform, w->design, nullptr, 0, WalkAction_ChangeLayer, 0);
  WalkSourceLayer = savedSource;
  WalkTargetLayer = savedTarget;
  return result;
}

std::int32_t MarkUsedNets(const Tower* subTree) {
  CurrentWindowData* w = ActiveWindowData;
  ClearSizeEntryMarks();
  if (!w || !subTree || !TowerEntity(subTree)) return 0;
  SavedWalkState saved(*w);
  std::fill(std::begin(WalkTypeFlags), std::end(WalkTypeFlags), kWalkTypeWanted);
  WalkTypeFlags[Type_Hole] = 3;
  return PerformTowerAction(&pl3::kIdentityTransform, subTree, nullptr, 0, WalkAction_MarkUsedSizes, 0);
}

std::uint8_t FindFreeInnerLayer(std::uint32_t n) {
  if (n == 0) return Layer_Bottom;
  if (n == 1) return Layer_Top;
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return Layer_Bottom;
  for (std::uint32_t layer = 1; layer < n && layer < kLayerCount; ++layer) {
    if ((w->layerTable.layers[layer].flags & kLayerPresent) && !IsLayerInUse(static_cast<std::uint8_t>(layer))) {
      return static_cast<std::uint8_t>(layer);
    }
  }
  return Layer_Bottom;
}

std::uint32_t CountLayersInUse(const LayerTable& table) {
  std::uint32_t used = 0;
  for (int layer = 1; layer <= 32; ++layer) {
    if ((table.layers[layer].flags & kLayerPresent) && IsLayerInUse(static_cast<std::uint8_t>(layer))) ++used;
  }
  return used;
}
