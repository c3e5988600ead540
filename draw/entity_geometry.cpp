#include "draw/entity_geometry.h"

#include <algorithm>
#include <cstring>

#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/octants.h"
#include "geometry/transform.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

using pl3::Point;

// Wrapping coordinate arithmetic: design coordinates are unsigned words.
std::int32_t Add(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
std::int32_t Sub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// Turns one point by the linear part about the pivot.
void TurnPoint(const pl3::Transform& linear, Point pivot, std::int32_t& x, std::int32_t& y) {
  x = Sub(x, pivot.x);
  y = Sub(y, pivot.y);
  pl3::TransformVector(&linear, x, y);
  x = Add(x, pivot.x);
  y = Add(y, pivot.y);
}
void TurnPoint(const pl3::Transform& linear, Point pivot, Point& p) { TurnPoint(linear, pivot, p.x, p.y); }

// A transform's translation moved by the pivot, composed with the linear part, moved back.
void TurnTransform(pl3::Transform& t, const pl3::Transform& linear, Point pivot) {
  t.tx = Sub(t.tx, pivot.x);
  t.ty = Sub(t.ty, pivot.y);
  pl3::Transform turned = t;
  turned.tx = 0;
  turned.ty = 0;
  pl3::ComposeTransform(&turned, &linear);
  std::int32_t x = t.tx, y = t.ty;
  pl3::TransformVector(&linear, x, y);
  turned.tx = Add(x, pivot.x);
  turned.ty = Add(y, pivot.y);
  t = turned;
}

bool IsLineType(std::uint16_t type) {
  switch (type) {
    case 1: case 10: case 11: case 23: case 28: case 29: case 35: case 37: case 39: case 46: case 47: return true;
    default: return false;
  }
}
bool IsPolygonType(std::uint16_t type) {
  return type == 4 || type == 8 || type == 9 || (type >= 41 && type <= 45) || type == 49;
}
bool IsHandledType(std::uint16_t type) {
  if (IsLineType(type) || IsPolygonType(type)) return true;
  switch (type) {
    case 2: case 38: case 3: case 5: case 6: case 7: case 18: case 19: case 20: return true;
    default: return false;
  }
}

void TurnByType(std::uint8_t* p, std::uint16_t type, const pl3::Transform& linear, Point pivot) {
  if (IsLineType(type)) {
    auto* line = reinterpret_cast<LinePayload*>(p);
    TurnPoint(linear, pivot, line->x1, line->y1);
    TurnPoint(linear, pivot, line->x2, line->y2);
    return;
  }
  if (IsPolygonType(type)) {
    auto* polygon = reinterpret_cast<PolygonHead*>(p);
    Point* points = pl3::PolygonPoints(polygon);
    for (std::uint32_t i = 0; i < polygon->count; ++i) TurnPoint(linear, pivot, points[i]);
    return;
  }
  switch (type) {
    case 2: case 38: {
      auto* arc = reinterpret_cast<ArcPayload*>(p);
      TurnPoint(linear, pivot, arc->centreX, arc->centreY);
      pl3::TransformVector(&linear, arc->startX, arc->startY);
      pl3::TransformVector(&linear, arc->endX, arc->endY);
      return;
    }
    case 3: {
      auto* circle = reinterpret_cast<CirclePayload*>(p);
      TurnPoint(linear, pivot, circle->centreX, circle->centreY);
      return;
    }
    case 5: TurnTransform(reinterpret_cast<TextPayload*>(p)->textTransform, linear, pivot); return;
    case 6: {
      auto* rect = reinterpret_cast<pl3::RectangleLayout*>(p);
      TurnTransform(rect->head.transform, linear, pivot);
      TurnPoint(linear, pivot, rect->centreX, rect->centreY);
      return;
    }
    case 7: {
      auto* hole = reinterpret_cast<pl3::HoleLayout*>(p);
      TurnPoint(linear, pivot, hole->centreX, hole->centreY);
      return;
    }
    case 18: {
      auto* centroid = reinterpret_cast<CentroidPayload*>(p);
      TurnPoint(linear, pivot, centroid->position);
      pl3::TransformVector(&linear, centroid->direction.x, centroid->direction.y);
      return;
    }
    case 19: {
      auto* spiral = reinterpret_cast<SpiralPayload*>(p);
      TurnPoint(linear, pivot, spiral->centre);
      TurnPoint(linear, pivot, spiral->start);
      TurnPoint(linear, pivot, spiral->end);
      return;
    }
    case 20: {
      auto* locator = reinterpret_cast<LocatorPayload*>(p);
      TurnPoint(linear, pivot, locator->x, locator->y);
      TurnTransform(locator->head.transform, linear, pivot);
      return;
    }
    default: return;
  }
}

bool IsVertical(const pl3::Transform& t) { return t.a == 0; }

// Exchanges two flag bits of a word.
std::uint32_t SwapBits(std::uint32_t word, std::uint32_t a, std::uint32_t b) {
  const bool hasA = word & a, hasB = word & b;
  word &= ~(a | b);
  if (hasA) word |= b;
  if (hasB) word |= a;
  return word;
}

bool SameLinear(const pl3::Transform& a, const pl3::Transform& b) {
  return a.a == b.a && a.b == b.b && a.c == b.c && a.d == b.d;
}

}  // namespace

int RotateEntityData(void* payload, std::uint16_t type, const pl3::Point* pivot, const pl3::Transform* transform) {
  if (!payload || !transform || !IsHandledType(type)) return 0;
  pl3::Transform linear = *transform;
  linear.tx = 0;
  linear.ty = 0;
  const Point centre = pivot ? *pivot : Point{transform->tx, transform->ty};
  TurnByType(static_cast<std::uint8_t*>(payload), type, linear, centre);
  return 1;
}

bool ContainingSymbolOriginX(const Tower* item, std::int32_t* originX) {
  Tower* symbol = item ? GetEnclosingTower(item, kMirrorSymbolCode) : nullptr;
  const std::uint8_t* origin = symbol ? ChildPayloadOfAtLeast(symbol, Type_Origin, 8) : nullptr;
  if (origin) std::memcpy(originX, origin, sizeof *originX);
  ReleaseTower(&symbol);
  return origin != nullptr;
}

void MirrorLineData(void* linePayload, std::int32_t originX) {
  auto* line = static_cast<LinePayload*>(linePayload);
  line->x1 = MirrorX(line->x1, originX);
  line->x2 = MirrorX(line->x2, originX);
}

void MirrorCircleData(void* circlePayload, std::int32_t originX) {
  auto* circle = static_cast<CirclePayload*>(circlePayload);
  circle->centreX = MirrorX(circle->centreX, originX);
}

void MirrorRectangleData(void* rectPayload, std::int32_t originX) {
  auto* rect = static_cast<pl3::RectangleLayout*>(rectPayload);
  for (Point& corner : rect->corners) corner.x = MirrorX(corner.x, originX);
  rect->centreX = MirrorX(rect->centreX, originX);
}

void MirrorPolygonData(void* polygonPayload, std::int32_t originX, std::uint32_t payloadSize) {
  auto* polygon = static_cast<PolygonHead*>(polygonPayload);
  if (payloadSize < sizeof(PolygonHead)) return;
  // Never reach past the record, whatever its count byte says.
  const std::uint32_t fits = (payloadSize - sizeof(PolygonHead)) / sizeof(Point);
  const std::uint32_t count = std::min<std::uint32_t>(polygon->count, fits);
  Point* points = pl3::PolygonPoints(polygon);
  for (std::uint32_t i = 0; i < count; ++i) points[i].x = MirrorX(points[i].x, originX);
}

void MirrorArcData(void* arcPayload, std::int32_t originX) {
  auto* arc = static_cast<ArcPayload*>(arcPayload);
  arc->centreX = MirrorX(arc->centreX, originX);
  const Point start{arc->startX, arc->startY};
  arc->startX = Sub(0, arc->endX);
  arc->startY = arc->endY;
  arc->endX = Sub(0, start.x);
  arc->endY = start.y;
  pl3::PrepareArcEnds(arc);
}

void MirrorAboutRecordCentre(const Tower* symbolItem, std::int32_t* x) {
  std::int32_t originX = 0;
  if (x && ContainingSymbolOriginX(symbolItem, &originX)) *x = MirrorX(*x, originX);
}

void MirrorTextData(void* locatorPayload, std::int32_t originX) {
  auto* locator = static_cast<LocatorPayload*>(locatorPayload);
  locator->x = MirrorX(locator->x, originX);
  locator->textX = MirrorX(locator->textX, originX);
  if (IsVertical(locator->head.transform)) {
    locator->style1 = SwapBits(locator->style1, 16, 32);
  } else {
    locator->style2 = SwapBits(locator->style2, 4, 8);
  }
}

std::int32_t MirrorTextPayload(void* textPayload, std::int32_t originX) {
  auto* text = static_cast<TextPayload*>(textPayload);
  const std::int32_t distance = Sub(text->textTransform.tx, originX);
  text->textTransform.tx = MirrorX(text->textTransform.tx, originX);
  text->justification = IsVertical(text->textTransform) ? SwapBits(text->justification, 16, 32)
                                                        : SwapBits(text->justification, 4, 8);
  return distance < 0 ? Sub(0, distance) : distance;
}

void MirrorTwoPointData(void* record, std::int32_t originX) {
  auto* words = static_cast<std::int32_t*>(record);
  words[0] = MirrorX(words[0], originX);
  words[2] = MirrorX(words[2], originX);
}

void SwapLineEnds(void* linePayload) {
  auto* line = static_cast<LinePayload*>(linePayload);
  std::swap(line->x1, line->x2);
  std::swap(line->y1, line->y2);
}

void SwapSegmentEnds(void* segment) {
  auto* words = static_cast<std::int32_t*>(segment);
  std::swap(words[0], words[2]);
  std::swap(words[1], words[3]);
}

void GetRectangleCorners(const void* rectPayload, const pl3::Transform* transform, pl3::Point corners[4]) {
  RectanglePayload rect;
  std::memcpy(&rect, rectPayload, sizeof rect);
  ResolveEntitySizes(&rect, Type_Rectangle);
  pl3::Transform own = rect.rect.head.transform;
  own.tx = 0;
  own.ty = 0;
  const Point centre{rect.rect.centreX, rect.rect.centreY};
  for (int i = 0; i < 4; ++i) {
    corners[i] = rect.rect.corners[i];
    TurnPoint(own, centre, corners[i]);
    if (transform) pl3::TransformPoint(transform, corners[i].x, corners[i].y);
  }
}

void ScaleVectorToLength(std::int32_t length, std::int32_t* dx, std::int32_t* dy) {
  const Point v = pl3::LatticeVector(*dx, *dy, length);
  *dx = v.x;
  *dy = v.y;
}

void ScalePointVectorToLength(std::int32_t length, pl3::Point* vector) {
  ScaleVectorToLength(length, &vector->x, &vector->y);
}

void CentreBoxOnAnchor(pl3::Box* box, const pl3::Transform* transform) {
  static constexpr pl3::Transform kHalfTurn = {-pl3::kFixedOne, 0, 0, -pl3::kFixedOne, 0, 0};
  const pl3::Transform placement = ActiveWindowData ? ActiveWindowData->PlacementTransform : pl3::kIdentityTransform;
  auto centre = [](std::int32_t& low, std::int32_t& high, std::int32_t anchor) {
    const std::int64_t d = std::max(std::int64_t{anchor} - low, std::int64_t{high} - anchor);
    low = static_cast<std::int32_t>(anchor - d);
    high = static_cast<std::int32_t>(anchor + d);
  };
  if (SameLinear(*transform, placement) || SameLinear(*transform, kHalfTurn)) {
    centre(box->ymin, box->ymax, transform->ty);
  } else {
    centre(box->xmin, box->xmax, transform->tx);
  }
}

void RecalcTrackDataBox(void* linePayload) {
  auto* line = static_cast<LinePayload*>(linePayload);
  ResolveEntitySizes(line, Type_Track);
  pl3::Transform own = line->head.transform;
  RotateEntityData(line, Type_Track, nullptr, &own);
}
