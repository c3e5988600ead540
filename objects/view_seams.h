// What the design objects ask of the drawing code and the editing engine
// about the view: grid snapping, the mouse pointer, centring, the status bar
// and redraws. Defined above objects/; the program's stand-ins until their
// owners land are in app/view_seams_pending.cpp.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

// Snap a point to the active window's grid (forced or when snapping is on),
// or to 1/20 inch about the grid origin (fine).
void SnapXY(std::int32_t* x, std::int32_t* y, int force);
void SnapXYFine(std::int32_t* x, std::int32_t* y);
// True while the current edit mode moves items with the cursor.
int IsItemAttachedToCursor();
// Moves the mouse pointer onto a world point of the window.
void SetCursorToPoint(void* window, pl3::Point point);
// Scrolls the window so that the world point lies at its centre.
void CentreViewOnPoint(void* window, pl3::Point point);
// Refreshes the status bar; the result is handed back to callers.
int UpdateStatusBar(void* window);
// The frame's status bar, which the status texts are sent to, and its height
// (defined with the frame's globals in app/).
extern HWND StatusBarWindow;
extern int StatusBarHeight;
// Redraws the whole view of the window.
void RedrawView(void* window);
// Scrolls the editor view as its scroll bars do (bar WM_HSCROLL or WM_VSCROLL).
void DoScroll(void* window, std::uint32_t bar, std::uint32_t code);
// The window's raw mouse handler, for records without a world point.
struct MouseRecord;
void HandleRawMouseRecord(void* window, const MouseRecord& record);
