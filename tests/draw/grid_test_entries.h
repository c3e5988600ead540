// Grids and grid sets for tests.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "objects/grid_sets.h"

namespace gridtest {

// A cartesian grid of the same step on both axes (display every point, 10
// pixels apart at least, one in 10 when closer).
inline GridEntry Cartesian(std::uint32_t unit, std::uint32_t numerator, std::uint32_t denominator, std::uint8_t key = 0) {
  GridEntry e{};
  e.unit = unit;
  e.keyStroke = key;
  e.kind = kGridCartesian;
  e.x = {numerator, denominator, 1, 10, 10};
  e.y = e.x;
  return e;
}

inline GridEntry Polar(std::uint32_t unit, double ringSpacing, std::uint32_t style, double angleValue,
                       std::uint8_t key = 0) {
  GridEntry e{};
  e.unit = unit;
  e.keyStroke = key;
  e.kind = kGridPolar;
  e.ringSpacing = ringSpacing;
  e.angleStyle = style;
  e.polarWord = 1;
  e.angleValue = angleValue;
  return e;
}

// A new set (std::malloc'd) of the entries, its current grid a copy of entry
// `current`, its second word 0.
inline GridSet* MakeSet(const std::vector<GridEntry>& entries, std::size_t current, std::uint16_t flags = 3) {
  GridSet* set = static_cast<GridSet*>(std::calloc(1, GetGridSetSizeForCount(0)));
  for (const GridEntry& e : entries) {
    GridSet* grown = AppendGridEntry(set, e);
    std::free(set);
    set = grown;
  }
  set->flags = flags;
  if (current < entries.size()) set->current = entries[current];
  return set;
}

inline bool SameEntry(const GridEntry& a, const GridEntry& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace gridtest
