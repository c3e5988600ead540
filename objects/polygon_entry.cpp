#include "objects/polygon_entry.h"

#include <cstdlib>
#include <cstring>

#include "edit/window_data.h"
#include "objects/design_walks.h"
#include "objects/drag_snap_seams.h"
#include "objects/editor_input.h"
#include "objects/editor_modes.h"
#include "objects/editor_seams.h"
#include "objects/entity_copy.h"
#include "objects/frame_seams.h"
#include "objects/graphic_records.h"
#include "objects/polygon_entry_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/responder.h"
#include "store/tower.h"

namespace {

// Negation with wrap-around, so that the most negative coefficient mirrors too.
std::int32_t Negated(std::int32_t v) { return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(v)); }

std::int32_t HalfSum(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) / 2 + static_cast<std::uint32_t>(b) / 2);
}

}  // namespace

int AcceptPolygonEntry(HWND window, EntityRecord* polygon) {
  if (!polygon) return 0;
  if (polygon->as<PolygonHead>().count < 4) {
    MessageBox(window, "You cannot enter a polygon with fewer than three points", "Error",
               MB_OK | MB_SYSTEMMODAL | MB_ICONEXCLAMATION);
    return 0;
  }
  HDC dc = GetViewDC(window);
  GhostPolygonItem(dc, polygon, &polygon->header.transform);
  pl3::Box* changed = SetPolygon(polygon);
  if (!changed) {
    GhostPolygonItem(dc, polygon, &polygon->header.transform);
    ReleaseViewDC(window, dc);
    return 0;
  }
  RedrawViewRect(window, changed, 1);
  std::free(changed);
  RecordDesignChange();
  SetEditCursor(0);
  if (CurrentWindowData* w = ActiveWindowData) {
    w->EditMode = Mode_Idle;
    w->SubMode = 0;
  }
  UpdateStatusBar(window);
  SetSelectionAndOptionsMenus(0);
  ReleaseViewDC(window, dc);
  return 1;
}

void MirrorGhost(HWND window, EntityRecord* record) {
  if (!record) return;
  GhostSelectionAndMode(window, record);
  ReflectTransformInX(&record->header.transform);
  GhostSelectionAndMode(window, record);
}

void ReflectTransformInX(pl3::Transform* t) {
  t->a = Negated(t->a);
  t->b = Negated(t->b);
}

void InsertPolygonMidpoint(HWND window, pl3::PolygonLayout* polygon, int keepIndex) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !polygon) return;
  const std::uint32_t count = polygon->count;
  const std::uint32_t index = polygon->editIndex;
  // An index past the points (a damaged record) has no edge to split.
  if (count >= kPolygonMaxPoints || index >= count) return;
  if (CheckNewPolygonPoint(polygon) != 0) return;
  pl3::Point* points = pl3::PolygonPoints(polygon);
  std::memmove(points + index + 1, points + index, (count - index) * sizeof(pl3::Point));
  polygon->count = static_cast<std::uint8_t>(count + 1);
  std::uint32_t current = index;
  if (!keepIndex) polygon->editIndex = static_cast<std::uint8_t>(current = index + 1);
  const pl3::Point here = points[current];
  const pl3::Point before = points[current == 0 ? count : current - 1];  // the new last point is at `count`
  w->Cursor = {HalfSum(here.x, before.x), HalfSum(here.y, before.y)};
  SnapDragPoint(window, &w->Button);
}

Tower* ReplaceEditedPolygon(HWND window, Tower* polygon, const Tower* design, PolygonEdit edit) {
  const Entity* old = TowerEntity(polygon);
  if (!old || !design || !IsPolygonKind(old->typeCode)) return nullptr;
  auto* record = static_cast<EntityRecord*>(CopyEntityFromTower(polygon));
  if (!record) return nullptr;
  edit(window, &record->as<PolygonHead>(), record->header.headerLayer);
  Tower* replacement = InsertPolygonRecord(record, design);
  std::free(record);
  if (!replacement) return nullptr;
  if (Entity* e = TowerEntity(replacement)) e->flags |= kEntitySelected;
  DeleteEntity(polygon);
  ReleaseTower(&polygon);
  return replacement;
}

Tower* ReplaceWithPolygonMidpoint(HWND window, Tower* polygon, const Tower* design) {
  return ReplaceEditedPolygon(window, polygon, design, &InsertPolygonMidpoint);
}

void AddPolygonPointCommand(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  GhostSelectionAndMode(window, w->PendingRecord);
  if (w->EditMode == Mode_EditSelection) {
    SelectionInfo* first = w->SelectionList;
    if (first && first->workingCopy) {
      if (Tower* replacement = ReplaceWithPolygonMidpoint(window, first->workingCopy, w->design))
        first->workingCopy = replacement;
    }
  } else if (w->PendingRecord) {
    HDC dc = GetViewDC(window);
    SetPolygonPoint(dc, w->PendingRecord);
    ReleaseViewDC(window, dc);
  }
  GhostSelectionAndMode(window, w->PendingRecord);
}
