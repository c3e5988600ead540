// A recording fake of the drawing code's entity ghosts (objects/editor_seams.h).
#include "objects/editor_seams.h"
#include "tests/objects/locator_draw_fakes.h"

void GhostEntityData(void*, std::uint16_t type, const void* payload, std::uint32_t flags,
                     const pl3::Transform* transform) {
  locatordraw::Drawn().ghosts.push_back(locatordraw::Entity(payload, type, transform, static_cast<int>(flags)));
}
