#include "tests/objects/locator_draw_fakes.h"

#include <cstring>

#include "edit/window_data.h"
#include "objects/drawing_seams.h"
#include "objects/text_item_services.h"
#include "platform/reset_hooks.h"

namespace locatordraw {

Calls& Drawn() {
  static Calls calls;
  return calls;
}

DrawnEntity Entity(const void* payload, std::uint16_t type, const pl3::Transform* transform, int pass) {
  DrawnEntity e{};
  e.type = type;
  e.layer = static_cast<const GraphicHead*>(payload)->layer;
  if (type == 1) std::memcpy(&e.line, payload, sizeof e.line);
  if (type == 3) std::memcpy(&e.circle, payload, sizeof e.circle);
  e.transform = transform ? *transform : pl3::kIdentityTransform;
  e.pass = pass;
  return e;
}

namespace {
const bool registered = pl3::RegisterGlobalReset([] { Drawn() = Calls{}; });
}  // namespace

}  // namespace locatordraw

using locatordraw::Drawn;

void RenderTextEntity(void* dc, const TextPayload* item, std::uint8_t mode, const pl3::Transform* transform) {
  locatordraw::RenderedText r{};
  r.dc = dc;
  r.text = item->text;
  r.mode = mode;
  r.layer = item->head.layer;
  r.byIndex = (item->head.sizeFlags & kSizeByIndex) != 0;
  r.sizeIndex = item->head.sizeIndex;
  r.size = item->size;
  std::memcpy(&r.font, item->bytes52, sizeof r.font);
  r.justification = item->justification;
  r.textTransform = item->textTransform;
  r.transform = transform ? *transform : pl3::kIdentityTransform;
  r.walkFlags = ActiveWindowData ? ActiveWindowData->WalkFlags : 0;
  r.stateFlags = ActiveWindowData ? ActiveWindowData->StateFlags : 0;
  Drawn().texts.push_back(r);
}

void DrawEntityByType(const void* payload, std::uint16_t type, const pl3::Transform* transform, int pass) {
  Drawn().entities.push_back(locatordraw::Entity(payload, type, transform, pass));
}
