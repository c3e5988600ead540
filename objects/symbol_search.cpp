// The symbol under the cursor: the nearest-hit search over placed symbols
// alone, stepping through overlapping symbols on repeated calls. Kept apart
// from the other picks so that a test can stand in for it.
#include "edit/window_data.h"
#include "objects/frame_seams.h"
#include "objects/item_helper_seams.h"
#include "objects/item_picking.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "store/tower_queries.h"

namespace {

constexpr std::uint32_t kFilterIncludeSelected = 0x40;  // bit 6
constexpr std::uint32_t kFilterBit8 = 0x100;
constexpr std::uint32_t kFilterSymbolSearch = 0x4000000;  // bit 26
constexpr std::uint16_t kTypePl2Symbol = 163;             // earlier-generation symbols

}  // namespace

Tower* FindClosestSymbol(std::int32_t x, std::int32_t y, std::uint8_t includeSelected) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return nullptr;
  const std::uint32_t savedFilter = w->ViewFlags;
  const std::uint32_t savedDrawing = w->WalkFlags;
  w->ViewFlags = (w->ViewFlags & ~kFilterIncludeSelected) | kFilterSymbolSearch;
  if (!includeSelected) w->ViewFlags |= kFilterBit8;
  const NearestHitSearch search = BeginNearestHitSearch(x, y);
  FillNetFlagTable(0);
  for (std::uint16_t code : {kTypeSchematicSymbol, std::uint16_t{Type_SymbolInstance}, kTypePl2Symbol}) WalkTypeFlags[code] = 1;
  Tower* picked = WalkFromPreviousPick(w, search);
  w->ViewFlags = savedFilter;
  w->WalkFlags = savedDrawing;
  return picked;
}
