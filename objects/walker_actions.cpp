#include "objects/walker_actions.h"

#include "edit/window_data.h"
#include "objects/design_walks.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/size_table.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/reset_hooks.h"
#include "store/seams.h"
#include "store/tower.h"

std::uint8_t WalkModeByte = 0;

namespace {

void ResetWalkModeByte() { WalkModeByte = 0; }
const bool g_registered = pl3::RegisterGlobalReset(&ResetWalkModeByte);

std::uint32_t WindowKind() { return ActiveWindowData ? ActiveWindowData->editorKind : 0; }

bool IsMovedGraphic(std::uint16_t code) {
  return (code >= 1 && code <= 4) || (code >= 6 && code <= 11) || (code >= 37 && code <= 39) ||
         (code >= 41 && code <= 47) || code == 49;
}

void AddToWord(std::uint8_t* p, std::uint32_t offset, std::int32_t delta) {
  WriteU32(p, offset, ReadU32(p, offset) + static_cast<std::uint32_t>(delta));
}

// Where an item keeps its size-from-table flag and index.
struct SizeField {
  std::uint8_t* flags;   // the flags word (u16, or u32 for dimensioners); null when none
  std::uint32_t index;
};

SizeField GraphicSizeField(Entity* e) {
  std::uint8_t* p = PayloadOfAtLeast(e, 8);
  if (!p) return {nullptr, 0};
  return {p + 2, ReadU32(p, 4)};
}

SizeField DimensionerSizeField(Entity* e) {
  std::uint8_t* p = PayloadOfAtLeast(e, 92);
  if (!p) return {nullptr, 0};
  return {p + 88, ReadU32(p, 80)};
}

SizeField InfoSizeField(const Tower* item, std::uint16_t infoCode) {
  std::uint8_t* p = ChildPayloadOfAtLeast(item, infoCode, 8);
  if (!p) return {nullptr, 0};
  return {p, ReadU32(p, 4)};
}

SizeField SizeFieldOf(const Tower* item) {
  Entity* e = TowerEntity(item);
  switch (e->typeCode) {
    case Type_AngleDimensioner:
    case Type_Dimensioner:
      return DimensionerSizeField(e);
    case Type_DesignatorData:
      return InfoSizeField(item, Type_DesignatorInfo);
    case 309:
      return InfoSizeField(item, 310);
    default:
      return GraphicSizeField(e);
  }
}

std::uint32_t SizeListOf(const Entity* e) {
  switch (e->typeCode) {
    case 1: case 2: case 10: case 11: case 19: case 28: case 29: case 35: case 37:
      return SizeKind_Lines;
    case Type_Circle:
      return SizeKind_Circles;
    case Type_Rectangle:
      return SizeKind_Rectangles;
    case Type_Hole: {
      const std::uint8_t* p = PayloadOfAtLeast(const_cast<Entity*>(e), 50);
      return p && (p[49] & kHoleIsVia) ? SizeKind_Vias : SizeKind_Holes;
    }
    case Type_PlatedSlot:
    case Type_NonPlatedSlot:
      return SizeKind_Holes;
    case 5: case 20: case 21: case 22: case 34: case 202:
      return SizeKind_Fonts;
    default:
      return kNoSizeKind;
  }
}

std::int32_t WalkBelow(const Tower* t, std::uint8_t action) {
  return PerformTowerAction(&pl3::kIdentityTransform, t, nullptr, 0, action, 0);
}

}  // namespace

std::int32_t OffsetWalkedItem(Tower* item) {
  Entity* e = TowerEntity(item);
  const pl3::Point d = WalkMoveOffset;
  const std::uint16_t code = e->typeCode;
  if (IsMovedGraphic(code)) {
    if (!WalkHandlers.offsetEntity) return 0;
    WalkHandlers.offsetEntity(EntityPayload(e), code, d.x, d.y, 1);
    return 1;
  }
  switch (code) {
    case Type_Shape:
      return OffsetTransform(item, d) ? 1 : 0;
    case Type_SymbolInstanceInfo: {
      // The placement transform is the instance's, one level up.
      if (item->lastLevel == 0) return 0;
      Tower* instance = DuplicateTowerToLevel(item, static_cast<std::uint8_t>(item->lastLevel - 1));
      const bool moved = OffsetTransform(instance, d) != nullptr;
      ReleaseTower(&instance);
      return moved ? 1 : 0;
    }
    case Type_PadStackLayerInfo: {
      std::uint8_t* p = PayloadOfAtLeast(e, 44);
      if (WindowKind() != kEditorPadStack || !p) return 0;
      AddToWord(p, 36, d.x);
      AddToWord(p, 40, d.y);
      return 1;
    }
    case Type_PadStackInfo: {
      std::uint8_t* p = PayloadOfAtLeast(e, 36);
      const std::uint32_t kind = WindowKind();
      if ((kind != kEditorPcbSymbol && kind != kEditorPadStack) || !p) return 0;
      AddToWord(p, 28, d.x);
      AddToWord(p, 32, d.y);
      return 1;
    }
    default:
      return 0;
  }
}

std::int32_t ClearIndexedSizeFlag(Tower* item) {
  Entity* e = TowerEntity(item);
  switch (e->typeCode) {
    case 1: case 2: case 3: case 5: case 6: case 7: case 10: case 11: case 20: case 37: case 46: case 47:
    case Type_Label:
    case Type_DesignatorData:
    case 309: {
      const SizeField field = SizeFieldOf(item);
      if (!field.flags || !(ReadU16(field.flags, 0) & 1)) return 0;
      WriteU16(field.flags, 0, static_cast<std::uint16_t>(ReadU16(field.flags, 0) & ~1u));
      return 1;
    }
    case Type_Designator:
    case Type_NetConflicts:
      return FreezeTowerSizes(item);
    default:
      return 0;
  }
}

std::int32_t MarkUsedSizes(Tower* item) {
  Entity* e = TowerEntity(item);
  const std::uint16_t code = e->typeCode;
  switch (code) {
    case 30:  // a schematic symbol
    case Type_Designator:
      return WalkBelow(item, WalkAction_MarkUsedSizes);
    case Type_SymbolInstance: {
      std::int32_t count = 0;
      Tower* designators = GetChildTower(item, Type_Designator);
      while (designators && FindNextEntity(designators)) count += WalkBelow(designators, WalkAction_MarkUsedSizes);
      ReleaseTower(&designators);
      return count;
    }
    case Type_DesignatorData: {
      const SizeField field = SizeFieldOf(item);
      if (!field.flags || (ReadU16(field.flags, 0) & 3) != 1) return 0;
      MarkActiveSizeEntry(SizeKind_Fonts, field.index, false);
      return 1;
    }
    default:
      break;
  }
  const std::uint32_t list = SizeListOf(e);
  if (list == kNoSizeKind) return 0;
  const SizeField field = SizeFieldOf(item);
  const bool textLike = code == 5 || code == 20 || code == 34 || code == 202;
  if (field.flags && (ReadU16(field.flags, 0) & 1)) MarkActiveSizeEntry(list, field.index, false);
  return textLike ? 1 : 0;
}

void MarkLayerPresence(Tower* item, std::uint8_t action) {
  if (action != WalkAction_LayerPresence) return;
  const std::uint16_t code = TowerEntity(item)->typeCode;
  if (code == Type_Hole) return;
  if (code == Type_SymbolInstance) {
    const CurrentWindowData* w = ActiveWindowData;
    if (!w || w->LayerSetCount == 0 || w->LayerSet[0] != w->TopLayer) return;
  }
  DisplayOptions |= kDisplayLayerInUse;
}

std::int32_t ProcessFoundShapeInfo(void* dc, const Tower* shape, const pl3::Transform* transform,
                                   std::uint8_t action) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  if (!WalkModeByte) {
    if (const std::uint8_t* info = ChildPayloadOfAtLeast(shape, Type_ShapeInfo, 7)) w->DrawingLayer = info[6];
  }
  pl3::Transform composed;
  GetTransform(&composed, shape, transform);
  Tower* definition = GetShapeDefinitionTower(shape);
  if (!definition) return 0;
  const std::uint32_t savedWalkFlags = w->WalkFlags;
  w->WalkFlags |= kWalkInPadStack;
  const std::int32_t result = PerformTowerAction(&composed, definition, dc, 0, action, 0);
  w->WalkFlags = savedWalkFlags;
  ReleaseTower(&definition);
  return result;
}
