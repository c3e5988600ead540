#include "draw/walk_actions.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "draw/display_builders.h"
#include "draw/display_list.h"
#include "draw/display_list_seams.h"
#include "draw/entity_drawing.h"
#include "draw/layer_drawing.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/transform.h"
#include "objects/design_helpers.h"
#include "objects/designators.h"
#include "objects/dimensioner_seams.h"
#include "objects/item_layers.h"
#include "objects/net_ids.h"
#include "objects/pad_names.h"
#include "objects/pad_stacks.h"
#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "objects/walker_actions.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

std::uint8_t WalkDrawPass = 0;
std::uint32_t WalkPassFlags = 0;
NearestPad NearestPadResult{DBL_MAX, nullptr, 0, {0, 0}};

namespace {

using pl3::g_raster;

[[maybe_unused]] const bool g_registered = pl3::RegisterGlobalReset([] {
  WalkDrawPass = 0;
  WalkPassFlags = 0;
  NearestPadResult = NearestPad{DBL_MAX, nullptr, 0, {0, 0}};
});

constexpr std::uint16_t kTypePl2Symbol = 163;
constexpr std::uint16_t kTypeAttributeDisplay = 309;
constexpr std::uint32_t kViewFilledAsBlocks = 0x100;       // ViewFlags bit 8
constexpr std::uint32_t kViewPrimitivesInPadsOnly = 0x200;  // ViewFlags bit 9
constexpr std::uint32_t kViewFillNetFlags = 0x4000000;     // ViewFlags bit 26
constexpr std::uint32_t kStateNetHighlight = 0x2;          // StateFlags bit 1
constexpr std::uint32_t kStateNetListHighlight = 0x20000;  // StateFlags bit 17
constexpr std::uint16_t kEntityFilled = 0x1000;           // bit 4 of a node's second flag byte
constexpr std::uint16_t kHoleOptionCopyList = 0x8000;     // TypeDrawOptions[7]: holes go on the copy list
constexpr std::uint16_t kHoleOptionHidden = 0x1000;       // TypeDrawOptions[7]: holes are not drawn
constexpr std::uint32_t kDisplayHideMarkers = 0x4;
constexpr std::uint16_t kAttributeHidden = 0x40;           // display word of a 310
constexpr std::uint32_t kSymbolOtherSide = 0x2;
constexpr std::uint32_t kPadOtherSide = 0x1;

CurrentWindowData* Window() { return ActiveWindowData; }
std::uint16_t CodeOf(const Tower* t) { return LastLevel(t).typeCode; }

bool InList(std::uint16_t code, std::initializer_list<std::uint16_t> codes) {
  for (std::uint16_t c : codes)
    if (c == code) return true;
  return false;
}

// Types that reach the display list as they are.
bool IsListedType(std::uint16_t t) {
  return (t >= 1 && t <= 10) || t == 17 || t == 19 || t == 21 || t == 22 || (t >= 34 && t <= 39) ||
         (t >= 41 && t <= 47) || t == 49 || t == Type_InfoBoxHier;
}

// The primitives ViewFlags bit 9 holds back outside pad stacks.
bool IsPadPrimitive(std::uint16_t t) {
  return (t >= 1 && t <= 15) || t == 22 || t == 35 || (t >= 37 && t <= 39) || (t >= 41 && t <= 47) || t == 49;
}

std::int32_t WalkChildren(const pl3::Transform* transform, const Tower* parent, void* param, std::uint8_t mode,
                          std::uint8_t action) {
  return PerformTowerAction(transform, parent, param, mode, action, 0);
}

// Puts the window's state flags and the raster fill value back after an entity.
struct EntityGuard {
  std::uint32_t state = ActiveWindowData ? ActiveWindowData->StateFlags : 0;
  std::uint32_t fill = g_raster.fillValue;
  ~EntityGuard() {
    if (ActiveWindowData) ActiveWindowData->StateFlags = state;
    g_raster.fillValue = fill;
  }
};

// Draws in the highlight colour while the walk marks the entity highlighted
// and a net highlight is shown.
void SetHighlightColour(CurrentWindowData& w) {
  if (!(w.StateFlags & (kStateNetHighlight | kStateNetListHighlight))) return;
  if (!(w.WalkFlags & kWalkHighlighting)) return;
  g_raster.fillValue = HighlightFillColour;
  w.StateFlags |= kStateSingleColour;
}

void DrawByType(Tower* entity, const pl3::Transform* transform, std::uint8_t action) {
  const Entity* e = TowerEntity(entity);
  if (!e || e->payloadSize < sizeof(pl3::GraphicLayoutHead)) return;
  DrawEntityByType(EntityPayload(e), e->typeCode, transform, action);
}

std::int32_t AddToDisplayList(const pl3::Transform* transform, Tower* entity, std::uint8_t action) {
  const Entity* e = TowerEntity(entity);
  const Tower* saved = CurrentDisplayEntity;
  CurrentDisplayEntity = entity;
  AddEntityToDisplayList(EntityPayload(e), e->payloadSize, e->typeCode, transform, action);
  CurrentDisplayEntity = saved;
  return 1;
}

std::int32_t DrawPrimitive(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                           std::uint8_t action, std::int32_t* result) {
  CurrentWindowData& w = *Window();
  Entity* e = TowerEntity(entity);
  const std::uint16_t type = e->typeCode;
  switch (type) {
    case 1: case 11:
      if (e->payloadSize >= 1 && TestLineLayer(EntityPayload(e)[0]) == 0) DrawByType(entity, transform, action);
      return 1;
    case 7: {
      const std::uint16_t options = TypeDrawOptionsOf(Type_Hole);
      if (options & kHoleOptionCopyList) {
        PushTransformedEntityCopy(entity, transform);
      } else if (!(options & kHoleOptionHidden) || action == 24) {
        SetHighlightColour(w);
        DrawByType(entity, transform, action);
      }
      return 1;
    }
    case 8:
      if ((w.ViewFlags & kViewFilledAsBlocks) && (e->flags & kEntityFilled)) return 1;
      if ((WalkDrawPass == 1 || WalkDrawPass == 4) && (w.StateFlags & kStatePlaneOutlines)) return 1;
      DrawByType(entity, transform, action);
      return 1;
    case 9:
      DrawByType(entity, transform, action);
      return 1;
    case 18: case 19: case 20: case 21: case 22: case 23: case 24: case 28: case 29: case 34: case 35: case 38:
    case 39:
      DrawByType(entity, transform, action);
      return 1;
    case 44: case 45:
      if (e->payloadSize >= sizeof(pl3::PolygonLayout)) {
        DrawPolygonOutline(reinterpret_cast<const pl3::PolygonLayout*>(EntityPayload(e)), transform);
      }
      return 1;
    case 26:
      if (!IsSchematicKind(w.editorKind)) DrawByType(entity, transform, action);
      return 1;
    default:
      if (IsPadPrimitive(type)) {
        SetHighlightColour(w);
        DrawByType(entity, transform, action);
        return 1;
      }
      return WalkContainerEntity(transform, entity, param, mode, action, result);
  }
}

std::int32_t DrawForPass(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                         std::uint8_t action, std::int32_t* result) {
  CurrentWindowData& w = *Window();
  Entity* e = TowerEntity(entity);
  const std::uint16_t type = e->typeCode;
  if ((w.ViewFlags & kViewPrimitivesInPadsOnly) && IsPadPrimitive(type) && !(w.WalkFlags & kWalkInPadStack)) return 0;
  switch (type) {
    case Type_SymbolInstance:
      if ((w.ViewFlags & kViewFilledAsBlocks) && (e->flags & kEntityFilled)) {
        pl3::Box box = pl3::kEmptyBox;
        GetBox(entity, &box);
        DrawBoxOutline(box);
        return 1;
      }
      if (w.ViewFlags & kViewRegionRender) {
        SetHighlightColour(w);
        return DrawSymbolInstance(transform, entity, param, mode, action, result);
      }
      return WalkContainerEntity(transform, entity, param, mode, action, result);
    case kTypePl2Symbol:
      if (WalkDrawPass == 3 || ((w.ViewFlags & kViewFilledAsBlocks) && (e->flags & kEntityFilled))) return 0;
      return WalkContainerEntity(transform, entity, param, mode, action, result);
    case Type_InfoBoxHier:
      if (WalkDrawPass == 3 || (w.ViewFlags & kViewRegionRender) || (DisplayOptions & kDisplayHideMarkers)) return 0;
      DrawMarkerEntity(entity, transform, action);
      return 1;
    default:
      return DrawPrimitive(transform, entity, param, mode, action, result);
  }
}

}  // namespace

std::int32_t DrawWalkedEntity(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                              std::uint8_t action, std::int32_t* result) {
  CurrentWindowData* w = Window();
  if (!w || !TowerEntity(entity)) return 0;
  const std::uint16_t type = CodeOf(entity);
  switch (action) {
    case 10: case 17: case 21: case 22: case 32: case 33:
      return 0;
    case 37:
      // A placed pad (117) has its label added by its container walk.
      if (IsListedType(type)) return AddToDisplayList(transform, entity, action);
      return WalkContainerEntity(transform, entity, param, mode, action, result);
    case 0: case 24: case 27: {
      const EntityGuard guard;
      if (action == 27) SetEntityPassColour(entity, transform, action);
      return DrawForPass(transform, entity, param, mode, action, result);
    }
    default:
      return 0;
  }
}

// ---- Containers --------------------------------------------------------------------------------

namespace {

// The pad walk of a placed pad (117): in action 37 its label goes on the list
// first, and what its stack draws takes the pad as its entity.
std::int32_t WalkPlacedPad(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t action) {
  if (action != 37) return ProcessFoundPadStackInstanceInfo(param, entity, transform, action);
  AddPinLabelToDisplayList(entity, transform);
  const Tower* saved = DisplayPadInstance;
  DisplayPadInstance = entity;
  const std::int32_t value = ProcessFoundPadStackInstanceInfo(param, entity, transform, action);
  DisplayPadInstance = saved;
  return value;
}

std::int32_t WalkPlacedPadSlot(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t,
                               std::uint8_t action, std::int32_t*) {
  return WalkPlacedPad(transform, entity, param, action);
}

// In the list build a placed symbol's pads are drawn from its placed pads
// (117), which carry the placement's nets; the definition's own pads are not
// drawn a second time.
std::int32_t WalkPadStackInfoSlot(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                                  std::uint8_t action, std::int32_t*) {
  const CurrentWindowData* w = Window();
  if (action == 37 && w && w->editorKind == kEditorPcb && w->WalkParent && !DisplayPadInstance) return -1;
  return ProcessFoundPadStackInfo(param, entity, transform, action, mode);
}

std::int32_t DrawPl2SymbolSlot(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t,
                               std::uint8_t action, std::int32_t*) {
  const Tower* saved = DisplayPl2Symbol;
  if (action == 37) DisplayPl2Symbol = entity;
  if (Window() && (Window()->ViewFlags & kViewFillNetFlags)) FillNetFlagTable(1);
  const std::int32_t value = DrawPl2Symbol(entity, param, transform, action);
  DisplayPl2Symbol = saved;
  return value;
}

bool InSymbolEditor() { return Window() && Window()->editorKind == kEditorPcbSymbol; }

// The text of a designator (234) or attribute display (309). In action 37 it
// goes on the list as the copy's own items.
struct CopyText {
  const Tower* copy;
  const pl3::Transform* transform;
  std::uint8_t action;
  bool attribute;
  std::int32_t result;
};

void DrawCopyText(void* context) {
  auto* c = static_cast<CopyText*>(context);
  c->result = c->attribute ? ProcessAttributeDisplay(c->copy, c->transform, c->action)
                           : ProcessDesignatorData(c->copy, c->transform, c->action);
}

std::int32_t ProcessCopyText(const Tower* copy, const pl3::Transform* transform, std::uint8_t action, bool attribute) {
  CopyText text{copy, transform, action, attribute, 0};
  if (action != 37) {
    DrawCopyText(&text);
    return text.result;
  }
  const std::uint8_t* info = ChildPayloadOfAtLeast(copy, attribute ? 310 : Type_DesignatorInfo, 9);
  RunDisplayBuild(copy, info ? info[8] : 0, transform, action, &DrawCopyText, &text);
  return text.result;
}

}  // namespace

std::int32_t WalkContainerEntity(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                                 std::uint8_t action, std::int32_t* result) {
  CurrentWindowData* w = Window();
  if (!w || !TowerEntity(entity)) return 0;
  switch (CodeOf(entity)) {
    case 25: case 33: case Type_Designator: case Type_NetConflicts:
      return WalkChildren(transform, entity, param, mode, action);
    case 30: {
      pl3::Transform composed;
      GetTransform(&composed, entity, transform);
      return WalkChildren(&composed, entity, param, mode, action);
    }
    case Type_SchematicSymbol:
      return ProcessFoundSymbolInstanceInfo(action, entity, transform, param);
    case Type_SymbolInstance:
      if ((w->ViewFlags & kViewFillNetFlags) && action != 10 && action != 22) FillNetFlagTable(1);
      return ExpandSymbol(action, entity, transform, param);
    case Type_Shape:
      return ProcessFoundShapeInfo(param, entity, transform, action);
    case Type_PadStackLayerInfo:
      return DrawPadStackLayer(param, entity, transform, action, mode);
    case Type_SymbolInstanceInfo:
      return ProcessFoundSymbolInstanceInfo(action, entity, transform, param);
    case Type_PadStackInfo:
      if (!InSymbolEditor() && (w->WalkFlags & kWalkInPadStack) && !(w->WalkFlags & kWalkUseLayerSet)) return -1;
      return ProcessFoundPadStackInfo(param, entity, transform, action, mode);
    case Type_PadStackInstanceInfo:
      return WalkPlacedPad(transform, entity, param, action);
    case Type_PadStackInstanceHier:
      return InSymbolEditor() ? WalkChildren(transform, entity, param, mode, action) : 0;
    case kTypePl2Symbol:
      if (action == WalkAction_MarkUsedSizes) {
        FillNetFlagTable(1);
        return WalkChildren(transform, entity, param, mode, action);
      }
      return DrawPl2SymbolSlot(transform, entity, param, mode, action, result);
    case Type_Label:
      return DrawPadLabel(param, entity);
    case Type_DesignatorData:
      return ProcessCopyText(entity, transform, action, false);
    case kTypeAttributeDisplay:
      return ProcessCopyText(entity, transform, action, true);
    default:
      return 0;
  }
}

// ---- Symbols and attribute displays ----------------------------------------------------------------

std::int32_t ProcessAttributeDisplay(const Tower* display, const pl3::Transform* transform, std::uint8_t action) {
  if (!IsItemLayerEnabled(display, action)) return 0;
  const std::uint8_t* info = ChildPayloadOfAtLeast(display, 310, 4);
  if (info && (ReadU16(info, 2) & kAttributeHidden)) return 0;
  return ProcessAttributeLocatorData(display, transform, action);
}

namespace {

bool Selected(const Tower* t) { return (TowerEntity(t)->flags & kEntitySelected) != 0; }

// The first Designator Data of the instance's Designator.
void DrawInstanceDesignator(const Tower* instance, const pl3::Transform* placement, std::uint8_t action) {
  Tower* group = OpenChildTower(instance, Type_Designator);
  Tower* copy = group ? OpenChildTower(group, Type_DesignatorData) : nullptr;
  if (copy && IsItemLayerEnabled(copy, action) && !Selected(copy)) ProcessDesignatorData(copy, placement, action);
  ReleaseTower(&copy);
  ReleaseTower(&group);
}

void DrawInstanceAttributes(const Tower* instance, const pl3::Transform* placement, std::uint8_t action) {
  Tower* groups = GetChildTower(instance, Type_NetConflicts);
  while (groups && FindNextEntity(groups)) {
    Tower* displays = GetChildTower(groups, kTypeAttributeDisplay);
    while (displays && FindNextEntity(displays)) {
      if (!Selected(displays)) ProcessAttributeDisplay(displays, placement, action);
    }
    ReleaseTower(&displays);
  }
  ReleaseTower(&groups);
}

// The definition's own graphics: holes go on the copy list drawn after the copper.
void DrawDefinitionGraphics(const Tower* instance, const pl3::Transform* placement, void* param, std::uint8_t mode,
                            std::uint8_t action, std::int32_t* result) {
  Tower* definition = GetInstanceSymbolDef(instance);
  Tower* children = definition ? GetAllChildrenTower(definition) : nullptr;
  while (children && FindNextEntity(children)) {
    const std::uint16_t code = CodeOf(children);
    if (code == Type_Hole) {
      PushTransformedEntityCopy(children, placement);
    } else if (((code >= 1 && code <= 6) || InList(code, {21, 22, 38, 39})) && IsItemLayerEnabled(children, action)) {
      DrawWalkedEntity(placement, children, param, mode, action, result);
    }
  }
  ReleaseTower(&children);
  ReleaseTower(&definition);
}

void DrawPadStack(const Tower* stack, const pl3::Transform* padTransform, void* param, std::uint8_t mode,
                  std::uint8_t action, std::int32_t* result) {
  Tower* children = GetAllChildrenTower(stack);
  while (children && FindNextEntity(children)) {
    const std::uint16_t code = CodeOf(children);
    if (code == Type_Hole) {
      if (action == 37) {
        DrawWalkedEntity(padTransform, children, param, mode, action, result);
      } else {
        PushTransformedEntityCopy(children, padTransform);
      }
    } else if (code == Type_PadStackLayerInfo) {
      DrawPadStackLayer(param, children, padTransform, action, mode);
    }
  }
  ReleaseTower(&children);
}

void DrawInstancePads(const Tower* instance, const pl3::Transform* placement, void* param, std::uint8_t mode,
                      std::uint8_t action, std::int32_t* result) {
  CurrentWindowData& w = *Window();
  Tower* pads = GetChildTower(instance, Type_PadStackInstanceInfo);
  while (pads && FindNextEntity(pads)) {
    const std::uint8_t* info = PayloadOfAtLeast(TowerEntity(pads), 16);
    if (!info) continue;
    WalkNetIds[0] = ReadU32(info, 8);
    WalkNetIds[1] = ReadU32(info, 12);
    const std::uint32_t savedView = w.ViewFlags;
    Tower* pad = FindDefinitionPadStackInstance(pads);
    const std::uint8_t* padInfo = pad ? ChildPayloadOfAtLeast(pad, Type_PadStackInfo, 4) : nullptr;
    if (padInfo && (ReadU32(padInfo, 0) & kPadOtherSide)) w.ViewFlags ^= kViewOtherSide;
    Tower* stack = pad ? GetPadStackDef(pad) : nullptr;
    if (stack) {
      pl3::Transform padTransform;
      GetTransform(&padTransform, pad, placement);
      DrawPadStack(stack, &padTransform, param, mode, action, result);
    }
    ReleaseTower(&stack);
    ReleaseTower(&pad);
    w.ViewFlags = savedView;
  }
  ReleaseTower(&pads);
}

}  // namespace

std::int32_t DrawSymbolInstance(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                                std::uint8_t action, std::int32_t* result) {
  CurrentWindowData* w = Window();
  WalkNetIds[0] = WalkNetIds[1] = 0;
  if (!w || WalkPassFlags == 0) return 0;
  if (!TestBoundingBox(entity, static_cast<const pl3::Box*>(param), transform)) return 0;
  const std::uint32_t savedView = w->ViewFlags;
  pl3::Transform placement;
  GetTransform(&placement, entity, transform);
  const std::uint8_t* info = ChildPayloadOfAtLeast(entity, Type_SymbolInstanceInfo, 4);
  if (info && (ReadU32(info, 0) & kSymbolOtherSide)) w->ViewFlags ^= kViewOtherSide;
  if (!(WalkPassFlags & 0x8)) {
    if (!(DisplayOptions & kDisplayHideAttributes)) DrawInstanceDesignator(entity, &placement, action);
    DrawInstanceAttributes(entity, &placement, action);
    DrawDefinitionGraphics(entity, &placement, param, mode, action, result);
  }
  DrawInstancePads(entity, &placement, param, mode, action, result);
  w->ViewFlags = savedView;
  return 1;
}

// ---- Nearest pad, deleting and moving graphics ---------------------------------------------------------

void ResetNearestPad() {
  ReleaseTower(&NearestPadResult.instance);
  NearestPadResult = NearestPad{DBL_MAX, nullptr, 0, {0, 0}};
}

namespace {

// A pad at its stack's origin under the transform: kept when strictly nearer
// the cursor than the best so far.
void ConsiderPad(const Tower* stack, const pl3::Transform& padTransform, const Tower* instance, std::uint32_t xref,
                 const Tower* netSource) {
  const CurrentWindowData& w = *Window();
  pl3::Point origin{0, 0};
  if (const std::uint8_t* o = ChildPayloadOfAtLeast(stack, Type_Origin, 8)) origin = {ReadI32(o, 0), ReadI32(o, 4)};
  pl3::TransformPoint(&padTransform, origin.x, origin.y);
  const double dx = std::fabs(static_cast<double>(static_cast<std::int64_t>(static_cast<std::uint32_t>(origin.x)) -
                                                  static_cast<std::uint32_t>(w.Cursor.x)));
  const double dy = std::fabs(static_cast<double>(static_cast<std::int64_t>(static_cast<std::uint32_t>(origin.y)) -
                                                  static_cast<std::uint32_t>(w.Cursor.y)));
  const double distance = (dx + dy) / (w.Zoom ? w.Zoom : 1);
  if (!(distance < NearestPadResult.distance)) return;
  ReleaseTower(&NearestPadResult.instance);
  NearestPadResult.distance = distance;
  NearestPadResult.instance = instance && w.editorKind == kEditorPcb ? DuplicateTower(instance) : nullptr;
  NearestPadResult.xref = xref;
  NearestPadResult.netIds[0] = GetEntityNetId(netSource, kNetIdFirst);
  NearestPadResult.netIds[1] = GetEntityNetId(netSource, kNetIdSecond);
}

}  // namespace

std::int32_t FindNearestPadAction(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t,
                                  std::uint8_t action, std::int32_t*) {
  if (!Window() || !TowerEntity(entity)) return 0;
  const pl3::Transform& walk = transform ? *transform : pl3::kIdentityTransform;
  switch (CodeOf(entity)) {
    case Type_SymbolInstance: {
      pl3::Transform placement;
      GetTransform(&placement, entity, &walk);
      Tower* info = OpenChildTower(entity, Type_SymbolInstanceInfo);
      Tower* const savedParent = Window()->WalkParent;
      Window()->WalkParent = entity;
      const std::int32_t value = info ? ProcessFoundSymbolInstanceInfo(action, info, &placement, param) : 0;
      Window()->WalkParent = savedParent;
      ReleaseTower(&info);
      return value;
    }
    case Type_PadStackInfo: {
      const std::uint8_t* info = PayloadOfAtLeast(TowerEntity(entity), 8);
      Tower* stack = info ? GetPadStackDef(entity) : nullptr;
      if (stack) {
        pl3::Transform padTransform;
        GetTransform(&padTransform, entity, &walk);
        ConsiderPad(stack, padTransform, Window()->WalkParent, ReadU32(info, 4), entity);
      }
      ReleaseTower(&stack);
      return 1;
    }
    case Type_PadStackInstanceInfo: {
      const std::uint8_t* info = PayloadOfAtLeast(TowerEntity(entity), 8);
      Tower* pad = info ? FindDefinitionPadStackInstance(entity) : nullptr;
      Tower* stack = pad ? GetPadStackDef(pad) : nullptr;
      if (stack) {
        Tower* instance = GetEnclosingTower(entity, Type_SymbolInstance);
        pl3::Transform placement, padTransform;
        GetTransform(&placement, instance, &walk);
        GetTransform(&padTransform, pad, &placement);
        ConsiderPad(stack, padTransform, instance, ReadU32(info, 4), entity);
        ReleaseTower(&instance);
      }
      ReleaseTower(&stack);
      ReleaseTower(&pad);
      return 1;
    }
    default:
      return 0;
  }
}

namespace {

bool IsDeletableGraphic(std::uint16_t t) {
  return (t >= 1 && t <= 6) || (t >= 8 && t <= 10) || (t >= 37 && t <= 39) || (t >= 41 && t <= 47);
}
bool IsMovableGraphic(std::uint16_t t) { return (t >= 1 && t <= 6) || (t >= 8 && t <= 10) || (t >= 37 && t <= 39); }

// The descent of the delete and move actions into placed symbols and pads.
std::int32_t Descend(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                     std::uint8_t action) {
  switch (CodeOf(entity)) {
    case Type_SymbolInstance: return WalkChildren(transform, entity, param, mode, action);
    case Type_PadStackLayerInfo: return DrawPadStackLayer(param, entity, transform, action, mode);
    case Type_SymbolInstanceInfo: return ProcessFoundSymbolInstanceInfo(action, entity, transform, param);
    case Type_PadStackInfo: return ProcessFoundPadStackInfo(param, entity, transform, action, mode);
    default: return 0;
  }
}

}  // namespace

std::int32_t DeleteGraphicsAction(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                                  std::uint8_t action, std::int32_t*) {
  if (!TowerEntity(entity)) return 0;
  if (!IsDeletableGraphic(CodeOf(entity))) return Descend(transform, entity, param, mode, action);
  CurrentWindowData* w = Window();
  // The list must not keep items of what goes.
  if (w && w->editorKind == kEditorPcb && w->Display) {
    w->Display = RemoveFromDisplayList(w->Display, entity);
  }
  DeleteEntity(entity);
  return 1;
}

std::int32_t MoveLayerAction(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                             std::uint8_t action, std::int32_t*) {
  Entity* e = TowerEntity(entity);
  if (!e) return 0;
  if (!IsMovableGraphic(e->typeCode)) return Descend(transform, entity, param, mode, action);
  if (e->payloadSize < 1 || EntityPayload(e)[0] != WalkSourceLayer) return 0;
  EntityPayload(e)[0] = WalkTargetLayer;
  return 1;
}

void RegisterDrawWalkHandlers() {
  WalkHandlers.drawWalkedEntity = &DrawWalkedEntity;
  WalkHandlers.walkContainerEntity = &WalkContainerEntity;
  WalkHandlers.drawPl2Symbol = &DrawPl2SymbolSlot;
  WalkHandlers.padStackInstanceInfo = &WalkPlacedPadSlot;
  WalkHandlers.padStackInfo = &WalkPadStackInfoSlot;
  WalkHandlers.deleteWalkedEntity = &DeleteGraphicsAction;
  WalkHandlers.changeWalkedLayer = &MoveLayerAction;
}
