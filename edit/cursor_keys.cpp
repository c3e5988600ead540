#include "edit/cursor_keys.h"

#include "draw/grids.h"
#include "edit/engine_seams.h"
#include "edit/mouse_road.h"
#include "edit/window_data.h"
#include "objects/cursor_zoom.h"
#include "objects/frame_seams.h"
#include "objects/grid_sets.h"
#include "objects/view_seams.h"
#include "platform/user.h"
#include "platform/user_constants.h"

namespace {

bool IsArrowKey(std::uint32_t key) { return key >= VK_LEFT && key <= VK_DOWN; }

// The cursor one step away on the key's axis, held in the editable area.
void StepCursor(CurrentWindowData& w, std::uint32_t key, std::int32_t step) {
  const bool horizontal = key == VK_LEFT || key == VK_RIGHT;
  if (w.AxisLock & (horizontal ? 1 : 2)) return;
  std::int32_t& value = horizontal ? w.Cursor.x : w.Cursor.y;
  const std::int64_t moved = (key == VK_LEFT || key == VK_UP) ? std::int64_t{value} - step : std::int64_t{value} + step;
  if (moved < kCursorKeyLowest || moved > kCursorKeyHighest) return;
  value = static_cast<std::int32_t>(moved);
}

}  // namespace

std::int32_t CursorKeyStep(std::uint32_t key) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  if (IsItemAttachedToCursor()) return static_cast<std::int32_t>(kFineSnapStep);
  const GridSet* set = WindowGridSet(*w);
  if (set && (set->flags & kGridSnap)) {
    const GridAxis& axis = (key == VK_LEFT || key == VK_RIGHT) ? set->current.x : set->current.y;
    const std::uint32_t unit = GridUnitSize(set->current.unit);
    if (axis.denominator != 0) {
      const std::int64_t step = std::int64_t{unit} * axis.numerator / axis.denominator;
      if (step > 0 && step <= kCursorKeyHighest) return static_cast<std::int32_t>(step);
    }
  }
  return static_cast<std::int32_t>(w->Zoom);
}

int MoveCursorByKey(HWND window, std::uint32_t key, ButtonRecord*, EntityRecord** pendingSlot) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  ++DrawingDepth;
  HDC dc = GetViewDC(window);
  const GridSet* set = WindowGridSet(*w);
  const bool carrying = IsItemAttachedToCursor() != 0;
  if (set && set->current.kind == kGridPolar) {
    PolarCursorStep(key);
  } else {
    if (IsArrowKey(key)) StepCursor(*w, key, CursorKeyStep(key));
    if (carrying)
      SnapXYFine(&w->Cursor.x, &w->Cursor.y);
    else
      SnapXY(&w->Cursor.x, &w->Cursor.y, 0);
  }
  EntityRecord** slot = pendingSlot ? pendingSlot : &w->PendingRecord;
  if (IsWorldPointInView(window, w->Cursor)) {
    SetCursorToPoint(window, w->Cursor);
    DoMouseMove(window, &w->Button, slot, 1);
  } else {
    GhostCurrentMode(window);
    CentreViewOnPoint(window, w->Cursor);
    GhostCurrentMode(window);
    w->DisplayedCursor = w->Cursor;
    DoMouseMove(window, &w->Button, slot, 1);
    UpdateStatusBar(window);
  }
  const int released = ReleaseViewDC(window, dc);
  --DrawingDepth;
  return released;
}
