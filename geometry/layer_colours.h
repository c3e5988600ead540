// The colours of the eight colour classes and of every mix of them, the
// colour quads of the program's 8-bit bitmaps, and the program palette.
#pragma once
#include <cstdint>

#include "platform/gdi.h"

namespace pl3 {

struct ClassColour {
  std::uint8_t red, green, blue;
};
static_assert(sizeof(ClassColour) == 3);

// Base colours of the classes, by bit (1, 2, 4 ... 128).
extern const ClassColour kClassBaseColours[8];
// Entry i: the colour of the classes whose bits are set in i.
extern ClassColour LayerColourTable[256];
// Entries 0 to 235 of the table as (blue, green, red, 0).
constexpr std::uint32_t kBitmapColourCount = 236;
extern RGBQUAD BitmapColourQuads[kBitmapColourCount];
// The program's logical palette, kept for the program's lifetime.
extern HPALETTE ProgramPalette;

// Fills the table (each class's share truncated before the sum) and the quads.
void BuildLayerColourTable();
// A palette of the screen's system colours in slots 0 to 9 and 246 to 255
// and the given quads (at most 236) from slot 10 on, flagged PC_NOCOLLAPSE.
HPALETTE CreatePaletteFromColours(const RGBQUAD* quads, std::uint32_t count);
// The palette of the bitmap quads, kept in ProgramPalette.
HPALETTE CreateProgramPalette();
// Deletes the program palette at exit and clears its global.
void FreeProgramPalette();

struct ZeroPair {
  std::uint32_t first, second;
};
// Two zero words, for entity code that asks for a pair of values.
ZeroPair ReturnZeroPair();

}  // namespace pl3
