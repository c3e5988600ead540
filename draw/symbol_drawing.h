// What the walks draw of symbols besides their graphics: the origin square of
// a pin or item being placed, the box of a schematic pin with its function
// and gate names, and the shown designator of a placed symbol.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;

// Half the side of an origin square and of a pin's box: 10 thou.
inline constexpr std::int32_t kOriginSquareHalfSide = 365760;
// The layer whose pen draws origin squares.
inline constexpr std::uint8_t kOriginSquareLayer = 24;
// Edit mode of placing a new pin, in which the origin square shows the
// pin's number and name as PinPlacementOptions asks.
inline constexpr std::uint8_t kModePlacingPin = 51;

// The pin-placement options of the library editors: bit 0 shows the pin
// number, bit 1 the pin name beside the square of the pin being placed.
inline constexpr std::uint32_t kPinShowNumber = 0x1;
inline constexpr std::uint32_t kPinShowName = 0x2;
extern std::uint32_t PinPlacementOptions;

// The plane values of a pin's box: its fill, its outline and its texts (the
// texts' COLORREF, which lands in the plane as colour class 6).
inline constexpr std::uint32_t kPinBoxFill = 0;
inline constexpr std::uint32_t kPinBoxOutline = 24;
inline constexpr std::uint32_t kPinBoxTextColour = 0x060000;
// The attribute kinds a pin's box shows: the function name above its middle
// line, the gate name below.
inline constexpr std::uint32_t kPinBoxUpperKind = 5;
inline constexpr std::uint32_t kPinBoxLowerKind = 7;

// XOR-draws a square of 10 thou to each side of the item's Origin (112) with
// the entity pen of layer 24, and in edit mode 51 the pin number and name at
// the origin. Drawn twice it erases itself.
void DrawOriginSquare(void* dc, const Tower* item);

// Draws a Symbol Pin (26) into the layer plane under the transform: its box
// filled and outlined, then its function and gate names centred above and
// below the box's middle line with the dialog font, each only where it fits.
void DrawPinBox(const Tower* pin, const pl3::Transform* transform);

// The walked drawing of a placed symbol's designator: unless designators are
// hidden or the symbol's designator box misses the region (a world box, null
// for everywhere), its first shown copy whose layer is visible is drawn in
// the walk's action, under the symbol's transform composed with the walk's,
// seen from the other side when the symbol is placed there. Returns what the
// designator drawing returned, 0 when nothing was drawn.
std::int32_t DrawWalkedDesignator(const Tower* instance, const pl3::Transform* transform, const pl3::Box* region,
                                  std::uint8_t action);
