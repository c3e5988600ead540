// The world cursor that follows the mouse, the coordinate origin, and the
// zoom steps and levels of an editor window (the active window's block).
#pragma once
#include <cstdint>

#include "geometry/types.h"

// The editable area on both axes, and its centre.
constexpr std::int32_t kAreaLow = 182880000;
constexpr std::int32_t kAreaHigh = 1828800000;
constexpr std::int32_t kAreaCentre = 1005840000;
// Units per pixel at the closest and the farthest zoom.
constexpr std::uint32_t kZoomClosest = 500;
constexpr std::uint32_t kZoomFarthest = 1024000;

// One mouse message as the editor's mouse road carries it.
struct MouseRecord {
  std::uint8_t hasWorldPoint;  // 0: handed to the window's raw mouse handler
  pl3::Point mouseView;        // the mouse now, view pixels
  pl3::Point view;             // the view point the world point was last taken at
  pl3::Point world;            // the world point
  pl3::Point previousWorld;
};

// 1 when the world point falls inside the client area of the active window's view.
int IsWorldPointInView(void* window, pl3::Point point);
// Sets the cursor and the mouse pointer on the point, centring the view when
// the point lies outside the client area; refreshes the status bar.
int MoveCursorToPoint(void* window, pl3::Point point);
// Turns a mouse move into the world cursor, held in the editable area.
void TrackMouseCursor(void* window, MouseRecord& record);
// Doubles / halves the units per pixel within the limits, then centres the
// view on the record's world point.
void ZoomOutAtPoint(void* window, const MouseRecord& record);
void ZoomInAtPoint(void* window, const MouseRecord& record);
// Level characters '0' to '9' name levels 1 to 10: 2,000 x 2^(level - 1).
void ZoomToLevel(void* window, const MouseRecord& record, char level);
// The mouse wheel (the message's wParam): with Ctrl held one line
// horizontally, with Shift vertically (towards the user right or down);
// otherwise zoom out (towards the user) or in at the cursor.
void EditorMouseWheel(void* window, std::uint32_t wheelParameter);
// The record's point, snapped, becomes the coordinate origin.
void SetCoordinateOrigin(void* window, const MouseRecord& record);
// The origin goes back to the stored snap origin, or to the area's snapped
// centre when that lies outside the area.
void ResetCoordinateOrigin(void* window);
// What follows every change of the coordinate origin: the origin marker is
// no longer shown, the window hears command 485, the design is marked
// changed and the view redrawn.
void AfterOriginChange(void* window);

// One drag step of a marker: where it stands and where the mouse is (world).
struct MarkerDrag {
  pl3::Point marker;
  pl3::Point mouse;
};
// Moves the origin marker / a datum marker to the snapped mouse point when
// that lies on another view pixel than the snapped marker point: the marker
// is XOR-drawn in green at its old point and at the new one.
void DragOriginMarker(void* window, MarkerDrag& record);
void DragDatumMarker(void* window, MarkerDrag& record);
