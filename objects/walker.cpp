#include "objects/walker.h"

#include <cstring>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/design_helpers.h"
#include "objects/item_layers.h"
#include "objects/type_codes.h"
#include "objects/walker_actions.h"
#include "store/tower.h"

namespace {

std::uint32_t WindowKind() { return ActiveWindowData ? ActiveWindowData->editorKind : 0; }
std::uint32_t FilterWordA() { return ActiveWindowData ? ActiveWindowData->ViewFlags : 0; }

std::uint16_t TypeFlagsOf(std::uint16_t code) { return code < kWalkTypeCount ? WalkTypeFlags[code] : 0; }

bool IsWalkedGraphic(std::uint16_t code) {
  return (code >= 1 && code <= 11) || code == 23 || code == 24 || code == 28 || code == 29 ||
         (code >= 35 && code <= 37) || (code >= 41 && code <= 47) || code == 49;
}

bool IsSchematicKind(std::uint32_t kind) { return kind == kEditorSchematicSymbol || kind == kEditorSchematic; }

bool PassesBoxTest(Tower* entity, const pl3::Transform* transform, void* param) {
  if (!WalkHandlers.testBoundingBox) return true;
  return WalkHandlers.testBoundingBox(entity, transform, static_cast<const pl3::Box*>(param)) != 0;
}

// Bit 3 of the type word: the item's layer must be of kind 2, 5, 6, 7 or 11.
bool PassesLayerKind(const Entity* e) {
  if (!(TypeFlagsOf(e->typeCode) & kWalkTypeLayerKind)) return true;
  if (!ActiveWindowData || e->payloadSize < 1) return false;
  const std::uint16_t kind = ActiveWindowData->layerTable.layers[EntityPayload(e)[0]].kind;
  return kind == 2 || kind == 5 || kind == 6 || kind == 7 || kind == 11;
}

bool InSelectionList(const Entity* e) {
  if (!ActiveWindowData) return false;
  for (const SelectionInfo* s = ActiveWindowData->SelectionList; s; s = s->next) {
    if ((s->original && TowerEntity(s->original) == e) || (s->workingCopy && TowerEntity(s->workingCopy) == e)) {
      return true;
    }
  }
  return false;
}

// Step 4: the selection filters. True when the entity is passed over.
bool SkippedBySelection(const Entity* e) {
  const std::uint32_t wordA = FilterWordA();
  if (!(wordA & kViewSelectionListOnly)) {
    if (!(e->flags & kEntitySelected)) return false;
    return !((wordA & kViewIncludeSelected) && !(e->flags & kEntitySelectedPart));
  }
  if (ActiveWindowData && ActiveWindowData->SelectionListUnrestricted) return false;
  return !InSelectionList(e);
}

bool PathHasCode(const Tower* t, std::uint16_t code) {
  for (int k = 0; k <= t->lastLevel; ++k) {
    if (t->levels[k].typeCode == code) return true;
  }
  return false;
}

// Walks the children of the entity the walking Tower stands on.
std::int32_t WalkChildren(const pl3::Transform* transform, const Tower* walking, void* param, std::uint8_t mode,
                          std::uint8_t action, std::int32_t result) {
  if (walking->lastLevel + 1 >= kTowerMaxLevels) return result;
  Tower* below = DuplicateTowerToLevel(walking, static_cast<std::uint8_t>(walking->lastLevel + 1));
  result = PerformTowerActionRecursive(transform, below, param, mode, action, result, 1);
  FreeTower(below);
  return result;
}

enum class Step { Next, SkipCode };

// Makes `t` (as deep as `from`) stand on from's entities: every level fixed
// and positioned, as a Tower that names one item.
void StandOn(Tower* t, const Tower* from) {
  for (int k = 0; k <= from->lastLevel; ++k) {
    t->levels[k] = from->levels[k];
    t->levels[k].flags = kLevelPositioned;
  }
  LastLevel(t).flags |= kLevelLast;
}

Tower* NewStandingTower(const Tower* from) {
  Tower* t = DuplicateTower(from);
  StandOn(t, from);
  return t;
}

// Where the walk goes on after its entity was deleted: the entity's older
// sibling, else the first entity of the next group (both taken before the
// handler ran). The next search returns that entity without advancing.
struct ResumePoint {
  NodeRef older;
  NodeRef group;
  NodeRef nextGroup;
};

ResumePoint ResumePointOf(const Tower* walking) {
  const TowerLevel& last = LastLevel(walking);
  const TypeGroup* group = NodeAt<TypeGroup>(last.group);
  return {NodeAt<Entity>(last.entity)->next, last.group, group ? group->next : 0};
}

// False when there is nothing left to walk.
bool ResumeAfterDelete(Tower* walking, const ResumePoint& at, bool skipCode) {
  TowerLevel& last = LastLevel(walking);
  if (at.older && !skipCode) {
    last.entity = at.older;
    last.group = at.group;
  } else if (at.nextGroup) {
    const TypeGroup* group = NodeAt<TypeGroup>(at.nextGroup);
    last.group = at.nextGroup;
    last.typeCode = group->typeCode;
    last.entity = group->firstChild;
  } else {
    return false;
  }
  last.flags = static_cast<std::uint16_t>((last.flags | kLevelPositioned) & ~(kLevelAdvance | kLevelSkip));
  return true;
}

// Step 8: the per-code filters and the dispatch of one entity.
Step WalkEntity(const pl3::Transform* transform, Tower* walking, void* param, std::uint8_t mode,
                std::uint8_t action, std::int32_t* result) {
  Entity* e = TowerEntity(walking);
  const std::uint16_t code = e->typeCode;
  const std::uint32_t wordB = ActiveWindowData ? ActiveWindowData->WalkFlags : 0;
  const std::uint32_t kind = WindowKind();
  if (IsWalkedGraphic(code)) {
    if ((wordB & kWalkOnlyInSymbols) && !(WalkStateFlags & kWalkStateInSymbol)) return Step::SkipCode;
    if ((wordB & kWalkOnlyInPadStacks) && !(WalkStateFlags & kWalkStateInPadStack)) {
      const bool viaSizedHole = code == Type_Hole && e->payloadSize > 49 && (EntityPayload(e)[49] & 0x08);
      if (!viaSizedHole) return Step::SkipCode;
    }
    if (!IsItemLayerEnabled(walking, action)) return Step::Next;
    if (!PassesLayerKind(e)) return Step::Next;
    if (!PassesBoxTest(walking, transform, param)) return Step::Next;
    DispatchWalkedEntity(transform, action, walking, param, mode, result);
    return Step::Next;
  }
  switch (code) {
    case Type_Page:
      *result = WalkChildren(transform, walking, param, mode, action, *result);
      return Step::Next;
    case Type_Centroid:
    case Type_BoardOutlineArc:
    case Type_BoardOutlineLine:
      DispatchWalkedEntity(transform, action, walking, param, mode, result);
      return Step::Next;
    case Type_Spiral:
    case Type_AngleDimensioner:
    case Type_Dimensioner:
      if (IsItemLayerEnabled(walking, action)) DispatchWalkedEntity(transform, action, walking, param, mode, result);
      return Step::Next;
    case Type_AttributeLocator:
      if (kind == kEditorSchematic) {
        if (action == WalkAction_ClearIndexedSize) {
          DispatchWalkedEntity(transform, action, walking, param, mode, result);
        }
        if (!(WalkStateFlags & kWalkStateInSymbol)) {
          if (WalkHandlers.isLocatorShown && !WalkHandlers.isLocatorShown(walking)) return Step::Next;
          if (!PassesBoxTest(walking, transform, param)) return Step::Next;
        }
      } else if (kind == kEditorSchematicSymbol) {
        if (!PassesBoxTest(walking, transform, param)) return Step::Next;
      }
      DispatchWalkedEntity(transform, action, walking, param, mode, result);
      return Step::Next;
    case 25:
    case 26:
    case 30:
    case 33:
    case Type_Datum:
    case Type_PadStackInstance:
    case Type_PadStackLayerInfo:
    case Type_InfoBoxHier:
      DispatchWalkedEntity(transform, action, walking, param, mode, result);
      return Step::Next;
    case Type_SchematicSymbol:
      WalkStateFlags |= kWalkStateInSymbol;
      DispatchWalkedEntity(transform, action, walking, param, mode, result);
      return Step::Next;
    case Type_SymbolInstance:
    case Type_Shape:
    case Type_SymbolInstanceInfo:
      if (!PassesBoxTest(walking, transform, param)) return Step::Next;
      if (code == Type_Shape) WalkStateFlags |= kWalkStateInShape;
      if (code == Type_SymbolInstanceInfo) WalkStateFlags |= kWalkStateInSymbol;
      DispatchWalkedEntity(transform, action, walking, param, mode, result);
      return Step::Next;
    case Type_PadStackInfo:
      if (PathHasCode(walking, Type_SymbolDefinition)) {
        DispatchWalkedEntity(transform, action, walking, param, mode, result);
      }
      return Step::Next;
    case Type_PadStackInstanceInfo:
      WalkStateFlags |= kWalkStateInPadStack;
      DispatchWalkedEntity(transform, action, walking, param, 0, result);
      return Step::Next;
    case Type_Designator:
    case Type_DesignatorData:
    case Type_NetConflicts:
    case 309:
      if (DisplayOptions & kDisplayHideAttributes) return Step::Next;
      if (!PassesBoxTest(walking, transform, param)) return Step::Next;
      if (!IsItemLayerEnabled(walking, action)) return Step::Next;
      DispatchWalkedEntity(transform, action, walking, param, mode, result);
      return Step::Next;
    case Type_PadStackInstanceHier: {
      if (!PassesBoxTest(walking, transform, param)) return Step::Next;
      const std::uint8_t target = pl3::g_raster.spanTarget;
      const std::uint8_t hitMode = (target == pl3::kTargetNearestHit || target == pl3::kTargetAreaPick) ? 1 : 0;
      *result = WalkChildren(transform, walking, param, hitMode, action, -1);
      return Step::Next;
    }
    case Type_LabelHier:
      if (kind != kEditorPcbSymbol || action == WalkAction_ResolveSizes) return Step::Next;
      if (ActiveWindowData) ActiveWindowData->WalkFlags &= ~kWalkHighlighting;
      *result = WalkChildren(transform, walking, param, 0, action, -1);
      return Step::Next;
    case 163: {
      const WalkHandler handler =
          action == WalkAction_MarkUsedSizes ? WalkHandlers.walkContainerEntity : WalkHandlers.drawPl2Symbol;
      if (handler) *result = handler(transform, walking, param, mode, action, result);
      return Step::Next;
    }
    case Type_Label:
      if ((DisplayOptions & kDisplayHideLabels) && !(WalkStateFlags & kWalkStateInSymbol)) return Step::Next;
      if (kind == kEditorPcbSymbol && !(ActiveWindowData && ActiveWindowData->ShowLabels)) return Step::Next;
      DispatchWalkedEntity(transform, action, walking, param, mode, result);
      return Step::Next;
    default:
      return Step::SkipCode;
  }
}

}  // namespace

std::int32_t PerformTowerAction(const pl3::Transform* transform, const Tower* t, void* param, std::uint8_t mode,
                                std::uint8_t action, std::int32_t result) {
  Tower* children = GetAllChildrenTower(t);
  if (!children) return result;
  result = PerformTowerActionRecursive(transform, children, param, mode, action, result, 1);
  ReleaseTower(&children);
  return result;
}

std::int32_t PerformTowerActionRecursive(const pl3::Transform* transform, const Tower* w, void* param,
                                         std::uint8_t mode, std::uint8_t action, std::int32_t result,
                                         std::uint8_t allChildren) {
  Tower* walking = DuplicateTower(w);
  constexpr std::uint16_t kSearchFlags = kLevelMatch | kLevelAny | kLevelAdvance | kLevelPositioned | kLevelLast;
  for (int k = 0; k < walking->lastLevel; ++k) {
    if (allChildren) {
      walking->levels[k].flags &= ~kSearchFlags;
    } else {
      walking->levels[k].flags |= kLevelPositioned;
    }
  }
  TowerLevel& last = LastLevel(walking);
  last.flags &= ~kSearchFlags;
  last.flags |= kLevelAny | kLevelAdvance | (allChildren ? kLevelLast : kLevelPositioned);

  const std::uint8_t savedState = WalkStateFlags;
  const std::uint32_t savedWordB = ActiveWindowData ? ActiveWindowData->WalkFlags : 0;
  pl3::TowerRef callersEntity = pl3::g_raster.currentEntity;
  pl3::TowerRef published = nullptr;
  // Handlers get a Tower of their own on the entity: one that deletes the
  // entity through it leaves the walking Tower able to go on.
  Tower* handed = DuplicateTower(walking);
  bool resumed = false;

  while (Entity* e = FindNextEntity(walking)) {
    if (resumed) {
      LastLevel(walking).flags |= kLevelAdvance;
      resumed = false;
    }
    const bool isLast = (FilterWordA() & kViewStopAfterStopTower) && ActiveWindowData &&
                        ActiveWindowData->StopTower && TowerEntity(ActiveWindowData->StopTower) == e;
    if (!SkippedBySelection(e)) {
      if (ActiveWindowData) {
        ActiveWindowData->WalkFlags = savedWordB;
        if (e->flags & kEntityHighlighted) {
          ActiveWindowData->WalkFlags |= kWalkHighlighting;
          pl3::g_raster.fillValue = HighlightFillColour;
        }
      }
      if (!(TypeFlagsOf(e->typeCode) & kWalkTypeWanted)) {
        SkipToNextType(walking);
      } else {
        if (mode != 1) {
          pl3::ReleaseTowerRef(published);
          published = NewStandingTower(walking);
          pl3::g_raster.currentEntity = published;
          pl3::g_raster.pickPending = 1;
        }
        const ResumePoint resume = ResumePointOf(walking);
        StandOn(handed, walking);
        const Step step = WalkEntity(transform, handed, param, mode, action, &result);
        WalkStateFlags = savedState;
        if (!(LastLevel(handed).flags & kLevelPositioned)) {
          if (!ResumeAfterDelete(walking, resume, step == Step::SkipCode)) break;
          resumed = true;
        } else if (step == Step::SkipCode) {
          SkipToNextType(walking);
        }
        const bool stopsOnZero = action == 8 || action == WalkAction_MeasureClosest;
        if (stopsOnZero && mode != 0 && result == 0) break;
      }
    }
    if (isLast) break;
  }

  FreeTower(handed);
  FreeTower(walking);
  pl3::ReleaseTowerRef(published);
  pl3::g_raster.currentEntity = callersEntity;
  WalkStateFlags = savedState;
  if (ActiveWindowData) ActiveWindowData->WalkFlags = savedWordB;
  return result;
}

namespace {

// The actions whose handlers meet a symbol or pad stack by walking into its
// definition: drawing, insertion and ghost copies, picking and hit tests.
bool WalksIntoDefinition(std::uint8_t action) {
  switch (action) {
    case 0: case 1: case 8: case 10: case 15: case 17: case 21: case 22:
    case 24: case 27: case 30: case 32: case 33: case 37:
      return true;
    default:
      return false;
  }
}

WalkHandler DefinitionWalkOf(std::uint16_t code) {
  switch (code) {
    case Type_SymbolInstanceInfo: return WalkHandlers.symbolInstanceInfo;
    case Type_PadStackInfo: return WalkHandlers.padStackInfo;
    case Type_PadStackLayerInfo: return WalkHandlers.padStackLayer;
    case Type_PadStackInstanceInfo: return WalkHandlers.padStackInstanceInfo;
    default: return nullptr;
  }
}

}  // namespace

void DispatchWalkedEntity(const pl3::Transform* transform, std::uint8_t action, Tower* entity, void* param,
                          std::uint8_t mode, std::int32_t* result) {
  if (WalksIntoDefinition(action)) {
    if (const WalkHandler walk = DefinitionWalkOf(LastLevel(entity).typeCode)) {
      *result = walk(transform, entity, param, mode, action, result);
      return;
    }
  }
  const auto call = [&](WalkHandler handler, bool add) {
    if (!handler) return;
    const std::int32_t value = handler(transform, entity, param, mode, action, result);
    *result = add ? *result + value : value;
  };
  switch (action) {
    case 0:
    case 10:
    case 17:
    case 21:
    case 22:
    case 24:
    case 27:
    case 32:
    case 33:
    case 37:
      call(WalkHandlers.drawWalkedEntity, false);
      return;
    case 1:
    case 30:
      call(WalkHandlers.addEntityToInsertion, false);
      return;
    case 3:
      *result = OffsetWalkedItem(entity);
      return;
    case 4: {
      Entity* e = TowerEntity(entity);
      e->flags = static_cast<std::uint16_t>((e->flags | WalkFlagSetMask) & WalkFlagKeepMask);
      *result = 1;
      return;
    }
    case 6:
      call(WalkHandlers.extendBoxByEntity, false);
      if (WalkHandlers.extendBoxByEntity) *result = 1;
      return;
    case 11:
      call(WalkHandlers.changeWalkedLayer, true);
      return;
    case 12:
      call(WalkHandlers.deleteWalkedEntity, true);
      return;
    case 13:
      *result += ClearIndexedSizeFlag(entity);
      return;
    case 14:
      call(WalkHandlers.resolveItemSizes, true);
      return;
    case 15:
      if (WalkHandlers.measureClosestEntity) {
        WalkHandlers.measureClosestEntity(transform, entity, param, mode, action, result);
      }
      return;
    case 16:
      if (TowerEntity(entity)->flags & kEntitySelected) return;
      call(IsSchematicKind(WindowKind()) ? WalkHandlers.addAttachedWiresToSelection
                                         : WalkHandlers.collectRubberbandEntity,
           true);
      return;
    case 18:
      *result += MarkUsedSizes(entity);
      return;
    case 26:
      MarkLayerPresence(entity, action);
      return;
    case 28:
      if (LastLevel(entity).typeCode == Type_Track) CollectJoinableTrack(entity, static_cast<JoinContext*>(param));
      return;
    default:
      return;
  }
}

void ClearSelection() {
  if (WalkHandlers.freeWindowBlockList) WalkHandlers.freeWindowBlockList();
  CurrentWindowData* window = ActiveWindowData;
  if (!window) return;
  if (Entity* selected = TowerEntity(window->Selection)) {
    selected->flags &= static_cast<std::uint16_t>(~(kEntitySelected | kEntitySelectedPart));
  }
  ReleaseTower(&window->Selection);
  if (window->TemporaryEntity) {
    if (TowerEntity(window->TemporaryEntity)) DeleteEntity(window->TemporaryEntity);
    ReleaseTower(&window->TemporaryEntity);
  }
}
