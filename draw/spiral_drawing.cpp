// A spiral drawn quarter arc by quarter arc: into a device context as an XOR
// ghost in its layer's entity pen (the arc ghost without its radius lines),
// or, with no context, into the raster kernel under the record's transform,
// as the walk draws stored spirals.
#include <cstring>

#include "draw/draw_flags.h"
#include "draw/ghosts.h"
#include "draw/spiral_geometry.h"
#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"

namespace {

struct SpiralDraw {
  void* dc;
  const pl3::Transform* transform;
  pl3::ArcLayout base;
};

void DrawQuarter(const SpiralQuarter& q, void* context) {
  auto* d = static_cast<SpiralDraw*>(context);
  if (q.from.x == q.to.x && q.from.y == q.to.y) return;
  pl3::ArcLayout arc = SpiralQuarterArc(q, d->base);
  if (d->dc) {
    GhostArcData(d->dc, arc, 0, d->transform, Type_Arc);
  } else {
    pl3::TransformAndDrawArc(&arc, d->transform);
  }
}

}  // namespace

void DrawSpiral(void* dc, const EntityRecord* record) {
  if (!record) return;
  SpiralPayload spiral;
  std::memcpy(&spiral, record->payload, sizeof spiral);
  PrepareSpiralForDrawing(&spiral);
  SpiralDraw d{dc, &record->header.transform, {}};
  d.base.head = spiral.head;
  d.base.head.transform = pl3::kIdentityTransform;
  d.base.head.sizeFlags = 0;
  d.base.width = SpiralDrawnWidth(spiral);
  // The quarters are one item: none of them shows the radius lines of an arc.
  CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t saved = w ? w->StateFlags : 0;
  if (w) w->StateFlags |= kStateNoArcRadii;
  ForEachSpiralQuarter(spiral, &DrawQuarter, &d);
  if (w) w->StateFlags = saved;
}
