#include "edit/item_selection_commands.h"

#include "edit/placing_seams.h"
#include "edit/selection_engine_seams.h"
#include "edit/window_data.h"
#include "objects/display_list_seams.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/responder.h"
#include "store/tower.h"

namespace {

bool IsDeletableGraphic(std::uint16_t code) {
  return (code >= Type_Track && code <= Type_RoutedLine) ||
         (code >= Type_StarEarthTrack && code <= Type_BoardOutlineLine) ||
         (code >= Type_PolygonKeepout && code <= Type_NonPlatedSlot) || code == Type_PolygonWiringKeepout;
}

// Deletes the item from the design (and a PCB window's display list) and
// drops the window's selection.
void DeleteFromDesign(CurrentWindowData& w) {
  if (void* list = RemoveFromDisplayList(w.Display, w.Selection)) w.Display = list;
  Tower* item = w.Selection;
  w.Selection = nullptr;
  DeleteEntity(item);
  ReleaseTower(&item);
  ClearSelection();
}

}  // namespace

int DeleteSelection(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  const Entity* e = TowerEntity(w->Selection);
  if (!e) {
    MessageBox(window, "Internal error - Attempt to delete NULL CurrentWindowData->Selection", "DeleteSelection",
                MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    return 0;
  }
  const std::uint16_t code = e->typeCode;
  if (IsDeletableGraphic(code) || code == Type_Shape || code == Type_DesignatorData) {
    DeleteFromDesign(*w);
    return 1;
  }
  if (code == Type_ShapeDefinition) {
    ClearSelection();
    return 1;
  }
  return 0;
}

int LoadShapeIntoWindow(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->Selection) return 0;
  Tower* loaded = LoadShapeForInsertion(window, w->design, "shape");
  if (!loaded) return 0;
  ReleaseTower(&w->Selection);
  w->Selection = loaded;
  ReleaseTower(&w->RememberedShape);
  w->RememberedShape = DuplicateTower(loaded);
  w->InsertionTransform = pl3::kIdentityTransform;
  return 1;
}
