#include "edit/track_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "edit/edit_modes.h"
#include "edit/undo_history.h"
#include "edit/window_data.h"
#include "engine_fakes.h"
#include "objects/frame_seams.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "platform/user.h"
#include "tests/store/tower_test_support.h"

namespace {

constexpr std::int32_t C = 1'000'000'000;
using Ends = std::array<std::int32_t, 4>;
Ends At(pl3::Point p) { return {p.x, p.y, 0, 0}; }

LinePayload Track(Ends e, std::uint8_t layer = 1, std::int32_t width = 5000) {
  LinePayload t{};
  t.head.layer = layer;
  t.head.transform = pl3::kIdentityTransform;
  t.head.netIds[0] = 9;
  t.width = width;
  t.x1 = e[0];
  t.y1 = e[1];
  t.x2 = e[2];
  t.y2 = e[3];
  return t;
}

class TrackTools : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorPcb;
    window->Zoom = 1000;
    design = towertest::NewTopLevelEntity(Type_PCB);
    window->design = design;
    for (int layer = 0; layer < 40; ++layer) window->layerTable.layers[layer].flags = 0x7;
    ActiveWindowData = window.get();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "TrackToolView";
    RegisterClassA(&wc);
    view = CreateWindowExA(0, "TrackToolView", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                           nullptr);
    window->Window = view;
    window->ViewOriginX = C / 1000 - 200;
    window->ViewOriginY = C / 1000 - 150;
    PickDistance = 40;
    window->UndoStep = NewUndoStepNumber();
    enginefakes::calls.clear();
  }
  void TearDown() override {
    delete window->PendingRecord;
    window->PendingRecord = nullptr;
    DestroyWindow(view);
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  void Store(const LinePayload& t) {
    Tower* stored = InsertEntity(design, sizeof t, Type_Track, &t);
    ReleaseTower(&stored);
  }
  // The stored tracks' end points, sorted.
  std::vector<Ends> Tracks() {
    std::vector<Ends> found;
    for (NodeRef g = TowerEntity(design)->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
      if (NodeAt<TypeGroup>(g)->typeCode != Type_Track) continue;
      for (NodeRef e = NodeAt<TypeGroup>(g)->firstChild; e; e = NodeAt<Entity>(e)->next) {
        LinePayload t;
        std::memcpy(&t, EntityPayload(NodeAt<Entity>(e)), sizeof t);
        found.push_back({t.x1, t.y1, t.x2, t.y2});
      }
    }
    std::sort(found.begin(), found.end());
    return found;
  }
  void CursorAt(std::int32_t x, std::int32_t y) { window->Cursor = {x, y}; }

  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
  HWND view = nullptr;
};

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
