#include "edit/track_tools.h"

#include <gtest/gtest.h>

#include <vector>

#include "edit/edit_modes.h"
#include "view_fixture.h"

namespace {

using TrackTools = viewtest::DesignView;
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
