#include "draw/display_builders.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "draw/display_list_seams.h"
#include "draw/entity_drawing.h"
#include "draw/entity_geometry.h"
#include "draw/layer_drawing.h"
#include "draw/spiral_geometry.h"
#include "draw/text_layout.h"
#include "draw/walk_actions.h"
#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/box_margins.h"
#include "geometry/raster_state.h"
#include "geometry/record_view.h"
#include "geometry/transform.h"
#include "objects/datums.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/item_helpers.h"
#include "objects/locator_dispatch.h"
#include "objects/pad_names.h"
#include "objects/pad_stacks.h"
#include "objects/payload_access.h"
#include "objects/plane_clearances.h"
#include "objects/real_size.h"
#include "objects/symbol_instances.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "store/tower.h"
#include "store/tower_queries.h"

namespace {

using pl3::g_raster;

constexpr std::uint32_t kStateSymbolMirrored = 0x800000;
constexpr std::uint32_t kStateDisplayListBuild = 0x80;
constexpr std::uint16_t kSizeGiven = 2;  // size flags of an item's record: the size is real
constexpr std::int32_t kEndMarkLength = 36576;
constexpr double kEndMarkCos = 0.86602540378443865;  // cos 30 degrees
constexpr double kEndMarkSin = 0.5;
constexpr std::int64_t kDatumUnitsPerSize = 131072;
constexpr std::int32_t kMarkerMarginUnit = 18288;
constexpr std::uint32_t kMarkerColour = 0x810000;
constexpr std::uint32_t kDatumTextColour = 0x820000;
constexpr std::uint32_t kSchematicMarkerClass = 25;
constexpr std::uint16_t kTypeMarkerPoints = 159;
constexpr std::uint16_t kTypeMarkerLabel = 267;
constexpr std::uint32_t kSymbolOtherSide = 0x2;   // Symbol Instance Info flags
constexpr std::uint32_t kPadOtherSide = 0x1;      // Pad-Stack Info flags
constexpr std::uint8_t kStackSingleSided = 0x1;   // Pad-Stack Definition Info flags
constexpr std::uint8_t kFirstCopper = 1;
constexpr std::uint8_t kLastCopper = 32;

std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}
// A low box side is never below 0: nothing lies left of or above the board's origin.
std::int32_t Low(std::int64_t v) { return Clamp32(std::max<std::int64_t>(v, 0)); }

std::uint32_t& Fill() { return g_raster.fillValue; }

CurrentWindowData& Window() { return *ActiveWindowData; }

template <typename T>
T* NewItem(const DisplayBuild& b, std::uint16_t kind, std::uint8_t layer, std::size_t extra = 0) {
  return reinterpret_cast<T*>(NewDisplayItemFor(b, sizeof(T) + extra, kind, layer));
}

void Store(const DisplayBuild& b, std::uint16_t listCode, DisplayItem* item) { StoreDisplayItem(b, listCode, item); }

bool InMarker(const DisplayBuild& b) { return (b.pathFlags & kItemFixedColour) != 0; }

bool SymbolMirrored() { return (Window().StateFlags & kStateSymbolMirrored) != 0; }
bool ViewFlipped() { return (Window().ViewFlags & kViewOtherSide) != 0; }

// While a mirrored symbol is drawn: the origin x to reflect about.
bool MirrorOrigin(std::int32_t* originX) {
  return SymbolMirrored() && ContainingSymbolOriginX(CurrentDisplayEntity, originX);
}


// ---- Lines -------------------------------------------------------------------------------

// Two points 1 thou from each end, at +-30 degrees to the segment, pointing into it.
void ComputeTrackEndMarks(const pl3::TrackLayout& line, pl3::Point marks[6]) {
  const double dx = static_cast<double>(static_cast<std::int64_t>(line.x2) - line.x1);
  const double dy = static_cast<double>(static_cast<std::int64_t>(line.y2) - line.y1);
  const double length = std::hypot(dx, dy);
  const double ux = length > 0 ? dx / length : 0, uy = length > 0 ? dy / length : 0;
  auto mark = [](pl3::Point end, double vx, double vy, double sign) {
    const double rx = vx * kEndMarkCos - sign * vy * kEndMarkSin;
    const double ry = sign * vx * kEndMarkSin + vy * kEndMarkCos;
    return pl3::Point{Clamp32(std::llround(end.x + kEndMarkLength * rx)),
                      Clamp32(std::llround(end.y + kEndMarkLength * ry))};
  };
  const pl3::Point a{line.x1, line.y1}, c{line.x2, line.y2};
  marks[0] = a;
  marks[1] = mark(a, ux, uy, 1);
  marks[2] = mark(a, ux, uy, -1);
  marks[3] = c;
  marks[4] = mark(c, -ux, -uy, 1);
  marks[5] = mark(c, -ux, -uy, -1);
}

std::uint32_t LineCheckClass(std::uint16_t kind, const DisplayItem& head) {
  switch (kind) {
    case 39: return 7;
    case 35: return 0;
    case 10: case 37: return 1;
    case 46: return 8;
    case 47: return 9;
    default: return GetCheckClass(&head);
  }
}

std::uint16_t LineListCode(const DisplayBuild& b, std::uint16_t kind) {
  const bool markerKind = kind == 1 || kind == 10 || kind == 37 || kind == 35;
  if (markerKind && InMarker(b)) return Type_InfoBoxHier;
  return kind == 39 ? 1 : kind;
}

void NewLineItem(const DisplayBuild& b, const pl3::TrackLayout& line, std::uint16_t kind) {
  auto* item = NewItem<LineItem>(b, kind, b.layer);
  if (!item) return;
  item->record = line;
  ResolveEntitySizes(&item->record, kind);
  item->record.head.sizeFlags = kSizeGiven;
  item->savedColour = item->currentColour = Fill();
  item->clearance = b.clearance;
  if (kind == 1 || kind == 46 || kind == 47) ComputeTrackEndMarks(item->record, item->endMarks);
  const pl3::TrackLayout& r = item->record;
  const std::int64_t w = r.width;
  item->head.box = {Low(std::int64_t{std::min(r.x1, r.x2)} - w), Low(std::int64_t{std::min(r.y1, r.y2)} - w),
                    Clamp32(std::int64_t{std::max(r.x1, r.x2)} + w), Clamp32(std::int64_t{std::max(r.y1, r.y2)} + w)};
  item->head.clearanceBox = GrownItemBox(item->head.box, b.clearance);
  if (kind == 46 || kind == 47) item->groups = BuildItemLayerGroups(kFirstCopper, kLastCopper, &item->groupCount);
  item->head.checkClass = LineCheckClass(kind, item->head);
  Store(b, LineListCode(b, kind), &item->head);
}

// ---- Arcs, circles, rectangles --------------------------------------------------------------

void NewArcItem(const DisplayBuild& b, const pl3::ArcLayout& arc, std::uint16_t kind) {
  auto* item = NewItem<ArcItem>(b, kind, b.layer);
  if (!item) return;
  item->record = arc;
  ResolveEntitySizes(&item->record, kind);
  item->record.head.sizeFlags = kSizeGiven;
  pl3::PrepareArcEnds(&item->record);
  item->savedColour = item->currentColour = Fill();
  item->clearance = b.clearance;
  pl3::Box box = pl3::kEmptyBox;
  pl3::GetArcBox(&item->record, nullptr, &box);
  item->head.box = box;
  item->head.clearanceBox = GrownItemBox(box, b.clearance);
  item->head.checkClass = kind == 38 ? 7 : GetCheckClass(&item->head);
  Store(b, 2, &item->head);
}

void NewCircleItem(const DisplayBuild& b, const pl3::CircleLayout& circle) {
  auto* item = NewItem<CircleItem>(b, 3, b.layer);
  if (!item) return;
  item->record = circle;
  ResolveEntitySizes(&item->record, 3);
  item->record.head.sizeFlags = kSizeGiven;
  item->savedColour = item->currentColour = Fill();
  item->clearance = b.clearance;
  const pl3::CircleLayout& c = item->record;
  item->head.box = {Low(std::int64_t{c.centreX} - c.size), Low(std::int64_t{c.centreY} - c.size),
                    Clamp32(std::int64_t{c.centreX} + c.size), Clamp32(std::int64_t{c.centreY} + c.size)};
  item->head.clearanceBox = GrownItemBox(item->head.box, b.clearance);
  item->head.checkClass = GetCheckClass(&item->head);
  Store(b, 3, &item->head);
}

void NewRectangleItem(const DisplayBuild& b, pl3::Point centre, pl3::Point u, pl3::Point v) {
  auto* item = NewItem<RectangleItem>(b, 6, b.layer);
  if (!item) return;
  item->centre = centre;
  item->u = u;
  item->v = v;
  item->savedColour = item->currentColour = Fill();
  item->clearance = b.clearance;
  pl3::Box box{};
  const pl3::Point corners[4] = {{centre.x + u.x, centre.y + u.y}, {centre.x + v.x, centre.y + v.y},
                                 {centre.x - u.x, centre.y - u.y}, {centre.x - v.x, centre.y - v.y}};
  for (int i = 0; i < 4; ++i) ExtendItemBox(box, corners[i], i == 0);
  item->head.box = box;
  item->head.clearanceBox = GrownItemBox(box, b.clearance);
  item->head.checkClass = GetCheckClass(&item->head);
  Store(b, 6, &item->head);
}

// ---- Polygons ------------------------------------------------------------------------------

// ---- Holes and vias -------------------------------------------------------------------------

HoleItemRecord CopyHoleRecord(const void* record, std::uint32_t size) {
  HoleItemRecord copy{};
  std::memcpy(&copy, record, std::min<std::uint32_t>(size, sizeof copy));
  return copy;
}

// The largest clearance among the groups, 0 without groups.
std::int32_t LargestClearance(const LayerGroup* groups, std::uint32_t count) {
  std::int32_t largest = 0;
  for (std::uint32_t i = 0; i < count; ++i) largest = std::max(largest, groups[i].clearance);
  return largest;
}

pl3::Box HoleBox(const pl3::HoleLayout& h, std::int32_t size) {
  return {Low(std::int64_t{h.centreX} - size), Low(std::int64_t{h.centreY} - size),
          Clamp32(std::int64_t{h.centreX} + size), Clamp32(std::int64_t{h.centreY} + size)};
}

// Turned by the record's own Transform, then placed.
void PlaceHoleRecord(HoleItemRecord& record, const pl3::Transform* placement) {
  const pl3::Transform own = record.hole.head.transform;
  RotateEntityData(&record.hole, Type_Hole, nullptr, &own);
  pl3::TransformHoleSigned(&record.hole, placement);
  ResolveEntitySizes(&record.hole, Type_Hole);
  record.hole.head.sizeFlags = kSizeGiven;
}

HoleItem* NewHoleLikeItem(const DisplayBuild& b, const HoleItemRecord& record, std::uint16_t kind) {
  auto* item = NewItem<HoleItem>(b, kind, b.layer);
  if (!item) return nullptr;
  item->record = record;
  std::uint8_t low = 0, high = 0;
  GetHoleLayerSpan(record.hole, &low, &high);
  item->groups = BuildItemLayerGroups(low, high, &item->groupCount);
  return item;
}

void AddHoleItem(const DisplayBuild& b, HoleItemRecord record) {
  std::uint8_t low = 0, high = 0;
  GetHoleLayerSpan(record.hole, &low, &high);
  if (!(Window().StateFlags & kStateSingleColour)) Fill() = GetLayerSpanColour(low, high, 0);
  PlaceHoleRecord(record, b.placement);
  HoleItem* item = NewHoleLikeItem(b, record, 7);
  if (!item) return;
  item->savedColourA = item->currentColourA = Fill();
  item->savedColourB = item->currentColourB = GetLayerSpanColour(low, high, 1);
  if (!(record.hole.flags & kHolePlated)) {
    item->head.flags |= kItemNonPlated;
    item->record.hole.size2 = item->record.hole.size1;
  }
  item->head.checkClass = GetCheckClass(&item->head);
  item->head.box = HoleBox(item->record.hole, item->record.hole.size1);
  item->head.clearanceBox = GrownItemBox(item->head.box, LargestClearance(item->groups, item->groupCount));
  Store(b, 7, &item->head);
}

void AddViaItems(const DisplayBuild& b, HoleItemRecord record) {
  std::uint8_t low = 0, high = 0;
  GetHoleLayerSpan(record.hole, &low, &high);
  if (!(Window().StateFlags & kStateSingleColour)) Fill() = GetViaColour(low, high, record.viaOptions, 0);
  PlaceHoleRecord(record, b.placement);
  HoleItem* via = NewHoleLikeItem(b, record, 17);
  if (!via) return;
  via->savedColourA = via->currentColourA = Fill();
  via->savedColourB = via->currentColourB = GetViaColour(low, high, record.viaOptions, 1);
  via->head.checkClass = 2;
  via->head.box = HoleBox(via->record.hole, via->record.hole.size2);
  via->head.clearanceBox = GrownItemBox(via->head.box, LargestClearance(via->groups, via->groupCount));

  // The drill: a copy of the via without groups or owner.
  auto* drill = static_cast<HoleItem*>(std::malloc(sizeof(HoleItem)));
  if (drill) {
    *drill = *via;
    drill->head.kind = 7;
    drill->head.flags |= kItemViaDrill;
    drill->head.checkClass = 5;
    drill->head.work[0] = drill->head.work[1] = 0;
    drill->groups = nullptr;
    drill->groupCount = 0;
    drill->head.owner = nullptr;
    drill->head.entity = via->head.entity ? DuplicateTower(via->head.entity) : nullptr;
  }
  Store(b, 7, &via->head);
  if (drill) Store(b, 7, &drill->head);
}

// ---- Texts and glyphs -------------------------------------------------------------------------

// A text payload copy of at least the head, whose string ends within the copy.
std::unique_ptr<std::uint8_t[]> TerminatedTextCopy(const void* record, std::uint32_t size) {
  const std::uint32_t length = std::min<std::uint32_t>(size, kTextRoom);
  std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[std::max<std::uint32_t>(length, sizeof(TextPayload)) + 1]());
  std::memcpy(copy.get(), record, length);
  return copy;
}

// A text of the window's font at a world point, size from the font size list.
std::unique_ptr<std::uint8_t[]> NewTextRecord(const char* text, std::uint8_t layer, std::uint16_t sizeFlags,
                                              std::uint32_t sizeIndex, std::int32_t size, pl3::Point at,
                                              std::uint32_t justification) {
  const std::size_t length = std::min<std::size_t>(std::strlen(text), kTextMaxBytes - 1);
  std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[offsetof(TextPayload, text) + length + 1]());
  auto* item = reinterpret_cast<TextPayload*>(bytes.get());
  item->head.layer = layer;
  item->head.sizeFlags = sizeFlags;
  item->head.sizeIndex = sizeIndex;
  item->head.transform = pl3::kIdentityTransform;
  item->size = size;
  const std::uint32_t font = ActiveWindowData ? ActiveWindowData->CurrentFont : kFallbackFont;
  std::memcpy(item->bytes52, &font, sizeof font);
  item->justification = justification;
  item->textTransform = pl3::kIdentityTransform;
  item->textTransform.tx = at.x;
  item->textTransform.ty = at.y;
  std::memcpy(item->text, text, length);
  SetStringBox(item);
  return bytes;
}

// ---- Markers -----------------------------------------------------------------------------------

// The label's box: its string box's corners under its transform, moved by
// its extent and grown by its text size x 18,288.
pl3::Box MarkerLabelBox(TextPayload* label) {
  ResolveEntitySizes(label, Type_Text);
  pl3::Box s;
  std::memcpy(&s, label->bytes52 + 4, sizeof s);
  const pl3::Point corners[4] = {{s.xmin, s.ymin}, {s.xmax, s.ymin}, {s.xmax, s.ymax}, {s.xmin, s.ymax}};
  pl3::Box box{};
  for (int i = 0; i < 4; ++i) {
    pl3::Point p = corners[i];
    pl3::TransformSignedPoint(&label->textTransform, p.x, p.y);
    ExtendItemBox(box, p, i == 0);
  }
  const std::uint64_t extent = GetTextExtent(label, nullptr);
  const auto dx = static_cast<std::int32_t>(static_cast<std::uint32_t>(extent));
  const auto dy = static_cast<std::int32_t>(static_cast<std::uint32_t>(extent >> 32));
  const std::int64_t grow = std::int64_t{label->size} * kMarkerMarginUnit;
  return {Clamp32(std::int64_t{box.xmin} + dx - grow), Clamp32(std::int64_t{box.ymin} + dy - grow),
          Clamp32(std::int64_t{box.xmax} + dx + grow), Clamp32(std::int64_t{box.ymax} + dy + grow)};
}

// Restores the window's state flags and the raster's fill value on exit.
struct StateGuard {
  std::uint32_t state = ActiveWindowData->StateFlags;
  std::uint32_t fill = g_raster.fillValue;
  ~StateGuard() {
    ActiveWindowData->StateFlags = state;
    g_raster.fillValue = fill;
  }
};

// ---- Pin labels ----------------------------------------------------------------------------------

char* HeapCopy(const char* text, std::size_t limit) {
  if (!text) return nullptr;
  const std::size_t n = strnlen(text, limit);
  auto* copy = static_cast<char*>(std::malloc(n + 1));
  if (!copy) return nullptr;
  std::memcpy(copy, text, n);
  copy[n] = '\0';
  return copy;
}

// The name (131) of the design's net of the id, read without creating anything.
char* NetNameOf(const Tower* design, std::uint32_t netId) {
  if (!design || netId == 0) return nullptr;
  Tower* nets = GetAllNetsTower(design);
  char* name = nullptr;
  while (nets && !name && FindNextEntity(nets)) {
    const std::uint8_t* info = ChildPayloadOfAtLeast(nets, Type_NetInfo, 8);
    if (!info || ReadU32(info, 0) != netId) continue;
    Tower* named = OpenChildTower(nets, Type_NetName);
    const Entity* e = TowerEntity(named);
    name = e ? HeapCopy(reinterpret_cast<const char*>(EntityPayload(e)), e->payloadSize) : HeapCopy("", 1);
    ReleaseTower(&named);
  }
  ReleaseTower(&nets);
  return name;
}

}  // namespace

// ---- Items and the build in progress ---------------------------------------------------------------------



// ---- Layer groups and span colours ---------------------------------------------------------------

namespace {

bool ShownLayer(const CurrentWindowData& w, std::uint8_t layer) {
  if (w.SingleLayer >= 0) return layer == w.SingleLayer;
  return (w.layerTable.layers[layer].flags & kLayerVisible) != 0;
}

void AddShownLayerBit(const CurrentWindowData& w, std::uint32_t& mask, std::uint8_t layer) {
  if (ShownLayer(w, layer)) mask |= w.layerTable.layers[layer].planeBit;
}

}  // namespace

LayerGroup* BuildItemLayerGroups(std::uint8_t low, std::uint8_t high, std::uint32_t* count) {
  *count = 0;
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return nullptr;
  low = std::max(low, kFirstCopper);
  high = std::min(high, kLastCopper);
  LayerGroup* groups = nullptr;
  for (unsigned n = low; n <= high; ++n) {
    const auto layer = static_cast<std::uint8_t>(n);
    if (!IsLayerUsed(*w, layer) || !ShownLayer(*w, layer)) continue;
    const std::int32_t clearance = GetPlaneClearance(w->design, layer);
    const std::uint32_t bit = w->layerTable.layers[layer].planeBit;
    LayerGroup* found = nullptr;
    for (std::uint32_t i = 0; i < *count; ++i)
      if (groups[i].clearance == clearance) found = &groups[i];
    if (found) {
      found->colourBits |= bit;
      continue;
    }
    auto* grown = static_cast<LayerGroup*>(std::realloc(groups, sizeof(LayerGroup) * (*count + 1)));
    if (!grown) break;
    groups = grown;
    groups[(*count)++] = {clearance, bit};
  }
  return groups;
}

void GetHoleLayerSpan(const pl3::HoleLayout& hole, std::uint8_t* low, std::uint8_t* high) {
  const std::uint8_t first = hole.head.layer, last = hole.head.spare;
  if (last == 0) {
    *low = kFirstCopper;
    *high = kLastCopper;
    return;
  }
  *low = std::min(first, last);
  *high = std::max(first, last);
}

std::uint32_t GetLayerSpanColour(std::uint8_t low, std::uint8_t high, int withOuter) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  auto value = static_cast<std::uint32_t>(w->BackgroundIndex);
  for (unsigned n = low; n <= high; ++n) AddShownLayerBit(*w, value, static_cast<std::uint8_t>(n));
  if (withOuter) {
    AddShownLayerBit(*w, value, Layer_TopSilkscreen);
    AddShownLayerBit(*w, value, Layer_BottomSilkscreen);
  }
  AddShownLayerBit(*w, value, Layer_TopSolderResist);
  AddShownLayerBit(*w, value, Layer_BottomSolderResist);
  return value;
}

std::uint32_t GetViaColour(std::uint8_t low, std::uint8_t high, std::uint32_t viaOptions, int withOuter) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  auto value = static_cast<std::uint32_t>(w->BackgroundIndex);
  for (unsigned n = low; n <= high; ++n) AddShownLayerBit(*w, value, static_cast<std::uint8_t>(n));
  const std::uint32_t options = viaOptions & 0xFF;
  if (low == w->TopLayer) {
    if (withOuter) AddShownLayerBit(*w, value, Layer_TopSilkscreen);
    if ((options & 2) || (!(options & 1) && !(PadResistOptions & 1))) AddShownLayerBit(*w, value, Layer_TopSolderResist);
  }
  if (high == w->BottomLayer) {
    if (withOuter) AddShownLayerBit(*w, value, Layer_BottomSilkscreen);
    if ((options & 8) || (!(options & 4) && !(PadResistOptions & 4))) {
      AddShownLayerBit(*w, value, Layer_BottomSolderResist);
    }
  }
  return value;
}

std::uint32_t GetViaDrillColour(const HoleItemRecord& record, int withOuter) {
  std::uint8_t low = 0, high = 0;
  GetHoleLayerSpan(record.hole, &low, &high);
  return GetViaColour(low, high, record.viaOptions, withOuter);
}

// ---- Handlers ------------------------------------------------------------------------------------

void AddLineFamilyToDisplayList(const DisplayBuild& b, const void* record, std::uint16_t kind) {
  pl3::TrackLayout line;
  std::memcpy(&line, record, sizeof line);
  std::int32_t originX = 0;
  if (MirrorOrigin(&originX)) MirrorLineData(&line, originX);
  pl3::TransformLineSigned(&line, b.placement);
  NewLineItem(b, line, kind);
}

void AddArcToDisplayList(const DisplayBuild& b, const void* record, std::uint16_t kind) {
  pl3::ArcLayout arc;
  std::memcpy(&arc, record, sizeof arc);
  std::int32_t originX = 0;
  if (MirrorOrigin(&originX)) MirrorArcData(&arc, originX);
  if (ViewFlipped()) {
    std::swap(arc.startX, arc.endX);
    std::swap(arc.startY, arc.endY);
  }
  const pl3::Transform own = arc.head.transform;
  RotateEntityData(&arc, Type_Arc, nullptr, &own);
  pl3::TransformArcSigned(&arc, b.placement);
  NewArcItem(b, arc, kind);
}

void AddCircleToDisplayList(const DisplayBuild& b, const void* record) {
  pl3::CircleLayout circle;
  std::memcpy(&circle, record, sizeof circle);
  const pl3::Transform own = circle.head.transform;
  RotateEntityData(&circle, Type_Circle, nullptr, &own);
  std::int32_t originX = 0;
  if (MirrorOrigin(&originX)) MirrorCircleData(&circle, originX);
  pl3::TransformCircleSigned(&circle, b.placement);
  NewCircleItem(b, circle);
}

void AddPolygonToDisplayList(const DisplayBuild& b, const void* record, std::uint32_t size, std::uint16_t code) {
  std::uint32_t copySize = 0;
  std::unique_ptr<std::uint8_t[]> copy = CopyPolygonRecord(record, size, &copySize);
  if (!copy) return;
  auto* polygon = reinterpret_cast<pl3::PolygonLayout*>(copy.get());
  const pl3::Transform own = polygon->head.transform;
  RotateEntityData(polygon, Type_Polygon, nullptr, &own);
  const std::uint8_t op = g_raster.rasterOp;
  if (!IsSchematicKind(Window().editorKind)) SetCurrentLayerColour(polygon->head.layer);
  std::int32_t originX = 0;
  if (MirrorOrigin(&originX)) MirrorPolygonData(polygon, originX, copySize);
  pl3::TransformPolygonSigned(polygon, b.placement);
  BuildPolygonItem(b, polygon, copySize, code);
  g_raster.rasterOp = op;
}

void AddTextToDisplayList(const DisplayBuild& b, const void* record, std::uint32_t size) {
  if (size < offsetof(TextPayload, text)) return;
  std::unique_ptr<std::uint8_t[]> copy = TerminatedTextCopy(record, size);
  RenderTextEntity(nullptr, reinterpret_cast<const TextPayload*>(copy.get()), 9, b.placement);
}

void AddRectangleToDisplayList(const DisplayBuild& b, const void* record) {
  pl3::RectangleLayout rect;
  std::memcpy(&rect, record, sizeof rect);
  std::int32_t originX = 0;
  if (MirrorOrigin(&originX)) MirrorRectangleData(&rect, originX);
  std::int32_t halfWidth = 0, halfHeight = 0;
  if (rect.head.sizeFlags & pl3::kSizeIndexed) {
    halfWidth = ReturnRealSize(Type_Rectangle, rect.head.sizeIndex, 0) / 2;
    halfHeight = ReturnRealSize(Type_Rectangle, rect.head.sizeIndex, 1) / 2;
  } else {
    halfWidth = static_cast<std::int32_t>((std::int64_t{rect.corners[1].x} - rect.corners[0].x) / 2);
    halfHeight = static_cast<std::int32_t>((std::int64_t{rect.corners[2].y} - rect.corners[1].y) / 2);
  }
  pl3::Point u{halfWidth, halfHeight}, v{halfWidth, -halfHeight};
  if (ViewFlipped()) {
    u.x = -u.x;
    v.x = -v.x;
  }
  for (pl3::Point* p : {&u, &v}) {
    pl3::TransformVector(&rect.head.transform, p->x, p->y);
    pl3::TransformVector(b.placement, p->x, p->y);
  }
  pl3::Point centre{rect.centreX, rect.centreY};
  pl3::TransformSignedPoint(b.placement, centre.x, centre.y);
  NewRectangleItem(b, centre, u, v);
}

void AddHoleOrViaToDisplayList(const DisplayBuild& b, const void* record, std::uint32_t size) {
  const HoleItemRecord copy = CopyHoleRecord(record, size);
  if ((copy.hole.flags & kHoleVia) || b.action == 25) {
    AddViaItems(b, copy);
  } else {
    AddHoleItem(b, copy);
  }
}

namespace {

struct SpiralBuild {
  const DisplayBuild* build;
  pl3::ArcLayout arc;  // the spiral's head and width
};

void AddSpiralQuarter(const SpiralQuarter& q, void* context) {
  auto* s = static_cast<SpiralBuild*>(context);
  if (q.from.x == q.to.x && q.from.y == q.to.y) return;
  pl3::ArcLayout arc = SpiralQuarterArc(q, s->arc);
  pl3::TransformArcSigned(&arc, s->build->placement);
  NewArcItem(*s->build, arc, 2);
}

}  // namespace

void AddSpiralToDisplayList(const DisplayBuild& b, const void* record) {
  SpiralPayload spiral;
  std::memcpy(&spiral, record, sizeof spiral);
  PrepareSpiralForDrawing(&spiral);
  SetCurrentLayerColour(spiral.head.layer);
  SpiralBuild s{&b, {}};
  s.arc.head = spiral.head;
  s.arc.head.transform = pl3::kIdentityTransform;
  s.arc.head.sizeFlags = 0;
  s.arc.width = SpiralDrawnWidth(spiral);
  ForEachSpiralQuarter(spiral, &AddSpiralQuarter, &s);
}

void AddDatumToDisplayList(const DisplayBuild& b, const void* record, std::uint32_t size) {
  if (size < offsetof(DatumPayload, name)) return;
  // The name ends within the record, or at its end.
  const std::uint32_t length = std::min<std::uint32_t>(size, kDatumRoom);
  std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[length + 1]());
  std::memcpy(bytes.get(), record, length);
  auto* datum = reinterpret_cast<DatumPayload*>(bytes.get());
  const std::uint32_t recordSize = GetDatumRecordSize(datum);

  auto* item = NewItem<DatumItem>(b, Type_Datum, b.layer, recordSize);
  if (!item) return;
  std::memcpy(reinterpret_cast<std::uint8_t*>(item) + sizeof(DatumItem), datum, std::min(recordSize, length + 1));
  item->recordSize = recordSize;
  item->head.flags |= kItemDatum;
  item->upperRight = IsUpperRightDatum(datum) ? 1 : 0;
  item->textSize = ReturnRealSize(Type_Text, datum->head.sizeIndex, 0);
  pl3::Point at{datum->x, datum->y};
  pl3::TransformSignedPoint(b.placement, at.x, at.y);
  item->x = at.x;
  item->y = at.y;
  const std::int64_t s = std::int64_t{item->textSize} * kDatumUnitsPerSize, t = s / 3;
  item->head.box = {Low(at.x - t), Low(at.y - s), Clamp32(at.x + s), Clamp32(at.y + t)};
  item->head.clearanceBox = item->head.box;
  item->head.checkClass = GetCheckClass(&item->head);
  Store(b, Type_Datum, &item->head);

  const StateGuard guard;
  ActiveWindowData->StateFlags |= kStateSingleColour;
  Fill() = kDatumTextColour;
  const std::string name = DatumName(datum);
  if (name.empty()) return;
  const bool right = item->upperRight != 0;
  const pl3::Point place{Clamp32(datum->x + (right ? t : -t)), datum->y};
  const auto text = NewTextRecord(name.c_str(), datum->head.layer, pl3::kSizeIndexed, datum->head.sizeIndex, 0,
                                  place, right ? kTextLeft : kTextRight);
  RenderTextEntity(nullptr, reinterpret_cast<const TextPayload*>(text.get()), 9, b.placement);
}

void AddPreRouteToDisplayList(const DisplayBuild& b, const void* record) {
  const auto* bytes = static_cast<const std::uint8_t*>(record);
  pl3::Point from{ReadI32(bytes, 48), ReadI32(bytes, 52)}, to{ReadI32(bytes, 56), ReadI32(bytes, 60)};
  pl3::TransformSignedPoint(b.placement, from.x, from.y);
  pl3::TransformSignedPoint(b.placement, to.x, to.y);
  auto* item = NewItem<PreRouteItem>(b, Type_PreRoute, 0);
  if (!item) return;
  item->from = from;
  item->to = to;
  pl3::Box box{};
  ExtendItemBox(box, from, true);
  ExtendItemBox(box, to, false);
  item->head.box = {Low(std::int64_t{box.xmin} - 1), Low(std::int64_t{box.ymin} - 1),
                    Clamp32(std::int64_t{box.xmax} + 1), Clamp32(std::int64_t{box.ymax} + 1)};
  item->head.checkClass = GetCheckClass(&item->head);
  Store(b, Type_PreRoute, &item->head);
}

void AddMarkerToDisplayList(const DisplayBuild& b) { DrawMarkerEntity(CurrentDisplayEntity, b.placement, 37); }

void DrawMarkerEntity(const Tower* marker, const pl3::Transform* placement, std::uint8_t action) {
  if (!ActiveWindowData) return;
  Tower* labelTower = OpenChildTower(marker, kTypeMarkerLabel);
  const Entity* labelEntity = TowerEntity(labelTower);
  if (!labelEntity || labelEntity->payloadSize < offsetof(TextPayload, text)) {
    ReleaseTower(&labelTower);
    return;
  }
  const bool toList = action == 37;
  const StateGuard guard;
  ActiveWindowData->StateFlags |= kStateSingleColour;
  if (toList) {
    Fill() = kMarkerColour;
  } else {
    Fill() = IsSchematicKind(ActiveWindowData->editorKind) ? kSchematicMarkerClass : kAllPlanes;
  }
  std::unique_ptr<std::uint8_t[]> copy = TerminatedTextCopy(EntityPayload(labelEntity), labelEntity->payloadSize);
  ReleaseTower(&labelTower);
  auto* label = reinterpret_cast<TextPayload*>(copy.get());
  SetStringBox(label);
  RenderTextEntity(nullptr, label, toList ? 9 : 1, placement);
  const pl3::Box box = MarkerLabelBox(label);

  Tower* pointsTower = OpenChildTower(marker, kTypeMarkerPoints);
  const Entity* pointsEntity = TowerEntity(pointsTower);
  ReleaseTower(&pointsTower);
  const std::uint8_t* points = PayloadOfAtLeast(const_cast<Entity*>(pointsEntity), 8);
  if (!points) return;
  const std::uint32_t count = std::min<std::uint32_t>(ReadU32(points, 4), (pointsEntity->payloadSize - 8) / 8);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::int32_t x = ReadI32(points, 8 + 8 * i), y = ReadI32(points, 12 + 8 * i);
    const pl3::Point target = LeaderTargetPoint(box, x, y);
    const pl3::TrackLayout leader = MakeTrackRecord(label->head.layer, {x, y}, target, 0);
    if (toList) {
      AddEntityToDisplayList(&leader, sizeof leader, Type_Track, placement, action);
    } else {
      DrawEntityByType(&leader, Type_Track, placement, action);
    }
  }
}

void AddSymbolInstanceToDisplayList(const DisplayBuild& b) {
  CurrentWindowData& w = Window();
  std::uint16_t savedTypes[kWalkTypeCount];
  std::memcpy(savedTypes, WalkTypeFlags, sizeof savedTypes);
  Tower* const savedParent = w.WalkParent;
  const std::uint32_t savedView = w.ViewFlags, savedState = w.StateFlags;
  Tower* instance = DuplicateTower(CurrentDisplayEntity);
  w.WalkParent = instance;
  FillNetFlagTable(1);
  WalkTypeFlags[Type_Hole] = 7;
  w.ViewFlags |= kViewRegionRender;
  w.StateFlags |= kStateDisplayListBuild;
  std::int32_t result = 0;
  WalkContainerEntity(b.placement, instance, nullptr, 0, b.action, &result);
  std::memcpy(WalkTypeFlags, savedTypes, sizeof savedTypes);
  w.ViewFlags = savedView;
  w.StateFlags = savedState;
  w.WalkParent = savedParent;
  ReleaseTower(&instance);
}

// ---- Builders for the text renderer, the dimensioners and the pads -----------------------------

void AddPinLabelToDisplayList(const Tower* padInstanceInfo, const pl3::Transform* transform) {
  const DisplayBuild* b = CurrentDisplayBuild();
  DisplayList* list = b ? b->list : CurrentDisplayList;
  const std::uint8_t* info = PayloadOfAtLeast(TowerEntity(padInstanceInfo), sizeof(PadStackInstanceInfo));
  if (!list || !info || !ActiveWindowData) return;
  Tower* pad = FindDefinitionPadStackInstance(padInstanceInfo);
  Tower* stack = pad ? GetPadStackDef(pad) : nullptr;
  Tower* padInfo = pad ? OpenChildTower(pad, Type_PadStackInfo) : nullptr;
  const std::uint8_t* padInfoBytes = PayloadOfAtLeast(TowerEntity(padInfo), 4);
  if (!stack || !padInfoBytes) {
    for (Tower** t : {&pad, &stack, &padInfo}) ReleaseTower(t);
    return;
  }
  const pl3::Transform placement = transform ? *transform : pl3::kIdentityTransform;
  pl3::Box box = pl3::kEmptyBox;
  GetPadStackInstanceBox(pad, &box);
  GetRectangleBox(&box, &placement);
  pl3::Transform padTransform;
  GetTransform(&padTransform, pad, &placement);
  pl3::Point origin{0, 0};
  if (const std::uint8_t* o = ChildPayloadOfAtLeast(stack, Type_Origin, 8)) origin = {ReadI32(o, 0), ReadI32(o, 4)};
  pl3::TransformPoint(&padTransform, origin.x, origin.y);

  const std::uint8_t* stackInfo = ChildPayloadOfAtLeast(stack, Type_PadStackDefinitionInfo, 1);
  std::uint32_t side = 4;
  if (stackInfo && (stackInfo[0] & kStackSingleSided)) {
    Tower* instance = GetEnclosingTower(padInstanceInfo, Type_SymbolInstance);
    const std::uint8_t* symbolInfo = ChildPayloadOfAtLeast(instance, Type_SymbolInstanceInfo, 4);
    const bool instanceOther = symbolInfo && (ReadU32(symbolInfo, 0) & kSymbolOtherSide);
    const bool padOther = (ReadU32(padInfoBytes, 0) & kPadOtherSide) != 0;
    side = instanceOther != padOther ? 2 : 1;
    ReleaseTower(&instance);
  }

  DisplayBuild own = b ? *b : DisplayBuild{list, padInstanceInfo, nullptr, 0, 0, 0, 37, &placement};
  own.entity = padInstanceInfo;
  own.owner = nullptr;
  own.pathFlags = GetDisplayItemFlags(padInstanceInfo);
  auto* item = NewItem<PinLabelItem>(own, Type_PadStackInstanceInfo, 0);
  if (item) {
    const auto* pin = reinterpret_cast<const PadStackInstanceInfo*>(info);
    item->pinWords[0] = pin->netIds[0];
    item->pinWords[1] = pin->netIds[1];
    item->netName = NetNameOf(ActiveWindowData->design, pin->netIds[0]);
    item->labelText = HeapCopy(GetPadLabelName(pad), kTextMaxBytes);
    item->side = side;
    item->origin = origin;
    item->head.box = box;
    item->head.clearanceBox = box;
    item->head.checkClass = GetCheckClass(&item->head);
    Store(own, Type_PadStackInstanceInfo, &item->head);
  }
  for (Tower** t : {&pad, &stack, &padInfo}) ReleaseTower(t);
}
