// The real size of an item whose size is indexed: the value of its entry in
// the size list that its type reads.
#pragma once
#include <cstdint>

#include "objects/size_table.h"

// The size for an entity type from a table (none counts as empty lists):
//   types 1, 2, 10, 19, 37 read Lines; 3 Circles; 5 Fonts; 6 Rectangles;
//   7, 46, 47 Holes; 17 Vias; 38 and 39 give 1 without a look-up.
// Rectangles and Vias give the second value when `second` is non-zero, the
// others always the first. An index past the end shows "ReturnRealSize out
// of range [type,index]" (caption "Error") and uses the last entry; an empty
// list shows the same and gives 0. Any other type shows "Internal Error -
// Invalid type for size request" (caption "ReturnRealSize") and gives 0.
std::int32_t ReturnRealSizeIn(const SizeTable* table, std::uint16_t type, std::uint32_t index,
                              std::uint32_t second = 0);

// The same from the active window's size table.
std::int32_t ReturnRealSize(std::uint16_t type, std::uint32_t index, std::uint32_t second = 0);
