// The box search: the design walked over a world box in the drawing order
// of the view, one pass per group of types, each pass with the walk's
// per-type table set for it. Drawing, hit tests and box collection all go
// through it.
#include <cstdint>

#include "draw/item_search_seams.h"
#include "edit/box_walk_seams.h"
#include "edit/item_search_options.h"
#include "edit/window_data.h"
#include "objects/design_walks.h"
#include "objects/frame_seams.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

std::uint32_t BoxWalkPlaneHitOption = 1;
std::uint32_t BoxWalkCutOption = 1;
std::uint32_t BoxWalkDatumOption = 1;
void (*BoxWalkInfoBoxPass)(const pl3::Box* box, const Tower* container, int drawMode) = nullptr;

namespace {

void ResetOptions() {
  BoxWalkPlaneHitOption = 1;
  BoxWalkCutOption = 1;
  BoxWalkDatumOption = 1;
}
[[maybe_unused]] const bool g_registered = pl3::RegisterGlobalReset(&ResetOptions);

constexpr std::uint32_t kGhostNoPlanes = 0x100000;  // ghost flags bit 20
constexpr std::uint16_t kTypePadName = 142;

struct BoxWalk {
  const pl3::Box* box;
  const Tower* design;
  const pl3::Transform* transform;
  std::uint8_t action;

  void Walk() const { PerformTowerAction(transform, design, const_cast<pl3::Box*>(box), 0, action, 0); }
  void HolePasses() const { DrawBoxWalkHolePasses(box, design, transform, action); }
};

void Set(std::uint16_t code, std::uint16_t value) { WalkTypeFlags[code] = value; }

bool HoldsPlane(const Tower* design) {
  Tower* planes = GetChildTower(design, Type_Plane);
  const bool found = planes && FindNextEntity(planes);
  ReleaseTower(&planes);
  return found;
}

void SchematicPasses(const BoxWalk& b, const CurrentWindowData* w) {
  SetSchematicDrawMode(4);
  FillNetFlagTable(1);
  b.Walk();
  const std::uint32_t state = SchematicDrawState();
  if (state != 1 && state != 4) DrawSchematicExtraItems(b.box, b.design, b.transform, b.action);
  if (w->HitMode) {
    FillNetFlagTable(0);
    Set(Type_Track, 65);
    b.Walk();
  }
  SetSchematicDrawMode(0);
}

// Passes 1 and 2: the items that are not graphics, then the planes.
void BackgroundPasses(const BoxWalk& b, CurrentWindowData* w, std::uint32_t mode) {
  FillNetFlagTable(1);
  for (std::uint16_t code = 1; code <= 50; ++code) Set(code, 0);
  Set(Type_SymbolInstance, 0);
  Set(Type_Label, 0);
  Set(Type_Hole, 129);
  const std::uint32_t savedFilter = w->ViewFlags;
  b.Walk();
  w->ViewFlags = savedFilter;

  const bool planesWanted = mode == 2 ? BoxWalkPlaneHitOption != 0 : (w->WalkFlags & kGhostNoPlanes) == 0;
  if (w->editorKind != kEditorPcb || !planesWanted || !HoldsPlane(b.design)) return;
  PrepareBoxWalkPlaneFills(b.design);
  FillNetFlagTable(0);
  Set(Type_Plane, 1);
  Set(Type_PCB, 1);
  b.Walk();
  FillNetFlagTable(9);
  Set(Type_Plane, 0);
  b.Walk();
  FillNetFlagTable(0);
  Set(Type_Hole, 13);
  b.HolePasses();
}

void ForegroundPasses(const BoxWalk& b, const CurrentWindowData* w, std::uint32_t mode) {
  if (mode == 2 ? BoxWalkCutOption == 1 : w->HighlightWord != 0) {
    FillNetFlagTable(0);
    Set(Type_PlaneCutout, 65);
    Set(Type_LinkedCut, 65);
    b.Walk();
  }
  FillNetFlagTable(257);
  for (std::uint16_t code : {Type_Hole, Type_Plane, Type_PlaneCutout, Type_LinkedCut, Type_RoutedLine}) Set(code, 0);
  Set(kTypePadName, 0);
  Set(Type_ThermalBreak, 5);
  Set(Type_Datum, mode == 2 && !BoxWalkDatumOption ? 0 : 1);
  b.Walk();
  if (w->HitMode) {
    FillNetFlagTable(0);
    Set(Type_Track, 65);
    b.Walk();
  }
  for (std::uint16_t slots : {3, 5}) {
    FillNetFlagTable(0);
    Set(Type_PlatedSlot, slots);
    Set(Type_NonPlatedSlot, slots);
    Set(Type_PadStackInstanceHier, 1);
    Set(Type_PadStackInfo, 1);
    b.Walk();
  }
  for (std::uint16_t holes : {5, 3, 65}) {
    FillNetFlagTable(0);
    Set(Type_Hole, holes);
    b.HolePasses();
  }
  if (w->editorKind == kEditorPcbSymbol && w->ShowLabels) {
    FillNetFlagTable(0);
    Set(Type_Label, 1);
    Set(kTypePadName, 1);
    Set(Type_PadStackInstanceHier, 1);
    b.Walk();
    if (BoxWalkInfoBoxPass) BoxWalkInfoBoxPass(b.box, b.design, b.action);
  }
}

}  // namespace

void FindItemsInBox(const pl3::Box* box, const Tower* design, const pl3::Transform* transform, std::uint32_t mode) {
  static constexpr std::uint8_t kActions[] = {0, 0, 24, 6, 37};
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !design || !TowerEntity(design) || mode >= sizeof kActions) return;
  const BoxWalk b{box, design, transform, kActions[mode]};
  if (w->editorKind == kEditorSchematicSymbol || w->editorKind == kEditorSchematic) {
    SchematicPasses(b, w);
  } else if (mode == 0 || mode == 3 || mode == 4) {
    FillNetFlagTable(1);
    Set(Type_Hole, 7);
    Set(Type_PlatedSlot, 7);
    Set(Type_NonPlatedSlot, 7);
    b.Walk();
  } else {
    BackgroundPasses(b, w, mode);
    ForegroundPasses(b, w, mode);
    FreeTemporaryTowers();  // what the passes collected (pad points and the like)
  }
}
