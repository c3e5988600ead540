#include "edit/via_insertion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "draw/display_list.h"
#include "edit/insertion.h"
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

}  // namespace
