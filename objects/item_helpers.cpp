#include "objects/item_helpers.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

#include "edit/window_data.h"
#include "geometry/length_units.h"
#include "geometry/pot2.h"
#include "objects/design_helpers.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/item_helper_seams.h"
#include "objects/group_texts.h"
#include "objects/payload_access.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"

std::uint32_t PadResistOptions = kDefaultPadResistOptions;

namespace {

void ResetPadResistOptions() { PadResistOptions = kDefaultPadResistOptions; }
const bool g_registered = pl3::RegisterGlobalReset(&ResetPadResistOptions);

constexpr std::uint16_t kTypePadResistOptions = 10406;
constexpr std::uint16_t kTypeSchematicGroup = 25;
constexpr std::uint32_t kTextJustificationOffset = 72;
constexpr std::uint32_t kDimensionerJustificationOffset = 100;
constexpr std::uint32_t kCompletionInfoSize = sizeof(CompletionInfoRecord);

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

void ClearHighlightRecursive(const Tower* t) { ClearSubTreeStateBits(t, kEntityHighlighted); }

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

pl3::Point GetNearerSpiralEnd(std::int32_t x, std::int32_t y, const SpiralPayload* spiral) {
  pl3::Point start = spiral->start;
  pl3::Point end = spiral->end;
  if (spiral->mirrored == 1) {
    const std::int64_t twice = 2 * static_cast<std::int64_t>(spiral->centre.x);
    start.x = static_cast<std::int32_t>(twice - start.x);
    end.x = static_cast<std::int32_t>(twice - end.x);
  }
  const auto squared = [&](pl3::Point p) {
    const double dx = static_cast<double>(p.x) - x;
    const double dy = static_cast<double>(p.y) - y;
    return dx * dx + dy * dy;
  };
  return squared(end) < squared(start) ? end : start;
}

void EnterEditSelectionMode(void* view) {
  if (ActiveWindowData) ActiveWindowData->EditMode = kEditModeEditSelection;
  SetSelectionAndOptionsMenus(0);
  InvalidateRect(static_cast<HWND>(view), nullptr, TRUE);
}

namespace {

struct PointQuery {
  pl3::Point at;
};

int IsViaItemAt(const DisplayItemView& item, void* context) {
  const pl3::Point at = static_cast<const PointQuery*>(context)->at;
  return item.kind == Type_Via && item.centre.x == at.x && item.centre.y == at.y;
}

bool IsDesignViaAt(const Tower* design, std::int32_t x, std::int32_t y) {
  Tower* holes = design ? GetChildTower(design, Type_Hole) : nullptr;
  bool found = false;
  while (!found && holes && FindNextEntity(holes)) {
    const std::uint8_t* p = PayloadOfAtLeast(TowerEntity(holes), offsetof(HolePayload, word68));
    found = p && (p[49] & kHoleIsVia) && ReadI32(p, 60) == x && ReadI32(p, 64) == y;
  }
  ReleaseTower(&holes);
  return found;
}

// Grows a box to take in another, comparing as unsigned values, so the empty
// box is neutral.
void UniteBoxes(pl3::Box* box, const pl3::Box& other) {
  const auto below = [](std::int32_t a, std::int32_t b) { return static_cast<std::uint32_t>(a) < static_cast<std::uint32_t>(b); };
  if (below(other.xmin, box->xmin)) box->xmin = other.xmin;
  if (below(other.ymin, box->ymin)) box->ymin = other.ymin;
  if (below(box->xmax, other.xmax)) box->xmax = other.xmax;
  if (below(box->ymax, other.ymax)) box->ymax = other.ymax;
}

struct SymbolBoxQuery {
  const Entity* symbol;
  pl3::Box* box;
  bool found;
};

int UniteSymbolItemBox(const DisplayItemView& item, void* context) {
  auto* query = static_cast<SymbolBoxQuery*>(context);
  if (item.excluded || !item.owner || TowerEntity(item.owner) != query->symbol) return 0;
  if (query->found) {
    UniteBoxes(query->box, item.box);
  } else {
    *query->box = item.box;
    query->found = true;
  }
  return 0;
}

const char* const kViaMenuUnitNames[] = {"Thou", "Inch", "mm", "cm"};

// A stored half size doubled and shown in the unit: up to three decimals,
// trailing zeros and a trailing point dropped.
std::string ViaSizeInUnit(std::int32_t half, std::uint8_t unit) {
  const double value = 2.0 * static_cast<double>(half) / static_cast<double>(pl3::WorldUnitsPerUnit[unit]);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3f", value);
  std::string text = buffer;
  text.erase(text.find_last_not_of('0') + 1);
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  return text;
}

}  // namespace

int ViaExistsAt(std::int32_t x, std::int32_t y) {
  const CurrentWindowData* window = ActiveWindowData;
  if (!window) return 0;
  if (IsDesignViaAt(window->design, x, y)) return 1;
  PointQuery query{{x, y}};
  return window->editorKind == kEditorPcb && VisitDisplayItems(&IsViaItemAt, &query) ? 1 : 0;
}

std::string ViaSizeMenuText(const SizeEntry& entry) {
  // A unit outside the table (a damaged size list) is shown as thou.
  const std::uint8_t unit = entry.unit < 4 ? entry.unit : 0;
  const char* unitName = kViaMenuUnitNames[unit];
  const std::string hole = ViaSizeInUnit(entry.value1, unit);
  const std::string land = ViaSizeInUnit(entry.value2, unit);
  const std::size_t nameLength = strnlen(entry.name, sizeof entry.name);
  const std::string name(entry.name, nameLength);
  std::vector<char> text(name.size() + hole.size() + land.size() + 64);
  if (name.empty()) {
    std::snprintf(text.data(), text.size(), "%s %s hole %s %s land", hole.c_str(), unitName, land.c_str(), unitName);
  } else {
    std::snprintf(text.data(), text.size(), "%s (%s %s hole %s %s land)", name.c_str(), hole.c_str(), unitName,
                  land.c_str(), unitName);
  }
  return text.data();
}

int PickViaSizeMenu(std::uint32_t* index) {
  const SizeTable* table = ActiveWindowData ? ActiveWindowData->sizeTable : nullptr;
  if (!table || !index) return 0;
  const SizeList& vias = (*table)[SizeKind_Vias];
  HMENU menu = CreatePopupMenu();
  if (!menu) return 0;
  for (std::uint32_t i = 0; i < vias.count(); ++i) {
    if (!(vias.entries[i].flags & kSizeEntryOn)) continue;
    AppendMenuA(menu, MF_STRING, kFirstViaSizeMenuId + i, ViaSizeMenuText(vias.entries[i]).c_str());
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  const UINT chosen = static_cast<UINT>(TrackOwnerDrawnPopupMenu(menu, TPM_RETURNCMD, cursor.x, cursor.y, FrameWindow));
  DestroyOwnerDrawnMenu(menu);
  if (chosen < kFirstViaSizeMenuId || chosen - kFirstViaSizeMenuId >= vias.count()) return 0;
  *index = chosen - kFirstViaSizeMenuId;
  return 1;
}

int GetSymbolDisplayListBox(const Tower* symbolInstance, pl3::Box* box) {
  const Entity* symbol = TowerEntity(symbolInstance);
  if (!symbol || !box) return 0;
  SymbolBoxQuery query{symbol, box, false};
  VisitDisplayItems(&UniteSymbolItemBox, &query);
  return query.found ? 1 : 0;
}
