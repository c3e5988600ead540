// The PCB window as the frame reaches it: its class, registered at start-up,
// and its creation for New PCB, an opened PCB item and an imported board.
// Defined by the PCB editor (pcb/pcb_window.cpp).
#pragma once
#include "platform/win_types.h"

// Registers "PCB_CHILD"; the class atom, 0 on failure.
ATOM RegisterPCBWindowClass(HINSTANCE instance);
// Creates a PCB window as OpenRequestFlags asks (with neither bit 0 nor bit 2
// the "Create New PCB" dialog runs first): the new window, or null when the
// dialog was cancelled or the window could not be made.
HWND CreatePCBWindow(HINSTANCE instance);

// The board saving commands of the active PCB window (286 Save, 334 Save As)
// and of every changed PCB window (4004 Save All): 1 when everything asked
// was saved, 0 on a failure or a cancel.
int SavePCBWindow(HWND window);
int SavePCBWindowAs(HWND window);
int SaveAllPCBWindows();
