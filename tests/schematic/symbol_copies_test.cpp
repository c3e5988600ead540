#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "edit/insertion_array.h"
#include "edit/schematic_copy_seams.h"
#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "store/scratch_entity.h"
#include "store/tower.h"
#include "tests/store/tower_test_support.h"

namespace {

constexpr std::uint16_t kTypeSchematicRecord = 25;
constexpr std::uint16_t kTypeSchematicSymbol = 30;

struct Origin {
  std::int32_t x, y;
  std::uint16_t flags, pad;
};

template <typename T>
void Add(const Tower* parent, std::uint16_t code, const T& payload) {
  Tower* t = InsertEntity(parent, sizeof payload, code, &payload);
  ReleaseTower(&t);
}

// A schematic whose symbol record has its origin at (1000, 2000), and a
// symbol of it turned a quarter and moved to (50000, 60000).
class SchematicSymbolCopies : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    design = towertest::NewTopLevelEntity(Type_Schematic);
    window.design = design;
    ActiveWindowData = &window;
    Tower* record = InsertEmptyEntity(design, kTypeSchematicRecord);
    Add(record, Type_Origin, Origin{1000, 2000, 0, 0});
    symbol = InsertEmptyEntity(design, kTypeSchematicSymbol);
    const std::uint32_t link[2] = {0, NodeRefOf(TowerEntity(record))};
    Add(symbol, Type_SchematicSymbol, link);
    pl3::Transform placement = pl3::R90;
    placement.tx = 50000;
    placement.ty = 60000;
    Add(symbol, Type_Transform, placement);
    ReleaseTower(&record);
    pl3::ClearResponderRecords();
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    ReleaseTower(&symbol);
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  // Where the copy's transform puts the record's origin.
  static pl3::Point OriginThrough(const Tower* copy) {
    pl3::Point p{1000, 2000};
    pl3::TransformPoint(static_cast<const pl3::Transform*>(GetEntityData(copy, Type_Transform)), p.x, p.y);
    return p;
  }
  CurrentWindowData window{kEditorSchematic};
  Tower* design = nullptr;
  Tower* symbol = nullptr;
};

TEST_F(SchematicSymbolCopies, APlacedCopyPutsTheOriginAtThePointLessTheCursorOffset) {
  window.CursorOffset = {30, 40};
  Tower* copy = CopySymbolToInsertionAt(symbol, {7000, 9000});
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(OriginThrough(copy).x, 6970);
  EXPECT_EQ(OriginThrough(copy).y, 8960);
  EXPECT_EQ(GetEntityData(copy, Type_Offset), nullptr);
  // The copy is turned as the symbol is.
  const auto* t = static_cast<const pl3::Transform*>(GetEntityData(copy, Type_Transform));
  EXPECT_EQ(std::make_tuple(t->a, t->b, t->c, t->d), std::make_tuple(pl3::R90.a, pl3::R90.b, pl3::R90.c, pl3::R90.d));
  ReleaseTower(&copy);
}

TEST_F(SchematicSymbolCopies, ASelectedCopyHasItsOriginAtZeroAndItsGrabOffsetFromTheBlockOrigin) {
  SelectionInfo selection{};
  selection.grabPoint = {500, 700};
  Tower* copy = CopySelectedSymbolToInsertion(symbol, &selection);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(OriginThrough(copy).x, 0);
  EXPECT_EQ(OriginThrough(copy).y, 0);
  EXPECT_EQ(GetEntityData(copy, Type_Offset), nullptr);  // no block origin
  ReleaseTower(&copy);
  window.BlockOrigin = {100, 100};
  copy = CopySelectedSymbolToInsertion(symbol, &selection);
  const auto* offset = static_cast<const std::int32_t*>(GetEntityData(copy, Type_Offset));
  ASSERT_NE(offset, nullptr);
  EXPECT_EQ(offset[0], 400);
  EXPECT_EQ(offset[1], 600);
  ReleaseTower(&copy);
}

TEST_F(SchematicSymbolCopies, NoSymbolOrNoTransformIsReported) {
  EXPECT_EQ(CopySymbolToInsertionAt(nullptr, {0, 0}), nullptr);
  DeleteChildEntities(symbol, Type_Transform);
  EXPECT_EQ(CopySelectedSymbolToInsertion(symbol, nullptr), nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 2u);
  for (const auto& r : pl3::ResponderRecords()) {
    EXPECT_EQ(r.text, "Error retrieving transform");
    EXPECT_EQ(r.caption, "CopySymbolToInsertion");
  }
}

}  // namespace
