// Link-time fakes of what the symbol, pad-stack and pad-name code asks of the
// editing engine, the drawing code and the library editors
// (objects/symbol_seams.h, GetBox, SnapXYFine, DrawOriginSquare). Each test
// sets the hooks it needs; they are put back to the program's stand-in
// behaviour before every test.
#pragma once
#include <cstdint>
#include <functional>

#include "geometry/types.h"

struct Tower;

namespace symbolfakes {

struct Hooks {
  std::function<void(const Tower* item, pl3::Box* box)> getBox;        // default: the empty box
  std::function<void(std::int32_t* x, std::int32_t* y)> snapXYFine;    // default: unchanged
  std::function<void(void* dc, const Tower* item)> drawOriginSquare;   // default: nothing
  std::function<int(std::uint8_t layer, std::uint8_t action)> isLayerEnabled;  // default: enabled
  std::function<Tower*(const Tower* design, std::uint8_t layer)> findPadStackLayer;  // default: none
  std::function<void(Tower* temporary)> finishPinPlacement;               // default: nothing
};
Hooks& Hook();

}  // namespace symbolfakes
