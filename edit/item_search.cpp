// The search for the best item near a point: every code visited (holes also
// with bit 2), the pick box painted from a PCB window's display list or
// walked through the design, and the window's hit list replaced by the hit.
#include <cstdint>

#include "draw/display_paint.h"
#include "draw/item_search_seams.h"
#include "edit/window_data.h"
#include "objects/dimensioner_seams.h"
#include "objects/frame_seams.h"
#include "objects/item_picking.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kFilterIncludeSelected = 0x40;  // bit 6
constexpr std::uint32_t kFilterBit8 = 0x100;
constexpr std::uint16_t kHoleHitFlags = 5;  // visited, and bit 2 for the hole drawing

}  // namespace

Tower* FindItemsNearPoint(std::int32_t x, std::int32_t y, std::uint8_t includeSelected, std::uint8_t useDisplayList) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return nullptr;
  const std::uint32_t savedFilter = w->ViewFlags;
  const std::uint32_t savedGhost = w->WalkFlags;
  w->ViewFlags |= kFilterIncludeSelected;
  if (!includeSelected) w->ViewFlags |= kFilterBit8;

  const NearestHitSearch search = BeginNearestHitSearch(x, y);
  FillNetFlagTable(1);
  WalkTypeFlags[Type_Hole] = kHoleHitFlags;
  ReleaseTower(&w->PreviousPick);
  if (w->editorKind == kEditorPcb && useDisplayList) {
    if (w->Display) PaintDisplayList(&search.box, static_cast<DisplayList*>(w->Display));
  } else if (w->design) {
    FindItemsInBox(&search.box, w->design, &w->PlacementTransform, 0);
  }
  Tower* hit = EndNearestHitSearch(search);
  if (hit) w->PreviousPick = DuplicateTower(hit);
  w->ViewFlags = savedFilter;
  w->WalkFlags = savedGhost;
  return hit;
}
