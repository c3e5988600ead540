// The XOR crosshair of an editor view, the cursor kinds of the tools with
// their cursor resources, and the three window operations that sit with
// them (a new schematic window, the sub-net point lists, the designator
// display bits). MoveCrosshair and DrawCrosshair are declared in edit/engine_seams.h and
// SetEditCursor in objects/editor_seams.h, where the engine reaches them.
#pragma once
#include <cstdint>

#include "edit/engine_seams.h"
#include "edit/window_data.h"
#include "objects/editor_seams.h"
#include "platform/win_types.h"

// Edit modes in which no crosshair lines are drawn (the zoom modes and 55).
bool CrosshairHiddenInMode(std::uint8_t mode);

// DrawCrosshair (edit/engine_seams.h) toggles the crosshair lines at the
// record's position: a white one-pixel XOR pen, a horizontal line across the
// client area and a vertical one down it. Nothing in modes 35, 36, 37 and 55
// of the active window, or with style 1.

// The cursor resources of a kind: the name used with style 1 (target mark)
// and the one used with crosshair lines (null: no cursor image).
struct CursorNames {
  const char* withTarget;
  const char* withLines;
};
CursorNames CursorNamesOfKind(std::uint32_t kind);
// Loads the cursor of the record's kind and style into the active window's
// CursorHandle (null when the kind has no image with crosshair lines);
// returns it.
HCURSOR LoadEditCursor(const CrosshairRecord* record);

// Opens an MDI child of class "SCHEMATIC_CHILD" titled "Schematic Window",
// maximised when the active child is; returns it, or null.
HWND CreateSchematicWindow(void* parameter);

struct Tower;
// Deletes every Sub Net Points List Info (268) under every Sub Net Hier
// (269) of every net of the design.
void ClearSubNetPointLists(const Tower* design);
// Sets (on non-zero) or clears bits in the display word of the Designator
// Info of every symbol instance of the active window's design, each taken
// off the display list first and put back after.
void SetDesignatorInfoBits(std::uint16_t bits, int on);
