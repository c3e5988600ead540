// Stand-in for the ratsnest ends of a selected symbol's ghost until the PCB
// editor's ratsnest lands: no ratsnest is kept, so there are no ends to draw.
// Kept in a file of its own so that a test recording ghosts links its own.
#include "draw/ghost_seams.h"

void DrawInstanceRatsnestEnds(void*, const Tower*, pl3::Point) {}
