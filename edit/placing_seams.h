// What placing symbols, shapes and pad stacks asks of the PCB editor (its
// ratsnest, its symbol loading and macro blocks), the library editors (shape
// loading), the design rule checker (the netlist's designators) and the
// schematic side (imported attributes), which lie above the editing engine.
// Their owners define them; until they land the program links the stand-ins
// of app/placing_ratsnest_seams_pending.cpp, app/item_loading_seams_pending.cpp
// and app/designator_import_seams_pending.cpp, and tests link fakes.
#pragma once
#include "geometry/types.h"
#include "platform/win_types.h"

struct Tower;
struct EntityRecord;

// ---- The PCB editor's ratsnest ---------------------------------------------------
// Gathers the nets of the moving ratsnest points into the changed-net list.
void CollectMovingPointNets();
// Rebuilds the ratsnest lines of the window's moving points.
void RefreshRatsnestLines();
// Gives the pads of a placed instance the nets of its imported symbol.
void AddSymbolNetMapping(const Tower* design, const Tower* instance);
// Adds a placed instance's pads to the ratsnest.
void AddInstanceToRatsnest(const Tower* design, const Tower* instance);

// ---- Loading what is placed ---------------------------------------------------------
// Lets the user choose a PCB symbol, checks it and inserts its definition
// into the design: a new Tower on it, or null.
Tower* LoadAndInsertSymbolDefinition(HWND window);
// Lets the user choose an item of the kind ("shape"), loads it into the
// insertion and sets the ghost's extents and origin: a new Tower, or null.
Tower* LoadShapeForInsertion(HWND window, const Tower* design, const char* kind);
// Refills the insertion from a shape already loaded.
void ReloadShapeInsertion(const Tower* shape);
// Turns the macro block being pasted by the step.
void RotateMacroBlock(HWND window, EntityRecord* record, const pl3::Transform* step);

// ---- The netlist ---------------------------------------------------------------------
// 1 when the designator is among the Imported Designators of the netlist.
int IsDesignatorImported(const char* designator);
// Copies the attribute entries of the imported symbol onto the placed instance.
void CopyImportedAttributes(const Tower* importedSymbol, const Tower* instance);
