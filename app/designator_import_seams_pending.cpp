// The program's stand-ins for the netlist look-ups of symbol placement
// (edit/placing_seams.h) until the design rule checker and the netlist code
// land: no designator counts as imported, and no attributes are copied.
#include "edit/placing_seams.h"

int IsDesignatorImported(const char*) { return 0; }
void CopyImportedAttributes(const Tower*, const Tower*) {}
