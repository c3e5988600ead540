// The program's stand-ins for the ratsnest calls of symbol placement
// (edit/placing_seams.h) until the PCB editor's ratsnest lands: no ratsnest
// is kept, so there is nothing to update.
#include "edit/placing_seams.h"

void CollectMovingPointNets() {}
void RefreshRatsnestLines() {}
void AddSymbolNetMapping(const Tower*, const Tower*) {}
void AddInstanceToRatsnest(const Tower*, const Tower*) {}
