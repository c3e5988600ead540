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
#include "objects/locator_services.h"
#include "platform/responder.h"

namespace {

// The text item the fake builders make: what they were given. Its box is
// 100 units a character wide and 50 high from the text point.
struct FakeTextItem {
  char text[64];
  std::int32_t size;
  bool byIndex;
  std::uint8_t layer;
  pl3::Transform transform;
  std::uint16_t justification;
};

struct Rendered {
  std::string text;
  int mode;
  std::uint8_t layer;
  std::uint32_t walkFlags, stateFlags;
  pl3::Transform transform;
};

std::vector<Rendered> g_rendered;
std::vector<FakeTextItem> g_built;
std::vector<LinePayload> g_lines;
std::vector<bool> g_ghosted;

void* BuildFake(const char* text, std::int32_t size, bool byIndex, std::uint8_t layer, const pl3::Transform* t,
                std::uint16_t justification) {
  auto* item = static_cast<FakeTextItem*>(std::calloc(1, sizeof(FakeTextItem)));
  std::strncpy(item->text, text, sizeof item->text - 1);
  item->size = size;
  item->byIndex = byIndex;
  item->layer = layer;
  item->transform = *t;
  item->justification = justification;
  g_built.push_back(*item);
  return item;
}

class LocatorText : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    g_rendered.clear();
    g_built.clear();
    g_lines.clear();
    g_ghosted.clear();
    window = std::make_unique<CurrentWindowData>();
    ActiveWindowData = window.get();
    LocatorServices& s = LocatorServiceSlots;
    s.createTextItem = [](const char* text, std::uint32_t index, std::uint8_t layer, const pl3::Transform* t,
                          std::uint16_t j, std::uint32_t) {
      return BuildFake(text, static_cast<std::int32_t>(index), true, layer, t, j);
    };
    s.createTextItemEx = [](const char* text, std::int32_t size, std::uint8_t layer, const pl3::Transform* t,
                            std::uint16_t j, std::uint32_t) { return BuildFake(text, size, false, layer, t, j); };
    s.textItemBox = [](const void* p, pl3::Box* box) {
      const auto* item = static_cast<const FakeTextItem*>(p);
      const auto width = static_cast<std::int32_t>(std::strlen(item->text)) * 100;
      *box = {item->transform.tx, item->transform.ty, item->transform.tx + width, item->transform.ty + 50};
      return 1;
    };
    s.renderTextEntity = [](void*, const void* p, int mode, const pl3::Transform* t) {
      const auto* item = static_cast<const FakeTextItem*>(p);
      g_rendered.push_back({item->text, mode, item->layer, ActiveWindowData->WalkFlags, ActiveWindowData->StateFlags, *t});
    };
    s.drawEntityByType = [](void*, const EntityRecord* r, const pl3::Transform*) {
      g_lines.push_back(reinterpret_cast<const LinePayload&>(r->payload));
      g_ghosted.push_back(false);
    };
    s.ghostEntityData = [](void*, const EntityRecord* r) {
      g_lines.push_back(reinterpret_cast<const LinePayload&>(r->payload));
      g_ghosted.push_back(true);
    };
  }
  void TearDown() override { ActiveWindowData = nullptr; }
  std::unique_ptr<CurrentWindowData> window;
};

TEST_F(LocatorText, BoxIsTheItemsBoxGrownByTheTextSize) {
  const PlacedText text{"AB", 1000, 2000, 16, 8, 10, 0};
  pl3::Box box{};
  ASSERT_EQ(GetTextBoxAt(text, &box), 1);
  const std::int32_t grow = 10 * 18288;
  EXPECT_EQ(box.xmin, 1000 - grow);
  EXPECT_EQ(box.ymin, 2000 - grow);
  EXPECT_EQ(box.xmax, 1200 + grow);
  EXPECT_EQ(box.ymax, 2050 + grow);
  ASSERT_EQ(g_built.size(), 1u);
  EXPECT_FALSE(g_built[0].byIndex) << "flag bit 0 clear: an explicit size";
  EXPECT_EQ(g_built[0].justification, 16 | 8);
  EXPECT_EQ(g_built[0].size, 10);
}

TEST_F(LocatorText, FlagBitZeroBuildsByIndex) {
  const PlacedText text{"A", 0, 0, 0, 4, 2, 1};
  pl3::Box box{};
  GetTextBoxAt(text, &box);
  ASSERT_EQ(g_built.size(), 1u);
  EXPECT_TRUE(g_built[0].byIndex);
  EXPECT_EQ(g_built[0].size, 2);
}

TEST_F(LocatorText, WithoutATextItemTheBoxIsLeftAlone) {
  LocatorServiceSlots.createTextItemEx = nullptr;
  pl3::Box box{-1, -1, 0, 0};
  EXPECT_EQ(GetTextBoxAt({"A", 0, 0, 0, 0, 1, 0}, &box), 0);
  EXPECT_EQ(box.xmin, -1);
  DrawTextAt(nullptr, {"A", 0, 0, 0, 0, 1, 0});
  EXPECT_TRUE(g_rendered.empty());
}

TEST_F(LocatorText, LocatorTextModeByColourClassWithFlagsSetMeanwhile) {
  struct Case {
    std::uint32_t colourClass;
    int debug, mode;
  } cases[] = {{24, 0, 5}, {24, 1, 11}, {32, 0, 6}, {33, 0, 7}, {22, 0, 1}, {0, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.colourClass);
    g_rendered.clear();
    LocatorDebugDrawing = c.debug;
    window->WalkFlags = kWalkMirrorMode | 0x2;
    window->StateFlags = 0x1;
    DrawLocatorTextAt(nullptr, {"Value", 5, 6, 0, 0, 3, 0}, c.colourClass);
    ASSERT_EQ(g_rendered.size(), 1u);
    EXPECT_EQ(g_rendered[0].mode, c.mode);
    EXPECT_EQ(g_rendered[0].layer, c.colourClass);
    EXPECT_EQ(g_rendered[0].walkFlags, 0x2u) << "drawn unmirrored";
    EXPECT_EQ(g_rendered[0].stateFlags, 0x5u) << "drawn as temporary drawing";
    EXPECT_EQ(window->WalkFlags, kWalkMirrorMode | 0x2) << "restored";
    EXPECT_EQ(window->StateFlags, 0x1u) << "restored";
  }
}

TEST_F(LocatorText, DrawTextAtAndDrawTextAndGetBox) {
  DrawTextAt(nullptr, {"Pin", 7, 8, 32, 4, 1, 0});
  pl3::Box box{};
  DrawTextAndGetBox(nullptr, {"Pin", 7, 8, 32, 4, 1, 0}, 9, &box);
  DrawTextAndGetBox(nullptr, {"Pin", 7, 8, 32, 4, 1, 0}, 3, nullptr);
  ASSERT_EQ(g_rendered.size(), 3u);
  EXPECT_EQ(g_rendered[0].mode, 0);
  EXPECT_EQ(g_rendered[1].mode, 9);
  EXPECT_EQ(g_rendered[2].mode, 3);
  EXPECT_TRUE(SameRotation(g_rendered[0].transform, pl3::kIdentityTransform));
  EXPECT_EQ(g_built[0].transform.tx, 7);
  EXPECT_EQ(g_built[0].transform.ty, 8);
  EXPECT_EQ(box.xmin, 7 - 18288);
  EXPECT_EQ(box.xmax, 307 + 18288);
}

TEST_F(LocatorText, ColouredTextCarriesItsColourAndPlacement) {
  DrawColouredTextAt(nullptr, "GND", 10, 20, 4, 16 | 8, pl3::R90, 41);
  ASSERT_EQ(g_rendered.size(), 1u);
  EXPECT_EQ(g_rendered[0].layer, 41);
  EXPECT_EQ(g_rendered[0].text, "GND");
  EXPECT_TRUE(SameRotation(g_rendered[0].transform, pl3::R90));
  EXPECT_EQ(g_built[0].justification, 16 | 8);
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
    g_lines.clear();
    DrawLocatorLeader(nullptr, c.x, c.y, box);
    ASSERT_EQ(g_lines.size(), 1u);
    EXPECT_EQ(g_lines[0].width, 0);
    EXPECT_EQ(g_lines[0].x1, c.x);
    EXPECT_EQ(g_lines[0].y1, c.y);
    EXPECT_EQ(g_lines[0].x2, c.tx);
    EXPECT_EQ(g_lines[0].y2, c.ty);
  }
  GhostLocatorLeader(nullptr, 0, 0, box);
  EXPECT_TRUE(g_ghosted.back());
}

TEST_F(LocatorText, LineRecordOfClass24IsSkippedOnlyWhileDebugging) {
  auto record = NewEntityRecord();
  record->payload[0] = 24;
  DrawLineRecordAt(nullptr, record.get());
  LocatorDebugDrawing = 1;
  DrawLineRecordAt(nullptr, record.get());
  record->payload[0] = 25;
  DrawLineRecordAt(nullptr, record.get());
  EXPECT_EQ(g_lines.size(), 2u);
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
