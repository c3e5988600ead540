// What the polygon steps of the design objects ask of the editing engine's
// polygon entry and of the drawing code. The engine's entries are defined by
// the engine (edit/polygon_points.cpp). GhostPolygonItem is the drawing
// code's (draw/ghosts.h). Tests link recording fakes.
#pragma once
#include <cstdint>

#include "geometry/graphic_layouts.h"
#include "geometry/types.h"
#include "platform/win_types.h"

struct EntityRecord;
struct Tower;

// XOR-draws the ghost of a polygon being entered; drawn twice it erases itself.
void GhostPolygonItem(void* dc, const EntityRecord* record, const pl3::Transform* transform);

// Finishes the polygon being entered (the window's record in hand): drops
// the closing point, checks it, inserts it with undo and takes the record out
// of the window. Returns the changed area as a malloc'd Box the caller frees,
// or null when the polygon was refused (the record then stays in hand).
pl3::Box* SetPolygon(EntityRecord* polygon);
// 0 when the current point may be added to the polygon; non-zero when it
// would cross an edge, pass the point limit or repeat the previous point.
int CheckNewPolygonPoint(const pl3::PolygonLayout* polygon);
// Adds the current point to the polygon being entered and redraws its ghost.
void SetPolygonPoint(void* dc, EntityRecord* polygon);
// Inserts the record as a polygon entity under the parent; the caller releases
// the returned Tower (null when nothing was stored).
Tower* InsertPolygonRecord(const EntityRecord* polygon, const Tower* parent);
// Reverse the order of a polygon's points and re-render its box. The one in
// hand keeps its live point last (the point still following the cursor);
// ReverseStoredPolygon reverses every point of a stored outline and turns
// its current index with them (count - index - 1).
void ReversePolygonInHand(HWND window, EntityRecord* polygon);
void ReverseStoredPolygon(HWND window, pl3::PolygonLayout* polygon);
