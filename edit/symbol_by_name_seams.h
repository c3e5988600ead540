// What placing a symbol by name asks of the design objects' library loading
// (LoadSymbolDefinitionByName); until it lands the program links the stand-in
// of app/symbol_definition_loading_seams_pending.cpp, and tests link fakes.
// The selection it makes goes through SelectObject (edit/object_select.h).
#pragma once
#include <cstdint>

#include "edit/object_select.h"
#include "platform/win_types.h"

struct Tower;

// Loads the named PCB symbol definition of the library at the path into the
// active window's design: a new Tower on it, or null.
Tower* LoadSymbolDefinitionByName(HWND window, const char* path, const char* name);
