// What the picking tools' clicks call in the PCB and schematic editors,
// which lie above the editing engine. Declared here under their owners'
// names; until they land the program links the beeping stand-ins of
// app/picking_tool_seams_pending.cpp, and tests link recording fakes.
#pragma once
#include "platform/win_types.h"

struct ButtonRecord;
struct EntityRecord;

// The per-net check of the item under the cursor (Check Route, mode 72).
void CheckSelectedNet(HWND window, ButtonRecord* button);
// The object that completes the one under the cursor (mode 88).
void FindComplementaryAtCursor(HWND window, EntityRecord** pendingSlot, ButtonRecord* button);
// Shows (show 1) or hides the ratsnest of the node, or of the symbol, under
// the cursor (modes 92 to 95).
void ShowHideRatsnestNode(HWND window, ButtonRecord* button, int show);
void ShowHideRatsnestBySymbol(HWND window, ButtonRecord* button, int show);
// The pin swap click of a PCB and of a schematic (mode 97).
void PinSwapAtCursor(HWND window, ButtonRecord* button);
void SchematicPinSwapAtCursor(HWND window, ButtonRecord* button);
// The attribute editors of the symbol or package under the cursor (modes 99 to 101).
void EditSymbolInstanceAttributes(HWND window, ButtonRecord* button);
void EditPackageInstanceAttributes(HWND window, ButtonRecord* button);
void EditPackageGlobalNets(HWND window, ButtonRecord* button);
// The pre-route editing click (mode 106).
void ModifyPreRoutes(HWND window, ButtonRecord* button);
