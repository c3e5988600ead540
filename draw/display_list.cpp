#include "draw/display_list.h"

#include <cstdio>
#include <cstdlib>

#include "draw/display_builders.h"
#include "draw/display_list_seams.h"
#include "draw/layer_drawing.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/dimensioners.h"
#include "objects/plane_clearances.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypePl2Symbol = 163;
constexpr std::uint32_t kStateAllInnerLayers = 0x200000;  // StateFlags bit 21

bool PathHas(const Tower* t, std::uint16_t code) { return HasRecordType(t, code) != 0; }

}  // namespace

// ---- The dispatcher ---------------------------------------------------------------------------

namespace {

// The Tower the items of the current entity copy: the entity itself, or for
// what is drawn from a definition (whose path does not lead through the
// placed symbol) the placed pad or symbol the walk is in.
const Tower* ItemEntityTower(const Tower* current, std::uint16_t code) {
  if (DisplayPl2Symbol) return DisplayPl2Symbol;
  if (code == Type_SymbolInstance || PathHas(current, Type_SymbolInstance)) return current;
  const bool fromDefinition = PathHas(current, Type_SymbolDefinition) || PathHas(current, Type_ShapeDefinition) ||
                              PathHas(current, Type_PadStackDefinition);
  if (!fromDefinition) return current;
  if (DisplayPadInstance) return DisplayPadInstance;
  if (ActiveWindowData && ActiveWindowData->WalkParent) return ActiveWindowData->WalkParent;
  return current;
}

std::uint8_t RecordLayer(const void* record, std::uint32_t size) {
  return size >= 1 ? *static_cast<const std::uint8_t*>(record) : 0;
}

}  // namespace

namespace {

// The build of one entity as the dispatcher sets it up: the layer drawn on,
// the fill value of the record's layer, the plane clearance, and the entity
// and owner Towers the items copy.
DisplayBuild MakeDisplayBuild(std::uint8_t ownLayer, std::uint16_t code, const pl3::Transform* placement,
                              std::uint8_t action) {
  CurrentWindowData* w = ActiveWindowData;
  const std::uint8_t layer = EffectiveDrawLayer(*w, ownLayer);
  RasterFirstLayer = RasterLastLayer = layer;
  SetCurrentLayerColour(ownLayer);
  const Tower* current = CurrentDisplayEntity;
  const Tower* entity = ItemEntityTower(current, code);
  const Tower* owner = nullptr;
  if (IsInsideSymbol(entity) && code != Type_SymbolInstance &&
      (PathHas(current, Type_DesignatorData) || PathHas(current, 309))) {
    owner = current;
  }
  std::uint32_t pathFlags = GetDisplayItemFlags(current) | GetDisplayItemFlags(entity);
  if (w->StateFlags & kStateAllInnerLayers) pathFlags |= kItemAllInnerLayers;
  return DisplayBuild{CurrentDisplayList, entity, owner, pathFlags, layer,
                      GetPlaneClearance(w->design, layer), action, placement};
}

bool CanBuild() {
  const CurrentWindowData* w = ActiveWindowData;
  return w && w->editorKind == kEditorPcb && CurrentDisplayList;
}

}  // namespace

void RunDisplayBuild(const Tower* entity, std::uint8_t layer, const pl3::Transform* transform, std::uint8_t action,
                     void (*body)(void* context), void* context) {
  if (!CanBuild() || !entity) return;
  const Tower* saved = CurrentDisplayEntity;
  CurrentDisplayEntity = entity;
  const DisplayBuild build =
      MakeDisplayBuild(layer, LastLevel(entity).typeCode, transform ? transform : &pl3::kIdentityTransform, action);
  {
    const DisplayBuildScope scope(&build);
    body(context);
  }
  CurrentDisplayEntity = saved;
}

void AddEntityToDisplayList(const void* record, std::uint32_t size, std::uint16_t code,
                            const pl3::Transform* transform, std::uint8_t action) {
  if (!CanBuild()) return;
  const pl3::Transform* placement = transform ? transform : &pl3::kIdentityTransform;
  const Tower* current = CurrentDisplayEntity;
  const DisplayBuild build = MakeDisplayBuild(RecordLayer(record, size), code, placement, action);
  const DisplayBuildScope scope(&build);

  switch (code) {
    case 1: case 10: case 35: case 37: case 39: case 46: case 47:
      if (size >= sizeof(pl3::TrackLayout)) AddLineFamilyToDisplayList(build, record, code);
      return;
    case 2: case 38:
      if (size >= sizeof(pl3::ArcLayout)) AddArcToDisplayList(build, record, code);
      return;
    case 3:
      if (size >= sizeof(pl3::CircleLayout)) AddCircleToDisplayList(build, record);
      return;
    case 4: case 8: case 9: case 41: case 42: case 43: case 44: case 45: case 49:
      AddPolygonToDisplayList(build, record, size, code);
      return;
    case 5:
      AddTextToDisplayList(build, record, size);
      return;
    case 6:
      if (size >= sizeof(pl3::RectangleLayout)) AddRectangleToDisplayList(build, record);
      return;
    case 7:
      if (size >= sizeof(pl3::HoleLayout)) AddHoleOrViaToDisplayList(build, record, size);
      return;
    case 19:
      AddSpiralToDisplayList(build, record);
      return;
    case 21: case 22:
      if (size >= sizeof(DimensionerPayload)) {
        const auto* d = static_cast<const DimensionerPayload*>(record);
        if (code == 21) {
          DrawAngleDimensioner(d, nullptr, 37, current);
        } else {
          DrawDimensioner(d, nullptr, 37, current);
        }
      }
      return;
    case 34:
      AddDatumToDisplayList(build, record, size);
      return;
    case 36:
      if (size >= 64) AddPreRouteToDisplayList(build, record);
      return;
    case Type_SymbolInstance:
      AddSymbolInstanceToDisplayList(build);
      return;
    case kTypePl2Symbol:
      DrawPl2Symbol(current, nullptr, placement, 37);
      return;
    case Type_InfoBoxHier:
      AddMarkerToDisplayList(build);
      return;
    default: {
      char text[64];
      std::snprintf(text, sizeof text, "Unknown DL(%d), please notify Corvane.", static_cast<int>(code));
      MessageBox(nullptr, text, "PL3", MB_OK);
      return;
    }
  }
}
