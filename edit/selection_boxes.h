// The box helpers the selection's own files share (edit/selection_box.cpp).
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;

// The empty box a selection's union starts from.
inline constexpr pl3::Box kSelectionEmptyBox = {0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
inline bool IsEmptySelectionBox(const pl3::Box& b) { return b.xmin > b.xmax || b.ymin > b.ymax; }
// Widens `into` by `other` (an empty `other` changes nothing).
void UnionSelectionBox(pl3::Box* into, const pl3::Box& other);
// A new heap box (std::free) holding the empty box.
pl3::Box* NewSelectionBox();
// The box of one item as the selection takes it (arcs: their whole circle).
int SelectionItemBox(const Tower* item, pl3::Box* box);
