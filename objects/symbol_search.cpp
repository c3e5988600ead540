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

constexpr std::uint16_t kTypePl2Symbol = 163;             // earlier-generation symbols

}  // namespace

Tower* FindClosestSymbol(std::int32_t x, std::int32_t y, std::uint8_t includeSelected) {
  return FindClosestOfCodes(x, y, includeSelected,
                            {kTypeSchematicSymbol, std::uint16_t{Type_SymbolInstance}, kTypePl2Symbol});
}
