// What the design objects call in the application frame (app/), which lies
// above them: the text prompt, the counted device contexts of an editor view,
// the pick aperture setting, the fill of the walker's per-type table and the
// end of a tool.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

// Runs "EnterTextDlg" and returns the current text: on OK a new heap string
// (the text passed in was freed), on Cancel the text passed in; a maximum
// length of 0 sets no limit (app/enter_text_dialog.cpp).
char* ShowEnterTextDlgEx(const char* title, const char* prompt, char* text, std::uint32_t maximumLength);
// 1 when the last "EnterTextDlg" ended with OK, else 0.
extern std::uint8_t EnterTextDialogResult;

// GetDC and ReleaseDC of an editor view with the frame's count of contexts
// held (app/core_utilities.cpp).
HDC GetViewDC(HWND window);
int ReleaseViewDC(HWND window, HDC dc);
// The pick aperture in view pixels (configuration record 10301).
extern std::uint32_t PickDistance;
// The corner radius of the corner command in world units (configuration
// record 10328).
extern std::int32_t EditingLength10328;
// Sets every word of the walker's per-type table (WalkTypeFlags) to the value;
// a hit-test walk clears it first, the drawing walks set it
// (app/net_flag_table.cpp).
void FillNetFlagTable(std::uint16_t value);
struct CrosshairRecord;
// Moves the view's crosshair to a client point (draw/crosshair.cpp; also
// declared for the engine in edit/engine_seams.h).
void MoveCrosshair(HWND window, CrosshairRecord* record, std::int32_t x, std::int32_t y);
// Ends the current tool: the edit mode and its sub-state back to 0, refreshed.
void ClearToolMode(HWND window);
