// Toggle Secondaries' rebuild of the items that follow the primary records:
// the wires of a schematic, the tracks and vias of the other editors.
#include "edit/selection.h"
#include "edit/window_data.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

void ReconsiderAllPrimarySelections(SelectionInfo** list) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !list) return;
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  for (const SelectionInfo* s = *list; s; s = s->next) {
    if ((s->flags & kSelectionPrimary) && !TowerEntity(s->workingCopy))
      MessageBox(nullptr, "Error - PassedInfo->CopyTower is NULL", "ReconsiderAllPrimarySelections", MB_OK);
  }
  if (w->editorKind == kEditorSchematic || w->editorKind == kEditorSchematicSymbol) CollectAttachedWires(list);
  else CollectAttachedTracks(list);
  SetCursor(previous);
}
