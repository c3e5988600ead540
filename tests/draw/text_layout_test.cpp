#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "draw/text_layout.h"
#include "edit/window_data.h"
#include "geometry/glyph_fonts.h"
#include "objects/graphic_records.h"
#include "platform/responder.h"

namespace {

constexpr std::int32_t M = 1000000;

// A text record with its string, laid out as stored.
struct TextBuffer {
  std::vector<std::uint8_t> bytes;
  explicit TextBuffer(const std::string& s, std::int32_t height = 8, std::uint32_t flags = 0, std::uint32_t font = 3)
      : bytes(offsetof(TextPayload, text) + s.size() + 1, 0) {
    TextPayload* t = get();
    t->size = height;
    std::memcpy(t->bytes52, &font, 4);
    t->justification = flags;
    t->textTransform = pl3::kIdentityTransform;
    std::memcpy(t->text, s.c_str(), s.size() + 1);
  }
  TextPayload* get() { return reinterpret_cast<TextPayload*>(bytes.data()); }
  pl3::Box box() {
    pl3::Box b;
    std::memcpy(&b, bytes.data() + 56, sizeof b);
    return b;
  }
  void setBox(pl3::Box b) { std::memcpy(bytes.data() + 56, &b, sizeof b); }
};

class TextLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    font = towertest::NewTopLevelEntity(Type_Font);
    Glyph('a', {0, -10 * M, 100 * M, 200 * M}, false);
    Glyph('b', {0, -20 * M, 90 * M, 210 * M}, true);  // metrics: A 5, B 80, C 10, advance 95
    Glyph('x', {0, 0, 100 * M, 150 * M}, false);
    Glyph('g', {0, -60 * M, 100 * M, 170 * M}, false);
    Tower* bare = InsertEmptyEntity(font, static_cast<std::uint16_t>(Type_Glyph + 'q'));  // no info, no metrics
    ReleaseTower(&bare);
    SetFontRecord(3, TowerEntity(font));
    pl3::ClearResponderRecords();
  }
  void TearDown() override {
    SetFontRecord(3, nullptr);
    ActiveWindowData = nullptr;
    DeleteEntity(font);
    ReleaseTower(&font);
  }
  void Glyph(unsigned char c, std::vector<std::int32_t> box, bool metrics) {
    Tower* glyph = InsertEmptyEntity(font, static_cast<std::uint16_t>(Type_Glyph + c));
    Tower* b = InsertEntity(glyph, 16, Type_BoundingBox, box.data());
    ReleaseTower(&b);
    const std::uint32_t info[2] = {1, 0};
    b = InsertEntity(glyph, sizeof info, Type_CharacterInfo, info);
    ReleaseTower(&b);
    if (metrics) {
      const std::int32_t abc[4] = {5 * M, 80 * M, 10 * M, 95 * M};
      b = InsertEntity(glyph, sizeof abc, Type_CharacterAdvance, abc);
      ReleaseTower(&b);
    }
    ReleaseTower(&glyph);
  }
  static std::int32_t Scaled(std::int64_t units, std::int64_t height) {
    return static_cast<std::int32_t>(height * 4096 * units / (std::int64_t{1} << 24));
  }
  Tower* font = nullptr;
};

TEST_F(TextLayout, CharacterBoxes) {
  struct Case {
    unsigned char c;
    pl3::Box want;
  } cases[] = {
      {'a', {0, -10 * M, 100 * M, 200 * M}},
      {'b', {0, -20 * M, 95 * M, 210 * M}},            // metrics: left 0, right the advance
      {'Z', {0, 0, kMissingGlyphSize, kMissingGlyphSize}},  // missing: left and bottom zeroed
  };
  for (const Case& k : cases) {
    std::int32_t* box = GetCharacterBox(font, k.c);
    ASSERT_NE(box, nullptr) << k.c;
    EXPECT_EQ(box[0], k.want.xmin) << k.c;
    EXPECT_EQ(box[1], k.want.ymin) << k.c;
    EXPECT_EQ(box[2], k.want.xmax) << k.c;
    EXPECT_EQ(box[3], k.want.ymax) << k.c;
    std::free(box);
  }
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  EXPECT_EQ(GetCharacterBox(font, 'q'), nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Failed to retrieve CharacterInfo");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "GetCharacterBox");
}

TEST_F(TextLayout, FontPastTheTableFallsBackToFontThree) {
  Tower* t = GetFontTower(250);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(TowerEntity(t), TowerEntity(font));
  ReleaseTower(&t);
  SetFontRecord(3, nullptr);
  EXPECT_EQ(GetFontTower(250), nullptr);
}

TEST_F(TextLayout, StringBoxOutsideSchematics) {
  TextBuffer ab("ab", 8);
  SetStringBox(ab.get());
  EXPECT_EQ(ab.box().xmin, 0);
  EXPECT_EQ(ab.box().xmax, Scaled(195 * M, 8));
  EXPECT_EQ(ab.box().ymin, -20 * M);
  EXPECT_EQ(ab.box().ymax, 210 * M);

  // A first character with metrics starts at its left bearing; the height
  // flag 64 takes the height as already scaled.
  TextBuffer ba("ba", 8 * 4096, kTextHeightScaled);
  SetStringBox(ba.get());
  EXPECT_EQ(ba.box().xmin, static_cast<std::int32_t>(std::int64_t{8 * 4096} * 5 * M * 4096 / (1 << 24)));
  EXPECT_EQ(ba.box().xmax, Scaled(195 * M, 8));

  TextBuffer empty("", 8);
  empty.setBox({7, 7, 7, 7});
  SetStringBox(empty.get());
  EXPECT_EQ(empty.box().xmin, 0);
  EXPECT_EQ(empty.box().xmax, 0);
  EXPECT_EQ(empty.box().ymin, 0);

  // A tilde is an ordinary (missing) character outside schematics.
  TextBuffer tilde("~a", 8);
  SetStringBox(tilde.get());
  EXPECT_EQ(tilde.box().xmax, Scaled(std::int64_t{kMissingGlyphSize} + 100 * M, 8));
  EXPECT_EQ(tilde.box().ymin, -10 * M);
}

TEST_F(TextLayout, SchematicOverbarGrowsTheBox) {
  CurrentWindowData w(kEditorSchematic);
  ActiveWindowData = &w;
  struct Case {
    const char* text;
    std::int64_t width;
    std::int32_t bottom, top;
  } cases[] = {
      {"~ab~a", 295 * M, -20 * M - kOverbarGrowth, 210 * M + kOverbarGrowth},
      {"ab", 195 * M, -20 * M, 210 * M},
      {"~~", 0, 0, 0},
      {"a~~", 100 * M, -10 * M, 200 * M},
  };
  for (const Case& k : cases) {
    TextBuffer t(k.text, 8);
    SetStringBox(t.get());
    EXPECT_EQ(t.box().xmax, Scaled(k.width, 8)) << k.text;
    EXPECT_EQ(t.box().ymin, k.bottom) << k.text;
    EXPECT_EQ(t.box().ymax, k.top) << k.text;
  }
}

TEST_F(TextLayout, FailuresLeaveTheBoxAndSayWhy) {
  TextBuffer t("aqa", 8);
  t.setBox({1, 2, 3, 4});
  SetStringBox(t.get());
  EXPECT_EQ(t.box().xmax, 3);
  ASSERT_EQ(pl3::ResponderRecords().size(), 2u);
  EXPECT_EQ(pl3::ResponderRecords()[1].text, "Error retrieving character bounding box");
  EXPECT_EQ(pl3::ResponderRecords()[1].caption, "SetStringBox");

  // Without any font the report goes to the error log; the box stays.
  SetFontRecord(3, nullptr);
  SetStringBox(t.get());
  EXPECT_EQ(t.box().xmax, 3);
  EXPECT_EQ(GetTextExtent(t.get(), nullptr), 0u);
}

std::int32_t Dx(std::uint64_t e) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(e)); }
std::int32_t Dy(std::uint64_t e) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(e >> 32)); }

TEST_F(TextLayout, ExtentFollowsJustification) {
  struct Case {
    std::uint32_t flags;
    std::int32_t dx, dy;
  } cases[] = {
      // w = Scaled(200 M), h = 210 M; the top is 200 M. Heights and tops
      // are font units and take the height too.
      {0, -Scaled(200 * M, 8) / 2, -Scaled(200 * M, 8) + Scaled(210 * M, 8) / 2},
      {kTextLeft | kTextTop, -80000, -Scaled(200 * M, 8)},
      {kTextRight | kTextBottom, -(40000 + Scaled(200 * M, 8)), -Scaled(200 * M, 8) + Scaled(210 * M, 8)},
  };
  for (const Case& k : cases) {
    TextBuffer t("aa", 8, k.flags);
    SetStringBox(t.get());
    const std::uint64_t e = GetTextExtent(t.get(), nullptr);
    EXPECT_EQ(Dx(e), k.dx) << k.flags;
    EXPECT_EQ(Dy(e), k.dy) << k.flags;
  }
}

TEST_F(TextLayout, ExtentDescenderAndRotation) {
  TextBuffer t("ag", 8, kTextTop);
  SetStringBox(t.get());
  // d = top(g) - top(x) = 20 M, scaled by the height.
  EXPECT_EQ(Dy(GetTextExtent(t.get(), nullptr)), -Scaled(200 * M, 8) + Scaled(20 * M, 8));
  const std::int32_t dx = Dx(GetTextExtent(t.get(), nullptr));

  // A quarter turn maps (dx, dy) to (-dy, dx).
  t.get()->textTransform = {0, pl3::kFixedOne, -pl3::kFixedOne, 0, 0, 0};
  const std::uint64_t turned = GetTextExtent(t.get(), nullptr);
  EXPECT_EQ(std::abs(Dx(turned)), Scaled(200 * M, 8) - Scaled(20 * M, 8));
  EXPECT_EQ(std::abs(Dy(turned)), std::abs(dx));
}

TEST_F(TextLayout, EntityBoxCoversTheDrawnTextAndIsGrownByTheClearance) {
  TextBuffer t("aa", 8, kTextLeft | kTextTop);
  SetStringBox(t.get());
  t.get()->textTransform.tx = 500 * M;
  t.get()->textTransform.ty = 600 * M;
  pl3::Box box;
  GetTextEntityBox(t.get(), &box);
  const std::int32_t c = 365760;
  // The box's bottom and top (-10 M and 200 M in font units) take the height
  // as the glyphs do, and so does the negated top of the offset to the
  // drawing origin.
  const std::int32_t dx = -80000, dy = -Scaled(200 * M, 8);
  EXPECT_NEAR(box.xmin, 500 * M + dx - c, 1);
  EXPECT_NEAR(box.xmax, 500 * M + Scaled(200 * M, 8) + dx + c, 1);
  EXPECT_NEAR(box.ymin, 600 * M - Scaled(10 * M, 8) + dy - c, 1);
  EXPECT_NEAR(box.ymax, 600 * M + Scaled(200 * M, 8) + dy + c, 1);
  // The stored record keeps its box.
  EXPECT_EQ(t.box().ymax, 200 * M);
}

}  // namespace
