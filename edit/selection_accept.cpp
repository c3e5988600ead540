// Ending Edit Selection: the checks before an action, accept (the copies
// replace the originals), cancel (the copies go), and releasing the
// secondary records.
#include <cstdlib>
#include <cstring>

#include "edit/engine_seams.h"
#include "edit/item_boxes.h"
#include "edit/placing_seams.h"
#include "edit/polygon_points.h"
#include "edit/ratsnest_seams.h"
#include "edit/selection.h"
#include "edit/selection_actions.h"
#include "edit/selection_boxes.h"
#include "edit/selection_engine_seams.h"
#include "edit/selection_services.h"
#include "edit/window_data.h"
#include "objects/attribute_locators.h"
#include "objects/attribute_services.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/entity_copy.h"
#include "objects/frame_seams.h"
#include "objects/graphic_records.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

bool IsPrimary(const SelectionInfo* s) { return (s->flags & kSelectionPrimary) != 0; }

// The steps accept and cancel share: the block-origin marker goes, the
// nets of the moving points are noted, and a lone item's size becomes the
// one new items of its kind take.
void BeginEnding(HWND window, CurrentWindowData& w) {
  if (HDC dc = GetDC(window)) {
    GhostOriginMarkerOnDC(dc, w.BlockOrigin.x, w.BlockOrigin.y);
    ReleaseDC(window, dc);
  }
  CollectMovingPointNets();
  if (CountSelections(w.SelectionList, 1) == 1) {
    const SelectionInfo* only = GetFirstPrimarySelection(w.SelectionList);
    AdoptSelectionSize(SelectionItemType(only), only);
  }
}

// A view change waiting for its redraw widens the box to all the view shows.
void TakeFullRedraw(CurrentWindowData& w, pl3::Box* box) {
  if (!w.FullRedrawPending) return;
  *box = ShownWorldBox(w);
  w.FullRedrawPending = 0;
}

void FreeBlockOrigin(CurrentWindowData& w, const char* caption) {
  if (!w.OriginalBlockOrigin)
    MessageBox(nullptr, "Internal Error - CurrentWindowData->OriginalBlockOrigin not defined", caption, MB_OK);
  std::free(w.OriginalBlockOrigin);
  w.OriginalBlockOrigin = nullptr;
}

}  // namespace

void AcceptSelectionArray(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  BeginEnding(window, *w);
  pl3::Box* box = CommitSelectionEdits(&w->SelectionList);
  w->SelectionList = nullptr;
  FreeBlockOrigin(*w, "AcceptSelectionArray");
  if (w->editorKind == kEditorSchematic && NetNameUpdateOption()) UpdateNetNameLocators(w->design, 0);
  ClearToolMode(window);
  UpdateChangedNetMembers(0);
  TakeFullRedraw(*w, box);
  if (!IsEmptySelectionBox(*box)) RedrawViewRect(window, box, 1);
  std::free(box);
  if (w->editorKind == kEditorSchematic) AutoPackageSymbols();
}

void CancelSelectionArray(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  BeginEnding(window, *w);
  pl3::Box box = kSelectionEmptyBox;
  while (w->SelectionList) {
    SelectionInfo* s = w->SelectionList;
    if (pl3::Box* part = ApplySelectionInfo(s, kApplyRelease)) {
      UnionSelectionBox(&box, *part);
      std::free(part);
    }
    RemoveSelectionInfo(&w->SelectionList, s);
  }
  FreeBlockOrigin(*w, "CancelSelectionArray");
  UpdateChangedNetMembers(0);
  TakeFullRedraw(*w, &box);
  ClearToolMode(window);
  if (!IsEmptySelectionBox(box)) RedrawViewRect(window, &box, 1);
  SetSelectionAndOptionsMenus(0);
}

namespace {
pl3::Box ReleaseSecondaries(bool tracksToo) {
  pl3::Box box = kSelectionEmptyBox;
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return box;
  for (SelectionInfo* s = w->SelectionList; s;) {
    if (IsPrimary(s) || (!tracksToo && SelectionItemType(s) == Type_Track)) {
      s = s->next;
      continue;
    }
    if (pl3::Box* part = ApplySelectionInfo(s, kApplyRelease)) {
      UnionSelectionBox(&box, *part);
      std::free(part);
    }
    s = RemoveSelectionInfo(&w->SelectionList, s);
  }
  return box;
}
}  // namespace

pl3::Box ReleaseSecondarySelections() {
  pl3::Box box = ReleaseSecondaries(true);
  const SelectionInfo* list = ActiveWindowData ? ActiveWindowData->SelectionList : nullptr;
  SetSelectionAndOptionsMenus(list ? GetSelectionListMenuKind(list) : 0);
  return box;
}

pl3::Box ReleaseSecondaryNonTracks() { return ReleaseSecondaries(false); }

namespace {
void RedrawReleased(HWND window, const pl3::Box& box) {
  if (!IsEmptySelectionBox(box)) RedrawViewRect(window, &box, 1);
  InvalidateRect(window, nullptr, FALSE);
}
}  // namespace

void ReleaseSecondarySelectionsAndRedraw(HWND window) { RedrawReleased(window, ReleaseSecondarySelections()); }
void ReleaseSecondaryNonTracksAndRedraw(HWND window) { RedrawReleased(window, ReleaseSecondaryNonTracks()); }
