#include "objects/indexed_sizes.h"

#include <gtest/gtest.h>

#include <string>

#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

TEST(ShortestUnit, TheShortestTextWinsAndTheEarlierUnitATie) {
  struct Case {
    double length;
    std::uint32_t unit;
    const char* text;
  } cases[] = {
      {288000, 2, "0.2"},        // 0.2 mm; 7.87402 thou
      {36576000, 1, "1"},        // 1 inch
      {14400000, 3, "1"},        // 1 cm
      {18288000, 0, "500"},      // "500" thou against "0.5" inch: a tie goes to thou
      {182880, 0, "5"},          // 5 thou
      {288001, 0, "7.87404"},    // thou reads shorter than 0.200001 mm
  };
  for (const Case& c : cases) {
    std::string text;
    EXPECT_EQ(ShortestUnit(c.length, text), c.unit) << c.length;
    EXPECT_EQ(text, c.text);
  }
}

Tower* NewDesign() {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = Type_PCB;
  InsertAtLastLevel(t, 0);
  return t;
}

const char kSizes[] =
    "[Lines]\r\n\"0.1\" \"mm\" \"\" \"Y\" \"\"\r\n\"0.2\" \"mm\" \"\" \"Y\" \"Thin\"\r\n"
    "[Rectangles]\r\n\"1\" \"2\" \"mm\" \"\" \"Y\" \"\"\r\n"
    "[Vias]\r\n\"0.4\" \"0.8\" \"mm\" \"\" \"Y\" \"\"\r\n";

class ConvertSizes : public testing::Test {
 protected:
  void SetUp() override {
    design = NewDesign();
    window.design = design;
    window.sizeTable = ParseSizeText(kSizes, sizeof kSizes - 1).release();
    ActiveWindowData = &window;
  }
  void TearDown() override {
    window.sizeTable = FreeSizeTable(window.sizeTable);
    ReleaseTower(&design);
  }
  template <typename Payload>
  Payload* Insert(const Tower* parent, std::uint16_t type, Payload payload) {
    Tower* t = InsertEntity(parent, sizeof payload, type, &payload);
    auto* stored = reinterpret_cast<Payload*>(TowerPayload(t));
    ReleaseTower(&t);
    return stored;
  }
  LinePayload* Track(std::int32_t half, std::uint16_t flags = kSizeCustom, std::uint16_t type = Type_Track,
                     const Tower* parent = nullptr) {
    LinePayload line{};
    line.head.sizeFlags = flags;
    line.head.sizeIndex = 77;
    line.width = half;
    return Insert(parent ? parent : design, type, line);
  }
  const SizeList& List(std::uint32_t kind) const { return (*window.sizeTable)[kind]; }
  Tower* design = nullptr;
  CurrentWindowData window{kEditorPcb};
};

TEST_F(ConvertSizes, ACustomSizeTakesTheEntryOfItsValue) {
  LinePayload* thin = Track(144000);  // 0.2 mm
  LinePayload* indexed = Track(144000, kSizeByIndex);
  EXPECT_EQ(ConvertToIndexedSizes(design), 1u);
  EXPECT_EQ(thin->head.sizeIndex, 1u);
  EXPECT_EQ(thin->head.sizeFlags, kSizeByIndex);
  EXPECT_EQ(indexed->head.sizeIndex, 77u);
  EXPECT_EQ(List(SizeKind_Lines).count(), 2u);
}

TEST_F(ConvertSizes, TheSizeIsRoundedToItsShortestText) {
  LinePayload* rounded = Track(7200001);  // 10.0000014 mm reads "1" in cm
  LinePayload* exact = Track(7200000);
  EXPECT_EQ(ConvertToIndexedSizes(design), 2u);
  ASSERT_EQ(List(SizeKind_Lines).count(), 3u);
  EXPECT_EQ(List(SizeKind_Lines).entries[2].value1, 7200000);
  EXPECT_EQ(List(SizeKind_Lines).entries[2].unit, 3);
  EXPECT_EQ(rounded->head.sizeIndex, 2u);
  EXPECT_EQ(exact->head.sizeIndex, 2u);
}

TEST_F(ConvertSizes, AMissingSizeIsAppendedOnceAsANamelessOnEntry) {
  LinePayload* a = Track(432000);  // 0.6 mm
  LinePayload* b = Track(432000);
  LinePayload* slot = Track(720000, kSizeCustom, Type_PlatedSlot);  // 1 mm, in Holes
  EXPECT_EQ(ConvertToIndexedSizes(design), 3u);
  ASSERT_EQ(List(SizeKind_Lines).count(), 3u);
  const SizeEntry& added = List(SizeKind_Lines).entries[2];
  EXPECT_EQ(added.value1, 432000);
  EXPECT_EQ(added.unit, 2);
  EXPECT_EQ(added.flags, kSizeEntryOn);
  EXPECT_EQ(added.index, 2u);
  EXPECT_STREQ(added.name, "");
  EXPECT_EQ(a->head.sizeIndex, 2u);
  EXPECT_EQ(b->head.sizeIndex, 2u);
  ASSERT_EQ(List(SizeKind_Holes).count(), 1u);
  EXPECT_EQ(List(SizeKind_Holes).entries[0].value1, 720000);
  EXPECT_EQ(slot->head.sizeIndex, 0u);
}

TEST_F(ConvertSizes, RectanglesAndViasCompareBothValues) {
  RectanglePayload rect{};
  rect.rect.head.sizeFlags = kSizeCustom;
  rect.rect.corners[0] = {0, 0};
  rect.rect.corners[1] = {1440000, 0};
  rect.rect.corners[2] = {1440000, 2880000};
  rect.rect.corners[3] = {0, 2880000};
  RectanglePayload* same = Insert(design, Type_Rectangle, rect);
  rect.rect.corners[2] = {1440000, 4320000};
  RectanglePayload* taller = Insert(design, Type_Rectangle, rect);
  HolePayload via{};
  via.hole.head.sizeFlags = kSizeCustom;
  via.hole.flags = kHoleIsVia;
  via.hole.size1 = 288000;  // 0.4 mm hole
  via.hole.size2 = 576000;  // 0.8 mm copper
  HolePayload* listed = Insert(design, Type_Hole, via);
  via.hole.size2 = 720000;
  HolePayload* wider = Insert(design, Type_Hole, via);
  EXPECT_EQ(ConvertToIndexedSizes(design), 4u);
  EXPECT_EQ(same->rect.head.sizeIndex, 0u);
  EXPECT_EQ(taller->rect.head.sizeIndex, 1u);
  EXPECT_EQ(List(SizeKind_Rectangles).entries[1].value2, 4320000);
  EXPECT_EQ(listed->hole.head.sizeIndex, 0u);
  EXPECT_EQ(wider->hole.head.sizeIndex, 1u);
  EXPECT_EQ(List(SizeKind_Vias).entries[1].value2, 720000);
  EXPECT_EQ(List(SizeKind_Holes).count(), 0u);
}

TEST_F(ConvertSizes, OnlyItemsDirectlyUnderTheDesignAndOfListedTypes) {
  Tower* symbol = InsertEmptyEntity(design, Type_SymbolInstance);
  LinePayload* inner = Track(432000, kSizeCustom, Type_Track, symbol);
  ReleaseTower(&symbol);
  TextPayload text{};
  text.head.sizeFlags = kSizeCustom;
  text.size = 16;
  TextPayload* stored = Insert(design, Type_Text, text);
  EXPECT_EQ(ConvertToIndexedSizes(design), 0u);
  EXPECT_EQ(inner->head.sizeFlags, kSizeCustom);
  EXPECT_EQ(stored->head.sizeFlags, kSizeCustom);
  EXPECT_EQ(List(SizeKind_Lines).count(), 2u);
  ActiveWindowData = nullptr;
  Track(1);
  EXPECT_EQ(ConvertToIndexedSizes(design), 0u);  // no table to take entries from
}

}  // namespace
