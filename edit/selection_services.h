// What the selection asks of the code built above and beside it: the ghost
// copies of selected symbols and pads (the insertion array's), and the PCB
// editor's queries about holes on pads and its manual-placement state, and
// the size and colour choosers of the Options menu (defined in ui/).
// Declared here, defined by their owners; until they land the program links
// the stand-ins of app/instance_ghost_seams_pending.cpp and
// app/pcb_selection_seams_pending.cpp, and tests link recording fakes.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct Tower;
struct SelectionInfo;

// ---- The insertion array ----------------------------------------------------
// The ghost copy of a symbol instance, schematic symbol or pad stack through
// which its selection ghost is drawn (a new Tower), or null; the selection
// record's grab point gives the copy's Offset from the block origin. Defined
// with the insertion array (edit/instance_ghosts.cpp).
Tower* BuildInstanceGhost(const Tower* instance, const SelectionInfo* selection);
// Deletes a ghost copy and clears the variable.
void FreeInstanceGhost(Tower** ghost);
// XOR-draws the record's instance ghost (its copyInstanceInfo) at the point.
void GhostInstanceSelection(HDC dc, const SelectionInfo* record, pl3::Point at);

// ---- The PCB editor ---------------------------------------------------------
// 1 when the centre of the hole or via lies on a pad of the design.
int IsHoleOnPad(const Tower* hole);
// 1 while the window places symbols by hand (symbols may then be copied).
int IsManualPlacementState();

// ---- The schematic editor ---------------------------------------------------
// Packages the unpackaged symbols of the active schematic.
void AutoPackageSymbols();

// ---- The choosers of the Options menu's Set Size and Set Colour ---------------
// "Select Size" over the list of the size kind, preset with *index: 1 with
// the chosen entry in *index, 0 when cancelled (ui/selection_choices.cpp).
int ChooseSelectionSize(HWND owner, std::uint32_t kind, std::uint32_t* index);
// "Select Colour" preset with *index: 1 with the chosen entry, 0 when cancelled.
int ChooseSelectionColour(HWND owner, std::uint32_t* index);

// ---- Settings -------------------------------------------------------------------
// The number of primary items from which a delete asks first (setting 10307, 0 never).
extern std::uint32_t DeleteConfirmCount;
