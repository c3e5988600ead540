// The wires that follow a moved schematic selection: the wire ends, port and
// net-name locators, pins and placed-symbol pins of the primary records
// become connection points, and the wires, lines, buses and locators of the
// page that meet one join as secondary records.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <tuple>

#include "edit/selection.h"
#include "edit/window_data.h"
#include "edit/schematic_pins.h"
#include "objects/design_walks.h"
#include "objects/graphic_records.h"
#include "objects/locator_dispatch.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kPointPlacedPin = 30;

bool Before(const ConnectionPoint& a, const ConnectionPoint& b) {
  return std::tie(a.x, a.y, a.kind) < std::tie(b.x, b.y, b.kind);
}

bool IsWireLike(std::uint16_t type) { return type == Type_Wire || type == Type_Track || type == Type_Bus; }

// The matching rule between the kind of a point and the type of an item.
bool Hangs(std::uint16_t kind, std::uint16_t type) {
  switch (kind) {
    case kPointPlacedPin: return type == Type_Wire;
    case Type_AttributeLocator: return type == Type_Wire || type == Type_Bus;
    case Type_Wire: case Type_Bus: return type == Type_AttributeLocator || type == kind;
    default: return type == kind;
  }
}

bool FollowsWires(std::uint16_t locatorKind) {
  switch (locatorKind) {
    case kLocatorPinNumber: case kLocatorPinName: case kLocatorIOPort: case kLocatorGraphicNetName:
    case kLocatorNamedIOPort:
      return true;
    default:
      return false;
  }
}

const LocatorPayload* LocatorOf(const Entity* e) {
  if (!e || e->typeCode != Type_AttributeLocator || e->payloadSize < sizeof(LocatorPayload)) return nullptr;
  return reinterpret_cast<const LocatorPayload*>(EntityPayload(e));
}

const LinePayload* LineOf(const Entity* e) {
  if (!e || !IsWireLike(e->typeCode) || e->payloadSize < sizeof(LinePayload)) return nullptr;
  return reinterpret_cast<const LinePayload*>(EntityPayload(e));
}

// The first point at (x, y) whose kind passes the test, or null.
template <typename Test>
const ConnectionPoint* PointAt(const ConnectionPointList& list, std::int32_t x, std::int32_t y, Test test) {
  const ConnectionPoint* begin = list.points;
  const ConnectionPoint* end = begin + list.count;
  for (const ConnectionPoint* p = std::lower_bound(begin, end, ConnectionPoint{x, y, 0}, Before);
       p != end && p->x == x && p->y == y; ++p)
    if (test(p->kind)) return p;
  return nullptr;
}

// A pin point (kind 26) at the place, as the symbol editor's pin labels ask.
bool PinPointAt(const ConnectionPointList& list, std::int32_t x, std::int32_t y) {
  return PointAt(list, x, y, [](std::uint16_t kind) { return kind == Type_SymbolPin; }) != nullptr;
}

// A wire already held by the selection: skipped when it is primary or held
// whole; a secondary held by one end takes the other end too when it meets.
std::int32_t RegrabWire(SelectionInfo* s, std::uint16_t part) {
  if ((s->flags & kSelectionPrimary) || s->grabbedPart == kGrabWhole) return 0;
  if (part != s->grabbedPart) s->grabbedPart = kGrabWhole;
  return 0;
}

std::int32_t AddAttachedWire(ConnectionPointList& list, Tower* item, const LinePayload& l) {
  const std::uint16_t type = TowerEntity(item)->typeCode;
  const bool first = FindConnectionPoint(&list, l.x1, l.y1, type) != nullptr;
  const bool second = FindConnectionPoint(&list, l.x2, l.y2, type) != nullptr;
  if (!first && !second) return 0;
  const std::uint16_t part = first && second ? kGrabWhole : first ? kGrabFirstEnd : kGrabSecondEnd;
  if (SelectionInfo* held = FindSelectionInfoOfTower(*list.selection, item)) return RegrabWire(held, part);
  const pl3::Point at = second && !first ? pl3::Point{l.x2, l.y2} : pl3::Point{l.x1, l.y1};
  return AppendSecondarySelection(item, list.selection, part, at.x, at.y) ? 1 : 0;
}

std::int32_t AddAttachedLocator(ConnectionPointList& list, Tower* item, const LocatorPayload& l) {
  if (!FollowsWires(l.kind)) return 0;
  if (FindSelectionInfoOfTower(*list.selection, item)) return 0;
  const CurrentWindowData* w = ActiveWindowData;
  const bool pinLabel = l.kind == kLocatorPinNumber || l.kind == kLocatorPinName;
  const bool onPin = pinLabel && w && w->editorKind == kEditorSchematicSymbol && PinPointAt(list, l.x, l.y);
  if (!onPin && !FindConnectionPoint(&list, l.x, l.y, Type_AttributeLocator)) return 0;
  return AppendSecondarySelection(item, list.selection, kGrabWhole, l.x, l.y) ? 1 : 0;
}

void AddPoint(ConnectionPointList& list, std::int32_t x, std::int32_t y, std::uint16_t kind) {
  AddConnectionPoint(&list, {x, y, kind});
}

void AddPlacedSymbolPins(ConnectionPointList& list, const Tower* symbol) {
  pl3::Point pin{};
  for (int i = 0; GetSchematicSymbolPinPoint(symbol, i, &pin); ++i) AddPoint(list, pin.x, pin.y, kPointPlacedPin);
}

void FreeListHandler(void* list) { FreeConnectionPoints(static_cast<ConnectionPointList*>(list)); }

}  // namespace

void AddConnectionPoint(ConnectionPointList* list, ConnectionPoint point) {
  ConnectionPoint* end = list->points + list->count;
  ConnectionPoint* at = std::lower_bound(list->points, end, point, Before);
  if (at != end && !Before(point, *at)) return;
  const std::size_t index = static_cast<std::size_t>(at - list->points);
  if (list->count == list->room) {
    const std::uint32_t room = list->room ? list->room * 2 : 16;
    auto* grown = static_cast<ConnectionPoint*>(std::realloc(list->points, sizeof(ConnectionPoint) * room));
    if (!grown) return;
    list->points = grown;
    list->room = room;
  }
  std::memmove(list->points + index + 1, list->points + index, sizeof(ConnectionPoint) * (list->count - index));
  list->points[index] = point;
  ++list->count;
}

const ConnectionPoint* FindConnectionPoint(const ConnectionPointList* list, std::int32_t x, std::int32_t y,
                                           std::uint16_t itemType) {
  if (!list || !list->count) return nullptr;
  return PointAt(*list, x, y, [itemType](std::uint16_t kind) { return Hangs(kind, itemType); });
}

void AddRecordConnectionPoints(ConnectionPointList* list, const SelectionInfo* record) {
  const Tower* item = record->workingCopy;
  const Entity* e = TowerEntity(item);
  if (!e) return;
  if (const LinePayload* l = LineOf(e)) {
    const std::uint16_t part = record->grabbedPart;
    if (GrabMovesEnd(part, kGrabFirstEnd)) AddPoint(*list, l->x1, l->y1, e->typeCode);
    if (GrabMovesEnd(part, kGrabSecondEnd)) AddPoint(*list, l->x2, l->y2, e->typeCode);
  } else if (const LocatorPayload* l = LocatorOf(e)) {
    if (l->kind == kLocatorIOPort || l->kind == kLocatorGraphicNetName || l->kind == kLocatorNamedIOPort)
      AddPoint(*list, l->x, l->y, Type_AttributeLocator);
  } else if (e->typeCode == Type_SymbolPin) {
    if (const std::uint8_t* origin = ChildPayloadOfAtLeast(item, Type_Origin, 8))
      AddPoint(*list, ReadI32(origin, 0), ReadI32(origin, 4), Type_SymbolPin);
  } else if (e->typeCode == kPointPlacedPin) {
    AddPlacedSymbolPins(*list, item);
  }
}

void FreeConnectionPoints(ConnectionPointList* list) {
  std::free(list->points);
  list->points = nullptr;
  list->count = list->room = 0;
}

std::int32_t AddAttachedWiresToSelection(const pl3::Transform*, Tower* item, void*, std::uint8_t mode, std::uint8_t,
                                         std::int32_t*) {
  auto* list = static_cast<ConnectionPointList*>(RubberBandList);
  const Entity* e = TowerEntity(item);
  if (mode || !list || !list->selection || !e) return 0;
  if (const LinePayload* l = LineOf(e)) return AddAttachedWire(*list, item, *l);
  if (const LocatorPayload* l = LocatorOf(e)) return AddAttachedLocator(*list, item, *l);
  return 0;
}

void CollectAttachedWires(SelectionInfo** selection) {
  ConnectionPointList list;
  list.selection = selection;
  for (const SelectionInfo* s = *selection; s; s = s->next)
    if (s->flags & kSelectionPrimary) AddRecordConnectionPoints(&list, s);
  if (!list.count) return;
  if (!WalkHandlers.addAttachedWiresToSelection) WalkHandlers.addAttachedWiresToSelection = &AddAttachedWiresToSelection;
  RubberBandList = &list;
  FreeRubberBandListHandler = &FreeListHandler;
  CollectAttachedItems();
  FreeConnectionPoints(&list);
}
