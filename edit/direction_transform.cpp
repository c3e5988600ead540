// The rotation that turns the engine's upright items toward a direction.
#include <cmath>
#include <numbers>

#include "edit/angle_entry.h"
#include "edit/drag_geometry.h"
#include "objects/editor_seams.h"

void MakeDirectionTransform(pl3::Transform* out, pl3::Point direction, double angle) {
  if (!out) return;
  if (direction.x == 0) {
    *out = direction.y >= 0 ? kHalfTurn : pl3::kIdentityTransform;
  } else if (direction.y == 0) {
    *out = direction.x > 0 ? kClockwiseQuarterTurn : kAnticlockwiseQuarterTurn;
  } else {
    const double degrees =
        std::atan2(static_cast<double>(direction.x), -static_cast<double>(direction.y)) * 180.0 / std::numbers::pi;
    MakeRotationTransform(degrees + angle, out);
  }
}
