#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "edit/engine_seams.h"
#include "edit/track_tools.h"
#include "edit/window_data.h"
#include "objects/entity_record.h"
#include "objects/frame_seams.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "tests/store/tower_test_support.h"

namespace {

constexpr std::int32_t C = 1'000'000'000;

// A PCB window over a design with one symbol definition: a pad stack whose
// Origin is (0, 0) and whose box is 20,000 across, and pads placed in the
// definition; the symbol is placed with a translation.
class PadCentre : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorPcb;
    window->Zoom = 1000;
    design = towertest::NewTopLevelEntity(Type_PCB);
    window->design = design;
    ActiveWindowData = window.get();
    definition = InsertEntity(design, 8, Type_SymbolDefinition, std::vector<std::uint8_t>(8).data());
    Tower* stack = InsertEntity(definition, 4, Type_PadStackDefinition, "PAD");
    const std::int32_t origin[2] = {0, 0};
    Tower* o = InsertEntity(stack, sizeof origin, Type_Origin, origin);
    const pl3::Box box{-10'000, -10'000, 10'000, 10'000};
    Tower* b = InsertEntity(stack, sizeof box, Type_BoundingBox, &box);
    stackRef = NodeRefOf(TowerEntity(stack));
    for (Tower** t : {&o, &b, &stack}) ReleaseTower(t);
  }
  void TearDown() override {
    window->design = design;
    ReleaseTower(&definition);
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  void Pad(const Tower* owner, std::int32_t x, std::int32_t y) {
    Tower* pad = InsertEmptyEntity(owner, Type_PadStackInstanceHier);
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
  void Place(std::int32_t x, std::int32_t y) {
    Tower* instance = InsertEntity(design, 4, Type_SymbolInstance, "\0\0\0");
    const std::uint32_t info[2] = {0, NodeRefOf(TowerEntity(definition))};
    Tower* i = InsertEntity(instance, sizeof info, Type_SymbolInstanceInfo, info);
    pl3::Transform t = pl3::kIdentityTransform;
    t.tx = x;
    t.ty = y;
    Tower* tt = InsertEntity(instance, sizeof t, Type_Transform, &t);
    for (Tower** p : {&i, &tt, &instance}) ReleaseTower(p);
  }
  // The symbol editor: the window shows the definition itself.
  void EditSymbol() {
    window->editorKind = kEditorPcbSymbol;
    window->design = definition;
  }
  pl3::Point Goto(pl3::Point cursor, int* found) {
    window->Cursor = cursor;
    *found = GotoPadCentre(nullptr, &window->Button);
    return window->Cursor;
  }

  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
  Tower* definition = nullptr;
  std::uint32_t stackRef = 0;
};

TEST_F(PadCentre, ThePadsOfPlacedSymbolsAreFoundWhereTheyArePlaced) {
  Pad(definition, 0, 0);
  Pad(definition, 100'000, 0);
  Place(C, C);
  int found = 0;
  const pl3::Point at = Goto({C + 90'000, C + 3'000}, &found);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(at.x, C + 100'000);
  EXPECT_EQ(at.y, C);
}

TEST_F(PadCentre, AnEqualDistanceKeepsTheFirstPadFound) {
  EditSymbol();
  Pad(definition, C + 100'000, C);
  Pad(definition, C - 100'000, C);
  Pad(definition, C, C + 100'000);  // stored last, so met first: newest first
  int found = 0;
  const pl3::Point at = Goto({C, C}, &found);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(at.x, C);
  EXPECT_EQ(at.y, C + 100'000);
}

TEST_F(PadCentre, NoPadWithinTheLimitLeavesTheCursor) {
  EditSymbol();
  int found = 1;
  EXPECT_EQ(Goto({C, C}, &found).x, C);
  EXPECT_EQ(found, 0);
  Pad(definition, C + 1'700'000, C);  // 1,690 pixels from the cursor after the pad's radius
  EXPECT_EQ(Goto({C, C}, &found).x, C);
  EXPECT_EQ(found, 0);
  Pad(definition, C + 1'605'000, C);  // 1,595 pixels: the radius brings it within
  EXPECT_EQ(Goto({C, C}, &found).x, C + 1'605'000);
  EXPECT_EQ(found, 1);
}

TEST_F(PadCentre, InsertingATrackFromAPadBeginsAtItsCentreAndOnNothingBeeps) {
  EditSymbol();
  int beeps = pl3::BeepCount();
  window->Cursor = {C, C};
  InsertTrackFromPad(nullptr, &window->Button, &window->PendingRecord);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(window->PendingRecord, nullptr);
  Pad(definition, C + 30'000, C - 20'000);
  InsertTrackFromPad(nullptr, &window->Button, &window->PendingRecord);
  ASSERT_NE(window->PendingRecord, nullptr);
  EXPECT_EQ(window->Cursor.x, C + 30'000);
  EXPECT_EQ(window->Cursor.y, C - 20'000);
  delete window->PendingRecord;
  window->PendingRecord = nullptr;
}

}  // namespace
