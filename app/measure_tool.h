// The measuring tape: a line pulled from a clicked point to the cursor, drawn
// in XOR like a ghost, with its length, its x and y parts and its angle in a
// tooltip that follows the cursor. Each click starts a new leg at the end of
// the last. The measurement is the window's pending record (pseudo type 160).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "geometry/types.h"
#include "platform/win_types.h"

struct CurrentWindowData;
struct EntityRecord;

constexpr std::uint16_t kMeasuringType = 160;

#pragma pack(push, 1)
// The payload of the measuring record, after the working-record header.
struct MeasuringPayload {
  pl3::Point start;
  pl3::Point end;
  std::int32_t dx;        // end.x - start.x
  std::int32_t dy;        // start.y - end.y: positive when the end lies above
  std::uint32_t distance; // sqrt(dx^2 + dy^2), truncated (a diagonal of the design area passes 2^31)
  std::uint32_t spare;
  double angle;           // radians in [0, pi / 2]: asin(|dy| / distance), 0 for no length
  std::uint8_t reserved[52];
};
#pragma pack(pop)
static_assert(sizeof(MeasuringPayload) == 92);
static_assert(offsetof(MeasuringPayload, dx) == 16);
static_assert(offsetof(MeasuringPayload, angle) == 32);
static_assert(sizeof(MeasuringPayload) + 28 == 120);  // with the header, as a record of 120 bytes

// The tooltip that shows the measurement (null until the first measurement).
extern HWND MeasuringTooltip;

// dx, dy, distance and angle from start and end.
void UpdateMeasurement(MeasuringPayload* m);
// "dX ...\r\ndY ...\r\nDistance ...\r\nAngle %.2f degrees", lengths in the
// display family with " mm" or " Inch".
std::string MeasurementText(const MeasuringPayload& m);
// Where the tooltip goes for a cursor at screen point (x, y): 15 pixels beyond
// it on each axis, or 15 pixels plus the bubble's size before it on an axis
// where it would pass the virtual screen.
POINT MeasuringTooltipPosition(POINT cursor, SIZE bubble);

// Chooses the tool in an idle window: insert type 160, click state 0.
void SetMeasureTool(HWND window);
// Starts a measurement at the point as the window's pending record (edit
// mode 87) and draws it.
void BeginMeasureAt(HWND window, EntityRecord** slot, pl3::Point point);
// A mouse move in edit mode 87: the end follows the point, the drawing and
// the tooltip follow the end.
void MeasureDragStep(HWND window, HDC dc, EntityRecord* record, pl3::Point point);
// A click in edit mode 87: the next leg starts at the last end. Returns 1.
int MeasureAcceptStep(HWND window, EntityRecord* record);
// XOR-draws the measurement (a second call erases it) and shows its text.
void DrawMeasurement(HDC dc, const EntityRecord* record);
// The payload of a measuring record, or null for another record.
MeasuringPayload* MeasuringOf(EntityRecord* record);
