#include "objects/graphic_boxes.h"

#include <algorithm>
#include <cstring>

#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/box_margins.h"
#include "geometry/view_mapping.h"
#include "objects/active_window.h"
#include "objects/datums.h"
#include "objects/dimensioners.h"
#include "objects/engine_item_seams.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/item_helper_seams.h"
#include "objects/locator_dispatch.h"
#include "objects/plane_clearances.h"
#include "objects/type_codes.h"

namespace {

constexpr std::int32_t kOverbarBase = 103680000;
// How far the box of a locator reaches round its point.
constexpr std::int32_t kLocatorPointReach = 365760;

const Tower* ActiveDesign() { return ActiveWindowData ? ActiveWindowData->design : nullptr; }

std::uint8_t LayerOf(const void* payload) { return static_cast<const GraphicHead*>(payload)->layer; }

void MapThroughOwnTransform(const void* payload, pl3::Box* box) {
  const pl3::Transform t = static_cast<const GraphicHead*>(payload)->transform;
  pl3::TransformBox(&t, box);
}

pl3::Box Around(std::int32_t x, std::int32_t y, std::int32_t half) {
  return {x - half, y - half, x + half, y + half};
}

// The end points' extremes widened by `widen` on every side (not mapped).
pl3::Box LineBox(const LinePayload& line, std::int32_t widen) {
  return {std::min(line.x1, line.x2) - widen, std::min(line.y1, line.y2) - widen,
          std::max(line.x1, line.x2) + widen, std::max(line.y1, line.y2) + widen};
}

// The size type the sizes of a line-like record resolve as.
std::uint16_t LineSizeType(std::uint16_t type) {
  return type == Type_PlatedSlot || type == Type_NonPlatedSlot ? type : static_cast<std::uint16_t>(Type_Track);
}

pl3::Box ArcBox(void* payload) {
  ResolveEntitySizes(payload, Type_Arc);
  pl3::Box box;
  pl3::GetArcBox(static_cast<const ArcPayload*>(payload), nullptr, &box);
  MapThroughOwnTransform(payload, &box);
  return box;
}

pl3::Box CircleBox(void* payload) {
  ResolveEntitySizes(payload, Type_Circle);
  const auto& c = *static_cast<const CirclePayload*>(payload);
  pl3::Box box = Around(c.centreX, c.centreY, c.size);
  MapThroughOwnTransform(payload, &box);
  return box;
}

pl3::Box OutlineBox(const void* payload) {
  const auto& p = *static_cast<const PolygonHead*>(payload);
  pl3::Box box = {p.extra[0].x, p.extra[0].y, p.extra[1].x, p.extra[1].y};
  MapThroughOwnTransform(payload, &box);
  return box;
}

// The corners are absolute points: their extremes go through the record's
// transform as it stands.
pl3::Box RectangleBox(void* payload) {
  ResolveEntitySizes(payload, Type_Rectangle);
  const auto& r = static_cast<const RectanglePayload*>(payload)->rect;
  pl3::Box box = {r.corners[0].x, r.corners[0].y, r.corners[0].x, r.corners[0].y};
  for (const pl3::Point& p : r.corners) {
    box.xmin = std::min(box.xmin, p.x);
    box.ymin = std::min(box.ymin, p.y);
    box.xmax = std::max(box.xmax, p.x);
    box.ymax = std::max(box.ymax, p.y);
  }
  MapThroughOwnTransform(payload, &box);
  return box;
}

pl3::Box HoleBox(void* payload, bool alwaysSecondSize) {
  ResolveEntitySizes(payload, Type_Hole);
  const auto& h = static_cast<const HolePayload*>(payload)->hole;
  const bool second = alwaysSecondSize || (h.flags & kHoleIsVia);
  pl3::Box box = Around(h.centreX, h.centreY, second ? h.size2 : h.size1);
  MapThroughOwnTransform(payload, &box);
  return box;
}

pl3::Box TrackBox(void* payload, std::uint16_t type) {
  ResolveEntitySizes(payload, LineSizeType(type));
  const auto& line = *static_cast<const LinePayload*>(payload);
  pl3::Box box = LineBox(line, line.width);
  MapThroughOwnTransform(payload, &box);
  return box;
}

// Thin lines, wires and buses are at least as wide as the window's two dots.
pl3::Box ThinLineBox(void* payload) {
  ResolveEntitySizes(payload, Type_Track);
  const auto& line = *static_cast<const LinePayload*>(payload);
  std::int32_t widen = line.width;
  if (const SizeTable* table = ActiveSizeTable()) {
    const SizeList& dots = (*table)[SizeKind_Dots];
    for (std::uint32_t i = 0; i < 2 && i < dots.count(); ++i) widen = std::max(widen, dots.entries[i].value1);
  }
  pl3::Box box = LineBox(line, widen);
  MapThroughOwnTransform(payload, &box);
  return box;
}

bool HasOverbarMarkup(const char* text) {
  const char* end = text + strnlen(text, kTextMaxBytes);
  const char* tilde = std::find(text, end, '~');
  return tilde != end && tilde + 1 != end;
}

pl3::Box TextBox(void* payload) {
  ResolveEntitySizes(payload, Type_Text);
  const auto& text = *static_cast<const TextPayload*>(payload);
  pl3::Box box;
  GetTextEntityBox(payload, &box);
  pl3::InflateBox(&box, GetPlaneClearance(ActiveDesign(), text.head.layer));
  if (HasOverbarMarkup(text.text)) {
    const std::int32_t m = TextOverbarMargin(text.size);
    box.ymin -= m;
    box.ymax += m;
  }
  return box;
}

pl3::Box CentroidBox(const void* payload) {
  const auto& c = *static_cast<const CentroidPayload*>(payload);
  return Around(c.position.x, c.position.y, 2 * static_cast<std::int32_t>(c.head.sizeIndex));
}

// A text of the locator kind's name at the text point in the default font
// size, taking in the ground round the locator point as well.
pl3::Box LocatorBox(const void* payload, const pl3::Box& before) {
  const auto& l = *static_cast<const LocatorPayload*>(payload);
  const SizeTable* table = ActiveSizeTable();
  const std::uint32_t defaultIndex = table ? (*table)[SizeKind_Fonts].defaultIndex : 0;
  const PlacedText text{GetLocatorKindName(l.kind), l.textX, l.textY, 0, 0, static_cast<std::int32_t>(defaultIndex), 1};
  pl3::Box box = before;
  if (!GetTextBoxAt(text, &box)) box = {l.x, l.y, l.x, l.y};
  box.xmin = std::min(box.xmin, l.x - kLocatorPointReach);
  box.ymin = std::min(box.ymin, l.y - kLocatorPointReach);
  box.xmax = std::max(box.xmax, l.x + kLocatorPointReach);
  box.ymax = std::max(box.ymax, l.y + kLocatorPointReach);
  return box;
}

pl3::Box ThinArcBox(const void* payload) {
  const auto& a = static_cast<const ThinArcPayload*>(payload)->arc;
  pl3::Box box = Around(a.centreX, a.centreY, a.radius + a.width);
  MapThroughOwnTransform(payload, &box);
  return box;
}

pl3::Box WithPlaneClearance(pl3::Box box, const void* payload) {
  pl3::InflateBox(&box, GetPlaneClearance(ActiveDesign(), LayerOf(payload)));
  return box;
}

}  // namespace

std::int32_t TextOverbarMargin(std::int32_t textSize) {
  std::int32_t m = kOverbarBase;
  pl3::ScaleValueByFactor(m, static_cast<std::uint32_t>(textSize) * 4096u);
  return m;
}

int GetGraphicBox(void* payload, std::uint16_t type, pl3::Box* box) {
  switch (type) {
    case Type_Track: case Type_ThermalBreak: case Type_RoutedLine: case Type_LinkedCut: case Type_StarEarthTrack:
    case Type_BoardOutlineLine: case Type_PlatedSlot: case Type_NonPlatedSlot:
      *box = WithPlaneClearance(TrackBox(payload, type), payload);
      break;
    case Type_Arc: case Type_BoardOutlineArc: *box = ArcBox(payload); break;
    case Type_Circle: *box = WithPlaneClearance(CircleBox(payload), payload); break;
    case Type_Polygon: case Type_Plane: case Type_PlaneCutout: case Type_PolygonKeepout:
    case Type_PolygonViaKeepout: case Type_PolygonPlacementKeepout: case Type_ComponentPlacementOutline:
    case Type_ComponentBodyOutline: case Type_PolygonWiringKeepout:
      *box = WithPlaneClearance(OutlineBox(payload), payload);
      break;
    case Type_Text: *box = TextBox(payload); break;
    case Type_Rectangle: *box = WithPlaneClearance(RectangleBox(payload), payload); break;
    case Type_Hole: {
      *box = HoleBox(payload, false);
      pl3::InflateBox(box, GetHoleClearance(ActiveDesign()));
      break;
    }
    case Type_Centroid: *box = CentroidBox(payload); break;
    case Type_Spiral: GetSpiralBox(payload, box); break;
    case Type_AttributeLocator: *box = LocatorBox(payload, *box); break;
    case Type_AngleDimensioner: GetAngleDimensionerBox(static_cast<const DimensionerPayload*>(payload), box); break;
    case Type_Dimensioner: GetDimensionerBox(static_cast<const DimensionerPayload*>(payload), box); break;
    case Type_ThinLine: case Type_Wire: case Type_Bus: *box = ThinLineBox(payload); break;
    case Type_ThinArc: *box = ThinArcBox(payload); break;
    case Type_Datum: GetDatumBox(static_cast<const DatumPayload*>(payload), box); break;
    default: break;
  }
  return 1;
}

int GetShapeGraphicBox(void* payload, std::uint16_t type, pl3::Box* box) {
  switch (type) {
    case Type_Track: *box = TrackBox(payload, type); break;
    case Type_Arc: *box = ArcBox(payload); break;
    case Type_Circle: *box = CircleBox(payload); break;
    case Type_Polygon: *box = OutlineBox(payload); break;
    case Type_Rectangle: *box = RectangleBox(payload); break;
    case Type_Hole: *box = HoleBox(payload, true); break;
    default: break;
  }
  return 1;
}

int GetGraphicRecordBox(EntityRecord* record, pl3::Box* box) {
  return GetGraphicBox(record->payload, StoredCodeOfRecord(*record), box);
}
