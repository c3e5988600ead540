#include "objects/entity_copy.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/raster_state.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/group_texts.h"
#include "objects/payload_access.h"
#include "objects/spiral_defaults.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "store/seams.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypeSymbolPin = 26;
constexpr std::uint16_t kLabelHeadSize = 56;

bool IsLineKind(std::uint16_t t) {
  return t == 1 || t == 10 || t == 11 || t == 35 || t == 37 || t == 39 || t == 46 || t == 47;
}
bool IsThinLineKind(std::uint16_t t) { return t == 23 || t == 28 || t == 29; }
bool IsArcKind(std::uint16_t t) { return t == 2 || t == 24 || t == 38; }
bool TakesOwnLayer(std::uint16_t t) {
  return (t >= 1 && t <= 11) || (t >= 37 && t <= 39) || t == 41 || t == 42 || t == 43 || t == 46 || t == 47 ||
         t == 49;
}

std::int32_t Wrap(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

void MovePoint(std::uint8_t* p, std::uint32_t offset, pl3::Point d) {
  WriteI32(p, offset, Wrap(static_cast<std::int64_t>(ReadI32(p, offset)) + d.x));
  WriteI32(p, offset + 4, Wrap(static_cast<std::int64_t>(ReadI32(p, offset + 4)) + d.y));
}

// Maps the (x, y) pair at a payload offset through a transform: as a point
// or, for the direction vectors of arcs, by the linear part only.
using PairMap = void (*)(const pl3::Transform*, std::int32_t&, std::int32_t&);
void MapPairAt(std::uint8_t* p, std::uint32_t offset, const pl3::Transform* t, PairMap map) {
  std::int32_t x = ReadI32(p, offset);
  std::int32_t y = ReadI32(p, offset + 4);
  map(t, x, y);
  WriteI32(p, offset, x);
  WriteI32(p, offset + 4, y);
}
void TransformPointAt(std::uint8_t* p, std::uint32_t offset, const pl3::Transform* t) {
  MapPairAt(p, offset, t, &pl3::TransformPoint);
}
void TransformVectorAt(std::uint8_t* p, std::uint32_t offset, const pl3::Transform* t) {
  MapPairAt(p, offset, t, &pl3::TransformVector);
}

std::uint8_t ChooseCopyLayer(std::uint8_t stored, std::uint16_t type) {
  const CurrentWindowData* w = ActiveWindowData;
  std::uint8_t layer = w ? w->CopyLayer : 0;
  if (TakesOwnLayer(type)) layer = (w && (w->StateFlags & kStateLayerOverride)) ? w->OverrideLayer : stored;
  if (w && (w->WalkFlags & kWalkMirrorMode)) layer = GetMirrorLayer(layer);
  return layer;
}

const Tower* ActiveDesign() { return ActiveWindowData ? ActiveWindowData->design : nullptr; }

// ---- CopyEntity --------------------------------------------------------------------

struct WorkingRow {
  std::uint32_t copied;  // bytes copied; 0 for the polygon and text rows, which size themselves
  std::uint16_t recordType;
};

bool WorkingRowOf(std::uint16_t type, WorkingRow* row) {
  if (IsLineKind(type) && type != 35) {
    *row = {kLineRoom, 1};
  } else if (type == 2 || type == 38) {
    *row = {kArcRoom, 2};
  } else if (type == 3) {
    *row = {kCircleRoom, 3};
  } else if (IsPolygonKind(type)) {
    *row = {0, 4};
  } else if (type == 5) {
    *row = {0, 5};
  } else if (type == 6) {
    *row = {sizeof(RectanglePayload), 6};
  } else if (type == 7) {
    *row = {kHoleRoom, 7};
  } else if (type == 23) {
    *row = {kThinLineRoom, 1};
  } else if (type == 24) {
    *row = {kThinArcRoom, 2};
  } else {
    return false;
  }
  return true;
}

// The bytes of the stored payload a working copy takes, or 0 when the stored
// payload is too short or claims more than the working record holds.
std::uint32_t WorkingCopySize(const std::uint8_t* src, std::uint32_t stored, std::uint16_t type, const WorkingRow& row) {
  if (IsPolygonKind(type)) {
    if (stored <= offsetof(pl3::PolygonLayout, count)) return 0;
    const std::uint32_t size = PolygonStoredSize(src[offsetof(pl3::PolygonLayout, count)]);
    return size <= stored && size <= kPolygonRoom ? size : 0;
  }
  if (type == 5) return stored >= offsetof(TextPayload, text) ? offsetof(TextPayload, text) : 0;
  return stored >= row.copied ? row.copied : 0;
}

void* CopyBareRecord(const std::uint8_t* src, std::uint32_t stored, std::uint16_t type) {
  const std::uint32_t size = type == Type_PadStackLayerInfo ? 44 : 36;
  if (stored < size) return nullptr;
  auto* copy = static_cast<std::uint8_t*>(std::malloc(size));
  if (!copy) return nullptr;
  std::memcpy(copy, src, size);
  if (type == Type_PadStackInfo) WriteU32(copy, 4, NextXrefNumber(ActiveDesign()));
  return copy;
}

// ---- CopyAndInsertEntity -----------------------------------------------------------

enum class Geometry { None, Ends, ArcVectors, CircleCentre, HoleCentre, Rectangle, Polygon, Text };
enum class CopyKind { Graphic, Group, Plain, StoredLength, Text, Label, PinName, Datum, Skip, Unknown };

struct CopyRule {
  CopyKind kind;
  std::uint32_t size = 0;  // Graphic and Plain rows: the bytes copied; 0 for the stored size
  Geometry geometry = Geometry::None;
  bool chooseLayer = false;
  bool children = false;
};

CopyRule GraphicRule(std::uint16_t code) {
  if (IsLineKind(code)) return {CopyKind::Graphic, 68, Geometry::Ends, code != 46 && code != 47, true};
  if (code == 2 || code == 38) return {CopyKind::Graphic, 116, Geometry::ArcVectors, true, false};
  if (code == 3) return {CopyKind::Graphic, 60, Geometry::CircleCentre, true, false};
  if (IsPolygonKind(code)) return {CopyKind::Graphic, 0, Geometry::Polygon, true, false};
  if (code == 5) return {CopyKind::Graphic, 0, Geometry::Text, false, false};
  if (code == 6) return {CopyKind::Graphic, 92, Geometry::Rectangle, true, false};
  if (code == 7) return {CopyKind::Graphic, 604, Geometry::HoleCentre, false, false};
  if (IsThinLineKind(code)) return {CopyKind::Graphic, 72, Geometry::Ends, false, false};
  if (code == 24) return {CopyKind::Graphic, 120, Geometry::ArcVectors, false, false};
  switch (code) {
    case 18: return {CopyKind::Graphic, 64};
    case 19: return {CopyKind::Graphic, 84};
    case 20: return {CopyKind::Graphic, 96, Geometry::None, false, true};
    case 21: case 22: return {CopyKind::Graphic, 176, Geometry::None, false, true};
    case 31: return {CopyKind::Graphic, 16, Geometry::None, false, true};
    case 32: return {CopyKind::Graphic, 12};
    case 34: return {CopyKind::Datum};
    case 36: return {CopyKind::Graphic, 64};
    case 27: return {CopyKind::PinName};
    default: return {CopyKind::Unknown};
  }
}

CopyRule StructuralRule(std::uint16_t code) {
  switch (code) {
    case 25: case 26: case 30: case 33: case 106: case 109: case 115: case 128: case 141: case 142: case 158:
    case 163: case 165: case 234: case 264: case 306: case 309: case 5000: case 10500: case 11007: case 11022:
    case 11032:
    // Undo records: an empty node of the same code with its children copied once.
    case 10506: case 10507:
      return {CopyKind::Group};
    case 111: return {CopyKind::Plain, 44};
    case 112: case 132: case 134: case 136: return {CopyKind::Plain, 12};
    case 113: case 120: return {CopyKind::Plain, 8};
    case 116: return {CopyKind::Plain, 36};
    case 117: return {CopyKind::Plain, 276};
    case 118: return {CopyKind::Plain, 28};
    case 150: case 225: return {CopyKind::Plain, 4};
    case 153: case 154: case 155: case 157: return {CopyKind::Plain, 12};
    case 159: return {CopyKind::Plain, 2048};
    case 164: case 166: return {CopyKind::Plain, 8};
    case 200: case 212: return {CopyKind::Plain, 16};
    case 208: return {CopyKind::Plain, 24};
    case 209: return {CopyKind::Plain, 52};
    case 228: return {CopyKind::Plain, 16};
    case 233: case 310: return {CopyKind::Plain, 20};
    case 246: return {CopyKind::Plain, 8};
    case 267: return {CopyKind::Plain, 2152};
    case 270: case 275: case 287: return {CopyKind::Plain, 4};
    case 277: return {CopyKind::Plain, 12};
    case 5005: return {CopyKind::Plain, 4};
    case 7001: return {CopyKind::Plain, 16, Geometry::None, false, true};
    case 7020: return {CopyKind::Plain, 1};
    case 7023: case 7024: case 10002: return {CopyKind::Plain, 4};
    case 10315: case 10316: return {CopyKind::Plain, 8};
    case 10501: return {CopyKind::Plain, 8, Geometry::None, false, true};
    case 10502: case 10505: case 11001: return {CopyKind::Plain, 4};
    case 11002: return {CopyKind::Plain, 8};
    case 11015: case 11016: return {CopyKind::Plain, 4};
    case 11025: return {CopyKind::Plain, 52};
    case 11026: return {CopyKind::Plain, 16};
    case 11027: return {CopyKind::Plain, 56};
    case 11028: return {CopyKind::Plain, 12};
    case 11037: return {CopyKind::Plain, 4};
    case 167: case 11005: return {CopyKind::StoredLength};
    case 7000: case 7002: case 7003: case 7004: case 7005: case 7021: case 7022:
      return {CopyKind::StoredLength, 0, Geometry::None, false, true};
    case 121: case 131: case 214: case 215: case 219: case 232: case 244: case 265: case 307: case 308:
    case 5001: case 5004: case 5006: case 6006: case 10508: case 11020: case 11029: case 20037:
      return {CopyKind::Text};
    case 202: return {CopyKind::Label};
    case 122: case 223: case 242: case 1104: return {CopyKind::Skip};
    default: return {CopyKind::Unknown};
  }
}

CopyRule RuleOf(std::uint16_t code) {
  const CopyRule graphic = GraphicRule(code);
  return graphic.kind != CopyKind::Unknown ? graphic : StructuralRule(code);
}

// The length of a NUL-terminated text starting at `from` within the stored
// payload, with its NUL; a text that runs to the end gets a NUL added there.
std::uint32_t TextSize(const std::uint8_t* p, std::uint32_t stored, std::uint32_t from) {
  if (from >= stored) return 0;
  const void* nul = std::memchr(p + from, 0, stored - from);
  return nul ? static_cast<std::uint32_t>(static_cast<const std::uint8_t*>(nul) - p) + 1 : stored + 1;
}

void ApplyGeometry(std::vector<std::uint8_t>& b, Geometry g, const pl3::Transform* t) {
  std::uint8_t* p = b.data();
  switch (g) {
    case Geometry::Ends:
      TransformPointAt(p, 52, t);
      TransformPointAt(p, 60, t);
      break;
    case Geometry::ArcVectors:
      TransformVectorAt(p, 56, t);
      TransformVectorAt(p, 64, t);
      TransformPointAt(p, 72, t);
      break;
    case Geometry::CircleCentre:
      TransformPointAt(p, 52, t);
      break;
    case Geometry::HoleCentre:
      TransformPointAt(p, 60, t);
      break;
    case Geometry::Rectangle:
      for (std::uint32_t offset = 48; offset <= 80; offset += 8) TransformPointAt(p, offset, t);
      break;
    case Geometry::Polygon:
      for (std::uint32_t k = 0; k < p[48]; ++k) TransformPointAt(p, 68 + 8 * k, t);
      break;
    case Geometry::Text: {
      pl3::Transform own;
      std::memcpy(&own, p + offsetof(TextPayload, textTransform), sizeof own);
      pl3::ComposeTransform(&own, t);
      std::memcpy(p + offsetof(TextPayload, textTransform), &own, sizeof own);
      break;
    }
    case Geometry::None:
      break;
  }
}

// The bytes of the copy of a stored payload by its rule, or an empty vector
// when the stored payload is empty or too short for the rule.
std::vector<std::uint8_t> CopyBytes(const Entity* e, const CopyRule& rule) {
  const std::uint8_t* src = EntityPayload(e);
  const std::uint32_t stored = e->payloadSize;
  if (stored == 0) return {};
  std::uint32_t size = 0;
  switch (rule.kind) {
    case CopyKind::Graphic:
    case CopyKind::Plain:
      if (rule.geometry == Geometry::Polygon) {
        size = stored > 48 ? PolygonStoredSize(src[48]) : stored + 1;
      } else if (rule.geometry == Geometry::Text) {
        size = TextSize(src, stored, offsetof(TextPayload, text));
        if (size < offsetof(TextPayload, text) + 1) return {};
      } else {
        size = rule.size;
      }
      break;
    case CopyKind::StoredLength:
      size = stored;
      break;
    case CopyKind::Text:
      size = TextSize(src, stored, 0);
      break;
    case CopyKind::Label:
      size = TextSize(src, stored, kLabelHeadSize);
      break;
    case CopyKind::PinName:
      size = TextSize(src, stored, kPinNameOffset);
      break;
    case CopyKind::Datum:
      size = TextSize(src, stored, offsetof(DatumPayload, name));
      break;
    default:
      return {};
  }
  if (size == 0) return {};
  std::vector<std::uint8_t> bytes(size, 0);
  std::memcpy(bytes.data(), src, size < stored ? size : stored);
  // A fixed-size record must be stored whole: a short one counts as absent.
  if ((rule.kind == CopyKind::Graphic || rule.kind == CopyKind::Plain) && size > stored) return {};
  return bytes;
}

void CopyChildren(const Tower* into, const Tower* source) {
  Tower* children = GetAllChildrenTower(source);
  while (children && FindNextEntity(children)) {
    Tower* copy = CopyAndInsertEntity(into, children, &pl3::kIdentityTransform);
    ReleaseTower(&copy);
  }
  ReleaseTower(&children);
}

// ---- Grabs --------------------------------------------------------------------------

std::int64_t Squared(std::int64_t dx, std::int64_t dy) { return dx * dx + dy * dy; }
std::int64_t DistanceSquared(pl3::Point a, std::int32_t x, std::int32_t y) {
  return Squared(static_cast<std::int64_t>(a.x) - x, static_cast<std::int64_t>(a.y) - y);
}

pl3::Point ToView(pl3::Point p) {
  pl3::WorldToView(p.x, p.y);
  return p;
}

// Each coordinate the sum of the two ends, each halved first as unsigned.
pl3::Point Midpoint(pl3::Point a, pl3::Point b) {
  return {static_cast<std::int32_t>(static_cast<std::uint32_t>(a.x) / 2 + static_cast<std::uint32_t>(b.x) / 2),
          static_cast<std::int32_t>(static_cast<std::uint32_t>(a.y) / 2 + static_cast<std::uint32_t>(b.y) / 2)};
}

pl3::Point Snapped(pl3::Point p) {
  if (WalkHandlers.snapXY) WalkHandlers.snapXY(&p.x, &p.y, 0);
  return p;
}

void SetGrab(GrabBlock* grab, pl3::Point at, std::uint16_t code) {
  grab->grabX = at.x;
  grab->grabY = at.y;
  grab->editCode = code;
}

int GrabLine(const std::uint8_t* p, GrabBlock* grab) {
  const pl3::Point first{ReadI32(p, 52), ReadI32(p, 56)};
  const pl3::Point second{ReadI32(p, 60), ReadI32(p, 64)};
  if (grab->wholeItem) {
    SetGrab(grab, Snapped(Midpoint(first, second)), kEditWholeItemRequest);
    return 1;
  }
  const pl3::Point v1 = ToView(first);
  const pl3::Point v2 = ToView(second);
  const std::int64_t d1 = DistanceSquared(v1, grab->cursorX, grab->cursorY);
  const std::int64_t d2 = DistanceSquared(v2, grab->cursorX, grab->cursorY);
  const std::int64_t dm = DistanceSquared(Midpoint(v1, v2), grab->cursorX, grab->cursorY);
  if (dm < d1 && dm < d2) {
    SetGrab(grab, Snapped(Midpoint(first, second)), kEditWhole);
  } else if (d2 < d1) {
    SetGrab(grab, second, kEditSecondEnd);
  } else {
    SetGrab(grab, first, kEditFirstEnd);
  }
  return 1;
}

// The mid direction of the arc's sweep, from its centre.
pl3::Point ArcMiddle(pl3::ArcLayout arc) {
  void* saved = pl3::g_raster.currentArc;
  pl3::g_raster.currentArc = &arc;
  pl3::PrepareCurrentArc();
  const pl3::Point mid = pl3::CurrentArcMidDirection();
  pl3::g_raster.currentArc = saved;
  return mid;
}

pl3::Point Offset(pl3::Point c, pl3::Point v) {
  return {Wrap(static_cast<std::int64_t>(c.x) + v.x), Wrap(static_cast<std::int64_t>(c.y) + v.y)};
}

int GrabArc(const std::uint8_t* p, GrabBlock* grab) {
  pl3::ArcLayout world;
  std::memcpy(&world, p, sizeof world);
  pl3::ArcLayout view = world;
  const pl3::Point centre = ToView({world.centreX, world.centreY});
  view.centreX = centre.x;
  view.centreY = centre.y;
  view.radius = pl3::ScaleToView(world.radius);
  pl3::PrepareArcEnds(&view);
  const pl3::Point start = Offset(centre, {view.latticeStartX, view.latticeStartY});
  const pl3::Point end = Offset(centre, {view.latticeEndX, view.latticeEndY});
  const pl3::Point middle = Offset(centre, ArcMiddle(view));
  const std::int64_t ds = DistanceSquared(start, grab->cursorX, grab->cursorY);
  const std::int64_t de = DistanceSquared(end, grab->cursorX, grab->cursorY);
  const std::int64_t dm = DistanceSquared(middle, grab->cursorX, grab->cursorY);
  const pl3::Point worldCentre{world.centreX, world.centreY};
  if (dm < ds && dm < de) {
    const std::int64_t r = view.radius;
    if (!grab->wholeItem && DistanceSquared(centre, grab->cursorX, grab->cursorY) >= r * r) {
      SetGrab(grab, Offset(worldCentre, ArcMiddle(world)), kEditRadius);
    } else {
      SetGrab(grab, worldCentre, kEditWhole);
    }
  } else if (de < ds) {
    SetGrab(grab, Offset(worldCentre, {world.endX, world.endY}), kEditSecondEnd);
  } else {
    SetGrab(grab, Offset(worldCentre, {world.startX, world.startY}), kEditFirstEnd);
  }
  return 1;
}

int GrabPolygon(std::uint8_t* p, std::uint32_t stored, GrabBlock* grab) {
  const std::uint32_t n = p[48];
  std::uint32_t best = 0;
  std::int64_t bestDistance = -1;
  for (std::uint32_t k = 0; k < n && 68 + 8 * k + 8 <= stored; ++k) {
    const std::int64_t d = DistanceSquared(ToView({ReadI32(p, 68 + 8 * k), ReadI32(p, 72 + 8 * k)}), grab->cursorX,
                                           grab->cursorY);
    if (bestDistance < 0 || d < bestDistance) {
      bestDistance = d;
      best = k;
    }
  }
  if (bestDistance >= 0) {
    p[49] = static_cast<std::uint8_t>(best);
    SetGrab(grab, {ReadI32(p, 68 + 8 * best), ReadI32(p, 72 + 8 * best)},
            grab->wholeItem ? kEditWholeItemRequest : kEditPolygonPoint);
  }
  return 1;
}

}  // namespace

bool IsPolygonKind(std::uint16_t t) { return t == 4 || t == 8 || t == 9 || (t >= 41 && t <= 45) || t == 49; }

void* CopyEntity(const void* payload, std::uint32_t storedSize, std::uint16_t type, const pl3::Transform* transform) {
  const auto* src = static_cast<const std::uint8_t*>(payload);
  if (type == kTypeSymbolPin) return nullptr;
  if (type == Type_PadStackLayerInfo || type == Type_PadStackInfo) return CopyBareRecord(src, storedSize, type);
  WorkingRow row{};
  if (!WorkingRowOf(type, &row)) {
    ShowMessage(nullptr, "Internal Error - Unknown type", "CopyEntity");
    return nullptr;
  }
  const std::uint32_t size = src ? WorkingCopySize(src, storedSize, type, row) : 0;
  if (size == 0) return nullptr;
  auto* record = static_cast<EntityRecord*>(std::calloc(1, sizeof(EntityRecord)));
  if (!record) return nullptr;
  const std::uint8_t layer = ChooseCopyLayer(src[0], type);
  if (type == Type_Rectangle) {
    // Initialised first, so the stored layer, net ids and transform stay.
    InitialiseEntityRecord(record, row.recordType, transform, layer);
    std::memcpy(record->payload, src, size);
    return record;
  }
  std::memcpy(record->payload, src, size);
  if (type == Type_Text) {
    const std::uint32_t room = storedSize - size < kTextMaxBytes - 1 ? storedSize - size : kTextMaxBytes - 1;
    const auto* text = reinterpret_cast<const char*>(src + size);
    const std::size_t length = strnlen(text, room);
    std::memcpy(record->payload + size, text, length);
    record->payload[size + length] = 0;
  }
  InitialiseEntityRecord(record, row.recordType, transform, layer);
  if (row.recordType == 1 && type != 23) {
    const auto& line = record->as<LinePayload>();
    if (line.y1 == line.y2) reinterpret_cast<std::uint8_t*>(&record->header)[3] = 1;
  }
  if (IsPolygonKind(type)) {
    if (type == Type_Plane) {
      record->header.state |= kStatePlane;
      record->head().netIds[0] = ReadU32(src, 8);
    } else if (type == Type_PlaneCutout) {
      record->header.state |= kStatePlaneCutout;
    } else if (type != Type_Polygon) {
      record->header.state |= kStateKeepout;
      record->header.recordType = type;
    }
  }
  return record;
}

void* CopyEntityFromTower(const Tower* t) {
  Entity* e = TowerEntity(t);
  if (!e) return nullptr;
  const std::uint16_t code = e->typeCode;
  const bool copied = (code >= 1 && code <= 11) || (code >= 37 && code <= 39) || (code >= 41 && code <= 47) ||
                      code == 49 || code == Type_PadStackLayerInfo || code == Type_PadStackInfo;
  if (!copied) return nullptr;
  pl3::Transform design = pl3::kIdentityTransform;
  for (int level = 0; level <= t->lastLevel; ++level) {
    Tower* prefix = DuplicateTowerToLevel(t, static_cast<std::uint8_t>(level));
    const pl3::Transform parent = design;
    GetTransform(&design, prefix, &parent);
    ReleaseTower(&prefix);
  }
  return CopyEntity(EntityPayload(e), e->payloadSize, code, &design);
}

Tower* CopyAndInsertEntity(const Tower* destination, const Tower* source, const pl3::Transform* transform) {
  Entity* e = TowerEntity(source);
  if (!e || !TowerEntity(destination)) return nullptr;
  const std::uint16_t code = e->typeCode;
  const CopyRule rule = RuleOf(code);
  if (rule.kind == CopyKind::Skip) return nullptr;
  if (rule.kind == CopyKind::Unknown) {
    char text[64];
    std::snprintf(text, sizeof text, "Unknown type to copy (%d)", code);
    ShowMessage(nullptr, text, "CopyAndInsertEntity");
    return nullptr;
  }
  Tower* copy = nullptr;
  if (rule.kind == CopyKind::Group) {
    copy = InsertEmptyEntity(destination, code);
    if (copy) CopyChildren(copy, source);
    return copy;
  }
  std::vector<std::uint8_t> bytes = CopyBytes(e, rule);
  if (bytes.empty()) return nullptr;
  if (rule.kind == CopyKind::Graphic) {
    ApplyGeometry(bytes, rule.geometry, transform ? transform : &pl3::kIdentityTransform);
    if (rule.chooseLayer) bytes[0] = ChooseCopyLayer(bytes[0], code);
  }
  if (code == Type_PadStackInfo && ActiveWindowData && ActiveWindowData->editorKind == kEditorPcbSymbol) {
    WriteU32(bytes.data(), 4, NextXrefNumber(ActiveDesign()));
  }
  Tower* under = nullptr;
  if (rule.kind == CopyKind::PinName && LastLevel(destination).typeCode != kTypeSymbolPin) {
    under = GetAncestorTower(destination, kTypeSymbolPin);
    if (LastLevel(under).typeCode != kTypeSymbolPin) ReleaseTower(&under);
  }
  copy = InsertEntity(under ? under : destination, static_cast<std::uint32_t>(bytes.size()), code, bytes.data());
  ReleaseTower(&under);
  if (copy && rule.children) CopyChildren(copy, source);
  return copy;
}

void TranslateEntity(void* payload, std::uint32_t payloadRoom, std::uint16_t type, pl3::Point d, std::uint16_t part) {
  auto* p = static_cast<std::uint8_t*>(payload);
  if (IsLineKind(type) || IsThinLineKind(type)) {
    if (payloadRoom < 68) return;
    if (part == kPartWhole || part == kPartFirstEnd) MovePoint(p, 52, d);
    if (part == kPartWhole || part == kPartSecondEnd) MovePoint(p, 60, d);
  } else if (IsArcKind(type)) {
    if (payloadRoom < 116) return;
    if (part == kPartWhole) MovePoint(p, 72, d);
    if (part == kPartFirstEnd) MovePoint(p, 56, d);
    if (part == kPartSecondEnd) MovePoint(p, 64, d);
    if (part == kPartRadius) {
      const pl3::Point ref = ActiveWindowData ? ActiveWindowData->ReferencePoint : pl3::Point{0, 0};
      const double dx = static_cast<double>(ref.x) + d.x - ReadI32(p, 72);
      const double dy = static_cast<double>(ref.y) + d.y - ReadI32(p, 76);
      WriteI32(p, 52, static_cast<std::int32_t>(std::sqrt(dx * dx + dy * dy)));
    }
  } else if (type == Type_Circle) {
    if (payloadRoom >= 60 && part == kPartWhole) MovePoint(p, 52, d);
  } else if (IsPolygonKind(type)) {
    if (payloadRoom < 68) return;
    const std::uint32_t n = p[48];
    if (part == kPartWhole) {
      MovePoint(p, 52, d);
      MovePoint(p, 60, d);
      for (std::uint32_t k = 0; k < n && 76 + 8 * k <= payloadRoom; ++k) MovePoint(p, 68 + 8 * k, d);
    } else if ((part == kPartPolygonPoint || part == kPartPolygonPointAdd) && p[49] < n &&
               76 + 8u * p[49] <= payloadRoom) {
      MovePoint(p, 68 + 8 * p[49], d);
    }
  } else if (type == Type_Rectangle) {
    if (payloadRoom < 88 || part != kPartWhole) return;
    for (std::uint32_t offset = 48; offset <= 80; offset += 8) MovePoint(p, offset, d);
  } else if (type == Type_Hole) {
    if (payloadRoom >= 68 && part == kPartWhole) MovePoint(p, 60, d);
  } else if (type == 27) {
    if (payloadRoom >= 44 && part == kPartWhole) MovePoint(p, 36, d);
  }
}

namespace {

// The four handles of a spiral, in view pixels: the nearest to the cursor
// wins, the centre on a tie with anything, then the start, the pitch point
// (one pitch beyond the start, away from the centre) and the end.
int GrabSpiral(const std::uint8_t* p, GrabBlock* grab) {
  // Unset values are grabbed where the spiral is drawn from them.
  SpiralPayload spiral{};
  std::memcpy(&spiral, p, kSpiralHandleBytes);
  ApplySpiralDefaults(&spiral);
  const pl3::Point centre = spiral.centre, start = spiral.start, end = spiral.end;
  const std::int32_t pitch = spiral.pitch;
  const double dx = static_cast<double>(start.x) - centre.x, dy = static_cast<double>(start.y) - centre.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  const pl3::Point pitchPoint =
      length > 0 ? pl3::Point{static_cast<std::int32_t>(start.x + dx * pitch / length),
                              static_cast<std::int32_t>(start.y + dy * pitch / length)}
                 : pl3::Point{start.x - pitch, start.y};
  const struct {
    pl3::Point at;
    std::uint16_t code;
  } handles[] = {{centre, kEditSpiralCentre}, {start, kEditSpiralStart}, {pitchPoint, kEditSpiralPitch},
                 {end, kEditSpiralEnd}};
  std::size_t best = 0;
  std::int64_t bestDistance = INT64_MAX;
  for (std::size_t i = 0; i < std::size(handles); ++i) {
    const std::int64_t d = DistanceSquared(ToView(handles[i].at), grab->cursorX, grab->cursorY);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  grab->firstWord = 0;
  grab->secondWord = 0;
  SetGrab(grab, handles[best].at, handles[best].code);
  return 1;
}

// A centroid marker: asked for its point (a whole-item grab), its position
// with code 7; otherwise, with the cursor outside the marker's circle (its
// size in view pixels), the tip of its direction vector, which turns it
// (code 6); inside, its position, which moves it (code 0).
int GrabCentroid(const std::uint8_t* p, GrabBlock* grab) {
  const pl3::Point position{ReadI32(p, 48), ReadI32(p, 52)};
  if (grab->wholeItem) {
    SetGrab(grab, position, kEditWholeItemRequest);
    return 1;
  }
  const std::int64_t radius = pl3::ScaleToView(ReadI32(p, 4));
  if (DistanceSquared(ToView(position), grab->cursorX, grab->cursorY) > radius * radius) {
    const pl3::Point tip{static_cast<std::int32_t>(static_cast<std::uint32_t>(position.x) + ReadU32(p, 56)),
                         static_cast<std::int32_t>(static_cast<std::uint32_t>(position.y) + ReadU32(p, 60))};
    SetGrab(grab, tip, kEditCentroidDirection);
  } else {
    SetGrab(grab, position, kEditWhole);
  }
  return 1;
}

}  // namespace

int GetSpiralHandle(const Tower* item, GrabBlock* grab) {
  Entity* e = TowerEntity(item);
  if (!e || !grab || e->payloadSize < kSpiralHandleBytes) return 0;
  return GrabSpiral(EntityPayload(e), grab);
}

int GrabEntity(const Tower* item, GrabBlock* grab) {
  Entity* e = TowerEntity(item);
  grab->firstWord = 0;
  grab->secondWord = 0;
  if (!e) return 0;
  std::uint8_t* p = EntityPayload(e);
  const std::uint32_t stored = e->payloadSize;
  const std::uint16_t code = e->typeCode;
  const std::uint16_t simple = grab->wholeItem ? kEditWholeItemRequest : kEditWhole;
  if ((IsLineKind(code) || IsThinLineKind(code)) && stored >= 68) return GrabLine(p, grab);
  if (IsArcKind(code) && stored >= 116) return GrabArc(p, grab);
  if (IsPolygonKind(code) && stored >= 68) return GrabPolygon(p, stored, grab);
  if (code == Type_Spiral && stored >= kSpiralHandleBytes) return GrabSpiral(p, grab);
  if (code == Type_Centroid && stored >= 64) return GrabCentroid(p, grab);
  switch (code) {
    case Type_Text: return GrabText(item, grab);
    case Type_SymbolPin: return GrabSymbolPin(item, grab);
    case 27: return GrabPinNameText(item, grab);
    case kTypeTextGroup: return GrabTextGroup(item, grab);
    default: break;
  }
  if (code == Type_Circle && stored >= 60) {
    SetGrab(grab, {ReadI32(p, 52), ReadI32(p, 56)}, simple);
  } else if (code == Type_Hole && stored >= 68) {
    SetGrab(grab, {ReadI32(p, 60), ReadI32(p, 64)}, simple);
  } else if (code == Type_Rectangle && stored >= 88) {
    SetGrab(grab, {ReadI32(p, 80), ReadI32(p, 84)}, simple);
  } else {
    return 0;
  }
  return 1;
}

std::uint32_t NextXrefNumber(const Tower* design) {
  if (!TowerEntity(design)) return 0;
  if (std::uint8_t* mark = ChildPayloadOfAtLeast(design, Type_XrefHWM, 4)) {
    const std::uint32_t next = ReadU32(mark, 0) + 1;
    WriteU32(mark, 0, next);
    return next;
  }
  const std::uint32_t first = 1;
  Tower* created = InsertEntity(design, sizeof first, Type_XrefHWM, &first);
  ReleaseTower(&created);
  return first;
}

int AreTypesCompatible(std::uint16_t a, std::uint16_t b) {
  if (a == b) return 1;
  const auto pair = [&](std::uint16_t x, std::uint16_t y) { return (a == x && b == y) || (a == y && b == x); };
  return pair(Type_Track, Type_Arc) || pair(Type_Arc, Type_RoutedLine) ? 1 : 0;
}
