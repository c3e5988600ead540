// The operations behind the frame commands that the hub performs on the
// active editor window (PerformFrameCommandOperation): one table from the
// command id to the editing engine's operation, or to the entry point of the
// dialog or editor that owns it (app/frame_operation_seams.h).
#include "app/frame_operations.h"

#include "app/core_utilities.h"
#include "app/edit_mode_options.h"
#include "app/frame_hub_seams.h"
#include "app/frame_operation_seams.h"
#include "app/size_dialog_seams.h"
#include "app/startup_seams.h"
#include "app/symbol_attribute_commands.h"
#include "draw/auto_pan.h"
#include "edit/cancel_delete.h"
#include "edit/clipboard.h"
#include "edit/corner_command.h"
#include "edit/engine_seams.h"
#include "edit/key_command_seams.h"
#include "edit/layer_commands.h"
#include "edit/mouse_road.h"
#include "edit/pad_stack_update.h"
#include "edit/picking_tools.h"
#include "edit/selection.h"
#include "edit/selection_actions.h"
#include "edit/symbol_fixing.h"
#include "edit/symbol_insertion.h"
#include "edit/track_tools.h"
#include "edit/undo_history.h"
#include "edit/via_insertion.h"
#include "edit/edit_modes.h"
#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/colours.h"
#include "objects/cursor_zoom.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/graphic_boxes.h"
#include "objects/graphic_records.h"
#include "objects/info_boxes.h"
#include "objects/payload_access.h"
#include "objects/polygon_entry.h"
#include "objects/selection_seams.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

CurrentWindowData* Block(HWND child) { return child ? ActiveWindowData : nullptr; }
ButtonRecord* Button(CurrentWindowData& w) { return &w.Button; }

bool InSelectionEdit(const CurrentWindowData& w) { return w.EditMode == 39 || w.EditMode == 45; }

const Tower* SelectedItem(const SelectionInfo* s) {
  if (!s) return nullptr;
  return s->workingCopy ? s->workingCopy : s->original;
}

// ---- Program dialogs --------------------------------------------------------------

int AutoPanDialog(UINT, HWND) { return ShowAutoPanDialog(FrameWindow) != 0 ? 1 : 0; }

int ConfigureSizes(UINT, HWND) { return ShowConfigureSizesDialog(FrameWindow); }

// The schematic's sizes: the undo history cannot replay steps made with the
// old sizes, so an OK clears it.
int ConfigureSchematicSizes(UINT, HWND child) {
  CurrentWindowData* w = Block(child);
  if (!w || !ShowConfigureSizesDialog(FrameWindow)) return 0;
  ClearUndoHistory(w->design);
  return 1;
}

// ---- Edit menu and the selection --------------------------------------------------

int Paste(UINT, HWND child) {
  if (!Block(child)) return 0;
  PasteFromClipboard(child);
  return 1;
}
int CopyToClipboard(UINT, HWND child) { return Block(child) ? CopySelectionToClipboard(child) : 0; }
int CutToClipboard(UINT, HWND child) { return Block(child) ? CutSelectionToClipboard(child) : 0; }

// Toggle Secondaries: a selection with secondary records lets them go back
// unchanged; one without goes back to where the move began, takes on the
// items attached to its primary records and follows the cursor again.
int ReleaseSecondaries(UINT, HWND child) {
  CurrentWindowData* w = Block(child);
  if (!w || !InSelectionEdit(*w) || !w->SelectionList) return 0;
  if (HasSecondarySelections(w->SelectionList)) {
    ReleaseSecondarySelectionsAndRedraw(child);
    return 1;
  }
  HDC dc = GetDC(child);
  GhostSelectionArray(dc, w->SelectionList);
  if (RevertSelectionArray(w->SelectionList)) ReconsiderAllPrimarySelections(&w->SelectionList);
  GhostSelectionArray(dc, w->SelectionList);
  ReleaseDC(child, dc);
  return 1;
}

// Edit, Copy and Delete of the Edit menu while an operation is under way:
// the action applies to the item at the cursor.
int ActOnItemUnderWay(UINT id, HWND child) {
  CurrentWindowData* w = Block(child);
  if (!w) return 0;
  switch (id) {
    case 2256: EditAtCursor(child, Button(*w)); break;
    case 2257: CopyAtCursor(child, Button(*w)); break;
    default: DoDelete(child, Button(*w), &w->PendingRecord); break;
  }
  return 1;
}

// ---- Options of the edit modes ------------------------------------------------------

// Accept Vertex: the left button released at the cursor.
int AcceptVertex(UINT, HWND child) {
  CurrentWindowData* w = Block(child);
  if (!w) return 0;
  DoLButtonUp(child, Button(*w), &w->PendingRecord);
  return 1;
}

int AcceptPolygon(UINT, HWND child) {
  CurrentWindowData* w = Block(child);
  return w && w->PendingRecord ? AcceptPolygonEntry(child, w->PendingRecord) : 0;
}

int RemoveVertex(UINT, HWND child) {
  if (!Block(child)) return 0;
  RemoveVertexCommand(child);
  return 1;
}

int DeleteItem(UINT, HWND child) {
  if (!Block(child)) return 0;
  DeleteCommand(child);
  return 1;
}

// The command table's Accept Polygon Point: the cursor becomes a vertex.
int AddPolygonPoint(UINT, HWND child) {
  if (!Block(child)) return 0;
  AddPolygonPointCommand(child);
  return 1;
}

// Next Colour: idle, the item at the cursor is selected; editing the
// selection, every primary record takes the next colour of its class;
// otherwise the item being placed does.
int NextColour(UINT, HWND child) {
  CurrentWindowData* w = Block(child);
  if (!w) return 0;
  if (w->EditMode == 0) {
    DoSelect(child, Button(*w), &w->PendingRecord);
    RedrawView(child);
    return 1;
  }
  if (InSelectionEdit(*w)) {
    constexpr std::uint32_t kNextColourAction = 9;
    if (!ValidateSelectionForAction(kNextColourAction, 0)) return 0;
    GhostSelectionAndMode(child, w->PendingRecord);
    const int done = PerformSelectionArrayAction(kNextColourAction, 0);
    GhostSelectionAndMode(child, w->PendingRecord);
    return done;
  }
  return CycleEntityColour(child, nullptr);
}

// Set Colour: editing the selection, every primary record takes the colour
// chosen by the selection action; the item being placed takes the colour
// chosen in the colour dialog.
int SetColour(UINT, HWND child) {
  CurrentWindowData* w = Block(child);
  if (!w) return 0;
  if (!InSelectionEdit(*w)) {
    if (!w->PendingRecord) return 0;
    GhostSelectionAndMode(child, w->PendingRecord);
    const int chosen = SetItemColour(child, w->PendingRecord);
    GhostSelectionAndMode(child, w->PendingRecord);
    return chosen;
  }
  constexpr std::uint32_t kSetColourAction = 10;
  if (!ValidateSelectionForAction(kSetColourAction, 0)) return 0;
  GhostSelectionAndMode(child, w->PendingRecord);
  const int done = PerformSelectionArrayAction(kSetColourAction, 0);
  GhostSelectionAndMode(child, w->PendingRecord);
  return done;
}

// Where Insert Via puts its via: the free end of the track being placed,
// else the grabbed end of the selected track (its second end unless the
// first is grabbed).
bool ViaPoint(const CurrentWindowData& w, pl3::Point* at) {
  if ((w.EditMode == 1 || w.EditMode == 104) && w.PendingRecord &&
      w.PendingRecord->header.recordType == Type_Track) {
    const auto& track = w.PendingRecord->as<LinePayload>();
    *at = {track.x2, track.y2};
    return true;
  }
  const SelectionInfo* s = w.SelectionList;
  const Tower* item = SelectedItem(s);
  if (!item || LastLevel(item).typeCode != Type_Track) return false;
  const auto* track = reinterpret_cast<const LinePayload*>(PayloadOfAtLeast(TowerEntity(item), sizeof(LinePayload)));
  if (!track) return false;
  *at = s->grabbedPart == kGrabFirstEnd ? pl3::Point{track->x1, track->y1} : pl3::Point{track->x2, track->y2};
  return true;
}

int InsertVia(UINT, HWND child) {
  CurrentWindowData* w = Block(child);
  if (!w) return 0;
  pl3::Point at{};
  Tower* via = ViaPoint(*w, &at) ? InsertViaAtPoint(at) : nullptr;
  if (!via) {
    MessageBeep(MB_ICONEXCLAMATION);
    return 0;
  }
  pl3::Box box{};
  if (GetGraphicBox(TowerPayload(via), Type_Via, &box)) RedrawViewRect(child, &box, 0);
  ReleaseTower(&via);
  return 1;
}

// Next Layer and Flip Layer: idle they select at the cursor, else the item
// being placed or the selection moves to the next layer or the other side.
int NextOrFlipLayer(UINT id, HWND child) {
  CurrentWindowData* w = Block(child);
  if (!w) return 0;
  if (id == 2414)
    FlipLayerCommand(child, Button(*w), &w->PendingRecord);
  else
    NextLayerCommand(child, Button(*w), &w->PendingRecord);
  return 1;
}

int UpdatePadStack(UINT, HWND child) {
  CurrentWindowData* w = Block(child);
  if (!w) return 0;
  UpdatePadStacks(child, Button(*w), &w->PendingRecord);
  return 1;
}

int RipUpTrack(UINT, HWND child) {
  CurrentWindowData* w = Block(child);
  if (!w || !w->SelectionList) return 0;
  RipUpSelectedTrack(w->SelectionList);
  return 1;
}

// ---- Tools ---------------------------------------------------------------------------

// A picking tool of the Tools menu: its setter arms the tool's mode (from
// idle or its partner mode), and the next click in the view does the work.
template <void (*Setter)(HWND)>
int ArmTool(UINT, HWND child) {
  if (!Block(child)) return 0;
  Setter(child);
  return 1;
}

int RemoveAllInfoBoxes(UINT, HWND child) {
  CurrentWindowData* w = Block(child);
  if (!w || !w->design) return 0;
  RemoveInfoBoxes(w->design, 0, 1);
  return 1;
}
int GotoDatum(UINT, HWND child) {
  if (!Block(child)) return 0;
  ShowGotoDatumDialog(child);
  return 1;
}
int GotoCoordinateOrigin(UINT, HWND child) {
  if (!Block(child)) return 0;
  GotoOrigin(child);
  return 1;
}
// Next and Previous DRC Error: a schematic steps through its own check
// results, the other editors through the design's markers.
int StepDrcError(UINT id, HWND child) {
  CurrentWindowData* w = Block(child);
  if (!w) return 0;
  if (w->editorKind == kEditorSchematic) return RunSchematicEditorCommand(id, child);
  return id == 2405 ? GotoNextInfoBox(child) : GotoPreviousInfoBox(child);
}
// The 3D view's modes: the view takes its mode, the menu's check follows.
int View3DMode(UINT id, HWND child) {
  const int done = RunOutputCommand(id, child);
  UpdateView3DModeMenu(FrameWindow);
  return done;
}

// ---- The attribute locator of a placed symbol (2505) ------------------------------------

// The cursor goes to the symbol definition's origin as the placed symbol
// stands, and a new attribute display of the symbol, its attribute chosen
// by the user, follows it.
int PlaceSymbolAttributeLocator(UINT, HWND child) {
  CurrentWindowData* w = Block(child);
  if (!w) return 0;
  const Tower* item = SelectedItem(w->SelectionList);
  if (!item || LastLevel(item).typeCode != Type_SymbolInstance) return 0;
  Tower* symbol = DuplicateTower(item);
  CancelCurrentOperation(child, w);
  Tower* definition = GetInstanceSymbolDef(symbol);
  if (const auto* origin = static_cast<const pl3::Point*>(GetEntityData(definition, Type_Origin))) {
    pl3::Point at = *origin;
    if (const auto* placement = static_cast<const pl3::Transform*>(GetEntityData(symbol, Type_Transform)))
      pl3::TransformPoint(placement, at.x, at.y);
    w->Cursor = at;
    MoveCursorToPoint(child, at);
  }
  ReleaseTower(&definition);
  Tower* display = BuildDesignatorTextRecord(symbol, nullptr, 1);
  ReleaseTower(&symbol);
  if (!display) return 0;
  ReleaseTower(&w->TemporaryEntity);
  w->TemporaryEntity = display;
  w->AnchorPoint = w->Cursor;
  w->EditMode = Mode_PlaceAttributeLocator;
  SetSelectionAndOptionsMenus(42);
  RedrawView(child);
  return 1;
}

// ---- The table ---------------------------------------------------------------------------

using Operation = int (*)(UINT id, HWND child);
struct OperationRow {
  UINT id;
  Operation run;
  const char* name;  // what the command reaches, for the log and the tests
};

#define OP(id, fn) {id, &fn, #fn}
#define TOOL(id, setter) {id, &ArmTool<&setter>, #setter}
constexpr OperationRow kOperations[] = {
    // Program dialogs.
    OP(459, RunConfigurationSheet), OP(307, RunSettingsDialogCommand), OP(340, RunSettingsDialogCommand),
    OP(2433, AutoPanDialog), OP(2017, RunOptionDialogCommand), OP(2359, RunOptionDialogCommand),
    OP(2548, RunSelectNetCommand), OP(2427, RunSelectNetCommand),
    // Editor dialogs.
    OP(302, RunLayerDialogCommand), OP(2260, RunLayerDialogCommand), OP(2255, RunLayerDialogCommand),
    OP(304, RunSettingsDialogCommand), OP(463, ConfigureSizes), OP(2334, ConfigureSchematicSizes),
    OP(2426, RunFrameDialogCommand), OP(2603, RunFrameDialogCommand), OP(2430, RunFrameDialogCommand),
    OP(2394, RunOptionDialogCommand), OP(2348, RunOptionDialogCommand), OP(2356, EditSelectedPackageGlobalPins),
    OP(2539, RunSmallDialogCommand), OP(2594, RunSmallDialogCommand), OP(2425, RunPl2GhostCommand),
    OP(2658, RunOutputCommand), OP(2571, RunOutputCommand), OP(2690, RunOutputCommand),
    OP(2336, EditSelectedSymbolAttributes), OP(2337, EditSelectedPackageAttributes),
    // Edit menu and the selection.
    OP(2270, Paste), OP(2268, CopyToClipboard), OP(2269, CutToClipboard), OP(438, ReleaseSecondaries),
    OP(2049, ReleaseSecondaries), OP(2545, RunMacroBlockCommand), OP(2256, ActOnItemUnderWay),
    OP(2257, ActOnItemUnderWay), OP(2258, ActOnItemUnderWay),
    // Options of the edit modes.
    OP(435, AcceptVertex), OP(436, AcceptPolygon), OP(422, RemoveVertex), OP(2004, ToggleVertexGrab),
    OP(426, MoveWholeSelection), OP(427, DeleteItem), OP(428, NextOrFlipLayer), OP(2414, NextOrFlipLayer),
    OP(443, CycleTextAlignment), OP(444, CycleTextAlignment), OP(2040, MirrorTextOption),
    OP(2302, ToggleSelectedDimensionerArrows),
    OP(2303, EditSelectedDimensionerLabel), OP(2305, CycleDimensionerUnits), OP(2354, FlipSchematicSymbolFlag),
    OP(2507, FlipSchematicSymbolFlag), OP(2360, NextColour), OP(2362, SetColour), OP(2391, ToggleDatumFixed),
    OP(2649, SetKeepoutKind), OP(2652, SetKeepoutKind), OP(2653, SetKeepoutKind),
    OP(2654, SetKeepoutKind), OP(2285, RunPlaneNetCommand), OP(2382, RunLibraryEditorCommand),
    OP(2383, RunLibraryEditorCommand), OP(2443, UpdatePadStack), OP(2482, RunBoardSymbolCommand),
    OP(2674, RunLibraryEditorCommand), OP(2432, InsertVia), OP(2447, RipUpTrack), OP(421, AddPolygonPoint),
    OP(2505, PlaceSymbolAttributeLocator),
    // Tools.
    TOOL(2253, SetBreakTool), TOOL(2254, SetJoinTool), TOOL(2538, SetRadiusCornerTool), OP(448, RunObjectInformationCommand),
    TOOL(449, SetFixSymbolTool), TOOL(2252, SetUnfixSymbolTool), TOOL(451, SetCentreOnPadTool),
    OP(2264, RemoveAllInfoBoxes), TOOL(2288, SetCheckRouteTool), TOOL(2287, SetAssignPlaneNetTool),
    OP(2379, GotoDatum), OP(266, GotoCoordinateOrigin), OP(2405, StepDrcError), OP(2406, StepDrcError),
    TOOL(2415, SetTrackFromPadTool), TOOL(2431, SetTrackFromEndTool), TOOL(2420, SetShowNetByNodeTool), TOOL(2421, SetHideNetByNodeTool),
    TOOL(2422, SetShowNetBySymbolTool), TOOL(2423, SetHideNetBySymbolTool), OP(2553, RunRatsnestCommand),
    OP(2554, RunRatsnestCommand), TOOL(2625, SetTraceLengthTool), OP(2535, RunBoardSymbolCommand),
    TOOL(2396, SetFindComplementaryTool), OP(2599, View3DMode), OP(2617, View3DMode), OP(2619, View3DMode),
    OP(2621, View3DMode), OP(2546, RunMacroBlockCommand),
    // Schematic symbols.
    TOOL(2351, SetPackageSymbolTool), TOOL(2442, SetPackageInGateTool), OP(2404, RunSchematicEditorCommand),
    TOOL(2410, SetPlaceFromSchematicTool),
    // The autorouter.
    OP(2582, RunAutorouterCommand), OP(2583, RunAutorouterCommand), OP(2584, RunAutorouterCommand),
    OP(2661, RunAutorouterCommand), OP(2663, RunAutorouterCommand), OP(2664, RunAutorouterCommand),
};
#undef TOOL
#undef OP

const OperationRow* FindRow(UINT id) {
  for (const OperationRow& row : kOperations)
    if (row.id == id) return &row;
  return nullptr;
}

}  // namespace

const char* FrameOperationName(UINT id) {
  const OperationRow* row = FindRow(id);
  return row ? row->name : nullptr;
}

int PerformFrameCommandOperation(UINT id, HWND child) {
  const OperationRow* row = FindRow(id);
  return row ? row->run(id, child) : 0;
}
