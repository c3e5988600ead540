#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "edit/window_data.h"
#include "objects/datums.h"
#include "objects/graphic_boxes.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "store/tower.h"

namespace {

constexpr std::int32_t kPoints = 10;
constexpr std::int32_t kH = kPoints * 131072;
constexpr std::int32_t kT = kH / 3;

class DatumTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorPcb;
    design = towertest::NewTopLevelEntity(Type_PCB);
    window->design = design;
    sizes = NewSizeTable();
    SizeEntry font{};
    font.flags = kSizeEntryOn;
    font.unit = kSizeUnitNone;
    font.value1 = kPoints;
    std::strcpy(font.name, "10");
    (*sizes)[SizeKind_Fonts].entries.push_back(font);
    window->sizeTable = sizes.get();
    ActiveWindowData = window.get();
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    window->sizeTable = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }

  const DatumPayload* Payload(const Entity* e) { return reinterpret_cast<const DatumPayload*>(EntityPayload(e)); }

  std::unique_ptr<CurrentWindowData> window;
  std::unique_ptr<SizeTable> sizes;
  Tower* design = nullptr;
};

std::vector<std::uint8_t> DatumBytes(const char* name, std::int32_t x, std::int32_t y) {
  std::vector<std::uint8_t> bytes(kDatumRoom, 0);
  auto* d = reinterpret_cast<DatumPayload*>(bytes.data());
  d->head.sizeFlags = 1;
  d->x = x, d->y = y;
  std::strcpy(d->name, name);
  return bytes;
}

TEST_F(DatumTest, ArmsPointUpAndRightWithTheNameOnTheLeft) {
  const DatumSymbol s = DatumArms(1000, 2000, 300, false);
  // Vertical arm to the tip above, horizontal arm to the tip on the right.
  EXPECT_EQ(s.from[0].x, 1000);
  EXPECT_EQ(s.from[0].y, 2100);
  EXPECT_EQ(s.to[0].y, 1700);
  EXPECT_EQ(s.from[1].x, 900);
  EXPECT_EQ(s.to[1].x, 1300);
  // Barbs meet the tips from behind them.
  EXPECT_EQ(s.from[2].x, 900);
  EXPECT_EQ(s.from[2].y, 1800);
  EXPECT_EQ(s.from[3].x, 1100);
  EXPECT_EQ(s.from[4].x, 1200);
  EXPECT_EQ(s.from[4].y, 2100);
  EXPECT_EQ(s.from[5].y, 1900);
  EXPECT_EQ(s.to[5].x, 1300);
}

TEST_F(DatumTest, UpperRightPointsDownAndLeftOnlyForItsExactName) {
  const DatumSymbol s = DatumArms(1000, 2000, 300, true);
  EXPECT_EQ(s.to[0].y, 2300);  // below the point in view pixels
  EXPECT_EQ(s.to[1].x, 700);   // left of it

  std::vector<std::uint8_t> upper = DatumBytes("UPPER_RIGHT", 500000000, 600000000);
  std::vector<std::uint8_t> lower = DatumBytes("upper_right", 500000000, 600000000);
  const auto* u = reinterpret_cast<const DatumPayload*>(upper.data());
  const auto* l = reinterpret_cast<const DatumPayload*>(lower.data());
  EXPECT_TRUE(IsUpperRightDatum(u));
  EXPECT_FALSE(IsUpperRightDatum(l));
  const DatumNamePlace right = DatumNamePlacement(u);
  EXPECT_EQ(right.at.x, 500000000 + kT);
  EXPECT_EQ(right.justification, 4u);
  const DatumNamePlace left = DatumNamePlacement(l);
  EXPECT_EQ(left.at.x, 500000000 - kT);
  EXPECT_EQ(left.at.y, 600000000);
  EXPECT_EQ(left.justification, 8u);
}

TEST_F(DatumTest, TheBoxHoldsTheSquareOfTheTextHeight) {
  std::vector<std::uint8_t> bytes = DatumBytes("D1", 500000000, 600000000);
  pl3::Box b{};
  GetGraphicBox(bytes.data(), Type_Datum, &b);
  EXPECT_LE(b.xmin, 500000000 - kH);
  EXPECT_LE(b.ymin, 600000000 - kH);
  EXPECT_GE(b.xmax, 500000000 + kH);
  EXPECT_GE(b.ymax, 600000000 + kH);
  std::vector<std::uint8_t> unnamed = DatumBytes("", 500000000, 600000000);
  GetDatumBox(reinterpret_cast<const DatumPayload*>(unnamed.data()), &b);
  EXPECT_EQ(b.xmin, 500000000 - kH);
  EXPECT_EQ(b.ymax, 600000000 + kH);
}

TEST_F(DatumTest, CreatedDatumsAreFoundByExactNameAndStoredAtTheirLength) {
  Entity* a = CreateDatum(design, "REF", 10, 20, 0);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->typeCode, Type_Datum);
  EXPECT_GE(a->payloadSize, DatumStoredSize(3));
  EXPECT_LT(a->payloadSize, DatumStoredSize(3) + 16);
  EXPECT_EQ(GetDatumRecordSize(Payload(a)), 68u);
  const DatumPayload* found = FindDatumByName(design, "REF");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->x, 10);
  EXPECT_EQ(found->y, 20);
  EXPECT_EQ(found->keyStroke, 0);
  EXPECT_EQ(FindDatumByName(design, "ref"), nullptr);
  EXPECT_EQ(FindDatumByName(design, "RE"), nullptr);
}

TEST_F(DatumTest, ANameLongerThanTheRoomIsCut) {
  const std::string longName(5000, 'N');
  Entity* e = CreateDatum(design, longName.c_str(), 1, 2, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(DatumName(Payload(e)), std::string(2047, 'N'));
  EXPECT_EQ(GetDatumRecordSize(Payload(e)), 65u + 2047u);
}

TEST_F(DatumTest, TheMasterDatumIsMadeOnceAndANewMasterClashes) {
  EXPECT_EQ(DatumNameExists("MASTER", nullptr), 0);
  EXPECT_EQ(EnsureMasterDatum(design), 1);
  EXPECT_EQ(EnsureMasterDatum(design), 0);
  const DatumPayload* master = FindDatumByName(design, "MASTER");
  ASSERT_NE(master, nullptr);
  EXPECT_EQ(master->x, 256032000);
  EXPECT_EQ(master->y, 402336000);
  EXPECT_EQ(DatumNameExists("MASTER", nullptr), 1);
}

TEST_F(DatumTest, TheNameClashTestLeavesOutTheExcludedAndSelectedDatums) {
  Entity* a = CreateDatum(design, "A", 1, 1, 0);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(DatumNameExists("A", nullptr), 1);
  EXPECT_EQ(DatumNameExists("A", a), 0);  // renaming to its own name
  a->flags |= kEntitySelected;
  EXPECT_EQ(DatumNameExists("A", nullptr), 0);
}

TEST_F(DatumTest, KeyStrokesAreUpperCaseLettersOrDigitsElseNone) {
  EXPECT_EQ(NormaliseDatumKeyStroke('q'), 'Q');
  EXPECT_EQ(NormaliseDatumKeyStroke('Q'), 'Q');
  EXPECT_EQ(NormaliseDatumKeyStroke('7'), '7');
  EXPECT_EQ(NormaliseDatumKeyStroke(' '), 0);
  EXPECT_EQ(NormaliseDatumKeyStroke('#'), 0);
  EXPECT_EQ(NormaliseDatumKeyStroke(0xE9), 0);
  EXPECT_EQ(NormaliseDatumKeyStroke(-1), 0);
}

TEST_F(DatumTest, TranslateMovesThePointAndItIsTheGrabPoint) {
  std::vector<std::uint8_t> bytes = DatumBytes("D", 100, 200);
  auto* d = reinterpret_cast<DatumPayload*>(bytes.data());
  TranslateDatum(d, 5, -7);
  EXPECT_EQ(DatumGrabPoint(d).x, 105);
  EXPECT_EQ(DatumGrabPoint(d).y, 193);
}

TEST_F(DatumTest, OriginGoesToTheNamedDatumOrTheUserIsTold) {
  window->CoordinateOrigin = {1, 2};
  SetOriginToDatum(nullptr, "NOWHERE");
  ASSERT_FALSE(pl3::ResponderRecords().empty());
  EXPECT_EQ(pl3::ResponderRecords().back().text, "Datum not found.");
  EXPECT_EQ(pl3::ResponderRecords().back().caption, "Pelmora3");
  EXPECT_EQ(window->CoordinateOrigin.x, 1);
  EnsureMasterDatum(design);
  ResetOriginToMaster(nullptr);
  EXPECT_EQ(window->CoordinateOrigin.x, 256032000);
  EXPECT_EQ(window->CoordinateOrigin.y, 402336000);
}

}  // namespace
