// What the PCB window calls in the PCB editor's other features and the
// panes: the command handler, net highlighting and the symbol drop's
// definition loading and placing. The program's stand-ins are
// app/pcb_window_seams_pending.cpp until their owners land.
#pragma once
#include "platform/win_types.h"

struct CurrentWindowData;
struct Tower;

// The PCB window's WM_COMMAND handler; 0 always.
LRESULT DoPCBCommand(HWND window, WPARAM wParam, CurrentWindowData* block);
// Highlight Copper at the cursor (Ctrl+Tab in a PCB window).
void HighlightCopperAtCursor(HWND window);
// A PCB symbol dropped on a placed symbol: the instance (a copy the callee
// releases), the container file and the item name.
void LoadDroppedSymbolDefinition(Tower* instance, const char* containerFile, const char* itemName);
// Starts placing a loaded electrical symbol definition; 1 when placing began.
int BeginPlaceSymbolDefinition(HWND window, const Tower* design, Tower* definition);
// 1 when the definition's completion record shows a passed check.
int IsSymbolDefinitionComplete(const Tower* definition);
// Deletes the definition from the design when nothing refers to it.
void DeleteUnusedSymbolDefinition(const Tower* design, Tower* definition);
