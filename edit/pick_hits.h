// The hit list of a pick (the objects found under the cursor), the thinning
// of connected runs before the choice menu, the choice menu itself, and the
// filter of rectangle selection that dialog 1134 "Choose Items For
// Selection" fills.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/win_types.h"

struct Tower;

// One found object; the entry owns its Tower.
struct HitEntry {
  Tower* item;
  HitEntry* next;
};

// The first command id of a choice menu; line i of the menu has id 2050 + i.
constexpr UINT kPickChoiceFirstId = 2050;

// Appends an entry holding a copy of the Tower; returns the list's head.
HitEntry* AppendHit(HitEntry* list, const Tower* item);
// Releases every entry's Tower and frees the entries; returns null.
HitEntry* FreeHitList(HitEntry* list);
// Clears the found mark (the area pick's "already listed" bit) of every node
// under the Tower, so that a mark left in a design, or stored with it in a
// file, never hides an object from a pick.
void ClearFoundFlags(const Tower* tower);
int CountHits(const HitEntry* list);
// Drops every track (1), then wire (28) and bus (29) hit that is connected to
// an earlier hit of its type (a shared end, or a via of the list on an end of
// either), so that one connected run is offered once. Returns the head.
HitEntry* RemoveDuplicateHits(HitEntry* list);
// A popup whose line i is the description of hit i with id 2050 + i (a hit
// without a description keeps its id but gets no line). The caller destroys it.
HMENU BuildPickChoiceMenu(const HitEntry* list);
// Hit `index` of the list, or null.
const Tower* HitAt(const HitEntry* list, int index);

// The choice of dialog 1134: the type codes (7 holes without the via flag,
// 17 holes with it) and the layers of the items to take.
struct SelectionFilter {
  std::vector<std::uint16_t> types;
  std::vector<std::uint8_t> layers;
  bool accepted = false;
};
extern SelectionFilter CurrentSelectionFilter;

// 1 when the item passes the filter: its type is listed and, for the
// graphic types and symbol instances, its first layer too.
int PassesSelectionFilter(const SelectionFilter& filter, const Tower* item);
