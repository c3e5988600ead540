// Cancel, delete and vertex removal of the active editor window.
// CancelCurrentOperation and DoDelete are declared in edit/engine_seams.h,
// where the mouse road and the frame reach them.
#pragma once
#include "geometry/graphic_layouts.h"
#include "platform/win_types.h"

struct Tower;

// Delete (menu id 2258): idle, it arms the delete click (mode 58, cursor
// kind 17); otherwise it deletes by mode at the window's cursor (DoDelete).
void DeleteCommand(HWND window);
// Remove Vertex (Backspace, menu id 422): the moving point leaves the
// polygon being drawn or the one selected polygon of Edit Selection; a
// selected polygon with two points left is deleted.
void RemoveVertexCommand(HWND window);
// Takes the moving point out of a polygon payload and puts the point that
// becomes current on the window's snapped cursor. With backwards set the
// current point wraps from the count to 0, else it steps back one (from 0 to
// the last). With fewer than 3 points the operation is cancelled instead.
void RemovePolygonPoint(HWND window, pl3::PolygonLayout* polygon, int backwards);
// Replaces a stored polygon by a copy without its moving point, flagged
// selected; the old entity is deleted and its Tower freed. Returns a Tower
// on the new entity, or null (nothing deleted) when it could not be stored.
Tower* RemoveSelectedPolygonPoint(HWND window, Tower* polygon, const Tower* design);
