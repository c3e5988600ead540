// The program's stand-in for the docking layout file until the docking
// framework lands: there is no layout to read, so start-up builds the
// default arrangement, and closing saves nothing.
#include "app/ui_seams.h"

int Docking_LoadLayout(const char*) { return 0; }
void Docking_SaveLayout(const char*) {}
