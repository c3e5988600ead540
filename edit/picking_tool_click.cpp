// The click of an armed picking tool (RunPickingTool, edit/engine_seams.h):
// each mode hands the click to its tool. In a file of its own so that tests
// of the mouse road can record the call instead.
#include "edit/corner_command.h"
#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "edit/picking_tool_seams.h"
#include "edit/symbol_fixing.h"
#include "edit/track_tools.h"
#include "edit/window_data.h"
#include "platform/user.h"

void RunPickingTool(std::uint8_t mode, HWND window, ButtonRecord* button, EntityRecord** pendingSlot) {
  const CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t kind = w ? w->editorKind : 0;
  const bool schematic = kind == kEditorSchematic || kind == kEditorSchematicSymbol;
  switch (mode) {
    case 47: TogglePlaneFlag(); break;
    case Mode_FixSymbol: FixClosestSymbol(window, button); break;
    case Mode_UnfixSymbol: UnfixClosestSymbol(window, button); break;
    case Mode_JoinTrack: JoinLines(window); break;
    case Mode_BreakTrack: SplitLine(window); break;
    case Mode_CheckRoute: CheckSelectedNet(window, button); break;
    case Mode_PackageSchematicSymbol:
    case Mode_PackageSchematicSymbolInGate: PackageSymbolAtCursor(window, button, pendingSlot); break;
    case Mode_FindComplimentary:
      if (kind == kEditorPcb || kind == kEditorSchematic) FindComplementaryAtCursor(window, pendingSlot, button);
      break;
    case Mode_PlaceFromSchematic: PlaceFromSchematic(window, button); break;
    case Mode_TrackFromPadCentre: InsertTrackFromPad(window, button, pendingSlot); break;
    case Mode_TrackFromTrackEnd: ContinueTrack(window, button, pendingSlot); break;
    case Mode_ShowNetByNode: ShowHideRatsnestNode(window, button, 1); break;
    case Mode_HideNetByNode: ShowHideRatsnestNode(window, button, 0); break;
    case Mode_ShowNetBySymbol: ShowHideRatsnestBySymbol(window, button, 1); break;
    case Mode_HideNetBySymbol: ShowHideRatsnestBySymbol(window, button, 0); break;
    case Mode_PinSwap:
      if (schematic)
        SchematicPinSwapAtCursor(window, button);
      else
        PinSwapAtCursor(window, button);
      break;
    case Mode_EditSymbolAttributes: EditSymbolInstanceAttributes(window, button); break;
    case Mode_EditPackageAttributes: EditPackageInstanceAttributes(window, button); break;
    case Mode_EditPackageGlobalNetsBySymbol: EditPackageGlobalNets(window, button); break;
    case Mode_ModifyPreRoutes: ModifyPreRoutes(window, button); break;
    case Mode_RadiusCorner: DoCornerCommand(window); break;
    default: MessageBeep(0); break;  // a mode no tool here owns
  }
}
