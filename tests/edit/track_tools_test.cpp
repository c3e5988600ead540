#include "edit/track_tools.h"

#include <gtest/gtest.h>

#include <vector>

#include "draw/walk_actions.h"
#include "edit/edit_modes.h"
#include "geometry/raster_state.h"
#include "tests/geometry/raster_fixture.h"
#include "view_fixture.h"

namespace {

// The track under the cursor is found by drawing the design in the raster
// kernel's nearest-hit mode.
class TrackTools : public viewtest::DesignView {
 protected:
  void SetUp() override {
    DesignView::SetUp();
    RegisterDrawWalkHandlers();
    plane = std::make_unique<geomtest::Plane>(400, 300);
    UpdateViewGlobals();
  }
  void TearDown() override {
    ReleaseTower(&window->PreviousPick);
    pl3::g_raster.view = nullptr;
    plane.reset();
    DesignView::TearDown();
  }
  std::unique_ptr<geomtest::Plane> plane;
};
using viewtest::At;
using viewtest::C;
using viewtest::Ends;
using viewtest::Track;

TEST_F(TrackTools, TheNearestTrackEndWithinReachTakesTheCursor) {
  Store(Track({C, C, C + 100'000, C}));
  Store(Track({C + 10'000, C + 30'000, C + 500'000, C + 30'000}));
  CursorAt(C + 12'000, C + 25'000);
  EXPECT_EQ(FindTrackEndAtCursor(view), 1);
  EXPECT_EQ(At(window->Cursor), (Ends{C + 10'000, C + 30'000, 0, 0}));
  // 40 pixels of 1,000 units plus the track's 5,000: 45,000 is the reach.
  CursorAt(C - 45'000, C);
  EXPECT_EQ(FindTrackEndAtCursor(view), 1);
  EXPECT_EQ(At(window->Cursor), (Ends{C, C, 0, 0}));
  CursorAt(C - 45'001, C);
  EXPECT_EQ(FindTrackEndAtCursor(view), 0);
  EXPECT_EQ(At(window->Cursor), (Ends{C - 45'001, C, 0, 0}));
}

// Two crossing tracks and an arc over their crossing: tracks alone are found,
// repeated searches at one point step from the last found track to the other,
// and selected tracks are passed over.
TEST_F(TrackTools, TheClosestTrackSearchStepsThroughOverlappingTracksAndSkipsSelectedOnes) {
  Store(Track({C - 50'000, C, C + 50'000, C}));
  Store(Track({C, C - 50'000, C, C + 50'000}));
  ArcPayload arc{};
  arc.head.layer = 1;
  arc.head.transform = pl3::kIdentityTransform;
  arc.centreX = C;
  arc.centreY = C;
  arc.width = 5000;
  arc.startX = 20'000;
  arc.endX = -20'000;
  Tower* stored = InsertEntity(design, sizeof arc, Type_Arc, &arc);
  ReleaseTower(&stored);
  auto closest = [&](std::uint8_t includeSelected) {
    Tower* t = FindClosestTrack(C, C, includeSelected);
    const Entity* e = t ? TowerEntity(t) : nullptr;
    ReleaseTower(&t);
    return e;
  };
  const Entity* first = closest(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->typeCode, Type_Track);
  const Entity* second = closest(0);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->typeCode, Type_Track);
  EXPECT_NE(second, first) << "the window's last found track leads, and the next one replaces it";
  const_cast<Entity*>(first)->flags |= kEntitySelected;
  const_cast<Entity*>(second)->flags |= kEntitySelected;
  EXPECT_EQ(closest(0), nullptr);
  EXPECT_EQ(FindClosestTrack(C + 200'000, C + 100'000, 1), nullptr) << "out of reach";
  EXPECT_EQ(window->ViewFlags, 0u) << "the walk filter comes back";
}

TEST_F(TrackTools, ContinueTrackOnNothingBeepsAndArmsNothing) {
  CursorAt(C, C);
  const int beeps = pl3::BeepCount();
  ContinueTrack(view, &window->Button, &window->PendingRecord);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(window->EditMode, Mode_Idle);
  EXPECT_EQ(window->PendingRecord, nullptr);
  EXPECT_TRUE(Tracks().empty());
}

TEST_F(TrackTools, ContinueTrackBeginsANewTrackAtTheEnd) {
  Store(Track({C, C, C + 100'000, C}));
  CursorAt(C + 101'000, C + 2'000);
  ContinueTrack(view, &window->Button, &window->PendingRecord);
  EXPECT_EQ(window->EditMode, Mode_ContinueTrack);
  ASSERT_NE(window->PendingRecord, nullptr);
  EXPECT_EQ(At(window->Cursor), (Ends{C + 100'000, C, 0, 0}));
  EXPECT_NE(window->ViewFlags & 0x10, 0u);
}

TEST_F(TrackTools, JoinLinesMergesCollinearSegmentsInOneUndoStep) {
  Store(Track({C, C, C + 100'000, C}));
  Store(Track({C + 100'000, C, C + 250'000, C}));
  Store(Track({C + 100'000, C, C + 100'000, C + 80'000}));   // meets there, not collinear
  Store(Track({C + 250'000, C, C + 400'000, C}, 2));         // collinear, other layer
  const std::vector<Ends> before = Tracks();
  CursorAt(C + 90'000, C + 1'000);
  const std::uint32_t step = window->UndoStep;
  JoinLines(view);
  EXPECT_EQ(Tracks(), (std::vector<Ends>{{C, C, C + 250'000, C},
                                         {C + 100'000, C, C + 100'000, C + 80'000},
                                         {C + 250'000, C, C + 400'000, C}}));
  EXPECT_EQ(window->UndoStep, step + 1) << "one step";
  Tower* caption = FindUndoStepCaption(step);
  ASSERT_NE(caption, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(TowerPayload(caption)), "Join lines");
  ReleaseTower(&caption);
  UndoLastStep();
  EXPECT_EQ(Tracks(), before);
}

TEST_F(TrackTools, JoinLinesWithNothingToJoinBeepsAndKeepsTheDesign) {
  Store(Track({C, C, C + 100'000, C}));
  Store(Track({C + 100'000, C, C + 250'000, C}, 1, 7000));  // another width
  const std::vector<Ends> before = Tracks();
  const std::uint32_t step = window->UndoStep;
  const int beeps = pl3::BeepCount();
  CursorAt(C + 90'000, C);
  JoinLines(view);
  EXPECT_EQ(Tracks(), before);
  EXPECT_EQ(window->UndoStep, step);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
}

TEST_F(TrackTools, SplitLineCutsAtTheSnappedCursorInOneUndoStep) {
  Store(Track({C, C, C + 100'000, C + 100'000}));
  const std::vector<Ends> before = Tracks();
  CursorAt(C + 40'400, C + 39'700);  // the fake snap goes to whole thousands
  const std::uint32_t step = window->UndoStep;
  SplitLine(view);
  EXPECT_EQ(Tracks(), (std::vector<Ends>{{C, C, C + 40'000, C + 39'000}, {C + 40'000, C + 39'000, C + 100'000,
                                                                           C + 100'000}}));
  EXPECT_EQ(window->UndoStep, step + 1);
  Tower* caption = FindUndoStepCaption(step);
  ASSERT_NE(caption, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(TowerPayload(caption)), "Split line");
  ReleaseTower(&caption);
  UndoLastStep();
  EXPECT_EQ(Tracks(), before);
}

TEST_F(TrackTools, SplitLineAwayFromTracksOrAtAnEndChangesNothing) {
  Store(Track({C, C, C + 100'000, C}));
  const std::vector<Ends> before = Tracks();
  for (pl3::Point p : {pl3::Point{C + 50'000, C + 300'000}, pl3::Point{C + 100'400, C}}) {
    const int beeps = pl3::BeepCount();
    CursorAt(p.x, p.y);
    SplitLine(view);
    EXPECT_EQ(Tracks(), before);
    EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  }
}

}  // namespace
