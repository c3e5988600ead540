// The transform of the selected item and of the item the current edit mode
// holds, read by the rotate, mirror and angle commands.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct CurrentWindowData;

// Edit code of a centroid whose direction is being set.
constexpr std::uint16_t kGrabCentroidDirection = 6;

// The transform of the active window's single primary selection by its type;
// 1 when found, 0 with several primary selections or a type without one.
int GetSelectedItemTransform(pl3::Transform* out);
// The transform of the item of the window's edit mode, its translation set to
// 0; 1 when found.
int GetModeItemTransform(const CurrentWindowData& state, pl3::Transform* out);
