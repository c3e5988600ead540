// What the item boxes ask of the text items above this folder: the program
// defines it in app/pin_text_box.cpp.
#pragma once
#include "geometry/types.h"

struct Tower;

// The box of a pin's name text (27): 1 and the box, or 0.
int GetPinTextBox(const Tower* pinText, pl3::Box* box);
