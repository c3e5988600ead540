// What a pick hands its chosen object to: the selection (SelectObject), the
// two copy picks, and the program option that offers a fixed symbol's
// designator in its place. The selection's owner defines the first three;
// until it lands the program links app/pick_action_seams_pending.cpp
// (nothing is selected or copied). The option is the frame's
// (app/pick_designator_option.cpp). Tests link their own.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct Tower;

// Puts the item into the selection (with `add`, adding a secondary record or
// keeping a selected one), or takes a selected item out of it; 1 when the
// selection changed, 0 when nothing was done.
int SelectObject(const Tower* item, std::uint8_t add);
// The copy pick: the item becomes a copy that follows the cursor.
void CopyPickedItem(HWND window, const Tower* item);
// The copy pick with a step: a net locator copied with its name counted up
// (increment 1) or down (0).
void CopyPickedItemStep(HWND window, const Tower* item, int increment);
// 1 when a click on a fixed symbol picks its designator instead.
int PickDesignatorsOfFixedSymbols();
