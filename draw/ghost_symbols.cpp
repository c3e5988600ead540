// The ghost of a placed symbol's contents: its pins as small squares and
// every other child through GhostEntityData, mirrored while the symbol is.
#include <cstdlib>
#include <cstring>

#include "draw/ghost_pens.h"
#include "draw/ghosts.h"
#include "edit/window_data.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/gdi.h"
#include "store/tower.h"

namespace {

HDC AsDC(void* dc) { return static_cast<HDC>(dc); }

std::int32_t Reflect(std::int32_t axis, std::int32_t x) {
  const std::int64_t a = axis < 0 ? -static_cast<std::int64_t>(axis) : axis;
  return static_cast<std::int32_t>(2 * a - x);
}

// Reflects the x coordinates of a payload copy about the axis; false for
// kinds without a reflection here (they are ghosted as they stand).
bool ReflectPayload(std::uint16_t type, std::uint8_t* p, std::uint32_t size, std::int32_t axis) {
  const auto reflectAt = [&](std::uint32_t offset) {
    if (offset + 4 <= size) WriteI32(p, offset, Reflect(axis, ReadI32(p, offset)));
  };
  const auto negateAt = [&](std::uint32_t offset) {
    if (offset + 4 <= size) WriteI32(p, offset, -ReadI32(p, offset));
  };
  switch (type) {
    case Type_Track: case Type_ThermalBreak: case Type_RoutedLine: case Type_LinkedCut: case Type_StarEarthTrack:
    case Type_BoardOutlineLine: case Type_PlatedSlot: case Type_NonPlatedSlot: case Type_ThinLine: case Type_Wire:
    case Type_Bus:
      reflectAt(offsetof(pl3::TrackLayout, x1));
      reflectAt(offsetof(pl3::TrackLayout, x2));
      return true;
    case Type_Arc: case Type_BoardOutlineArc: case Type_ThinArc: {
      reflectAt(offsetof(pl3::ArcLayout, centreX));
      // A reflection turns the sweep round: the ends change places.
      negateAt(offsetof(pl3::ArcLayout, startX));
      negateAt(offsetof(pl3::ArcLayout, endX));
      pl3::ArcLayout arc;
      if (size < sizeof arc) return true;
      std::memcpy(&arc, p, sizeof arc);
      std::swap(arc.startX, arc.endX);
      std::swap(arc.startY, arc.endY);
      std::memcpy(p, &arc, sizeof arc);
      return true;
    }
    case Type_Circle: reflectAt(offsetof(pl3::CircleLayout, centreX)); return true;
    case Type_Hole: reflectAt(offsetof(pl3::HoleLayout, centreX)); return true;
    case Type_Rectangle:
      for (std::uint32_t i = 0; i < 4; ++i) reflectAt(offsetof(pl3::RectangleLayout, corners) + 8 * i);
      reflectAt(offsetof(pl3::RectangleLayout, centreX));
      return true;
    case Type_Polygon: case Type_Plane: case Type_PlaneCutout: case Type_PolygonKeepout: case Type_PolygonViaKeepout:
    case Type_PolygonPlacementKeepout: case Type_ComponentPlacementOutline: case Type_ComponentBodyOutline:
    case Type_PolygonWiringKeepout: {
      if (size < sizeof(pl3::PolygonLayout)) return true;
      const std::uint32_t n = p[offsetof(pl3::PolygonLayout, count)];
      for (std::uint32_t i = 0; i < n; ++i) reflectAt(sizeof(pl3::PolygonLayout) + 8 * i);
      return true;
    }
    case Type_Text:
      reflectAt(offsetof(TextPayload, textTransform) + offsetof(pl3::Transform, tx));
      return true;
    default:
      return false;
  }
}

void GhostPin(void* dc, const Tower* pin, const pl3::Transform& t, bool mirrored, std::int32_t axis) {
  const std::uint8_t* origin = ChildPayloadOfAtLeast(pin, Type_Origin, 8);
  if (!origin) return;
  std::int32_t x = ReadI32(origin, 0), y = ReadI32(origin, 4);
  if (mirrored) x = Reflect(axis, x);
  pl3::TransformPoint(&t, x, y);
  std::int32_t left = x - kPinGhostHalfSide, top = y - kPinGhostHalfSide;
  std::int32_t right = x + kPinGhostHalfSide, bottom = y + kPinGhostHalfSide;
  pl3::WorldToView(left, top);
  pl3::WorldToView(right, bottom);
  const CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t plane0 = w->layerTable.layers[0].planeBit;
  SetXorPen(dc, (w->StateFlags & kStateHairline) ? 1 : 0, plane0);
  Rectangle(AsDC(dc), left, top, right + 1, bottom + 1);
  RestoreXorPen(dc);
}

pl3::Transform InstanceTransform(const Tower* instance, pl3::Point offset) {
  pl3::Transform t = pl3::kIdentityTransform;
  if (const std::uint8_t* p = ChildPayloadOfAtLeast(instance, Type_Transform, sizeof t)) std::memcpy(&t, p, sizeof t);
  if (const std::uint8_t* p = ChildPayloadOfAtLeast(instance, Type_Offset, 8)) {
    t.tx += ReadI32(p, 0);
    t.ty += ReadI32(p, 4);
  }
  t.tx += offset.x;
  t.ty += offset.y;
  return t;
}

bool IsQuarterTurn(const pl3::Transform& t) { return t.a == 0 && t.d == 0; }

}  // namespace

void GhostSymbolContents(void* dc, const Tower* instance, const Tower* definition, pl3::Point offset) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !dc || !definition) return;
  const pl3::Transform t = InstanceTransform(instance, offset);
  const bool mirrored = (w->StateFlags & kStateSymbolMirrored) != 0;
  const std::int32_t axis = IsQuarterTurn(t) ? t.tx : t.ty;
  Tower* children = GetAllChildrenTower(definition);
  while (children) {
    Entity* e = FindNextEntity(children);
    if (!e) break;
    if (e->typeCode == Type_SymbolPin) {
      GhostPin(dc, children, t, mirrored, axis);
      continue;
    }
    // A zero-filled copy as large as any working record: the drawers read
    // their fixed layouts whatever a stored payload's size.
    const std::size_t room = e->payloadSize > kLargestPayloadRoom ? e->payloadSize + 1 : kLargestPayloadRoom;
    auto* copy = static_cast<std::uint8_t*>(std::calloc(room, 1));
    if (!copy) continue;
    std::memcpy(copy, EntityPayload(e), e->payloadSize);
    if (mirrored) ReflectPayload(e->typeCode, copy, e->payloadSize, axis);
    GhostEntityData(dc, e->typeCode, copy, 0, &t);
    std::free(copy);
  }
  ReleaseTower(&children);
}
