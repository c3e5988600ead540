// Moving a view by whole pixels without drawing it again: the surface's two
// buffers are shifted, the strips that come into view are rendered, the
// window's pixels are scrolled and what the scroll uncovered is copied from
// the surface. Shared by the scroll bars' handler and auto-pan.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/win_types.h"

struct CurrentWindowData;

// Moves the view by dx, then dy pixels: the origin, the layer plane and the
// colour buffer shift, and each strip that comes into view is rendered and
// colourised (by byte in the schematic kinds). Returns the strips.
std::vector<RECT> ShiftViewSurface(HWND window, CurrentWindowData& w, const RECT& client, std::int32_t dx,
                                   std::int32_t dy);
// Scrolls the window's pixels by (-dx, -dy) and copies from the surface the
// strips and every rectangle of the update region.
void ScrollViewScreen(HDC dc, const CurrentWindowData& w, const RECT& client, std::int32_t dx, std::int32_t dy,
                      const std::vector<RECT>& strips);
// The overlays drawn in XOR over a view (the mode's ghost, the origin
// marker, the print zone, the crosshair), in their order; called twice they
// restore the screen.
void ToggleViewOverlays(HWND window, HDC dc, CurrentWindowData& w);
