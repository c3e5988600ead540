// The snapping of a dimensioner's placed points: to holes, pads and the grid.
#include <cstdlib>
#include <cstring>

#include "edit/window_data.h"
#include "objects/dimensioner_seams.h"
#include "objects/dimensioners.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "store/tower.h"

namespace {

// Per axis, the coordinate a hole gives: its centre within half its size,
// else the centre plus or minus the size on the cursor's side.
std::int32_t SnapToHoleAxis(std::int32_t cursor, std::int32_t centre, std::int32_t size) {
  const long long distance = static_cast<long long>(cursor) - centre;
  if (std::llabs(distance) * 2 <= size) return centre;
  return distance < 0 ? centre - size : centre + size;
}

// Per axis, the coordinate a pad's box gives: the low edge in the first
// quarter, the high edge in the last, else the middle.
std::int32_t SnapToPadAxis(std::int32_t cursor, std::int32_t low, std::int32_t high) {
  const long long quarter = (static_cast<long long>(high) - low) / 4;
  if (cursor <= low + quarter) return low;
  if (cursor >= high - quarter) return high;
  return static_cast<std::int32_t>((static_cast<long long>(low) + high) / 2);
}

Tower* ItemUnderCursor(std::int32_t x, std::int32_t y) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return nullptr;
  const std::uint32_t saved = w->PickFilter;
  w->PickFilter |= kDimensionerPickBit;
  Tower* item = FindItemsNearPoint(x, y, 1, 1);
  w->PickFilter = saved;
  return item;
}

}  // namespace

void SnapDimensionerPoint(std::int32_t* x, std::int32_t* y) {
  const pl3::Point cursor{*x, *y};
  Tower* item = ItemUnderCursor(*x, *y);
  if (!item) {
    SnapXY(x, y, 0);
    return;
  }
  bool gotX = false, gotY = false;
  Entity* e = TowerEntity(item);
  const std::uint16_t code = LastLevel(item).typeCode;
  if (code == Type_Hole && e && e->payloadSize >= sizeof(pl3::HoleLayout)) {
    pl3::HoleLayout hole;
    std::memcpy(&hole, EntityPayload(e), sizeof hole);
    *x = SnapToHoleAxis(cursor.x, hole.centreX, hole.size1);
    *y = SnapToHoleAxis(cursor.y, hole.centreY, hole.size1);
    gotX = gotY = true;
  } else if (code == Type_PadStackInstanceInfo || code == Type_PadStackInstanceHier) {
    pl3::Box box = pl3::kEmptyBox;
    GetBox(item, &box);
    if (box.xmin <= box.xmax) {
      *x = SnapToPadAxis(cursor.x, box.xmin, box.xmax);
      gotX = true;
    }
    if (box.ymin <= box.ymax) {
      *y = SnapToPadAxis(cursor.y, box.ymin, box.ymax);
      gotY = true;
    }
  }
  ReleaseTower(&item);
  if (gotX && gotY) return;
  CurrentWindowData* w = ActiveWindowData;
  if (w && (w->WalkFlags & kGridOverride)) return;
  std::int32_t gx = cursor.x, gy = cursor.y;
  SnapXY(&gx, &gy, 0);
  if (!gotX) *x = gx;
  if (!gotY) *y = gy;
}

