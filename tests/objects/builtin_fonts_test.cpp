#include "objects/builtin_fonts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "geometry/glyph_fonts.h"
#include "platform/responder.h"
#include "store/tower.h"

namespace {

Tower* TopLevel(std::uint16_t code) {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = code;
  InsertAtLastLevel(t, 0);
  return t;
}

std::vector<Entity*> Fonts(const Tower* parent) {
  std::vector<Entity*> fonts;
  Tower* t = GetChildTower(parent, Type_Font);
  while (t && FindNextEntity(t)) fonts.push_back(TowerEntity(t));
  ReleaseTower(&t);
  return fonts;
}

std::vector<std::int32_t> Words(const Tower* glyph, std::uint16_t code) {
  Tower* t = OpenChildTower(glyph, code);
  std::vector<std::int32_t> words;
  if (Entity* e = TowerEntity(t)) {
    words.resize(e->payloadSize / 4);
    std::memcpy(words.data(), EntityPayload(e), 4 * words.size());
  }
  ReleaseTower(&t);
  return words;
}

Tower* GlyphOf(const Tower* parent, Entity* font, char c) {
  Tower* f = EntityToTower(parent, font, parent->lastLevel + 1);
  Tower* g = OpenChildTower(f, static_cast<std::uint16_t>(Type_Glyph + c));
  ReleaseTower(&f);
  return g;
}

class BuiltInFonts : public ::testing::Test {
 protected:
  void SetUp() override { parent_ = TopLevel(305); }
  void TearDown() override { ReleaseTower(&parent_); }
  Tower* parent_ = nullptr;
};

TEST_F(BuiltInFonts, BothImagesLoadWithBoxesAndAdvances) {
  LoadBuiltInFonts(parent_);
  ASSERT_NE(FirstBuiltInFont, nullptr);
  ASSERT_NE(SecondBuiltInFont, nullptr);
  EXPECT_EQ(FontRecordOf(2), FirstBuiltInFont);
  EXPECT_EQ(FontRecordOf(3), SecondBuiltInFont);
  EXPECT_EQ(Fonts(parent_).size(), 2u);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  for (Entity* font : {FirstBuiltInFont, SecondBuiltInFont}) {
    EXPECT_EQ(font->typeCode, Type_Font);
    // Text sizes mean the same in both: capitals stand about 0.7 em (of 576,000,000) high.
    Tower* x = GlyphOf(parent_, font, 'X');
    Tower* y = GlyphOf(parent_, font, 'y');
    ASSERT_NE(x, nullptr);
    ASSERT_NE(y, nullptr);
    const std::vector<std::int32_t> xBox = Words(x, Type_BoundingBox);
    const std::vector<std::int32_t> yBox = Words(y, Type_BoundingBox);
    ASSERT_EQ(xBox.size(), 4u);
    EXPECT_GT(xBox[3], 350000000);
    EXPECT_LT(xBox[3], 450000000);
    EXPECT_LT(yBox[1], -50000000) << "the descender goes below the baseline";
    const std::vector<std::int32_t> advance = Words(x, Type_CharacterAdvance);
    ASSERT_EQ(advance.size(), 4u);
    EXPECT_EQ(advance[1], xBox[2]);
    EXPECT_EQ(advance[3], xBox[2] + 14400000);
    Tower* space = GlyphOf(parent_, font, ' ');
    EXPECT_EQ(Words(space, Type_CharacterAdvance)[1], 184320000);
    // The character record carries the box too, and polygons fill the glyph.
    Tower* polygons = GetChildTower(x, 4);
    int count = 0;
    while (polygons && FindNextEntity(polygons)) {
      const std::uint8_t* p = TowerPayload(polygons);
      EXPECT_GE(p[48], 3) << "every polygon has a triangle";
      ++count;
    }
    EXPECT_GT(count, 0);
    ReleaseTower(&polygons);
    ReleaseTower(&space);
    ReleaseTower(&y);
    ReleaseTower(&x);
  }
}

TEST_F(BuiltInFonts, TheSameImageTwiceGivesTwoFontsNewestFirst) {
  const BuiltInFontImage image = SecondBuiltInFontImage();
  Tower* first = LoadAndInsertMemoryFile(image.bytes, image.size, parent_);
  Tower* second = LoadAndInsertMemoryFile(image.bytes, image.size, parent_);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->lastLevel, parent_->lastLevel + 1);
  EXPECT_EQ(Fonts(parent_), (std::vector<Entity*>{TowerEntity(second), TowerEntity(first)}));
  ReleaseTower(&first);
  ReleaseTower(&second);

  LoadBuiltInFonts(parent_);
  const std::vector<Entity*> fonts = Fonts(parent_);
  ASSERT_EQ(fonts.size(), 4u);
  EXPECT_EQ(SecondBuiltInFont, fonts[0]) << "the globals name the fonts loaded last";
  EXPECT_EQ(FirstBuiltInFont, fonts[1]);
}

TEST_F(BuiltInFonts, ADamagedImageIsReportedAndInsertsNothing) {
  const BuiltInFontImage image = FirstBuiltInFontImage();
  std::vector<std::uint8_t> cut(image.bytes, image.bytes + image.size / 2);
  EXPECT_EQ(LoadAndInsertMemoryFile(cut.data(), cut.size(), parent_), nullptr);
  EXPECT_EQ(LoadAndInsertMemoryFile(nullptr, 0, parent_), nullptr);
  EXPECT_TRUE(Fonts(parent_).empty());
  ASSERT_EQ(pl3::ResponderRecords().size(), 2u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Error - Couldn't load file");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "LoadAndInsertMemoryFile");
  EXPECT_EQ(pl3::ResponderRecords()[0].flags & MB_ICONEXCLAMATION, static_cast<UINT>(MB_ICONEXCLAMATION));
}

}  // namespace
