// Picking one design item at a clicked point: the item nearest to the point,
// repeated picks stepping through overlapping items, and a pop-up menu that
// lets the user choose among the candidates of the last area pick.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "geometry/types.h"
#include "platform/win_types.h"

struct Tower;
struct CurrentWindowData;

// The first command id of the overlap menu; entry i of the candidate list
// has id 2050 + i.
constexpr std::uint32_t kOverlapMenuFirstId = 2050;

// A new Tower on the item of the active window's design nearest to the world
// point within the pick aperture, or null. A pick after the window's previous
// pick looks after that item first, so that picks at one point step through
// overlapping items; a successful pick replaces the previous pick. With
// keepFilter 0 the walk also sets filter bit 0x100. The caller releases the result.
Tower* PickClosestItem(std::int32_t x, std::int32_t y, int keepFilter);
// The same search for the closest symbol instance (106), schematic symbol (30)
// or earlier-generation symbol (163), with walk filter bit 26 set and, with
// includeSelected 0, bit 8; successive calls at one point step through
// overlapping symbols. The caller releases the result.
Tower* FindClosestSymbol(std::int32_t x, std::int32_t y, std::uint8_t includeSelected);

// The search of FindClosestSymbol over the given type codes alone: the item
// of those codes nearest the world point within the aperture, the window's
// previous pick walked first and replaced by a hit; the walk filter and
// ghost flags come back. FindClosestTrack asks for tracks (1).
Tower* FindClosestOfCodes(std::int32_t x, std::int32_t y, std::uint8_t includeSelected,
                          std::initializer_list<std::uint16_t> codes);

// The nearest-hit state of the raster kernel around a world point of the
// active window: the pick box (the point +/- aperture x Zoom, rounded from
// doubles), the hit point in view pixels and the squared aperture. The caller
// fills the walk's type table and draws; the end restores the span target and
// returns a new Tower on the best hit, or null.
struct NearestHitSearch {
  pl3::Box box{};
  std::uint8_t savedTarget = 0;
};
NearestHitSearch BeginNearestHitSearch(std::int32_t x, std::int32_t y);
Tower* EndNearestHitSearch(const NearestHitSearch& search);
// The walk of PickClosestItem and FindClosestSymbol: the window's previous
// pick leads when it still stands, else it is dropped; a hit replaces it.
Tower* WalkFromPreviousPick(CurrentWindowData* w, const NearestHitSearch& search);
// Offers the candidates of the last area pick in a pop-up menu at the mouse,
// each with its description (a candidate without one is left out but keeps
// its id). A new Tower on the chosen candidate, or null when none was chosen.
Tower* ChooseOverlappingItem(HWND owner);
