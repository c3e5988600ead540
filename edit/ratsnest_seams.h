// What the editing engine asks of the PCB editor's ratsnest when items come
// and go outside a move: undo and redo report the symbol instances they put
// back or take out, a cancel drops the moving points of a symbol being
// placed. Defined by the PCB editor; until it lands the program links the
// stand-ins of app/ratsnest_seams_pending.cpp (no ratsnest is kept) and
// tests link recording fakes.
#pragma once

struct Tower;

// Empties the active window's changed-net list (frees it, count 0).
void EmptyChangedNets();
// Adds the nets of the instance's pads to the active window's changed-net
// list, sorted and without duplicates.
void MarkSymbolNetsChanged(const Tower* instance);
// Rebuilds the ratsnest members of the nets in the changed-net list and
// frees the ratsnest lines.
void UpdateChangedNetMembers(int flags);
// Drops the moving ratsnest points of the item.
void RemoveMovingPoints(const Tower* item);
// Frees a window's ratsnest line list (the block's RatsnestLines); null is
// allowed.
void FreeRatsnestLines(void* lines);
