// The program's stand-in for the PCB editor's plane boxes of
// draw/draw_seams.h until the plane data lands: every layer counts as
// covered by a plane, so the clearance view draws every clearance, as it
// would inside a region render.
#include "draw/draw_seams.h"

int GetLayerPlaneBox(std::uint8_t, pl3::Box* box) {
  *box = pl3::Box{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  return 1;
}
