// The operations behind frame commands that belong to the dialogs and
// editors above the frame, one entry point per owner. Each takes the command
// id and the active editor window (null when there is none) and returns
// non-zero when it ran (a dialog answered OK, an operation changed the
// design), so that the hub's redraw and record steps follow. The program links
// refusing stand-ins (app/<owner>_command_seams_pending.cpp) until each owner
// lands; tests link recording fakes.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct EntityRecord;
struct Tower;

// Program and view settings dialogs: 307 mouse, 340 status-bar units, 304
// auto via.
int RunSettingsDialogCommand(UINT id, HWND child);
// The configuration property sheet (459).
int RunConfigurationSheet(UINT id, HWND child);
// The frame's dialogs on the window's options: 2426 net names in pads, 2603
// blind and buried vias, 2430 edit datum.
int RunFrameDialogCommand(UINT id, HWND child);
// 2548 Highlight Net By Name (the Select Net dialog, then the highlight) and
// 2427 via resist options.
int RunSelectNetCommand(UINT id, HWND child);
// The small value dialogs: 2539 corner radius, 2594 body outline height.
int RunSmallDialogCommand(UINT id, HWND child);
// 448 Query: the information of the object at the cursor.
int RunObjectInformationCommand(UINT id, HWND child);
// The layer dialogs: 302 and 2260 "AdvancedLayerDlg", 2255 shape colours.
int RunLayerDialogCommand(UINT id, HWND child);
// The colour, net, pin and option dialogs: 2017 colours, 2394 auto label, 2348
// insert pin, 2356 global pin editor (after the frame's checks of the
// selected symbol's package).
int RunOptionDialogCommand(UINT id, HWND child);
// The board's symbol definitions: 2482 Update Definition, 2535 Export All
// Symbols.
int RunBoardSymbolCommand(UINT id, HWND child);
// The ratsnest: 2553 Show All Nets, 2554 Hide All Nets.
int RunRatsnestCommand(UINT id, HWND child);
// Plane nets: 2285 Assign Plane Net of the selection or the insertion.
int RunPlaneNetCommand(UINT id, HWND child);
// Macro blocks: 2545 Create Macro Block, 2546 Macro Block...
int RunMacroBlockCommand(UINT id, HWND child);
// The schematic editor: 2404 Package All, 2405 and 2406 the schematic's DRC
// errors.
int RunSchematicEditorCommand(UINT id, HWND child);
// The library editors: 2382 export of the selected object, 2383 Export
// Package, 2674 Update Package.
int RunLibraryEditorCommand(UINT id, HWND child);
// Output and the 3D view: 2571 View In 3D, 2658 Vectorised Bitmap, 2690
// Generate CNC Isolation, 2599 / 2617 / 2619 / 2621 the 3D view's modes.
int RunOutputCommand(UINT id, HWND child);
// The earlier-generation ghost (2425 PL2 Ghost...).
int RunPl2GhostCommand(UINT id, HWND child);
// The autorouter entries: 2582 Configure, 2583 Export Design, 2584 Import
// Routes, 2661 / 2663 protect and unprotect all routes, 2664 Delete
// Unprotected Routes.
int RunAutorouterCommand(UINT id, HWND child);

// "Select Colour" (dialog 1048) over the schematic's named colours,
// starting at the colour index in the record's first byte; on OK the chosen
// index goes there. The dialog's result. Built by ui/colour_dialogs.cpp.
int SetItemColour(HWND window, EntityRecord* record);

// The target item takes each inheritable user attribute of the source (a
// package instance those of its symbol), replacing the old values. Built by
// the schematic editor's symbol placement.
void CopyUserAttributes(const Tower* target, const Tower* source);

// Built by the dialogs layer (ui/goto_datum_dialog.cpp): the Goto Datum
// dialog of the window.
void ShowGotoDatumDialog(HWND window);

// The graphical net name dialog (dialog 1035) over the design, starting from
// an empty name: 1 on OK with the net name in `name` (room bytes with its NUL)
// and the chosen net-name symbol in *symbol (the caller releases it), else 0.
// Built by the schematic editor (schematic/graphic_net_name_dialog.cpp).
int AskGraphicNetName(HWND owner, const Tower* design, char* name, std::uint32_t room, Tower** symbol);
// Asks for a global net name (the prompt offers "All"): a heap string, or
// null when cancelled.
char* AskGlobalNetName(const char* caption, const char* prompt, std::uint32_t flags);
