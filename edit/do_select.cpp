// The Select click in idle or Edit Selection: a rectangle dragged beyond
// the tolerance selects what it holds, else the object under the cursor is
// picked; the edit mode, menus, ratsnest lines and status bar follow.
#include "draw/display_paint.h"
#include "draw/view_markers.h"
#include "edit/engine_seams.h"
#include "edit/object_select.h"
#include "edit/placing_seams.h"
#include "edit/picking.h"
#include "edit/selection.h"
#include "edit/selection_engine_seams.h"
#include "edit/window_data.h"
#include "geometry/view_mapping.h"
#include "objects/design_helpers.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"

std::uint32_t SelectionOptionWord = 0;
std::uint32_t SelectionCount = 0;

namespace {

void ResetSelectionOptions() {
  SelectionOptionWord = 0;
  SelectionCount = 0;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetSelectionOptions);

constexpr std::uint8_t kModeEditSelection = 39;
constexpr std::uint8_t kModeHeldItems = 45;
constexpr int kPickToSelect = 1;

bool ModeTakesSelection(std::uint8_t mode) {
  return mode == 0 || mode == kModeEditSelection || mode == kModeHeldItems;
}

void SelectDraggedRectangle(HWND window, CurrentWindowData* w) {
  // The drag corners are world points; the rectangle selection takes client pixels.
  pl3::Point from = w->DragStart, to = w->DragCurrent;
  pl3::WorldToView(from.x, from.y);
  pl3::WorldToView(to.x, to.y);
  const RECT rectangle{from.x, from.y, to.x, to.y};
  SelectionOptionWord |= kSelectionByRectangle;
  SelectionCount = 0;
  const int selected = SelectItemsInRectangle(&rectangle);
  const std::uint8_t mode = w->EditMode;
  // A selection being edited keeps its view; its block origin is shown again.
  if (mode == kModeEditSelection) ShowOriginMarker(window, w->BlockOrigin.x, w->BlockOrigin.y);
  else if (mode != kModeHeldItems) RedrawView(window);
  if (ModeTakesSelection(mode) && selected) UpdateAfterSelectionChange(window, nullptr, 0);
  if (w->editorKind == kEditorPcb && w->design)
    w->Display = RebuildDisplayList(w->design, static_cast<DisplayList*>(w->Display));
  RedrawView(window);
  SelectionOptionWord &= ~kSelectionByRectangle;
}

}  // namespace

void DoSelect(HWND window, ButtonRecord* button, EntityRecord** /*pendingSlot*/) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  w->ClickState = 1;
  if (w->SelectionList) ReleaseSecondarySelectionsAndRedraw(window);
  if (DragBoxExceedsTolerance()) {
    SelectDraggedRectangle(window, w);
  } else {
    // A click that took an item announces the change, also when it emptied
    // the selection (the only selected item clicked again); a click on
    // nothing leaves the mode and menus as they are.
    const int picked = PickObjectAtCursor(window, button ? button : &w->Button, kPickToSelect);
    RedrawView(window);
    if (picked) UpdateAfterSelectionChange(window, nullptr, 0);
  }
  RefreshRatsnestLines();
  UpdateStatusBar(window);
}
