// What the design objects ask of the editing engine about items, selection
// and the current operation. The engine defines them: the mouse road's
// DoMouseMove and CancelCurrentOperation exist (edit/); the rest have
// stand-ins in app/engine_item_seams_pending.cpp until their owners land.
#pragma once
#include <cstdint>

#include "edit/window_data.h"
#include "geometry/types.h"
#include "platform/win_types.h"

struct Tower;
struct EntityRecord;

// The box of a spiral payload (type 19).
void GetSpiralBox(const void* spiral, pl3::Box* box);
// Adds a graphic item to the selection with the grabbed part (0 the whole
// item) and the grab point, or updates the part of one already there.
// Returns the selection record, or null when nothing was added.
SelectionInfo* AddGraphicToSelection(SelectionInfo** list, const Tower* entity, std::uint16_t part,
                                     const pl3::Transform* transform, std::int32_t x, std::int32_t y);
// Ends whatever is in progress in the window: its ghost, working record and mode.
void CancelCurrentOperation(HWND window, void* block);
// Runs the mouse-move handling of the current edit mode again at the cursor
// (keepCursor non-zero: the cursor is not taken from the mouse).
int DoMouseMove(HWND window, ButtonRecord* button, EntityRecord** pendingSlot, int keepCursor);
