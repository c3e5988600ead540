// The program's stand-in for loading a PCB symbol definition by name
// (edit/symbol_by_name_seams.h) until the library loading lands: nothing is
// loaded, so nothing is placed.
#include "edit/symbol_by_name_seams.h"

Tower* LoadSymbolDefinitionByName(HWND, const char*, const char*) { return nullptr; }
