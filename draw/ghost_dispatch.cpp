// GhostEntityData's dispatch by type code, GhostEntity over working records,
// the per-kind wrappers, and the ghosts of the insertion array and of a
// placed symbol's contents.
#include <cstdlib>
#include <cstring>
#include <utility>

#include "draw/ghost_pens.h"
#include "draw/ghost_seams.h"
#include "draw/ghosts.h"
#include "draw/raster_callbacks.h"
#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/attribute_locators.h"
#include "objects/datums.h"
#include "objects/dimensioners.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "platform/gdi.h"
#include "store/seams.h"
#include "store/tower.h"

namespace {

// The ghost state of a placed dimensioner: every point fixed, label included.
constexpr int kWholeConstruction = 3;

void GhostSpiralPayload(void* dc, const void* payload, const pl3::Transform* transform) {
  static EntityRecord record;  // the user-interface thread alone ghosts
  record.header = {Type_Spiral, 0, 0, transform ? *transform : pl3::kIdentityTransform};
  std::memcpy(record.payload, payload, kSpiralPayloadSize);
  DrawSpiral(dc, &record);
}

// Types 2 and 38 ghost a copy whose ends are exchanged when the item is
// mirrored relative to the view.
void GhostArcPayload(void* dc, std::uint16_t type, const void* payload, std::uint32_t flags,
                     const pl3::Transform* transform) {
  pl3::ArcLayout arc;
  std::memcpy(&arc, payload, sizeof arc);
  const CurrentWindowData* w = ActiveWindowData;
  if (w && ((w->ViewFlags & kViewDrawOtherSide) != 0) != ((w->ViewFlags & kViewOtherSide) != 0)) {
    std::swap(arc.startX, arc.endX);
    std::swap(arc.startY, arc.endY);
    pl3::PrepareArcEnds(&arc);
  }
  GhostArcData(dc, arc, flags, transform, type);
}

bool IsLineLike(std::uint16_t type) {
  switch (type) {
    case Type_Track: case Type_ThermalBreak: case Type_LinkedCut: case Type_StarEarthTrack:
    case Type_BoardOutlineLine: case Type_PlatedSlot: case Type_NonPlatedSlot:
      return true;
    default:
      return false;
  }
}

bool TakesBendByte(std::uint16_t type) {
  switch (type) {
    case Type_Polygon: case Type_Plane: case Type_PlaneCutout: case Type_RoutedLine: case Type_Wire:
    case Type_Bus: case Type_PolygonKeepout: case Type_PolygonViaKeepout: case Type_PolygonPlacementKeepout:
    case Type_ComponentPlacementOutline: case Type_ComponentBodyOutline: case Type_PolygonWiringKeepout:
      return true;
    default:
      return false;
  }
}

std::uint32_t WithBendByte(std::uint32_t flags, const EntityRecord* record) {
  return (flags & ~0xFFu) | record->header.headerLayer;
}

}  // namespace

void GhostEntityData(void* dc, std::uint16_t type, const void* payload, std::uint32_t flags,
                     const pl3::Transform* transform) {
  if (!dc || !payload) return;
  switch (type) {
    case Type_Track: case Type_ThermalBreak: case Type_RoutedLine: case Type_LinkedCut:
    case Type_StarEarthTrack: case Type_PlatedSlot: case Type_NonPlatedSlot: case Type_BoardOutlineLine:
      GhostTrackData(dc, payload, flags, transform, type);
      break;
    case Type_Wire: case Type_Bus:
      GhostTrackData(dc, payload, flags, transform, Type_Track);
      break;
    case Type_Arc: case Type_BoardOutlineArc:
      GhostArcPayload(dc, type, payload, flags, transform);
      break;
    case Type_Circle: GhostCircleData(dc, payload, transform); break;
    case Type_Polygon: case Type_Plane: case Type_PlaneCutout: case Type_PolygonKeepout:
    case Type_PolygonViaKeepout: case Type_PolygonPlacementKeepout: case Type_ComponentPlacementOutline:
    case Type_ComponentBodyOutline: case Type_PolygonWiringKeepout:
      GhostPolygonData(dc, payload, flags, transform);
      break;
    case Type_Text:
      RenderTextEntity(dc, static_cast<const TextPayload*>(payload), 0, transform);
      break;
    case Type_Rectangle: GhostRectangleData(dc, payload, transform); break;
    case Type_Hole: GhostHoleData(dc, payload, transform); break;
    case Type_Centroid: DrawCentroid(dc, payload, transform); break;
    case Type_Spiral: GhostSpiralPayload(dc, payload, transform); break;
    case Type_AttributeLocator:
      GhostLocatorRecord(dc, static_cast<const AttributeLocatorPayload*>(payload));
      break;
    case Type_AngleDimensioner:
      GhostAngleDimensioner(dc, static_cast<const DimensionerPayload*>(payload), kWholeConstruction);
      break;
    case Type_Dimensioner:
      GhostDimensioner(dc, static_cast<const DimensionerPayload*>(payload), kWholeConstruction);
      break;
    case Type_ThinLine: GhostThinLineData(dc, payload, transform); break;
    case Type_ThinArc: GhostThinArcData(dc, payload, transform); break;
    case Type_Datum: GhostDatum(dc, static_cast<const DatumPayload*>(payload)); break;
    default: break;
  }
}

void GhostEntity(void* dc, const EntityRecord* record, std::uint32_t flags) {
  if (!record) {
    ShowMessage(nullptr, "Internal error - Graphic is NULL", "GhostEntity");
    return;
  }
  std::uint16_t type = record->header.recordType;
  if (IsLineLike(type)) {
    flags = WithBendByte(flags, record);
    type = StoredCodeOfRecord(*record);
  } else if (type == Type_Arc || type == Type_BoardOutlineArc) {
    const CurrentWindowData* w = ActiveWindowData;
    if (!w || w->EditMode != kModePlacingSymbol) {
      GhostArcItem(dc, record);
      return;
    }
  } else if (TakesBendByte(type)) {
    flags = WithBendByte(flags, record);
  }
  GhostEntityData(dc, type, record->payload, flags, &record->header.transform);
}

void GhostArcItem(void* dc, const EntityRecord* record) {
  if (!record) return;
  const std::uint16_t type = (record->header.state & kStateOutlineArc) ? Type_BoardOutlineArc : Type_Arc;
  pl3::ArcLayout arc;
  std::memcpy(&arc, record->payload, sizeof arc);
  if (record->header.headerLayer & 3) {
    std::swap(arc.startX, arc.endX);
    std::swap(arc.startY, arc.endY);
  }
  GhostArcData(dc, arc, 0, &record->header.transform, type);
}

void GhostThinLineItem(void* dc, const EntityRecord* record, const pl3::Transform* transform) {
  if (record) GhostThinLineData(dc, record->payload, transform);
}
void GhostThinArcItem(void* dc, const EntityRecord* record, const pl3::Transform* transform) {
  if (record) GhostThinArcData(dc, record->payload, transform);
}
void GhostCircleItem(void* dc, const EntityRecord* record, const pl3::Transform* transform) {
  if (record) GhostCircleData(dc, record->payload, transform);
}
void GhostHoleItem(void* dc, const EntityRecord* record, const pl3::Transform* transform) {
  if (record) GhostHoleData(dc, record->payload, transform);
}
void GhostPolygonItem(void* dc, const EntityRecord* record, const pl3::Transform* transform) {
  if (record) GhostPolygonData(dc, record->payload, record->header.headerLayer, transform);
}
void GhostFilledPolygonItem(void* dc, const EntityRecord* record) {
  if (record) GhostFilledPolygonData(dc, record->payload, &record->header.transform);
}
void GhostRectangleItem(void* dc, const EntityRecord* record, const pl3::Transform* transform) {
  if (record) GhostRectangleData(dc, record->payload, transform);
}

void GhostInsertionArrayOffset(void* dc, const pl3::Transform* transform, std::int32_t dx, std::int32_t dy) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  pl3::Transform moved = transform ? *transform : pl3::kIdentityTransform;
  moved.tx += dx;
  moved.ty += dy;
  const std::uint32_t count = w->InsertionCount < kInsertionCapacity ? w->InsertionCount : kInsertionCapacity;
  for (std::uint32_t i = 0; i < count; ++i) {
    auto* record = static_cast<EntityRecord*>(w->Insertion[i]);
    if (!record) continue;
    const pl3::Transform own = record->header.transform;
    pl3::ComposeTransform(&record->header.transform, &moved);
    GhostEntity(dc, record, 0);
    record->header.transform = own;
  }
  DrawRatsnestLines(dc);
}
