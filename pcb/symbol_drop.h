// A PCB symbol item dropped from the project tree onto a PCB window: placed
// symbols under the drop point take the item as their new definition, an
// empty spot starts placing it.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct CurrentWindowData;
struct PcbSymbolDrop;
struct Tower;

// The drop point in world units: (pixel + view origin) x zoom, rounded.
pl3::Point DropPointToWorld(const CurrentWindowData& block, std::int32_t x, std::int32_t y);
// WM_USER + 3: 0 on the paths that end early (the window procedure then
// returns 0), 1 when the drop went through.
int DropSymbolOnBoard(HWND window, CurrentWindowData* block, const PcbSymbolDrop* drop);

// ---- Seams: the display list's hit collection (draw/) ---------------------------------

// The items whose display items lie under the world point of the active
// window, in hit order, each a new Tower the caller releases; at most
// `capacity` are stored, the count found is returned.
int CollectHitsAtPoint(HWND window, pl3::Point world, Tower** hits, int capacity);
