// Moving the working copies of the selection: by type and grabbed part, to
// the cursor, back to where the move began; the block origin, and the ghosts.
#include <cstdlib>
#include <cstring>

#include "draw/ghost_seams.h"
#include "edit/engine_helpers.h"
#include "edit/key_command_seams.h"
#include "edit/placing_seams.h"
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

constexpr std::uint16_t kDatumFixed = 0x1000;
constexpr std::uint32_t kWindowRawPoint = 0x2000;

void MoveInfoBox(const Tower* box, pl3::Point d) {
  Entity* list = InfoBoxPointList(box);
  if (!list) return;
  auto* points = reinterpret_cast<InfoBoxPoints*>(EntityPayload(list));
  const std::uint32_t room = InfoBoxPointRoom(list);
  for (std::uint32_t i = 0; i < points->count && i < room; ++i) {
    points->points[i].x += d.x;
    points->points[i].y += d.y;
  }
  PlaceInfoBoxLabel(box);
}

// Moves one record's working copy; false for a type the selection does not know.
bool MoveRecord(SelectionInfo* s, pl3::Point d, bool* movedSymbol) {
  Entity* e = TowerEntity(s->workingCopy);
  if (!e) return true;
  void* p = EntityPayload(e);
  const std::uint16_t type = e->typeCode;
  const std::uint16_t part = s->grabbedPart;
  switch (type) {
    case 1: case 10: case 11: case 23: case 28: case 29: case 35: case 37: case 39: case 46: case 47:
    case 2: case 24: case 38: case 3: case 6: case 7: case 27:
    case 4: case 8: case 9: case 41: case 42: case 43: case 44: case 45: case 49:
      TranslateEntity(p, e->payloadSize, type, d, part == kGrabBothEnds ? kGrabWhole : part);
      return true;
    case Type_Text:
      if (GroupOfSelection(s)) TranslateTextInGroup(s, d, part);
      else OffsetEntity(p, type, d.x, d.y, 0);
      return true;
    case Type_Centroid:
      // By its position the marker moves; by its direction handle it turns.
      if (e->payloadSize >= sizeof(CentroidPayload))
        MoveCentroidPart(static_cast<CentroidPayload*>(p), d, part == kGrabBothEnds ? kGrabWhole : part);
      return true;
    case Type_Spiral:
      // By the handle held: the centre moves it whole, the others their point or the pitch.
      if (e->payloadSize >= kSpiralHandleBytes)
        SpiralEditStep(static_cast<SpiralPayload*>(p), d.x, d.y, part == kGrabBothEnds ? kGrabWhole : part);
      return true;
    case Type_AttributeLocator:
      if (e->payloadSize >= sizeof(LocatorPayload)) {
        const auto kind = static_cast<LocatorPayload*>(p)->kind;
        const bool bound = kind == 6 || kind == 10 || kind == 14 || kind == 16 || kind == 17;
        if (ActiveWindowData && ActiveWindowData->editorKind == kEditorSchematic && bound)
          MoveLocatorWithItem(s->workingCopy, d);
        else
          TranslateLocator(static_cast<LocatorPayload*>(p), d, part);
      }
      return true;
    case Type_AngleDimensioner:
      if (e->payloadSize >= sizeof(DimensionerPayload))
        MoveAngleDimensionerHandles(static_cast<DimensionerPayload*>(p), d, part);
      return true;
    case Type_Dimensioner:
      if (e->payloadSize >= sizeof(DimensionerPayload)) MoveDimensionerHandles(static_cast<DimensionerPayload*>(p), d, part);
      return true;
    case Type_SymbolPin:
      OffsetOrigin(s->workingCopy, d, 0);
      return true;
    case 30: case Type_SymbolInstance:
      OffsetTransform(s->workingCopy, d);
      if (type == Type_SymbolInstance && !*movedSymbol) {
        *movedSymbol = true;
        UpdateMovingPoints();
      }
      return true;
    case Type_PadStackInstanceHier:
      OffsetTransform(s->workingCopy, d);
      return true;
    case kTypeTextGroup:
      OffsetOrigin(s->workingCopy, d, 0);
      return true;
    case Type_InfoBoxHier:
      MoveInfoBox(s->workingCopy, d);
      return true;
    case Type_Datum:
      if (!(e->flags & kDatumFixed)) OffsetEntity(p, type, d.x, d.y, 0);
      return true;
    default:
      return false;
  }
}

}  // namespace

int MoveSelectionArray(SelectionInfo* list, std::int32_t dx, std::int32_t dy) {
  CurrentWindowData* w = ActiveWindowData;
  if (!list) return 1;
  if (w && list->grabbedPart != kGrabInPlace) {
    w->BlockOrigin.x += dx;
    w->BlockOrigin.y += dy;
  }
  bool movedSymbol = false;
  for (SelectionInfo* s = list; s; s = s->next) {
    if (!MoveRecord(s, {dx, dy}, &movedSymbol)) {
      MessageBox(nullptr, "Internal Error - Unknown type in selection array", "MoveSelectionArray", MB_OK);
      return 0;
    }
    s->currentPoint.x += dx;
    s->currentPoint.y += dy;
  }
  return 1;
}

int MoveSelectionToPoint(HWND window, SelectionInfo* list, pl3::Point cursor, int redraw) {
  CurrentWindowData* w = ActiveWindowData;
  SelectionInfo* first = GetFirstPrimarySelection(list);
  if (!w || !first || first->grabbedPart == kGrabBothEnds) return 0;
  pl3::Point p = cursor;
  if (!(w->ViewFlags & kWindowRawPoint)) {
    if (IsItemAttachedToCursor()) SnapXYFine(&p.x, &p.y);
    else SnapXY(&p.x, &p.y, 0);
  }
  const std::int32_t dx = p.x - w->BlockOrigin.x;
  const std::int32_t dy = p.y - w->BlockOrigin.y;
  if (dx == 0 && dy == 0) return 0;
  const std::uint8_t assist = w->SelectionAngleAssist;
  HDC dc = redraw ? GetDC(window) : nullptr;
  if (dc) {
    GhostSelectionArray(dc, list);
    DrawRatsnestLines(dc);
  }
  MoveSelectionArray(list, dx, dy);
  UpdateMovingPoints();
  RefreshRatsnestLines();
  if (dc) {
    GhostSelectionArray(dc, list);
    DrawRatsnestLines(dc);
    ReleaseDC(window, dc);
  }
  w->SelectionAngleAssist = assist;
  return 1;
}

pl3::Point StartBlockMove(SelectionInfo* list) {
  CurrentWindowData* w = ActiveWindowData;
  SelectionInfo* first = GetFirstPrimarySelection(list);
  if (!w) return {};
  pl3::Point origin = first ? first->currentPoint : w->BlockOrigin;
  std::free(w->OriginalBlockOrigin);
  w->OriginalBlockOrigin = static_cast<pl3::Point*>(std::malloc(sizeof(pl3::Point)));
  *w->OriginalBlockOrigin = origin;
  if (IsItemAttachedToCursor()) SnapXYFine(&origin.x, &origin.y);
  w->BlockOrigin = origin;
  return origin;
}
