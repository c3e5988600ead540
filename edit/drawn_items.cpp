// The ghost steps and commits of the drawing tools, as the mouse road calls them.
#include "edit/drawn_items.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "draw/ghosts.h"
#include "edit/drag_geometry.h"
#include "edit/drawn_item_accepts.h"
#include "edit/edit_modes.h"
#include "edit/polygon_points.h"
#include "edit/spiral_tool.h"
#include "edit/insertion.h"
#include "edit/window_data.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/graphic_boxes.h"
#include "geometry/view_mapping.h"
#include "objects/graphic_records.h"
#include "objects/item_helper_seams.h"
#include "objects/type_codes.h"
#include "objects/polygon_entry.h"
#include "objects/view_seams.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

constexpr std::uint32_t kViewNoDragSnap = 0x2000;

// Erases the record's ghost before its accept handler takes it.
void EraseGhost(HWND window, const EntityRecord* record) {
  if (!record) return;
  HDC dc = GetDC(window);
  GhostEntity(dc, record, 0);
  ReleaseDC(window, dc);
}

// The box of the record as it will be stored.
pl3::Box BoxOf(const EntityRecord* record) {
  pl3::Box box{};
  if (!record) return box;
  auto copy = NewEntityRecord();
  *copy = *record;
  GetGraphicBox(copy->payload, StoredCodeOfRecord(*copy), &box);
  return box;
}

void RedrawAndFree(HWND window, pl3::Box* box) {
  if (box) RedrawViewRect(window, box, 1);
  std::free(box);
}

}  // namespace

void DragPendingSecondEnd(HDC dc, EntityRecord** slot, ButtonRecord* button) {
  CurrentWindowData* w = ActiveWindowData;
  EntityRecord* r = slot ? *slot : nullptr;
  if (!w || !r || !button) return;
  pl3::Point p = button->Cursor;
  if (!(w->ViewFlags & kViewNoDragSnap)) {
    if (IsItemAttachedToCursor())
      SnapXYFine(&p.x, &p.y);
    else
      SnapXY(&p.x, &p.y, 0);
  }
  auto& l = r->as<LinePayload>();
  if (p.x == l.x2 && p.y == l.y2) return;
  GhostEntity(dc, r, 0);
  l.x2 = p.x;
  l.y2 = p.y;
  GhostEntity(dc, r, 0);
}

namespace {

// Where a pending record is held when it is dragged whole, as a byte offset
// into its payload: a track's second end, the centre of an arc, circle,
// rectangle or hole, a polygon's first point, a text's position. 0 for the
// types that are not dragged this way.
std::uint32_t ReferencePointOffset(std::uint16_t type) {
  switch (type) {
    case Type_Track: case Type_ThermalBreak: case Type_RoutedLine: case Type_StarEarthTrack:
    case Type_BoardOutlineLine: case Type_PlatedSlot: case Type_NonPlatedSlot:
      return offsetof(LinePayload, x2);
    case Type_Arc: case Type_BoardOutlineArc: return offsetof(pl3::ArcLayout, centreX);
    case Type_Circle: return offsetof(pl3::CircleLayout, centreX);
    case Type_Polygon: return sizeof(PolygonHead);
    case Type_Text: return offsetof(GraphicHead, transform) + offsetof(pl3::Transform, tx);
    case Type_Rectangle: return offsetof(pl3::RectangleLayout, centreX);
    case Type_Hole: return offsetof(pl3::HoleLayout, centreX);
    default: return 0;
  }
}

}  // namespace

void DragPendingRecord(HDC dc, EntityRecord** slot, ButtonRecord* button) {
  const CurrentWindowData* w = ActiveWindowData;
  EntityRecord* r = slot ? *slot : nullptr;
  if (!w || !r || !button) return;
  const std::uint16_t type = r->header.recordType;
  const std::uint32_t offset = ReferencePointOffset(type);
  if (!offset) return;
  pl3::Point from;
  std::memcpy(&from, r->payload + offset, sizeof from);
  pl3::Point to = button->Cursor;
  if (!(w->ViewFlags & kViewNoDragSnap)) SnapXY(&to.x, &to.y, 0);
  // Only a move that shows on the screen redraws.
  pl3::Point fromPixel = from, toPixel = to;
  pl3::WorldToView(fromPixel.x, fromPixel.y);
  pl3::WorldToView(toPixel.x, toPixel.y);
  if (fromPixel.x == toPixel.x && fromPixel.y == toPixel.y) return;
  GhostEntity(dc, r, 0);
  OffsetEntity(r->payload, type, to.x - from.x, to.y - from.y, 0);
  GhostEntity(dc, r, 0);
}

int UpdateDrawnItemGhost(GhostKind kind, HDC dc, ButtonRecord* button, EntityRecord** slot) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  switch (kind) {
    case GhostKind::RubberBandLine:
      if (w->EditMode != Mode_AddNewTrack && w->EditMode != Mode_ContinueTrack) return 0;
      DragPendingSecondEnd(dc, slot, button);
      return 1;
    case GhostKind::PolygonEdge:
      // The pending record rides with the cursor in mode 17, and in the other
      // polygon-edge mode while a picked item is held.
      if (w->EditMode != Mode_DragPendingRecord && !w->Selection) return 0;
      DragPendingRecord(dc, slot, button);
      return 1;
    case GhostKind::DragShape:
    case GhostKind::DragStep:
      return DragStep(w->EditMode, dc, slot ? *slot : nullptr, button);
    case GhostKind::Spiral:
      return UpdateSpiralGhost(w->EditMode, dc, slot, button);
    default:
      return 0;
  }
}

int CommitDrawnItem(std::uint8_t mode, HWND window, ButtonRecord* button, EntityRecord** slot) {
  EntityRecord* pending = slot ? *slot : nullptr;
  switch (mode) {
    case Mode_AddNewSpiral:
    case Mode_SetSpiralStartPoint:
    case Mode_SetSpiralPitch:
    case Mode_SetSpiralEndPoint: {
      CurrentWindowData* w = ActiveWindowData;
      if (!w || !button) return 1;
      HDC dc = GetDC(window);
      if (mode == Mode_SetSpiralEndPoint)
        FinishSpiral(dc, *w);
      else
        SpiralPlacementStep(dc, *w, button->Cursor);
      ReleaseDC(window, dc);
      return 1;
    }
    case Mode_SetArcRadius:
    case Mode_AddNewThinArc:
    case Mode_SetArcEndPoint: {
      HDC dc = GetDC(window);
      AcceptArcStep(mode, dc, pending, button);
      ReleaseDC(window, dc);
      if (mode == Mode_SetArcRadius && pending && EnsureLayerVisible(pending->head().layer, nullptr))
        RedrawView(window);
      return 1;
    }
    case Mode_AddNewTrack:
    case Mode_ContinueTrack: {
      HDC dc = GetDC(window);
      if (slot && *slot) GhostEntity(dc, *slot, 0);
      pl3::Box* box = AcceptTrackSegment(slot);
      if (slot && *slot) GhostEntity(dc, *slot, 0);
      ReleaseDC(window, dc);
      if (box) RedrawViewRect(window, box, 1);
      std::free(box);
      return 1;
    }
    case Mode_SetArcAngle:
    case Mode_SetArcCentre: {
      EraseGhost(window, pending);
      pl3::Box box = BoxOf(pending);
      AcceptArc(slot);
      RedrawViewRect(window, &box, 1);
      return 1;
    }
    case 50:
      EraseGhost(window, pending);
      AcceptThinArc(slot);
      return 1;
    case Mode_AddNewCircleRadius:
    case Mode_AddNewCircle: {
      pl3::Box box = BoxOf(pending);
      EraseGhost(window, pending);
      if (AcceptCircle(slot))
        RedrawViewRect(window, &box, 1);
      else
        EraseGhost(window, pending);  // drawn again: the circle stays in hand
      return 1;
    }
    case Mode_AddNewRectangleB:
    case Mode_AddNewRectangle:
      EraseGhost(window, pending);
      AcceptRectangle(slot);
      InvalidateRect(window, nullptr, FALSE);
      return 1;
    case Mode_AddNewString:
    case Mode_EditString:
      EraseGhost(window, pending);
      RedrawAndFree(window, AcceptText(slot));
      return 1;
    case Mode_AddNewThinLine: {
      HDC dc = GetDC(window);
      GhostEntity(dc, pending, 0);
      pl3::Box* box = AcceptThinLineSegment(slot);
      GhostEntity(dc, pending, 0);
      ReleaseDC(window, dc);
      RedrawAndFree(window, box);
      return 1;
    }
    case Mode_SetCentroidAngle:
    case Mode_AddNewCentroidB:
      EraseGhost(window, pending);
      AcceptCentroid(slot);
      if (slot && *slot) EraseGhost(window, *slot);  // refused: shown again
      return 1;
    case Mode_AddNewPolygon:
    case Mode_EditPolygon:
      if (pending) AcceptPolygonEntry(window, pending);
      return 1;
    case Mode_AddNewViaB:
    case Mode_AddNewVia:
      EraseGhost(window, pending);
      if (!AcceptGraphicRecord(window, slot)) EraseGhost(window, pending);
      return 1;
    default:
      return 0;
  }
}
