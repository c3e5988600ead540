// The PCB editor's find-and-place of a symbol by its designator: the placed
// symbol is selected, or the named definition is loaded and hangs on the
// cursor as a new symbol.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct Tower;

// The designator of the symbol being placed, NUL-terminated, under the design.
constexpr std::uint16_t kTypePendingDesignator = 10302;

// The placed symbol instance (106) of the design whose designator is the
// name (without regard to case): a new Tower, or null.
Tower* FindPlacedSymbol(const Tower* design, const char* name);

// Selects the design's placed symbol of that name, or loads the named
// definition from the library at the path and starts placing it (mode 24).
// 1 when done; 0 when there is no name or nothing could be loaded.
int PlaceSymbolByName(HWND window, const char* designPath, const char* name);
