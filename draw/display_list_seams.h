// What the display list, its painting and the drawing walk actions ask of
// the application frame, the editing engine, the PCB editor, the rule
// checker and the import of earlier-generation designs, which lie above
// draw/ or are not built yet. The owners define these. The frame's
// PushTransformedEntityCopy is app/walk_tables.cpp (the fill of the walker's
// per-type table, FillNetFlagTable, is declared for the design objects and
// the drawing code alike in objects/frame_seams.h); the others have
// stand-ins in app/*_seams_pending.cpp until their owners land, and tests
// link fakes.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "objects/frame_seams.h"

struct Tower;

// ---- Application frame --------------------------------------------------------------------

// Pushes a copy of a hole's record, turned by the transform, onto the list
// of copies drawn after the copper.
void PushTransformedEntityCopy(const Tower* entity, const pl3::Transform* transform);

// ---- Design objects ---------------------------------------------------------------------------

// The per-type colour step of walk action 27: the fill value an entity is drawn in.
void SetEntityPassColour(const Tower* entity, const pl3::Transform* transform, std::uint8_t action);

// ---- Editing engine ------------------------------------------------------------------------

// Applies the walk action to the parts of a placed symbol as if they stood in
// the design: the instance's placement composed with the transform, the view
// side toggled for a symbol on the other side, the instance the window's
// current symbol meanwhile. The walk's result, 0 on error.
std::int32_t ExpandSymbol(std::uint8_t action, const Tower* instance, const pl3::Transform* transform,
                          void* param);
// 1 when the item's box under the transform meets the box (edges touching
// count) or no box is given; 0 otherwise.
int TestBoundingBox(const Tower* item, const pl3::Box* box, const pl3::Transform* transform);

// ---- PCB editor -----------------------------------------------------------------------------

// 0 when a track or routed line on the layer is to be drawn.
int TestLineLayer(std::uint8_t layer);
// Draws the net within the world box.
void DrawNetInBox(const Tower* net, const pl3::Box* box);

// ---- Design rule checking --------------------------------------------------------------------

// The value of the design's option record of the code, or the option's default.
constexpr std::uint32_t kBoardOutlineClearanceOption = 1017;
std::uint32_t ReadDesignOption(const Tower* design, std::uint32_t code);

// ---- Earlier-generation designs ---------------------------------------------------------------

// Draws a placed earlier-generation symbol (163): its Transform composed with
// the caller's, its own items and its definition's; with action 37 they
// reach the display list.
std::int32_t DrawPl2Symbol(const Tower* symbol, void* param, const pl3::Transform* transform, std::uint8_t action);
