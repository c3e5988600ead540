#include "edit/via_insertion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "draw/display_list.h"
#include "edit/insertion.h"
#include "objects/entity_record.h"
#include "objects/size_table.h"
#include "view_fixture.h"

namespace {

using viewtest::C;

class ViaInsertion : public viewtest::DesignView {
 protected:
  void SetUp() override {
    viewtest::DesignView::SetUp();
    sizes = NewSizeTable();
    SizeEntry via{};
    via.flags = 1;
    via.value1 = 300'000;
    via.value2 = 150'000;
    std::strcpy(via.name, "V1");
    (*sizes)[SizeKind_Vias].entries.push_back(via);
    via.value1 = 400'000;
    std::strcpy(via.name, "V2");
    (*sizes)[SizeKind_Vias].entries.push_back(via);
    (*sizes)[SizeKind_Holes].entries.push_back(via);
    (*sizes)[SizeKind_Holes].entries.push_back(via);
    window->sizeTable = sizes.get();
    window->TopLayer = 1;
    window->BottomLayer = 32;
    display.lists[DisplayList_Holes] = &node;
    node.item = &drill.head;
    drill.record.hole.centreX = C + 500'000;
    drill.record.hole.centreY = C;
    window->Display = &display;
  }
  void TearDown() override {
    window->sizeTable = nullptr;
    window->Display = nullptr;
    viewtest::DesignView::TearDown();
  }
  std::size_t Holes() {
    std::size_t n = 0;
    Tower* holes = GetChildTower(design, Type_Hole);
    while (holes && FindNextEntity(holes)) ++n;
    ReleaseTower(&holes);
    return n;
  }

  // A pending via (or hole) of size entry 1 at the point.
  EntityRecord* PendingHole(pl3::Point at, bool via, bool indexed = true) {
    delete window->PendingRecord;
    EntityRecord* r = NewEntityRecord().release();
    InitialiseEntityRecord(r, Type_Hole, &pl3::kIdentityTransform, 1);
    auto& h = r->as<HolePayload>();
    h.hole.head.sizeFlags = indexed ? kSizeByIndex : 0;
    h.hole.head.sizeIndex = 1;
    h.hole.flags = via ? kHoleIsVia : 0;
    h.hole.centreX = at.x;
    h.hole.centreY = at.y;
    window->PendingRecord = r;
    window->EditMode = 20;
    return r;
  }

  std::unique_ptr<SizeTable> sizes;
  DisplayList display{};
  DisplayNode node{};
  HoleItem drill{};
};

TEST_F(ViaInsertion, AViaSpansTheBoardWithTheRoutingLayerMapInOneUndoStep) {
  const std::uint32_t step = window->UndoStep;
  Tower* via = InsertViaAtPoint({C, C + 7});
  ASSERT_NE(via, nullptr);
  const Entity* e = TowerEntity(via);
  ASSERT_GE(e->payloadSize, 604u);
  HolePayload h;
  std::memcpy(&h, EntityPayload(e), sizeof h);
  EXPECT_EQ(h.hole.head.layer, 1);
  EXPECT_EQ(h.hole.style, 32) << "the bottom layer";
  EXPECT_NE(h.hole.flags & kHoleIsVia, 0);
  EXPECT_EQ(h.hole.centreX, C);
  EXPECT_EQ(h.hole.centreY, C + 7);
  struct Case {
    std::uint32_t layer;
    std::uint16_t flag;
  };
  for (const Case& c : std::vector<Case>{{0, 0}, {1, 1}, {32, 1}, {33, 0}, {37, 0}, {38, 1}, {72, 1}, {255, 1}}) {
    std::uint16_t v = 9;
    std::memcpy(&v, EntityPayload(e) + kHoleLayerTableOffset + 2 * c.layer, 2);
    EXPECT_EQ(v, c.flag) << c.layer;
  }
  ReleaseTower(&via);
  EXPECT_EQ(window->UndoStep, step + 1);
  Tower* caption = FindUndoStepCaption(step);
  ASSERT_NE(caption, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(TowerPayload(caption)), "Insert Via");
  ReleaseTower(&caption);
  EXPECT_EQ(enginefakes::CallsStartingWith("put").size(), 1u);
  EXPECT_NE(GetEntityData(design, Type_ModifiedNote), nullptr) << "closing the board asks to save the via";
  UndoLastStep();
  EXPECT_EQ(Holes(), 0u);
}

TEST_F(ViaInsertion, AViaOnAPadOrWithoutASizeIsNotPlacedAndOpensNoStep) {
  const std::uint32_t step = window->UndoStep;
  EXPECT_EQ(InsertViaAtPoint({C + 500'000, C}), nullptr) << "the drill of a pad stands there";
  (*sizes)[SizeKind_Vias].entries.clear();
  EXPECT_EQ(InsertViaAtPoint({C, C}), nullptr);
  EXPECT_EQ(Holes(), 0u);
  EXPECT_EQ(window->UndoStep, step);
  EXPECT_TRUE(enginefakes::CallsStartingWith("put").empty());
  EXPECT_EQ(GetEntityData(design, Type_ModifiedNote), nullptr);
}

TEST_F(ViaInsertion, OutsideAPcbTheDesignsOwnHolesCount) {
  window->editorKind = kEditorPcbSymbol;
  HolePayload hole{};
  hole.hole.centreX = C + 100;
  hole.hole.centreY = C;
  Tower* stored = InsertEntity(design, sizeof hole, Type_Hole, &hole);
  ReleaseTower(&stored);
  EXPECT_EQ(IsHoleOnPad(&hole), 1);
  hole.hole.centreX = C + 500'000;  // the PCB window's display list is not asked
  EXPECT_EQ(IsHoleOnPad(&hole), 0);
  hole.hole.centreX = C + 101;
  EXPECT_EQ(IsHoleOnPad(&hole), 0);
}

TEST_F(ViaInsertion, AStoredViaOrHoleSetsItsListsDefaultAndEndsTheTool) {
  for (bool via : {true, false}) {
    PendingHole({via ? C : C + 1'000'000, C}, via);
    EXPECT_EQ(StoreViaOrHole(&window->PendingRecord), 1);
    EXPECT_EQ(window->PendingRecord, nullptr);
    EXPECT_EQ(window->EditMode, 0);
    EXPECT_EQ((*sizes)[SizeKind_Vias].defaultIndex, 1u);
    EXPECT_EQ((*sizes)[SizeKind_Holes].defaultIndex, via ? 0u : 1u);
  }
  EXPECT_EQ(Holes(), 2u);
}

TEST_F(ViaInsertion, AHoleWithoutASizeOrOnAPadIsRefused) {
  for (pl3::Point at : {pl3::Point{C, C}, pl3::Point{C + 500'000, C}}) {
    const bool onPad = at.x != C;
    EntityRecord* r = PendingHole(at, true, onPad);
    const int beeps = pl3::BeepCount();
    EXPECT_EQ(StoreViaOrHole(&window->PendingRecord), 0);
    EXPECT_EQ(pl3::BeepCount(), beeps + 1);
    EXPECT_EQ(window->PendingRecord, r) << "the tool goes on";
    EXPECT_EQ(window->EditMode, 20);
  }
  EXPECT_EQ(Holes(), 0u);
  EXPECT_EQ((*sizes)[SizeKind_Vias].defaultIndex, 0u);
}

}  // namespace
