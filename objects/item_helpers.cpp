#include "objects/item_helpers.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "geometry/pot2.h"
#include "objects/design_helpers.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/reset_hooks.h"

std::uint32_t PadResistOptions = kDefaultPadResistOptions;

namespace {

void ResetPadResistOptions() { PadResistOptions = kDefaultPadResistOptions; }
const bool g_registered = pl3::RegisterGlobalReset(&ResetPadResistOptions);

constexpr std::uint16_t kTypePadResistOptions = 10406;
constexpr std::uint16_t kTypeTextGroup = 163;
constexpr std::uint16_t kTypeSchematicGroup = 25;
constexpr std::uint32_t kTextJustificationOffset = 72;
constexpr std::uint32_t kDimensionerJustificationOffset = 100;
constexpr std::uint32_t kCompletionInfoSize = 10;  // u16 type, u32 failure bits at 2, u32 enable mask at 6

// The least payload ResolveEntitySizes reads of a type, so that a short
// record from a damaged file is left alone.
std::uint32_t SizedPayloadMinimum(std::uint16_t type) {
  switch (type) {
    case Type_AttributeLocator: return sizeof(LocatorPayload);
    case Type_AngleDimensioner:
    case Type_Dimensioner: return 92;
    case Type_Rectangle: return sizeof(RectanglePayload);
    case Type_Hole: return 60;
    case Type_DesignatorInfo:
    case kTypeAttributeLocatorInfo: return 16;
    default: return 52;
  }
}

std::int32_t ResolvePayload(Entity* e) {
  std::uint8_t* payload = PayloadOfAtLeast(e, SizedPayloadMinimum(e->typeCode));
  return payload ? ResolveEntitySizes(payload, e->typeCode) : 0;
}

std::int32_t ResolveWalked(const pl3::Transform*, Tower* entity, void*, std::uint8_t, std::uint8_t,
                           std::int32_t*) {
  return ResolveItemSizes(entity);
}

// Sets or clears the sweep mark on every child of the given codes.
void MarkChildren(const Tower* t, std::initializer_list<std::uint16_t> codes, int on) {
  for (std::uint16_t code : codes) {
    Tower* children = GetChildTower(t, code);
    while (children && FindNextEntity(children)) {
      Entity* e = TowerEntity(children);
      if (on) e->flags |= kEntitySweepMark;
      else e->flags &= static_cast<std::uint16_t>(~kEntitySweepMark);
    }
    ReleaseTower(&children);
  }
}

const std::uint8_t* CompletionInfo(const Tower* item) {
  return ChildPayloadOfAtLeast(item, Type_CompletionInfo, kCompletionInfoSize);
}

bool IsPolygonGroup(std::uint16_t code) {
  return code == kTypeSchematicGroup || code == Type_Page || code == Type_SymbolDefinition ||
         code == Type_ShapeDefinition || code == Type_PadStackDefinition;
}

}  // namespace

std::uint32_t CycleTextJustification(const Tower* entity, int axis) {
  Entity* e = entity ? TowerEntity(entity) : nullptr;
  if (!e) return 0;
  std::uint32_t offset = 0;
  switch (e->typeCode) {
    case Type_Text: offset = kTextJustificationOffset; break;
    case Type_AngleDimensioner:
    case Type_Dimensioner: offset = kDimensionerJustificationOffset; break;
    case Type_DesignatorInfo: return 1;
    default: return 0;
  }
  std::uint8_t* payload = PayloadOfAtLeast(e, offset + 4);
  if (!payload) return 0;
  WriteU32(payload, offset, CycleJustification(ReadU32(payload, offset), axis));
  return 1;
}

std::int32_t ResolveItemSizes(const Tower* entity) {
  Entity* e = entity ? TowerEntity(entity) : nullptr;
  if (!e) return 0;
  switch (e->typeCode) {
    case Type_Designator:
    case Type_LabelHier:
    case kTypeAttributeGroup:
      return PerformTowerAction(&pl3::kIdentityTransform, entity, nullptr, 0, 14, 0);
    case Type_DesignatorData:
    case kTypeAttributeLocatorGroup: {
      const std::uint16_t info = e->typeCode == Type_DesignatorData ? std::uint16_t{Type_DesignatorInfo} : kTypeAttributeLocatorInfo;
      Tower* child = NewestChildTower(entity, info);
      std::int32_t n = child ? ResolvePayload(TowerEntity(child)) : 0;
      ReleaseTower(&child);
      return n;
    }
    default:
      return ResolvePayload(e);
  }
}

void RegisterItemHelperWalkHandlers() { WalkHandlers.resolveItemSizes = &ResolveWalked; }

int IsItemComplete(const Tower* item) {
  const std::uint8_t* info = CompletionInfo(item);
  if (!info) return 0;
  return (ReadU32(info, 2) & (ReadU32(info, 6) | kCompletionAlwaysChecked)) == 0;
}

int IsCompletionBit23Clear(const Tower* item) {
  const std::uint8_t* info = CompletionInfo(item);
  return info && !(ReadU32(info, 2) & 0x800000);
}

void SetSymbolsFlag(const Tower* t, int on) { MarkChildren(t, {Type_SymbolInstance, kTypeTextGroup}, on); }
void SetPlanesFlag(const Tower* t, int on) { MarkChildren(t, {Type_Plane}, on); }
void SetDatumsFlag(const Tower* t, int on) { MarkChildren(t, {Type_Datum}, on); }

void ClearHighlightRecursive(const Tower* t) {
  Entity* e = t ? TowerEntity(t) : nullptr;
  if (!e) return;
  e->flags &= static_cast<std::uint16_t>(~kEntityHighlighted);
  Tower* children = GetAllChildrenTower(t);
  while (children && FindNextEntity(children)) ClearHighlightRecursive(children);
  ReleaseTower(&children);
}

const void* GetPadStackInfo(const Tower* t) {
  Entity* e = t ? TowerEntity(t) : nullptr;
  if (!e) return t;
  if (e->typeCode == Type_PadStackInfo) return EntityPayload(e);
  if (e->typeCode == Type_PadStackInstanceHier) {
    Tower* child = NewestChildTower(t, Type_PadStackInfo);
    const void* info = child ? EntityPayload(TowerEntity(child)) : nullptr;
    ReleaseTower(&child);
    return info;
  }
  return t;
}

std::uint8_t* FindPadStackInstanceInfoByXref(const Tower* symbolInstance, std::uint32_t number) {
  Tower* infos = symbolInstance ? GetChildTower(symbolInstance, Type_PadStackInstanceInfo) : nullptr;
  std::uint8_t* found = nullptr;
  while (!found && infos && FindNextEntity(infos)) {
    std::uint8_t* p = PayloadOfAtLeast(TowerEntity(infos), 8);
    if (p && ReadU32(p, 4) == number) found = p;
  }
  ReleaseTower(&infos);
  return found;
}

namespace {
// The NUL-terminated text of a payload, or null when the payload holds no terminator.
const char* PayloadText(Entity* e) {
  if (!e || !e->payloadSize) return nullptr;
  const auto* p = reinterpret_cast<const char*>(EntityPayload(e));
  return std::memchr(p, 0, e->payloadSize) ? p : nullptr;
}
}  // namespace

const char* FindImportedNetName(const Tower* t, const char* padName) {
  Tower* nodes = t && padName ? GetChildTower(t, Type_ImportedNetNodeHier) : nullptr;
  const char* found = nullptr;
  while (!found && nodes && FindNextEntity(nodes)) {
    Tower* pad = NewestChildTower(nodes, Type_ImportedPadName);
    const char* name = pad ? PayloadText(TowerEntity(pad)) : nullptr;
    if (name && std::strcmp(name, padName) == 0) {
      Tower* net = NewestChildTower(nodes, Type_NetName);
      found = net ? PayloadText(TowerEntity(net)) : nullptr;
      ReleaseTower(&net);
    }
    ReleaseTower(&pad);
  }
  ReleaseTower(&nodes);
  return found;
}

int CleanPolygonPoints(pl3::PolygonLayout* polygon) {
  pl3::Point* points = pl3::PolygonPoints(polygon);
  for (;;) {
    std::uint32_t count = polygon->count;
    if (count < 3) return 0;
    std::uint32_t i = 0;
    while (i < count && !pl3::IsCollinearPolygonPoint(polygon, i, count)) ++i;
    if (i == count) break;
    std::memmove(points + i, points + i + 1, (count - i - 1) * sizeof(pl3::Point));
    polygon->count = static_cast<std::uint8_t>(count - 1);
  }
  pl3::TriangulatePolygonRecord(polygon);
  return 1;
}

std::int32_t RemoveInvalidPolygons(const Tower* t) {
  std::int32_t removed = 0;
  std::vector<Entity*> degenerate;  // deleted after the walk, which stands on them
  Tower* children = t ? GetAllChildrenTower(t) : nullptr;
  while (children && FindNextEntity(children)) {
    Entity* e = TowerEntity(children);
    if (IsPolygonGroup(e->typeCode)) {
      removed += RemoveInvalidPolygons(children);
      continue;
    }
    if (e->typeCode != Type_Polygon) continue;
    auto* polygon = reinterpret_cast<pl3::PolygonLayout*>(PayloadOfAtLeast(e, sizeof(pl3::PolygonLayout)));
    if (!polygon) continue;
    // Only the points the stored payload really holds are looked at.
    const std::uint32_t room = (e->payloadSize - sizeof(pl3::PolygonLayout)) / sizeof(pl3::Point);
    if (polygon->count > room) polygon->count = static_cast<std::uint8_t>(room);
    if (!CleanPolygonPoints(polygon)) degenerate.push_back(e);
  }
  ReleaseTower(&children);
  for (Entity* e : degenerate) {
    Tower* gone = EntityToTower(t, e, -1);
    if (gone) DeleteEntity(gone);
    ReleaseTower(&gone);
    ++removed;
  }
  return removed;
}

void LoadPadResistOptions(const Tower* design) {
  const std::uint8_t* word = ChildPayloadOfAtLeast(design, kTypePadResistOptions, 4);
  PadResistOptions = word ? ReadU32(word, 0) : kDefaultPadResistOptions;
}

std::int32_t PurgeUnusedPadStackDefs(const Tower* symbolDefinition) {
  if (!symbolDefinition) return 0;
  // The definitions the pads name, by their stored references (compared, never followed).
  std::vector<std::uint32_t> named;
  Tower* pads = GetChildTower(symbolDefinition, Type_PadStackInstanceHier);
  while (pads && FindNextEntity(pads)) {
    const std::uint8_t* info = ChildPayloadOfAtLeast(pads, Type_PadStackInfo, 12);
    if (info) named.push_back(ReadU32(info, 8));
  }
  ReleaseTower(&pads);
  std::vector<Entity*> unused;
  Tower* stacks = GetChildTower(symbolDefinition, Type_PadStackDefinition);
  while (stacks && FindNextEntity(stacks)) {
    const std::uint32_t ref = NodeRefOf(TowerEntity(stacks));
    if (std::find(named.begin(), named.end(), ref) == named.end()) unused.push_back(TowerEntity(stacks));
  }
  ReleaseTower(&stacks);
  for (Entity* e : unused) {
    Tower* gone = EntityToTower(symbolDefinition, e, -1);
    if (gone) DeleteEntity(gone);
    ReleaseTower(&gone);
  }
  return static_cast<std::int32_t>(unused.size());
}
