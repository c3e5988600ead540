// Edits of stored items recorded in the active window's undo step: items
// stored, removed and the step closed, with the display list kept in step.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct CurrentWindowData;
struct Tower;

// The entity stored under the window's design, its undo insertion recorded in
// the window's step, put on the display list; the Tower released.
void StoreWithUndo(const CurrentWindowData& w, std::uint16_t type, std::uint32_t size, const void* payload);
// The old entities recorded as undo removals in the window's step, taken off
// the display list and deleted, in that order for all of them.
void RemoveWithUndo(const CurrentWindowData& w, Tower* const* entities, int count);
// Captions the window's step, opens the next, marks the design changed and redraws.
void FinishUndoStep(HWND window, CurrentWindowData& w, const char* caption);
