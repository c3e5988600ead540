// Steps through the "on" entries of the active window's size lists (the
// entries the chooser offers and the width commands step through), and the
// marking of the entries the design uses.
#pragma once
#include <cstdint>

#include "objects/size_table.h"

struct Tower;

// Within one list of a table (none, or a kind past the lists, counts as an
// empty list):
// the first on entry after `index`, or `index` itself when there is none;
std::uint32_t NextOnSizeIndexIn(const SizeTable* table, std::uint32_t kind, std::uint32_t index);
// the last on entry before `index`, or `index` itself when there is none;
std::uint32_t PreviousOnSizeIndexIn(const SizeTable* table, std::uint32_t kind, std::uint32_t index);
// the first and the last on entry, 0 when there is none.
std::uint32_t FirstOnSizeIndexIn(const SizeTable* table, std::uint32_t kind);
std::uint32_t LastOnSizeIndexIn(const SizeTable* table, std::uint32_t kind);

// The same in the active window's list of an entity type's size kind
// (GetTypeSizeKind). For a type without a kind the index comes back unchanged,
// and the two end searches give 0.
std::uint32_t NextOnSizeIndex(std::uint32_t index, std::uint16_t type);
std::uint32_t PreviousOnSizeIndex(std::uint32_t index, std::uint16_t type);
std::uint32_t FirstOnSizeIndex(std::uint16_t type);
std::uint32_t LastOnSizeIndex(std::uint16_t type);

// Marks the active window's entries that the design under `design` uses
// (flag kSizeEntryInUse): clears every mark, then for a PCB design with a
// routing rule list (13030) marks, for each rule (13036), the Lines entries of
// its 13042 list (count in 13043) and the Vias entries of its 13040 list
// (count in 13041) whose index lies inside the list; then walks the design
// with action 18, which marks every entry an item refers to.
void MarkSizesInUse(const Tower* design);
