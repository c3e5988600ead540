// Redrawing a view: a world box of the design is rendered again into the
// view's layer plane, turned into colours and invalidated, so that the
// window's paint copies it from the colour buffer. RedrawView
// (objects/view_seams.h), RedrawViewRect (objects/editor_seams.h) and
// RenderViewRect (draw/auto_pan_seams.h) are declared where their callers
// below this folder reach them.
#pragma once
#include <cstdint>

#include "draw/auto_pan_seams.h"
#include "objects/editor_seams.h"
#include "objects/view_seams.h"
#include "platform/win_types.h"

struct CurrentWindowData;

// BackgroundIndex with the plane bits of every used inner copper layer (2 to
// 31), set by each redraw before its items are drawn.
extern std::uint32_t InnerPlaneMask;
// Counts the region renders of RedrawViewRect and RenderViewRect.
extern std::uint32_t RedrawCount;

// Window kinds no redraw touches: the package window and the 3D views.
constexpr std::uint32_t kEditorThreeD = 128;
constexpr std::uint32_t kEditorThreeDOther = 256;
bool IsRedrawnKind(std::uint32_t editorKind);

// The active window's block when it belongs to the window, with the raster
// kernel drawing into its surface; null otherwise (nothing to draw into).
CurrentWindowData* BindViewSurface(void* window);

// The view pixels of a world box: the first corner scaled signed and raised
// to 0, the second unsigned plus one, cut to the client rectangle when asked
// and to the plane's last column and row. False when nothing of the client
// area is left.
bool WorldBoxToViewRect(const pl3::Box& box, const RECT& client, int clipToClient, RECT* rect);

// Clears the pixel rectangle (inclusive) to the background and draws the
// design's items over it with the grid, clipped to it: the shared steps of
// RedrawViewRect and RenderViewRect.
void RenderViewRegion(CurrentWindowData& w, const pl3::Box& box, const RECT& rect);

// The window's WM_PAINT: copies the invalid part of the colour buffer to the
// screen; false when the window has no surface (the caller paints nothing).
bool PaintViewFromSurface(HWND window, const CurrentWindowData& w);
