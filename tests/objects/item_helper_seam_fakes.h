// Recording fakes of what the item helpers ask of the editing engine and the
// drawing code (objects/item_helper_seams.h).
#pragma once
#include <cstdint>
#include <vector>

#include "geometry/graphic_layouts.h"
#include "geometry/types.h"
#include "objects/item_helper_seams.h"

namespace itemseams {

struct Offset {
  std::uint16_t type;
  pl3::Point delta;
  int clamp;
};
struct Ghost {
  void* view;
  std::uint16_t type;
  pl3::Transform transform;  // the record's placement transform
  pl3::Transform ownTransform;  // a text's own transform (payload bytes 76 to 99)
  std::uint32_t walkFlags;   // the active window's walk flags during the call
  pl3::TrackLayout line{};   // a track's payload
};

struct Calls {
  std::vector<Offset> offsets;
  std::vector<Ghost> ghosts;
  std::vector<std::uint32_t> menuKinds;
  std::vector<DisplayItemView> displayItems;  // what VisitDisplayItems walks
};
Calls& Recorded();

}  // namespace itemseams
