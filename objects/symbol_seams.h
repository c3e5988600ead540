// What the symbol, pad-stack and pad-name code asks of the editing engine and
// the library editors, which lie above objects/. Their owners define them;
// until those land the program links the stand-ins of
// app/symbol_seams_pending.cpp.
#pragma once
#include <cstdint>

struct Tower;

// True when the layer (through the flip pairing when the view is flipped) is
// enabled in the active window's layer table; layer codes 37 and 1 always pass.
int IsLayerEnabled(std::uint8_t layer, std::uint8_t action);
// A Tower on the pad-stack layer entry (111) of that layer in the design, or
// null. The caller releases it.
Tower* FindPadStackLayer(const Tower* design, std::uint8_t layer);
// Deletes the entity, recorded as one undo step with the caption.
void DeleteEntityWithUndo(Tower* item, const char* caption);
// The pin-placement finisher of the library editors, given the window's
// temporary Tower when pad naming ends; the caller releases that Tower.
void FinishPinPlacement(Tower* temporary);
