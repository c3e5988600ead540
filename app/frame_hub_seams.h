// What the frame's command hub calls in the editors above the frame: the
// document windows it creates, the dialogs and operations of the editors,
// the import of earlier-generation boards and the workspace tree. The
// program links stand-ins (app/frame_hub_seams_pending.cpp) until each owner
// lands; tests link recording fakes.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct Tower;
struct SelectionInfo;
struct CurrentWindowData;

// ---- Document windows ----------------------------------------------------------------

// The PCB window ("PCB_CHILD"): the result of WM_MDICREATE, the new window or
// null. With bit 0 of OpenRequestFlags set it takes PendingItemTower; with
// bit 2 it is made empty for an import; with neither it asks for the new
// board's set-up.
HWND CreatePCBWindow(HINSTANCE instance);
// The PCB window's step after a board was loaded into it.
void PcbWindowAfterLoad(HWND window, Tower* design);
// Prepares a loaded board's connectivity data.
void PrepareDesignConnectivity(Tower* design);
// The New Schematic set-up: a tower that the caller releases, or null.
Tower* AskSchematicSetup(void* context);
// The library editors' windows, empty or, with bit 0 of OpenRequestFlags
// set, for PendingItemTower.
HWND CreatePcbSymbolWindow(HINSTANCE instance);
HWND CreatePadStackWindow(HINSTANCE instance);
HWND CreateShapeWindow(HINSTANCE instance);
HWND CreateSchematicSymbolWindow(HINSTANCE instance);
HWND CreatePackageWindow(HINSTANCE instance);
// Adds the container of an opened item to the workspace tree and selects the
// item there.
void AddFileToWorkspace(const char* containerPath, const char* itemName, const char* itemType);

// The item chooser of a container file, offering the item types (names
// separated by colons): the choice, freed with FreeStoreItemChoice, or null;
// `again` gets the chooser's answer (2: open the file dialog again).
struct StoreItemChoice;
StoreItemChoice* ChooseContainerItem(HWND owner, const char* containerPath, const char* types, std::uint32_t* again);

// ---- Earlier-generation boards ------------------------------------------------------

// Dialog 1166 "Import PL2 PCB": the command of the chosen radio button
// (4012, 2411 or 2014), or 0 when cancelled.
UINT ShowImportPl2PcbDialog(HWND owner);
// The import's own file dialog ("Select PL2 PCB File"): a heap path, or null.
char* AskPl2PcbFile(HWND owner);
// Imports the file into the active (new, empty) PCB window; the command id
// selects the symbol handling.
void ImportPl2Pcb(const char* path, UINT command);

// ---- Editor operations --------------------------------------------------------------

// The operation behind a frame command (the program dialogs, the editors'
// dialogs and the editing operations the frame calls before forwarding):
// non-zero when it ran. Defined in app/frame_operations.cpp.
int PerformFrameCommandOperation(UINT id, HWND child);

// ---- Selection and view operations of the editing engine ------------------------------

// Puts the working copies back to the state of the items they stand for;
// non-zero on success.
int RevertSelectionArray(SelectionInfo* list);
// Copies of the selection that follow the cursor: the new list, or null.
SelectionInfo* CopySelectionInPlace(HWND window);
// The extent of a whole design; non-zero when it has one.
int GetDesignExtent(const Tower* design, void* context, int mode, pl3::Box* box);
// Highlights the net of the track being placed or selected at the cursor;
// `net` 1 the net, 0 its destination.
void HighlightNetAtCursor(HWND window, int net);
// The highlight tools: the net under the next click, or its destination.
void SetHighlightNetTool(HWND window);
void SetHighlightDestinationTool(HWND window);
// Rotates the selection list of the current item's record by a typed angle
// (edit mode 113).
void RotateCurrentItemSelection(HWND window);
