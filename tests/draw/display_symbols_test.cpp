#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/walk_tables.h"
#include "draw/display_list.h"
#include "draw/display_list_seams.h"
#include "draw/display_paint.h"
#include "draw/layer_drawing.h"
#include "objects/design_helpers.h"
#include "draw/walk_actions.h"
#include "objects/walker.h"
#include "tests/draw/display_fixture.h"

namespace {

using namespace displaytest;

pl3::Transform Shift(std::int32_t tx, std::int32_t ty) {
  pl3::Transform t = pl3::kIdentityTransform;
  t.tx = tx;
  t.ty = ty;
  return t;
}

std::uint32_t RefOf(const Tower* t) { return NodeRefOf(TowerEntity(t)); }

struct OriginPayload {
  std::int32_t x, y;
  std::uint16_t flags, pad;
};

// A symbol definition with a silkscreen line and one through-hole pad (Xref
// 1) whose stack draws a copper track on the top layer; instances of it.
class DisplaySymbols : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    definition = Own(InsertEntity(design, 0, Type_SymbolDefinition, nullptr));
    Add(definition, Type_Track, Track(Layer_TopSilkscreen, 0, 0, 100000, 0, 1000));
    Tower* stack = Own(InsertEntity(definition, 0, Type_PadStackDefinition, nullptr));
    std::uint8_t stackInfo[28] = {};
    std::memcpy(stackInfo + 4, &pl3::kIdentityTransform, sizeof(pl3::Transform));
    Add(stack, Type_PadStackDefinitionInfo, stackInfo);
    Add(stack, Type_Origin, OriginPayload{0, 0, 0, 0});
    Add(stack, Type_BoundingBox, pl3::Box{-50000, -40000, 50000, 40000});
    Tower* shape = Own(InsertEntity(stack, 0, Type_ShapeDefinition, nullptr));
    Add(shape, Type_Track, Track(Layer_Top, -20000, 0, 20000, 0, 30000));
    std::uint8_t entry[44] = {};
    entry[4] = Layer_Top;
    const std::uint32_t shapeRef = RefOf(shape);
    std::memcpy(entry + 8, &shapeRef, 4);
    std::memcpy(entry + 20, &pl3::kIdentityTransform, sizeof(pl3::Transform));
    Add(stack, Type_PadStackLayerInfo, entry);
    Tower* pad = Own(InsertEntity(definition, 0, Type_PadStackInstanceHier, nullptr));
    std::uint8_t padInfo[36] = {};
    const std::uint32_t xref = 1, stackRef = RefOf(stack);
    std::memcpy(padInfo + 4, &xref, 4);
    std::memcpy(padInfo + 8, &stackRef, 4);
    const pl3::Transform at = Shift(200000, 0);
    std::memcpy(padInfo + 12, &at, sizeof at);
    Add(pad, Type_PadStackInfo, padInfo);
  }

  Tower* Place(std::int32_t tx, std::int32_t ty, std::uint32_t net = 0) {
    Tower* instance = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));
    const std::uint32_t info[2] = {0, RefOf(definition)};
    Add(instance, Type_SymbolInstanceInfo, info);
    Add(instance, Type_Transform, Shift(tx, ty));
    PadStackInstanceInfo pin{};
    pin.xref = 1;
    pin.netIds[0] = net;
    Add(instance, Type_PadStackInstanceInfo, pin);
    return instance;
  }

  // A net of the id and name under the design's netlist.
  void AddNet(std::uint32_t id, const char* name, std::uint32_t flags = 0) {
    if (!netlist) netlist = Own(InsertEntity(design, 0, Type_NetHierGroup, nullptr));
    Tower* net = Own(InsertEntity(netlist, 0, Type_Net, nullptr));
    const std::uint32_t info[2] = {id, flags};
    Add(net, Type_NetInfo, info);
    Own(InsertEntity(net, static_cast<std::uint32_t>(std::strlen(name) + 1), Type_NetName, name));
  }

  Tower* definition = nullptr;
  Tower* netlist = nullptr;
};

// The items whose entity Tower cuts back to the instance.
std::size_t ItemsOf(const std::vector<DisplayItem*>& items, const Tower* instance) {
  std::size_t n = 0;
  for (const DisplayItem* item : items) {
    Tower* cut = GetAncestorTower(item->entity, Type_SymbolInstance);
    n += TowerEntity(cut) == TowerEntity(instance);
    ReleaseTower(&cut);
  }
  return n;
}

TEST_F(DisplaySymbols, PlacedSymbolGivesItsGraphicsPadsAndLabel) {
  AddNet(5, "GND");
  Tower* instance = Place(3000000, 4000000, 5);
  Put(instance);
  const auto general = Items(DisplayList_General);
  ASSERT_EQ(general.size(), 2u);  // the silkscreen line and the pad's copper, once each
  const DisplayItem* silk = nullptr;
  const DisplayItem* copper = nullptr;
  for (const DisplayItem* item : general) (item->layer == Layer_Top ? copper : silk) = item;
  ASSERT_TRUE(silk && copper);
  EXPECT_EQ(TowerEntity(silk->entity), TowerEntity(instance));
  EXPECT_TRUE(silk->flags & kItemInSymbol);
  EXPECT_FALSE(silk->flags & kItemPinPart);
  EXPECT_EQ(silk->box.xmin, 3000000 - 1000);
  EXPECT_EQ(LastLevel(copper->entity).typeCode, Type_PadStackInstanceInfo);
  EXPECT_TRUE(copper->flags & kItemPinPart);
  EXPECT_EQ(copper->checkClass, 3u);  // a through-hole pad's copper
  EXPECT_EQ(copper->box.xmin, 3000000 + 200000 - 20000 - 30000);

  const auto labels = Items(DisplayList_PinLabels);
  ASSERT_EQ(labels.size(), 1u);
  const PinLabelItem& label = *ItemAs<PinLabelItem>(labels[0]);
  EXPECT_EQ(label.side, 4u);
  ASSERT_NE(label.netName, nullptr);
  EXPECT_STREQ(label.netName, "GND");
  EXPECT_EQ(label.pinWords[0], 5u);
  EXPECT_EQ(label.origin.x, 3200000);
  EXPECT_EQ(label.head.box.xmin, 3200000 - 50000);
  EXPECT_EQ(label.head.box.ymax, 4000000 + 40000);
}

TEST_F(DisplaySymbols, RemovingAnInstanceRemovesAllItsItemsAndNoOthers) {
  Tower* first = Place(3000000, 4000000);
  Tower* second = Place(6000000, 4000000);
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 1000000, 1000000, 2000000, 1000000, 1000));
  for (const Tower* t : {first, second, track}) Put(t);
  ASSERT_EQ(ItemsOf(Items(DisplayList_General), first), 2u);
  ASSERT_EQ(Items(DisplayList_PinLabels).size(), 2u);
  RemoveFromDisplayList(List(), first);
  EXPECT_EQ(ItemsOf(Items(DisplayList_General), first), 0u);
  EXPECT_EQ(ItemsOf(Items(DisplayList_General), second), 2u);
  EXPECT_EQ(ItemsOf(Items(DisplayList_PinLabels), second), 1u);
  EXPECT_EQ(Items(DisplayList_PinLabels).size(), 1u);
  EXPECT_EQ(Items(DisplayList_General).size(), 3u);  // the second symbol's two and the track
}

TEST_F(DisplaySymbols, RebuildWalksTheDesignAndRestoresTheWindow) {
  Place(3000000, 4000000);
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 1000000, 1000000, 2000000, 1000000, 1000));
  Add(design, Type_Hole, Hole(2000000, 3000000, 20000, 40000, kHolePlated | kHoleVia));
  TowerEntity(track)->flags |= kEntityHighlighted;
  window->StateFlags = kStateSingleColour | 0x1000;
  window->ViewFlags = 0x40000000;
  std::fill(std::begin(WalkTypeFlags), std::end(WalkTypeFlags), 0);
  WalkTypeFlags[3] = 9;

  window->Display = RebuildDisplayList(design, List());
  EXPECT_EQ(Items(DisplayList_General).size(), 3u);  // the track and the symbol's two
  EXPECT_EQ(Items(DisplayList_Holes).size(), 2u);
  EXPECT_EQ(Items(DisplayList_PinLabels).size(), 1u);
  EXPECT_FALSE(TowerEntity(track)->flags & kEntityHighlighted);
  EXPECT_EQ(window->StateFlags, 0x1000u);  // single-colour mode cleared
  EXPECT_EQ(window->ViewFlags, 0x40000000u);
  EXPECT_EQ(WalkTypeFlags[3], 9);
  EXPECT_EQ(WalkTypeFlags[7], 0);
  EXPECT_EQ(CurrentDisplayList, nullptr);
}

// ---- Walk actions ----------------------------------------------------------------------------------

TEST_F(DisplaySymbols, NearestPadKeepsTheFirstOfEqualDistances) {
  Tower* left = Place(3000000, 4000000, 7);
  Tower* right = Place(3400000, 4000000, 8);
  window->Zoom = 1000;
  window->Cursor = {3400000, 4000000};  // the pads are at 3,200,000 and 3,600,000: equally far
  ResetNearestPad();
  for (Tower* instance : {left, right}) {
    Tower* pad = OpenChildTower(instance, Type_PadStackInstanceInfo);
    std::int32_t result = 0;
    FindNearestPadAction(&pl3::kIdentityTransform, pad, nullptr, 0, 0, &result);
    ReleaseTower(&pad);
  }
  EXPECT_DOUBLE_EQ(NearestPadResult.distance, 200.0);
  EXPECT_EQ(TowerEntity(NearestPadResult.instance), TowerEntity(left));
  EXPECT_EQ(NearestPadResult.netIds[0], 7u);
  EXPECT_EQ(NearestPadResult.xref, 1u);
  window->Cursor = {3590000, 4000000};
  Tower* pad = OpenChildTower(right, Type_PadStackInstanceInfo);
  std::int32_t result = 0;
  FindNearestPadAction(&pl3::kIdentityTransform, pad, nullptr, 0, 0, &result);
  ReleaseTower(&pad);
  EXPECT_EQ(TowerEntity(NearestPadResult.instance), TowerEntity(right));
  EXPECT_DOUBLE_EQ(NearestPadResult.distance, 10.0);
  ResetNearestPad();
}

TEST_F(DisplaySymbols, DeleteGraphicsTakesTheItemsOffTheListToo) {
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 1000000, 1000000, 2000000, 1000000, 1000));
  Tower* hole = Add(design, Type_Hole, Hole(2000000, 3000000, 20000, 40000, kHolePlated));
  Put(track);
  Put(hole);
  FillNetFlagTable(1);
  EXPECT_EQ(PerformTowerAction(&pl3::kIdentityTransform, design, nullptr, 0, WalkAction_Delete, 0), 1);
  EXPECT_FALSE(IsTowerValid(track, 0));
  EXPECT_TRUE(Items(DisplayList_General).empty());
  EXPECT_EQ(Items(DisplayList_Holes).size(), 1u);  // holes are not graphics to delete
}

TEST_F(DisplaySymbols, MoveLayerMovesGraphicsOnTheSourceLayerOnly) {
  Tower* a = Add(design, Type_Track, Track(Layer_Top, 0, 0, 10, 0, 1));
  Tower* b = Add(design, Type_Track, Track(2, 0, 0, 10, 0, 1));
  FillNetFlagTable(1);
  WalkSourceLayer = Layer_Top;
  WalkTargetLayer = Layer_Bottom;
  EXPECT_EQ(PerformTowerAction(&pl3::kIdentityTransform, design, nullptr, 0, WalkAction_ChangeLayer, 0), 1);
  EXPECT_EQ(TowerPayload(a)[0], Layer_Bottom);
  EXPECT_EQ(TowerPayload(b)[0], 2);
}

TEST_F(DisplaySymbols, NetFlagTableFillsEveryTypeWord) {
  FillNetFlagTable(3);
  EXPECT_EQ(WalkTypeFlags[0], 3);
  EXPECT_EQ(WalkTypeFlags[kWalkTypeCount - 1], 3);
}

TEST_F(DisplaySymbols, TransformedCopyTakesAtMostThePayloadAndZeroesTheRest) {
  HolePayload hole = Hole(1000, 2000, 30, 40, kHolePlated);
  std::memset(hole.carried, 0xAB, sizeof hole.carried);
  Tower* full = Add(design, Type_Hole, hole);
  Tower* shortHole = Own(InsertEntity(design, 80, Type_Hole, &hole));
  const pl3::Transform t = Shift(500, 700);
  PushTransformedEntityCopy(full, &t);
  PushTransformedEntityCopy(shortHole, &t);
  ASSERT_EQ(TransformedCopyCount(), 2u);
  const TransformedCopy* s = TransformedCopies();
  EXPECT_EQ(s->body[79], 0xAB);
  EXPECT_EQ(s->body[80], 0);
  EXPECT_EQ(s->body[603], 0);
  const TransformedCopy* f = s->next;
  EXPECT_EQ(f->body[603], 0xAB);
  pl3::HoleLayout moved;
  std::memcpy(&moved, f->body, sizeof moved);
  EXPECT_EQ(moved.centreX, 1500);
  EXPECT_EQ(moved.centreY, 2700);
  FreeTransformedCopies();
  EXPECT_EQ(TransformedCopyCount(), 0u);
}

TEST_F(DisplaySymbols, QueryActionsDrawNothing) {
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 0, 0, 10, 0, 1));
  std::int32_t result = 5;
  for (std::uint8_t action : {10, 17, 21, 22, 32, 33}) {
    EXPECT_EQ(DrawWalkedEntity(&pl3::kIdentityTransform, track, nullptr, 0, action, &result), 0);
  }
  EXPECT_EQ(TotalItems(), 0u);
}

}  // namespace
