// Drawing and XOR construction of dimensioners.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/dimensioner_seams.h"
#include "objects/dimensioners.h"
#include "objects/drawing_seams.h"
#include "objects/text_item_services.h"
#include "platform/user.h"

namespace {

// A dimensioner measured along y is drawn as one along x with the axes
// exchanged: (u, v) is (along the dimension line, across it).
struct Axes {
  bool swapped;
  pl3::Point At(std::int32_t u, std::int32_t v) const { return swapped ? pl3::Point{v, u} : pl3::Point{u, v}; }
  std::int32_t U(pl3::Point p) const { return swapped ? p.y : p.x; }
  std::int32_t V(pl3::Point p) const { return swapped ? p.x : p.y; }
};

std::int32_t Add(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// Two strokes of the arrow length from the tip, along `direction` turned by
// each of the fixed rotations.
void AddArrowhead(std::vector<DimensionerSegment>& out, pl3::Point tip, double dx, double dy) {
  const double length = std::hypot(dx, dy);
  if (length == 0) return;
  for (const pl3::Transform& rotation : ArrowheadRotations) {
    auto x = static_cast<std::int32_t>(dx / length * kDimensionerArrowLength);
    auto y = static_cast<std::int32_t>(dy / length * kDimensionerArrowLength);
    pl3::TransformVector(&rotation, x, y);
    out.push_back({tip, {Add(tip.x, x), Add(tip.y, y)}});
  }
}

void RenderLabel(void* target, std::uint16_t type, const DimensionerPayload* d, const Tower* entity, int style) {
  TextPayload* item = BuildDimensionerLabelItem(type, d, entity);
  if (!item) return;
  RenderTextEntity(target, item, static_cast<std::uint8_t>(style), &pl3::R0);
  std::free(item);
}

bool DrawsTracks(int pass) { return pass == 0 || pass == 24 || pass == 37; }

void DrawSegments(void* target, std::uint8_t layer, const std::vector<DimensionerSegment>& segments, int pass) {
  for (const DimensionerSegment& s : segments) {
    DrawDimensionerTrack(target, layer, s.from, s.to, kDimensionerLineWidth, pass);
  }
}

void GhostSegments(void* dc, const std::vector<DimensionerSegment>& segments) {
  for (const DimensionerSegment& s : segments) GhostWorldLine(dc, s.from, s.to);
}

void GhostMarker(void* dc, pl3::Point p) {
  GhostWorldCircle(dc, p, kDimensionerMarkerRadius);
  GhostWorldLine(dc, {p.x - kDimensionerMarkerRadius, p.y}, {p.x + kDimensionerMarkerRadius, p.y});
  GhostWorldLine(dc, {p.x, p.y - kDimensionerMarkerRadius}, {p.x, p.y + kDimensionerMarkerRadius});
}

std::int32_t Radius(const DimensionerPayload* d) {
  return static_cast<std::int32_t>(
      std::lround(std::hypot(static_cast<double>(d->a.x) - d->c.x, static_cast<double>(d->a.y) - d->c.y)));
}

// The point three quarters of the way from C to p.
pl3::Point ThreeQuarters(pl3::Point c, pl3::Point p) {
  return {static_cast<std::int32_t>(c.x + (static_cast<double>(p.x) - c.x) * 0.75),
          static_cast<std::int32_t>(c.y + (static_cast<double>(p.y) - c.y) * 0.75)};
}

}  // namespace

std::vector<DimensionerSegment> BuildDimensionerSegments(const DimensionerPayload* d, const Tower* entity,
                                                         bool breakAroundLabel) {
  const Axes axes{ClassifyDimensionerDirection(d) >= 2};
  const std::int32_t au = axes.U(d->a), bu = axes.U(d->b), line = axes.V(d->c);
  std::vector<DimensionerSegment> out;
  out.push_back({d->a, axes.At(au, line)});
  out.push_back({d->b, axes.At(bu, line)});
  const std::int32_t lo = std::min(au, bu), hi = std::max(au, bu);
  if (d->options & kDimensionerArrowsOutside) {
    out.push_back({axes.At(lo - kDimensionerStubLength, line), axes.At(lo, line)});
    out.push_back({axes.At(hi, line), axes.At(hi + kDimensionerStubLength, line)});
    // Heads at the span's ends, pointing inwards: strokes run outwards.
    AddArrowhead(out, axes.At(lo, line), axes.swapped ? 0 : -1, axes.swapped ? -1 : 0);
    AddArrowhead(out, axes.At(hi, line), axes.swapped ? 0 : 1, axes.swapped ? 1 : 0);
    return out;
  }
  bool broken = false;
  if (breakAroundLabel) {
    pl3::Box label;
    GetDimensionerLabelBox(22, d, entity, &label);
    const std::int32_t lu0 = axes.swapped ? label.ymin : label.xmin, lu1 = axes.swapped ? label.ymax : label.xmax;
    const std::int32_t lv0 = axes.swapped ? label.xmin : label.ymin, lv1 = axes.swapped ? label.xmax : label.ymax;
    if (lv0 <= line + kDimensionerLineWidth && lv1 >= line - kDimensionerLineWidth && lu1 >= lo && lu0 <= hi) {
      broken = true;
      // The clearance box: widened by the marker radius and moved up.
      pl3::Box clear{label.xmin - kDimensionerMarkerRadius, label.ymin - kDimensionerMarkerRadius + kDimensionerLabelShift,
                     label.xmax + kDimensionerMarkerRadius, label.ymax + kDimensionerMarkerRadius + kDimensionerLabelShift};
      const std::int32_t cu0 = axes.swapped ? clear.ymin : clear.xmin, cu1 = axes.swapped ? clear.ymax : clear.xmax;
      if (cu0 > lo) out.push_back({axes.At(lo, line), axes.At(std::min(cu0, hi), line)});
      if (cu1 < hi) out.push_back({axes.At(std::max(cu1, lo), line), axes.At(hi, line)});
    }
  }
  if (!broken) out.push_back({axes.At(lo, line), axes.At(hi, line)});
  // Heads at both ends, pointing outwards: strokes run back along the line.
  AddArrowhead(out, axes.At(lo, line), axes.swapped ? 0 : 1, axes.swapped ? 1 : 0);
  AddArrowhead(out, axes.At(hi, line), axes.swapped ? 0 : -1, axes.swapped ? -1 : 0);
  return out;
}

std::vector<DimensionerSegment> BuildAngleDimensionerSegments(const DimensionerPayload* d) {
  std::vector<DimensionerSegment> out;
  const pl3::Point armEnd = AngleDimensionerArmEnd(d);
  out.push_back({d->a, d->c});
  out.push_back({d->c, armEnd});
  // The arc runs counter-clockwise from the B' side to the A side; each head
  // points at its arm, so its strokes run back along the arc.
  const pl3::Point tipA = ThreeQuarters(d->c, d->a);
  const pl3::Point tipB = ThreeQuarters(d->c, armEnd);
  const double ax = static_cast<double>(d->a.x) - d->c.x, ay = static_cast<double>(d->a.y) - d->c.y;
  const double bx = static_cast<double>(armEnd.x) - d->c.x, by = static_cast<double>(armEnd.y) - d->c.y;
  AddArrowhead(out, tipA, ay, -ax);
  AddArrowhead(out, tipB, -by, bx);
  return out;
}

int DimensionerLabelStyle(int pass) {
  switch (pass) {
    case 0:
    case 24: return 1;
    case 10: return 3;
    case 17: return 4;
    case 37: return 9;
    default: return -1;
  }
}

void DrawDimensioner(const DimensionerPayload* d, void* target, int pass, const Tower* entity) {
  if (DrawsTracks(pass)) DrawSegments(target, d->head.layer, BuildDimensionerSegments(d, entity, true), pass);
  const int style = DimensionerLabelStyle(pass);
  if (style >= 0) RenderLabel(target, 22, d, entity, style);
}

void DrawAngleDimensioner(const DimensionerPayload* d, void* target, int pass, const Tower* entity) {
  if (DrawsTracks(pass)) {
    DrawSegments(target, d->head.layer, BuildAngleDimensionerSegments(d), pass);
    const pl3::Point armEnd = AngleDimensionerArmEnd(d);
    if (armEnd.x != d->a.x || armEnd.y != d->a.y) {
      DrawDimensionerArc(target, d->head.layer, d->c, Radius(d) * 3 / 4, armEnd, d->a, kDimensionerLineWidth, pass);
    }
  }
  const int style = DimensionerLabelStyle(pass);
  if (style >= 0) RenderLabel(target, 21, d, entity, style);
}

// The construction is drawn with the XOR pen of the record's layer; the
// label, whose text ghost selects its own pen, after it is put back.
void GhostDimensioner(void* dc, const DimensionerPayload* d, int state) {
  SetEntityPen(dc, 0, d->head.layer);
  GhostMarker(dc, d->a);
  if (state >= 1) GhostMarker(dc, d->b);
  if (state >= 2) GhostSegments(dc, BuildDimensionerSegments(d, nullptr, false));
  RestoreXorPen(dc);
  if (state >= 3) RenderLabel(dc, 22, d, nullptr, 0);
}

void GhostAngleDimensioner(void* dc, const DimensionerPayload* d, int state) {
  SetEntityPen(dc, 0, d->head.layer);
  GhostMarker(dc, d->c);
  if (state >= 1) {
    GhostMarker(dc, d->a);
    GhostWorldLine(dc, d->c, d->a);
  }
  if (state >= 2) {
    const pl3::Point armEnd = AngleDimensionerArmEnd(d);
    GhostMarker(dc, armEnd);
    GhostWorldLine(dc, d->c, armEnd);
  }
  RestoreXorPen(dc);
  if (state >= 3) RenderLabel(dc, 21, d, nullptr, 0);
}

namespace {
// The ghost state of each insertion mode: how many points are fixed.
int GhostStateOfMode(std::uint8_t mode) {
  switch (mode) {
    case kModeDimensionerA:
    case kModeAngleVertex: return 0;
    case kModeDimensionerB:
    case kModeAngleArmA: return 1;
    case kModeDimensionerLine:
    case kModeAngleArmB: return 2;
    default: return 3;
  }
}
}  // namespace

void GhostDimensionerRecord(void* dc, const EntityRecord* record) {
  if (!record || !ActiveWindowData) return;
  const auto* d = reinterpret_cast<const DimensionerPayload*>(record->payload);
  const int state = GhostStateOfMode(ActiveWindowData->EditMode);
  if (record->header.recordType == 21) {
    GhostAngleDimensioner(dc, d, state);
  } else {
    GhostDimensioner(dc, d, state);
  }
}

void ToggleDimensionerArrows(void* window, DimensionerPayload* d) {
  if (!d) return;
  HWND view = static_cast<HWND>(window);
  HDC dc = view ? GetDC(view) : nullptr;
  GhostDimensioner(dc, d, 3);
  d->options ^= kDimensionerArrowsOutside;
  GhostDimensioner(dc, d, 3);
  if (dc) ReleaseDC(view, dc);
}
