// Moving an entity payload by an offset, held inside the design area.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "draw/spiral_geometry.h"
#include "edit/drag_geometry.h"
#include "objects/graphic_records.h"
#include "objects/item_helper_seams.h"
#include "objects/type_codes.h"
#include "platform/reset_hooks.h"

std::uint8_t NoClampMoves = 0;

namespace {

void ResetNoClamp() { NoClampMoves = 0; }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetNoClamp);

// The coordinate pairs of a payload that move, as byte offsets, with the
// reach around them (the width, or an arc's radius plus width). When
// `bounds` is not empty, only those points and the reach bound the item
// (a spiral's centre and its outer radius plus width).
struct MovedPoints {
  std::vector<std::uint32_t> offsets;
  std::vector<std::uint32_t> bounds;
  std::int64_t reach = 0;
};

std::int32_t Word(const std::uint8_t* p, std::uint32_t offset) {
  std::int32_t v;
  std::memcpy(&v, p + offset, 4);
  return v;
}

MovedPoints PointsOf(const std::uint8_t* p, std::uint16_t type) {
  MovedPoints m;
  switch (type) {
    case Type_Track: case Type_ThermalBreak: case Type_RoutedLine: case Type_Wire: case Type_Bus:
    case Type_LinkedCut: case Type_StarEarthTrack: case Type_BoardOutlineLine: case Type_PlatedSlot:
    case Type_NonPlatedSlot: case Type_ThinLine:
      m.offsets = {52, 60};
      m.reach = Word(p, 48);
      break;
    case Type_Arc: case Type_BoardOutlineArc: case Type_ThinArc:
      m.offsets = {72};
      m.reach = std::int64_t{Word(p, 52)} + Word(p, 48);
      break;
    case Type_Circle:
      m.offsets = {52};
      m.reach = Word(p, 48);
      break;
    case Type_Polygon: case Type_Plane: case Type_PlaneCutout: case Type_PolygonKeepout:
    case Type_PolygonViaKeepout: case Type_PolygonPlacementKeepout: case Type_ComponentPlacementOutline:
    case Type_ComponentBodyOutline: case Type_PolygonWiringKeepout: {
      m.offsets = {52, 60};  // the box moves with the points
      for (std::uint32_t i = 0; i < p[48]; ++i) m.offsets.push_back(68 + 8 * i);
      break;
    }
    case Type_Text:
      m.offsets = {40};
      break;
    case Type_Rectangle:
      m.offsets = {48, 56, 64, 72, 80};
      break;
    case Type_Hole:
      m.offsets = {60};
      m.reach = Word(p, 52);  // the first size is the hole's radius
      break;
    case Type_Centroid:
      m.offsets = {48};
      break;
    case Type_Spiral: {
      m.offsets = {52, 60, 68};
      m.bounds = {52};
      SpiralPayload spiral;
      std::memcpy(&spiral, p, sizeof spiral);
      m.reach = SpiralOuterRadius(spiral) + SpiralDrawnWidth(spiral);
      break;
    }
    case Type_Datum:
      m.offsets = {52};
      break;
    case Type_AttributeLocator:
      m.offsets = {60, 68};
      break;
    case Type_Dimensioner: case Type_AngleDimensioner:
      m.offsets = {48, 56, 64, 92};
      break;
    default:
      break;
  }
  return m;
}

// The offset cut so that every point widened by the reach stays inside.
std::int64_t Clamped(std::int64_t d, std::int64_t low, std::int64_t high, std::int64_t reach) {
  if (d > 0) return std::min(d, kDesignAreaHigh - (high + reach));
  if (d < 0) return std::max(d, kDesignAreaLow - (low - reach));
  return d;
}

}  // namespace

void OffsetEntity(void* payload, std::uint16_t type, std::int32_t dx, std::int32_t dy, int clamp) {
  if (!payload) return;
  auto* p = static_cast<std::uint8_t*>(payload);
  const MovedPoints m = PointsOf(p, type);
  if (m.offsets.empty()) return;
  std::int64_t ddx = dx, ddy = dy;
  if (clamp && !NoClampMoves) {
    std::int64_t x0 = INT64_MAX, x1 = INT64_MIN, y0 = INT64_MAX, y1 = INT64_MIN;
    for (std::uint32_t o : m.bounds.empty() ? m.offsets : m.bounds) {
      x0 = std::min<std::int64_t>(x0, Word(p, o));
      x1 = std::max<std::int64_t>(x1, Word(p, o));
      y0 = std::min<std::int64_t>(y0, Word(p, o + 4));
      y1 = std::max<std::int64_t>(y1, Word(p, o + 4));
    }
    ddx = Clamped(ddx, x0, x1, m.reach);
    ddy = Clamped(ddy, y0, y1, m.reach);
  }
  for (std::uint32_t o : m.offsets) {
    const std::int32_t x = static_cast<std::int32_t>(Word(p, o) + ddx);
    const std::int32_t y = static_cast<std::int32_t>(Word(p, o + 4) + ddy);
    std::memcpy(p + o, &x, 4);
    std::memcpy(p + o + 4, &y, 4);
  }
}
