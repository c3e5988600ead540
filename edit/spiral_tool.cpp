// The spiral tool's ghost steps that move its centre, start point and end
// point or set its pitch while the mouse moves (the record is begun in
// edit/spiral_begin.cpp). The clicks between them and the accept are the design
// objects' spiral steps (objects/editor_input.h).
#include "edit/spiral_tool.h"

#include <cmath>
#include <memory>

#include "draw/grids.h"
#include "edit/edit_modes.h"
#include "edit/key_command_seams.h"
#include "edit/window_data.h"
#include "objects/editor_seams.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/selection_menus.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

// One ghost step: the old record's ghost is drawn over (erased), the value
// set, the new ghost drawn.
template <typename Set>
void SpiralGhostStep(HDC dc, EntityRecord** slot, Set set) {
  EntityRecord* record = slot ? *slot : nullptr;
  if (!record || record->header.recordType != Type_Spiral) return;
  const EntityRecord old = *record;
  set(record->as<SpiralPayload>());
  DrawSpiral(dc, &old);
  DrawSpiral(dc, record);
}

pl3::Point SnappedPoint(pl3::Point p) {
  SnapXY(&p.x, &p.y, 0);
  return p;
}

}  // namespace

void MoveSpiralCentre(HDC dc, EntityRecord** slot, ButtonRecord* cursor) {
  if (cursor) SpiralGhostStep(dc, slot, [&](SpiralPayload& s) { s.centre = SnappedPoint(cursor->Cursor); });
}

void MoveSpiralStart(HDC dc, EntityRecord** slot, ButtonRecord* cursor) {
  if (cursor) SpiralGhostStep(dc, slot, [&](SpiralPayload& s) { s.start = SnappedPoint(cursor->Cursor); });
}

void MoveSpiralEnd(HDC dc, EntityRecord** slot, ButtonRecord* cursor) {
  if (cursor) SpiralGhostStep(dc, slot, [&](SpiralPayload& s) { s.end = cursor->Cursor; });
}

void SetSpiralPitch(HDC dc, EntityRecord** slot, ButtonRecord* cursor) {
  if (!cursor) return;
  SpiralGhostStep(dc, slot, [&](SpiralPayload& s) {
    const pl3::Point at = SnappedPoint(cursor->Cursor);
    const double dx = static_cast<double>(at.x) - s.start.x, dy = static_cast<double>(at.y) - s.start.y;
    s.pitch = static_cast<std::int32_t>(std::sqrt(dx * dx + dy * dy));
  });
}

int UpdateSpiralGhost(std::uint8_t mode, HDC dc, EntityRecord** slot, ButtonRecord* cursor) {
  switch (mode) {
    case Mode_AddNewSpiral: MoveSpiralCentre(dc, slot, cursor); return 1;
    case Mode_SetSpiralStartPoint: MoveSpiralStart(dc, slot, cursor); return 1;
    case Mode_SetSpiralPitch: SetSpiralPitch(dc, slot, cursor); return 1;
    case Mode_SetSpiralEndPoint: MoveSpiralEnd(dc, slot, cursor); return 1;
    default: return 0;
  }
}
