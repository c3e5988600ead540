// The clearance distance the design objects ask of the rule checker (drc/),
// which lies above them and defines it.
#pragma once
#include <cstdint>

// The distance from (x, y) to the box (x1, y1)-(x2, y2) taken as two
// triangles: 0 when it is below the threshold for either, else the smaller.
std::uint32_t PointToBoxDistance(std::int32_t x, std::int32_t y, std::uint32_t threshold, std::int32_t x1,
                                 std::int32_t y1, std::int32_t x2, std::int32_t y2);
