// The program's options of the box search (edit/item_search_box.cpp), read
// by its hit-test mode 2: whether planes are hit, whether plane cutouts and
// linked cuts are (1), and whether datums are. Each is on at start.
#pragma once
#include <cstdint>

extern std::uint32_t BoxWalkPlaneHitOption;
extern std::uint32_t BoxWalkCutOption;
extern std::uint32_t BoxWalkDatumOption;
