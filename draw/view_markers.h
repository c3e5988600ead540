// The datum and origin markers: GDI figures drawn straight into a window's
// device context at a world point, with the context's pen and raster
// operation (so an XOR pen toggles them). Nothing is drawn when the point
// lies left of or above the view's origin.
#pragma once
#include <cstdint>

#include "objects/editor_seams.h"

struct DatumPayload;
struct MarkerDrag;

// The origin marker's figure for a world length: each arrow `length` long
// (in view pixels) starts a third of it behind the point, with a head of a
// third by a third (thirds rounded toward zero).
void DrawSizedOriginMarker(void* dc, std::int32_t x, std::int32_t y, std::int32_t length);
// The origin marker in the window with a white copy pen.
void ShowOriginMarker(void* window, std::int32_t x, std::int32_t y);
// The datum's marker at its stored point with a copy pen of DatumMarkerColour.
void ShowDatumMarker(void* window, const DatumPayload* datum);

// XOR ghosts at the drag record's marker point, drawn with a green pen on a
// counted view context (GetViewDC) and restored: the origin marker, or a
// cross reaching 20 pixels each way. Drawn twice they leave the view as it was.
void GhostOriginMarker(void* window, const MarkerDrag& record);
void GhostCrossMarker(void* window, const MarkerDrag& record);

// The COLORREF of datum markers (green until the settings give another).
extern std::uint32_t DatumMarkerColour;
