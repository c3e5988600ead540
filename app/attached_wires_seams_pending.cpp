// Stand-in for the attached schematic wires until the connection-point list
// lands: a moved schematic selection takes no wire along.
#include "edit/attached_wires_seams.h"

void CollectAttachedWires(SelectionInfo**) {}
