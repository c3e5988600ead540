// The byte layouts of the graphic payloads that the kernel reads and
// transforms. Offsets are those of the stored payload, so they are part of
// the item data stream and tower file formats; each is checked here.
#pragma once
#include <cstddef>
#include <cstdint>

#include "geometry/types.h"

namespace pl3 {

// The common head of every graphic payload (bytes 0-47).
struct GraphicLayoutHead {
  std::uint8_t layer;
  std::uint8_t spare;
  std::uint16_t sizeFlags;  // bit 0: the size is an index into the size table
  std::uint32_t sizeIndex;
  std::uint32_t netIds[2];
  std::uint8_t marks[4];
  std::uint32_t reserved;
  Transform transform;
};
static_assert(sizeof(GraphicLayoutHead) == 48);
static_assert(offsetof(GraphicLayoutHead, sizeFlags) == 2 && offsetof(GraphicLayoutHead, sizeIndex) == 4);
static_assert(offsetof(GraphicLayoutHead, transform) == 24);

inline constexpr std::uint16_t kSizeIndexed = 1;

// Track, line and slot (also the first 68 bytes of wires and buses).
struct TrackLayout {
  GraphicLayoutHead head;
  std::int32_t width;  // half-width: also the radius of the round ends
  std::int32_t x1, y1, x2, y2;
};
static_assert(sizeof(TrackLayout) == 68 && offsetof(TrackLayout, x1) == 52 && offsetof(TrackLayout, x2) == 60);

// Arc with its draw state, recomputed before each drawing.
struct ArcLayout {
  GraphicLayoutHead head;
  std::int32_t width;
  std::int32_t radius;
  std::int32_t startX, startY;  // direction vectors from the centre
  std::int32_t endX, endY;
  std::int32_t centreX, centreY;
  std::int32_t startMajor, startMinor;  // reduced start vector
  std::int32_t endMajor, endMinor;      // reduced end vector
  std::uint8_t startOctant;
  std::uint8_t endOctant;
  std::uint8_t spare[2];
  std::int32_t latticeStartX, latticeStartY;  // lattice points at the radius, from the centre
  std::int32_t latticeEndX, latticeEndY;
};
static_assert(sizeof(ArcLayout) == 116);
static_assert(offsetof(ArcLayout, startX) == 56 && offsetof(ArcLayout, endX) == 64);
static_assert(offsetof(ArcLayout, centreX) == 72 && offsetof(ArcLayout, startMajor) == 80);
static_assert(offsetof(ArcLayout, endMajor) == 88 && offsetof(ArcLayout, startOctant) == 96);
static_assert(offsetof(ArcLayout, latticeStartX) == 100 && offsetof(ArcLayout, latticeEndX) == 108);

struct CircleLayout {
  GraphicLayoutHead head;
  std::int32_t size;  // the radius
  std::int32_t centreX, centreY;
};
static_assert(sizeof(CircleLayout) == 60 && offsetof(CircleLayout, centreX) == 52);

// Holes and vias.
struct HoleLayout {
  GraphicLayoutHead head;
  std::uint8_t style;
  std::uint8_t flags;  // bit 2: short cross; bit 3: sizes from the via list
  std::uint8_t spare[2];
  std::int32_t size1, size2;
  std::int32_t centreX, centreY;
};
static_assert(offsetof(HoleLayout, flags) == 49 && offsetof(HoleLayout, size1) == 52);
static_assert(offsetof(HoleLayout, centreX) == 60 && sizeof(HoleLayout) == 68);
inline constexpr std::uint8_t kHoleShortCross = 4;
inline constexpr std::uint8_t kHoleFromViaList = 8;

struct RectangleLayout {
  GraphicLayoutHead head;
  Point corners[4];
  std::int32_t centreX, centreY;
};
static_assert(offsetof(RectangleLayout, corners) == 48 && offsetof(RectangleLayout, centreX) == 80);
static_assert(sizeof(RectangleLayout) == 88);

// Polygon: count byte at 48, points from 68, then count - 2 triangles of
// three one-byte point indices right after the points.
struct PolygonLayout {
  GraphicLayoutHead head;
  std::uint8_t count;
  std::uint8_t editIndex;
  std::uint8_t spare[2];
  Point extra[2];
  // `count` points follow from byte 68, then the triangles.
};
static_assert(offsetof(PolygonLayout, count) == 48 && sizeof(PolygonLayout) == 68);

inline Point* PolygonPoints(PolygonLayout* p) { return reinterpret_cast<Point*>(p + 1); }
inline const Point* PolygonPoints(const PolygonLayout* p) { return reinterpret_cast<const Point*>(p + 1); }
inline std::uint8_t* PolygonTriangles(PolygonLayout* p) {
  return reinterpret_cast<std::uint8_t*>(PolygonPoints(p) + p->count);
}
inline const std::uint8_t* PolygonTriangles(const PolygonLayout* p) {
  return reinterpret_cast<const std::uint8_t*>(PolygonPoints(p) + p->count);
}

}  // namespace pl3
