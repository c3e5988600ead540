// IsLayerEnabled (objects/symbol_seams.h): whether the active window shows a
// layer, through the layer's opposite-side partner when the board is seen
// from the other side. In a file of its own so that tests can fake it.
#include "edit/window_data.h"
#include "objects/layer_table.h"
#include "objects/symbol_seams.h"

int IsLayerEnabled(std::uint8_t layer, std::uint8_t action) {
  if (action == '%' || action == 1) return 1;
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return 1;
  std::uint8_t shown = layer;
  if (w->ViewFlags & kViewOtherSide) {
    const std::uint8_t opposite = w->layerTable.layers[layer].oppositeLayer;
    if (opposite != kNoOppositeLayer) shown = opposite;
  }
  return (w->layerTable.layers[shown].flags & kLayerVisible) ? 1 : 0;
}
