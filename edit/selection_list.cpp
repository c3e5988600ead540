// The selection list: records in and out, ownership of what they hold, and
// the small queries over the primary records.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "draw/display_list_seams.h"
#include "edit/payload_sizes.h"
#include "edit/selection.h"
#include "edit/selection_services.h"
#include "edit/window_data.h"
#include "objects/display_list_seams.h"
#include "objects/engine_item_seams.h"
#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "objects/group_texts.h"
#include "objects/net_ids.h"
#include "objects/selection_seams.h"
#include "objects/size_table.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "store/tower.h"
#include "store/tower_queries.h"

namespace {

bool IsPrimary(const SelectionInfo* s) { return (s->flags & kSelectionPrimary) != 0; }

void DeleteHeld(Tower** t) {
  if (!*t) return;
  if (TowerEntity(*t)) DeleteEntity(*t);
  ReleaseTower(t);
}

}  // namespace

int IsSymbolCopyable(const Tower* instance) {
  return (GetInstanceDefinitionFlag(instance) & 1) || IsManualPlacementState() ? 1 : 0;
}

bool IsTrackLikeType(std::uint16_t type) {
  switch (type) {
    case Type_Track: case Type_ThermalBreak: case Type_RoutedLine: case Type_StarEarthTrack:
    case Type_BoardOutlineLine: case Type_PlatedSlot: case Type_NonPlatedSlot:
      return true;
    default:
      return false;
  }
}

std::uint16_t SelectionItemType(const SelectionInfo* s) {
  const Entity* e = TowerEntity(s->workingCopy);
  if (!e) e = TowerEntity(s->original);
  return e ? e->typeCode : 0;
}

SelectionInfo* NewSelectionInfo(SelectionInfo** list) {
  auto* s = static_cast<SelectionInfo*>(std::calloc(1, sizeof(SelectionInfo)));
  if (!s) return nullptr;
  s->next = *list;
  if (*list) (*list)->prev = s;
  *list = s;
  return s;
}

SelectionInfo* AppendSecondarySelection(const Tower* item, SelectionInfo** list, std::uint16_t part, std::int32_t x,
                                        std::int32_t y) {
  SelectionInfo* const head = *list;
  SelectionInfo* s = AddGraphicToSelection(list, item, part, &pl3::kIdentityTransform, x, y);
  // An item selected already keeps its record where and what it is.
  if (!s || *list == head) return s;
  s->flags &= static_cast<std::uint8_t>(~kSelectionPrimary);
  if (!s->next) return s;
  // Move the new head record to the tail.
  *list = s->next;
  (*list)->prev = nullptr;
  SelectionInfo* tail = *list;
  while (tail->next) tail = tail->next;
  tail->next = s;
  s->prev = tail;
  s->next = nullptr;
  return s;
}

SelectionInfo* RemoveSelectionInfo(SelectionInfo** list, SelectionInfo* s) {
  if (!s) return nullptr;
  SelectionInfo* next = s->next;
  if (s->prev) s->prev->next = next;
  else if (list && *list == s) *list = next;
  if (next) next->prev = s->prev;
  if (Entity* e = TowerEntity(s->original)) e->flags &= static_cast<std::uint16_t>(~kEntitySelected);
  DeleteHeld(&s->original);
  DeleteHeld(&s->workingCopy);
  if (s->flags & kSelectionHasInstanceInfo) {
    FreeInstanceGhost(&s->copyInstanceInfo);
    FreeInstanceGhost(&s->originalInstanceInfo);
  }
  if (s->auxPresent) std::free(s->auxBuffer);
  std::free(s);
  return next;
}

void DeleteSelectionOriginals() {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  for (SelectionInfo* s = w->SelectionList; s; s = s->next) DeleteHeld(&s->original);
}

SelectionInfo* FindSelectionInfo(SelectionInfo* list, const void* payload) {
  for (SelectionInfo* s = list; s; s = s->next) {
    const Tower* t = s->original ? s->original : s->workingCopy;
    if (t && TowerPayload(t) == payload) return s;
  }
  return nullptr;
}

SelectionInfo* FindSelectionInfoOfTower(SelectionInfo* list, const Tower* item) {
  const Entity* e = TowerEntity(item);
  if (!e) return nullptr;
  for (SelectionInfo* s = list; s; s = s->next) {
    const Tower* t = s->original ? s->original : s->workingCopy;
    if (TowerEntity(t) == e) return s;
  }
  return nullptr;
}

SelectionInfo* FindSelectionInfoByNode(SelectionInfo* list, const void* entity) {
  if (!entity) return nullptr;
  for (SelectionInfo* s = list; s; s = s->next)
    if (TowerEntity(s->workingCopy) == entity) return s;
  return nullptr;
}

SelectionInfo* GetFirstPrimarySelection(SelectionInfo* list) {
  for (SelectionInfo* s = list; s; s = s->next)
    if (IsPrimary(s)) return s;
  return nullptr;
}

std::uint16_t GetPrimaryGrabbedPart(const SelectionInfo* list) {
  for (const SelectionInfo* s = list; s; s = s->next)
    if (IsPrimary(s)) return s->grabbedPart;
  return 0;
}

std::int32_t GetSelectionLayer(const SelectionInfo* list) {
  std::int32_t layer = -1;
  for (const SelectionInfo* s = list; s; s = s->next) {
    if (!IsPrimary(s)) continue;
    const std::uint8_t* p = TowerPayload(s->workingCopy);
    if (!p) return -1;
    if (layer != -1 && layer != p[0]) return -1;
    layer = p[0];
  }
  return layer;
}

namespace {
std::uint16_t JoinType(const SelectionInfo* s) {
  const std::uint16_t type = SelectionItemType(s);
  if (type == Type_Hole) {
    const auto* hole = reinterpret_cast<const HolePayload*>(TowerPayload(s->workingCopy));
    if (hole && (hole->hole.flags & kHoleIsVia)) return Type_Via;
  }
  return type;
}
bool Any(const SelectionInfo* list, bool (*test)(const SelectionInfo*)) {
  for (const SelectionInfo* s = list; s; s = s->next)
    if (test(s)) return true;
  return false;
}
}  // namespace

int AreSelectionTypesCompatible(const SelectionInfo* list) {
  for (const SelectionInfo* a = list; a; a = a->next) {
    if (!IsPrimary(a)) continue;
    for (const SelectionInfo* b = a->next; b; b = b->next)
      if (IsPrimary(b) && !AreTypesCompatible(JoinType(a), JoinType(b))) return 0;
  }
  return 1;
}

int HasSecondarySelections(const SelectionInfo* list) {
  return Any(list, [](const SelectionInfo* s) { return !IsPrimary(s); });
}
int SelectionHasInstances(const SelectionInfo* list) {
  return Any(list, [](const SelectionInfo* s) {
    const std::uint16_t t = SelectionItemType(s);
    return t == Type_SymbolInstance || t == Type_PadStackInstanceHier || t == kTypeTextGroup;
  });
}
int SelectionHasDatum(const SelectionInfo* list) {
  return Any(list, [](const SelectionInfo* s) { return SelectionItemType(s) == Type_Datum; });
}
int SelectionHasPl2Symbols(const SelectionInfo* list) {
  return Any(list, [](const SelectionInfo* s) { return SelectionItemType(s) == kTypeTextGroup; });
}
int SelectionHasCentroid(const SelectionInfo* list) {
  return Any(list, [](const SelectionInfo* s) { return SelectionItemType(s) == Type_Centroid; });
}
int SelectionHasUncopyableSymbols(const SelectionInfo* list) {
  return Any(list, [](const SelectionInfo* s) {
    const std::uint16_t t = SelectionItemType(s);
    if (t == kTypeTextGroup) return true;
    return t == Type_SymbolInstance && !IsSymbolCopyable(s->workingCopy);
  });
}

int IsSelectionVia(const SelectionInfo* list) {
  for (const SelectionInfo* s = list; s; s = s->next)
    if (IsPrimary(s)) return JoinType(s) == Type_Via;
  return 0;
}

void ResetArcEndGrabs(SelectionInfo* list) {
  for (SelectionInfo* s = list; s; s = s->next) {
    const std::uint16_t t = SelectionItemType(s);
    const bool arc = t == Type_Arc || t == Type_BoardOutlineArc || t == Type_ThinArc;
    if (arc && (s->grabbedPart == kGrabFirstEnd || s->grabbedPart == kGrabSecondEnd)) s->grabbedPart = kGrabWhole;
  }
}

void ResetSelectionGrab(SelectionInfo* list) {
  for (SelectionInfo* s = list; s; s = s->next)
    if (s->flags & kSelectionPrimary) s->grabbedPart = kGrabWhole;
}

int SelectionHasSymbolLocators(const SelectionInfo* list) {
  return Any(list, [](const SelectionInfo* s) {
    const Tower* original = s->original;
    if (!original || !original->lastLevel || SelectionItemType(s) != Type_AttributeLocator) return false;
    const Entity* parent = LevelEntity(original->levels[original->lastLevel - 1]);
    return parent && parent->typeCode == kTypeSchematicSymbol;
  });
}

std::int32_t GetSelectionSizeIndex(const SelectionInfo* list) {
  const SelectionInfo* first = nullptr;
  std::uint32_t shared = 0;
  bool mixed = false;
  for (const SelectionInfo* s = list; s; s = s->next) {
    if (!IsPrimary(s)) continue;
    const Entity* e = TowerEntity(s->workingCopy ? s->workingCopy : s->original);
    if (!e) continue;
    if (first && !AreTypesCompatible(JoinType(first), JoinType(s))) return kSizeIndexIncompatible;
    if (PayloadSizeKind(EntityPayload(e), e->typeCode) == kNoSizeKind) return kSizeIndexNoSizes;
    std::uint32_t index = 0;
    if (!GetPayloadSizeIndex(EntityPayload(e), e->payloadSize, e->typeCode, &index)) return kSizeIndexNotIndexed;
    if (!first) {
      first = s;
      shared = index;
    } else if (index != shared) {
      mixed = true;  // the later records may still be refused outright
    }
  }
  if (!first || mixed) return kSizeIndexNone;
  return static_cast<std::int32_t>(shared);
}

std::vector<std::uint32_t> CollectSelectionNets(const SelectionInfo* list) {
  std::vector<std::uint32_t> nets;
  for (const SelectionInfo* s = list; s; s = s->next) {
    const Tower* item = s->workingCopy ? s->workingCopy : s->original;
    if (SelectionItemType(s) != Type_SymbolInstance || !item) continue;
    Tower* pads = GetChildTower(item, Type_PadStackInstanceInfo);
    while (pads && FindNextEntity(pads)) {
      const std::uint32_t net = GetEntityNetId(pads, kNetIdFirst);
      if (net && std::find(nets.begin(), nets.end(), net) == nets.end()) nets.push_back(net);
    }
    ReleaseTower(&pads);
  }
  return nets;
}
