#include "edit/item_selection_commands.h"

#include <gtest/gtest.h>

#include <cstring>

#include <string>
#include <vector>

#include "draw/display_list_seams.h"
#include "edit/placing_seams.h"
#include "edit/selection_engine_seams.h"
#include "objects/symbol_instances.h"
#include "objects/walker.h"
#include "platform/responder.h"
#include "tests/draw/display_fixture.h"

namespace {

Tower* gShapeToLoad = nullptr;
std::string gAskedKind;

}  // namespace

Tower* LoadShapeForInsertion(HWND, const Tower*, const char* kind) {
  gAskedKind = kind;
  return gShapeToLoad ? DuplicateTower(gShapeToLoad) : nullptr;
}
// The rest of the loading family, which these tests do not reach.
Tower* LoadAndInsertSymbolDefinition(HWND) { return nullptr; }
void ReloadShapeInsertion(const Tower*) {}
void RotateMacroBlock(HWND, EntityRecord*, const pl3::Transform*) {}

namespace {

using namespace displaytest;

class ItemSelectionCommands : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    gShapeToLoad = nullptr;
    gAskedKind.clear();
  }
  void TearDown() override {
    ReleaseTower(&window->Selection);
    ReleaseTower(&window->RememberedShape);
    DisplayTest::TearDown();
  }
  std::size_t Children(std::uint16_t code) {
    Tower* t = GetChildTower(design, code);
    std::size_t n = 0;
    while (t && FindNextEntity(t)) ++n;
    ReleaseTower(&t);
    return n;
  }
};

TEST_F(ItemSelectionCommands, DeleteSelectionByTheKindOfItemHeld) {
  std::uint8_t bytes[96]{};
  const struct {
    std::uint16_t code;
    int result;
    bool deleted;
  } cases[] = {
      {Type_Track, 1, true},         {Type_Hole, 1, true},          {Type_PolygonWiringKeepout, 1, true},
      {Type_StarEarthTrack, 1, true}, {Type_Shape, 1, true},        {Type_DesignatorData, 1, true},
      {Type_ShapeDefinition, 1, false}, {Type_SymbolInstance, 0, false}, {Type_Centroid, 0, false},
      {Type_Datum, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    Tower* item = InsertEntity(design, sizeof bytes, c.code, bytes);
    window->Selection = DuplicateTower(item);
    EXPECT_EQ(DeleteSelection(nullptr), c.result);
    EXPECT_EQ(Children(c.code), c.deleted ? 0u : 1u);
    if (c.result)
      EXPECT_EQ(window->Selection, nullptr);  // the selection is dropped with it
    else
      EXPECT_NE(window->Selection, nullptr);
    ReleaseTower(&window->Selection);
    if (!c.deleted) DeleteEntity(item);
    ReleaseTower(&item);
  }
}

TEST_F(ItemSelectionCommands, DeleteSelectionTakesTheItemOffTheDisplayList) {
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 0, 0, 5000, 0, 100));
  Put(track);
  ASSERT_EQ(TotalItems(), 1u);
  window->Selection = DuplicateTower(track);
  EXPECT_EQ(DeleteSelection(nullptr), 1);
  EXPECT_EQ(TotalItems(), 0u);
}

TEST_F(ItemSelectionCommands, DeleteSelectionWithNothingHeldSaysSo) {
  pl3::ClearResponderRecords();
  EXPECT_EQ(DeleteSelection(nullptr), 0);
  const auto& boxes = pl3::ResponderRecords();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Internal error - Attempt to delete NULL CurrentWindowData->Selection");
  EXPECT_EQ(boxes[0].caption, "DeleteSelection");
}

TEST_F(ItemSelectionCommands, LoadShapeReplacesTheItemSelectionAndItsCopy) {
  std::uint8_t bytes[16]{};
  Tower* shape = Own(InsertEntity(design, sizeof bytes, Type_ShapeDefinition, bytes));
  EXPECT_EQ(LoadShapeIntoWindow(nullptr), 0);  // nothing held: nothing asked
  EXPECT_TRUE(gAskedKind.empty());

  window->Selection = InsertEntity(design, sizeof bytes, Type_Shape, bytes);
  window->InsertionTransform = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(LoadShapeIntoWindow(nullptr), 0);  // the chooser was cancelled
  EXPECT_EQ(gAskedKind, "shape");
  EXPECT_EQ(TowerEntity(window->Selection)->typeCode, Type_Shape);

  gShapeToLoad = shape;
  EXPECT_EQ(LoadShapeIntoWindow(nullptr), 1);
  EXPECT_EQ(TowerEntity(window->Selection), TowerEntity(shape));
  EXPECT_EQ(TowerEntity(window->RememberedShape), TowerEntity(shape));
  EXPECT_NE(window->RememberedShape, window->Selection);  // a copy of its own
  EXPECT_EQ(std::memcmp(&window->InsertionTransform, &pl3::kIdentityTransform, sizeof(pl3::Transform)), 0);
}

TEST_F(ItemSelectionCommands, ExpandSymbolWithoutItsInstanceInfoRefuses) {
  std::uint8_t bytes[16]{};
  Tower* instance = Own(InsertEntity(design, sizeof bytes, Type_SymbolInstance, bytes));
  pl3::ClearResponderRecords();
  EXPECT_EQ(ExpandSymbol(WalkAction_Draw, instance, &pl3::kIdentityTransform, nullptr), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Error - unable to locate symbol instance info");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "ExpandSymbol");
}

}  // namespace
