// The box search of the editing engine's picking code, which draws every
// item that meets a world box by walking the design; until it lands the
// program links app/item_search_seams_pending.cpp (one plain walk).
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;

// Walks the design over the world box; mode 0 or 1 draws (walk action 0),
// 2 uses action 24, 3 action 6 and 4 action 37.
void FindItemsInBox(const pl3::Box* box, const Tower* design, const pl3::Transform* transform, std::uint32_t mode);
