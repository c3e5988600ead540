#include "objects/spiral_defaults.h"

#include <cmath>

#include "objects/graphic_records.h"

namespace {

// Coordinates are unsigned 32-bit values; sums wrap as they do.
std::int32_t Wrap(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }
double Unsigned(std::int32_t value) { return static_cast<double>(static_cast<std::uint32_t>(value)); }

}  // namespace

void ApplySpiralDefaults(SpiralPayload* s) {
  if (s->pitch <= 0) s->pitch = kDefaultSpiralPitch;
  if (s->start.x == 0 && s->start.y == 0) s->start = {Wrap(std::int64_t{s->centre.x} - s->pitch), s->centre.y};
  const bool noEnd = (s->end.x == 0 && s->end.y == 0) || (s->end.x == s->centre.x && s->end.y == s->centre.y);
  if (!noEnd) return;
  const double ax = std::fabs(Unsigned(s->start.x) - Unsigned(s->centre.x));
  const double ay = std::fabs(Unsigned(s->start.y) - Unsigned(s->centre.y));
  s->end.x = Wrap(static_cast<std::int64_t>(ax + 5.0 * s->pitch + Unsigned(s->centre.x)));
  s->end.y = Wrap(static_cast<std::int64_t>(ay + Unsigned(s->centre.y)));
}
