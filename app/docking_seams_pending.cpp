// The program's stand-ins for the docking panes (edit/status_seams.h) until
// the panes land: no pane answers, the component bin and the toolbar do not
// change, and no stepped name is made.
#include "edit/status_seams.h"

LRESULT Docking_SendToPaneClient(std::uint32_t, UINT, WPARAM, LPARAM) { return 0; }
void ComponentBinMarkPlaced(const Tower*) {}
void ComponentBinMarkUnplaced(const Tower*) {}
void ComponentBinAddSymbol(const Tower*, const Tower*, const char*) {}
char* StepNameNumber(const char*, int) { return nullptr; }
void UpdateToolbarStates(std::uint32_t) {}
