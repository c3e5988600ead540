// The item search for tests whose fake drawing would clash with the display
// list paint the real search pulls in: nothing lies near any point.
#include "objects/dimensioner_seams.h"

Tower* FindItemsNearPoint(std::int32_t, std::int32_t, std::uint8_t, std::uint8_t) { return nullptr; }
