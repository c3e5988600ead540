// The walks that end a selection into the design: commit (the accept road),
// delete with its confirmation and the master datum, and Copy Selection.
#include <cstdlib>
#include <cstring>

#include "draw/view_redraw.h"
#include "edit/engine_seams.h"
#include "edit/line_segments.h"
#include "edit/placing_seams.h"
#include "edit/ratsnest_seams.h"
#include "edit/selection.h"
#include "edit/selection_boxes.h"
#include "edit/selection_engine_seams.h"
#include "edit/selection_services.h"
#include "edit/window_data.h"
#include "edit/wire_cleanup.h"
#include "objects/attribute_locators.h"
#include "objects/attribute_services.h"
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

namespace {

void DropTouchedWires() {
  FreeLineSegments(TouchedWires);
  TouchedWires = nullptr;
}

// A schematic's moved wires are cut and joined against the page and stored;
// other editors have none.
void StoreTouchedWires(const CurrentWindowData& w, pl3::Box* box) {
  LineSegment* touched = TouchedWires;
  TouchedWires = nullptr;
  if (w.editorKind == kEditorSchematic) CleanUpOrthogonalLines(touched, box);
  else FreeLineSegments(touched);
}

bool IsLineOrWire(std::uint16_t type) { return type == Type_Track || type == Type_Wire || type == Type_Bus; }

std::uint16_t LocatorKindOf(const Tower* t) {
  const Entity* e = TowerEntity(t);
  if (!e || e->typeCode != Type_AttributeLocator || e->payloadSize < sizeof(LocatorPayload)) return 0;
  return reinterpret_cast<const LocatorPayload*>(EntityPayload(e))->kind;
}

// The records whose undo entries ApplySelectionInfo writes itself.
bool UndoRecordedByCommit(const CurrentWindowData& w, const SelectionInfo* s) {
  const std::uint16_t type = SelectionItemType(s);
  if (w.editorKind == kEditorSchematic)
    return IsLineOrWire(type) ||
           (type == Type_AttributeLocator && IsTextKindWithSmallDot(LocatorKindOf(s->workingCopy)));
  switch (type) {
    case Type_Track: case Type_RoutedLine: case Type_BoardOutlineLine: case Type_PlatedSlot: case Type_NonPlatedSlot:
    case Type_Wire: case Type_Bus:
      return true;
    case Type_Hole: case Type_Via:
      return IsHoleOnPad(s->workingCopy) != 0;
    default:
      return false;
  }
}

void RecordEntry(const CurrentWindowData& w, const SelectionInfo* s) {
  const NodeRef copy = NodeRefOf(TowerEntity(s->workingCopy));
  if (!copy) return;
  if (TowerEntity(s->original)) {
    Tower* entry = RecordUndoModify(s->original, copy, w.UndoStep);
    ReleaseTower(&entry);
  } else {
    RecordUndoInsert(copy, w.UndoStep);
  }
}

void UnionAndFree(pl3::Box* into, pl3::Box* part) {
  if (!part) return;
  UnionSelectionBox(into, *part);
  std::free(part);
}

void RecordRemoval(const Tower* item, std::uint32_t step) {
  Tower* entry = RecordUndoRemove(item, step);
  ReleaseTower(&entry);
}

// A net-carrying locator (3, 9, 13, 15) is deleted with the attribute it
// stands for, and that delete records the removal of both: a second entry
// for the locator would bring it back twice.
bool DeleteRecordsItsOwnRemoval(const SelectionInfo* s) {
  switch (LocatorKindOf(s->original)) {
    case 3: case 9: case 13: case 15: return true;
    default: return false;
  }
}

bool IsMasterDatum(const SelectionInfo* s) {
  const Entity* e = TowerEntity(s->original);
  if (!e || e->typeCode != Type_Datum || e->payloadSize <= offsetof(DatumPayload, name)) return false;
  const char* name = reinterpret_cast<const DatumPayload*>(EntityPayload(e))->name;
  const std::size_t room = e->payloadSize - offsetof(DatumPayload, name);
  return strnlen(name, room) < room && pl3::EqualsNoCase(name, "MASTER");
}

}  // namespace

pl3::Box* CommitSelectionEdits(SelectionInfo** list) {
  pl3::Box* box = NewSelectionBox();
  CurrentWindowData* w = ActiveWindowData;
  DropTouchedWires();
  if (!w) return box;
  while (*list) {
    SelectionInfo* s = *list;
    if (!UndoRecordedByCommit(*w, s)) RecordEntry(*w, s);
    UnionAndFree(box, ApplySelectionInfo(s, kApplyCommit));
    RemoveSelectionInfo(list, s);
  }
  StoreTouchedWires(*w, box);
  CloseUndoStep(*w, "Edit Selection");
  return box;
}

pl3::Box* DeleteSelectionItems(SelectionInfo** list) {
  pl3::Box* box = NewSelectionBox();
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return box;
  DropTouchedWires();
  while (*list) {
    SelectionInfo* s = *list;
    const std::uint16_t type = SelectionItemType(s);
    int action = kApplyDelete;
    if (!(s->flags & kSelectionPrimary)) {
      action = kApplyRelease;
    } else if (IsMasterDatum(s)) {
      MessageBox(static_cast<HWND>(w->Window), "You cannot delete the master datum", "Pelmora3", MB_OK | MB_ICONEXCLAMATION);
      action = kApplyRelease;
    } else if (TowerEntity(s->original) && type != Type_SchematicSymbol && !DeleteRecordsItsOwnRemoval(s)) {
      RecordRemoval(s->original, w->UndoStep);
    }
    UnionAndFree(box, ApplySelectionInfo(s, action));
    RemoveSelectionInfo(list, s);
  }
  StoreTouchedWires(*w, box);
  CloseUndoStep(*w, "Delete Selection");
  return box;
}

int DeleteSelectionArray(HWND window, int ask) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->SelectionList) return 0;
  if (ask && DeleteConfirmCount != 0 &&
      static_cast<std::uint32_t>(CountSelections(w->SelectionList, 1)) >= DeleteConfirmCount &&
      MessageBox(window, "Are you sure you wish to delete this selection?", "Delete Selection",
                  MB_YESNO | MB_ICONQUESTION) != IDYES)
    return 0;
  CollectMovingPointNets();
  pl3::Box* box = DeleteSelectionItems(&w->SelectionList);
  std::free(w->OriginalBlockOrigin);
  w->OriginalBlockOrigin = nullptr;
  if (w->editorKind == kEditorSchematic && NetNameUpdateOption()) UpdateNetNameLocators(w->design, 0);
  UpdateChangedNetMembers(0);
  if (!IsEmptySelectionBox(*box)) RedrawViewRect(window, box, 1);
  std::free(box);
  SetSelectionAndOptionsMenus(0);
  ClearToolMode(window);
  InvalidateRect(window, nullptr, FALSE);
  return 1;
}

pl3::Box* DetachSelectionCopies(SelectionInfo* list) {
  pl3::Box* box = NewSelectionBox();
  for (SelectionInfo* s = list; s; s = s->next) {
    s->grabbedPart = kGrabWhole;
    UnionAndFree(box, ApplySelectionInfo(s, kApplyKeepCopy));
  }
  return box;
}
