// The ghosts of the selection: every working copy XOR-drawn where it is.
#include <cstdlib>
#include <cstring>
#include "draw/ghost_seams.h"
#include "edit/key_command_seams.h"
#include "edit/selection.h"
#include "edit/selection_services.h"
#include "edit/window_data.h"
#include "objects/dimensioners.h"
#include "objects/editor_seams.h"
#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "objects/group_texts.h"
#include "objects/info_boxes.h"
#include "objects/item_helper_seams.h"
#include "objects/locator_dispatch.h"
#include "objects/selection_seams.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

void GhostSelectionArray(HDC dc, const SelectionInfo* list) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  for (const SelectionInfo* s = list; s; s = s->next) {
    if (s->flags & kSelectionHasInstanceInfo) {
      GhostInstanceSelection(dc, s, w->BlockOrigin);
      continue;
    }
    const Entity* e = TowerEntity(s->workingCopy);
    if (!e) continue;
    const bool assisted = ((s->flags & kSelectionPrimary) != 0) && e->typeCode == Type_Track && TowerEntity(s->original);
    GhostEntityData(dc, e->typeCode, EntityPayload(e), assisted ? w->SelectionAngleAssist : 0,
                    &pl3::kIdentityTransform);
  }
  GhostOriginMarkerOnDC(dc, w->BlockOrigin.x, w->BlockOrigin.y);
}
