// The layer searches over the active window's layer table: the first layer
// of a kind, and the next one along the layers' next-layer links.
#include "app/editor_support.h"
#include "edit/window_data.h"
#include "objects/editor_seams.h"
#include "objects/layer_table.h"

namespace {

// Enabled: the layer may become the current one.
bool IsEnabledOfKind(const LayerRecord& r, std::uint32_t kind) {
  return (r.flags & kLayerSelectable) && (kind == 0 || r.kind == kind);
}

}  // namespace

std::uint32_t FindFirstLayerOfKind(std::uint32_t defaultLayer, std::uint32_t kind) {
  if (ActiveWindowData) {
    const LayerTable& table = ActiveWindowData->layerTable;
    for (std::uint32_t i = 0; i < kLayerCount; ++i)
      if (IsEnabledOfKind(table.layers[i], kind)) return i;
  }
  return 0x100 + defaultLayer;
}

std::uint8_t GetNextLayerOfKind(std::uint8_t layer, std::uint32_t kind) {
  if (!ActiveWindowData) return layer;
  const LayerTable& table = ActiveWindowData->layerTable;
  std::uint8_t at = layer;
  for (int step = 0; step < static_cast<int>(kLayerCount); ++step) {
    at = table.layers[at].nextLayer;
    if (at == layer) return layer;
    if (IsEnabledOfKind(table.layers[at], kind)) return at;
  }
  // The links run in a ring that misses the start: the first of the kind by
  // index, unless that is record 0 (or there is none).
  const std::uint32_t first = FindFirstLayerOfKind(0, kind);
  return first == 0 || first >= kLayerCount ? at : static_cast<std::uint8_t>(first);
}

