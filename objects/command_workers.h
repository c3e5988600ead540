// Small workers of the editor's commands and tool steps on the active editor
// window: the angle assist cycle ("edit.cyclelineassist", id 295), the flip
// of direction ("edit.flipdirection", id 297), the end of shape placement,
// the via of a track's layer change and a thumbnail drawn with another
// window's state.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct CurrentWindowData;
struct Tower;

// The bend byte that the drag of selected tracks reads; FlipDirection
// changes it by an exclusive or with 3 (1 and 2 trade places).
extern std::uint8_t SelectionBendByte;

// With an item being placed: the angle assist of line entry steps 0, 1, 2, 0
// (a wire or bus being entered toggles between 0 and 1). Else with a
// selection of tracks only: the Edit Selection assist steps 0, 2, 1, 0.
void CycleAngleAssist(HWND window);
// Reverses the direction of the item being placed, or, in Edit Selection and
// Add New Pad, of the one selected item: line and arc kinds, polygons and
// spirals; selected tracks flip the bend of their drag.
void FlipDirection(HWND window);
// Leaves Add New Shape and Place Shape: the shape's pad-stack layer loses its
// selected state (or the single-item pick ends), the view is redrawn, and the
// window is left idle with the normal cursor.
void EndShapePlacement(HWND window);
// Stores a via of the window's via layer, hole style and the via size index
// at the point under the design (with the engine's change notification).
// Returns the Tower of the new via, which the caller records for undo and
// releases; null when nothing was stored.
Tower* InsertViaAt(const Tower* design, std::int32_t x, std::int32_t y, std::uint32_t CurrentViaSize);
// Renders the box of the design with the given window state made current
// for the length of the call; returns what the renderer returned.
HBITMAP RenderThumbnailWithWindow(const Tower* design, CurrentWindowData* state, const pl3::Box* box);
