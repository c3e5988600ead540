// The program's stand-in for the schematic editor's pin points
// (edit/wire_cleanup_seams.h) until it lands: a symbol shows no pins, so the
// wire clean-up cuts and joins by the wires alone.
#include "edit/wire_cleanup_seams.h"

int GetSchematicSymbolPinPoint(const Tower*, int, pl3::Point*) { return 0; }
