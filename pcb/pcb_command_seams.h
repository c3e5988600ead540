// What the PCB command handler (pcb/pcb_commands.cpp) asks of the PCB
// editor's other features and of the neighbouring subsystems. Each owner
// defines its functions; until it lands the program links the refusing
// stand-ins of app/*_seams_pending.cpp named at each group, and the tests
// link recording fakes (tests/pcb/pcb_command_fakes.cpp).
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/win_types.h"

struct Tower;
struct ButtonRecord;
struct CurrentWindowData;

// ---- Netlists and scripts (app/netlist_command_seams_pending.cpp) ------------------

// Ends the current operation, then imports a netlist with the index-th
// netlist-import plug-in.
void ImportNetCommand(std::uint32_t index);
// Runs the script of entry `index` of the script-menu path list.
void RunListedScript(std::uint32_t index);
// Re-imports the design's stored netlist file with the plug-in stored with it.
int OpenNetFile(HWND window, const Tower* design);
// Builds the netlist from the copper connectivity of the current design.
void GenerateNetlistFromCopper();

// ---- Symbols of a board (app/board_symbol_seams_pending.cpp) -----------------------

// The Insert Symbol chooser: 1 when a definition was chosen and its
// placement started.
int InsertSymbolFromNetlist(HWND window);
// The symbol mapping dialog over the design's netlist.
void MapSymbolDefinitions(HWND window);
// Selects the placed symbol of the designator, or starts placing the
// netlist's symbol of it; 1 when done.
int GetSymbolByDesignator(HWND window, const Tower* design, const char* designator);
// Starts placing a mechanical symbol definition loaded into the design, as a
// dropped one is placed.
void BeginPlaceMechanicalSymbol(HWND window, const Tower* definition);
// Writes the designator list of the design to a text file.
void WriteDesignatorList(const Tower* design);
// The Find Symbol dialog (resource 1028) of a PCB window.
void ShowFindComponentDialog(HWND window);

// ---- Nets, ratsnest and net editing (app/net_editing_seams_pending.cpp) -------------

// The rats nest configuration dialog; on OK the design is marked changed.
void RatsNestConfig(HWND window);
// Makes the net-editing tool current when no edit mode is active.
void SelectNetEditTool();
// Begins a net edit of the operation (1 add, 3 remove, 4 rename) at the click.
void BeginNetEdit(ButtonRecord* click, int operation);
// Deletes the design's netlist.
void DeleteNetlist();

// ---- Planes and design rules (app/plane_command_seams_pending.cpp) -----------------

// Places thermal breaks automatically, or deletes the automatic ones.
void AutoThermalBreak(HWND window, const Tower* design);
void DeleteAutoThermalBreaks(const Tower* design);
// Autocut of the active board's planes, and removal of its cuts.
void RunAutocut();
void RemoveAutoCuts(const Tower* design);
// The "Plane Clearances" dialog (resource 1156): IDOK when closed with OK.
std::intptr_t ShowPlaneClearancesDialog(HWND owner);
// The full design rule check of the window, and the rules' configuration.
void PerformFullDRC(HWND window);
void ConfigureDRC(HWND window);

// ---- Board dialogs (app/board_dialog_seams_pending.cpp) ----------------------------

// The "PCB Information" dialog on an information Tower of the given kind
// (2 for a PCB): 1 from OK, 0 from Cancel.
std::intptr_t GetPCBInfoDlg(HWND owner, const Tower* info, std::uint32_t kind);

#pragma pack(push, 1)
// The board value record (13203).
struct BoardValue {
  double thickness;
  std::uint32_t word1;
  std::uint32_t word2;
};
#pragma pack(pop)
static_assert(sizeof(BoardValue) == 16);
static_assert(offsetof(BoardValue, word1) == 8 && offsetof(BoardValue, word2) == 12);

// The parameter block of the "Board Setup" dialog.
struct BoardSetupBlock {
  std::uint32_t copperLayers;
  BoardValue board;
  std::uint32_t entryCount;
  std::uint16_t* entries;  // entryCount 2-byte entries (std::malloc), or null
  void* stackup;           // the layer stack-up (GetLayerStackup), or null
};

// "PCBDimensionsDlg": IDOK when closed with OK, the block then edited.
std::intptr_t PCBDimensionsDlg(HWND owner, BoardSetupBlock* block);
// The design's layer stack-up (record 7150, or a default from the copper
// layers) as a new heap value (std::free), and its storing as 7150.
void* GetLayerStackup(const Tower* design);
void StoreLayerStackup(const Tower* design, const void* stackup);

// ---- The PCB window (app/pcb_window_seams_pending.cpp) -----------------------------

// Makes the block current, the kernel's view globals and the grid working
// area following it.
void MakePCBWindowCurrent(CurrentWindowData* block);
