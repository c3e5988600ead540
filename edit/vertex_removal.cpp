// Remove Vertex: the moving point leaves a polygon being drawn or edited.
#include <cstring>

#include "edit/cancel_delete.h"
#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "edit/window_data.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/graphic_boxes.h"
#include "objects/graphic_records.h"
#include "objects/polygon_entry.h"
#include "objects/view_seams.h"
#include "store/tower.h"

void RemovePolygonPoint(HWND window, pl3::PolygonLayout* polygon, int backwards) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !polygon) return;
  if (polygon->count < 3) {
    CancelCurrentOperation(window, w);
    return;
  }
  const std::uint32_t count = polygon->count - 1u;
  std::uint32_t index = polygon->editIndex;
  pl3::Point* points = pl3::PolygonPoints(polygon);
  if (index < count) std::memmove(points + index, points + index + 1, (count - index) * sizeof(pl3::Point));
  polygon->count = static_cast<std::uint8_t>(count);
  if (backwards)
    index = index >= count ? 0 : index;
  else
    index = index == 0 || index > count ? count - 1 : index - 1;
  polygon->editIndex = static_cast<std::uint8_t>(index);
  pl3::Point cursor = w->Cursor;
  SnapXY(&cursor.x, &cursor.y, 0);
  points[index] = cursor;
}

Tower* RemoveSelectedPolygonPoint(HWND window, Tower* polygon, const Tower* design) {
  return ReplaceEditedPolygon(window, polygon, design, &RemovePolygonPoint);
}

void RemoveVertexCommand(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  GhostSelectionAndMode(window, w->PendingRecord);
  if (w->EditMode == Mode_EditSelection) {
    SelectionInfo* first = w->SelectionList;
    const Entity* e = first ? TowerEntity(first->workingCopy) : nullptr;
    if (e && e->payloadSize >= sizeof(PolygonHead)) {
      if (reinterpret_cast<const PolygonHead*>(EntityPayload(e))->count <= 2) {
        DoDelete(window, &w->Button, &w->PendingRecord);
        return;
      }
      if (Tower* replacement = RemoveSelectedPolygonPoint(window, first->workingCopy, w->design))
        first->workingCopy = replacement;
    }
  } else if (EntityRecord* pending = w->PendingRecord) {
    pl3::Box before{-1, -1, 0, 0};
    GetGraphicRecordBox(pending, &before);
    RemovePolygonPoint(window, &pending->as<PolygonHead>(), pending->header.headerLayer);
    if (w->PendingRecord == pending) {
      RedrawView(window);
      RedrawViewRect(window, &before, 1);
    }
  }
  GhostSelectionAndMode(window, w->PendingRecord);
}
