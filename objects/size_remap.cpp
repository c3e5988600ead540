#include "objects/size_remap.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "edit/window_data.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

// The new position of an entry that moved, or the index itself.
std::uint32_t MovedIndex(const SizeRemap& remap, std::uint32_t kind, std::uint32_t index, bool& found) {
  const auto& moves = remap.moves[kind];
  auto it = std::lower_bound(moves.begin(), moves.end(), index,
                             [](const std::pair<std::uint32_t, std::uint32_t>& m, std::uint32_t v) {
                               return m.first < v;
                             });
  found = it != moves.end() && it->first == index;
  return found ? it->second : index;
}

std::uint32_t LoadU32(const std::uint8_t* p, std::size_t offset) {
  std::uint32_t v;
  std::memcpy(&v, p + offset, sizeof v);
  return v;
}
void StoreU32(std::uint8_t* p, std::size_t offset, std::uint32_t v) { std::memcpy(p + offset, &v, sizeof v); }

void RemapStoredIndex(std::uint8_t* payload, std::size_t offset, const SizeRemap& remap, std::uint32_t kind) {
  StoreU32(payload, offset, RemapItemSizeIndex(remap, kind, LoadU32(payload, offset)));
}

// The payload and its byte size of the first child of a code, or null.
std::uint8_t* ChildRecord(const Tower* parent, std::uint16_t code, std::uint32_t& size) {
  Tower* child = GetChildTower(parent, code);
  Entity* e = child ? FindNextEntity(child) : nullptr;
  ReleaseTower(&child);
  size = e ? e->payloadSize : 0;
  return e ? EntityPayload(e) : nullptr;
}

// One index list of a rule: the list record's payload, with `count` set to
// the count record's number cut to what the list record holds; null (count 0)
// when either record is missing.
std::uint8_t* RuleIndexList(const Tower* rule, std::uint16_t listCode, std::uint16_t countCode, std::uint32_t& count) {
  std::uint32_t listSize = 0, countSize = 0;
  std::uint8_t* list = ChildRecord(rule, listCode, listSize);
  const std::uint8_t* countRecord = ChildRecord(rule, countCode, countSize);
  count = 0;
  if (!list || !countRecord || countSize < 4) return nullptr;
  count = std::min(LoadU32(countRecord, 0), listSize / 4);
  return list;
}

// Each stored size index under a node that an edit of the size lists moves:
// the items with an indexed size (by their size kind), designator info (233,
// in Fonts) and the index lists of a PCB's routing rules; symbols (106),
// schematic symbols (30), designators (128) and designator data (234) are
// entered. Calls visit(kind, index field) for each.
template <typename Visit>
void VisitRuleList(const Tower* rule, std::uint16_t listCode, std::uint16_t countCode, std::uint32_t kind,
                   Visit& visit) {
  std::uint32_t n = 0;
  std::uint8_t* list = RuleIndexList(rule, listCode, countCode, n);
  for (std::uint32_t i = 0; list && i < n; ++i) visit(kind, list + 4 * i);
}

template <typename Visit>
void VisitSizeIndices(const Tower* node, Visit& visit) {
  if (!node) return;
  Tower* child = GetAllChildrenTower(node);
  while (child) {
    Entity* e = FindNextEntity(child);
    if (!e) break;
    std::uint8_t* payload = EntityPayload(e);
    switch (e->typeCode) {
      case 30:
      case Type_SymbolInstance:
      case Type_Designator:
      case Type_DesignatorData:
        VisitSizeIndices(child, visit);
        break;
      case Type_DesignatorInfo: {
        // u16 flags at 0, index at 4.
        std::uint16_t flags = 0;
        if (e->payloadSize >= 8) std::memcpy(&flags, payload, sizeof flags);
        if (flags & kSizeByIndex) visit(SizeKind_Fonts, payload + 4);
        break;
      }
      case kTypeRoutingRules: {
        Tower* rule = GetChildTower(child, kTypeRoutingRule);
        while (rule && FindNextEntity(rule)) {
          VisitRuleList(rule, kTypeRuleLineIndices, kTypeRuleLineCount, SizeKind_Lines, visit);
          VisitRuleList(rule, kTypeRuleViaIndices, kTypeRuleViaCount, SizeKind_Vias, visit);
        }
        ReleaseTower(&rule);
        break;
      }
      default: {
        // The via flag of a hole lies at byte 49; a record too short to hold
        // it is read as a plain hole rather than past its end.
        const bool holdsHoleFlags = e->payloadSize >= offsetof(pl3::HoleLayout, flags) + 1;
        const std::uint32_t kind = e->payloadSize < sizeof(GraphicHead) ? kNoSizeKind
                                   : holdsHoleFlags                     ? GetEntitySizeKind(e->typeCode, payload)
                                                                        : GetTypeSizeKind(e->typeCode);
        if (kind == kNoSizeKind) {
          SkipToNextType(child);  // nothing of this code has a size
          break;
        }
        const GraphicHead& head = *reinterpret_cast<const GraphicHead*>(payload);
        if (head.sizeFlags & kSizeByIndex) visit(kind, payload + offsetof(GraphicHead, sizeIndex));
        break;
      }
    }
  }
  ReleaseTower(&child);
}

// The same over a design: every page of a schematic, else the design itself.
template <typename Visit>
void VisitDesignSizeIndices(const Tower* design, Visit& visit) {
  if (!design) return;
  if (design->levels[design->lastLevel].typeCode != Type_Schematic) {
    VisitSizeIndices(design, visit);
    return;
  }
  Tower* page = GetChildTower(design, Type_Page);
  while (page && FindNextEntity(page)) VisitSizeIndices(page, visit);
  ReleaseTower(&page);
}

}  // namespace

bool SizeRemap::empty() const {
  for (const auto& m : moves)
    if (!m.empty()) return false;
  return true;
}

SizeRemap BuildSizeRemap(const SizeTable& edited) {
  SizeRemap remap;
  for (std::uint32_t kind = 0; kind < kSizeKindCount; ++kind) {
    const SizeList& list = edited[kind];
    remap.newCounts[kind] = list.count();
    for (std::uint32_t pos = 0; pos < list.count(); ++pos) {
      const std::uint32_t old = list.entries[pos].index;
      if (old != kNewSizeEntry && old != pos) remap.moves[kind].push_back({old, pos});
    }
    std::sort(remap.moves[kind].begin(), remap.moves[kind].end());
  }
  return remap;
}

std::uint32_t RemapItemSizeIndex(const SizeRemap& remap, std::uint32_t kind, std::uint32_t index) {
  bool found = false;
  std::uint32_t moved = MovedIndex(remap, kind, index, found);
  const std::uint32_t count = remap.newCounts[kind];
  if (moved >= count) moved = count == 0 ? 0 : count - 1;
  return moved;
}

std::uint32_t RemapSettingSizeIndex(const SizeRemap& remap, std::uint32_t kind, std::uint32_t index) {
  bool found = false;
  const std::uint32_t moved = MovedIndex(remap, kind, index, found);
  if (!found && moved >= remap.newCounts[kind]) return 0;
  return moved;
}

void RemapSizeIndices(const Tower* node, const SizeRemap& remap) {
  auto remapIndex = [&remap](std::uint32_t kind, std::uint8_t* index) { RemapStoredIndex(index, 0, remap, kind); };
  VisitSizeIndices(node, remapIndex);
}

void MarkIndexedSizesInUse(const Tower* design) {
  auto mark = [](std::uint32_t kind, std::uint8_t* index) { MarkActiveSizeEntry(kind, LoadU32(index, 0), false); };
  VisitDesignSizeIndices(design, mark);
}

void ApplyEditedSizeTable(CurrentWindowData& window, const SizeTable& edited, const SizeIndexSettings& settings) {
  const SizeRemap remap = BuildSizeRemap(edited);
  auto table = CopySizeTable(edited);
  if (!remap.empty()) {
    auto remapIndex = [&remap](std::uint32_t kind, std::uint8_t* index) { RemapStoredIndex(index, 0, remap, kind); };
    VisitDesignSizeIndices(window.design, remapIndex);
  }
  // The defaults and settings are re-indexed even when no entry moved: an
  // edit that only removed entries from the end of a list must not leave a
  // default pointing past it.
  for (std::uint32_t kind = 0; kind < kSizeKindCount; ++kind)
    (*table)[kind].defaultIndex = RemapSettingSizeIndex(remap, kind, (*table)[kind].defaultIndex);
  if (window.editorKind == kEditorPcb)
    window.CurrentViaSize = RemapSettingSizeIndex(remap, SizeKind_Vias, window.CurrentViaSize);
  if (settings.fontDefaults)
    for (int i = 0; i < 6; ++i)
      settings.fontDefaults[i] = RemapSettingSizeIndex(remap, SizeKind_Fonts, settings.fontDefaults[i]);
  if (settings.lineDefaults)
    for (int i = 0; i < 2; ++i)
      settings.lineDefaults[i] = RemapSettingSizeIndex(remap, SizeKind_Lines, settings.lineDefaults[i]);
  if (window.editorKind == kEditorPcbSymbol && settings.pinNumberFont &&
      *settings.pinNumberFont >= (*table)[SizeKind_Fonts].count())
    *settings.pinNumberFont = 0;
  for (SizeList& list : table->lists)
    for (std::uint32_t pos = 0; pos < list.count(); ++pos) list.entries[pos].index = pos;
  window.sizeTable = FreeSizeTable(window.sizeTable);
  window.sizeTable = table.release();
}
