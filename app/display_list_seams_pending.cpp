// The program's stand-ins for what the design objects ask of the display
// list before their owners build it (objects/display_list_seams.h): a track
// added for its owner and a working record drawn at once add and draw
// nothing, so they show at the next full redraw. The display list's put and
// remove are draw/display_list_entities.cpp.
#include "objects/display_list_seams.h"

void AddTrackToDisplayList(const void*, const pl3::Transform*, int, const Tower*, int) {}
void TransformItemBox(const EntityRecord*) {}
