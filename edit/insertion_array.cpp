#include "edit/insertion_array.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "draw/ghost_seams.h"
#include "draw/ghosts.h"
#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "edit/item_boxes.h"
#include "edit/key_command_seams.h"
#include "edit/placing_seams.h"
#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/transform.h"
#include "objects/attribute_locators.h"
#include "objects/design_walks.h"
#include "objects/designators.h"
#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "objects/io_ports.h"
#include "objects/item_helpers.h"
#include "objects/item_sides.h"
#include "objects/locator_dispatch.h"
#include "objects/pad_stacks.h"
#include "objects/payload_access.h"
#include "objects/placed_item_records.h"
#include "objects/symbol_instances.h"
#include "objects/symbol_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "objects/walker.h"
#include "objects/walker_actions.h"
#include "objects/window_state.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/scratch_entity.h"
#include "store/seams.h"
#include "store/tower.h"

Tower* InsertionGhostingParent = nullptr;
pl3::Transform InsertionRotationSteps[2] = {pl3::R90, pl3::R270};
pl3::Point InsertionGhostPoint{};

namespace {

constexpr std::uint16_t kTypeSchematicRecord = 25;
constexpr std::uint16_t kTypeSchematicSymbol = 30;
constexpr std::uint16_t kTypeSchematicLink = Type_SchematicSymbol;  // 32: flags, schematic record reference
constexpr std::uint32_t kSchematicRecordReference = 4;
constexpr std::uint32_t kPadOtherSide = 0x1;             // bit 0 of a 116's flags word
constexpr std::uint16_t kWalkTypeHoleExtra = 0x2;        // the fill's second bit on type 7
// The layer menu kind the pad-stack editor shows while a shape is held.
constexpr std::uint32_t kShapeSelectionMenu = 14;
constexpr std::uint32_t kViewShapePending = 0x4;         // ViewFlags bit 2
constexpr std::uint8_t kPadStackInnerLayer = 2;
constexpr std::uint8_t kPadStackLastLayer = 32;
constexpr std::uint32_t kInstanceInfoSize = 8;

void ResetInsertionGlobals() {
  InsertionGhostingParent = nullptr;  // the store is restarted under it
  InsertionRotationSteps[0] = pl3::R90;
  InsertionRotationSteps[1] = pl3::R270;
  InsertionGhostPoint = {};
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetInsertionGlobals);

std::uint16_t CodeAt(const Tower* t) {
  const Entity* e = TowerEntity(t);
  return e ? e->typeCode : 0;
}

// The primitives a fill copies into the array; everything else goes to the
// container walk, which descends into what it holds.
bool IsInsertionPrimitive(std::uint16_t code) {
  switch (code) {
    case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 10: case 11: case 23: case 24: case 26:
    case 37: case 38: case 39: case 44: case 45: case 46: case 47:
      return true;
    default:
      return false;
  }
}

bool IsArcCode(std::uint16_t code) { return code == Type_Arc || code == Type_BoardOutlineArc; }

// Inside a pad stack the arc's sense follows the side: the placed item's side
// (ViewFlags bit 7) turned over once more when the pad itself lies on the
// other side.
bool PadStackOnOtherSide(const CurrentWindowData& w) {
  bool other = (w.ViewFlags & kViewDrawOtherSide) != 0;
  if (w.CurrentPadStackInfo && (ReadU32(w.CurrentPadStackInfo, 0) & kPadOtherSide)) other = !other;
  return other;
}

void PrepareInsertedArc(EntityRecord* record, const CurrentWindowData& w) {
  auto& arc = record->as<ArcPayload>();
  if ((WalkModeByte & kModeInPadStack) && PadStackOnOtherSide(w)) {
    std::swap(arc.startX, arc.endX);
    std::swap(arc.startY, arc.endY);
  }
  pl3::PrepareArcEnds(&arc);
}

// The walk's per-type table: every code wanted, holes with their extra bit.
void PrepareFillWalkTable() {
  for (std::uint16_t& word : WalkTypeFlags) word = kWalkTypeWanted;
  WalkTypeFlags[Type_Hole] |= kWalkTypeHoleExtra;
}

bool WalksDescendants(std::uint16_t code) {
  return code == kTypeSchematicSymbol || code == Type_SymbolDefinition || code == Type_ShapeDefinition ||
         code == Type_PadStackDefinition;
}

// A leftover parent means an earlier fill never finished: its node goes.
void DropLeftoverGhostingParent() {
  if (!InsertionGhostingParent) return;
  ShowMessage(nullptr, "Internal Error - InsertionGhostingParent still exists", "FillInsertionArray");
  if (TowerEntity(InsertionGhostingParent)) DeleteEntity(InsertionGhostingParent);
  ReleaseTower(&InsertionGhostingParent);
}

bool InstanceOnOtherSide(const Tower* instance) {
  const std::uint8_t* info = ChildPayloadOfAtLeast(instance, Type_SymbolInstanceInfo, kInstanceInfoSize);
  return info && (ReadU32(info, 0) & kSymbolInstanceOtherSide);
}

// The schematic record (25) a schematic symbol's link (32) names.
Tower* SchematicRecordOfSymbol(const Tower* symbol) {
  const std::uint8_t* link = ChildPayloadOfAtLeast(symbol, kTypeSchematicLink, 8);
  const Tower* design = ActiveWindowData ? ActiveWindowData->design : nullptr;
  if (!link || !design) return nullptr;
  return FindChildByReference(design, kTypeSchematicRecord, ReadU32(link, kSchematicRecordReference));
}

void SnapWindowCursor(CurrentWindowData& w) { SnapXY(&w.Cursor.x, &w.Cursor.y, 1); }

// A new symbol's moving ratsnest follows its pads.
void FollowRatsnest(CurrentWindowData& w) {
  if (CodeAt(w.Selection) != Type_SymbolDefinition) return;
  SnapWindowCursor(w);
  UpdateMovingPoints();
  RefreshRatsnestLines();
}

}  // namespace

std::int32_t AddEntityToInsertion(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                                  std::uint8_t action, std::int32_t* result) {
  CurrentWindowData* w = ActiveWindowData;
  Entity* e = TowerEntity(entity);
  if (!w || !e) return 0;
  const std::uint16_t code = e->typeCode;
  if (!IsInsertionPrimitive(code)) {
    if (!WalkHandlers.walkContainerEntity) return 0;
    std::int32_t ignored = 0;
    return WalkHandlers.walkContainerEntity(transform, entity, param, mode, action, result ? result : &ignored);
  }
  if (InsertionGhostingParent) {
    Tower* copy = CopyAndInsertEntity(InsertionGhostingParent, entity, transform);
    ReleaseTower(&copy);
    return 1;
  }
  if (w->InsertionCount >= kInsertionCapacity) return 1;  // the rest of the item is not ghosted
  auto* record = static_cast<EntityRecord*>(CopyEntity(EntityPayload(e), e->payloadSize, code, transform));
  if (!record) return 0;
  if (IsArcCode(code)) PrepareInsertedArc(record, *w);
  w->Insertion[w->InsertionCount++] = record;
  return 1;
}

std::uint32_t FillInsertionArray(const Tower* item, const pl3::Transform* transform, int freeOld,
                                 const Tower* parent) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  PrepareFillWalkTable();
  if (freeOld) FreeInsertionArray(*w);
  DropLeftoverGhostingParent();
  if (parent) InsertionGhostingParent = DuplicateTower(parent);
  const pl3::Transform& t = transform ? *transform : pl3::kIdentityTransform;
  if (TowerEntity(item)) {
    if (WalksDescendants(CodeAt(item))) {
      PerformTowerAction(&t, item, nullptr, 0, WalkAction_AddToInsertion, 0);
    } else {
      Tower* alone = DuplicateTower(item);
      std::int32_t result = 0;
      AddEntityToInsertion(&t, alone, nullptr, 0, WalkAction_AddToInsertion, &result);
      ReleaseTower(&alone);
    }
  }
  ReleaseTower(&InsertionGhostingParent);
  return w->InsertionCount;
}

int FillInsertionArrayFromInstance(const Tower* instance, const pl3::Transform* transform, const Tower* parent) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  switch (CodeAt(instance)) {
    case kTypeSchematicSymbol: {
      Tower* record = SchematicRecordOfSymbol(instance);
      if (record) FillInsertionArray(record, transform, 0, parent);
      ReleaseTower(&record);
      return 0;
    }
    case Type_SymbolInstance: {
      Tower* definition = GetInstanceSymbolDef(instance);
      if (!definition) return 0;
      Tower* savedHeld = w->WalkParent;
      const std::uint32_t savedView = w->ViewFlags;
      w->WalkParent = DuplicateTower(instance);
      // The arcs of its pads take the side the instance lies on.
      if (InstanceOnOtherSide(instance))
        w->ViewFlags |= kViewDrawOtherSide;
      else
        w->ViewFlags &= ~kViewDrawOtherSide;
      FillInsertionArray(definition, transform, 0, parent);
      ReleaseTower(&w->WalkParent);
      w->WalkParent = savedHeld;
      w->ViewFlags = savedView;
      ReleaseTower(&definition);
      return 1;
    }
    case Type_PadStackInstanceHier: {
      Tower* stack = GetPadStackDef(instance);
      if (!stack) return 0;
      FillInsertionArray(stack, transform, 0, parent);
      ReleaseTower(&stack);
      return 1;
    }
    default:
      return 0;
  }
}

int PlacedItemCopyTransform(const Tower* item, pl3::Transform* copy) {
  // A pad is placed by the Transform of its Pad-Stack Info, anything else by
  // a Transform record of its own.
  const bool pad = CodeAt(item) == Type_PadStackInstanceHier;
  const std::uint8_t* placement =
      pad ? ChildPayloadOfAtLeast(item, Type_PadStackInfo, sizeof(PadStackInfoRecord))
          : ChildPayloadOfAtLeast(item, Type_Transform, sizeof(pl3::Transform));
  if (!placement) return 0;
  std::memcpy(copy, placement + (pad ? offsetof(PadStackInfoRecord, transform) : 0), sizeof *copy);
  copy->tx = copy->ty = 0;
  OriginRecord* origin = GetItemOrigin(item);
  std::int32_t ox = origin ? origin->x : 0, oy = origin ? origin->y : 0;
  std::free(origin);
  pl3::TransformVector(copy, ox, oy);
  copy->tx = -ox;
  copy->ty = -oy;
  return 1;
}

Tower* CopyPlacedItemToTemporary(const Tower* item, const pl3::Transform& copy, const pl3::Point* offset) {
  if (!ActiveWindowData) return nullptr;
  Tower* node = InsertEmptyEntity(GetTemporaryCopyRoot(), Type_Temporary);
  if (!node) return nullptr;
  if (offset) {
    const std::int32_t words[2] = {offset->x, offset->y};
    Tower* t = InsertEntity(node, sizeof words, Type_Offset, words);
    ReleaseTower(&t);
  }
  Tower* t = InsertEntity(node, sizeof copy, Type_Transform, &copy);
  ReleaseTower(&t);
  FillInsertionArrayFromInstance(item, &copy, node);
  return node;
}

void ReportMissingTransform() { ShowMessage(nullptr, "Error retrieving transform", "CopySymbolToInsertion"); }

Tower* CopySymbolToInsertion(const Tower* item, pl3::Point grab) {
  CurrentWindowData* w = ActiveWindowData;
  pl3::Transform copy{};
  if (!w || !PlacedItemCopyTransform(item, &copy)) {
    ReportMissingTransform();
    return nullptr;
  }
  const bool hasBlockOrigin = w->BlockOrigin.x || w->BlockOrigin.y;
  const pl3::Point offset{grab.x - w->BlockOrigin.x, grab.y - w->BlockOrigin.y};
  return CopyPlacedItemToTemporary(item, copy, hasBlockOrigin ? &offset : nullptr);
}

int BeginPlacingItem(HWND window, EntityRecord** /*pendingSlot*/, const Tower* item) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  CancelCurrentOperation(window, w);
  Tower* held = item ? DuplicateTower(item) : LoadAndInsertSymbolDefinition(window);
  if (!held) return 0;
  FreezeTowerSizes(held);
  ReleaseTower(&w->Selection);
  w->Selection = held;
  FillInsertionArray(held, &pl3::kIdentityTransform, 1, nullptr);
  w->InsertionTransform = pl3::kIdentityTransform;
  const auto* origin = static_cast<const std::int32_t*>(GetEntityData(held, Type_Origin));
  w->InsertionOrigin = origin ? pl3::Point{origin[0], origin[1]} : pl3::Point{};
  w->InsertionTransform.tx = -w->InsertionOrigin.x;
  w->InsertionTransform.ty = -w->InsertionOrigin.y;
  w->RoutingLayer = w->TopLayer;
  InsertionGhostPoint = w->Cursor;
  SnapXY(&InsertionGhostPoint.x, &InsertionGhostPoint.y, 0);
  UpdateStatusBar(window);
  InvalidateRect(window, nullptr, FALSE);
  return 1;
}

int SelectLayer(HWND window, std::uint8_t layer) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  const std::uint32_t savedLow = w->StateFlags & 0xFF;
  const auto restoreState = [&] { w->StateFlags = (w->StateFlags & ~0xFFu) | savedLow | kStateLayerOverride; };
  Tower* entry = w->design ? FindPadStackLayer(w->design, layer) : nullptr;
  if (entry) {
    ReleaseTower(&w->Selection);
    w->Selection = GetInfoTargetTower(entry, nullptr);
    if (!w->Selection) {
      ReleaseTower(&entry);
      ShowMessage(nullptr, "Unable to retrieve ShapeDef!", "SelectLayer");
      return 0;
    }
    TowerEntity(entry)->flags |= kEntitySelected;
    const std::uint8_t* info = PayloadOfAtLeast(TowerEntity(entry), sizeof(PadStackLayerRecord));
    pl3::Transform layerTransform = pl3::kIdentityTransform;
    if (info) std::memcpy(&layerTransform, info + offsetof(PadStackLayerRecord, transform), sizeof layerTransform);
    ReleaseTower(&entry);
    w->InsertionTransform = layerTransform;
    pl3::Box box{};
    const bool boxed = GetBox(w->Selection, &box) != 0;
    const auto* origin = static_cast<const std::int32_t*>(GetEntityData(w->Selection, Type_Origin));
    w->InsertionOrigin = origin ? pl3::Point{origin[0], origin[1]} : pl3::Point{};
    RecentreInsertion();
    w->OverrideLayer = layer;
    w->StateFlags |= kStateLayerOverride;
    // The ghost applies InsertionTransform to the array: its records stay in
    // the shape's own frame, under the window's placement transform only.
    FillInsertionArray(w->Selection, &w->PlacementTransform, 1, nullptr);
    restoreState();
    if (boxed) {
      GetRectangleBox(&box, &layerTransform);
      RedrawViewRect(window, &box, 1);
    }
    UpdateStatusBar(window);
    return 1;
  }
  w->OverrideLayer = layer;
  w->StateFlags |= kStateLayerOverride;
  ReleaseTower(&w->Selection);
  if (!w->RememberedShape) {
    w->Selection = LoadShapeForInsertion(window, w->design, "shape");
    if (w->Selection) w->RememberedShape = DuplicateTower(w->Selection);
  } else {
    w->Selection = DuplicateTower(w->RememberedShape);
    ReloadShapeInsertion(w->Selection);
  }
  restoreState();
  return w->Selection ? 2 : 0;
}

int SelectPadStackLayer(HWND window, std::uint8_t layer) {
  CurrentWindowData* w = ActiveWindowData;
  const int chosen = SelectLayer(window, layer);
  if (!w || chosen == 0) return 0;
  w->EditMode = chosen == 1 ? Mode_PlaceShape : Mode_AddNewShape;
  SetSelectionAndOptionsMenus(kShapeSelectionMenu);
  w->ViewFlags |= kViewShapePending;
  if (chosen == 2 && (layer == kPadStackInnerLayer || layer == kPadStackLastLayer) && w->KindOptions)
    w->KindOptions[0] &= static_cast<std::uint8_t>(~0x1u);
  w->RoutingLayer = layer;
  SnapWindowCursor(*w);
  return 1;
}

void RecentreInsertion() {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  pl3::Point mapped = w->InsertionOrigin;
  pl3::TransformPoint(&w->InsertionTransform, mapped.x, mapped.y);
  w->InsertionTransform.tx -= mapped.x;
  w->InsertionTransform.ty -= mapped.y;
}

void GhostInsertion(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  HDC dc = GetDC(window);
  GhostInsertionArrayOffset(dc, &w->InsertionTransform, InsertionGhostPoint.x, InsertionGhostPoint.y);
  ReleaseDC(window, dc);
}

void MoveInsertionGhost(HDC dc, pl3::Point cursor) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  SnapXY(&cursor.x, &cursor.y, 0);
  // The array's ghost carries the ratsnest lines: erasing it erases the old
  // lines, drawing it draws the lines recomputed in between.
  GhostInsertionArrayOffset(dc, &w->InsertionTransform, InsertionGhostPoint.x, InsertionGhostPoint.y);
  InsertionGhostPoint = cursor;
  if (CodeAt(w->Selection) == Type_SymbolDefinition) {
    UpdateMovingPoints();
    RefreshRatsnestLines();
  }
  GhostInsertionArrayOffset(dc, &w->InsertionTransform, InsertionGhostPoint.x, InsertionGhostPoint.y);
}

namespace {

// The ghost of a pending record, drawn with the routing layer shown.
void GhostPendingOnRoutingLayer(HWND window, const EntityRecord* record) {
  CurrentWindowData* w = ActiveWindowData;
  LayerRecord& routing = w->layerTable.layers[w->RoutingLayer];
  const std::uint32_t saved = routing.flags;
  routing.flags |= kLayerVisible;
  HDC dc = GetDC(window);
  GhostEntity(dc, record, 0);
  ReleaseDC(window, dc);
  routing.flags = saved;
}

// The designator copy (33) or attribute display (110) being placed.
void GhostPlacedCopy(HWND window, std::uint8_t mode, const Tower* copy) {
  HDC dc = GetDC(window);
  if (mode == Mode_PlaceDesignator)
    GhostDesignator(dc, copy);
  else
    GhostAttributeLocator(dc, copy);
  ReleaseDC(window, dc);
}

// The layer byte of the placed copy's info (233 or 310).
void TakeCopyLayer(CurrentWindowData& w, std::uint8_t mode) {
  const std::uint16_t code =
      mode == Mode_PlaceDesignator ? static_cast<std::uint16_t>(Type_DesignatorInfo) : kTypeAttributeLocatorInfo;
  if (const std::uint8_t* info = ChildPayloadOfAtLeast(w.TemporaryEntity, code, sizeof(DesignatorInfo)))
    w.RoutingLayer = info[offsetof(DesignatorInfo, layer)];
}

}  // namespace

void FlipInsertion(HWND window, EntityRecord** pendingSlot) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  EntityRecord* pending = pendingSlot ? *pendingSlot : nullptr;
  switch (w->EditMode) {
    case Mode_NewSymbol:
    case Mode_EditSymbol: {
      const std::uint16_t held = CodeAt(w->Selection);
      if (held != Type_SymbolDefinition && held != Type_SymbolInstance && held != Type_PadStackInfo) break;
      GhostInsertion(window);
      FlipInsertionToOtherSide(w->Selection);
      RecentreInsertion();
      w->ViewFlags ^= kViewDrawOtherSide;
      w->RoutingLayer = w->RoutingLayer == w->TopLayer ? w->BottomLayer : w->TopLayer;
      FollowRatsnest(*w);
      GhostInsertion(window);
      break;
    }
    case Mode_AddNewShape:
    case Mode_PlaceShape:
      MessageBeep(0);
      break;
    case Mode_PlaceDesignator:
    case Mode_PlaceAttributeLocator:
      if (!w->TemporaryEntity) break;
      GhostPlacedCopy(window, w->EditMode, w->TemporaryEntity);
      FlipInsertionToOtherSide(w->TemporaryEntity);
      GhostPlacedCopy(window, w->EditMode, w->TemporaryEntity);
      TakeCopyLayer(*w, w->EditMode);
      break;
    default:
      if (!pending || StoredCodeOfRecord(*pending) == Type_BoardOutlineLine) break;
      GhostPendingOnRoutingLayer(window, pending);
      FlipGraphicRecordSide(pending, StoredCodeOfRecord(*pending));
      GhostPendingOnRoutingLayer(window, pending);
      break;
  }
  UpdateStatusBar(window);
}

namespace {

int TurnInsertion(HWND window, EntityRecord** pendingSlot, pl3::Point point, const pl3::Transform& step,
                  bool byStep) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  EntityRecord* pending = pendingSlot ? *pendingSlot : nullptr;
  switch (w->EditMode) {
    case Mode_NewSymbol:
    case Mode_EditSymbol:
    case Mode_AddNewShape:
    case Mode_PlaceShape:
      pl3::ComposeLinearTransform(&w->InsertionTransform, &step);
      RecentreInsertion();
      FollowRatsnest(*w);
      SnapWindowCursor(*w);
      return 1;
    case Mode_AddNewString:
    case Mode_EditString: {
      if (!pending) return 0;
      HDC dc = GetDC(window);
      GhostEntity(dc, pending, 0);
      auto& text = pending->as<TextPayload>();
      text.textTransform.tx = text.textTransform.ty = 0;
      pl3::ComposeTransform(&text.textTransform, &step);
      pl3::Point at{point.x - w->CursorOffset.x, point.y - w->CursorOffset.y};
      SnapXY(&at.x, &at.y, 0);
      text.textTransform.tx = at.x;
      text.textTransform.ty = at.y;
      GhostEntity(dc, pending, 0);
      ReleaseDC(window, dc);
      return 1;
    }
    case Mode_AddNewDimensionerText:
    case Mode_AddNewAngleDimensionerText: {
      // The label of the dimensioner being placed turns about its own point;
      // a given transform is taken whole and drawn by the caller.
      if (!pending) return 0;
      pl3::Transform& label = pending->as<DimensionerPayload>().labelTransform;
      if (!byStep) {
        pl3::ComposeTransform(&label, &step);
        return 0;
      }
      HDC dc = GetDC(window);
      GhostEntity(dc, pending, 0);
      pl3::ComposeLinearTransform(&label, &step);
      GhostEntity(dc, pending, 0);
      ReleaseDC(window, dc);
      return 0;
    }
    case Mode_PlaceDesignator:
    case Mode_PlaceAttributeLocator: {
      auto* placement = static_cast<pl3::Transform*>(GetEntityData(w->TemporaryEntity, Type_Transform));
      if (!placement) return 0;
      GhostPlacedCopy(window, w->EditMode, w->TemporaryEntity);
      pl3::ComposeLinearTransform(placement, &step);
      GhostPlacedCopy(window, w->EditMode, w->TemporaryEntity);
      return 1;
    }
    default:
      break;
  }
  if (byStep && (w->EditMode == Mode_AddNewLocator || w->EditMode == Mode_PositionLocator)) {
    if (!pending) return 0;
    auto& locator = pending->as<LocatorPayload>();
    const std::uint16_t kind = locator.kind;
    const bool turns = w->EditMode == Mode_PositionLocator || kind == 6 || kind == 9 || kind == 10 || kind == 13 ||
                       kind == 14;
    if (!turns) return 0;
    GhostPendingOnRoutingLayer(window, pending);
    RotateLocatorText(&locator, &step == &InsertionRotationSteps[0] ? 1 : 0);
    GhostPendingOnRoutingLayer(window, pending);
    return 1;
  }
  if (byStep && w->EditMode == Mode_PlaceMacroBlock) {
    RotateMacroBlock(window, pending, &step);
    return 0;
  }
  if (pending && StoredCodeOfRecord(*pending) == Type_Rectangle) {
    GhostPendingOnRoutingLayer(window, pending);
    pl3::ComposeTransform(&pending->head().transform, &step);
    GhostPendingOnRoutingLayer(window, pending);
  }
  return 0;
}

}  // namespace

int RotateInsertion(HWND window, EntityRecord** pendingSlot, pl3::Point point, int direction) {
  CurrentWindowData* w = ActiveWindowData;
  int which = direction ? 0 : 1;
  // A copy placed with a symbol on the other side turns the other way.
  if (w && w->editorKind == kEditorPcb &&
      (w->EditMode == Mode_PlaceDesignator || w->EditMode == Mode_PlaceAttributeLocator)) {
    Tower* owner = GetEnclosingTower(w->TemporaryEntity, Type_SymbolInstance);
    if (InstanceOnOtherSide(owner)) which = 1 - which;
    ReleaseTower(&owner);
  }
  return TurnInsertion(window, pendingSlot, point, InsertionRotationSteps[which], true);
}

int RotateInsertionBy(HWND window, EntityRecord** pendingSlot, pl3::Point point, const pl3::Transform* step) {
  if (!step) return 0;
  return TurnInsertion(window, pendingSlot, point, *step, false);
}

void RegisterInsertionWalkHandlers() { WalkHandlers.addEntityToInsertion = &AddEntityToInsertion; }
