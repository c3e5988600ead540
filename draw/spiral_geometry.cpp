#include "draw/spiral_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "draw/entity_geometry.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/real_size.h"
#include "objects/type_codes.h"

namespace {

// Coordinates are unsigned 32-bit values; their differences are signed.
std::int64_t Difference(std::int32_t a, std::int32_t b) {
  return static_cast<std::int64_t>(static_cast<std::uint32_t>(a)) - static_cast<std::uint32_t>(b);
}

std::int64_t Distance(pl3::Point a, pl3::Point b) {
  const double dx = static_cast<double>(Difference(b.x, a.x));
  const double dy = static_cast<double>(Difference(b.y, a.y));
  return static_cast<std::int64_t>(std::sqrt(dx * dx + dy * dy));
}

// The quadrant an end point belongs to: a point on an axis belongs to the
// quadrant that ends there. The centre itself is taken as quadrant 0.
int EndQuadrant(const SpiralPayload& s) {
  const std::int64_t dx = Difference(s.end.x, s.centre.x), dy = Difference(s.end.y, s.centre.y);
  if (dx < 0 && dy < 0) return 0;
  if (dx == 0 && dy < 0) return 0;
  if (dx > 0 && dy <= 0) return 1;
  if (dx >= 0 && dy > 0) return 2;
  if (dx < 0 && dy >= 0) return 3;
  return 0;
}

std::int32_t Wrap(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

std::int32_t EffectivePitch(std::int32_t pitch) { return pitch > 0 ? pitch : kDefaultSpiralPitch; }

}  // namespace

std::int32_t MirrorCoordinate(std::int32_t value, std::int32_t centre) { return MirrorX(value, centre); }

int GetArcQuadrant(SpiralPayload* s) {
  if (s->start.x == s->centre.x && s->start.y == s->centre.y) {
    s->start.x = Wrap(static_cast<std::int64_t>(s->start.x) - EffectivePitch(s->pitch));
    return 0;
  }
  const std::int64_t dx = Difference(s->start.x, s->centre.x), dy = Difference(s->start.y, s->centre.y);
  if (dx < 0 && dy <= 0) return 0;
  if (dx >= 0 && dy < 0) return 1;
  if (dx > 0 && dy >= 0) return 2;
  return 3;
}

void StepPointInDirection(int direction, pl3::Point* point, std::int32_t pitch) {
  const std::int32_t quarter = pitch >> 2;
  switch (direction & 3) {
    case 0: point->x = Wrap(static_cast<std::int64_t>(point->x) + quarter); break;
    case 1: point->y = Wrap(static_cast<std::int64_t>(point->y) + quarter); break;
    case 2: point->x = Wrap(static_cast<std::int64_t>(point->x) - quarter); break;
    default: point->y = Wrap(static_cast<std::int64_t>(point->y) - quarter); break;
  }
}

int GetArcSweepQuadrants(const SpiralPayload* spiral) {
  SpiralPayload s = *spiral;
  s.pitch = EffectivePitch(s.pitch);
  const int qs = GetArcQuadrant(&s);
  std::int64_t r = Distance(s.centre, s.start);
  const int qe = EndQuadrant(s);
  const int k = (qs - qe + 4) % 4;
  pl3::Point w = s.centre;
  if (k != 0) {
    r += (static_cast<std::int64_t>(k) * s.pitch) >> 2;
    for (int q = qs; q % 4 != qe; ++q) StepPointInDirection(q % 4, &w, s.pitch);
  }
  const std::int64_t d = Distance(w, s.end);
  std::int64_t n = qe;
  // The turns needed to reach the end, counted at once rather than one by
  // one, and bounded.
  if (r < d) {
    const std::int64_t turns = (d - r + s.pitch - 1) / s.pitch;
    n += 4 * std::min<std::int64_t>(turns, kMaxSpiralQuarters);
  }
  return static_cast<int>(n - 4);
}

void PrepareSpiralForDrawing(SpiralPayload* s) {
  ApplySpiralDefaults(s);
  if (s->mirrored != 1) return;
  s->start.x = MirrorCoordinate(s->start.x, s->centre.x);
  s->end.x = MirrorCoordinate(s->end.x, s->centre.x);
}

bool SpiralHasSweep(const SpiralPayload& spiral) {
  SpiralPayload s = spiral;
  PrepareSpiralForDrawing(&s);  // judged as it is drawn
  const int startQuadrant = GetArcQuadrant(&s);
  return GetArcSweepQuadrants(&s) >= startQuadrant;
}

int ForEachSpiralQuarter(const SpiralPayload& spiral, void (*emit)(const SpiralQuarter& quarter, void* context),
                         void* context) {
  SpiralPayload s = spiral;
  const int qs = GetArcQuadrant(&s);
  const int last = GetArcSweepQuadrants(&s);
  const std::int64_t r0 = Distance(s.centre, s.start);
  pl3::Point w = s.centre;
  std::int64_t radius = r0;
  int emitted = 0;
  for (int i = qs, j = 0; i <= last && j < kMaxSpiralQuarters; ++i, ++j) {
    if (j % 4 == 0) {
      w = s.centre;
      radius = r0 + static_cast<std::int64_t>(s.pitch) * (j / 4);
    } else {
      StepPointInDirection(i % 4, &w, s.pitch);
      radius += s.pitch >> 2;
    }
    const std::int32_t R = Wrap(radius);
    const std::int64_t wx = w.x, wy = w.y;
    pl3::Point from, to;
    switch (i % 4) {
      case 0: from = {Wrap(wx - radius), w.y}; to = {w.x, Wrap(wy - radius)}; break;
      case 1: from = {w.x, Wrap(wy - radius)}; to = {Wrap(wx + radius), w.y}; break;
      case 2: from = {Wrap(wx + radius), w.y}; to = {w.x, Wrap(wy + radius)}; break;
      default: from = {w.x, Wrap(wy + radius)}; to = {Wrap(wx - radius), w.y}; break;
    }
    if (j == 0) from = s.start;
    if (i == last) {
      std::int32_t dx = Wrap(Difference(s.end.x, s.centre.x)), dy = Wrap(Difference(s.end.y, s.centre.y));
      ScaleVectorToLength(R, &dx, &dy);
      to = {Wrap(wx + dx), Wrap(wy + dy)};
    }
    SpiralQuarter quarter{w, R, from, to};
    if (s.mirrored == 1) {
      quarter.centre.x = MirrorCoordinate(quarter.centre.x, s.centre.x);
      quarter.from.x = MirrorCoordinate(from.x, s.centre.x);
      quarter.to.x = MirrorCoordinate(to.x, s.centre.x);
      std::swap(quarter.from, quarter.to);
    }
    emit(quarter, context);
    ++emitted;
  }
  return emitted;
}

pl3::ArcLayout SpiralQuarterArc(const SpiralQuarter& q, const pl3::ArcLayout& base) {
  pl3::ArcLayout arc = base;
  arc.radius = q.radius;
  arc.centreX = q.centre.x;
  arc.centreY = q.centre.y;
  arc.startX = q.from.x - q.centre.x;
  arc.startY = q.from.y - q.centre.y;
  arc.endX = q.to.x - q.centre.x;
  arc.endY = q.to.y - q.centre.y;
  return arc;
}

std::int64_t SpiralOuterRadius(const SpiralPayload& spiral) {
  SpiralPayload s = spiral;
  PrepareSpiralForDrawing(&s);
  const int qs = GetArcQuadrant(&s);
  const int turns = (GetArcSweepQuadrants(&s) - qs) / 4;
  return Distance(s.centre, s.start) + static_cast<std::int64_t>(s.pitch) * (turns + 1);
}

std::int32_t SpiralDrawnWidth(const SpiralPayload& spiral) {
  return (spiral.head.sizeFlags & pl3::kSizeIndexed) ? ReturnRealSize(Type_Spiral, spiral.head.sizeIndex, 0)
                                                     : spiral.width;
}
