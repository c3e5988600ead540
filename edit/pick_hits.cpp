#include "edit/pick_hits.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "draw/raster_callbacks.h"
#include "geometry/graphic_layouts.h"
#include "objects/graphic_records.h"
#include "objects/item_layers.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "platform/menus.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

SelectionFilter CurrentSelectionFilter;

namespace {

constexpr std::uint16_t kTypePl2Symbol = 163;

void ResetSelectionFilter() { CurrentSelectionFilter = SelectionFilter{}; }
const bool gFilterResetRegistered = pl3::RegisterGlobalReset(&ResetSelectionFilter);

struct Ends {
  std::int32_t x1, y1, x2, y2;
};

bool ReadEnds(const Tower* item, Ends* ends) {
  const Entity* e = TowerEntity(item);
  if (!e || e->payloadSize < sizeof(pl3::TrackLayout)) return false;
  std::memcpy(ends, EntityPayload(e) + offsetof(pl3::TrackLayout, x1), sizeof *ends);
  return true;
}

bool IsVia(const Tower* item, pl3::Point* centre) {
  const Entity* e = TowerEntity(item);
  if (!e || e->typeCode != Type_Hole || e->payloadSize < sizeof(pl3::HoleLayout)) return false;
  pl3::HoleLayout h;
  std::memcpy(&h, EntityPayload(e), sizeof h);
  *centre = {h.centreX, h.centreY};
  return (h.flags & kHoleIsVia) != 0;
}

bool OnEnd(const pl3::Point& p, const Ends& e) {
  return (p.x == e.x1 && p.y == e.y1) || (p.x == e.x2 && p.y == e.y2);
}

// A via of the list stands on an end of the line.
bool IsHitOnItem(const HitEntry* list, const Ends& line) {
  for (const HitEntry* h = list; h; h = h->next) {
    pl3::Point centre{};
    if (IsVia(h->item, &centre) && OnEnd(centre, line)) return true;
  }
  return false;
}

// The two lines are one connected run: a shared end, or a via of the list on
// an end of either.
bool SameHitItem(const HitEntry* list, const Ends& a, const Ends& b) {
  if (OnEnd({a.x1, a.y1}, b) || OnEnd({a.x2, a.y2}, b)) return true;
  return IsHitOnItem(list, a) || IsHitOnItem(list, b);
}

HitEntry* DropConnected(HitEntry* list, std::uint16_t code) {
  for (HitEntry* earlier = list; earlier; earlier = earlier->next) {
    Ends first{};
    if (TowerEntity(earlier->item)->typeCode != code || !ReadEnds(earlier->item, &first)) continue;
    for (HitEntry** link = &earlier->next; *link;) {
      HitEntry* later = *link;
      Ends second{};
      if (TowerEntity(later->item)->typeCode == code && ReadEnds(later->item, &second) &&
          SameHitItem(list, first, second)) {
        *link = later->next;
        ReleaseTower(&later->item);
        delete later;
        continue;
      }
      link = &later->next;
    }
  }
  return list;
}

bool Listed(const std::vector<std::uint16_t>& types, std::uint16_t code) {
  return std::find(types.begin(), types.end(), code) != types.end();
}

bool LayerListed(const SelectionFilter& filter, const Tower* item) {
  const int layer = GetFirstLayer(item, 0);
  return layer >= 0 && std::find(filter.layers.begin(), filter.layers.end(), layer) != filter.layers.end();
}

}  // namespace

HitEntry* AppendHit(HitEntry* list, const Tower* item) {
  HitEntry** link = &list;
  while (*link) link = &(*link)->next;
  *link = new HitEntry{DuplicateTower(item), nullptr};
  return list;
}

HitEntry* FreeHitList(HitEntry* list) {
  while (list) {
    HitEntry* next = list->next;
    ReleaseTower(&list->item);
    delete list;
    list = next;
  }
  return nullptr;
}

void ClearFoundFlags(const Tower* tower) { ClearSubTreeStateBits(tower, pl3::kEntityPicked); }

int CountHits(const HitEntry* list) {
  int n = 0;
  for (; list; list = list->next) ++n;
  return n;
}

const Tower* HitAt(const HitEntry* list, int index) {
  for (; list && index > 0; list = list->next) --index;
  return list && index == 0 ? list->item : nullptr;
}

HitEntry* RemoveDuplicateHits(HitEntry* list) {
  for (std::uint16_t code : {Type_Track, Type_Wire, Type_Bus}) list = DropConnected(list, code);
  return list;
}

HMENU BuildPickChoiceMenu(const HitEntry* list) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  UINT id = kPickChoiceFirstId;
  for (const HitEntry* h = list; h; h = h->next, ++id) {
    char* text = DescribeObject(h->item);
    if (!text) continue;
    AppendMenuA(menu, MF_STRING, id, text);
    std::free(text);
  }
  return menu;
}

int PassesSelectionFilter(const SelectionFilter& filter, const Tower* item) {
  const Entity* e = TowerEntity(item);
  if (!e || filter.types.empty()) return 0;
  std::uint16_t code = e->typeCode;
  pl3::Point centre{};
  if (code == Type_Hole && IsVia(item, &centre)) code = Type_Via;
  if (!Listed(filter.types, code)) return 0;
  switch (e->typeCode) {
    case Type_Track: case Type_Arc: case Type_Circle: case Type_Polygon: case Type_Text: case Type_Rectangle:
    case Type_Plane: case Type_PlaneCutout: case Type_ThermalBreak: case Type_Spiral: case Type_LinkedCut:
    case Type_StarEarthTrack: case Type_SymbolInstance:
      return LayerListed(filter, item) ? 1 : 0;
    case Type_Hole: case Type_Datum: case kTypePl2Symbol:
      return 1;
    default:
      return 0;
  }
}
