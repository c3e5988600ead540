// Fixing placed symbols in place, and freeing them again: the symbol closest
// to the mouse gets or loses its fixed state, with a line in the window's
// log pane.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct ButtonRecord;
struct Tower;

// The fixed state of a placed symbol: bit 12 of its node's flags.
constexpr std::uint16_t kSymbolFixed = 0x1000;

// Fixes (or frees) the symbol instance closest to the record's world point.
// A symbol already in that state, another kind of object and nothing found
// beep with the exclamation sound; the state then stays as it was.
void FixClosestSymbol(HWND window, ButtonRecord* mouse);
void UnfixClosestSymbol(HWND window, ButtonRecord* mouse);
