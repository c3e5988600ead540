// Stand-in for the rotation of an item's geometry by its own transform,
// which the drawing helpers own: until it lands, items are drawn unturned.
// Alone in its file so that the real definition replaces it cleanly.
#include "draw/ghost_seams.h"

int RotateEntityData(void*, std::uint16_t, const pl3::Point*, const pl3::Transform*) { return 0; }
