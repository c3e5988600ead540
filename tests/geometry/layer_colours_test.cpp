#include <gtest/gtest.h>

#include "geometry/layer_colours.h"

namespace {

using pl3::LayerColourTable;

TEST(LayerColours, MixesTruncateEachShareBeforeTheSum) {
  pl3::BuildLayerColourTable();
  struct Case {
    int entry;
    int red, green, blue;
  };
  const Case cases[] = {
      {0, 0, 0, 0},        {1, 255, 0, 0},     {2, 0, 0, 255},   {3, 127, 0, 127},
      {7, 85, 85, 85},     {128, 0, 128, 0},   {192, 64, 64, 0}, {255, 109, 109, 93},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LayerColourTable[c.entry].red, c.red) << c.entry;
    EXPECT_EQ(LayerColourTable[c.entry].green, c.green) << c.entry;
    EXPECT_EQ(LayerColourTable[c.entry].blue, c.blue) << c.entry;
  }
  const RGBQUAD q = pl3::BitmapColourQuads[3];
  EXPECT_EQ(q.rgbRed, 127);
  EXPECT_EQ(q.rgbBlue, 127);
  EXPECT_EQ(q.rgbGreen, 0);
  EXPECT_EQ(q.rgbReserved, 0);
  EXPECT_EQ(pl3::BitmapColourQuads[235].rgbBlue, LayerColourTable[235].blue);
}

TEST(LayerColours, PaletteKeepsTheSystemColoursAroundTheQuads) {
  pl3::BuildLayerColourTable();
  HPALETTE palette = pl3::CreateProgramPalette();
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(pl3::ProgramPalette, palette);
  PALETTEENTRY entries[256] = {};
  ASSERT_EQ(GetPaletteEntries(palette, 0, 256, entries), 256u);
  EXPECT_EQ(entries[0].peRed, 0);
  EXPECT_EQ(entries[0].peFlags, 0);
  EXPECT_EQ(entries[1].peRed, 128) << "the second static colour";
  EXPECT_EQ(entries[255].peRed, 255);
  EXPECT_EQ(entries[255].peGreen, 255);
  EXPECT_EQ(entries[255].peFlags, 0);
  EXPECT_EQ(entries[13].peRed, 127);
  EXPECT_EQ(entries[13].peBlue, 127);
  EXPECT_EQ(entries[13].peFlags, PC_NOCOLLAPSE);
  EXPECT_EQ(entries[245].peGreen, LayerColourTable[235].green);
  EXPECT_EQ(entries[245].peFlags, PC_NOCOLLAPSE);
  EXPECT_EQ(entries[246].peFlags, 0);
}

}  // namespace
