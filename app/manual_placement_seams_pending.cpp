// The program's stand-in for the PCB editor's manual-placement state
// (objects/options_menu_seams.h) until it lands: no window places by hand.
#include "objects/options_menu_seams.h"

int IsManualPlacementState(const CurrentWindowData*) { return 0; }
