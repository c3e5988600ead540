#include "edit/via_insertion.h"

#include <cstring>

#include "draw/display_list.h"
#include "edit/drawn_item_accepts.h"
#include "edit/insertion.h"
#include "edit/undo_history.h"
#include "edit/window_data.h"
#include "objects/design_walks.h"
#include "objects/display_list_seams.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/pad_stacks.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

bool DisplayedHoleAt(const DisplayList* list, pl3::Point centre) {
  for (const DisplayNode* n = list ? list->lists[DisplayList_Holes] : nullptr; n; n = n->next) {
    const auto* item = reinterpret_cast<const HoleItem*>(n->item);
    if (item && item->record.hole.centreX == centre.x && item->record.hole.centreY == centre.y) return true;
  }
  return false;
}

bool DesignHoleOrPadAt(const Tower* design, pl3::Point centre) {
  bool found = false;
  Tower* holes = GetChildTower(design, Type_Hole);
  while (!found && holes) {
    const Entity* e = FindNextEntity(holes);
    if (!e) break;
    if (e->payloadSize < sizeof(pl3::HoleLayout)) continue;
    pl3::HoleLayout h;
    std::memcpy(&h, EntityPayload(e), sizeof h);
    found = h.centreX == centre.x && h.centreY == centre.y;
  }
  ReleaseTower(&holes);
  Tower* pads = found ? nullptr : GetChildTower(design, Type_PadStackInstanceHier);
  while (!found && pads && FindNextEntity(pads)) {
    pl3::Point at{};
    found = GetPadCentre(pads, &at) && at.x == centre.x && at.y == centre.y;
  }
  ReleaseTower(&pads);
  return found;
}

}  // namespace

int IsHoleOnPad(const HolePayload* hole) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !hole) return 0;
  const pl3::Point centre{hole->hole.centreX, hole->hole.centreY};
  if (w->editorKind == kEditorPcb) return DisplayedHoleAt(static_cast<const DisplayList*>(w->Display), centre);
  return w->design && DesignHoleOrPadAt(w->design, centre);
}

std::uint16_t RoutingViaLayerFlag(std::uint32_t layer) {
  return (layer >= 1 && layer <= 32) || layer >= 38 ? 1 : 0;
}

Tower* InsertViaAtPoint(pl3::Point point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design || !w->sizeTable || (*w->sizeTable)[SizeKind_Vias].entries.empty()) return nullptr;
  HolePayload via{};
  via.hole.head.layer = w->TopLayer;
  via.hole.head.sizeFlags = kSizeByIndex;
  via.hole.head.sizeIndex = (*w->sizeTable)[SizeKind_Vias].defaultIndex;
  via.hole.head.transform = pl3::kIdentityTransform;
  via.hole.style = w->BottomLayer;
  via.hole.flags = kHoleIsVia | kHoleQuartered;
  via.hole.centreX = point.x;
  via.hole.centreY = point.y;
  via.word68 = 1;
  for (std::uint32_t layer = 0; layer < kLayerCount; ++layer) {
    const std::uint16_t v = RoutingViaLayerFlag(layer);
    std::memcpy(reinterpret_cast<std::uint8_t*>(&via) + kHoleLayerTableOffset + 2 * layer, &v, sizeof v);
  }
  ResolveEntitySizes(&via, Type_Hole);
  if (IsHoleOnPad(&via)) return nullptr;
  Tower* stored = InsertEntity(w->design, sizeof via, Type_Hole, &via);
  if (!stored) return nullptr;
  RecordUndoInsert(NodeRefOf(TowerEntity(stored)), w->UndoStep);
  CloseUndoStep(*w, "Insert Via");
  RecordDesignChange();
  PutEntityOnDisplayList(w->Display, stored);
  return stored;
}

int StoreViaOrHole(EntityRecord** pendingSlot) {
  CurrentWindowData* w = ActiveWindowData;
  EntityRecord* r = pendingSlot ? *pendingSlot : nullptr;
  if (!w || !r || r->header.recordType != Type_Hole) {
    if (w && !r) FinishAcceptedItem(static_cast<HWND>(w->Window), pendingSlot);
    return 0;
  }
  ResolveEntitySizes(r->payload, Type_Hole);
  auto& hole = r->as<HolePayload>();
  if (!(hole.hole.head.sizeFlags & kSizeByIndex) || IsHoleOnPad(&hole)) {
    MessageBeep(MB_ICONEXCLAMATION);
    return 0;
  }
  Tower* stored = InsertEntityWithUndo(r, w->design);
  ReleaseTower(&stored);
  if (w->sizeTable) {
    const std::uint32_t list = (hole.hole.flags & kHoleIsVia) ? SizeKind_Vias : SizeKind_Holes;
    (*w->sizeTable)[list].defaultIndex = hole.hole.head.sizeIndex;
  }
  FinishAcceptedItem(static_cast<HWND>(w->Window), pendingSlot);
  return 1;
}
