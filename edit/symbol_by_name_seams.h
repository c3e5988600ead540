// What placing a symbol by name asks of the selection engine and of the
// design objects' library loading. SelectObject is defined with the object
// selection of the editing engine, LoadSymbolDefinitionByName with the
// library loading; until they land the program links the stand-ins of
// app/select_object_seams_pending.cpp and
// app/symbol_definition_loading_seams_pending.cpp, and tests link fakes.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct Tower;

// Makes the item the selection (or, already selected and without add, takes
// it out). 1 when the selection changed, 0 when nothing was done. Shares its
// name with the GDI call; the argument types tell them apart.
int SelectObject(const Tower* item, std::uint8_t add);
// Loads the named PCB symbol definition of the library at the path into the
// active window's design: a new Tower on it, or null.
Tower* LoadSymbolDefinitionByName(HWND window, const char* path, const char* name);
