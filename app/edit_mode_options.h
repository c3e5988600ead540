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
// 2004 Toggle Add/Move Vertex: the one selected polygon-like item's grab
// switches between moving a vertex (4) and adding one (5); the status bar
// follows. Edit Selection only.
int ToggleVertexGrab(UINT id, HWND child);
// 426 Move (Edit Selection, modes 39 and 45): the selection takes the whole
// items again; the ghost, the status bar and the menus follow, cursor 3.
int MoveWholeSelection(UINT id, HWND child);
// 443 Horizontal and 444 Vertical Alignment: the justification of the text
// being placed or edited, or of each selected text, steps on.
int CycleTextAlignment(UINT id, HWND child);
// 2040 Mirror Text: the string being placed or edited (modes 28, 29), the
// one selected text, or the label of the one selected dimensioner (and of
// the dimensioner being placed in mode 78) is reflected in x.
int MirrorTextOption(UINT id, HWND child);
// 2302 Snap In / Snap Out: the arrows of the one selected dimensioner, or of
// the one being placed, move between inside and outside the measured span.
int ToggleSelectedDimensionerArrows(UINT id, HWND child);
// 2303 Edit Text: the label dialog of the one selected dimensioner or angle
// dimensioner, on its working copy.
int EditSelectedDimensionerLabel(UINT id, HWND child);
