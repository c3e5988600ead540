// Options of the edit modes that change one selected item, or the item being
// placed, in place. Each takes the command id and the active editor window
// (null when there is none) and returns 1 when it changed something.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// 2305 Cycle Units: a dimensioner (22) steps its unit code 0, 1, 2, 3, 0; an
// angle dimensioner (21) swaps 4 and 5; any other code stays. In Edit
// Selection the only selected dimensioner's working copy, while placing one
// (modes 75 to 82) the record being placed.
int CycleDimensionerUnits(UINT id, HWND child);
std::uint32_t NextDimensionerUnit(std::uint16_t type, std::uint32_t unit);
// 2354 Mirror Symbol and 2507 Toggle Pin Numbers: bit 0 (mirrored) or bit 1
// (pin numbers shown) of the selected schematic symbol's symbol record in its
// working copy.
int FlipSchematicSymbolFlag(UINT id, HWND child);
// 2649 Keepout, 2652 Placement, 2653 Wiring and 2654 Via Keepout: the menu
// ticks the chosen kind, and the selected keepout polygon's working copy is
// stored again under the design with that kind's type code.
int SetKeepoutKind(UINT id, HWND child);
// 2391 Fixed: the only selected datum's fixed flag flips; fixing snaps the
// working copy's point to the grid, freeing takes the point of the datum in
// the design back. The menu item's tick follows.
int ToggleDatumFixed(UINT id, HWND child);
