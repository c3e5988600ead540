// The program's stand-in for the schematic's select operation
// (edit/object_select_seams.h) until the schematic editor defines it: the
// symbol is selected as any symbol is, without unpackaging.
#include "edit/object_select.h"
#include "edit/object_select_seams.h"

int SelectSchematicSymbol(const Tower* symbol, int flags) { return SelectItemAsSymbol(symbol, flags); }
