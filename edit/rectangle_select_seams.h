// The rectangle selection the Select click hands a dragged rectangle to,
// built with the picking code. Until it lands the program links the
// stand-in of app/rectangle_select_seams_pending.cpp; tests link fakes.
#pragma once

#include "platform/win_types.h"

// Selects what the rectangle (client pixels, corners in any order) holds;
// 1 when something was selected.
int SelectItemsInRectangle(const RECT* rectangle);
