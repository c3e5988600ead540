#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "edit/window_data.h"
#include "geometry/glyph_fonts.h"
#include "objects/locator_dispatch.h"
#include "platform/responder.h"
#include "tests/objects/locator_draw_fakes.h"
#include "tests/objects/locator_font.h"

namespace {

using locatordraw::Drawn;
using locatorfont::CharacterWidth;
using locatorfont::GlyphHeight;

// Texts are built and measured by the real builders and layout in the test
// font; what is rendered and drawn is recorded.
class LocatorText : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>();
    ActiveWindowData = window.get();
    font = std::make_unique<locatorfont::Font>();
  }
  void TearDown() override {
    font.reset();
    ActiveWindowData = nullptr;
  }
  std::unique_ptr<CurrentWindowData> window;
  std::unique_ptr<locatorfont::Font> font;
};

TEST_F(LocatorText, BoxIsTheMeasuredBoxGrownByTheTextSize) {
  // Centred and middle: "AB" at size 10 is 20,000 wide and the glyph's
  // height at size 10 (10,000) high, centred on its point.
  const PlacedText text{"AB", 1000000, 2000000, 0, 0, 10, 0};
  pl3::Box box{};
  ASSERT_EQ(GetTextBoxAt(text, &box), 1);
  const std::int32_t grow = 10 * 18288, half = CharacterWidth(10);
  EXPECT_EQ(box.xmin, 1000000 - half - grow);
  EXPECT_EQ(box.xmax, 1000000 + half + grow);
  EXPECT_EQ(box.ymin, 2000000 - GlyphHeight(10) / 2 - grow);
  EXPECT_EQ(box.ymax, 2000000 + GlyphHeight(10) / 2 + grow);

  // Left and top: the text hangs from its point, 10,000 x size to the left
  // of it (the layout's left margin).
  DrawTextAndGetBox(nullptr, {"Pin", 7, 8, 32, 4, 1, 0}, 9, &box);
  EXPECT_EQ(box.xmin, 7 - 10000 - 18288);
  EXPECT_EQ(box.xmax, 7 - 10000 + 3 * CharacterWidth(1) + 18288);
  EXPECT_EQ(box.ymin, 8 - GlyphHeight(1) - 18288);
  EXPECT_EQ(box.ymax, 8 + 18288);
}

TEST_F(LocatorText, TheItemCarriesSizeJustificationAndPoint) {
  DrawTextAt(nullptr, {"AB", 1000, 2000, 16, 8, 10, 0});
  DrawTextAt(nullptr, {"A", 0, 0, 0, 4, 2, 1});
  ASSERT_EQ(Drawn().texts.size(), 2u);
  const auto& explicitSize = Drawn().texts[0];
  EXPECT_FALSE(explicitSize.byIndex) << "flag bit 0 clear: an explicit size";
  EXPECT_EQ(explicitSize.size, 10);
  EXPECT_EQ(explicitSize.justification, 16u | 8u);
  EXPECT_EQ(explicitSize.textTransform.tx, 1000);
  EXPECT_EQ(explicitSize.textTransform.ty, 2000);
  EXPECT_EQ(explicitSize.mode, 0);
  EXPECT_TRUE(Drawn().texts[1].byIndex);
  EXPECT_EQ(Drawn().texts[1].sizeIndex, 2u);
}

TEST_F(LocatorText, WithoutTheFontTheBoxIsLeftAlone) {
  font.reset();
  pl3::Box box{-1, -1, 0, 0};
  EXPECT_EQ(GetTextBoxAt({"A", 0, 0, 0, 0, 1, 0}, &box), 0);
  EXPECT_EQ(box.xmin, -1);
  EXPECT_EQ(box.xmax, 0);
}

TEST_F(LocatorText, LocatorTextModeByColourClassWithFlagsSetMeanwhile) {
  struct Case {
    std::uint32_t colourClass;
    int debug, mode;
  } cases[] = {{24, 0, 5}, {24, 1, 11}, {32, 0, 6}, {33, 0, 7}, {22, 0, 1}, {0, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.colourClass);
    Drawn().texts.clear();
    LocatorDebugDrawing = c.debug;
    window->WalkFlags = kWalkMirrorMode | 0x2;
    window->StateFlags = 0x1;
    DrawLocatorTextAt(nullptr, {"Value", 5, 6, 0, 0, 3, 0}, c.colourClass);
    ASSERT_EQ(Drawn().texts.size(), 1u);
    const auto& r = Drawn().texts[0];
    EXPECT_EQ(r.mode, c.mode);
    EXPECT_EQ(r.layer, c.colourClass);
    EXPECT_EQ(r.walkFlags, 0x2u) << "drawn unmirrored";
    EXPECT_EQ(r.stateFlags, 0x5u) << "drawn as temporary drawing";
    EXPECT_EQ(window->WalkFlags, kWalkMirrorMode | 0x2) << "restored";
    EXPECT_EQ(window->StateFlags, 0x1u) << "restored";
  }
}

TEST_F(LocatorText, RenderModesOfTheTextHelpers) {
  DrawTextAt(nullptr, {"Pin", 7, 8, 32, 4, 1, 0});
  DrawTextAndGetBox(nullptr, {"Pin", 7, 8, 32, 4, 1, 0}, 9, nullptr);
  DrawTextAndGetBox(nullptr, {"Pin", 7, 8, 32, 4, 1, 0}, 3, nullptr);
  ASSERT_EQ(Drawn().texts.size(), 3u);
  EXPECT_EQ(Drawn().texts[0].mode, 0);
  EXPECT_EQ(Drawn().texts[1].mode, 9);
  EXPECT_EQ(Drawn().texts[2].mode, 3);
  EXPECT_TRUE(SameRotation(Drawn().texts[0].transform, pl3::kIdentityTransform));
}

TEST_F(LocatorText, ColouredTextCarriesItsColourAndPlacement) {
  DrawColouredTextAt(nullptr, "GND", 10, 20, 4, 16 | 8, pl3::R90, 41);
  ASSERT_EQ(Drawn().texts.size(), 1u);
  const auto& r = Drawn().texts[0];
  EXPECT_EQ(r.layer, 41);
  EXPECT_EQ(r.text, "GND");
  EXPECT_EQ(r.mode, 1);
  EXPECT_TRUE(SameRotation(r.transform, pl3::R90));
  EXPECT_EQ(r.justification, 16u | 8u);
}

TEST_F(LocatorText, LeaderRunsToTheNearestEdgeOrCentrePerAxis) {
  const pl3::Box box{1000, 2000, 3000, 6000};
  struct Case {
    std::int32_t x, y, tx, ty;
  } cases[] = {
      {0, 0, 1000, 2000},        // below left: the low edges
      {5000, 9000, 3000, 6000},  // above right: the high edges
      {2000, 4000, 2000, 4000},  // at the centre
      {1400, 2900, 1000, 2000},  // nearer the low edges than the centre
      {1500, 4000, 2000, 4000},  // tie between low edge and centre: the centre
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    Drawn().entities.clear();
    DrawLocatorLeader(nullptr, c.x, c.y, box);
    ASSERT_EQ(Drawn().entities.size(), 1u);
    const auto& leader = Drawn().entities[0];
    EXPECT_EQ(leader.type, 1);
    EXPECT_EQ(leader.layer, 24) << "leaders are of class 24";
    EXPECT_EQ(leader.line.width, 0);
    EXPECT_EQ(leader.line.x1, c.x);
    EXPECT_EQ(leader.line.y1, c.y);
    EXPECT_EQ(leader.line.x2, c.tx);
    EXPECT_EQ(leader.line.y2, c.ty);
  }
  GhostLocatorLeader(nullptr, 0, 0, box);
  ASSERT_EQ(Drawn().ghosts.size(), 1u);
  EXPECT_EQ(Drawn().ghosts[0].line.x2, 1000);
  EXPECT_EQ(Drawn().ghosts[0].line.y2, 2000);
  // While debugging, the class-24 leaders are left out.
  LocatorDebugDrawing = 1;
  Drawn().entities.clear();
  DrawLocatorLeader(nullptr, 0, 0, box);
  EXPECT_TRUE(Drawn().entities.empty());
}

TEST_F(LocatorText, LineRecordOfClass24IsSkippedOnlyWhileDebugging) {
  auto record = NewEntityRecord();
  record->payload[0] = 24;
  DrawLineRecordAt(nullptr, record.get());
  LocatorDebugDrawing = 1;
  DrawLineRecordAt(nullptr, record.get());
  record->payload[0] = 25;
  DrawLineRecordAt(nullptr, record.get());
  EXPECT_EQ(Drawn().entities.size(), 2u);
}

TEST_F(LocatorText, DistanceToBoxIsZeroInsideAndEuclideanOutside) {
  const pl3::Box box{0, 0, 100, 100};
  EXPECT_EQ(GetDistanceToBox(box, 50, 50), 0u);
  EXPECT_EQ(GetDistanceToBox(box, 100, 0), 0u);
  EXPECT_EQ(GetDistanceToBox(box, 130, 50), 30u);
  EXPECT_EQ(GetDistanceToBox(box, -3, -4), 5u);
}

// A design font of two glyph boxes, entered as font 3.
class StringBoxHeight : public LocatorText {
 protected:
  void SetUp() override {
    LocatorText::SetUp();
    font.reset();
    fonts = towertest::NewTopLevelEntity(Type_Font);
    Glyph('X', {0, 0, 500000000, 472320000});
    Glyph('y', {0, -150000000, 400000000, 300000000});
  }
  void TearDown() override {
    DeleteEntity(fonts);
    ReleaseTower(&fonts);
    LocatorText::TearDown();
  }
  void Glyph(unsigned char c, const std::vector<std::int32_t>& box) {
    Tower* glyph = InsertEmptyEntity(fonts, static_cast<std::uint16_t>(Type_Glyph + c));
    Tower* b = InsertEntity(glyph, 16, Type_BoundingBox, box.data());
    ReleaseTower(&b);
    ReleaseTower(&glyph);
  }
  Tower* fonts = nullptr;
};

TEST_F(StringBoxHeight, EachTermTruncatesTowardZero) {
  SetFontRecord(3, TowerEntity(fonts));
  // (472,320,000 + 103,680,000) x 32 / 2^24 = 1098.6 -> 1098;
  // (-150,000,000 - 103,680,000) x 32 / 2^24 = -483.9 -> -483.
  EXPECT_EQ(GetStringBoxHeight(32), 1098 + 483);
  EXPECT_EQ(GetStringBoxHeightScaled(32), (1098 + 483) * 4096);
  EXPECT_EQ(GetStringBoxHeight(0), 0);
  SetFontRecord(3, nullptr);
}

TEST_F(StringBoxHeight, MissingFontOrGlyphIsReported) {
  SetFontRecord(3, nullptr);
  pl3::ClearResponderRecords();
  EXPECT_EQ(GetStringBoxHeight(32), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Unable to get font tower");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "SetStringBox");

  Tower* bare = towertest::NewTopLevelEntity(Type_Font);
  SetFontRecord(3, TowerEntity(bare));
  EXPECT_EQ(GetStringBoxHeight(32), 0);
  EXPECT_EQ(pl3::ResponderRecords().size(), 2u);
  SetFontRecord(3, nullptr);
  DeleteEntity(bare);
  ReleaseTower(&bare);
}

}  // namespace
