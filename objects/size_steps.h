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
// (flag kSizeEntryInUse): clears every mark, marks each entry a stored index
// names that the re-indexing after an edit would follow (items, designator
// info, and for a PCB the Lines list 13042 and the Vias list 13040 of each
// routing rule, only indices inside their lists), then walks the design with
// action 18, which marks what the walk's own handlers find.
void MarkSizesInUse(const Tower* design);
