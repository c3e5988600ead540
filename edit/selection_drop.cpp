// Before Copy Selection, when the user agreed to drop what cannot be copied:
// centroids, pins, pl2 symbols, info boxes and placed symbols leave the
// selection as they were. Kept apart: tests of the frame stand in for it.
#include <cstdlib>

#include "draw/view_redraw.h"
#include "edit/selection.h"
#include "edit/selection_boxes.h"
#include "edit/window_data.h"
#include "objects/group_texts.h"
#include "objects/type_codes.h"
#include "platform/user.h"

namespace {

bool IsUncopyable(const SelectionInfo* s) {
  switch (SelectionItemType(s)) {
    case Type_Centroid: case Type_SymbolPin: case kTypeTextGroup: case Type_InfoBoxHier:
      return true;
    case Type_SymbolInstance:
      return !IsSymbolCopyable(s->workingCopy ? s->workingCopy : s->original);
    default:
      return false;
  }
}

}  // namespace

void DropUncopyableItems(HWND window, SelectionInfo** list) {
  if (!list || !*list) return;
  pl3::Box* before = GetSelectionBox(*list, 1, 0);
  // Each drop may change the list: the search starts again from its head.
  for (SelectionInfo* s = *list; s;) {
    if (!IsUncopyable(s)) {
      s = s->next;
      continue;
    }
    std::free(ApplySelectionInfo(s, kApplyRelease));
    RemoveSelectionInfo(list, s);
    s = *list;
  }
  if (before && !IsEmptySelectionBox(*before)) RedrawViewRect(window, before, 1);
  std::free(before);
}
