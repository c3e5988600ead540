#include "draw/layer_drawing.h"

#include <algorithm>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/entity_record.h"
#include "platform/reset_hooks.h"

std::uint16_t TypeDrawOptions[kTypeDrawOptionCount] = {};
std::uint8_t RasterFirstLayer = 0;
std::uint8_t RasterLastLayer = 0;

namespace {

// Every type is drawn by the walks; holes and slots show their pads.
void ResetTypeDrawOptions() {
  std::fill(std::begin(TypeDrawOptions), std::end(TypeDrawOptions), kTypeDrawnByWalks);
  TypeDrawOptions[7] |= kTypeDrawPad;
  TypeDrawOptions[46] |= kTypeDrawPad;
  TypeDrawOptions[47] |= kTypeDrawPad;
  RasterFirstLayer = 0;
  RasterLastLayer = 0;
}
[[maybe_unused]] const bool g_registered = [] {
  ResetTypeDrawOptions();
  return pl3::RegisterGlobalReset(&ResetTypeDrawOptions);
}();

}  // namespace

std::uint16_t TypeDrawOptionsOf(std::uint16_t type) {
  return type < kTypeDrawOptionCount ? TypeDrawOptions[type] : 0;
}

bool IsSchematicKind(std::uint32_t editorKind) {
  return editorKind == kEditorSchematicSymbol || editorKind == kEditorSchematic;
}

std::uint8_t EffectiveDrawLayer(const CurrentWindowData& window, std::uint8_t layer) {
  if (window.StateFlags & kStateLayerOverride) layer = window.OverrideLayer;
  if (window.ViewFlags & kViewOtherSide) {
    const std::uint8_t opposite = GetMirrorLayerIn(&window.layerTable, layer);
    if (opposite != kNoOppositeLayer) layer = opposite;
  }
  return layer;
}

bool IsLayerUsed(const CurrentWindowData& window, std::uint8_t layer) {
  return (window.layerTable.layers[layer].flags & kLayerPresent) != 0;
}

void SetCurrentLayerColour(std::uint8_t layer) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || (w->StateFlags & kStateSingleColour)) return;
  if (IsSchematicKind(w->editorKind)) {
    pl3::g_raster.fillValue = layer;
    return;
  }
  pl3::g_raster.fillValue = w->layerTable.layers[EffectiveDrawLayer(*w, layer)].planeBit;
}

void AddLayerToMask(std::uint32_t& mask, std::uint8_t layer) {
  const CurrentWindowData* w = ActiveWindowData;
  if (w && IsLayerUsed(*w, layer)) mask |= w->layerTable.layers[layer].planeBit;
}

std::uint32_t GetVisibleLayerMask(std::uint8_t first, std::uint8_t last, int) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  std::uint32_t mask = static_cast<std::uint32_t>(w->BackgroundIndex);
  for (unsigned layer = first; layer <= last; ++layer) AddLayerToMask(mask, static_cast<std::uint8_t>(layer));
  return mask;
}
