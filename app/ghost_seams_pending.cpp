// Stand-in for the ratsnest lines of the ghosts until their owner lands: it
// draws nothing (the item still changes, it only shows later). Kept in a
// file of its own so that a test recording ghosts links its own version.
#include "draw/ghost_seams.h"

void DrawRatsnestLines(void*) {}
