// The command handler of a PCB window: the menu commands of the PCB menus,
// forwarded by the frame command hub to the active board's window procedure.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct CurrentWindowData;
struct Tower;

// Handles WM_COMMAND of a PCB window; the id is the low word of wParam.
// Import Net entries (20000-20031) and script entries (21000-21127) run
// their plug-in or script; ids no row names do nothing. Returns 0 always.
LRESULT DoPCBCommand(HWND window, WPARAM wParam, CurrentWindowData* block);

// The fixed-in-position bit of a store node (bit 4 of its second flag byte).
constexpr std::uint16_t kEntityFixed = 0x1000;

// Sets (fixed non-zero) or clears the fixed bit of every direct child of the
// design of the code; the number of items changed.
std::uint32_t SetFixedState(const Tower* design, std::uint16_t code, int fixed);
// Sets (hidden non-zero) or clears the hidden bit of the newest displayed
// copy of every placed symbol's designator, each symbol taken off the block's
// display list and put back.
void SetAllDesignatorsHidden(CurrentWindowData& block, int hidden);

// The "Board Setup" command (2569) and the commands that edit a text of the
// selection (432 Edit Text, 4007 Change Designator) or place a mechanical
// symbol (2018).
void DoBoardSetup(HWND window, CurrentWindowData& block);
void DoEditText(HWND window, CurrentWindowData& block);
void DoChangeDesignator(HWND window, CurrentWindowData& block);
void DoMechanicalSymbol(HWND window, CurrentWindowData& block);
