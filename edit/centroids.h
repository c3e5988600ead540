// The automatic centroid of a PCB symbol: placed at the mean of its pads'
// centres, pointing up.
#pragma once
#include "geometry/types.h"
#include "platform/win_types.h"

// The mean of the edited symbol's pad centres: the differences from the
// window's coordinate origin (coordinates read as unsigned) averaged in
// double precision, added to the origin and truncated. 0 after a message when
// the symbol has no pads.
int CentroidFromPads(pl3::Point* centroid);

// Places a centroid at the pads' mean when the window is idle, pointing up,
// stored with undo and flagged as placed automatically. A symbol that already
// has a centroid, or has no pads, gets a message and nothing else.
void AutoPlaceCentroid(HWND window);

