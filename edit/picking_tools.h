// The picking tools of the Tools menu: each arms an edit mode whose next
// click picks an object and works on it (RunPickingTool, edit/engine_seams.h,
// is that click). A tool is armed from idle or from its partner mode; it
// then selects the view's cursor for the tool. The Copy and Package Symbol
// tools act at once in a window where a mode is already active.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// One picking tool by its menu id (2267 Highlight Net, 2254 Join, ... as in
// the Tools menu); false for an id that is not a picking tool.
bool ArmPickingTool(UINT menuId);

void SetHighlightNetTool(HWND window);
void SetHighlightDestinationTool(HWND window);
void SetTraceLengthTool(HWND window);
void SetJoinTool(HWND window);
void SetBreakTool(HWND window);
void SetRadiusCornerTool(HWND window);
void SetAssignPlaneNetTool(HWND window);
void SetCheckRouteTool(HWND window);
void SetCopyTool(HWND window);
void SetCentreOnPadTool(HWND window);
void SetPackageSymbolTool(HWND window);
void SetPackageInGateTool(HWND window);
void SetPlaceFromSchematicTool(HWND window);
void SetTrackFromPadTool(HWND window);
void SetTrackFromEndTool(HWND window);
void SetShowNetByNodeTool(HWND window);
void SetHideNetByNodeTool(HWND window);
void SetShowNetBySymbolTool(HWND window);
void SetHideNetBySymbolTool(HWND window);
void SetFixSymbolTool(HWND window);
void SetUnfixSymbolTool(HWND window);
void SetFindComplementaryTool(HWND window);
