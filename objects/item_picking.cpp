#include "objects/item_picking.h"

#include <cmath>
#include <cstdlib>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/area_pick_seams.h"
#include "objects/design_helpers.h"
#include "objects/frame_seams.h"
#include "objects/item_helper_seams.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/menus.h"
#include "platform/user.h"
#include "store/tower.h"
#include "store/tower_queries.h"

namespace {

constexpr std::uint32_t kFilterIncludeSelected = 0x40;  // bit 6
constexpr std::uint32_t kFilterBit8 = 0x100;
constexpr std::uint32_t kFilterStopAfterStopTower = 0x20;  // bit 5
constexpr std::uint32_t kFilterSymbolSearch = 0x4000000;   // bit 26
// Earlier-generation symbols.
constexpr std::uint16_t kTypePl2Symbol = 163;
// The largest squared view distance the nearest-hit search accepts; the
// aperture, the best distance it starts from, bounds a pick.
constexpr std::uint32_t kLargestHitDistanceSquared = 0xFFFFFFFFu;
// Drawing in the nearest-hit mode measures instead of painting.
constexpr std::uint8_t kHitTestAction = WalkAction_Draw;

std::int32_t RoundedBound(double v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(std::llround(v))));
}

}  // namespace

NearestHitSearch BeginNearestHitSearch(std::int32_t x, std::int32_t y) {
  NearestHitSearch search;
  const double reach = static_cast<double>(PickDistance) * static_cast<double>(ActiveWindowData->Zoom);
  const double px = static_cast<std::uint32_t>(x), py = static_cast<std::uint32_t>(y);
  search.box = {RoundedBound(px - reach), RoundedBound(py - reach), RoundedBound(px + reach), RoundedBound(py + reach)};
  pl3::RasterState& kernel = pl3::g_raster;
  search.savedTarget = kernel.spanTarget;
  std::int32_t hx = x, hy = y;
  pl3::WorldToView(hx, hy);
  kernel.spanTarget = pl3::kTargetNearestHit;
  kernel.hitX = hx;
  kernel.hitY = hy;
  kernel.maxDistanceSquared = kLargestHitDistanceSquared;
  const std::uint64_t aperture = static_cast<std::uint64_t>(PickDistance) * PickDistance;
  kernel.bestDistanceSquared = aperture > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(aperture);
  kernel.hitFound = 0;
  pl3::ReleaseTowerRef(kernel.bestEntity);
  return search;
}

Tower* EndNearestHitSearch(const NearestHitSearch& search) {
  pl3::RasterState& kernel = pl3::g_raster;
  kernel.spanTarget = search.savedTarget == pl3::kTargetNearestHit ? std::uint8_t{pl3::kTargetPlane} : search.savedTarget;
  Tower* picked = nullptr;
  if (kernel.hitFound && kernel.bestEntity) picked = DuplicateTower(kernel.bestEntity);
  pl3::ReleaseTowerRef(kernel.bestEntity);
  return picked;
}

// The walk of PickClosestItem and FindClosestSymbol: the window's previous
// pick leads (bit 5) when it still stands, else it is dropped; a hit replaces it.
Tower* WalkFromPreviousPick(CurrentWindowData* w, const NearestHitSearch& search) {
  pl3::Box box = search.box;
  if (w->PreviousPick && IsTowerValid(w->PreviousPick, 0)) {
    w->ViewFlags |= kFilterStopAfterStopTower;
    PerformTowerActionRecursive(&pl3::kIdentityTransform, w->PreviousPick, &box, 0, kHitTestAction, 0, 0);
    PerformTowerAction(&pl3::kIdentityTransform, w->design, &box, 0, kHitTestAction, 0);
    w->ViewFlags &= ~kFilterStopAfterStopTower;
  } else {
    ReleaseTower(&w->PreviousPick);
    PerformTowerAction(&pl3::kIdentityTransform, w->design, &box, 0, kHitTestAction, 0);
  }
  Tower* picked = EndNearestHitSearch(search);
  if (picked) {
    ReleaseTower(&w->PreviousPick);
    w->PreviousPick = DuplicateTower(picked);
  }
  return picked;
}

Tower* PickClosestItem(std::int32_t x, std::int32_t y, int keepFilter) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return nullptr;
  const std::uint32_t savedFilter = w->ViewFlags;
  const std::uint32_t savedDrawing = w->WalkFlags;
  w->ViewFlags &= ~kFilterIncludeSelected;
  if (!keepFilter) w->ViewFlags |= kFilterBit8;
  const NearestHitSearch search = BeginNearestHitSearch(x, y);
  FillNetFlagTable(0);
  WalkTypeFlags[Type_Plane] = 1;
  Tower* picked = WalkFromPreviousPick(w, search);
  w->ViewFlags = savedFilter;
  w->WalkFlags = savedDrawing;
  return picked;
}

Tower* FindClosestOfCodes(std::int32_t x, std::int32_t y, std::uint8_t includeSelected,
                          std::initializer_list<std::uint16_t> codes) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return nullptr;
  const std::uint32_t savedFilter = w->ViewFlags;
  const std::uint32_t savedDrawing = w->WalkFlags;
  w->ViewFlags = (w->ViewFlags & ~kFilterIncludeSelected) | kFilterSymbolSearch;
  if (!includeSelected) w->ViewFlags |= kFilterBit8;
  const NearestHitSearch search = BeginNearestHitSearch(x, y);
  FillNetFlagTable(0);
  for (std::uint16_t code : codes) WalkTypeFlags[code] = 1;
  Tower* picked = WalkFromPreviousPick(w, search);
  w->ViewFlags = savedFilter;
  w->WalkFlags = savedDrawing;
  return picked;
}

Tower* ChooseOverlappingItem(HWND owner) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  std::uint32_t count = 0;
  for (const Tower* candidate; (candidate = AreaPickCandidate(count)) != nullptr; ++count) {
    char* text = DescribeObject(candidate);
    if (!text) continue;  // no entry, but the index is kept
    AppendMenuA(menu, MF_STRING, kOverlapMenuFirstId + count, text);
    std::free(text);
  }
  POINT at{};
  GetCursorPos(&at);
  const auto chosen = static_cast<std::uint32_t>(TrackOwnerDrawnPopupMenu(menu, TPM_RETURNCMD, at.x, at.y, owner));
  DestroyOwnerDrawnMenu(menu);
  if (chosen < kOverlapMenuFirstId || chosen - kOverlapMenuFirstId >= count) return nullptr;
  const Tower* candidate = AreaPickCandidate(chosen - kOverlapMenuFirstId);
  return candidate ? DuplicateTower(candidate) : nullptr;
}
