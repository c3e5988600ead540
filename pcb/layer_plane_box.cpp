// The plane box the clearance drawing asks for (draw/draw_seams.h), read from
// the active window's plane-extent table.
#include "draw/draw_seams.h"
#include "edit/window_data.h"
#include "pcb/layer_counts.h"

int GetLayerPlaneBox(std::uint8_t layer, pl3::Box* box) {
  if (!LayerHasPlane(layer) || !box) return 0;
  *box = ActiveWindowData->Pcb.LayerExtents[layer];
  return 1;
}
