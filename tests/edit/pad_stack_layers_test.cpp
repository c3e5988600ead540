// The pad-stack editor's choice of a layer: the shape a layer already has is
// held with the layer's placement, a layer without one loads a shape.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "edit/edit_modes.h"
#include "edit/insertion_array.h"
#include "edit/placing_seams.h"
#include "geometry/transform.h"
#include "objects/graphic_records.h"
#include "objects/grid_sets.h"
#include "objects/placed_item_records.h"
#include "objects/symbol_seams.h"
#include "objects/window_state.h"
#include "tests/draw/display_fixture.h"

// The pad stack's layer entries as the library editor finds them, and the
// shapes the user would choose.
namespace {
Tower* g_shapeToLoad = nullptr;
std::vector<std::string> g_loads;
}  // namespace
Tower* FindPadStackLayer(const Tower* design, std::uint8_t layer) {
  Tower* entries = GetChildTower(design, Type_PadStackLayerInfo);
  while (entries && FindNextEntity(entries)) {
    if (TowerPayload(entries)[offsetof(PadStackLayerRecord, layer)] == layer) return entries;
  }
  ReleaseTower(&entries);
  return nullptr;
}
Tower* LoadAndInsertSymbolDefinition(HWND) { return nullptr; }
Tower* LoadShapeForInsertion(HWND, const Tower*, const char* kind) {
  g_loads.push_back(kind);
  return g_shapeToLoad ? DuplicateTower(g_shapeToLoad) : nullptr;
}
void ReloadShapeInsertion(const Tower*) { g_loads.push_back("reload"); }
void RotateMacroBlock(HWND, EntityRecord*, const pl3::Transform*) {}

namespace {

struct Origin {
  std::int32_t x, y;
  std::uint16_t flags, pad;
};

class PadStackLayers : public displaytest::DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    RegisterInsertionWalkHandlers();
    window->editorKind = kEditorPadStack;
    window->KindOptions = options;
    shape = Own(InsertEntity(design, 0, Type_ShapeDefinition, nullptr));
    Add(shape, Type_BoundingBox, pl3::Box{-100, -100, 100, 100});
    Add(shape, Type_Origin, Origin{10, 20, 0, 0});
    Add(shape, Type_Track, displaytest::Track(Layer_Top, -100, 0, 100, 0, 0));
    g_shapeToLoad = nullptr;
    g_loads.clear();
    pl3::ClearResponderRecords();
  }
  void TearDown() override {
    FreeInsertionArray(*window);
    ReleaseTower(&window->Selection);
    ReleaseTower(&window->RememberedShape);
    FreeGridInfo(window->Grids);
    window->Grids = nullptr;
    DisplayTest::TearDown();
  }
  Tower* AddEntry(std::uint8_t layer, std::uint32_t shapeReference, const pl3::Transform& t) {
    PadStackLayerRecord entry{};
    entry.word = 1;
    entry.layer = layer;
    entry.padKind = kPadKindPlain;
    entry.shape = shapeReference;
    entry.transform = t;
    return Add(design, Type_PadStackLayerInfo, entry);
  }
  std::uint8_t options[4] = {0xFF, 0, 0, 0};
  Tower* shape = nullptr;
};

TEST_F(PadStackLayers, ALayerWithAShapeHoldsItUnderTheLayersPlacement) {
  pl3::Transform placed = pl3::R90;
  placed.tx = 5000;
  Tower* entry = AddEntry(1, NodeRefOf(TowerEntity(shape)), placed);
  ASSERT_EQ(SelectPadStackLayer(nullptr, 1), 1);
  EXPECT_EQ(window->EditMode, Mode_PlaceShape);
  EXPECT_EQ(NodeRefOf(TowerEntity(window->Selection)), NodeRefOf(TowerEntity(shape)));
  EXPECT_NE(TowerEntity(entry)->flags & kEntitySelected, 0);
  EXPECT_EQ(window->InsertionTransform.a, pl3::R90.a);
  pl3::Point origin = window->InsertionOrigin;  // the shape's origin lands under the cursor
  pl3::TransformPoint(&window->InsertionTransform, origin.x, origin.y);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  EXPECT_EQ(window->OverrideLayer, 1);
  EXPECT_NE(window->StateFlags & kStateLayerOverride, 0u);
  EXPECT_EQ(window->RoutingLayer, 1);
  ASSERT_EQ(window->InsertionCount, 1u);
  // The record stays in the shape's frame: the ghost turns it once, by
  // InsertionTransform, not twice.
  EntityRecord& record = *static_cast<EntityRecord*>(window->Insertion[0]);
  EXPECT_EQ(std::memcmp(&record.header.transform, &pl3::kIdentityTransform, sizeof(pl3::Transform)), 0);
  const auto& track = record.as<LinePayload>();
  EXPECT_EQ(track.x1, -100);
  EXPECT_EQ(track.y1, 0);
  EXPECT_EQ(track.x2, 100);
  EXPECT_NE(window->ViewFlags & 0x4, 0u);
  EXPECT_EQ(options[0], 0xFF);
  EXPECT_TRUE(g_loads.empty());
}

TEST_F(PadStackLayers, ALayerWhoseShapeIsGoneIsRefusedWithItsMessage) {
  AddEntry(1, 0, pl3::kIdentityTransform);
  EXPECT_EQ(SelectPadStackLayer(nullptr, 1), 0);
  EXPECT_EQ(window->Selection, nullptr);
  EXPECT_EQ(window->EditMode, 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Unable to retrieve ShapeDef!");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "SelectLayer");
}

TEST_F(PadStackLayers, ALayerWithoutShapeLoadsOneOnceAndTheInnerEntryClearsTheFirstOption) {
  g_shapeToLoad = shape;
  ASSERT_EQ(SelectPadStackLayer(nullptr, 2), 1);
  EXPECT_EQ(window->EditMode, Mode_AddNewShape);
  EXPECT_EQ(g_loads, (std::vector<std::string>{"shape"}));
  EXPECT_EQ(options[0], 0xFE);
  EXPECT_NE(window->RememberedShape, nullptr);
  options[0] = 0xFF;
  ASSERT_EQ(SelectPadStackLayer(nullptr, 5), 1);  // the remembered shape, reloaded
  EXPECT_EQ(g_loads, (std::vector<std::string>{"shape", "reload"}));
  EXPECT_EQ(options[0], 0xFF);
  EXPECT_EQ(window->RoutingLayer, 5);

  ReleaseTower(&window->RememberedShape);
  g_shapeToLoad = nullptr;
  EXPECT_EQ(SelectPadStackLayer(nullptr, 6), 0);  // nothing chosen
}

}  // namespace
