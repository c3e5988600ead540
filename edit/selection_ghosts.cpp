// The ghosts of the selection: every working copy XOR-drawn where it is, by
// its type, and the block origin's marker.
#include <cstdlib>
#include <cstring>
#include "draw/ghost_seams.h"
#include "edit/item_boxes.h"
#include "edit/key_command_seams.h"
#include "edit/selection.h"
#include "edit/selection_services.h"
#include "edit/window_data.h"
#include "objects/design_helpers.h"
#include "objects/dimensioner_seams.h"
#include "objects/dimensioners.h"
#include "objects/drawing_seams.h"
#include "objects/locator_kinds.h"
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

namespace {

// The types drawn as plain graphics by their payload.
bool GhostsAsGraphic(std::uint16_t type) {
  switch (type) {
    case 1: case 2: case 3: case 4: case 6: case 7: case 8: case 9: case 10: case 11: case 18: case 19:
    case 21: case 22: case 23: case 24: case 28: case 29: case 34: case 35: case 37: case 38: case 39:
    case 41: case 42: case 43: case 44: case 45: case 46: case 47: case 49:
      return true;
    default:
      return false;
  }
}

// A pl2 symbol or an info box: its box outlined, with a leader to its own point.
void GhostBoxOf(HDC dc, const Tower* item, std::uint16_t type) {
  pl3::Box box{};
  const bool found = type == Type_InfoBoxHier ? GetInfoBoxBox(item, &box) != 0 : GetBox(item, &box) != 0;
  if (!found) return;
  pl3::Point at{static_cast<std::int32_t>(box.xmin / 2 + box.xmax / 2),
                static_cast<std::int32_t>(box.ymin / 2 + box.ymax / 2)};
  if (const auto* origin = static_cast<const OriginRecord*>(GetEntityData(item, Type_Origin))) at = {origin->x, origin->y};
  GhostBoxWithLeader(dc, box, at);
}

}  // namespace

void GhostSelectionInfo(HDC dc, const SelectionInfo* s) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !s) return;
  if (s->hasInstanceInfo()) {
    GhostInstanceSelection(dc, s, w->BlockOrigin);
    return;
  }
  const Entity* e = TowerEntity(s->workingCopy);
  if (!e) return;
  const std::uint16_t type = e->typeCode;
  const void* payload = EntityPayload(e);
  if (GhostsAsGraphic(type)) {
    // A primary track that moves an item of the design bends as the user draws.
    const bool assisted = ((s->flags & kSelectionPrimary) != 0) && type == Type_Track && TowerEntity(s->original);
    GhostEntityData(dc, type, payload, assisted ? w->SelectionAngleAssist : 0, &pl3::kIdentityTransform);
    return;
  }
  switch (type) {
    case Type_Text:
      if (Tower* group = GroupOfSelection(s)) {
        ReleaseTower(&group);
        GhostTextInGroup(dc, const_cast<SelectionInfo*>(s));
      } else {
        GhostEntityData(dc, type, payload, 0, &pl3::kIdentityTransform);
      }
      return;
    case Type_AttributeLocator:
      if (w->editorKind == kEditorSchematic) GhostLocatorKindSelection(dc, s->workingCopy);
      else GhostEntityData(dc, type, payload, 0, &pl3::kIdentityTransform);
      return;
    case Type_SymbolPin:
      DrawOriginSquare(dc, s->workingCopy);
      return;
    case kTypeTextGroup:
    case Type_InfoBoxHier:
      GhostBoxOf(dc, s->workingCopy, type);
      return;
    default:
      MessageBox(nullptr, "Internal error - unknown type in selection array", "GhostSelectionInfo", MB_OK);
      return;
  }
}

void GhostSelectionArray(HDC dc, const SelectionInfo* list) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  for (const SelectionInfo* s = list; s; s = s->next) GhostSelectionInfo(dc, s);
  GhostOriginMarkerOnDC(dc, w->BlockOrigin.x, w->BlockOrigin.y);
}
