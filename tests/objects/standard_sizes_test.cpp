#include "objects/standard_sizes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

// The undo engine as these tests see it.
namespace {
struct UndoCalls {
  std::vector<std::uint32_t> recordedSteps;  // one per RecordUndoModify
  std::vector<std::string> captions;         // "step:caption"
  std::uint32_t nextStep = 100;
  int menuUpdates = 0;
};
UndoCalls gUndo;
const bool gUndoReset = pl3::RegisterGlobalReset([] { gUndo = UndoCalls{}; });
}  // namespace

Tower* RecordUndoModify(const Tower* item, NodeRef newItem, std::uint32_t undoStep) {
  EXPECT_NE(TowerEntity(item), nullptr);
  EXPECT_EQ(newItem, NodeRefOf(TowerEntity(item))) << "changed in place";
  gUndo.recordedSteps.push_back(undoStep);
  return nullptr;
}
void SetUndoStepCaption(std::uint32_t undoStep, const char* caption) {
  gUndo.captions.push_back(std::to_string(undoStep) + ":" + caption);
}
std::uint32_t NewUndoStepNumber() { return ++gUndo.nextStep; }
void UpdateUndoMenu() { ++gUndo.menuUpdates; }

namespace {

Tower* NewDesign(std::uint16_t code) {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = code;
  InsertAtLastLevel(t, 0);
  return t;
}

// Fonts 16 "Small", 32 "Label" (another name, the attribute's value).
const char kSizes[] = "[Fonts]\r\n\"16\" \"\" \"Y\" \"Small\"\r\n\"32\" \"\" \"Y\" \"Label\"\r\n";

constexpr std::int32_t kLeft = 100000000, kRight = 200000000, kBottom = 300000000, kTop = 400000000;

class StandardSizes : public testing::Test {
 protected:
  void SetUp() override {
    symbol = NewDesign(25);
    window.design = symbol;
    window.sizeTable = ParseSizeText(kSizes, sizeof kSizes - 1).release();
    window.UndoStep = 7;
    ActiveWindowData = &window;
    // The outline: a rectangle of four tracks, widths ignored.
    AddTrack(kLeft, kBottom, kRight, kBottom);
    AddTrack(kRight, kBottom, kRight, kTop);
    AddTrack(kRight, kTop, kLeft, kTop);
    AddTrack(kLeft, kTop, kLeft, kBottom);
  }
  void TearDown() override {
    window.sizeTable = FreeSizeTable(window.sizeTable);
    ReleaseTower(&symbol);
  }
  void AddTrack(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    LinePayload line{};
    line.width = 5000000;
    line.x1 = x1;
    line.y1 = y1;
    line.x2 = x2;
    line.y2 = y2;
    Tower* t = InsertEntity(symbol, sizeof line, Type_Track, &line);
    ReleaseTower(&t);
  }
  LocatorPayload* AddLocator(std::uint16_t kind, std::int32_t x, std::int32_t y) {
    LocatorPayload locator{};
    locator.kind = kind;
    locator.x = x;
    locator.y = y;
    locator.style1 = 99;
    locator.style2 = 99;
    locator.head.sizeIndex = 1;
    Tower* t = InsertEntity(symbol, sizeof locator, Type_AttributeLocator, &locator);
    auto* stored = reinterpret_cast<LocatorPayload*>(TowerPayload(t));
    ReleaseTower(&t);
    return stored;
  }
  const SizeList& Fonts() const { return (*window.sizeTable)[SizeKind_Fonts]; }
  Tower* symbol = nullptr;
  CurrentWindowData window{kEditorSchematicSymbol};
};

TEST_F(StandardSizes, AnEntryOfTheValueIsReusedWhateverItsName) {
  EXPECT_EQ(GetStandardAttributeSizeIndex(), 1u);  // 32 points, named "Label"
  EXPECT_EQ(GetStandardPinNameSizeIndex(), 0u);    // 16 points
  EXPECT_EQ(Fonts().count(), 2u);
}

TEST_F(StandardSizes, AMissingSizeIsAddedUnderItsNameAndFoundByNameAfter) {
  (*window.sizeTable)[SizeKind_Fonts].entries.pop_back();  // no 32 any more
  EXPECT_EQ(GetStandardAttributeSizeIndex(), 1u);
  ASSERT_EQ(Fonts().count(), 2u);
  const SizeEntry& added = Fonts().entries[1];
  EXPECT_STREQ(added.name, "Standard Corvane Attribute Size");
  EXPECT_EQ(added.value1, 32);
  EXPECT_EQ(added.index, 1u);
  EXPECT_EQ(added.flags, kSizeEntryOn);
  // The name decides before the value: a renamed standard keeps its place.
  (*window.sizeTable)[SizeKind_Fonts].entries[1].value1 = 40;
  EXPECT_EQ(GetStandardAttributeSizeIndex(), 1u);
  EXPECT_EQ(Fonts().count(), 2u);
  EXPECT_EQ(FindOrAddFontSize("Other", 40), 1u);
}

TEST_F(StandardSizes, PinSidesFollowTheOutlineInOrder) {
  struct Case {
    std::int32_t x, y;
    int side;
  } cases[] = {
      {kLeft, kTop, kPinSideLeft},  // a corner counts as left: left is tested first
      {kLeft, 350000000, kPinSideLeft},
      {kRight, kBottom, kPinSideRight},
      {150000000, kBottom, kPinSideBottom},
      {150000000, kTop, kPinSideTop},
      {150000000, 350000000, kPinSideNone},
      {kLeft - 1, 350000000, kPinSideNone},
  };
  for (const Case& c : cases) EXPECT_EQ(GetPinSide(c.x, c.y, symbol), c.side) << c.x << "," << c.y;
  Tower* empty = NewDesign(25);
  EXPECT_EQ(GetPinSide(kLeft, kTop, empty), kPinSideNone);
  ReleaseTower(&empty);
}

TEST_F(StandardSizes, TheCommandPlacesPinTextsAndSizesTheRestInOneStep) {
  LocatorPayload* nameLeft = AddLocator(4, kLeft, 350000000);
  LocatorPayload* nameTop = AddLocator(4, 150000000, kTop);
  LocatorPayload* nameInside = AddLocator(4, 150000000, 350000000);
  LocatorPayload* numberTop = AddLocator(1, 150000000, kTop);
  LocatorPayload* numberRight = AddLocator(1, kRight, 350000000);
  LocatorPayload* numberBottom = AddLocator(1, 150000000, kBottom);
  LocatorPayload* value = AddLocator(10, 150000000, 350000000);
  LocatorPayload* other = AddLocator(3, 150000000, 350000000);

  SetToStandardSizes(symbol);

  struct Expected {
    const LocatorPayload* locator;
    std::int32_t textX, textY;
    std::uint32_t vertical, horizontal;
    const pl3::Transform* rotation;
  } expected[] = {
      {nameLeft, kLeft + 914400, 350000000, 0, 4, &pl3::R0},
      {nameTop, 150000000, kTop - 914400, 0, 8, &pl3::R90},
      {nameInside, 150000000 + 914400, 350000000, 0, 4, &pl3::R0},
      {numberTop, 150000000 - 457200, kTop + 914400, 16, 4, &pl3::R90},
      {numberRight, kRight + 914400, 350000000 - 457200, 32, 4, &pl3::R0},
      {numberBottom, 150000000 - 457200, kBottom - 914400, 16, 8, &pl3::R90},
  };
  for (const Expected& e : expected) {
    EXPECT_EQ(e.locator->textX, e.textX);
    EXPECT_EQ(e.locator->textY, e.textY);
    EXPECT_EQ(e.locator->style1, e.vertical);
    EXPECT_EQ(e.locator->style2, e.horizontal);
    EXPECT_EQ(std::memcmp(&e.locator->head.transform, e.rotation, sizeof(pl3::Transform)), 0);
    EXPECT_EQ(e.locator->head.sizeFlags & kSizeByIndex, kSizeByIndex);
    EXPECT_EQ(e.locator->head.sizeIndex, 0u);  // 16 points
  }
  EXPECT_EQ(value->head.sizeIndex, 1u);  // 32 points
  EXPECT_EQ(value->head.sizeFlags & kSizeByIndex, kSizeByIndex);
  EXPECT_EQ(value->textX, 0);  // only sized
  EXPECT_EQ(other->style1, 99u);
  EXPECT_EQ(other->head.sizeFlags, 0);

  EXPECT_EQ(gUndo.recordedSteps, std::vector<std::uint32_t>(7, 7));
  EXPECT_EQ(gUndo.captions, std::vector<std::string>{"7:Default to Corvane standard"});
  EXPECT_EQ(window.UndoStep, 101u);
  EXPECT_EQ(gUndo.menuUpdates, 1);
}

TEST_F(StandardSizes, ASecondRunChangesNothingButAddsAStep) {
  AddLocator(4, kLeft, 350000000);
  AddLocator(2, 150000000, 350000000);
  SetToStandardSizes(symbol);
  std::vector<LocatorPayload> first;
  Tower* t = GetChildTower(symbol, Type_AttributeLocator);
  while (t && FindNextEntity(t)) first.push_back(*reinterpret_cast<LocatorPayload*>(TowerPayload(t)));
  ReleaseTower(&t);
  SetToStandardSizes(symbol);
  std::vector<LocatorPayload> second;
  t = GetChildTower(symbol, Type_AttributeLocator);
  while (t && FindNextEntity(t)) second.push_back(*reinterpret_cast<LocatorPayload*>(TowerPayload(t)));
  ReleaseTower(&t);
  ASSERT_EQ(first.size(), second.size());
  for (std::size_t i = 0; i < first.size(); ++i)
    EXPECT_EQ(std::memcmp(&first[i], &second[i], sizeof(LocatorPayload)), 0);
  EXPECT_EQ(gUndo.captions, (std::vector<std::string>{"7:Default to Corvane standard", "101:Default to Corvane standard"}));
  EXPECT_EQ(window.UndoStep, 102u);
  EXPECT_EQ(Fonts().count(), 2u);
}

}  // namespace
