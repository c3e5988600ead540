// The program's stand-ins for the PCB editor's ratsnest services
// (edit/ratsnest_seams.h) until the PCB editor lands: no ratsnest is kept,
// so there is no changed-net list and no moving point to update.
#include "edit/ratsnest_seams.h"

void EmptyChangedNets() {}
void MarkSymbolNetsChanged(const Tower*) {}
void UpdateChangedNetMembers(int) {}
void RemoveMovingPoints(const Tower*) {}
// No stand-in ever builds a line list, so there is none to free.
void FreeRatsnestLines(void*) {}
