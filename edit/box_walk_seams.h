// What the box search (FindItemsInBox, edit/item_search_box.cpp) asks of the
// frame's drawing code, the PCB editor and the schematic editor, which are
// built elsewhere. Until their owners land the program links the stand-ins
// of app/box_walk_seams_pending.cpp; tests link fakes.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;

// The frame's two hole passes over the box: the holes the per-type table
// (WalkTypeFlags) admits, drawn after the copper with the walk action.
void DrawBoxWalkHolePasses(const pl3::Box* box, const Tower* design, const pl3::Transform* transform,
                           std::uint8_t action);
// The PCB editor prepares the plane fills of the design before they are walked.
void PrepareBoxWalkPlaneFills(const Tower* design);
// The schematic's draw mode (4 while a box is searched, 0 after) and its
// draw state; its extra items (junctions and the like) over the box.
void SetSchematicDrawMode(std::uint32_t mode);
std::uint32_t SchematicDrawState();
void DrawSchematicExtraItems(const pl3::Box* box, const Tower* design, const pl3::Transform* transform,
                             std::uint8_t action);

// The design objects' info-box pass of the PCB-symbol editor's label pass
// (DrawInfoBoxesInBox, objects/info_boxes.h), put here when the program
// starts so that the box search does not draw in the design objects' whole
// editing road where only a search is linked; null skips the pass.
extern void (*BoxWalkInfoBoxPass)(const pl3::Box* box, const Tower* container, int drawMode);
