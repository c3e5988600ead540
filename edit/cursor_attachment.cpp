// Whether the current mode carries items with the cursor: kept apart from the
// other engine helpers so that tests faking it still link those.
#include <algorithm>
#include <cstddef>
#include <iterator>

#include "edit/window_data.h"
#include "objects/view_seams.h"

namespace {

// Selection and locator modes that carry items with the cursor.
constexpr std::uint8_t kSelectionModes[] = {39, 40};
constexpr std::uint8_t kCarryingModes[] = {51, 68, 69, 85};
constexpr std::uint8_t kLocatorMode = 71;
// Locator kinds placed by moving them with the cursor.
constexpr std::uint8_t kCarriedLocatorKinds[] = {1, 3, 4, 5, 8, 9, 13, 15};

template <std::size_t N>
bool OneOf(std::uint8_t v, const std::uint8_t (&set)[N]) {
  return std::find(std::begin(set), std::end(set), v) != std::end(set);
}

}  // namespace

int IsItemAttachedToCursor() {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  if (OneOf(w->EditMode, kSelectionModes)) return w->SelectionList != nullptr;
  if (OneOf(w->EditMode, kCarryingModes)) return 1;
  if (w->EditMode == kLocatorMode) return OneOf(w->InsertLocatorKind, kCarriedLocatorKinds);
  return 0;
}
