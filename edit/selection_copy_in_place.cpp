// Copy Selection in place: the working copies become new items and stay
// on the cursor, the originals keep their places.
#include <cstdlib>
#include <cstring>
#include "draw/view_redraw.h"
#include "edit/engine_seams.h"
#include "edit/ratsnest_seams.h"
#include "edit/selection.h"
#include "edit/selection_boxes.h"
#include "edit/selection_engine_seams.h"
#include "edit/selection_services.h"
#include "edit/window_data.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/group_texts.h"
#include "objects/locator_kinds.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "objects/selection_seams.h"
#include "platform/responder.h"
#include "platform/text_case.h"
#include "platform/user.h"
#include "store/tower.h"

SelectionInfo* CopySelectionInPlace(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return nullptr;
  if (SelectionHasUncopyableSymbols(w->SelectionList)) {
    MessageBox(window, "Can't copy symbols", "Copy Selection", MB_OK);
    return w->SelectionList;
  }
  if (SelectionHasDatum(w->SelectionList)) {
    MessageBox(window, "Can't copy datums.", "Copy Selection", MB_OK);
    return w->SelectionList;
  }
  pl3::Box box = kSelectionEmptyBox;
  if (HasSecondarySelections(w->SelectionList)) box = ReleaseSecondarySelections();
  for (pl3::Box* part : {GetSelectionBox(w->SelectionList, 0, 0), DetachSelectionCopies(w->SelectionList)}) {
    if (!part) continue;
    UnionSelectionBox(&box, *part);
    std::free(part);
  }
  if (!IsEmptySelectionBox(box)) RedrawViewRect(window, &box, 1);
  InvalidateRect(window, nullptr, FALSE);
  return w->SelectionList;
}
