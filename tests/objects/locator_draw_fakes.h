// Recording fakes of the drawing code's text renderer and immediate drawing
// (objects/text_item_services.h, objects/drawing_seams.h) for the tests of
// the locator code: texts are built and measured by the real builders and
// layout, and what is drawn is recorded here. locator_ghost_fake.cpp records
// the XOR ghosts of entities too, for the programs that do not link another
// fake of it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/types.h"
#include "objects/graphic_records.h"

namespace locatordraw {

struct RenderedText {
  void* dc;
  std::string text;
  int mode;
  std::uint8_t layer;
  bool byIndex;                  // size flag bit 0
  std::uint32_t sizeIndex;
  std::int32_t size;             // the explicit size
  std::uint32_t font;            // the font word
  std::uint32_t justification;
  pl3::Transform textTransform;  // the item's own transform
  pl3::Transform transform;      // the one it was rendered under
  std::uint32_t walkFlags, stateFlags;  // the active window's, during the call
};

struct DrawnEntity {
  std::uint16_t type;
  std::uint8_t layer;
  LinePayload line;      // type 1
  CirclePayload circle;  // type 3
  pl3::Transform transform;
  int pass;
};

struct Calls {
  std::vector<RenderedText> texts;
  std::vector<DrawnEntity> entities;
  std::vector<DrawnEntity> ghosts;  // GhostEntityData, where locator_ghost_fake.cpp is linked
};
Calls& Drawn();
DrawnEntity Entity(const void* payload, std::uint16_t type, const pl3::Transform* transform, int pass);

}  // namespace locatordraw
