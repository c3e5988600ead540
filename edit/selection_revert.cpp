// Putting the working copies of the selection back where the move began.
#include <cstdlib>
#include <cstring>
#include "draw/ghost_seams.h"
#include "edit/clipboard_seams.h"
#include "edit/key_command_seams.h"
#include "edit/polygon_points.h"
#include "edit/selection.h"
#include "edit/selection_services.h"
#include "edit/window_data.h"
#include "objects/dimensioners.h"
#include "objects/editor_seams.h"
#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "objects/group_texts.h"
#include "objects/info_boxes.h"
#include "objects/item_helpers.h"
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
// The types whose stored word at payload byte 76 a revert carries back.
bool CarriesWord76(std::uint16_t type) {
  return (type >= 1 && type <= 11) || (type >= 18 && type <= 24) || type == 26 || (type >= 28 && type <= 30) ||
         type == 34 || type == 35 || (type >= 37 && type <= 39) || type == 41 || type == 42;
}
constexpr std::uint32_t kWord76 = 76;

// The bytes a payload of the type holds: the fixed layouts by their size
// (the store rounds every payload up to 16 bytes), the others as stored.
std::uint32_t HeldBytes(const Entity* e) {
  switch (e->typeCode) {
    case 1: case 10: case 11: case 35: case 37: case 39: case 46: case 47: return sizeof(LinePayload);
    case 23: case 28: case 29: return sizeof(ThinLinePayload);
    case 3: return sizeof(CirclePayload);
    case 18: return sizeof(CentroidPayload);
    default: return e->payloadSize;
  }
}
}  // namespace

void RevertSelectionInfoToOriginalPosition(SelectionInfo* s) {
  s->grabPoint = s->currentPoint;
  const Entity* from = TowerEntity(s->original);
  Entity* to = TowerEntity(s->workingCopy);
  if (!from || !to) return;
  if (!CarriesWord76(to->typeCode)) {
    MessageBox(nullptr, "Internal error - unknown type in selection array", "RevertSelectionInfoToOriginalPosition",
                MB_OK);
    return;
  }
  // Only where both payloads hold the word: a bare track has none.
  if (HeldBytes(from) < kWord76 + 4 || HeldBytes(to) < kWord76 + 4) return;
  std::memcpy(EntityPayload(to) + kWord76, EntityPayload(from) + kWord76, 4);
}

namespace {
// A polygon whose vertex is in hand must still be one when it goes back:
// cleaned, three points at least and no crossing edges.
bool VertexEditMayRevert(const SelectionInfo* head) {
  Entity* e = TowerEntity(head->workingCopy);
  if (!e || !IsPolygonKind(e->typeCode) || e->payloadSize < sizeof(pl3::PolygonLayout)) return true;
  auto* polygon = reinterpret_cast<pl3::PolygonLayout*>(EntityPayload(e));
  return CleanPolygonPoints(polygon) && polygon->count >= 3 && !IsPolygonSelfIntersecting(polygon);
}

bool EditsVertex(const SelectionInfo* s) { return s->grabbedPart == kGrabVertexMove || s->grabbedPart == kGrabVertexAdd; }
}  // namespace

int RevertSelectionArray(SelectionInfo* list) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !list || !w->OriginalBlockOrigin) return 0;
  if (EditsVertex(list) && !VertexEditMayRevert(list)) {
    MessageBeep(0);
    return 0;
  }
  const pl3::Point back = *w->OriginalBlockOrigin;
  MoveSelectionArray(list, back.x - w->BlockOrigin.x, back.y - w->BlockOrigin.y);
  w->BlockOrigin = back;
  for (SelectionInfo* s = list; s; s = s->next) RevertSelectionInfoToOriginalPosition(s);
  return 1;
}

void RevertSelectionEdit(SelectionInfo* list) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !list) return;
  const std::uint16_t headPart = list->grabbedPart;
  const bool vertexEdit = EditsVertex(list);
  if (!RevertSelectionArray(list)) return;
  for (SelectionInfo* s = list; s; s = s->next)
    if (s->flags & kSelectionPrimary) s->grabbedPart = kGrabWhole;
  // The move starts again from where it began; an item held by its own
  // reference point takes the block origin from that point.
  if (headPart == kGrabRevertToReference) list->currentPoint = GetItemHandlePoint(static_cast<HWND>(w->Window), list->workingCopy);
  StartBlockMove(list);
  if (vertexEdit) SetEditCursor(3);
}
