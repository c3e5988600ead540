#include "objects/symbol_instances.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "platform/responder.h"
#include "walk_fixture.h"

using namespace walktest;

namespace {

pl3::Transform Shift(std::int32_t tx, std::int32_t ty) {
  pl3::Transform t = pl3::kIdentityTransform;
  t.tx = tx;
  t.ty = ty;
  return t;
}

class SymbolTest : public WalkTest {
 protected:
  // A symbol definition and an instance of it placed at (tx, ty).
  void Place(std::int32_t tx, std::int32_t ty) {
    definition = InsertEntity(design, 0, Type_SymbolDefinition, nullptr);
    instance = InsertEntity(design, 0, Type_SymbolInstance, nullptr);
    const std::uint32_t info[2] = {0, NodeRefOf(TowerEntity(definition))};
    Tower* t = InsertEntity(instance, sizeof info, Type_SymbolInstanceInfo, info);
    ReleaseTower(&t);
    const pl3::Transform placed = Shift(tx, ty);
    t = InsertEntity(instance, sizeof placed, Type_Transform, &placed);
    ReleaseTower(&t);
  }
  void TearDown() override {
    ReleaseTower(&instance);
    ReleaseTower(&definition);
    WalkTest::TearDown();
  }
  Tower* definition = nullptr;
  Tower* instance = nullptr;
};

TEST_F(SymbolTest, InstanceResolvesItsDefinition) {
  Place(100, 200);
  Tower* found = GetInstanceSymbolDef(instance);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(TowerEntity(found), TowerEntity(definition));
  ReleaseTower(&found);
  // A reference to something that is not a child of the design is not followed.
  const std::uint32_t stray[2] = {0, NodeRefOf(TowerEntity(instance)) + 4};
  EXPECT_EQ(GetInfoSymbolDef(reinterpret_cast<const std::uint8_t*>(stray)), nullptr);
  Tower* bare = InsertEntity(design, 0, Type_SymbolInstance, nullptr);
  EXPECT_EQ(GetInstanceSymbolDef(bare), nullptr);
  ReleaseTower(&bare);
}

TEST_F(SymbolTest, TransformsComposeDownThePath) {
  Place(100, 200);
  Tower* padInfo = InsertEntity(instance, 276, Type_PadStackInstanceInfo, Item(0, 276).data());
  pl3::Transform t;
  const pl3::Transform parent = Shift(1, 2);
  GetTransform(&t, padInfo, &parent);
  EXPECT_EQ(t.tx, 101) << "a 117 takes its instance's transform";
  EXPECT_EQ(t.ty, 202);
  GetOwnTransform(&t, design);
  EXPECT_EQ(t.tx, 0) << "a code without a transform gives the parent";

  Tower* info = GetChildTower(instance, Type_SymbolInstanceInfo);
  FindNextEntity(info);
  GetTransform(&t, info, &parent);
  EXPECT_EQ(t.tx, 1);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Searching for Type_SymbolInstanceInfo");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "GetTransform");

  EXPECT_EQ(OffsetTransform(instance, {5, -5})->tx, 105);
  EXPECT_EQ(OffsetTransform(design, 1, 1), nullptr);
  ReleaseTower(&info);
  ReleaseTower(&padInfo);
}

TEST_F(SymbolTest, CopyFromTowerUsesTheDesignTransform) {
  Place(1000, 2000);
  LinePayload line{};
  line.head.layer = 1;
  line.x2 = 10;
  line.y2 = 5;
  Tower* inInstance = InsertEntity(instance, sizeof line, Type_Track, &line);
  auto* record = static_cast<EntityRecord*>(CopyEntityFromTower(inInstance));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->header.transform.tx, 1000);
  EXPECT_EQ(record->header.transform.ty, 2000);
  EXPECT_EQ(record->as<LinePayload>().x2, 10) << "the payload is copied as stored";
  std::free(record);
  Tower* text = InsertEntity(instance, 120, Type_Datum, Item(0, 120).data());
  EXPECT_EQ(CopyEntityFromTower(text), nullptr);
  ReleaseTower(&text);
  ReleaseTower(&inInstance);
}

TEST_F(SymbolTest, ShapeDefinitionResolvesAlongTheShapesPath) {
  Tower* group = InsertEntity(design, 0, Type_SymbolDefinition, nullptr);
  Tower* shapeDef = InsertEntity(design, 0, Type_ShapeDefinition, nullptr);
  Tower* shape = InsertEntity(group, 0, Type_Shape, nullptr);
  const std::uint32_t info[2] = {NodeRefOf(TowerEntity(shapeDef)), 0};
  Tower* t = InsertEntity(shape, sizeof info, Type_ShapeInfo, info);
  Tower* found = GetShapeDefinitionTower(shape);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(TowerEntity(found), TowerEntity(shapeDef));
  for (Tower** x : {&found, &t, &shape, &shapeDef, &group}) ReleaseTower(x);
}

}  // namespace
