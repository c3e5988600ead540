// The mouse road of an editor window: what a press, a move and a release of
// the buttons mean in the window's edit mode, the two button action sets,
// accepting the current edit, the print zone and zoom to a rectangle.
#pragma once
#include <cstdint>

#include "edit/engine_seams.h"
#include "platform/win_types.h"

struct ButtonRecord;
struct EntityRecord;

// Button action codes (PerformMouseAction).
enum ButtonAction : std::uint32_t {
  Action_Nothing = 0,
  Action_CentreView = 1,
  Action_Cancel = 2,
  Action_Select = 3,
  Action_Accept = 4,
  Action_ByClickState = 5,
  Action_BeginInsertion = 6,
  Action_Delete = 7,
  Action_AddPolygonPoint = 8,
  Action_FinishPolygon = 9,
};

// One button's actions in idle, in other modes and in the polygon modes
// (13, 14), and its hold time in milliseconds.
struct ButtonActionSet {
  std::uint32_t idle;
  std::uint32_t otherModes;
  std::uint32_t polygonModes;
  std::uint32_t holdTime;
};
extern ButtonActionSet LeftButtonActions;   // {5, 4, 8, 250} until the configuration is read
extern ButtonActionSet RightButtonActions;  // {1, 2, 9, 250}
// The rule applied when a set is read: an idle action of 2, 4 or 7 becomes 3,
// an other-modes action of 5, 6 or 7 becomes 2.
void ApplyButtonActionRule(ButtonActionSet& set);

// Set by the window procedures on a left press, cleared before the release
// is handled; a release without it is ignored. Global to all editor windows.
extern std::uint8_t ButtonDownFlag;
// The nesting of drawing passes that hold a window's device context.
extern int DrawingDepth;
// While 1, mouse moves leave the mode's ghost alone.
extern std::uint8_t SuppressGhostUpdates;

// The print zone record directly under a PCB design (four corners).
constexpr std::uint16_t kPrintZoneRecord = 10454;
constexpr UINT kClearPrintZoneCommand = 2475;
// A message that, waiting in an editor's queue, makes a left press ignored.
constexpr UINT kDropButtonPressMessage = 1029;  // WM_USER + 5

GhostKind GhostKindOfMode(std::uint8_t mode);

void PerformMouseAction(std::uint32_t action, HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
void DoLButtonDown(HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
int DoMouseMove(HWND window, ButtonRecord* button, EntityRecord** pendingSlot, int keepCursor);
void DoLButtonUp(HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
void RightButtonUp(HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
void AcceptCurrentEdit(HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
void FinishOrCancel(HWND window, ButtonRecord* button, EntityRecord** pendingSlot);
// Ctrl+Shift drag: the view zooms to the drag rectangle.
void ZoomToDragRectangle(HWND window);
// Erases whichever drag or print-zone rectangle is shown and ends it.
void EndDragRectangles(HWND window);
