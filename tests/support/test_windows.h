#pragma once
#include "platform/win_types.h"

// Loads the common controls and creates a hidden 400x300 top-level window
// of a fresh class named className, to parent the controls a test makes.
// Null when the class or window cannot be made.
HWND MakeTestParentWindow(const char* className);
