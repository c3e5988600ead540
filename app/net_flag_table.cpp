// The frame's fill of the walker's per-type table (objects/frame_seams.h),
// in a file of its own: the hit tests of the design objects use it without
// bringing in the drawing walks of app/walk_tables.cpp.
#include <algorithm>
#include <iterator>

#include "objects/frame_seams.h"
#include "objects/walker.h"

// The table is indexed by type code; every word of it is filled, and nothing
// past it.
void FillNetFlagTable(std::uint16_t value) { std::fill(std::begin(WalkTypeFlags), std::end(WalkTypeFlags), value); }

// Words 1 to 100: the graphic and item type codes, without the null entry.
void FillTypeAttributeTable(std::uint16_t value) {
  std::fill(std::begin(WalkTypeFlags) + 1, std::begin(WalkTypeFlags) + 101, value);
}
