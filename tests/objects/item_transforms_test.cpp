#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "edit/window_data.h"
#include "objects/editor_modes.h"
#include "objects/graphic_records.h"
#include "objects/item_transforms.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

pl3::Transform Numbered(std::int32_t first) { return {first, first + 1, first + 2, first + 3, first + 4, first + 5}; }

class ItemTransforms : public testing::Test {
 protected:
  void SetUp() override {
    ActiveWindowData = &w_;
    design_ = NewTower(0);
    LastLevel(design_).typeCode = Type_PCB;
    InsertAtLastLevel(design_, 0);
  }
  void TearDown() override {
    for (Tower*& t : items_) ReleaseTower(&t);
    ReleaseTower(&w_.TemporaryEntity);
    delete w_.PendingRecord;
    ReleaseTower(&design_);
  }
  // A graphic of a type whose head transform is numbered from 10 and, for a
  // text, whose text transform is numbered from 50.
  Tower* Graphic(std::uint16_t type) {
    auto record = NewEntityRecord();
    record->head().transform = Numbered(10);
    if (type == Type_Text) record->as<TextPayload>().textTransform = Numbered(50);
    if (type == Type_Centroid) record->as<CentroidPayload>().direction = {3, -4};
    const std::uint32_t size = type == Type_Text ? TextStoredSize(0) : 128;
    items_.push_back(InsertEntity(design_, size, type, record->payload));
    return items_.back();
  }
  Tower* Placed(std::uint16_t type) {
    items_.push_back(InsertEmptyEntity(design_, type));
    const pl3::Transform t = Numbered(30);
    Tower* child = InsertEntity(items_.back(), sizeof t, Type_Transform, &t);
    ReleaseTower(&child);
    return items_.back();
  }
  void Select(std::vector<std::pair<Tower*, bool>> items, std::uint16_t grabbed = 0) {
    records_.assign(items.size(), SelectionInfo{});
    for (std::size_t i = 0; i < items.size(); ++i) {
      records_[i].workingCopy = items[i].first;
      records_[i].flags = items[i].second ? 1 : 0;
      records_[i].grabbedPart = grabbed;
      if (i + 1 < items.size()) records_[i].next = &records_[i + 1];
    }
    w_.SelectionList = &records_[0];
  }
  CurrentWindowData w_{};
  Tower* design_ = nullptr;
  std::vector<Tower*> items_;
  std::vector<SelectionInfo> records_;
};

TEST_F(ItemTransforms, SelectedItemByType) {
  struct Case {
    Tower* item;
    std::uint16_t grabbed;
    std::int32_t expectedFirst;  // 0: none
  };
  const Case cases[] = {
      {Graphic(Type_Track), 0, 10},
      {Graphic(Type_Arc), 0, 10},
      {Graphic(43), 0, 10},                        // a keepout
      {Graphic(Type_Text), 0, 50},                 // the text's own transform
      {Graphic(Type_Centroid), 0, 10},
      {Graphic(21), 0, 10},                        // a dimensioner
      {Placed(Type_SymbolInstance), 0, 30},
      {Placed(Type_PadStackInstanceHier), 0, 30},
      {Placed(163), 0, 30},
      {InsertEmptyEntity(design_, Type_SymbolInstance), 0, 0},  // without its Transform record
      {Placed(Type_Designator), 0, 0},             // not a type with a transform
  };
  items_.push_back(cases[9].item);
  // A placed pad without a Transform record: its Pad-Stack Info's transform.
  Tower* pad = InsertEmptyEntity(design_, Type_PadStackInstanceHier);
  items_.push_back(pad);
  std::uint8_t info[36] = {};
  const pl3::Transform padTransform = Numbered(40);
  std::memcpy(info + 12, &padTransform, sizeof padTransform);
  Tower* child = InsertEntity(pad, sizeof info, Type_PadStackInfo, info);
  ReleaseTower(&child);
  Select({{pad, true}});
  pl3::Transform fromInfo{};
  ASSERT_EQ(GetSelectedItemTransform(&fromInfo), 1);
  EXPECT_EQ(fromInfo.a, 40);
  EXPECT_EQ(fromInfo.ty, 45);

  for (const Case& c : cases) {
    Select({{c.item, true}}, c.grabbed);
    pl3::Transform out = Numbered(900);
    const int found = GetSelectedItemTransform(&out);
    EXPECT_EQ(found, c.expectedFirst != 0) << TowerEntity(c.item)->typeCode;
    if (found) {
      const pl3::Transform expected = Numbered(c.expectedFirst);
      EXPECT_EQ(std::memcmp(&out, &expected, sizeof out), 0) << TowerEntity(c.item)->typeCode;
    }
  }
}

TEST_F(ItemTransforms, CentroidDirectionWhileItsAngleIsEdited) {
  Select({{Graphic(Type_Centroid), true}}, kGrabCentroidDirection);
  pl3::Transform out{};
  ASSERT_EQ(GetSelectedItemTransform(&out), 1);
  EXPECT_EQ(out.tx, 3) << "built from the stored direction";
  EXPECT_EQ(out.ty, -4);
}

TEST_F(ItemTransforms, PrimariesDecide) {
  Tower* track = Graphic(Type_Track);
  Tower* instance = Placed(Type_SymbolInstance);
  pl3::Transform out{};
  Select({{track, true}, {Graphic(Type_Arc), true}});
  EXPECT_EQ(GetSelectedItemTransform(&out), 0) << "two primaries";
  Select({{track, false}});
  EXPECT_EQ(GetSelectedItemTransform(&out), 0) << "no primary";
  Select({{track, true}, {instance, false}});
  ASSERT_EQ(GetSelectedItemTransform(&out), 1);
  EXPECT_EQ(out.a, 30) << "the first symbol instance record among several";
  Select({{track, true}, {Graphic(Type_Arc), false}});
  ASSERT_EQ(GetSelectedItemTransform(&out), 1);
  EXPECT_EQ(out.a, 10);
  w_.SelectionList = nullptr;
  EXPECT_EQ(GetSelectedItemTransform(&out), 0);
}

TEST_F(ItemTransforms, ModeItemWithoutTranslation) {
  w_.InsertionTransform = Numbered(70);
  w_.TemporaryEntity = DuplicateTower(Placed(Type_DesignatorData));
  struct Case {
    std::uint8_t mode;
    std::uint16_t recordType;
    std::int32_t expectedFirst;  // 0: none; -1: from the direction
  };
  const Case cases[] = {
      {Mode_NewSymbol, 0, 70},          {Mode_PlaceShape, 0, 70},
      {Mode_AddNewString, Type_Text, 50}, {Mode_EditString, Type_Text, 50},
      {Mode_PlaceDesignator, 0, 30},    {Mode_PlaceAttributeLocator, 0, 30},
      {Mode_AddNewCentroid, Type_Centroid, -1}, {Mode_AddNewCentroidB, Type_Centroid, -1},
      {Mode_AddNewDimensionerText, 21, 10}, {Mode_AddNewAngleDimensionerText, 22, 10},
      {1, Type_Rectangle, 10},          {1, Type_Track, 0},
      {Mode_AddNewString, 0, 0},        // no record in hand
  };
  for (const Case& c : cases) {
    delete w_.PendingRecord;
    w_.PendingRecord = nullptr;
    if (c.recordType != 0) {
      w_.PendingRecord = NewEntityRecord().release();
      w_.PendingRecord->header.recordType = c.recordType;
      w_.PendingRecord->head().transform = Numbered(10);
      if (c.recordType == Type_Text) w_.PendingRecord->as<TextPayload>().textTransform = Numbered(50);
      if (c.recordType == Type_Centroid) w_.PendingRecord->as<CentroidPayload>().direction = {6, 8};
    }
    w_.EditMode = c.mode;
    pl3::Transform out = Numbered(900);
    const int found = GetModeItemTransform(w_, &out);
    ASSERT_EQ(found, c.expectedFirst != 0) << int{c.mode};
    if (!found) continue;
    EXPECT_EQ(out.tx, 0) << int{c.mode};
    EXPECT_EQ(out.ty, 0);
    if (c.expectedFirst > 0) {
      EXPECT_EQ(out.a, c.expectedFirst) << int{c.mode};
      EXPECT_EQ(out.d, c.expectedFirst + 3);
    }
  }
  // A centroid without a direction has no transform.
  w_.EditMode = Mode_SetCentroidAngle;
  w_.PendingRecord = NewEntityRecord().release();
  w_.PendingRecord->header.recordType = Type_Centroid;
  pl3::Transform out{};
  EXPECT_EQ(GetModeItemTransform(w_, &out), 0);
}

}  // namespace
