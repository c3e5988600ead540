#include "edit/item_boxes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "app/settings_block.h"
#include "objects/graphic_records.h"
#include "objects/info_boxes.h"
#include "objects/text_item_services.h"

#include "draw/raster_callbacks.h"
#include "objects/placed_item_records.h"
#include "platform/responder.h"
#include "tests/geometry/raster_fixture.h"
#include "tests/draw/display_fixture.h"

namespace {

using displaytest::Track;

pl3::Transform Shift(std::int32_t tx, std::int32_t ty) {
  pl3::Transform t = pl3::kIdentityTransform;
  t.tx = tx;
  t.ty = ty;
  return t;
}
std::uint32_t RefOf(const Tower* t) { return NodeRefOf(TowerEntity(t)); }
struct Origin {
  std::int32_t x, y;
  std::uint16_t flags, pad;
};

void ExpectBox(const pl3::Box& got, const pl3::Box& want) {
  EXPECT_EQ(got.xmin, want.xmin);
  EXPECT_EQ(got.ymin, want.ymin);
  EXPECT_EQ(got.xmax, want.xmax);
  EXPECT_EQ(got.ymax, want.ymax);
}

// A symbol definition whose stored box is {-1000, -2000, 3000, 4000}, with its origin at (500, 600).
class ItemBoxes : public displaytest::DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    definition = Own(InsertEntity(design, 0, Type_SymbolDefinition, nullptr));
    Add(definition, Type_BoundingBox, pl3::Box{-1000, -2000, 3000, 4000});
    Add(definition, Type_Origin, Origin{500, 600, 0, 0});
    pl3::ClearResponderRecords();
  }
  Tower* Instance(bool withTransform) {
    Tower* instance = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));
    const std::uint32_t info[2] = {0, RefOf(definition)};
    Add(instance, Type_SymbolInstanceInfo, info);
    if (withTransform) Add(instance, Type_Transform, Shift(100000, 200000));
    return instance;
  }
  Tower* definition = nullptr;
};

TEST_F(ItemBoxes, SymbolInstanceBoxIsItsDefinitionsPlacedAndUnitedWithItsBoxedDesignatorCopies) {
  Tower* placed = Instance(true);
  pl3::Box box{};
  ASSERT_EQ(GetBox(placed, &box), 1);
  ExpectBox(box, {99000, 198000, 103000, 204000});
  Tower* copy = Own(InsertEntity(placed, 0, Type_DesignatorData, nullptr));
  ASSERT_EQ(GetBox(placed, &box), 1);
  ExpectBox(box, {99000, 198000, 103000, 204000});  // a copy without a box adds nothing
  Add(copy, Type_BoundingBox, pl3::Box{0, 0, 10000, 100});
  ASSERT_EQ(GetBox(placed, &box), 1);
  ExpectBox(box, {99000, 198000, 110000, 204000});
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(ItemBoxes, SymbolInstanceWithoutTransformReportsAndKeepsTheDefinitionsBox) {
  // Errors of severity 1 shown, as the settings' error mask may ask.
  auto settings = std::make_unique<SettingsBlock>();
  settings->errorMask = 1;
  SettingsBlock* const saved = Settings;
  Settings = settings.get();
  pl3::Box box{};
  const int found = GetBox(Instance(false), &box);
  Settings = saved;
  ASSERT_EQ(found, 1);
  ExpectBox(box, {-1000, -2000, 3000, 4000});
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Unable to Retrieve transform");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "GetBox - Type_SymbolInstance");
}

TEST_F(ItemBoxes, StoredBoxesOffsetsAndItemsWithoutABox) {
  pl3::Box box{1, 2, 3, 4};
  ASSERT_EQ(GetBox(definition, &box), 1);
  ExpectBox(box, {-1000, -2000, 3000, 4000});
  Tower* bare = Own(InsertEntity(design, 0, Type_ShapeDefinition, nullptr));
  box = {1, 2, 3, 4};
  EXPECT_EQ(GetBox(bare, &box), 0);
  Tower* copy = Own(InsertEntity(design, 0, Type_DesignatorData, nullptr));
  EXPECT_EQ(GetBox(copy, &box), 0);
  Add(copy, Type_BoundingBox, pl3::Box{0, 0, 100, 50});
  Add(copy, Type_Offset, pl3::Point{1000, 2000});
  ASSERT_EQ(GetBox(copy, &box), 1);
  ExpectBox(box, {1000, 2000, 1100, 2050});
  Add(copy, Type_Transform, Shift(5, 7));
  ASSERT_EQ(GetBox(copy, &box), 1);
  ExpectBox(box, {1005, 2007, 1105, 2057});
  EXPECT_EQ(GetBox(Own(InsertEntity(design, 0, Type_Transform, nullptr)), &box), 0);
  EXPECT_EQ(GetBox(nullptr, &box), 0);
}

TEST_F(ItemBoxes, TheBoxTestCountsTouchingEdgesAndRefusesItemsWithoutABox) {
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 1000000, 1000000, 2000000, 1000000, 0));
  pl3::Box own{};
  ASSERT_EQ(GetBox(track, &own), 1);
  struct Case {
    const char* name;
    pl3::Box box;
    int meets;
  } cases[] = {
      {"overlapping", {own.xmin + 10, own.ymin, own.xmax - 10, own.ymax}, 1},
      {"touching on the left", {own.xmin - 500, own.ymin, own.xmin, own.ymax}, 1},
      {"touching below", {own.xmin, own.ymax, own.xmax, own.ymax + 500}, 1},
      {"left of it", {own.xmin - 500, own.ymin, own.xmin - 1, own.ymax}, 0},
      {"right of it", {own.xmax + 1, own.ymin, own.xmax + 500, own.ymax}, 0},
      {"above it", {own.xmin, own.ymin - 500, own.xmax, own.ymin - 1}, 0},
      {"below it", {own.xmin, own.ymax + 1, own.xmax, own.ymax + 500}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TestBoundingBox(track, &c.box, nullptr), c.meets);
  }
  const pl3::Transform moved = Shift(10000000, 0);
  EXPECT_EQ(TestBoundingBox(track, &cases[0].box, &moved), 0) << "the item's box is tested where the transform puts it";
  EXPECT_EQ(TestBoundingBox(track, nullptr, nullptr), 1);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  Tower* boxless = Own(InsertEntity(design, 0, Type_Transform, nullptr));
  EXPECT_EQ(TestBoundingBox(boxless, &cases[0].box, nullptr), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Error - NULL Box");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "TestBoundingBox");
}

TEST_F(ItemBoxes, OriginsOfDefinitionsAndTheirInstances) {
  for (const Tower* item : {static_cast<const Tower*>(definition), static_cast<const Tower*>(Instance(true))}) {
    OriginRecord* origin = GetItemOrigin(item);
    ASSERT_NE(origin, nullptr);
    EXPECT_EQ(origin->x, 500);
    EXPECT_EQ(origin->y, 600);
    std::free(origin);
  }
  EXPECT_EQ(GetItemOrigin(Add(design, Type_Track, Track(Layer_Top, 0, 0, 1, 1, 0))), nullptr);
}

TEST_F(ItemBoxes, ContentsBoxUnitesTheChildrenAndTheDesignatorOnlyWhenAsked) {
  Tower* symbol = Own(InsertEntity(design, 0, Type_SymbolDefinition, nullptr));
  Add(symbol, Type_Track, Track(Layer_Top, 1000, 1000, 5000, 1000, 0));
  Add(symbol, Type_Track, Track(Layer_Top, 3000, 8000, 4000, 9000, 0));
  Tower* designator = Own(InsertEntity(symbol, 0, Type_Designator, nullptr));
  Tower* copy = Own(InsertEntity(designator, 0, Type_DesignatorData, nullptr));
  Add(copy, Type_BoundingBox, pl3::Box{2000000, 2000000, 3000000, 2500000});
  pl3::Box track{};
  GetBox(Add(design, Type_Track, Track(Layer_Top, 1000, 1000, 5000, 1000, 0)), &track);
  pl3::Box box{};
  GetItemContentsBox(symbol, 0, &pl3::kIdentityTransform, &box);
  EXPECT_EQ(box.xmin, track.xmin);
  EXPECT_EQ(box.ymin, track.ymin);
  EXPECT_GE(box.ymax, 9000);
  EXPECT_LT(box.xmax, 2000000);
  GetItemContentsBox(symbol, 1, &pl3::kIdentityTransform, &box);
  EXPECT_EQ(box.xmax, 3000000);
  EXPECT_EQ(box.ymax, 2500000);
  Tower* empty = Own(InsertEntity(design, 0, Type_SymbolDefinition, nullptr));
  GetItemContentsBox(empty, 1, &pl3::kIdentityTransform, &box);
  ExpectBox(box, {-1, -1, 0, 0});
}

TEST_F(ItemBoxes, OriginWithinTheStoredContentsBox) {
  Tower* symbol = Own(InsertEntity(design, 0, Type_SymbolDefinition, nullptr));
  Add(symbol, Type_Track, Track(Layer_Top, 1000, 1000, 5000, 3000, 0));
  window->CoordinateOrigin = {2000, 2000};
  EXPECT_EQ(OriginWithinBox(symbol), 1);
  window->ViewFlags = 0;
  window->CoordinateOrigin = {900000, 2000};
  EXPECT_EQ(OriginWithinBox(symbol), 0);
  window->CoordinateOrigin = {2000, 2000};
  EXPECT_EQ(OriginWithinBox(symbol), 0) << "the origin is stored once per window";
}

// A library item's origin probed at zoom 500: a hole, or the pad-stack entry
// of layer 1, drawn on the origin's pixel counts; other layers, items beside
// the origin and an item without an origin do not.
TEST_F(ItemBoxes, OriginTouchesAHoleOrATopLayerPadEntry) {
  window->editorKind = kEditorPadStack;
  window->Zoom = 1000;
  window->ViewOriginX = 7;
  window->ViewOriginY = 9;
  geomtest::Plane plane(64, 64);
  UpdateViewGlobals();
  Tower* stack = towertest::NewTopLevelEntity(Type_PadStackDefinition);
  window->design = stack;
  Tower* shape = Own(InsertEntity(stack, 0, Type_ShapeDefinition, nullptr));
  Add(shape, Type_Origin, Origin{0, 0, 0, 0});
  Add(shape, Type_Track, Track(Layer_Top, -40000, 0, 40000, 0, 20000));
  auto entry = [&](std::uint8_t layer) {
    PadStackLayerRecord e{};
    e.word = 1;
    e.layer = layer;
    e.padKind = kPadKindPlain;
    e.shape = RefOf(shape);
    e.transform = Shift(300000000, 300000000);
    return Own(Add(stack, Type_PadStackLayerInfo, e));
  };
  Add(stack, Type_Origin, Origin{300000000, 300000000, 0, 0});
  window->ViewFlags |= 0x2;  // the origin is the design's own
  EXPECT_EQ(OriginTouchesTopOrBottom(stack), 0) << "nothing drawn yet";
  Tower* inner = entry(2);
  EXPECT_EQ(OriginTouchesTopOrBottom(stack), 0) << "an inner-layer pad";
  Tower* top = entry(1);
  EXPECT_EQ(OriginTouchesTopOrBottom(stack), 1);
  EXPECT_EQ(window->Zoom, 1000u);
  EXPECT_EQ(window->ViewOriginX, 7);
  EXPECT_EQ(window->ViewOriginY, 9);
  EXPECT_EQ(pl3::PickList(), nullptr);
  DeleteEntity(top);
  DeleteEntity(inner);
  Add(stack, Type_Hole, displaytest::Hole(300800000, 300000000, 40000, 80000, kHolePlated));
  EXPECT_EQ(OriginTouchesTopOrBottom(stack), 0) << "a hole beside the origin";
  Add(stack, Type_Hole, displaytest::Hole(300000000, 300000000, 40000, 80000, kHolePlated));
  EXPECT_EQ(OriginTouchesTopOrBottom(stack), 1);
  Tower* bare = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));
  pl3::ClearResponderRecords();
  EXPECT_EQ(OriginTouchesTopOrBottom(bare), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Error - Couldn't locate Origin");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "OriginTouchesTopOrBottom");
  pl3::g_raster.view = nullptr;
  window->design = design;
  DeleteEntity(stack);
  ReleaseTower(&stack);
}

TEST_F(ItemBoxes, MarkerBoxTakesItsLabelAndPointsGrownByTheLabelsMargin) {
  const std::int32_t margin = kInfoBoxLabelSize * kInfoBoxLabelMarginPerSize;
  Tower* labelled = Own(CreateInfoBox(design, "Clearance", 1));
  AddInfoBoxPoint(labelled, 300000000, 290000000);
  AddInfoBoxPoint(labelled, 320000000, 300000000);
  PlaceInfoBoxLabel(labelled);
  pl3::Box whole{};  // label grown by its margin, points not
  ASSERT_EQ(GetInfoBoxBox(labelled, &whole), 1);
  pl3::Box box{};
  ASSERT_EQ(GetBox(labelled, &box), 1);
  // The label stands up and right of the points, so the low corner is a point's, grown.
  ExpectBox(box, {300000000 - margin, 290000000 - margin, std::max(320000000 + margin, whole.xmax),
                  std::max(300000000 + margin, whole.ymax)});

  Tower* bare = Own(CreateInfoBox(design, "Short", 1));
  AddInfoBoxPoint(bare, 10, 20);
  AddInfoBoxPoint(bare, -5, 40);
  ASSERT_EQ(GetBox(bare, &box), 1);
  ExpectBox(box, {-5, 20, 10, 40});  // no label, no margin

  Tower* empty = Own(CreateInfoBox(design, "Empty", 1));
  box = {1, 2, 3, 4};
  EXPECT_EQ(GetBox(empty, &box), 0);
  ExpectBox(box, {1, 2, 3, 4});
}

// An earlier-generation symbol (163) linked to a definition (162) boxed {0, 0, 1000, 2000}.
TEST_F(ItemBoxes, EarlierGenerationSymbolTakesItsDefinitionsBoxElseItsOwn) {
  Tower* pl2Definition = Own(InsertEntity(design, 0, 162, nullptr));
  Add(pl2Definition, Type_BoundingBox, pl3::Box{0, 0, 1000, 2000});
  struct Case {
    const char* name;
    bool linked, mirrored, ownBox;
    int found;
    pl3::Box want;
  };
  const Case cases[] = {
      {"definition", true, false, true, 1, {100300, 200400, 101300, 202400}},
      {"mirrored definition", true, true, true, 1, {99300, 200400, 100300, 202400}},
      {"definition gone, own box", false, false, true, 1, {100300, 200400, 100310, 200410}},
      {"definition gone, no box", false, false, false, 0, {7, 7, 7, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tower* symbol = Own(InsertEntity(design, 0, 163, nullptr));
    const std::uint8_t flags = c.mirrored ? 0x2 : 0;
    const std::uint32_t reference = c.linked ? RefOf(pl2Definition) : 0xFFFFFF0u;
    std::uint8_t link[8] = {};
    std::memcpy(link, &reference, 4);
    link[4] = flags;
    Add(symbol, 164, link);
    Add(symbol, Type_Transform, Shift(100000, 200000));
    Add(symbol, Type_Origin, Origin{300, 400, 0, 0});
    if (c.ownBox) Add(symbol, Type_BoundingBox, pl3::Box{0, 0, 10, 10});
    pl3::Box box{7, 7, 7, 7};
    EXPECT_EQ(GetBox(symbol, &box), c.found);
    ExpectBox(box, c.want);
  }
}

}  // namespace

namespace {

// A schematic symbol (30) whose link (32) names a record (25) holding one line, placed by a shift.
class SchematicReach : public ItemBoxes {
 protected:
  void SetUp() override {
    ItemBoxes::SetUp();
    window->editorKind = kEditorSchematic;
    Tower* record = Own(InsertEntity(design, 0, 25, nullptr));
    Add(record, Type_Track, Track(1, 0, 0, 10000000, 0, 0));
    symbol = Own(InsertEntity(design, 0, 30, nullptr));
    std::uint32_t link[2] = {0, RefOf(record)};
    Add(symbol, Type_SchematicSymbol, link);
    Add(symbol, Type_Transform, Shift(50000000, 60000000));
    locator = Own(InsertEntity(symbol, 0, Type_AttributeLocator, nullptr));
    selection.flags = kSelectionPrimary;
    selection.original = locator;
  }
  Tower* symbol = nullptr;
  Tower* locator = nullptr;
  SelectionInfo selection{};
};

TEST_F(SchematicReach, ALocatorStopsFollowingOneInchFromItsSymbolsBody) {
  pl3::Box body{};
  ASSERT_EQ(GetSchematicSymbolBodyBox(symbol, &body), 1);
  EXPECT_GE(body.xmin, 49000000);
  EXPECT_LE(body.xmin, 50000000);
  EXPECT_GE(body.xmax, 60000000);
  const std::int32_t y = (body.ymin + body.ymax) / 2;
  const std::int32_t reach = static_cast<std::int32_t>(kLocatorReach);
  EXPECT_EQ(LocatorWithinReach(&selection, {body.xmax + reach - 100000, y}), 1);
  EXPECT_EQ(LocatorWithinReach(&selection, {body.xmax + reach + 100000, y}), 0);
  EXPECT_EQ(LocatorWithinReach(&selection, {body.xmin - reach - 100000, y}), 0);
  SelectionInfo second = selection;
  selection.next = &second;
  EXPECT_EQ(LocatorWithinReach(&selection, {body.xmax + reach + 100000, y}), 1) << "only one primary is held back";
  selection.next = nullptr;
  selection.original = symbol;
  EXPECT_EQ(LocatorWithinReach(&selection, {body.xmax + reach + 100000, y}), 1) << "only locators are held back";
}

}  // namespace

namespace {

// A stored text record at (x, y); empty when the text cannot be built.
std::vector<std::uint8_t> TextRecord(const char* text, std::int32_t x, std::int32_t y) {
  const pl3::Transform at = Shift(x, y);
  TextPayload* item = CreateTextItemEx(text, 1000000, 1, &at, 0, 0);
  if (!item) return {};
  const std::uint32_t length = static_cast<std::uint32_t>(std::strlen(item->text));
  std::vector<std::uint8_t> record(TextStoredSize(length), 0);
  std::memcpy(record.data(), item, offsetof(TextPayload, text) + length);
  std::free(item);
  return record;
}

TEST_F(SchematicReach, SchematicSymbolBoxUnitesItsTextsPlacedAndMirroredAsTheSymbol) {
  for (const bool mirrored : {false, true}) {
    SCOPED_TRACE(mirrored ? "mirrored" : "plain");
    Tower* record = Own(InsertEntity(design, 0, 25, nullptr));
    Add(record, Type_BoundingBox, pl3::Box{1000000, -100, 10000000, 100});
    Tower* placed = Own(InsertEntity(design, 0, 30, nullptr));
    std::uint32_t link[2] = {mirrored ? 1u : 0u, RefOf(record)};
    Add(placed, Type_SchematicSymbol, link);
    Add(placed, Type_Transform, Shift(50000000, 60000000));
    pl3::Box body{};
    ASSERT_EQ(GetBox(placed, &body), 1);
    ExpectBox(body, mirrored ? pl3::Box{40000000, 59999900, 49000000, 60000100}
                             : pl3::Box{51000000, 59999900, 60000000, 60000100});
    // A text far above the body, in the symbol's frame.
    const std::vector<std::uint8_t> stored = TextRecord("REF", 30000000, 20000000);
    ASSERT_FALSE(stored.empty());
    Tower* text = AddBytes(placed, Type_Text, stored);
    pl3::Box local{};
    ASSERT_EQ(GetBox(text, &local), 1);
    ASSERT_GT(local.ymax, 20000000);
    pl3::Box want = local;
    if (mirrored) want = {-local.xmax, local.ymin, -local.xmin, local.ymax};
    want = {want.xmin + 50000000, want.ymin + 60000000, want.xmax + 50000000, want.ymax + 60000000};
    want = {std::min(want.xmin, body.xmin), std::min(want.ymin, body.ymin), std::max(want.xmax, body.xmax),
            std::max(want.ymax, body.ymax)};
    pl3::Box box{};
    ASSERT_EQ(GetBox(placed, &box), 1);
    ExpectBox(box, want);
    EXPECT_GT(box.ymax, body.ymax);
  }
}

}  // namespace
