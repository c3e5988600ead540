// The symbol search of the picking code, which the engine's symbol commands
// call. Its owner defines it; until it lands the program links the stand-in
// of app/symbol_search_seams_pending.cpp (no symbol is ever found) and tests
// link fakes.
#pragma once
#include <cstdint>

struct Tower;

// A new Tower on the closest symbol instance (106), schematic symbol (30) or
// earlier-generation symbol (163) within the pick aperture of the world
// point, or null; selected symbols count only with includeSelected set.
// Successive calls at one point step through overlapping symbols. The
// caller releases the result.
Tower* FindClosestSymbol(std::int32_t x, std::int32_t y, std::uint8_t includeSelected);
