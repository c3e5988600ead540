// Making a size the default of its list in the active window's size table.
// Kept apart from the other record-size helpers because it reaches up into
// the window state through seams.
#include "store/seams.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kLinesList = 0;
constexpr std::uint32_t kCirclesList = 1;
constexpr std::uint32_t kRectanglesList = 2;
constexpr std::uint32_t kHolesList = 3;
constexpr std::uint32_t kFontsList = 5;
constexpr std::uint32_t kNoList = 0xFFFFFFFF;

std::uint32_t SizeListOfType(std::uint16_t code) {
  switch (code) {
    case 1: case 2: case 10: case 11: case 35: case 37: case 28: case 29:
      return kLinesList;
    case 3:
      return kCirclesList;
    case 5: case 34:
      return kFontsList;
    case 6:
      return kRectanglesList;
    case 7: case 46: case 47:
      return kHolesList;
    default:
      return kNoList;
  }
}

}  // namespace

std::uint32_t SetDefaultSizeForType(std::uint32_t index, std::uint16_t code) {
  const std::uint32_t list = SizeListOfType(code);
  if (list == kNoList) return 0;
  // Wires and buses keep their current size in the design, not as the line
  // list's default.
  const bool wireOrBus = code == 28 || code == 29;
  if (!MarkActiveSizeEntry(list, index, !wireOrBus)) return 0;
  if (wireOrBus) SetCurrentSizeIndex(code, index, 0);
  return 1;
}
