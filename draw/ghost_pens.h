// The XOR pens of ghost drawing: the pen colour that shows a wanted colour
// over the window's background under R2_XORPEN, the window's three saved
// slots, and the pen of an entity's layer. Also the two ghost switches of the
// configuration file.
#pragma once
#include <cstdint>

#include "draw/draw_flags.h"

struct CurrentWindowData;

// Stored by the configuration file as records 10201 and 10202 (default 1):
// draw wide tracks and arcs as their two edges, and close the edges with
// round ends.
extern std::int8_t GhostOutlines;
extern std::int8_t GhostRoundEnds;

// The fixed colour codes that stand beside the colour-table indexes.
inline constexpr std::uint32_t kGhostYellow = 0x800000;
inline constexpr std::uint32_t kGhostWhite = 0x810000;
inline constexpr std::uint32_t kGhostGreen = 0x820000;
inline constexpr std::uint32_t kGhostBlue = 0x830000;

// 0xRRGGBB of a fixed colour code or a colour-table index of the window
// (0 when the window has no table).
std::uint32_t LookUpGhostColour(const CurrentWindowData& w, std::uint32_t colour);
// Channel by channel (wanted - background) mod 256, as a COLORREF (red low).
std::uint32_t XorPenColour(std::uint32_t wanted, std::uint32_t background);
// The width a pen is made with: the hairline flag turns 1 into 0 and any
// other width into 1.
int GhostPenWidth(const CurrentWindowData& w, int width);

// Select an XOR pen into dc, keeping what it replaces in the active window's
// SavedPen, SavedBrush and SavedRop. Nothing happens without an active window.
void SetXorPen(void* dc, int width, std::uint32_t colour);
void SetXorPenRgb(void* dc, int width, std::uint32_t wanted, std::uint32_t background);
// Puts the saved brush, pen and raster operation back and deletes the XOR pen.
void RestoreXorPen(void* dc);
// The XOR pen of an entity on a layer (a colour class in schematic windows).
void SetEntityPen(void* dc, int width, std::uint8_t layer);
// The "all planes" colour against the background, at a width that the
// hairline flag picks from two.
void SetAllPlanesPen(void* dc, int hairlineWidth, int normalWidth);
// True for the schematic window kinds, whose layer bytes are colour classes.
bool IsSchematicKind(const CurrentWindowData& w);
