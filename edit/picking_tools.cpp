#include "edit/picking_tools.h"

#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "edit/window_data.h"
#include "objects/editor_seams.h"

namespace {

enum class AtOnce : std::uint8_t { Nothing, Copy, PackageSymbol };

struct PickingToolRow {
  UINT id;
  std::uint8_t mode;
  std::uint8_t partner;  // the mode it may also be armed from; 0 for idle only
  std::uint32_t cursor;
  AtOnce whenActive;
};

constexpr PickingToolRow kPickingTools[] = {
    {2267, Mode_HighlightNet, Mode_HighlightDestination, 24, AtOnce::Nothing},
    {2266, Mode_HighlightDestination, Mode_HighlightNet, 24, AtOnce::Nothing},
    {2625, Mode_TraceLength, 0, 24, AtOnce::Nothing},
    {2254, Mode_JoinTrack, Mode_BreakTrack, 20, AtOnce::Nothing},
    {2253, Mode_BreakTrack, Mode_JoinTrack, 21, AtOnce::Nothing},
    {2538, Mode_RadiusCorner, 0, 41, AtOnce::Nothing},
    {2287, Mode_AssignPlaneNet, 0, 9, AtOnce::Nothing},
    {2288, Mode_CheckRoute, 0, 18, AtOnce::Nothing},
    {2257, Mode_Copy, 0, 6, AtOnce::Copy},
    {451, Mode_CentreOnPad, 0, 22, AtOnce::Nothing},
    {2351, Mode_PackageSchematicSymbol, 0, 26, AtOnce::PackageSymbol},
    {2442, Mode_PackageSchematicSymbolInGate, 0, 26, AtOnce::PackageSymbol},
    {2410, Mode_PlaceFromSchematic, 0, 31, AtOnce::Nothing},
    {2415, Mode_TrackFromPadCentre, Mode_UnfixSymbol, 7, AtOnce::Nothing},
    {2431, Mode_TrackFromTrackEnd, Mode_UnfixSymbol, 7, AtOnce::Nothing},
    {2420, Mode_ShowNetByNode, 0, 32, AtOnce::Nothing},
    {2421, Mode_HideNetByNode, 0, 33, AtOnce::Nothing},
    {2422, Mode_ShowNetBySymbol, 0, 32, AtOnce::Nothing},
    {2423, Mode_HideNetBySymbol, 0, 33, AtOnce::Nothing},
    {449, Mode_FixSymbol, Mode_UnfixSymbol, 5, AtOnce::Nothing},
    {2252, Mode_UnfixSymbol, Mode_FixSymbol, 19, AtOnce::Nothing},
    {2396, Mode_FindComplimentary, 0, 30, AtOnce::Nothing},
};

// Place From Schematic's first click chooses the symbol.
constexpr std::uint32_t kPlaceFromSchematicClickState = 5;

const PickingToolRow* FindRow(UINT id) {
  for (const PickingToolRow& row : kPickingTools)
    if (row.id == id) return &row;
  return nullptr;
}

void ActAtOnce(AtOnce what, CurrentWindowData& w) {
  HWND window = static_cast<HWND>(w.Window);
  switch (what) {
    case AtOnce::Copy: CopyAtCursor(window, &w.Button); break;
    case AtOnce::PackageSymbol: PackageSymbolAtCursor(window, &w.Button, &w.PendingRecord); break;
    case AtOnce::Nothing: break;
  }
}

}  // namespace

bool ArmPickingTool(UINT menuId) {
  const PickingToolRow* row = FindRow(menuId);
  if (!row) return false;
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return true;
  const std::uint8_t mode = w->EditMode;
  if (mode == Mode_Idle || (row->partner && mode == row->partner)) {
    if (row->mode == Mode_CentreOnPad) DrawCrosshair(static_cast<HWND>(w->Window), &w->Crosshair);
    w->EditMode = row->mode;
    if (row->mode == Mode_PlaceFromSchematic) w->ClickState = kPlaceFromSchematicClickState;
    SetEditCursor(row->cursor);
  } else {
    ActAtOnce(row->whenActive, *w);
  }
  return true;
}

void SetHighlightNetTool(HWND) { ArmPickingTool(2267); }
void SetHighlightDestinationTool(HWND) { ArmPickingTool(2266); }
void SetTraceLengthTool(HWND) { ArmPickingTool(2625); }
void SetJoinTool(HWND) { ArmPickingTool(2254); }
void SetBreakTool(HWND) { ArmPickingTool(2253); }
void SetRadiusCornerTool(HWND) { ArmPickingTool(2538); }
void SetAssignPlaneNetTool(HWND) { ArmPickingTool(2287); }
void SetCheckRouteTool(HWND) { ArmPickingTool(2288); }
void SetCopyTool(HWND) { ArmPickingTool(2257); }
void SetCentreOnPadTool(HWND) { ArmPickingTool(451); }
void SetPackageSymbolTool(HWND) { ArmPickingTool(2351); }
void SetPackageInGateTool(HWND) { ArmPickingTool(2442); }
void SetPlaceFromSchematicTool(HWND) { ArmPickingTool(2410); }
void SetTrackFromPadTool(HWND) { ArmPickingTool(2415); }
void SetTrackFromEndTool(HWND) { ArmPickingTool(2431); }
void SetShowNetByNodeTool(HWND) { ArmPickingTool(2420); }
void SetHideNetByNodeTool(HWND) { ArmPickingTool(2421); }
void SetShowNetBySymbolTool(HWND) { ArmPickingTool(2422); }
void SetHideNetBySymbolTool(HWND) { ArmPickingTool(2423); }
void SetFixSymbolTool(HWND) { ArmPickingTool(449); }
void SetUnfixSymbolTool(HWND) { ArmPickingTool(2252); }
void SetFindComplementaryTool(HWND) { ArmPickingTool(2396); }
