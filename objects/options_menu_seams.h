// What the Options menu rebuild asks of the symbol editor and the PCB
// editor: whether the design is a non-electrical symbol (its pads are not
// named) and whether the window is in its manual-placement state. Defined by
// those editors; until they land the program links
// app/non_electrical_symbol_seams_pending.cpp and
// app/manual_placement_seams_pending.cpp (neither holds) and tests link their own.
#pragma once

struct Tower;
struct CurrentWindowData;

// 1 for a non-electrical symbol design.
int IsNonElectricalSymbol(const Tower* design);
// 1 while the window places symbols by hand (its symbols may be copied and
// edited as parts).
int IsManualPlacementState(const CurrentWindowData* window);
