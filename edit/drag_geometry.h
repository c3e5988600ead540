// Drag geometry: the per-mode steps that recompute the item in hand from the
// cursor and replace its XOR ghost, the accept steps of the arc tools, the
// engine's constant transforms, the rotation for a direction, and moving an
// entity inside the design area. OffsetEntity is declared for the design
// objects in objects/item_helper_seams.h, MakeDirectionTransform in
// objects/editor_seams.h.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "objects/item_sides.h"
#include "platform/win_types.h"

struct ButtonRecord;
struct EntityRecord;

// The engine's constant transforms (8.24 fixed point, no translation).
inline constexpr std::int32_t kFixedOne = 1 << 24;
inline constexpr std::int32_t kFixedHalf = 1 << 23;
inline constexpr std::int32_t kCos30 = 0xDDB3D7;
inline constexpr pl3::Transform kClockwiseQuarterTurn{0, kFixedOne, -kFixedOne, 0, 0, 0};
inline constexpr pl3::Transform kAnticlockwiseQuarterTurn{0, -kFixedOne, kFixedOne, 0, 0, 0};
inline constexpr pl3::Transform kHalfTurn{-kFixedOne, 0, 0, -kFixedOne, 0, 0};
inline constexpr pl3::Transform kArrowHeadPlus30{kCos30, kFixedHalf, -kFixedHalf, kCos30, 0, 0};
inline constexpr pl3::Transform kArrowHeadMinus30{kCos30, -kFixedHalf, kFixedHalf, kCos30, 0, 0};

// The design area that clamped moves keep items in (5 to 50 inches).
inline constexpr std::int64_t kDesignAreaLow = 182880000;
inline constexpr std::int64_t kDesignAreaHigh = 1828800000;
// While set, OffsetEntity moves without clamping.
extern std::uint8_t NoClampMoves;

// The drag step of an edit mode on the record in hand; 0 when the mode has
// no drag step here.
int DragStep(std::uint8_t mode, HDC dc, EntityRecord* record, ButtonRecord* cursor);
// Whether the screen would show the mode's item differently after the drag
// step: the coordinates the mode changes in view pixels, or an arc's draw
// state in the view.
bool DragViewFormChanged(std::uint8_t mode, const EntityRecord& before, const EntityRecord& after);
// The accept step of the arc tools on button release (modes 2, 49 and 107);
// 0 for other modes.
int AcceptArcStep(std::uint8_t mode, HDC dc, EntityRecord* record, ButtonRecord* cursor);

// Frees the record and clears the pointer; with no record, says so.
void DeleteGraphic(EntityRecord** record);
