#include "objects/walker_actions.h"

#include <gtest/gtest.h>

#include "objects/size_table.h"
#include "walk_fixture.h"

using namespace walktest;

namespace {

class ActionTest : public WalkTest {
 protected:
  void SetUp() override {
    WalkTest::SetUp();
    sizes = std::make_unique<SizeTable>();
    for (SizeList& list : sizes->lists) list.entries.resize(5);
    window->sizeTable = sizes.get();
  }
  void TearDown() override {
    window->sizeTable = nullptr;
    WalkTest::TearDown();
  }
  std::vector<std::uint32_t> InUse(std::uint32_t kind) const {
    std::vector<std::uint32_t> used;
    for (std::uint32_t k = 0; k < sizes->lists[kind].count(); ++k) {
      if (sizes->lists[kind].entries[k].flags & kSizeEntryInUse) used.push_back(k);
    }
    return used;
  }
  static std::vector<std::uint8_t> Sized(std::uint32_t size, std::uint16_t flags, std::uint32_t index) {
    std::vector<std::uint8_t> p = Item(0, size);
    std::memcpy(p.data() + 2, &flags, 2);
    std::memcpy(p.data() + 4, &index, 4);
    return p;
  }
  std::unique_ptr<SizeTable> sizes;
};

TEST_F(ActionTest, MarkUsedSizesByList) {
  Insert(design, Type_Track, Sized(68, 1, 3));
  Insert(design, Type_Track, Sized(68, 0, 1));  // a fixed width marks nothing
  std::vector<std::uint8_t> via = Sized(604, 1, 2);
  via[49] = 0x08;
  Insert(design, Type_Hole, via);
  Insert(design, Type_Hole, Sized(604, 1, 4));
  Insert(design, Type_Text, Sized(120, 0, 1));
  std::vector<std::uint8_t> dimension = Sized(176, 0, 0);
  dimension[80] = 2;
  dimension[88] = 1;
  Insert(design, Type_Dimensioner, dimension);
  EXPECT_EQ(Walk(WalkAction_MarkUsedSizes), 1) << "the text counts";
  EXPECT_EQ(InUse(SizeKind_Lines), (std::vector<std::uint32_t>{3}));
  EXPECT_EQ(InUse(SizeKind_Vias), (std::vector<std::uint32_t>{2}));
  EXPECT_EQ(InUse(SizeKind_Holes), (std::vector<std::uint32_t>{4}));
  EXPECT_EQ(InUse(SizeKind_Fonts), (std::vector<std::uint32_t>{2}));
}

TEST_F(ActionTest, SymbolInstancesMarkThroughTheirDesignators) {
  Tower* instance = InsertEntity(design, 0, Type_SymbolInstance, nullptr);
  Tower* designator = InsertEntity(instance, 0, Type_Designator, nullptr);
  Tower* data = InsertEntity(designator, 0, Type_DesignatorData, nullptr);
  std::vector<std::uint8_t> info(20, 0);
  info[0] = 1;
  info[4] = 4;
  Insert(data, Type_DesignatorInfo, info);
  std::vector<std::uint8_t> fixedInfo(20, 0);
  fixedInfo[0] = 3;  // bit 1 set: not marked
  fixedInfo[4] = 1;
  Tower* data2 = InsertEntity(designator, 0, Type_DesignatorData, nullptr);
  Insert(data2, Type_DesignatorInfo, fixedInfo);
  EXPECT_EQ(Walk(WalkAction_MarkUsedSizes), 1);
  EXPECT_EQ(InUse(SizeKind_Fonts), (std::vector<std::uint32_t>{4}));
  for (Tower** t : {&data2, &data, &designator, &instance}) ReleaseTower(t);
}

TEST_F(ActionTest, OffsetMovesByEditorKind) {
  static std::vector<std::uint16_t> moved;
  moved.clear();
  WalkHandlers.offsetEntity = [](void*, std::uint16_t type, std::int32_t dx, std::int32_t dy, int clamp) {
    EXPECT_EQ(dx, 5);
    EXPECT_EQ(dy, -2);
    EXPECT_EQ(clamp, 1);
    moved.push_back(type);
    return 1;
  };
  WalkMoveOffset = {5, -2};
  Insert(design, Type_Track, 1);
  Entity* layerEntry = Insert(design, Type_PadStackLayerInfo, Item(2, 44));
  std::vector<std::uint8_t> info = Item(3, 36);
  Entity* padInfo = Insert(design, Type_PadStackInfo, info);
  Tower* definition = InsertEntity(design, 0, Type_SymbolDefinition, nullptr);
  Entity* innerPad = Insert(definition, Type_PadStackInfo, Item(4, 36));
  Tower* shape = InsertEntity(design, 0, Type_Shape, nullptr);
  pl3::Transform placed = pl3::kIdentityTransform;
  Tower* transform = InsertEntity(shape, sizeof placed, Type_Transform, &placed);

  EXPECT_EQ(Walk(WalkAction_Offset), 0) << "each item stores its answer: the layer entry, walked last, says 0";
  EXPECT_EQ(moved, (std::vector<std::uint16_t>{Type_Track}));
  EXPECT_EQ(towertest::WordAt(layerEntry, 36), 0u) << "the PCB editor leaves pad-stack entries";
  EXPECT_EQ(towertest::WordAt(padInfo, 28), 0u);
  EXPECT_EQ(reinterpret_cast<const pl3::Transform*>(TowerPayload(transform))->tx, 5);

  window->editorKind = kEditorPadStack;
  Walk(WalkAction_Offset);
  EXPECT_EQ(static_cast<std::int32_t>(towertest::WordAt(layerEntry, 36)), 5);
  EXPECT_EQ(static_cast<std::int32_t>(towertest::WordAt(layerEntry, 40)), -2);
  window->editorKind = kEditorPcbSymbol;
  Walk(WalkAction_Offset, 0, 0, definition);
  EXPECT_EQ(static_cast<std::int32_t>(towertest::WordAt(innerPad, 32)), -2);
  for (Tower** t : {&transform, &shape, &definition}) ReleaseTower(t);
}

TEST_F(ActionTest, LayerPresenceSkipsHolesAndAsksSymbolsForTheTopLayer) {
  struct Case {
    std::uint16_t code;
    std::uint8_t firstSetLayer;
    bool marked;
  };
  const Case cases[] = {
      {Type_Hole, 1, false},
      {Type_SymbolInstance, 1, true},
      {Type_SymbolInstance, 5, false},
      {Type_Circle, 5, true},
  };
  window->LayerSetCount = 1;
  for (const Case& c : cases) {
    Tower* item = TowerOn(Insert(design, c.code, Item(0, 604)));
    window->LayerSet[0] = c.firstSetLayer;
    DisplayOptions = 0;
    MarkLayerPresence(item, WalkAction_LayerPresence);
    EXPECT_EQ((DisplayOptions & kDisplayLayerInUse) != 0, c.marked) << c.code << " " << int(c.firstSetLayer);
    DisplayOptions = 0;
    MarkLayerPresence(item, WalkAction_Draw);
    EXPECT_EQ(DisplayOptions, 0u) << "other actions do nothing";
    ReleaseTower(&item);
  }
}

TEST_F(ActionTest, ShapeWalkEntersTheDefinitionAndRestoresTheWalkFlags) {
  Tower* definition = InsertEntity(design, 0, Type_ShapeDefinition, nullptr);
  Insert(definition, Type_Track, 11);
  Insert(definition, Type_Circle, 12);
  Tower* shape = InsertEntity(design, 0, Type_Shape, nullptr);
  const std::uint32_t info[2] = {NodeRefOf(TowerEntity(definition)), 0x00090000};  // layer byte 6 = 9
  Tower* shapeInfo = InsertEntity(shape, sizeof info, Type_ShapeInfo, info);
  window->WalkFlags = 0x40000;
  EXPECT_EQ(ProcessFoundShapeInfo(nullptr, shape, &pl3::kIdentityTransform, WalkAction_Delete), 2);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{11, 12}));
  EXPECT_EQ(Visits()[0].walkFlags, 0x40000u | kWalkInPadStack);
  EXPECT_EQ(window->WalkFlags, 0x40000u);
  EXPECT_EQ(window->DrawingLayer, 9);

  // A shape naming something that is not beside it walks nothing.
  Tower* stray = InsertEntity(design, 0, Type_Shape, nullptr);
  const std::uint32_t bad[2] = {NodeRefOf(TowerEntity(shapeInfo)), 0};
  Tower* badInfo = InsertEntity(stray, sizeof bad, Type_ShapeInfo, bad);
  EXPECT_EQ(ProcessFoundShapeInfo(nullptr, stray, &pl3::kIdentityTransform, WalkAction_Delete), 0);
  for (Tower** t : {&badInfo, &stray, &shapeInfo, &shape, &definition}) ReleaseTower(t);
}

}  // namespace
