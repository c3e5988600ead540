// The program's stand-ins for what the PCB window asks of the PCB editor's
// other features (pcb/pcb_window_seams.h, pcb/symbol_drop.h) until they
// land: Ctrl+Tab highlights nothing, nothing is found under a dropped symbol
// and a dropped definition is placed as it is.
#include "app/pcb_window_seams.h"
#include "geometry/types.h"
#include "platform/user.h"
#include "store/tower.h"

void HighlightCopperAtCursor(HWND) {}
void LoadDroppedSymbolDefinition(Tower* instance, const char*, const char*) { ReleaseTower(&instance); }
int BeginPlaceSymbolDefinition(HWND, const Tower*, Tower*) { return 0; }
int IsSymbolDefinitionComplete(const Tower*) { return 1; }
void DeleteUnusedSymbolDefinition(const Tower*, Tower*) {}

int CollectHitsAtPoint(HWND, pl3::Point, Tower**, int) { return 0; }
