#include "edit/mouse_road.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "edit/edit_modes.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/cursor_zoom.h"
#include "objects/design_helpers.h"
#include "objects/design_walks.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/polygon_entry.h"
#include "objects/view_seams.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/tower.h"

ButtonActionSet LeftButtonActions = {5, 4, 8, 250};
ButtonActionSet RightButtonActions = {1, 2, 9, 250};
std::uint8_t ButtonDownFlag = 0;
int DrawingDepth = 0;
std::uint8_t SuppressGhostUpdates = 0;

namespace {

void ResetMouseRoad() {
  LeftButtonActions = {5, 4, 8, 250};
  RightButtonActions = {1, 2, 9, 250};
  ButtonDownFlag = 0;
  DrawingDepth = 0;
  SuppressGhostUpdates = 0;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetMouseRoad);

constexpr std::uint8_t kGrabbedAddPolygonPoint = 5;
constexpr std::uint32_t kViewSnapOff = 0x400;
constexpr std::uint32_t kViewShiftGhosts = 0x2000;

void RunMouseAction(std::uint32_t action, HWND window, ButtonRecord* button, EntityRecord** slot);

bool ShiftHeld() { return GetKeyState(VK_SHIFT) < 0; }
bool CtrlHeld() { return GetKeyState(VK_CONTROL) < 0; }
bool IsSelectionMode(std::uint8_t mode) { return mode == Mode_EditSelection || mode == Mode_AddNewPad; }
bool IsPolygonMode(std::uint8_t mode) { return mode == Mode_AddNewPolygon || mode == Mode_EditPolygon; }

// The selection's record count, and its first record.
int SelectionCount(const CurrentWindowData& b) {
  int n = 0;
  for (const SelectionInfo* s = b.SelectionList; s; s = s->next) ++n;
  return n;
}
bool FirstGrabsPolygonPoint(const CurrentWindowData& b) {
  return b.SelectionList && b.SelectionList->grabbedPart == kGrabbedAddPolygonPoint;
}
bool SingleGrabsPolygonPoint(const CurrentWindowData& b) { return SelectionCount(b) == 1 && FirstGrabsPolygonPoint(b); }

// A world point of the active view in client pixels.
POINT ToClient(const CurrentWindowData& b, pl3::Point world) {
  const std::uint32_t f = pl3::ViewFactorForZoom(b.Zoom);
  const auto scale = [f](std::int32_t v) {
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(v)) * f) >> 32);
  };
  return POINT{scale(world.x) - b.ViewOriginX, scale(world.y) - b.ViewOriginY};
}

RECT ClientRect(const CurrentWindowData& b, pl3::Point a, pl3::Point c) {
  const POINT p = ToClient(b, a);
  const POINT q = ToClient(b, c);
  return RECT{std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x), std::max(p.y, q.y)};
}

// XOR frames: drawing one twice removes it.
void ToggleDragRectangle(HDC dc, const CurrentWindowData& b) {
  const RECT r = ClientRect(b, b.DragStart, b.DragCurrent);
  DrawFocusRect(dc, &r);
}
void TogglePrintZoneRectangle(HDC dc, const CurrentWindowData& b) {
  const RECT r = ClientRect(b, {b.PrintZone.xmin, b.PrintZone.ymin}, {b.PrintZone.xmax, b.PrintZone.ymax});
  DrawFocusRect(dc, &r);
}

MouseRecord AtCursor(const CurrentWindowData& b) {
  MouseRecord r{};
  r.hasWorldPoint = 1;
  r.world = b.Cursor;
  r.previousWorld = b.Cursor;
  return r;
}

// The cursor update of a mouse move: the world point of the mouse, kept in
// the area, and the cursor the tools snap.
void UpdateCursorFromMouse(HWND window, CurrentWindowData& b) {
  MouseRecord r{};
  r.hasWorldPoint = 1;
  r.mouseView = {static_cast<std::int16_t>(b.MouseMessagePos & 0xFFFF),
                 static_cast<std::int16_t>(b.MouseMessagePos >> 16)};
  r.view = b.MousePixel;
  r.world = b.MouseWorld;
  TrackMouseCursor(window, r);
  b.MouseWorld = r.world;
  b.MousePixel = r.mouseView;
  b.Cursor = b.DisplayedCursor;
}

bool ForcesAssistOff(GhostKind kind) {
  return kind == GhostKind::PolygonEdge || kind == GhostKind::InsertionArray || kind == GhostKind::PadNameMoving;
}

// The modes whose accept row belongs to their tool.
bool CommitBelongsToTool(std::uint8_t m) {
  switch (m) {
    case 1: case 104: case 2: case 3: case 108: case 8: case 11: case 22: case 13: case 14: case 15: case 38:
    case 18: case 20: case 24: case 25: case 26: case 27: case 28: case 29: case 31: case 33: case 110:
    case 39: case 45: case 70: case 40: case 41: case 48: case 68: case 69: case 49: case 50: case 59:
    case 60: case 61: case 64: case 65: case 66: case 67: case 71: case 74: case 75: case 76: case 77:
    case 78: case 79: case 80: case 81: case 82: case 86: case 87: case 107: case 111: case 85: case 113:
      return true;
    default:
      return false;
  }
}

bool IsPickingTool(std::uint8_t m) {
  switch (m) {
    case 43: case 47: case 44: case 52: case 53: case 54: case 72: case 88: case 90: case 91: case 92:
    case 93: case 94: case 95: case 96: case 97: case 99: case 100: case 101: case 106: case 112:
      return true;
    default:
      return false;
  }
}

// Selects, adds to the selection, or zooms after a drag (idle, 39 and 45).
void RectangleRule(HWND window, CurrentWindowData& b, ButtonRecord* button, EntityRecord** slot) {
  const bool dragged = DragBoxExceedsTolerance() != 0;
  if (b.DragFlags & kDragActive) {
    HDC dc = GetDC(window);
    ToggleDragRectangle(dc, b);
    ReleaseDC(window, dc);
  }
  const bool shift = ShiftHeld();
  if (!shift && !dragged) {
    if (FirstGrabsPolygonPoint(b))
      PerformMouseAction(LeftButtonActions.polygonModes, window, button, slot);
    else
      PerformMouseAction(b.EditMode ? LeftButtonActions.otherModes : LeftButtonActions.idle, window, button, slot);
  } else if (shift && CtrlHeld() && dragged) {
    ZoomToDragRectangle(window);
  } else {
    DoSelect(window, button, slot);
  }
}

void StartMeasuring(HWND window, ButtonRecord* button) {
  BeginMeasure(window, button);
  ShowMeasuringTooltip(window);
  SetMeasureTool(window);
  UpdateStatusBar(window);
}

void FinishPrintZone(HWND window, CurrentWindowData& b) {
  if (!(b.DragFlags & kDragPrintZone)) return;
  HDC dc = GetDC(window);
  TogglePrintZoneRectangle(dc, b);
  ReleaseDC(window, dc);
  pl3::Box& z = b.PrintZone;
  z = {std::min(z.xmin, z.xmax), std::min(z.ymin, z.ymax), std::max(z.xmin, z.xmax), std::max(z.ymin, z.ymax)};
  if (b.design) DeleteChildEntities(b.design, kPrintZoneRecord);
  if (z.xmin == z.xmax || z.ymin == z.ymax) {
    z = {-1, -1, -1, -1};
    EnablePrintZoneCommand(0);
  } else {
    if (b.design) {
      Tower* t = InsertEntity(b.design, sizeof z, kPrintZoneRecord, &z);
      ReleaseTower(&t);
    }
    const RECT r = ClientRect(b, {z.xmin, z.ymin}, {z.xmax, z.ymax});
    InvalidateRect(window, &r, FALSE);
    EnablePrintZoneCommand(1);
  }
  RecordDesignChange();
  CancelCurrentOperation(window, &b);
}

void HighlightRow(HWND window, std::uint8_t mode, ButtonRecord* button) {
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const CurrentWindowData* b = ActiveWindowData;
  if (mode == Mode_HighlightNet && b && b->editorKind != kEditorPcb)
    ShowSchematicNetAtCursor();
  else
    RunHighlightTool(mode, window, button);
  SetCursor(previous);
  RedrawView(window);
}

void CentreOnPad(HWND window, CurrentWindowData& b, ButtonRecord* button) {
  if (!GotoPadCentre(window, button)) {
    MessageBeep(0);
    return;
  }
  POINT mouse{};
  GetCursorPos(&mouse);
  ScreenToClient(window, &mouse);
  b.CrosshairPos = {mouse.x, mouse.y};
  ClearToolMode(window);
  MoveCrosshair(window, &b.Crosshair, b.CrosshairPos.x, b.CrosshairPos.y);
}

}  // namespace

void ApplyButtonActionRule(ButtonActionSet& set) {
  if (set.idle == Action_Cancel || set.idle == Action_Accept || set.idle == Action_Delete) set.idle = Action_Select;
  if (set.otherModes == Action_ByClickState || set.otherModes == Action_BeginInsertion ||
      set.otherModes == Action_Delete)
    set.otherModes = Action_Cancel;
}

GhostKind GhostKindOfMode(std::uint8_t m) {
  switch (m) {
    case 1: case 6: case 68: case 69: case 104: return GhostKind::RubberBandLine;
    case 4: case 17: return GhostKind::PolygonEdge;
    case 2: case 3: case 28: case 29: case 38: case 49: case 50: case 107: case 108: return GhostKind::DragShape;
    case 7: return GhostKind::DragStep;
    case 31: case 41: return GhostKind::PadNamePicking;
    case 32: case 42: return GhostKind::PadNameMoving;
    case 33: case 51: case 110: return GhostKind::TemporaryEntity;
    case 34: case 40: case 85: return GhostKind::OriginMarker;
    case 39: case 45: case 70: return GhostKind::SelectionMove;
    case 86: return GhostKind::Datum;
    case 87: return GhostKind::MeasuringLine;
    case 111: return GhostKind::NetEditing;
    case 113: return GhostKind::MacroBlock;
    default: break;
  }
  if ((m >= 8 && m <= 16) || (m >= 18 && m <= 23)) return GhostKind::DragShape;
  if (m >= 24 && m <= 27) return GhostKind::InsertionArray;
  if (m >= 59 && m <= 61) return GhostKind::Centroid;
  if (m >= 64 && m <= 67) return GhostKind::Spiral;
  if (m == 71 || m == 74) return GhostKind::Locator;
  if (m >= 75 && m <= 82) return GhostKind::Dimensioner;
  return GhostKind::None;
}

void PerformMouseAction(std::uint32_t action, HWND window, ButtonRecord* button, EntityRecord** slot) {
  CurrentWindowData* b = ActiveWindowData;
  if (!b) return;
  if (b->ClickState == 0) SetEditCursor(0);
  RunMouseAction(action, window, button, slot);
}

namespace {

void RunMouseAction(std::uint32_t action, HWND window, ButtonRecord* button, EntityRecord** slot) {
  CurrentWindowData* b = ActiveWindowData;
  if (action > Action_FinishPolygon) action = Action_BeginInsertion;
  const std::uint8_t mode = b->EditMode;
  switch (action) {
    case Action_Nothing:
      break;
    case Action_CentreView:
      GhostCurrentMode(window);
      CentreViewOnCursor(window);
      GhostCurrentMode(window);
      break;
    case Action_Cancel:
      CancelCurrentOperation(window, b);
      break;
    case Action_Select:
      if (mode) {
        if (IsSelectionMode(mode) && ShiftHeld()) return;
        CancelCurrentOperation(window, b);
      }
      DoSelect(window, button, slot);
      InvalidateRect(window, nullptr, FALSE);
      break;
    case Action_Accept:
      if (!mode) return;
      if (IsSelectionMode(mode) && ShiftHeld()) {
        DoSelect(window, button, slot);
        InvalidateRect(window, nullptr, FALSE);
      } else {
        AcceptCurrentEdit(window, button, slot);
      }
      break;
    case Action_ByClickState:
      switch (b->ClickState) {
        case 0: RunMouseAction(Action_BeginInsertion, window, button, slot); break;
        case 1: RunMouseAction(Action_Select, window, button, slot); break;
        case 3: CopyAtCursor(window, button); break;
        case 4: PackageSymbolAtCursor(window, button, slot); break;
        case 5: PlaceFromSchematic(window, button); break;
        default: break;
      }
      break;
    case Action_BeginInsertion:
      if (mode) CancelCurrentOperation(window, b);
      ClearSelectionArray(window);
      BeginInsertion(window, button, slot);
      break;
    case Action_Delete:
      DoDelete(window, button, slot);
      break;
    case Action_AddPolygonPoint:
      if (mode == Mode_EditSelection)
        AddSelectedPolygonPoint(window, button);
      else
        SetPolygonPoint(window, button, slot);
      break;
    case Action_FinishPolygon: {
      EntityRecord* pending = slot ? *slot : nullptr;
      if (!pending)
        AcceptCurrentEdit(window, button, slot);
      else if (pending->as<PolygonHead>().count < 3)
        CancelCurrentOperation(window, b);
      else
        AcceptPolygonEntry(window, pending);
      break;
    }
    default:
      break;
  }
}

}  // namespace

void DoLButtonDown(HWND window, ButtonRecord* button, EntityRecord** slot) {
  SetCapture(window);
  SetFocus(window);
  CurrentWindowData* b = ActiveWindowData;
  if (!b) return;
  const std::uint8_t mode = b->EditMode;
  if (mode == Mode_Idle || (IsSelectionMode(mode) && ShiftHeld())) {
    b->DragFlags |= kDragActive;
    b->DragStart = b->DragCurrent = b->Cursor;
  } else if (mode == Mode_SetPrintZone) {
    b->DragFlags |= kDragPrintZone;
    InvalidateRect(window, nullptr, FALSE);
    b->PrintZone = {b->Cursor.x, b->Cursor.y, b->Cursor.x, b->Cursor.y};
  }
}

int DoMouseMove(HWND window, ButtonRecord* button, EntityRecord** slot, int keepCursor) {
  CurrentWindowData* b = ActiveWindowData;
  if (!b) return 0;
  ++DrawingDepth;
  HDC dc = GetDC(window);
  b->ViewFlags &= ~kViewSnapOff;
  if (b->DragFlags & kDragActive) ToggleDragRectangle(dc, *b);
  if (b->DragFlags & kDragPrintZone) TogglePrintZoneRectangle(dc, *b);
  const pl3::Point before = b->Cursor;
  if (!keepCursor) UpdateCursorFromMouse(window, *b);
  MoveCrosshair(window, &b->Crosshair, b->MousePixel.x, b->MousePixel.y);
  if (b->DragFlags & kDragActive) {
    b->DragCurrent = b->Cursor;
    ToggleDragRectangle(dc, *b);
  }
  if (b->DragFlags & kDragPrintZone) {
    b->PrintZone.xmax = b->Cursor.x;
    b->PrintZone.ymax = b->Cursor.y;
    TogglePrintZoneRectangle(dc, *b);
  }
  const bool shiftStops = IsSelectionMode(b->EditMode) && ShiftHeld() && !(b->ViewFlags & kViewShiftGhosts);
  if (!shiftStops && SuppressGhostUpdates != 1) {
    const GhostKind kind = GhostKindOfMode(b->EditMode);
    const bool moved = b->Cursor.x != before.x || b->Cursor.y != before.y;
    if (kind != GhostKind::None && (kind != GhostKind::SelectionMove || moved)) {
      const std::uint8_t assist = b->AngleAssist;
      if (ForcesAssistOff(kind)) b->AngleAssist = 0;
      UpdateModeGhost(kind, dc, button, slot);
      b->AngleAssist = assist;
    }
  }
  --DrawingDepth;
  return ReleaseDC(window, dc);
}

void DoLButtonUp(HWND window, ButtonRecord* button, EntityRecord** slot) {
  ReleaseCapture();
  CurrentWindowData* b = ActiveWindowData;
  if (!b) return;
  const std::uint8_t mode = b->EditMode;
  switch (mode) {
    case Mode_Idle:
      ClearSelectionArray(window);
      if (DragBoxExceedsTolerance())
        RectangleRule(window, *b, button, slot);
      else
        PerformMouseAction(LeftButtonActions.idle, window, button, slot);
      break;
    case Mode_EditSelection:
    case Mode_AddNewPad:
      RectangleRule(window, *b, button, slot);
      break;
    case Mode_AddNewPolygon:
    case Mode_EditPolygon:
      PerformMouseAction(LeftButtonActions.polygonModes, window, button, slot);
      break;
    case 31: case 34: case 35: case 36: case 37: case 41: case 85:
      AcceptCurrentEdit(window, button, slot);
      break;
    case Mode_SetBlockOrigin:
      SnapXY(&b->Cursor.x, &b->Cursor.y, 0);
      AcceptCurrentEdit(window, button, slot);
      RebuildSelectionMenu(window);
      break;
    case Mode_StartInsert:
      ClearSelectionArray(window);
      if (DragBoxExceedsTolerance())
        StartMeasuring(window, button);
      else
        PerformMouseAction(Action_ByClickState, window, button, slot);
      break;
    case Mode_SetMeasuringStartPoint:
      StartMeasuring(window, button);
      break;
    case Mode_CentreOnPad:
      CentreOnPad(window, *b, button);
      break;
    case Mode_Edit:
      ClearToolMode(window);
      EditAtCursor(window, button);
      break;
    case Mode_Copy:
      ClearToolMode(window);
      CopyAtCursor(window, button);
      break;
    case Mode_Delete:
      ClearToolMode(window);
      DoDelete(window, button, slot);
      break;
    case Mode_AssignPlaneNet:
      ClearToolMode(window);
      SetPlaneNetAtPoint(window, button);
      break;
    case Mode_PackageSchematicSymbol:
    case Mode_PackageSchematicSymbolInGate:
      ClearToolMode(window);
      RunPickingTool(mode, window, button, slot);
      break;
    case Mode_HighlightNet:
    case Mode_HighlightDestination:
    case Mode_HighlightCopper:
    case Mode_TraceLength:
      HighlightRow(window, mode, button);
      break;
    case Mode_SetPrintZone:
      FinishPrintZone(window, *b);
      break;
    default:
      if (IsPickingTool(mode))
        RunPickingTool(mode, window, button, slot);
      else
        PerformMouseAction(LeftButtonActions.otherModes, window, button, slot);
      break;
  }
  if (ActiveWindowData) ActiveWindowData->DragFlags &= static_cast<std::uint8_t>(~(kDragActive | kDragPrintZone));
}

void RightButtonUp(HWND window, ButtonRecord* button, EntityRecord** slot) {
  CurrentWindowData* b = ActiveWindowData;
  if (!b || (b->ButtonFlags & kButtonHoldMenuOpen)) return;
  const std::uint8_t mode = b->EditMode;
  std::uint32_t action = RightButtonActions.otherModes;
  if (mode == Mode_Idle)
    action = RightButtonActions.idle;
  else if (IsPolygonMode(mode) || (mode == Mode_EditSelection && SingleGrabsPolygonPoint(*b)))
    action = RightButtonActions.polygonModes;
  PerformMouseAction(action, window, button, slot);
}

void AcceptCurrentEdit(HWND window, ButtonRecord* button, EntityRecord** slot) {
  CurrentWindowData* b = ActiveWindowData;
  if (!b) return;
  const std::uint8_t mode = b->EditMode;
  switch (mode) {
    case Mode_Idle:
      return;
    case Mode_MoveOrigin:
      SetCoordinateOrigin(window, AtCursor(*b));
      return;
    case Mode_ZoomIn:
      ZoomInAtPoint(window, AtCursor(*b));
      return;
    case Mode_ZoomOut:
      ZoomOutAtPoint(window, AtCursor(*b));
      return;
    case Mode_CentreView:
      CentreViewOnPoint(window, b->Cursor);
      return;
    case Mode_StartInsert:
      if (DragBoxExceedsTolerance())
        CommitModeItem(mode, window, button, slot);  // the net-editing tool takes the step
      else
        PerformMouseAction(Action_ByClickState, window, button, slot);
      return;
    default:
      break;
  }
  if (CommitBelongsToTool(mode)) {
    CommitModeItem(mode, window, button, slot);
    return;
  }
  GhostCurrentMode(window);
  AcceptGraphicRecord(window, slot);
  SetEditCursor(0);
  UpdateStatusBar(window);
}

void FinishOrCancel(HWND window, ButtonRecord* button, EntityRecord** slot) {
  CurrentWindowData* b = ActiveWindowData;
  if (!b) return;
  EntityRecord* pending = slot ? *slot : nullptr;
  if (b->EditMode != Mode_EditSelection) {
    if (pending) {
      const std::uint16_t type = pending->header.recordType;
      if ((type == 4 || type == 8 || type == 9) && pending->as<PolygonHead>().count >= 3) {
        AcceptPolygonEntry(window, pending);
        return;
      }
    }
  } else if (SelectionCount(*b) == 1) {
    const SelectionInfo* s = b->SelectionList;
    const Entity* e = TowerEntity(s->workingCopy ? s->workingCopy : s->original);
    const std::uint16_t type = e ? e->typeCode : 0;
    if (type == 4 || type == 8 || type == 9 || (type >= 41 && type <= 45) || type == 49) {
      AcceptCurrentEdit(window, button, slot);
      return;
    }
  }
  CancelCurrentOperation(window, b);
}

void ZoomToDragRectangle(HWND window) {
  CurrentWindowData* b = ActiveWindowData;
  if (!b) return;
  const pl3::Point a = b->DragStart;
  const pl3::Point c = b->DragCurrent;
  const pl3::Point centre{static_cast<std::int32_t>((std::int64_t{a.x} + c.x) / 2),
                          static_cast<std::int32_t>((std::int64_t{a.y} + c.y) / 2)};
  const double dx = std::fabs(static_cast<double>(c.x) - a.x);
  const double dy = std::fabs(static_cast<double>(c.y) - a.y);
  RECT client{};
  GetClientRect(window, &client);
  const double extent = dx > dy ? dx : dy;
  const double pixels = dx > dy ? client.right - client.left : client.bottom - client.top;
  // Truncated, and held within the zoom limits so that a tiny rectangle or an
  // empty client cannot give a zoom of 0 (the scale divides by it).
  const double wanted = pixels > 0 ? std::trunc(extent / pixels) : kZoomFarthest;
  b->Zoom = static_cast<std::uint32_t>(std::clamp(wanted, double{kZoomClosest}, double{kZoomFarthest}));
  pl3::g_raster.viewFactor = 4294967295u / b->Zoom;
  CentreViewOnPoint(window, centre);
  MoveCursorToPoint(window, centre);
  POINT mouse = ToClient(*b, b->Cursor);
  ClientToScreen(window, &mouse);
  SetCursorPos(mouse.x, mouse.y);
}

void EndDragRectangles(HWND window) {
  CurrentWindowData* b = ActiveWindowData;
  if (!b || !(b->DragFlags & (kDragActive | kDragPrintZone))) return;
  HDC dc = GetDC(window);
  if (b->DragFlags & kDragActive) ToggleDragRectangle(dc, *b);
  if (b->DragFlags & kDragPrintZone) TogglePrintZoneRectangle(dc, *b);
  ReleaseDC(window, dc);
  b->DragFlags &= static_cast<std::uint8_t>(~(kDragActive | kDragPrintZone));
}
