#include "objects/item_layers.h"

#include <cstdio>
#include <initializer_list>

#include "edit/window_data.h"
#include "objects/layer_table.h"
#include "objects/pad_stacks.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

std::uint8_t SlotDrawLayer = 0;

namespace {

void ResetSlotDrawLayer() { SlotDrawLayer = 0; }
const bool g_registered = pl3::RegisterGlobalReset(&ResetSlotDrawLayer);

constexpr std::uint32_t kOtherSide = 0x2;      // SymbolInstanceInfo flags
constexpr std::uint32_t kPadOtherSide = 0x1;   // PadStackInfo flags

std::uint8_t TopLayer() { return ActiveWindowData ? ActiveWindowData->TopLayer : Layer_Top; }
std::uint8_t BottomLayer() { return ActiveWindowData ? ActiveWindowData->BottomLayer : Layer_Bottom; }

const LayerRecord* Record(int layer) {
  if (!ActiveWindowData || layer < 0 || layer >= static_cast<int>(kLayerCount)) return nullptr;
  return &ActiveWindowData->layerTable.layers[layer];
}

bool LayerHasFlag(int layer, std::uint32_t flag) {
  const LayerRecord* r = Record(layer);
  return r && (r->flags & flag);
}

bool IsLayerByteGraphic(std::uint16_t code) {
  switch (code) {
    case 1: case 2: case 3: case 4: case 5: case 6: case 8: case 9: case 10:
    case 19: case 21: case 22: case 35: case 37: case 38: case 39: case 46: case 47:
      return true;
    default:
      return false;
  }
}

bool SymbolOnOtherSide(const Tower* instance) {
  const std::uint8_t* info = ChildPayloadOfAtLeast(instance, Type_SymbolInstanceInfo, 4);
  return info && (ReadU32(info, 0) & kOtherSide);
}

// The pad's top-copper layer or its opposite when its 116 is on the other side.
int PadInfoLayer(const std::uint8_t* padInfo) {
  const int top = TopLayer();
  if (!padInfo || !(ReadU32(padInfo, 0) & kPadOtherSide)) return top;
  const LayerRecord* r = Record(top);
  return r ? r->oppositeLayer : top;
}

int PadHierLayer(const Tower* hier) {
  const std::uint8_t* padInfo = ChildPayloadOfAtLeast(hier, Type_PadStackInfo, 4);
  return padInfo && (ReadU32(padInfo, 0) & kPadOtherSide) ? BottomLayer() : TopLayer();
}

int InfoRecordLayer(const Tower* item, std::uint16_t infoCode) {
  const std::uint8_t* info = ChildPayloadOfAtLeast(item, infoCode, 9);
  return info ? info[8] : -1;
}

// The layer of the item by the rows both look-ups share; -1 when the code
// has no row there. `atOnce` is set for a row answered without the
// shown test.
int SharedLayer(const Tower* item, bool first, bool* atOnce) {
  Entity* e = TowerEntity(item);
  *atOnce = false;
  if (!e) return -1;
  const std::uint16_t code = e->typeCode;
  if (code >= Type_RoutedLine && code <= Type_RoutedPolygon) {
    *atOnce = true;
    return first ? TopLayer() : BottomLayer();
  }
  switch (code) {
    case Type_Hole:
      *atOnce = !first;  // the far side of a hole is not tested for being shown
      return first ? TopLayer() : BottomLayer();
    case Type_SymbolInstance:
      return SymbolOnOtherSide(item) == first ? BottomLayer() : TopLayer();
    case Type_PadStackLayerInfo: {
      const std::uint8_t* p = PayloadOfAtLeast(e, 5);
      return p ? p[4] : -1;
    }
    case Type_PadStackInfo:
      return PadInfoLayer(PayloadOfAtLeast(e, 4));
    case Type_PadStackInstanceInfo: {
      Tower* pad = FindDefinitionPadStackInstance(item);
      const int layer = pad ? PadHierLayer(pad) : -1;
      ReleaseTower(&pad);
      return layer;
    }
    case Type_PadStackInstanceHier:
      return PadHierLayer(item);
    default:
      break;
  }
  if (!first && (code == Type_Text || code == Type_PlaneCutout || code == Type_Spiral ||
                 code == Type_AngleDimensioner || code == Type_Dimensioner)) {
    return -1;
  }
  if (IsLayerByteGraphic(code)) {
    const std::uint8_t* p = PayloadOfAtLeast(e, 1);
    return p ? p[0] : -1;
  }
  if (first && code == Type_DesignatorData) return InfoRecordLayer(item, Type_DesignatorInfo);
  if (first && code == 309) return InfoRecordLayer(item, 310);
  return -1;
}

bool InLayerSet(int layer) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return false;
  const std::uint32_t count = w->LayerSetCount < kLayerCount ? w->LayerSetCount : kLayerCount;
  for (std::uint32_t k = 0; k < count; ++k) {
    if (w->LayerSet[k] == layer) return true;
  }
  return false;
}

bool AnyLayerVisible(int from, int to) {
  for (int layer = from; layer <= to; ++layer) {
    if (LayerHasFlag(layer, kLayerVisible)) return true;
  }
  return false;
}

void PairOutsideIn(LayerTable& table, std::uint16_t kind) {
  std::uint8_t layers[kLayerCount];
  int count = 0;
  for (std::size_t k = 0; k < kLayerCount; ++k) {
    const LayerRecord& r = table.layers[k];
    if (r.kind == kind && (r.flags & kLayerPresent)) layers[count++] = static_cast<std::uint8_t>(k);
  }
  for (int low = 0, high = count - 1; low <= high; ++low, --high) {
    table.layers[layers[low]].oppositeLayer = layers[high];
    table.layers[layers[high]].oppositeLayer = layers[low];
  }
}

void PairMechanical(LayerTable& table) {
  for (std::size_t k = 0; k + 1 < kLayerCount; ++k) {
    if (table.layers[k].kind != LayerKind_Mechanical) continue;
    table.layers[k].oppositeLayer = static_cast<std::uint8_t>(k + 1);
    table.layers[k + 1].oppositeLayer = static_cast<std::uint8_t>(k);
    ++k;
  }
}

}  // namespace

int GetFirstLayer(const Tower* item, int shownOnly) {
  bool atOnce = false;
  const int layer = SharedLayer(item, true, &atOnce);
  if (atOnce || layer < 0 || shownOnly != 1) return layer;
  return LayerHasFlag(layer, kLayerCopperBit) ? layer : -1;
}

int GetLastLayer(const Tower* item, int shownOnly) {
  bool atOnce = false;
  const int layer = SharedLayer(item, false, &atOnce);
  if (layer < 0) return 0;
  if (atOnce || shownOnly != 1) return layer;
  return LayerHasFlag(layer, kLayerCopperBit) ? layer : 0;
}

int IsItemLayerEnabled(const Tower* item, std::uint8_t action) {
  if (action == 37 || action == 1) return 1;
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return 1;
  if (w->editorKind == kEditorSchematicSymbol || w->editorKind == kEditorSchematic) return 1;
  const Entity* e = TowerEntity(item);
  const std::uint16_t code = e ? e->typeCode : 0;
  if (code == Type_Hole) {
    if (w->SingleLayer != -1) return 1;
    return AnyLayerVisible(1, 32) || AnyLayerVisible(Layer_TopSolderResist, Layer_BottomSolderResist);
  }
  if (code == Type_PlatedSlot || code == Type_NonPlatedSlot) {
    if (action != 10 && action != 17) return 1;
    const bool plated = code == Type_PlatedSlot;
    return (WalkTypeFlags[code] & kWalkTypeLayerKind) ||
           SlotDrawLayer == (plated ? Layer_PlatedSlot : Layer_NonPlatedSlot);
  }
  const bool shownOnly = w->WalkFlags & kWalkShownOnly;
  if (w->WalkFlags & kWalkInnerLayersOnePass) {
    for (int layer = 2; layer <= 31; ++layer) {
      if (LayerHasFlag(layer, kLayerVisible) && (!shownOnly || LayerHasFlag(layer, kLayerCopperBit))) return 1;
    }
    return 0;
  }
  int layer = (w->WalkFlags & kWalkInPadStack) ? w->DrawingLayer : GetFirstLayer(item, 0);
  if (layer < 0) return 1;
  if (w->ViewFlags & kViewOtherSide) layer = w->layerTable.layers[layer].oppositeLayer;
  if (w->SingleLayer != -1) return layer == w->SingleLayer;
  if (!(w->WalkFlags & kWalkUseLayerSet)) {
    return LayerHasFlag(layer, kLayerVisible) && (!shownOnly || LayerHasFlag(layer, kLayerCopperBit));
  }
  return InLayerSet(layer) && (!shownOnly || LayerHasFlag(layer, kLayerCopperBit));
}

void PairLayersOfKind(LayerTable& table, std::uint16_t kind) {
  if (kind == LayerKind_Mechanical) {
    PairMechanical(table);
  } else {
    PairOutsideIn(table, kind);
  }
}

void InitialiseLayerPairs(LayerTable& table) {
  for (LayerRecord& r : table.layers) r.oppositeLayer = kNoOppositeLayer;
  for (std::uint16_t kind : {LayerKind_Copper, LayerKind_Silkscreen, LayerKind_SolderResist, LayerKind_PasteMask,
                             LayerKind_GlueMask}) {
    PairLayersOfKind(table, kind);
  }
  PairMechanical(table);
}

void SetMechanicalLayerPairs(LayerTable& table) {
  char name[kLayerNameSize];
  for (int p = 1; p <= 16; ++p) {
    LayerRecord& normal = table.layers[38 + 2 * p];
    LayerRecord& inverse = table.layers[39 + 2 * p];
    std::snprintf(name, sizeof name, "Mechanical Layer Pair %d (Normal)", p);
    SetLayerName(normal, name);
    std::snprintf(name, sizeof name, "Mechanical Layer Pair %d (Inverse)", p);
    SetLayerName(inverse, name);
    for (LayerRecord* r : {&normal, &inverse}) {
      r->flags = 11;
      r->kind = LayerKind_Mechanical;
      r->planeBit = 512;
    }
    normal.nextLayer = static_cast<std::uint8_t>(39 + 2 * p);
    inverse.nextLayer = static_cast<std::uint8_t>(38 + 2 * p);
  }
}
