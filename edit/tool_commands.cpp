#include "edit/tool_commands.h"

#include <cstring>

#include "edit/edit_modes.h"
#include "edit/insertion.h"
#include "edit/status_seams.h"
#include "edit/window_data.h"
#include "objects/item_helper_seams.h"
#include "objects/view_seams.h"
#include "platform/menus.h"

namespace {

constexpr UINT kToolMenuIds[] = {254, 251, 256, 257, 258, 492, 458, 2605, 2607, 2611, 265, 215, 201, 359,
                                 2483, 494, 457, 458, 2605};

struct InsertToolRow {
  UINT id;
  std::uint8_t insertType;
  UINT tick;  // 0: no tick
  bool startMode;
};

constexpr InsertToolRow kInsertTools[] = {
    {251, 1, 251, true},    {254, 2, 254, true},    {2552, 170, 254, true}, {256, 3, 256, false},
    {257, 4, 257, true},    {258, 6, 258, false},   {265, 5, 265, false},   {215, 8, 215, true},
    {201, 9, 201, true},    {359, 10, 359, true},   {2386, 35, 2386, true}, {2483, 37, 2483, true},
    {2550, 39, 2550, true}, {2549, 38, 2549, true}, {2551, 169, 2549, true}, {457, 17, 457, false},
    {2605, 7, 2605, false}, {458, 7, 458, false},   {494, 11, 11, false},   {2263, 18, 0, false},
    {492, 7, 0, false},     {2023, 23, 0, true},    {2025, 24, 0, true},    {2578, 41, 0, true},
    {2587, 42, 0, true},    {2588, 43, 0, true},    {2645, 49, 0, true},    {2591, 44, 0, true},
    {2593, 45, 0, true},    {2607, 46, 0, true},    {2611, 47, 0, true},
};

const InsertToolRow* FindTool(UINT id) {
  for (const InsertToolRow& row : kInsertTools)
    if (row.id == id) return &row;
  return nullptr;
}

constexpr UINT kPlatedHoleId = 2605, kNonPlatedHoleId = 458, kRoutedLineId = 494;

}  // namespace

void CheckToolMenuItem(UINT id) {
  HMENU menu = FrameWindow ? GetMenu(FrameWindow) : nullptr;
  if (!menu) return;
  for (UINT tool : kToolMenuIds) CheckMenuItem(menu, tool, MF_BYCOMMAND | MF_UNCHECKED);
  if (id) CheckMenuItem(menu, id, MF_BYCOMMAND | MF_CHECKED);
}

bool ArmInsertTool(UINT menuId) {
  const InsertToolRow* row = FindTool(menuId);
  if (!row) return false;
  CurrentWindowData* w = ActiveWindowData;
  if (menuId == kPlatedHoleId || menuId == kNonPlatedHoleId) {
    if (menuId == kPlatedHoleId)
      ProgramOptionWord &= ~kOptionNonPlatedHoles;
    else
      ProgramOptionWord |= kOptionNonPlatedHoles;
    CheckToolMenuItem(row->tick);
  }
  if (!w || w->EditMode != Mode_Idle) return true;
  if (menuId != kRoutedLineId) w->StateFlags &= ~kStateRoutedLine;
  w->InsertType = row->insertType;
  if (row->tick) CheckToolMenuItem(row->tick);
  w->ClickState = 0;
  if (row->startMode) w->EditMode = Mode_StartInsert;
  return true;
}

void SetLineTool() { ArmInsertTool(251); }
void SetArcTool() { ArmInsertTool(254); }
void SetArcEndsTool() { ArmInsertTool(2552); }
void SetCircleTool() { ArmInsertTool(256); }
void SetPolygonTool() { ArmInsertTool(257); }
void SetRectangleTool() { ArmInsertTool(258); }
void SetTextTool() { ArmInsertTool(265); }
void SetPlaneTool() { ArmInsertTool(215); }
void SetPlaneCutTool() { ArmInsertTool(201); }
void SetThermalBreakTool() { ArmInsertTool(359); }
void SetLinkedCutTool() { ArmInsertTool(2386); }
void SetStarEarthTrackTool() { ArmInsertTool(2483); }
void SetOutlineLineTool() { ArmInsertTool(2550); }
void SetOutlineArcTool() { ArmInsertTool(2549); }
void SetOutlineArcEndsTool() { ArmInsertTool(2551); }
void SetViaTool() { ArmInsertTool(457); }
void SetPlatedHoleTool() { ArmInsertTool(2605); }
void SetNonPlatedHoleTool() { ArmInsertTool(458); }
void SetRoutedLineTool() { ArmInsertTool(494); }
void SetCentroidTool() { ArmInsertTool(2263); }
void SetHoleTool() { ArmInsertTool(492); }
void SetThinLineTool() { ArmInsertTool(2023); }
void SetThinArcTool() { ArmInsertTool(2025); }
void SetPolygonKeepoutTool() { ArmInsertTool(2578); }
void SetViaKeepoutTool() { ArmInsertTool(2587); }
void SetPlacementKeepoutTool() { ArmInsertTool(2588); }
void SetWiringKeepoutTool() { ArmInsertTool(2645); }
void SetPlacementOutlineTool() { ArmInsertTool(2591); }
void SetBodyOutlineTool() { ArmInsertTool(2593); }
void SetPlatedSlotTool() { ArmInsertTool(2607); }
void SetNonPlatedSlotTool() { ArmInsertTool(2611); }

namespace {

struct CommandRow {
  const char* name;
  UINT tool;
};

// The command table's drawing tools and the tool each reaches.
constexpr CommandRow kCommands[] = {
    {"insert.line", 251},          {"insert.arc.centre", 254},    {"insert.arc.ends", 254},
    {"insert.boardoutline.arc.ends", 254}, {"insert.boardoutline.arc.centre", 254},
    {"insert.boardoutline.line", 251}, {"insert.starearthtrack", 251}, {"insert.platedslot", 251},
    {"insert.nonplatedslot", 251}, {"insert.circle", 256},        {"insert.rectangle", 258},
    {"insert.polygon", 257},       {"insert.text", 265},          {"insert.via", 457},
    {"insert.nonplatedhole", 458}, {"insert.platedhole", 2605},   {"insert.thermalbreak", 359},
    {"insert.polycut", 201},       {"insert.polyplane", 215},     {"insert.linkedcut", 2386},
    {"insert.centroid", 2263},     {"insert.polykeepout", 2578},
};

// The insert type a command's variant gives on top of its tool's.
std::uint8_t VariantInsertType(const char* name, std::uint32_t flag, std::uint8_t type) {
  const bool ends = std::strstr(name, ".arc.ends") != nullptr;
  if (std::strstr(name, ".arc.")) return flag == 4 ? (ends ? 169 : 38) : (ends ? 170 : 2);
  switch (flag) {
    case 16: return 37;
    case 32: return 39;
    case 64: return 46;
    case 128: return 47;
    default: break;
  }
  if (std::strcmp(name, "insert.starearthtrack") == 0) return 37;
  if (std::strcmp(name, "insert.platedslot") == 0) return 46;
  if (std::strcmp(name, "insert.nonplatedslot") == 0) return 47;
  return type;
}

}  // namespace

bool ArmInsertCommand(const char* name, std::uint32_t flag) {
  if (!name) return false;
  for (const CommandRow& row : kCommands) {
    if (std::strcmp(row.name, name) != 0) continue;
    CurrentWindowData* w = ActiveWindowData;
    const bool idle = w && w->EditMode == Mode_Idle;
    ArmInsertTool(row.tool);
    if (idle) w->InsertType = VariantInsertType(name, flag, w->InsertType);
    return true;
  }
  return false;
}

void SetDefaultTool() {
  if (CurrentWindowData* w = ActiveWindowData) {
    w->AngleAssist = 1;
    w->InsertType = 1;
  }
}

void ToggleStatusUnits() {
  switch (DisplayUnitsCode) {
    case 0: case 1: case 4: DisplayUnitsCode = 5; break;
    default: DisplayUnitsCode = 4; break;
  }
  if (const CurrentWindowData* w = ActiveWindowData) UpdateStatusBar(w->Window);
}
