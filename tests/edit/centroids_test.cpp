#include "edit/centroids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "edit/edit_modes.h"
#include "objects/graphic_records.h"
#include "platform/responder.h"
#include "view_fixture.h"

namespace {

using viewtest::C;

// A PCB symbol being edited: the design is the symbol, holding one pad
// stack whose Origin is (0, 0).
class Centroids : public viewtest::DesignView {
 protected:
  void SetUp() override {
    viewtest::DesignView::SetUp();
    DeleteEntity(design);
    ReleaseTower(&design);
    design = towertest::NewTopLevelEntity(Type_SymbolDefinition);
    window->design = design;
    window->editorKind = kEditorPcbSymbol;
    window->CoordinateOrigin = {0, 0};
    window->UndoStep = NewUndoStepNumber();
    Tower* stack = InsertEntity(design, 4, Type_PadStackDefinition, "PAD");
    const std::int32_t origin[2] = {0, 0};
    Tower* o = InsertEntity(stack, sizeof origin, Type_Origin, origin);
    ReleaseTower(&o);
    stackRef = NodeRefOf(TowerEntity(stack));
    ReleaseTower(&stack);
    pl3::ClearResponderRecords();
  }
  void Pad(std::int32_t x, std::int32_t y) {
    Tower* pad = InsertEmptyEntity(design, Type_PadStackInstanceHier);
    std::uint8_t info[36] = {};
    std::memcpy(info + 8, &stackRef, 4);
    pl3::Transform t = pl3::kIdentityTransform;
    t.tx = x;
    t.ty = y;
    std::memcpy(info + 12, &t, sizeof t);
    Tower* i = InsertEntity(pad, sizeof info, Type_PadStackInfo, info);
    ReleaseTower(&i);
    ReleaseTower(&pad);
  }
  std::vector<std::string> Boxes() {
    std::vector<std::string> boxes;
    for (const pl3::ResponderRecord& r : pl3::ResponderRecords()) boxes.push_back(r.caption + ": " + r.text);
    return boxes;
  }
  std::vector<const Entity*> CentroidsStored() {
    std::vector<const Entity*> found;
    Tower* t = GetChildTower(design, Type_Centroid);
    while (const Entity* e = t ? FindNextEntity(t) : nullptr) found.push_back(e);
    ReleaseTower(&t);
    return found;
  }

  std::uint32_t stackRef = 0;
};

TEST_F(Centroids, TheCentroidIsTheTruncatedMeanOfThePadCentres) {
  Pad(C, C);
  Pad(C + 100, C + 1);
  Pad(C + 201, C + 3);
  pl3::Point p{};
  ASSERT_EQ(CentroidFromPads(&p), 1);
  EXPECT_EQ(p.x, C + 100);
  EXPECT_EQ(p.y, C + 1);
}

TEST_F(Centroids, CoordinatesAreReadAsUnsigned) {
  window->CoordinateOrigin = {1'000, -5};
  Pad(2'000'000'000, 10);
  Pad(static_cast<std::int32_t>(2'200'000'000u), 20);
  pl3::Point p{};
  ASSERT_EQ(CentroidFromPads(&p), 1);
  EXPECT_EQ(static_cast<std::uint32_t>(p.x), 2'100'000'000u);
  EXPECT_EQ(p.y, 15);
}

TEST_F(Centroids, ASymbolWithoutPadsGetsNoCentroid) {
  pl3::Point p{7, 7};
  EXPECT_EQ(CentroidFromPads(&p), 0);
  EXPECT_EQ(p.x, 7);
  AutoPlaceCentroid(view);
  EXPECT_TRUE(CentroidsStored().empty());
  EXPECT_EQ(Boxes(), (std::vector<std::string>(2, "Auto Place Centroid: No pads have placed for this symbol - "
                                                  "centroid position cannot be calculated.")));
}

TEST_F(Centroids, AutoPlaceStoresOnePointingUpAndRefusesASecond) {
  Pad(C, C);
  Pad(C + 2'000'000, C);
  const std::uint32_t step = window->UndoStep;
  AutoPlaceCentroid(view);
  std::vector<const Entity*> stored = CentroidsStored();
  ASSERT_EQ(stored.size(), 1u);
  CentroidPayload c;
  std::memcpy(&c, EntityPayload(stored[0]), sizeof c);
  EXPECT_EQ(c.position.x, C + 1'000'000);
  EXPECT_EQ(c.position.y, C);
  EXPECT_EQ(c.direction.x, 0);
  EXPECT_EQ(c.direction.y, -2 * 585'216);
  EXPECT_NE(stored[0]->flags & 0x4000, 0) << "marked as placed from the pads";
  EXPECT_EQ(window->EditMode, Mode_Idle);
  EXPECT_EQ(window->PendingRecord, nullptr);
  EXPECT_EQ(window->UndoStep, step + 1);
  EXPECT_TRUE(Boxes().empty());

  AutoPlaceCentroid(view);
  EXPECT_EQ(CentroidsStored().size(), 1u);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Auto Place Centroid: A centroid has already been placed for this "
                                               "symbol."}));
}

}  // namespace
