#include "geometry/layer_colours.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "platform/reset_hooks.h"
#include "platform/user.h"

namespace pl3 {

const ClassColour kClassBaseColours[8] = {
    {255, 0, 0}, {0, 0, 255}, {0, 255, 0}, {255, 255, 0}, {255, 0, 255}, {0, 255, 255}, {128, 0, 0}, {0, 128, 0},
};
ClassColour LayerColourTable[256] = {};
RGBQUAD BitmapColourQuads[kBitmapColourCount] = {};
HPALETTE ProgramPalette = nullptr;

namespace {

constexpr std::uint32_t kPaletteSize = 256;
constexpr std::uint32_t kFirstFreeSlot = 10;

const bool gRegistered = RegisterGlobalReset(&FreeProgramPalette);

}  // namespace

void FreeProgramPalette() {
  if (ProgramPalette) DeleteObject(ProgramPalette);
  ProgramPalette = nullptr;
}

void BuildLayerColourTable() {
  for (std::uint32_t i = 0; i < 256; ++i) {
    const int n = std::popcount(i);
    int red = 0, green = 0, blue = 0;
    for (int bit = 0; bit < 8 && n > 0; ++bit) {
      if (!(i & (1u << bit))) continue;
      red += kClassBaseColours[bit].red / n;
      green += kClassBaseColours[bit].green / n;
      blue += kClassBaseColours[bit].blue / n;
    }
    LayerColourTable[i] = {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                           static_cast<std::uint8_t>(blue)};
  }
  for (std::uint32_t i = 0; i < kBitmapColourCount; ++i)
    BitmapColourQuads[i] = {LayerColourTable[i].blue, LayerColourTable[i].green, LayerColourTable[i].red, 0};
}

HPALETTE CreatePaletteFromColours(const RGBQUAD* quads, std::uint32_t count) {
  std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + (kPaletteSize - 1) * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = kPaletteSize;
  PALETTEENTRY* entries = palette->palPalEntry;
  HDC screen = GetDC(nullptr);
  if (GetSystemPaletteEntries(screen, 0, kPaletteSize, entries) != kPaletteSize)
    std::fill_n(entries, kPaletteSize, PALETTEENTRY{0, 0, 0, 0});
  ReleaseDC(nullptr, screen);
  for (std::uint32_t i = 0; i < kPaletteSize; ++i) entries[i].peFlags = 0;
  const std::uint32_t n = std::min(count, kPaletteSize - 2 * kFirstFreeSlot);
  for (std::uint32_t i = 0; i < n; ++i)
    entries[kFirstFreeSlot + i] = {quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue, PC_NOCOLLAPSE};
  return CreatePalette(palette);
}

HPALETTE CreateProgramPalette() {
  FreeProgramPalette();
  ProgramPalette = CreatePaletteFromColours(BitmapColourQuads, kBitmapColourCount);
  return ProgramPalette;
}

ZeroPair ReturnZeroPair() { return {0, 0}; }

}  // namespace pl3
