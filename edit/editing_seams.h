// What the design objects call in the editing engine, which lies above them.
// Declared here and defined by the engine's walks; until those land the
// program links refusing stand-ins (app/edit_seams_pending.cpp) and tests link
// recording fakes.
#pragma once
#include <cstdint>

// Non-zero when any item of the active window's design lies on the layer.
int IsLayerInUse(std::uint8_t layer);
// Moves every item of the active window's design from one layer to another;
// the result is the walk's, which callers ignore.
int MoveLayerItems(std::uint8_t fromLayer, std::uint8_t toLayer);
