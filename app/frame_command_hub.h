// The frame's WM_COMMAND handler: every menu click, toolbar button and
// command sent to the frame lands here. A command either ends at the frame
// (window arrangement, new documents, program dialogs), or the hub acts on
// the active editor window's state and then forwards the same WM_COMMAND to
// it, or it is only forwarded.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct CurrentWindowData;

// The frame procedure returns this answer when it is non-zero (1, or the
// window an open command made), else it runs the default frame procedure.
LRESULT DoFrameCommand(HWND frame, WPARAM wParam, LPARAM lParam, HINSTANCE instance);

// Program-wide: pads are named as they are placed (Auto Name Pads, 341).
extern std::uint8_t AutoNamePads;
// Cleared while the symbol attribute dialogs (2336, 2337) and the global
// pin editor (2356) are open; the PCB and schematic editors read it.
extern std::uint8_t EditorDialogOpenFlag;
// The cursor style new windows take: 1 target, 0 cross hair.
extern std::uint32_t ProgramCursorStyle;

// The freehand rotation request: built on the heap for one 455 and freed.
struct FreehandRotationRequest {
  HWND child;
  CurrentWindowData* state;
  void* currentItem;
};

// Fit To Window: the zoom (world units per pixel) that shows the box in a
// client of the size, within 1 and 1,024,000, the world-to-view scale it
// gives and the box's centre; false when the client is empty (minimised).
bool FitZoomToBox(const pl3::Box& box, std::uint32_t clientWidth, std::uint32_t clientHeight,
                  std::uint32_t* zoom, std::uint32_t* scale, pl3::Point* centre);
// Highlight Off Angle Tracks: a track from a to b that is neither
// horizontal, vertical nor at 45 degrees (within 2 units) and whose slope is
// off by more than the tolerance.
bool IsOffAngleTrack(pl3::Point a, pl3::Point b);
// Highlights every off-angle track of the window's display list on layers 1
// to 32 (node flag 0x40); returns how many.
int HighlightOffAngleTracks(CurrentWindowData* state);
