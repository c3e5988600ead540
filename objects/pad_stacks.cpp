#include "objects/pad_stacks.h"

#include <algorithm>
#include <cstring>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/transform.h"
#include "objects/drawing_seams.h"
#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "objects/symbol_seams.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "objects/walker.h"
#include "objects/walker_actions.h"
#include "platform/reset_hooks.h"
#include "store/filing_seams.h"
#include "store/seams.h"
#include "store/tower.h"

std::uint32_t WalkNetIds[2] = {0, 0};

namespace {

void ResetPadStackGlobals() {
  WalkNetIds[0] = 0;
  WalkNetIds[1] = 0;
}
const bool g_registered = pl3::RegisterGlobalReset(&ResetPadStackGlobals);

constexpr std::uint32_t kLayerInfoSize = 44;
constexpr std::uint32_t kPadInfoSize = 36;
constexpr std::uint8_t kModeInPadLayer = 0x08;
constexpr std::uint8_t kFirstInnerLayer = 2;
constexpr std::uint8_t kLastInnerLayer = 31;

// The 116 payload of a pad: the record itself or the 141's child.
const std::uint8_t* PadInfoOf(const Tower* pad) {
  Entity* e = TowerEntity(pad);
  if (!e) return nullptr;
  if (e->typeCode == Type_PadStackInfo) return PayloadOfAtLeast(e, kPadInfoSize);
  return ChildPayloadOfAtLeast(pad, Type_PadStackInfo, kPadInfoSize);
}

pl3::Transform TransformAt(const std::uint8_t* p, std::uint32_t offset) {
  pl3::Transform t;
  std::memcpy(&t, p + offset, sizeof t);
  return t;
}

// The layer entries (111) of a pad's definition, each taken to the opposite
// side for a pad on the other side; calls visit(layer) for each.
template <typename Visit>
void ForEachPadLayer(const Tower* pad, Visit visit) {
  const std::uint8_t* info = PadInfoOf(pad);
  Tower* stack = GetPadStackDef(pad);
  Tower* entries = stack ? GetChildTower(stack, Type_PadStackLayerInfo) : nullptr;
  while (entries && info) {
    Entity* e = FindNextEntity(entries);
    if (!e) break;
    const std::uint8_t* entry = PayloadOfAtLeast(e, 5);
    if (!entry) continue;
    std::uint8_t layer = entry[4];
    if ((ReadU32(info, 0) & 1) && ActiveWindowData) {
      const std::uint8_t opposite = ActiveWindowData->layerTable.layers[layer].oppositeLayer;
      if (opposite != 255) layer = opposite;
    }
    visit(layer);
  }
  ReleaseTower(&entries);
  ReleaseTower(&stack);
}

}  // namespace

// ---- Finding things ------------------------------------------------------------

Tower* GetPadStackDef(const Tower* pad) {
  const std::uint8_t* info = PadInfoOf(pad);
  if (!info) return nullptr;
  Tower* symbol = GetEnclosingTower(pad, Type_SymbolDefinition);
  if (!symbol) {
    ShowMessage(nullptr, "Unable to locate parent symbol", "GetPadStackDef");
    return nullptr;
  }
  Tower* stack = ResolveReferenceUnder(symbol, ReadU32(info, 8));
  ReleaseTower(&symbol);
  return stack;
}

int GetPadCentre(const Tower* pad, pl3::Point* centre) {
  const std::uint8_t* info = PadInfoOf(pad);
  Tower* stack = info ? GetPadStackDef(pad) : nullptr;
  const std::uint8_t* origin = ChildPayloadOfAtLeast(stack, Type_Origin, 8);
  int found = 0;
  if (origin) {
    const pl3::Transform t = TransformAt(info, 12);
    std::int32_t x = ReadI32(origin, 0), y = ReadI32(origin, 4);
    pl3::TransformPoint(&t, x, y);
    *centre = {x, y};
    found = 1;
  }
  ReleaseTower(&stack);
  return found;
}

Tower* GetInfoTargetTower(const Tower* record, const Tower* design) {
  const std::uint8_t* p = PayloadOfAtLeast(TowerEntity(record), 12);
  if (!p) return nullptr;
  if (design) return ResolveReferenceUnder(design, ReadU32(p, 8));
  if (record->lastLevel < 1) return nullptr;
  Tower* parent = DuplicateTowerToLevel(record, static_cast<std::uint8_t>(record->lastLevel - 1));
  MarkTowerPathPositioned(parent);
  LastLevel(parent).flags = kLevelLast | kLevelPositioned;
  Tower* target = ResolveReferenceUnder(parent, ReadU32(p, 8));
  ReleaseTower(&parent);
  return target;
}

Tower* FindDefinitionPadStackInstance(const Tower* padStackInstanceInfo, const Tower* design) {
  const std::uint8_t* info = PayloadOfAtLeast(TowerEntity(padStackInstanceInfo), 8);
  if (!info || !design) return nullptr;
  Tower* instance = GetEnclosingTower(padStackInstanceInfo, Type_SymbolInstance);
  const std::uint8_t* symbolInfo = ChildPayloadOfAtLeast(instance, Type_SymbolInstanceInfo, 8);
  Tower* definition = symbolInfo ? ResolveReferenceUnder(design, ReadU32(symbolInfo, 4)) : nullptr;
  ReleaseTower(&instance);
  if (!definition) return nullptr;
  const std::uint32_t xref = ReadU32(info, 4);
  Tower* pads = GetChildTower(definition, Type_PadStackInstanceHier);
  ReleaseTower(&definition);
  while (pads && FindNextEntity(pads)) {
    const std::uint8_t* padInfo = ChildPayloadOfAtLeast(pads, Type_PadStackInfo, 8);
    if (padInfo && ReadU32(padInfo, 4) == xref) {
      LastLevel(pads).flags = kLevelLast | kLevelPositioned;
      return pads;
    }
  }
  ReleaseTower(&pads);
  return nullptr;
}

Tower* FindDefinitionPadStackInstance(const Tower* padStackInstanceInfo) {
  return FindDefinitionPadStackInstance(padStackInstanceInfo, ActiveWindowData ? ActiveWindowData->design : nullptr);
}

namespace {

bool InstanceHasXref(const Tower* instance, std::uint32_t xref) {
  Tower* infos = GetChildTower(instance, Type_PadStackInstanceInfo);
  bool found = false;
  while (!found && infos) {
    Entity* e = FindNextEntity(infos);
    if (!e) break;
    const std::uint8_t* p = PayloadOfAtLeast(e, 8);
    found = p && ReadU32(p, 4) == xref;
  }
  ReleaseTower(&infos);
  return found;
}

}  // namespace

int AddPadStackInstanceInfos(const Tower* instance) {
  Tower* definition = GetInstanceSymbolDef(instance);
  if (!definition) return 1;
  Tower* pads = GetChildTower(definition, Type_PadStackInstanceHier);
  ReleaseTower(&definition);
  while (pads) {
    Entity* pad = FindNextEntity(pads);
    if (!pad) break;
    const std::uint8_t* padInfo = ChildPayloadOfAtLeast(pads, Type_PadStackInfo, 8);
    if (!padInfo) continue;
    const std::uint32_t xref = ReadU32(padInfo, 4);
    if (InstanceHasXref(instance, xref)) continue;
    PadStackInstanceInfo record{};  // the text field starts zeroed
    record.flags = kPadInstanceReferenceSet;
    record.xref = xref;
    record.padReference = NodeRefOf(pad);
    Tower* inserted = InsertEntity(instance, sizeof record, Type_PadStackInstanceInfo, &record);
    ReleaseTower(&inserted);
  }
  ReleaseTower(&pads);
  return 1;
}

int GetPadPositionByNetIds(const std::uint32_t netIds[2], std::int32_t* x, std::int32_t* y) {
  const Tower* design = ActiveWindowData ? ActiveWindowData->design : nullptr;
  if (!design) return 0;
  Tower* instances = GetChildTower(design, Type_SymbolInstance);
  int found = 0;
  while (!found && instances && FindNextEntity(instances)) {
    LastLevel(instances).flags |= kLevelPositioned;
    Tower* infos = GetChildTower(instances, Type_PadStackInstanceInfo);
    while (!found && infos) {
      Entity* e = FindNextEntity(infos);
      if (!e) break;
      const std::uint8_t* p = PayloadOfAtLeast(e, 16);
      if (!p || ReadU32(p, 8) != netIds[0] || ReadU32(p, 12) != netIds[1]) continue;
      LastLevel(infos).flags = kLevelLast | kLevelPositioned;
      Tower* pad = FindDefinitionPadStackInstance(infos, design);
      Tower* stack = pad ? GetPadStackDef(pad) : nullptr;
      const std::uint8_t* origin = ChildPayloadOfAtLeast(stack, Type_Origin, 8);
      const std::uint8_t* padInfo = PadInfoOf(pad);
      if (origin && padInfo) {
        pl3::Transform t = TransformAt(padInfo, 12);
        pl3::Transform placement;
        GetOwnTransform(&placement, instances);
        pl3::ComposeTransform(&t, &placement);
        std::int32_t px = ReadI32(origin, 0);
        std::int32_t py = ReadI32(origin, 4);
        pl3::TransformPoint(&t, px, py);
        *x = px;
        *y = py;
        found = 1;
      }
      ReleaseTower(&stack);
      ReleaseTower(&pad);
    }
    ReleaseTower(&infos);
  }
  ReleaseTower(&instances);
  return found;
}

// ---- Layer range ---------------------------------------------------------------

std::uint8_t GetPadLowestLayer(const Tower* pad) {
  std::uint8_t lowest = 255;
  ForEachPadLayer(pad, [&](std::uint8_t layer) {
    if (layer < lowest) lowest = layer;
  });
  return lowest;
}

std::uint8_t GetPadHighestLayer(const Tower* pad) {
  std::uint8_t highest = 0;
  ForEachPadLayer(pad, [&](std::uint8_t layer) {
    if (layer > highest) highest = layer;
  });
  return highest;
}

int GetPadStackLayerRange(const Tower* pad, std::uint8_t top, std::uint8_t bottom, std::uint8_t* low,
                          std::uint8_t* high) {
  std::uint8_t lowest = 255, highest = 0;
  bool any = false;
  ForEachPadLayer(pad, [&](std::uint8_t layer) {
    std::uint8_t from = layer, to = layer;
    if (layer == kPadStackLayerTop) from = to = top;
    else if (layer == kPadStackLayerBottom) from = to = bottom;
    else if (layer == kPadStackLayerAll) from = top, to = bottom;
    lowest = std::min({lowest, from, to});
    highest = std::max({highest, from, to});
    any = true;
  });
  if (!any) return 0;
  *low = lowest;
  *high = highest;
  return 1;
}

// ---- Boxes and moves ------------------------------------------------------------

pl3::Box* GetPadStackInstanceBox(const Tower* pad, pl3::Box* box) {
  Tower* stack = GetPadStackDef(pad);
  if (!stack) {
    ShowAndLogError(FrameWindow, "Unable to get pad def", "GetPadStackInstanceBox", 1);
    return nullptr;
  }
  const std::uint8_t* stored = ChildPayloadOfAtLeast(stack, Type_BoundingBox, sizeof(pl3::Box));
  ReleaseTower(&stack);
  const std::uint8_t* info = PadInfoOf(pad);
  if (!stored || !info) return nullptr;
  std::memcpy(box, stored, sizeof *box);
  const pl3::Transform t = TransformAt(info, 12);
  GetRectangleBox(box, &t);
  return box;
}

int GetPadStackLayerBox(const Tower* layerEntry, pl3::Box* box) {
  const std::uint8_t* entry = PayloadOfAtLeast(TowerEntity(layerEntry), kLayerInfoSize);
  if (!entry) return 0;
  Tower* shape = GetInfoTargetTower(layerEntry, nullptr);
  if (!shape) return 0;
  pl3::Box found = *box;
  const int ok = GetItemBox(shape, &found);
  ReleaseTower(&shape);
  if (!ok) return 0;
  const pl3::Transform t = TransformAt(entry, 20);
  GetRectangleBox(&found, &t);
  *box = found;
  return 1;
}

std::uint8_t* OffsetPadStackInfo(const Tower* pad, pl3::Point delta) {
  std::uint8_t* info = ChildPayloadOfAtLeast(pad, Type_PadStackInfo, kPadInfoSize);
  if (!info) return nullptr;
  WriteI32(info, 28, static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadI32(info, 28)) +
                                               static_cast<std::uint32_t>(delta.x)));
  WriteI32(info, 32, static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadI32(info, 32)) +
                                               static_cast<std::uint32_t>(delta.y)));
  return info;
}

// ---- Walker handlers ---------------------------------------------------------------

std::int32_t ProcessFoundPadStackInfo(void* dc, const Tower* padInfo, const pl3::Transform* transform,
                                      std::uint8_t action, std::uint8_t mode) {
  CurrentWindowData* w = ActiveWindowData;
  const std::uint8_t* info = PayloadOfAtLeast(TowerEntity(padInfo), kPadInfoSize);
  if (!w || !info) return 0;
  const std::uint8_t* savedPadInfo = w->CurrentPadStackInfo;
  const std::uint32_t savedView = w->ViewFlags;
  const std::uint32_t savedWalk = w->WalkFlags;
  const std::uint8_t savedMode = WalkModeByte;
  const auto restore = [&] {
    w->CurrentPadStackInfo = savedPadInfo;
    WalkModeByte = savedMode;
    w->ViewFlags = savedView;
    w->WalkFlags = savedWalk;
  };

  pl3::Transform composed;
  GetTransform(&composed, padInfo, transform);
  if (ReadU32(info, 0) & 1) w->ViewFlags ^= kViewOtherSide;
  w->WalkFlags |= kWalkInPadStack;
  w->DrawingLayer = w->TopLayer;

  Tower* symbol = GetEnclosingTower(padInfo, Type_SymbolDefinition);
  if (!symbol) {
    ShowMessage(nullptr, "Internal Error - unable to get Symbol Def parent tower", "ProcessFoundPadStackInfo");
    restore();
    return 0;
  }
  Tower* stack = ResolveReferenceUnder(symbol, ReadU32(info, 8));
  ReleaseTower(&symbol);
  if (!stack) {
    restore();
    return 0;
  }
  if (action == 32 || action == 33) {
    if (const std::uint8_t* options = ChildPayloadOfAtLeast(stack, kTypePadStackOptions, 4)) {
      const std::uint32_t word = ReadU32(options, 0);
      if (word & 1) w->WalkFlags &= ~0x1u;
      if (word & 2) w->WalkFlags &= ~0x2u;
    }
  }
  const std::uint8_t* stackInfo = ChildPayloadOfAtLeast(stack, Type_PadStackDefinitionInfo, 1);
  SurfaceMountPadFlag = stackInfo ? (stackInfo[0] & 1) : 0;
  WalkModeByte |= kModeInPadStack;
  w->CurrentPadStackInfo = info;
  const std::int32_t result = PerformTowerAction(&composed, stack, dc, mode, action, 0);
  ReleaseTower(&stack);
  restore();
  return result;
}

std::int32_t DrawPadStackLayer(void* dc, const Tower* layerEntry, const pl3::Transform* transform,
                               std::uint8_t action, std::uint8_t mode) {
  CurrentWindowData* w = ActiveWindowData;
  const std::uint8_t* entry = PayloadOfAtLeast(TowerEntity(layerEntry), kLayerInfoSize);
  if (!w || !entry) return -1;
  const std::uint8_t savedMode = WalkModeByte;
  const std::uint32_t savedWalk = w->WalkFlags;
  const std::uint8_t savedLayer = w->DrawingLayer;

  pl3::Transform composed;
  GetTransform(&composed, layerEntry, transform);
  Tower* shape = GetInfoTargetTower(layerEntry, nullptr);
  if (!shape) {
    ShowMessage(FrameWindow, "Error - Shape not found", "DrawPadStackLayer");
    return -1;
  }
  w->WalkFlags |= kWalkInPadStack;
  WalkModeByte |= kModeInPadLayer;

  const std::uint8_t layer = entry[4];
  const bool allInner = (entry[6] & kPadLayerAllInner) != 0;
  std::int32_t result = -1;
  const auto walk = [&] { return PerformTowerAction(&composed, shape, dc, mode, action, 0); };
  const auto walkOn = [&](std::uint8_t on) {
    w->DrawingLayer = on;
    return walk();
  };
  switch (w->editorKind) {
    case kEditorPcb:
      if (allInner && !(w->ViewFlags & kViewSingleInnerLayer)) {
        for (std::uint8_t inner = kFirstInnerLayer; inner <= kLastInnerLayer; ++inner) {
          result = walkOn(inner);
          if ((action == 8 || action == WalkAction_MeasureClosest) && result == 0) break;
        }
      } else if (allInner) {
        const std::uint32_t before = w->WalkFlags;
        const std::uint32_t savedFill = pl3::g_raster.fillValue;
        w->WalkFlags |= kWalkHighlighting | kWalkInnerLayersOnePass;
        const std::int32_t r = walk();
        if (action != WalkAction_AddToInsertion && action != WalkAction_CopyToGhostParent) result = r;
        pl3::g_raster.fillValue = savedFill;
        w->WalkFlags = before;
      } else if (action == WalkAction_CopyToGhostParent) {
        walk();
      } else if (IsLayerEnabled(layer, action)) {
        const std::int32_t r = walkOn(layer);
        if (action != WalkAction_AddToInsertion) result = r;
      }
      break;
    case kEditorPcbSymbol:
      if (!allInner) {
        result = walkOn(layer);
      } else if (w->BottomLayer != kFirstInnerLayer) {
        result = walkOn(kFirstInnerLayer);
      }
      break;
    case kEditorPadStack:
      result = walkOn(layer);
      break;
    default:
      break;
  }
  ReleaseTower(&shape);
  WalkModeByte = savedMode;
  w->WalkFlags = savedWalk;
  w->DrawingLayer = savedLayer;
  return result;
}

std::int32_t ProcessFoundPadStackInstanceInfo(void* dc, const Tower* padInstanceInfo,
                                              const pl3::Transform* transform, std::uint8_t action) {
  const std::uint8_t* info = PayloadOfAtLeast(TowerEntity(padInstanceInfo), 16);
  if (!info) return -1;
  WalkNetIds[0] = ReadU32(info, 8);
  WalkNetIds[1] = ReadU32(info, 12);
  Tower* pad = FindDefinitionPadStackInstance(padInstanceInfo);
  if (!pad) return -1;
  const pl3::TowerRef callers = pl3::g_raster.currentEntity;
  pl3::TowerRef published = nullptr;
  if (ActiveWindowData && (ActiveWindowData->WalkFlags & kWalkPublishPadInstance)) {
    published = DuplicateTower(padInstanceInfo);
    pl3::g_raster.currentEntity = published;
  }
  // The pad is walked as the walker walks a 141: without publishing during hit tests.
  const std::uint8_t target = pl3::g_raster.spanTarget;
  const std::uint8_t hitMode = (target == pl3::kTargetNearestHit || target == pl3::kTargetAreaPick) ? 1 : 0;
  const std::int32_t result = PerformTowerAction(transform, pad, dc, hitMode, action, -1);
  if (published) {
    pl3::g_raster.currentEntity = callers;
    pl3::ReleaseTowerRef(published);
  }
  ReleaseTower(&pad);
  return result;
}

namespace {

std::int32_t WalkSymbolInstanceInfo(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t,
                                    std::uint8_t action, std::int32_t*) {
  return ProcessFoundSymbolInstanceInfo(action, entity, transform, param);
}
std::int32_t WalkPadStackInfo(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                              std::uint8_t action, std::int32_t*) {
  return ProcessFoundPadStackInfo(param, entity, transform, action, mode);
}
std::int32_t WalkPadStackLayer(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                               std::uint8_t action, std::int32_t*) {
  return DrawPadStackLayer(param, entity, transform, action, mode);
}
std::int32_t WalkPadStackInstanceInfo(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t,
                                      std::uint8_t action, std::int32_t*) {
  return ProcessFoundPadStackInstanceInfo(param, entity, transform, action);
}

}  // namespace

void RegisterSymbolWalkHandlers() {
  WalkHandlers.symbolInstanceInfo = &WalkSymbolInstanceInfo;
  WalkHandlers.padStackInfo = &WalkPadStackInfo;
  WalkHandlers.padStackLayer = &WalkPadStackLayer;
  WalkHandlers.padStackInstanceInfo = &WalkPadStackInstanceInfo;
}

// ---- Editing ----------------------------------------------------------------------

namespace {

bool NamesShape(const std::uint8_t* entry, const std::uint8_t* other) {
  return ReadU32(entry, 8) == ReadU32(other, 8);
}

// True when a child of t other than `self` is a 111 naming the same shape;
// with `deep`, any descendant (an undo entry keeps its copies below its item
// node and redo slot).
bool SubtreeNamesShape(const Tower* t, const Entity* self, const std::uint8_t* entry, bool deep) {
  Tower* children = GetAllChildrenTower(t);
  bool found = false;
  while (!found && children) {
    Entity* e = FindNextEntity(children);
    if (!e) break;
    if (e == self) continue;
    if (e->typeCode == Type_PadStackLayerInfo) {
      const std::uint8_t* other = PayloadOfAtLeast(e, 12);
      if (other && NamesShape(entry, other)) found = true;
    } else if (deep && e->firstChild) {
      LastLevel(children).flags |= kLevelPositioned;
      found = SubtreeNamesShape(children, self, entry, true);
    }
  }
  ReleaseTower(&children);
  return found;
}

}  // namespace

int IsShapeStillReferenced(const Tower* design, const Tower* layerEntry) {
  Entity* self = TowerEntity(layerEntry);
  const std::uint8_t* entry = PayloadOfAtLeast(self, 12);
  if (!design || !entry) return 0;
  // Layer entries live under the edited pad stack, which is the design.
  if (SubtreeNamesShape(design, self, entry, false)) return 1;
  Tower* history = GetChildTower(design, 10500);
  int kept = 0;
  while (!kept && history && FindNextEntity(history)) {
    LastLevel(history).flags |= kLevelPositioned;
    Tower* steps = GetChildTower(history, 10501);
    while (!kept && steps && FindNextEntity(steps)) {
      LastLevel(steps).flags |= kLevelPositioned;
      if (SubtreeNamesShape(steps, self, entry, true)) kept = 1;
    }
    ReleaseTower(&steps);
  }
  ReleaseTower(&history);
  return kept;
}

int DeletePadStackLayerShape(std::uint8_t layer, std::uint8_t flags) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return 0;
  Tower* entry = FindPadStackLayer(w->design, layer);
  if (!entry) return 0;
  int done = 1;
  if (flags & 2) {
    Tower* shape = GetInfoTargetTower(entry, nullptr);
    if (!shape) {
      done = 0;
    } else if (!IsShapeStillReferenced(w->design, entry)) {
      if (w->ShapeTower && TowerEntity(w->ShapeTower) == TowerEntity(shape)) ReleaseTower(&w->ShapeTower);
      DeleteEntity(shape);
    }
    ReleaseTower(&shape);
  }
  if (flags & 1) {
    Tower* undo = RecordUndoRemove(entry, w->UndoStep);
    ReleaseTower(&undo);
    DeleteEntity(entry);
    CloseUndoStep(*w, "Delete shape");
  }
  ReleaseTower(&entry);
  return done;
}
