// What the item boxes ask of the selection menus' code above this folder;
// until it lands the program links app/pin_text_box_seams_pending.cpp.
#pragma once
#include "geometry/types.h"

struct Tower;

// The box of a pin's name text (27): 1 and the box, or 0.
int GetPinTextBox(const Tower* pinText, pl3::Box* box);
