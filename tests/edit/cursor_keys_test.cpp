#include "edit/cursor_keys.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "objects/grid_sets.h"
#include "platform/user_constants.h"
#include "view_fixture.h"

namespace {

using viewtest::At;
using viewtest::C;
using viewtest::Ends;

constexpr std::int32_t kInch = 36'576'000;

class CursorKeys : public viewtest::DesignView {
 protected:
  void SetUp() override {
    viewtest::DesignView::SetUp();
    GridSet* set = BuildDefaultGridSet();
    set->flags = kGridSnap;
    set->current.kind = kGridCartesian;
    set->current.unit = kGridUnitInch;
    set->current.x = {1, 1, 1, 1, 1};   // one inch across
    set->current.y = {1, 20, 1, 1, 1};  // 1/20 inch down
    window->Grids = set;
  }
  void TearDown() override {
    std::free(window->Grids);
    window->Grids = nullptr;
    viewtest::DesignView::TearDown();
  }
  GridSet& Grid() { return *static_cast<GridSet*>(window->Grids); }
  Ends Press(std::uint32_t key, pl3::Point from) {
    window->Cursor = from;
    MoveCursorByKey(view, key, &window->Button, &window->PendingRecord);
    return At(window->Cursor);
  }
};

TEST_F(CursorKeys, EachArrowStepsItsAxisByTheGridSpacing) {
  const pl3::Point from{C, C};
  struct Case {
    std::uint32_t key;
    Ends to;
  };
  for (const Case& c : std::vector<Case>{{VK_LEFT, {C - kInch, C, 0, 0}},
                                         {VK_RIGHT, {C + kInch, C, 0, 0}},
                                         {VK_UP, {C, C - 1'829'000, 0, 0}},  // 1,828,800, truncated by the fake snap
                                         {VK_DOWN, {C, C + 1'828'000, 0, 0}}}) {
    EXPECT_EQ(Press(c.key, from), c.to) << c.key;
  }
}

TEST_F(CursorKeys, WithoutSnappingTheStepIsOnePixel) {
  Grid().flags = 0;
  window->Zoom = 4000;
  EXPECT_EQ(CursorKeyStep(VK_LEFT), 4000);
  EXPECT_EQ(Press(VK_RIGHT, {C, C}), (Ends{C + 4000, C, 0, 0}));
  Grid().flags = kGridSnap;
  Grid().current.x.denominator = 0;  // a grid without positions falls back on the pixel
  EXPECT_EQ(CursorKeyStep(VK_RIGHT), 4000);
}

TEST_F(CursorKeys, AStepThatWouldLeaveTheEditableAreaIsNotTaken) {
  struct Case {
    std::uint32_t key;
    pl3::Point from;
    Ends to;
  };
  const std::int32_t low = kCursorKeyLowest, high = kCursorKeyHighest;
  for (const Case& c : std::vector<Case>{
           {VK_LEFT, {low + kInch - 1000, C}, {low + kInch - 1000, C, 0, 0}},
           {VK_LEFT, {low + kInch, C}, {low, C, 0, 0}},
           {VK_RIGHT, {high - kInch + 1000, C}, {high - kInch + 1000, C, 0, 0}},
           {VK_RIGHT, {high - kInch, C}, {high, C, 0, 0}},
           {VK_UP, {C, low + 1'828'000}, {C, low + 1'828'000, 0, 0}},
       }) {
    EXPECT_EQ(Press(c.key, c.from), c.to) << c.key << " " << c.from.x << "," << c.from.y;
  }
}

TEST_F(CursorKeys, ALockedAxisDoesNotMove) {
  window->AxisLock = 1;
  EXPECT_EQ(Press(VK_LEFT, {C, C}), (Ends{C, C, 0, 0}));
  EXPECT_EQ(Press(VK_DOWN, {C, C}), (Ends{C, C + 1'828'000, 0, 0}));
  window->AxisLock = 2;
  EXPECT_EQ(Press(VK_DOWN, {C, C}), (Ends{C, C, 0, 0}));
}

TEST_F(CursorKeys, LeavingTheViewCentresItWithTheGhostRedrawn) {
  window->DisplayedCursor = {0, 0};
  Press(VK_RIGHT, {C + 190'000, C});  // an inch right is far outside the 400-pixel view
  EXPECT_EQ(enginefakes::calls,
            (std::vector<std::string>{"ghost mode 0 assist 2", "ghost mode 0 assist 2", "status"}))
      << "the ghost erased and drawn about the centring, then the status bar";
  EXPECT_EQ(At(window->DisplayedCursor), (Ends{C + 190'000 + kInch, C, 0, 0}));
}

}  // namespace
