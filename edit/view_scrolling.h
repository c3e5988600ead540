// Scrolling an editor view by its scroll bars and centring it on a point.
// DoScroll and CentreViewOnPoint are declared in objects/view_seams.h,
// CentreViewOnCursor in edit/engine_seams.h, where their callers reach them.
#pragma once
#include <cstdint>

#include "edit/engine_seams.h"
#include "objects/view_seams.h"

struct CurrentWindowData;

// The origin a scroll code asks for on one axis (horizontal for WM_HSCROLL):
// lines move by a tenth of the client size, pages by nine tenths, the thumb
// codes take the bar's tracking position, the ends the bar's range. False for
// codes that move nothing.
bool ScrollCodeOrigin(HWND window, std::uint32_t bar, std::uint32_t code, std::int32_t origin, std::int32_t size,
                      std::int32_t* result);
// After the origin moved: on each axis AxisLock leaves free, MouseWorld takes
// the old Cursor and Cursor (with DisplayedCursor) becomes the world point
// under the mouse, (origin + MousePixel) x Zoom.
void FollowMouseAfterScroll(CurrentWindowData& w);
