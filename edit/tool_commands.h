// The tool commands of the Insert and Tools menus: each arms a tool (insert
// type, edit mode, click state), ticks its menu entry and leaves the next
// click to do the work.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// Clears the tick of every tool entry of the frame menu, then ticks `id`
// (none for 0).
void CheckToolMenuItem(UINT id);

// One insert tool by its menu id (251 line, 254 arc, ... as in the Insert
// menu); false for an id that is not an insert tool. Nothing changes while a
// mode is active, except that the two hole tools still switch the plating
// option and their tick.
bool ArmInsertTool(UINT menuId);

void SetLineTool();
void SetArcTool();
void SetArcEndsTool();
void SetCircleTool();
void SetPolygonTool();
void SetRectangleTool();
void SetTextTool();
void SetPlaneTool();
void SetPlaneCutTool();
void SetThermalBreakTool();
void SetLinkedCutTool();
void SetStarEarthTrackTool();
void SetOutlineLineTool();
void SetOutlineArcTool();
void SetOutlineArcEndsTool();
void SetViaTool();
void SetPlatedHoleTool();
void SetNonPlatedHoleTool();
void SetRoutedLineTool();
void SetCentroidTool();
void SetHoleTool();
void SetThinLineTool();
void SetThinArcTool();
void SetPolygonKeepoutTool();
void SetViaKeepoutTool();
void SetPlacementKeepoutTool();
void SetWiringKeepoutTool();
void SetPlacementOutlineTool();
void SetBodyOutlineTool();
void SetPlatedSlotTool();
void SetNonPlatedSlotTool();

// The insert command of the command table by name, with its variant flag;
// false for a name that is not a drawing tool.
bool ArmInsertCommand(const char* name, std::uint32_t flag);

// The window's defaults for a new editor: 90-degree assist, the line tool.
void SetDefaultTool();
// Switches the display unit between the imperial and metric families and
// refreshes the status bar.
void ToggleStatusUnits();
