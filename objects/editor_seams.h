// What the editor input operations and the item-in-hand steps call in the
// drawing code, the editing engine and the frame, which are built elsewhere.
// Declared here and defined by their owners; until those land the program
// links the stand-ins of app/editor_seams_pending.cpp and tests link
// recording fakes.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;
struct EntityRecord;
struct SelectionInfo;

// The layer reached from a layer by the next-layer links of the active
// window's table: the next selectable layer of the kind (any kind for 0), or
// the start layer when the ring holds none.
std::uint8_t GetNextLayerOfKind(std::uint8_t layer, std::uint32_t kind);

// XOR-draws the outline of an entity payload by type code, with the drawing
// flags and under the given placement transform; drawn twice it erases itself.
void GhostEntityData(void* dc, std::uint16_t type, const void* payload, std::uint32_t flags,
                     const pl3::Transform* transform);
// XOR-draws a spiral record quarter-turn by quarter-turn; a second call erases it.
void DrawSpiral(void* window, const EntityRecord* spiral);
// The quadrant (0 to 3) of an arc-like record's start point about its centre,
// and the number of quadrant crossings from its start to its end.
int GetArcQuadrant(const EntityRecord* arc);
int GetArcSweepQuadrants(const EntityRecord* arc);
// Stores the record's payload under the design as one undo step; the caller
// releases the returned Tower.
Tower* InsertEntityWithUndo(const EntityRecord* record, const Tower* design);
// A rotation built from a direction vector and an angle offset in degrees.
void MakeDirectionTransform(pl3::Transform* out, pl3::Point direction, double angle);

// Rebuilds the Selection and Options menus for a selection-menu kind (0 for nothing).
void SetSelectionAndOptionsMenus(std::uint32_t kind);
// Makes a cursor kind current in the active window (0 the default cursor).
void SetEditCursor(std::uint32_t kind);
// Re-renders a world rectangle of the view.
void RedrawViewRect(void* window, const pl3::Box* box, int flag);

// The XOR ghosts of the single edit modes, drawn by the editing engine.
enum class ModeGhost : std::uint8_t {
  DragRectangle,        // the selection drag rectangle
  SecondDragRectangle,  // the print-zone drag rectangle
  Insertion,            // the symbol or shape being placed
  Designator,           // the designator or attribute copy being placed
  OriginMarker,         // the origin marker being moved
  Locator,              // the attribute locator being placed
  Selection,            // the working copies of the selection
  Item,                 // the given item (the record in hand)
};
void DrawModeGhost(void* window, ModeGhost ghost, const EntityRecord* item);

// The origin and datum markers at a world point, with the context's pen and raster operation.
void GhostOriginMarkerOnDC(void* dc, std::int32_t x, std::int32_t y);
void DrawDatumMarker(void* dc, std::int32_t x, std::int32_t y);
