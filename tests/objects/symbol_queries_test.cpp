// Origins, options, boxes and the walk of symbols.
#include <gtest/gtest.h>

#include "platform/responder.h"
#include "symbol_fixture.h"

using namespace symboltest;

namespace {

class SymbolQueries : public SymbolFixture {};

std::vector<OriginPayload> Origins(const Tower* t) {
  std::vector<OriginPayload> out;
  Tower* found = GetChildTower(t, Type_Origin);
  while (Entity* e = FindNextEntity(found)) {
    OriginPayload o{};
    std::memcpy(&o, EntityPayload(e), sizeof o);
    out.push_back(o);
  }
  ReleaseTower(&found);
  return out;
}

TEST_F(SymbolQueries, InstanceOriginIsTheDefinitionOriginPlaced) {
  Place(1000, 2000);
  std::int32_t x = -1, y = -1;
  EXPECT_FALSE(GetSymbolInstanceOrigin(instance, &x, &y)) << "a definition without Origin";
  EXPECT_EQ(x, -1);
  SetTowerOrigin(definition, 0, 0);
  ASSERT_TRUE(GetSymbolInstanceOrigin(instance, &x, &y));
  EXPECT_EQ(x, 1000);
  EXPECT_EQ(y, 2000);
  SetTowerOrigin(definition, 30, -40);
  ASSERT_TRUE(GetSymbolInstanceOrigin(instance, &x, &y));
  EXPECT_EQ(x, 1030);
  EXPECT_EQ(y, 1960);
}

TEST_F(SymbolQueries, SetTowerOriginLeavesOneAndOffsetOriginObeysTheFlag) {
  MakeDefinition();
  Put(definition, Type_Origin, OriginPayload{1, 1, 7, 0});
  Put(definition, Type_Origin, OriginPayload{2, 2, 7, 0});
  SetTowerOrigin(definition, 50, 60);
  auto origins = Origins(definition);
  ASSERT_EQ(origins.size(), 1u);
  EXPECT_EQ(origins[0].x, 50);
  EXPECT_EQ(origins[0].y, 60);
  EXPECT_EQ(origins[0].flags, 0);

  struct Case {
    std::uint16_t flag;
    std::int32_t x, y;
  };
  for (const Case c : {Case{1, 50, 60}, Case{0x8000, 50, 60}, Case{0, 45, 70}}) {
    SetTowerOrigin(definition, 50, 60);
    OffsetOrigin(definition, {-5, 10}, c.flag);
    origins = Origins(definition);
    EXPECT_EQ(origins[0].x, c.x) << "flag " << c.flag;
    EXPECT_EQ(origins[0].y, c.y) << "flag " << c.flag;
  }
}

TEST_F(SymbolQueries, DragOriginSnapsRedrawsAndStepsTheRecord) {
  MakeDefinition();
  SetTowerOrigin(definition, 0, 0);
  static std::vector<std::int32_t> squaresAt;
  squaresAt.clear();
  symbolfakes::Hook().snapXYFine = [](std::int32_t* x, std::int32_t* y) {
    *x = *x / 100 * 100;
    *y = *y / 100 * 100;
  };
  symbolfakes::Hook().drawOriginSquare = [](void*, const Tower* t) {
    const auto* o = static_cast<const std::int32_t*>(GetEntityData(t, Type_Origin));
    squaresAt.push_back(o ? o[0] : -1);
  };
  OriginDrag drag{{10, 20}, {1234, 5678}, {0, 0}};
  DragOrigin(nullptr, definition, &drag);
  const auto origins = Origins(definition);
  ASSERT_EQ(origins.size(), 1u);
  EXPECT_EQ(origins[0].x, 1200);
  EXPECT_EQ(origins[0].y, 5600);
  EXPECT_EQ(squaresAt, (std::vector<std::int32_t>{0, 1200})) << "erased at the old point, drawn at the new";
  EXPECT_EQ(drag.previousPoint.x, 1234);
  EXPECT_EQ(drag.previousPoint.y, 5678);
}

TEST_F(SymbolQueries, OptionsAndSurfaceMount) {
  Tower* bare = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));
  EXPECT_EQ(GetInstanceDefinitionFlag(bare), 0u);
  EXPECT_EQ(IsSurfaceMountSymbol(bare), 0) << "no 113";

  Place(0, 0);
  EXPECT_EQ(GetSymbolOptions(definition), 0u);
  EXPECT_EQ(IsSurfaceMountSymbol(instance), 1) << "a definition without pads";

  Tower* smd = MakeStack(1);
  AddPad(smd, 1);
  AddPad(nullptr, 2);  // names no stack: skipped
  EXPECT_EQ(IsSurfaceMountSymbol(instance), 1);

  const std::uint32_t options = 0x3;
  Tower* optionRecord = Own(InsertEntity(definition, 4, 10318, &options));
  EXPECT_EQ(GetSymbolOptions(definition), 3u);
  EXPECT_EQ(GetInstanceDefinitionFlag(instance), 1u);
  EXPECT_EQ(IsSurfaceMountSymbol(instance), 0) << "option bit 0 is never surface-mount";
  DeleteEntity(optionRecord);

  Tower* through = MakeStack(0);
  AddPad(through, 3);
  EXPECT_EQ(IsSurfaceMountSymbol(instance), 0) << "one through pad";
}

TEST_F(SymbolQueries, OwningSymbolDependsOnTheEditor) {
  Place(0, 0);
  Tower* stack = MakeStack(1);
  Tower* pad = AddPad(stack, 1);
  Tower* inInstance = Own(InsertEntity(instance, 4, Type_Track, Item(1).data()));

  Tower* owner = GetOwningSymbolTower(inInstance);
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(TowerEntity(owner), TowerEntity(instance));
  ReleaseTower(&owner);
  EXPECT_EQ(GetOwningSymbolTower(pad), nullptr) << "the PCB editor looks for an instance";

  window->editorKind = kEditorPcbSymbol;
  owner = GetOwningSymbolTower(pad);
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(TowerEntity(owner), TowerEntity(definition));
  ReleaseTower(&owner);
  EXPECT_EQ(GetOwningSymbolTower(design), nullptr);
}

TEST_F(SymbolQueries, BoxesOfInstancesShapesAndPins) {
  static const Entity* boxedEntity;
  boxedEntity = nullptr;
  symbolfakes::Hook().getBox = [](const Tower* t, pl3::Box* box) {
    boxedEntity = TowerEntity(t);
    if (t->levels[t->lastLevel].typeCode == 27) {
      *box = {900000, 0, 1000000, 10};
    } else {
      *box = {0, 0, 100, 50};
    }
  };
  Place(0, 0);
  pl3::Box box{1, 2, 3, 4};
  const std::uint8_t* info = static_cast<const std::uint8_t*>(GetEntityData(instance, Type_SymbolInstanceInfo));
  EXPECT_EQ(GetSymbolInstanceInfoBox(info, &box), 1);
  EXPECT_EQ(boxedEntity, TowerEntity(definition));
  EXPECT_EQ(box.xmax, 100);

  const std::uint32_t dangling[2] = {0, RefOf(instance) + 16};
  box = {1, 2, 3, 4};
  pl3::ClearResponderRecords();
  EXPECT_EQ(GetSymbolInstanceInfoBox(reinterpret_cast<const std::uint8_t*>(dangling), &box), 0);
  EXPECT_EQ(box.xmin, 1) << "the box is untouched";
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Unable to retrieve Symbol Def");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "GetSymbolInstanceInfoBox");

  // A shape placed with a quarter turn and a shift.
  Tower* shapeDef = Own(InsertEntity(design, 0, Type_ShapeDefinition, nullptr));
  Tower* shape = Own(InsertEntity(design, 0, Type_Shape, nullptr));
  const std::uint32_t shapeInfo[2] = {RefOf(shapeDef), 0};
  Put(shape, Type_ShapeInfo, shapeInfo);
  ASSERT_EQ(GetShapeInstanceBox(shape, &box), 1);
  EXPECT_EQ(box.xmax, 100) << "without a 208 the box is untransformed";
  pl3::Transform turn{0, -(1 << 24), 1 << 24, 0, 1000, 1000};
  Put(shape, Type_Transform, turn);
  ASSERT_EQ(GetShapeInstanceBox(shape, &box), 1);
  pl3::Box expected{0, 0, 100, 50};
  GetRectangleBox(&expected, &turn);
  EXPECT_EQ(box.xmax - box.xmin, 50) << "width and height swap under a quarter turn";
  EXPECT_EQ(box.ymax - box.ymin, 100);
  EXPECT_EQ(box.xmin, expected.xmin);

  Tower* pin = Own(InsertEntity(design, 0, Type_SymbolPin, nullptr));
  EXPECT_EQ(GetSymbolPinBox(pin, &box), 0) << "a pin without Origin";
  Put(pin, Type_Origin, OriginPayload{500000, 500000, 0, 0});
  ASSERT_EQ(GetSymbolPinBox(pin, &box), 1);
  EXPECT_EQ(box.xmin, 500000 - 365760);
  EXPECT_EQ(box.xmax, 500000 + 365760);
  Insert(pin, 27, 1);
  ASSERT_EQ(GetSymbolPinBox(pin, &box), 1);
  EXPECT_EQ(box.xmax, 1000000) << "grown by the label's box";
  EXPECT_EQ(box.ymin, 0);
  EXPECT_EQ(box.ymax, 500000 + 365760);
}

TEST_F(SymbolQueries, InstanceInfoWalksTheDefinitionWithTextsHidden) {
  Place(100, 0);
  Insert(definition, Type_Track, 11);
  Insert(definition, Type_Arc, 12);
  static std::vector<std::uint32_t> optionsSeen;
  optionsSeen.clear();
  WalkHandlers.drawWalkedEntity = [](const pl3::Transform* t, Tower* e, void* p, std::uint8_t m, std::uint8_t a,
                                     std::int32_t* r) {
    optionsSeen.push_back(DisplayOptions);
    EXPECT_EQ(t->tx, 100);
    return RecordVisit(t, e, p, m, a, r);
  };
  RegisterSymbolWalkHandlers();
  DisplayOptions = 0x2;
  const pl3::Transform placed = Shift(100, 0);
  Tower* info = ChildOn(instance, Type_SymbolInstanceInfo);
  EXPECT_EQ(ProcessFoundSymbolInstanceInfo(0, info, &placed, nullptr), 1);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{11, 12}));
  EXPECT_EQ(optionsSeen, (std::vector<std::uint32_t>{0x3, 0x3}));
  EXPECT_EQ(DisplayOptions, 0x2u) << "restored";

  // Through the walker: the instance's 113 reaches the definition's graphics.
  Visits().clear();
  PerformTowerAction(&placed, instance, nullptr, 0, 0, 0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{11, 12}));
  // Other actions reach the 113 itself through their own handler.
  Visits().clear();
  PerformTowerAction(&placed, instance, nullptr, 0, WalkAction_Delete, 0);
  ASSERT_EQ(Visits().size(), 1u);
  EXPECT_EQ(Visits()[0].code, Type_SymbolInstanceInfo);
}

}  // namespace
