// The program's stand-ins for the box search's calls of the frame's hole
// passes, the PCB editor's plane fills and the schematic's extra items
// (edit/box_walk_seams.h) until their owners land: the hole passes walk the
// design once with the table as it stands; nothing else is drawn.
#include "edit/box_walk_seams.h"

#include "objects/walker.h"

void DrawBoxWalkHolePasses(const pl3::Box* box, const Tower* design, const pl3::Transform* transform,
                           std::uint8_t action) {
  if (design) PerformTowerAction(transform, design, const_cast<pl3::Box*>(box), 0, action, 0);
}
void PrepareBoxWalkPlaneFills(const Tower*) {}
void SetSchematicDrawMode(std::uint32_t) {}
std::uint32_t SchematicDrawState() { return 0; }
void DrawSchematicExtraItems(const pl3::Box*, const Tower*, const pl3::Transform*, std::uint8_t) {}
