#include "objects/locator_dispatch.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"

using pl3::Transform;

LocatorPlacingDefaults LastLocatorDefaults;

namespace {

void ResetLocatorDefaults() { LastLocatorDefaults = LocatorPlacingDefaults{}; }
const bool g_registered = pl3::RegisterGlobalReset(&ResetLocatorDefaults);

const char* const kLocatorKindNames[kLocatorKindCount] = {
    "User",        "Pin Number", "Designator Name", "Net Name",   "Pin Name",         "Function Name",
    "Designator",  "Gate Name",  "Global Net",      "IO Port",    "Value",            "Name",
    "Footprint",   "Graphic Net Name", "User",      "Named IO Port", "Display Net Name", "Display Global Nets"};

// The quarter turns in the order of an anticlockwise step.
const Transform* const kQuarterTurns[4] = {&pl3::R0, &pl3::R90, &pl3::R180, &pl3::R270};

// The position in kQuarterTurns; anything that is not R0, R180 or R270 counts as R90.
int QuarterTurnIndex(const Transform& t) {
  if (SameRotation(t, pl3::R0)) return 0;
  if (SameRotation(t, pl3::R180)) return 2;
  if (SameRotation(t, pl3::R270)) return 3;
  return 1;
}

void SetRotation(LocatorPayload* locator, const Transform& rotation) {
  locator->head.transform = rotation;
}

}  // namespace

const char* GetLocatorKindName(std::uint32_t kind) {
  return kind < kLocatorKindCount ? kLocatorKindNames[kind] : "";
}

int IsHandledLocatorKind(std::uint32_t kind) {
  switch (kind) {
    case 1: case 3: case 4: case 6: case 9: case 10: case 13: case 14: case 15: case 16: case 17:
      return 1;
    default:
      return 0;
  }
}

std::uint32_t LocatorMenuKind(std::uint32_t kind) {
  switch (kind) {
    case 1: return 23;
    case 3: return 27;
    case 4: return 22;
    case 6: return 24;
    case 9: return 25;
    case 10: return 26;
    case 13: return 29;
    case 14: return 28;
    case 15: return 33;
    case 16: return 39;
    case 17: return 38;
    default: return 30;
  }
}

int LocatorKindKeepsDefaults(std::uint32_t kind) {
  return !(kind == 6 || kind == 9 || kind == 13 || kind == 15 || kind == 17);
}

bool SameRotation(const Transform& a, const Transform& b) {
  return a.a == b.a && a.b == b.b && a.c == b.c && a.d == b.d;
}

int RotateLocatorText(LocatorPayload* locator, int direction) {
  if (!IsHandledLocatorKind(locator->kind)) {
    MessageBeep(0);
    return 0;
  }
  int step = direction == 0 ? 1 : 3;
  SetRotation(locator, *kQuarterTurns[(QuarterTurnIndex(locator->head.transform) + step) % 4]);
  return 1;
}

int NormaliseLocatorRotation(LocatorPayload* locator, const Transform& placement) {
  if (!IsHandledLocatorKind(locator->kind)) {
    MessageBeep(0);
    return 0;
  }
  // Rows R0, R270, R180, other; columns: placement not R90 (p = 1), exactly R90 (p = 0).
  static const Transform* const kOthers[4][2] = {{&pl3::R90, &pl3::R270},
                                                {&pl3::R0, &pl3::R180},
                                                {&pl3::R270, &pl3::R90},
                                                {&pl3::R180, &pl3::R0}};
  static const Transform* const kGraphicNetName[4][2] = {{&pl3::R270, &pl3::R90},
                                                        {&pl3::R180, &pl3::R0},
                                                        {&pl3::R90, &pl3::R270},
                                                        {&pl3::R0, &pl3::R180}};
  const Transform& rotation = locator->head.transform;
  int row = SameRotation(rotation, pl3::R0) ? 0 : SameRotation(rotation, pl3::R270) ? 1
            : SameRotation(rotation, pl3::R180) ? 2 : 3;
  int column = SameRotation(placement, pl3::R90) ? 1 : 0;
  const auto& table = locator->kind == kLocatorGraphicNetName ? kGraphicNetName : kOthers;
  SetRotation(locator, *table[row][column]);
  return 1;
}

std::uint32_t AdjustJustificationForTransform(const Transform& rotation, std::uint32_t justification) {
  if (!SameRotation(rotation, pl3::R180) && !SameRotation(rotation, pl3::R90)) return justification;
  if (justification & 4) return 8;
  if (justification & 8) return 4;
  if (justification & 16) return 32;
  if (justification & 32) return 16;
  return justification;
}

std::uint32_t GetTextAnchorForTransform(const Transform& rotation) {
  return SameRotation(rotation, pl3::R180) || SameRotation(rotation, pl3::R90) ? 8 : 4;
}

void GetReadableTextTransform(Transform* result, const Transform& placement) {
  *result = IsVerticalTransform(placement) ? pl3::R270 : pl3::kIdentityTransform;
}

int IsVerticalTransform(const Transform& rotation) {
  return SameRotation(rotation, pl3::R90) || SameRotation(rotation, pl3::R270);
}

int TranslateLocator(LocatorPayload* locator, pl3::Point delta, int part) {
  if (part == 0) {
    locator->x += delta.x;
    locator->y += delta.y;
    locator->textX += delta.x;
    locator->textY += delta.y;
    return 1;
  }
  if (part != 11 || !ActiveWindowData) return 0;
  pl3::Point cursor = ActiveWindowData->Cursor;
  std::int64_t dx = std::int64_t{cursor.x} - locator->x;
  std::int64_t dy = std::int64_t{cursor.y} - locator->y;
  if (dx * dx + dy * dy > kLocatorTextDragReach * kLocatorTextDragReach) return 0;
  if (WalkHandlers.snapXY) WalkHandlers.snapXY(&cursor.x, &cursor.y, 0);
  locator->textX = cursor.x;
  locator->textY = cursor.y;
  return 1;
}

int IsPointInBox(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t px,
                 std::int32_t py) {
  std::int32_t xlo = x1 < x2 ? x1 : x2, xhi = x1 < x2 ? x2 : x1;
  std::int32_t ylo = y1 < y2 ? y1 : y2, yhi = y1 < y2 ? y2 : y1;
  return px >= xlo && px <= xhi && py >= ylo && py <= yhi;
}

std::int32_t DistanceToCorner(const std::int32_t* record, std::int32_t x, std::int32_t y) {
  double dx = double(x) - record[2], dy = double(y) - record[3];
  return static_cast<std::int32_t>(std::sqrt(dx * dx + dy * dy));
}

namespace {

std::int32_t NearestOnAxis(std::int32_t low, std::int32_t high, std::int32_t v) {
  const std::int64_t centre = (std::int64_t{low} + high) / 2;
  const std::int64_t dLow = std::llabs(std::int64_t{v} - low);
  const std::int64_t dCentre = std::llabs(std::int64_t{v} - centre);
  const std::int64_t dHigh = std::llabs(std::int64_t{v} - high);
  if (dCentre <= dLow && dCentre <= dHigh) return static_cast<std::int32_t>(centre);
  return dLow <= dHigh ? low : high;
}

constexpr std::uint16_t kTypeSchematicSymbolGroup = 30;
constexpr std::uint16_t kTypePackageGate = 11026;

bool DragsWithItem(std::uint16_t kind) {
  return kind == kLocatorDesignator || kind == kLocatorValue || kind == kLocatorUserAttribute ||
         kind == kLocatorDisplayNetName || kind == kLocatorDisplayGlobalNets;
}

// Calls `visit` with each Symbol Pin's Origin payload until it returns true;
// the pin's Tower is handed along.
template <typename Visit>
bool ForEachPinOrigin(const Tower* symbol, Visit visit) {
  Tower* pins = symbol ? GetChildTower(symbol, Type_SymbolPin) : nullptr;
  bool stopped = false;
  while (!stopped && pins && FindNextEntity(pins)) {
    const std::uint8_t* origin = ChildPayloadOfAtLeast(pins, Type_Origin, 8);
    if (origin) stopped = visit(pins, ReadI32(origin, 0), ReadI32(origin, 4));
  }
  ReleaseTower(&pins);
  return stopped;
}

}  // namespace

pl3::Point LeaderTargetPoint(const pl3::Box& box, std::int32_t x, std::int32_t y) {
  return {NearestOnAxis(box.xmin, box.xmax, x), NearestOnAxis(box.ymin, box.ymax, y)};
}

int MoveLocatorWithItem(const Tower* locator, pl3::Point delta) {
  Entity* e = TowerEntity(locator);
  auto* payload = reinterpret_cast<LocatorPayload*>(PayloadOfAtLeast(e, sizeof(LocatorPayload)));
  if (!payload || e->typeCode != Type_AttributeLocator || !DragsWithItem(payload->kind) || locator->lastLevel == 0)
    return 0;
  Tower* parent = DuplicateTowerToLevel(locator, static_cast<std::uint8_t>(locator->lastLevel - 1));
  Entity* p = TowerEntity(parent);
  Transform turn = pl3::kIdentityTransform;
  bool found = false;
  if (p && p->typeCode == Type_AttributeLocator) {
    const std::uint8_t* q = PayloadOfAtLeast(p, sizeof(LocatorPayload));
    if (q) {
      std::memcpy(&turn, q + offsetof(LocatorPayload, head.transform), sizeof turn);
      found = true;
    }
  } else if (p && p->typeCode == kTypeSchematicSymbolGroup) {
    const std::uint8_t* q = ChildPayloadOfAtLeast(parent, Type_Transform, sizeof(Transform));
    if (q) {
      std::memcpy(&turn, q, sizeof turn);
      found = true;
    }
  }
  ReleaseTower(&parent);
  if (!found) return 0;
  pl3::TransformVector(&turn, delta.x, delta.y);
  payload->x += delta.x;
  payload->y += delta.y;
  return 1;
}

Tower* FindPinAttributeAt(const Tower* symbol, std::int32_t x, std::int32_t y, std::uint32_t kind) {
  Tower* found = nullptr;
  ForEachPinOrigin(symbol, [&](Tower* pin, std::int32_t px, std::int32_t py) {
    if (px != x || py != y) return false;
    Tower* attributes = GetChildTower(pin, Type_Attribute);
    while (!found && attributes && FindNextEntity(attributes)) {
      const std::uint8_t* a = PayloadOfAtLeast(TowerEntity(attributes), 4);
      if (a && ReadU32(a, 0) == kind) found = EntityToTower(pin, TowerEntity(attributes), -1);
    }
    ReleaseTower(&attributes);
    return true;  // only the first pin at the point counts
  });
  return found;
}

int HasPinAt(const Tower* symbol, std::int32_t x, std::int32_t y) {
  return ForEachPinOrigin(symbol, [&](Tower*, std::int32_t px, std::int32_t py) { return px == x && py == y; });
}

void DeletePackageGateRecords(const Tower* t) {
  if (t) DeleteChildEntities(t, kTypePackageGate);
}

std::uint32_t GetAttributeKind(const Tower* t) {
  Entity* e = TowerEntity(t);
  if (!e) return 0;
  if (e->typeCode == Type_AttributeLocator) {
    const std::uint8_t* p = PayloadOfAtLeast(e, offsetof(LocatorPayload, kind) + 2);
    return p ? ReadU16(p, offsetof(LocatorPayload, kind)) : 0;
  }
  if (e->typeCode == Type_Attribute) {
    const std::uint8_t* p = PayloadOfAtLeast(e, 4);
    return p ? ReadU32(p, 0) : 0;
  }
  return 0;
}

void RememberLocatorDefaults(const LocatorPayload* locator) {
  if (!LocatorKindKeepsDefaults(locator->kind)) return;
  LastLocatorDefaults.vertical = locator->style1 & 48;
  LastLocatorDefaults.horizontal = locator->style2 & 12;
  LastLocatorDefaults.rotation = locator->head.transform;
}

void ApplyLocatorDefaults(LocatorPayload* locator) {
  if (!LocatorKindKeepsDefaults(locator->kind)) return;
  locator->style1 = LastLocatorDefaults.vertical;
  locator->style2 = LastLocatorDefaults.horizontal;
  locator->head.transform = LastLocatorDefaults.rotation;
}
