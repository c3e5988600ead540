// What the design objects' pick and command workers call in the application
// frame (app/): the counted device contexts of an editor view, the pick
// aperture setting and the fill of the walker's per-type table.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// GetDC and ReleaseDC of an editor view with the frame's count of contexts
// held (app/core_utilities.cpp).
HDC GetViewDC(HWND window);
int ReleaseViewDC(HWND window, HDC dc);
// The pick aperture in view pixels (configuration record 10301).
extern std::uint32_t PickDistance;
// Sets every word of the walker's per-type table (WalkTypeFlags) to the value;
// a hit-test walk clears it first. Until the frame's own lands the program
// links app/net_flag_table_seams_pending.cpp.
void FillNetFlagTable(std::uint16_t value);
