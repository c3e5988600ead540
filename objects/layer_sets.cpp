#include "objects/layer_sets.h"

#include "edit/editing_seams.h"
#include "edit/window_data.h"
#include "objects/item_layers.h"
#include "objects/layer_table.h"
#include "platform/responder.h"

namespace {

constexpr std::uint32_t kCopperOnFlags = kLayerVisible | kLayerPresent | kLayerSelectable;

bool IsPresentCopper(const LayerRecord& r) { return r.kind == LayerKind_Copper && (r.flags & kLayerPresent); }

void TurnCopperOn(LayerRecord& r) {
  r.flags |= kCopperOnFlags;
  r.kind = LayerKind_Copper;
}

std::uint32_t CountCopperLayersInUse(const LayerTable& table) {
  std::uint32_t used = 0;
  for (int layer = 1; layer <= 32; ++layer)
    if (IsPresentCopper(table.layers[layer]) && IsLayerInUse(static_cast<std::uint8_t>(layer))) ++used;
  return used;
}

// The first present layer among 1..n-1 that holds nothing, else the bottom.
std::uint8_t FreeCopperTarget(const LayerTable& table, std::uint32_t n) {
  for (std::uint32_t layer = 1; layer < n; ++layer)
    if (IsPresentCopper(table.layers[layer]) && !IsLayerInUse(static_cast<std::uint8_t>(layer)))
      return static_cast<std::uint8_t>(layer);
  return Layer_Bottom;
}

// Asks, then moves the copper of the layers that go; false when refused.
bool MoveCopperOffLostLayers(const LayerTable& table, std::uint32_t n, std::uint32_t c) {
  if (CountCopperLayersInUse(table) > n) {
    MessageBox(nullptr,
               "You must specify a number of layers greater than the layers currently containing placed copper",
               "Invalid Number Of Layers", MB_OK);
    return false;
  }
  if (MessageBox(nullptr,
                 "Continuing with this action may require copper layers to be moved. Do you want to continue?",
                 "Change Number Of Layers", MB_YESNO) != IDYES)
    return false;
  // Layer 1 always stays, so the walk starts at 2 even for a one-layer table.
  for (std::uint32_t layer = n < 2 ? 2 : n; layer < c; ++layer) {
    const auto from = static_cast<std::uint8_t>(layer);
    if (IsLayerInUse(from)) MoveLayerItems(from, FreeCopperTarget(table, n));
  }
  if (n == 1 && IsLayerInUse(Layer_Bottom)) MoveLayerItems(Layer_Bottom, Layer_Top);
  return true;
}

void BuildShapeLayer(LayerTable& table) {
  LayerRecord& r = table.layers[Layer_Top];
  r.flags = kLayerVisible | kLayerPresent | kLayerCopperBit | kLayerSelectable;
  r.kind = LayerKind_Copper;
  r.planeBit = 1;
  r.nextLayer = Layer_Top;
  SetLayerName(r, "Shape Layer");
}

void SetMaskLayers(LayerTable& table) {
  SetPasteMaskLayer(table, Layer_TopPasteMask, "Top Paste Mask");
  SetPasteMaskLayer(table, Layer_BottomPasteMask, "Bottom Paste Mask");
  SetSolderResistLayer(table, Layer_TopSolderResist, "Top Solder Resist");
  SetSolderResistLayer(table, Layer_BottomSolderResist, "Bottom Solder Resist");
  SetGlueMaskLayer(table, Layer_TopGlueMask, "Top Glue Mask");
  SetGlueMaskLayer(table, Layer_BottomGlueMask, "Bottom Glue Mask");
}

void ClearFlags(LayerTable& table, int first, int last, std::uint32_t bits) {
  for (int layer = first; layer <= last; ++layer) table.layers[layer].flags &= ~bits;
}

}  // namespace

std::uint32_t CountPresentCopperLayers(const LayerTable& table) {
  std::uint32_t count = 0;
  for (const LayerRecord& r : table.layers)
    if (IsPresentCopper(r)) ++count;
  return count;
}

void ApplyCopperLayerCount(LayerTable& table, std::uint32_t n) {
  for (std::uint32_t layer = 1; layer < n; ++layer) TurnCopperOn(table.layers[layer]);
  if (n <= 1) TurnCopperOn(table.layers[Layer_Top]);
  for (std::uint32_t layer = n <= 1 ? 2 : n; layer < Layer_Bottom; ++layer)
    table.layers[layer].flags &= ~kCopperOnFlags;
  if (n >= 2)
    TurnCopperOn(table.layers[Layer_Bottom]);
  else
    table.layers[Layer_Bottom].flags &= ~kCopperOnFlags;
  table.copperCount = n;
  InitialiseLayerPairs(table);
}

int SetCopperLayerCount(LayerTable& table, std::uint32_t n, std::uint32_t editorKind, int initial) {
  if (editorKind == kEditorPcb && !initial) {
    const std::uint32_t c = CountPresentCopperLayers(table);
    if (c > n && !MoveCopperOffLostLayers(table, n, c)) return 0;
  }
  ApplyCopperLayerCount(table, n);
  return 1;
}

void BuildDefaultLayerTable(LayerTable& table, std::uint32_t editorKind) {
  InitialiseLayerTable(table);
  if (editorKind != kEditorShape && editorKind != kEditorPadStack) SetSilkscreenLayers(table);
  const std::uint32_t copper = editorKind == kEditorPcb ? 32 : editorKind == kEditorShape ? 1 : 3;
  table.copperCount = copper;
  if (editorKind == kEditorShape) {
    BuildShapeLayer(table);
  } else {
    SetCopperLayers(table);
    SetCopperLayerCount(table, copper, editorKind, 1);
    if (editorKind == kEditorPcbSymbol) DisableCopperLayers(table);
  }
  if (editorKind == kEditorPcb) {
    SetMaskLayers(table);
    SetSlotLayer(table, Layer_PlatedSlot, "Plated Slot");
    SetSlotLayer(table, Layer_NonPlatedSlot, "Non Plated Slot");
    SetMechanicalLayerPairs(table);
    ClearFlags(table, Layer_TopSolderResist, Layer_BottomPasteMask, kLayerVisible);
    ClearFlags(table, Layer_TopGlueMask, Layer_BottomGlueMask, kLayerVisible | kLayerSelectable);
  } else if (editorKind == kEditorPcbSymbol) {
    SetMaskLayers(table);
    ClearFlags(table, Layer_TopSolderResist, Layer_BottomPasteMask, kLayerSelectable);
    SetMechanicalLayerPairs(table);
  } else if (editorKind == kEditorPadStack) {
    SetPasteMaskLayer(table, Layer_TopPasteMask, "Top Paste Mask");
    SetSolderResistLayer(table, Layer_TopSolderResist, "Top Solder Resist");
    SetSolderResistLayer(table, Layer_BottomSolderResist, "Bottom Solder Resist");
    SetSlotLayer(table, Layer_PlatedSlot, "Plated Slot");
  }
  AssignLayerLetters(table, editorKind);
  InitialiseLayerPairs(table);
}
