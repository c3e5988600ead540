// Immediate drawing of one entity payload into the view's layer plane by its
// type code, for windows without a display list and for the walks that draw
// into any view.
#pragma once
#include <cstdint>

#include "draw/polygon_drawing.h"
#include "geometry/types.h"

struct Tower;

// Draw passes (walk action codes) that change how an entity is drawn.
constexpr int kDrawPassNormal = 0;
constexpr int kDrawPassSymbolEdit = 24;
constexpr int kDrawPassSymbolInner = 25;

// Tracks drawn as outlines vanish when the view is coarser than this (world units per pixel).
constexpr std::uint32_t kOutlineTrackZoomLimit = 64000;
// Board outline width in the symbol-editing pass under the thick-outline switch (6 thou).
constexpr std::int32_t kThickOutlineWidth = 219456;

// The plane codes of the board outline's dashes.
constexpr std::uint32_t kOutlineDashFirst = 0x800000;
constexpr std::uint32_t kOutlineDashSecond = 0x840000;
constexpr std::uint32_t kOutlineDashStart = 0x810000;

// The program-wide thick-outline switch (board outlines in pass 24).
extern std::uint8_t ThickBoardOutline;

// Draws one payload of the type under the transform in the draw pass. Types
// without a row draw nothing. The raster operation and CurrentColour the
// rows change are put back before it returns, except the layer colour that
// every row starts from.
void DrawEntityByType(const void* payload, std::uint16_t type, const pl3::Transform* transform, int pass);

// Draws the line payload of a stored item solid in its layer colour under
// the active window's placement transform.
void DrawTrackItem(const Tower* item);

// A world box as four lines in all planes (colour class 25 in schematic kinds).
void DrawBoxOutline(const pl3::Box& box);

// Sets the two colours of a dashed line and restarts its three-pixel steps;
// the line starts in the current CurrentColour.
void StartDashedLine(std::uint32_t first, std::uint32_t second);
