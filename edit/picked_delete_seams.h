// What deleting a picked object asks of the schematic editor: a placed
// schematic symbol goes through its own delete, which unpackages a packaged
// symbol first and records its undo entries. Defined by the schematic
// editor; until it lands the program links
// app/schematic_symbol_delete_seams_pending.cpp (the symbol stays) and tests
// link their own.
#pragma once

struct Tower;

// Deletes the placed schematic symbol (30) with undo entries in the active
// window's step; 1 when it was deleted.
int DeleteSchematicSymbolWithUndo(const Tower* symbol);
