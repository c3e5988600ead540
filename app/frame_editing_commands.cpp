// The editing commands the frame's hub performs on the active editor window
// before it forwards them: the frame-menu settings, undo and redo, the
// rotations, the centroid angle, fixing a symbol, pad names, highlights, the
// origin and the print zone, and the pick modes of the Edit menu.
#include "app/frame_editing_commands.h"

#include "app/datum_dialogs.h"
#include "app/frame_hub_seams.h"
#include "app/frame_menus.h"
#include "app/item_key_commands.h"
#include "app/rotate_commands.h"
#include "app/settings_block.h"
#include "draw/display_list.h"
#include "draw/display_paint.h"
#include "draw/grids.h"
#include "edit/edit_modes.h"
#include "edit/drag_geometry.h"
#include "edit/engine_seams.h"
#include "edit/insertion_array.h"
#include "edit/mouse_road.h"
#include "edit/pad_naming.h"
#include "edit/selection_actions.h"
#include "edit/status_seams.h"
#include "edit/undo_history.h"
#include "edit/window_data.h"
#include "objects/cursor_zoom.h"
#include "objects/datums.h"
#include "objects/design_walks.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/frame_seams.h"
#include "objects/indexed_sizes.h"
#include "objects/pad_names.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/menus.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

// The entity node flag of a fixed symbol.
constexpr std::uint16_t kEntityFixed = 0x1000;

ButtonRecord* Button(CurrentWindowData& w) { return reinterpret_cast<ButtonRecord*>(&w.MousePixel); }

void Accept(HWND child, CurrentWindowData& w) { AcceptCurrentEdit(child, Button(w), &w.PendingRecord); }

const Tower* FirstItem(const CurrentWindowData& w) {
  const SelectionInfo* s = w.SelectionList;
  if (!s) return nullptr;
  return s->workingCopy ? s->workingCopy : s->original;
}

std::uint16_t OnlyPrimaryType(const CurrentWindowData& w) {
  const Tower* item = FirstItem(w);
  if (!item || CountSelections(w.SelectionList, 1) != 1) return 0;
  return LastLevel(item).typeCode;
}

bool IsInsertionMode(std::uint8_t mode) {
  switch (mode) {
    case 24: case 25: case 26: case 27: case 28: case 29: case 33: case 59: case 61: case 78: case 82: case 110:
      return true;
    default:
      return false;
  }
}

void Rotate(HWND child, CurrentWindowData& w, bool anticlockwise) {
  HDC dc = GetViewDC(child);
  if (IsInsertionMode(w.EditMode))
    RotateInsertion(child, &w.PendingRecord, w.Cursor, anticlockwise ? 0 : 1);
  else
    RotateSelection(child, anticlockwise ? kAnticlockwiseQuarterTurn : kClockwiseQuarterTurn);
  ReleaseViewDC(child, dc);
}

// Undo and Redo replay a step of the history under the hourglass; an empty
// history leaves the view alone.
void UndoOrRedo(HWND child, bool redo) {
  if (CountUndoStepEntries(redo ? 1 : 0) == 0) return;
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  if (redo)
    RedoNextStep();
  else
    UndoLastStep();
  SetCursor(previous);
  RedrawView(child);
}

// Set Angle of the centroid being placed or of the one selected.
void SetCentroidAngle(HWND child, CurrentWindowData& w) {
  switch (w.EditMode) {
    case 59: case 61:
      SetPlacedCentroidAngle(child);
      return;
    case 60:
      SetPlacedCentroidAngle(child);
      Accept(child, w);
      return;
    case 39: case 45:
      if (OnlyPrimaryType(w) != Type_Centroid) return;
      SetSelectedCentroidAngle(child);
      if (w.SelectionList->grabbedPart == 6) Accept(child, w);
      return;
    default:
      return;
  }
}

void FixSymbol(HWND child, CurrentWindowData& w) {
  if (OnlyPrimaryType(w) != Type_SymbolInstance) return;
  const SelectionInfo* s = w.SelectionList;
  if (const Tower* original = s->original ? s->original : s->workingCopy) TowerEntity(original)->flags |= kEntityFixed;
  CancelCurrentOperation(child, &w);
}

// Clear Print Zone: the zone records go and the command is greyed.
void ClearPrintZone(HWND frame, HWND child, CurrentWindowData& w) {
  if (w.design) DeleteChildEntities(w.design, kPrintZoneRecord);
  w.PrintZone = pl3::Box{-1, -1, -1, -1};
  RedrawView(child);
  RecordDesignChange();
  if (HMENU menu = GetMenu(frame)) EnableMenuItem(menu, 2475, MF_BYCOMMAND | MF_GRAYED);
}

// The origin marker follows the cursor from its grid point.
void SetOriginMode(HWND child, CurrentWindowData& w) {
  w.EditMode = Mode_MoveOrigin;
  SetEditCursor(0);
  if (w.editorKind <= kEditorPackage) {
    pl3::Point at = w.Cursor;
    SnapXYIn(w, &at.x, &at.y, 0);
    w.AnchorPoint = at;
    GhostSelectionAndMode(child, w.PendingRecord);
  }
}

// Symbol Origin: the cursor on the nearest twentieth of an inch.
void SetSymbolOriginMode(HWND child, CurrentWindowData& w) {
  constexpr std::int64_t kStep = 36576000 / 20;
  auto snap = [](std::int32_t v) {
    const std::int64_t half = v < 0 ? -kStep / 2 : kStep / 2;
    return static_cast<std::int32_t>((v + half) / kStep * kStep);
  };
  w.EditMode = Mode_MoveSymbolOrigin;
  w.Cursor = {snap(w.Cursor.x), snap(w.Cursor.y)};
  w.AnchorPoint = w.Cursor;
  GhostSelectionAndMode(child, w.PendingRecord);
}

// Edit, Copy and Delete of the Edit menu: idle, the pick mode of the action.
void EnterPickMode(HWND child, CurrentWindowData& w, UINT id) {
  struct Row {
    UINT id;
    std::uint8_t mode;
    std::uint32_t cursor;
  };
  static constexpr Row kRows[] = {{2256, 56, 3}, {2257, 57, 6}, {2258, 58, 17}};
  for (const Row& row : kRows) {
    if (row.id != id) continue;
    if (w.EditMode == 0) {
      w.EditMode = row.mode;
      SetEditCursor(row.cursor);
    } else {
      PerformFrameCommandOperation(id, child);
    }
  }
}

// The frame-menu settings: each sets its value and the check marks follow.
bool SetFrameMenuState(HWND frame, HWND child, CurrentWindowData* w, UINT id) {
  switch (id) {
    case 2034: case 2036:
      if (!w) return true;
      w->ChevronDisplay = id == 2034 ? 1 : 0;
      UpdateChevronsMenu(frame);
      RedrawView(child);
      RecordDesignChange();
      return true;
    case 2038: case 2039:
      DisplayUnitsCode = id == 2038 ? 5 : 4;
      UpdateUnitsMenu(frame);
      RecordDesignChange();
      if (child) UpdateStatusBar(child);
      return true;
    case 2407: case 2408:
      RubberbandMode = id == 2407 ? 1 : 0;
      UpdateRubberbandMenu(frame);
      return true;
    case 2428: case 2429:
      if (!w) return true;
      w->HoleMarkers = id == 2428 ? 1 : 0;
      UpdateHoleMarkersMenu(frame);
      RedrawView(child);
      return true;
    case 2375: case 2376:
      IOPortUpdateMode = id == 2375 ? 1 : 0;
      UpdateIOPortMenu(frame);
      return true;
    case 2435: case 2436:
      AnnotationMode = id == 2435 ? 1 : 0;
      UpdateAnnotationMenu(frame);
      return true;
    case 2501: case 2502:
      if (!w) return true;
      w->WidowsCheck = id == 2501 ? 1 : 0;
      UpdateWidowsMenu(frame);
      return true;
    case 2494:
      if (Settings) Settings->AutoInheritMode = Settings->AutoInheritMode == 1 ? 0 : 1;
      UpdateAutoInheritMenu(frame);
      return true;
    case 2672:
      if (Settings) Settings->AutoAnnotateSymbols = Settings->AutoAnnotateSymbols == 1 ? 0 : 1;
      UpdateAutoAnnotateMenu(frame);
      return true;
    case 2623:
      if (!w) return true;
      w->PaintOptions.HatchKeepouts = w->PaintOptions.HatchKeepouts ? 0 : 1;
      UpdateHatchKeepoutsMenu(frame);
      RedrawView(child);
      return true;
    default:
      return false;
  }
}

}  // namespace

bool RunFrameEditingCommand(HWND frame, HWND child, CurrentWindowData* state, UINT id) {
  if (SetFrameMenuState(frame, child, state, id)) return true;
  if (!child || !state) return false;
  CurrentWindowData& w = *state;
  switch (id) {
    case 2271:
    case 2273:
      UndoOrRedo(child, id == 2273);
      return true;
    case 424:
      CancelCurrentOperation(child, &w);
      return true;
    case 425:
      Accept(child, w);
      return true;
    case 2003:
      ToggleDesignatorVisibility(child);
      return true;
    case 2029:
      SetCurrentItemSize(child, nullptr, &w);
      return true;
    case 2032:
      if (w.editorKind == kEditorPcb) SetCurrentItemLayer(child, &w.PendingRecord, w.Cursor);
      return true;
    case 2005: case 433:
      Rotate(child, w, false);
      return true;
    case 2006:
      Rotate(child, w, true);
      return true;
    case 2261:
      SetCentroidAngle(child, w);
      return true;
    case 2042:
      FixSymbol(child, w);
      return true;
    case 439:
      DeleteSelectedPadLabels(w.SelectionList);
      Accept(child, w);
      return true;
    case 498:
      NameSelectedPads(child);
      GhostSelectionAndMode(child, w.PendingRecord);
      Accept(child, w);
      return true;
    case 450:
      if (w.design) {
        ClearNetHighlight(w.design);
        ClearHighlightFlags(w.design);
      }
      w.HighlightedNet = -1;
      RedrawView(child);
      RecordDesignChange();
      return true;
    case 2380:
      ShowGotoPointDialog(child);
      return true;
    case 461:
      if (w.editorKind == kEditorPcb)
        ResetOriginToMaster(child);
      else
        ResetCoordinateOrigin(child);
      return true;
    case 2656:
      if (w.design) ConvertToIndexedSizes(w.design);
      if (w.editorKind == kEditorPcb && w.design)
        w.Display = RebuildDisplayList(w.design, static_cast<DisplayList*>(w.Display));
      RedrawView(child);
      return true;
    case 2475:
      ClearPrintZone(frame, child, w);
      return true;
    case 2498:
      CancelCurrentOperation(child, &w);
      return true;
    case 2256: case 2257: case 2258:
      EnterPickMode(child, w, id);
      return true;
    case 2281:
      CancelCurrentOperation(child, &w);
      SetSpiralTool();
      SetEditCursor(6);
      {
        HDC dc = GetViewDC(child);
        BeginInsertion(child, Button(w), &w.PendingRecord);
        ReleaseViewDC(child, dc);
      }
      return true;
    case 2378:
      CancelCurrentOperation(child, &w);
      if (w.EditMode == 0) {
        w.InsertType = Type_Datum;
        SetEditCursor(6);
        StartNewDatum(child, &w.PendingRecord, w.Cursor);
      }
      return true;
    case 259:
      if (w.EditMode == 0) SetOriginMode(child, w);
      return true;
    case 2368:
      if (w.EditMode == 0) SetSymbolOriginMode(child, w);
      return true;
    case 437:
      w.EditMode = Mode_SetBlockOrigin;
      RevertSelectionArray(w.SelectionList);
      RedrawView(child);
      return true;
    default:
      return false;
  }
}
