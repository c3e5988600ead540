// What the scroll bar code shares with DefWindowProc and the SCROLLBAR
// control. Nothing outside platform/ includes this.
#pragma once
#include "platform/scroll.h"
#include "platform/user_internal.h"

namespace pl3::user {

// The screen rectangle of a window's bar (SB_HORZ, SB_VERT: in its
// non-client area; SB_CTL: the control's client area); empty when not shown.
RECT ScrollBarScreenRect(HWND hwnd, int bar);
// HTVSCROLL or HTHSCROLL for a point on one of the window's bars, else 0.
LRESULT ScrollBarHitTest(HWND hwnd, POINT screen);
// Draws the window's own bars into its non-client area.
void PaintWindowScrollBars(HWND hwnd);
// Draws a bar into `dc` at `r`.
void DrawScrollBar(HWND hwnd, int bar, HDC dc, const RECT& r);
// The press on a bar at a screen point, held until the button is released.
void TrackScrollBar(HWND hwnd, int bar, POINT screen);
void ScrollWindowForgotten(HWND hwnd);
void RegisterScrollBarClass();

}  // namespace pl3::user
