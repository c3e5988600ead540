// The PCB window: the MDI child "PCB_CHILD" in which one board is shown and
// edited. Its procedure routes the mouse to the editing engine, keys to the
// command table and menu commands to DoPCBCommand, and keeps the frame's
// menus, panes and tabs in step with the active board.
#pragma once
#include <cstdint>

#include "app/pcb_window_seams.h"
#include "platform/user.h"

struct CurrentWindowData;
struct Tower;

// The private messages of a PCB window.
constexpr UINT kPcbReloadMessage = 1026;          // WM_USER + 2: reload the design from its container
constexpr UINT kPcbSymbolDropMessage = 1027;      // WM_USER + 3: wParam is a PcbSymbolDrop
constexpr UINT kPcbActivationMarker = 1029;       // WM_USER + 5: a press waiting behind it is ignored
constexpr UINT kPcbMouseActivateMessage = 1032;   // WM_USER + 8: read the cursor again and take the focus
constexpr UINT kAutoPanStepMessage = 2690;        // one auto-pan step, wParam the edge flags

// What the project tree hands a PCB window on a drop.
struct PcbSymbolDrop {
  const char* itemName;       // ends in "?pcbsymbol" for a PCB symbol
  const char* containerFile;
  std::int32_t x, y;          // client pixels
};

extern ATOM PCBWindowClass;

LRESULT CALLBACK PCBWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Makes the block current: the drawing kernel's view and the grid working
// area follow it.
void MakePCBWindowCurrent(CurrentWindowData* block);
// The state block a PCB window keeps, or null.
CurrentWindowData* PCBWindowData(HWND window);
// Deletes the earlier-generation symbol definitions (162) of the design that
// no placed earlier-generation symbol (163) links to; the count deleted.
int DeleteUnusedPl2Definitions(const Tower* design);
