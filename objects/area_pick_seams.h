// The entities the raster kernel's last area pick (span target 4) found, as
// the design objects read them. The drawing code keeps the list
// (draw/raster_callbacks.h) and defines this in draw/pick_candidates.cpp.
#pragma once
#include <cstdint>

struct Tower;

// The Tower of entry `index` of the pick list, in list order (the list owns
// it), or null past the end.
const Tower* AreaPickCandidate(std::uint32_t index);
