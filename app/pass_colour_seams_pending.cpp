// The program's stand-in for the per-type colour step of walk action 27
// (draw/display_list_seams.h) until the design objects' colour classes land:
// the entity keeps the colour of its layer.
#include "draw/display_list_seams.h"

void SetEntityPassColour(const Tower*, const pl3::Transform*, std::uint8_t) {}
