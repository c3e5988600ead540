#include "edit/corner_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "objects/corner_radius.h"
#include "objects/frame_seams.h"
#include "objects/layer_table.h"
#include "platform/menus.h"
#include "view_fixture.h"

namespace {

using viewtest::C;
using viewtest::Ends;
using viewtest::Track;

constexpr std::int32_t L = 10'000'000;   // track length
constexpr std::int32_t R = 914'400;      // the corner radius setting at start
// The middle of the arc that rounds the right angle east/south at (C, C):
// its centre lies at (C + R, C + R).
constexpr std::int32_t kArcMiddle = C + R - 646'578;

class CornerCommand : public viewtest::DesignView {
 protected:
  void SetUp() override {
    DesignView::SetUp();
    EditingLength10328 = R;
    SetLayerName(window->layerTable.layers[1], "Top Layer");
    SetLayerName(window->layerTable.layers[2], "Inner Layer 1");
  }
  void TearDown() override {
    pl3::ClearMenuHook();
    DesignView::TearDown();
  }
  // The right angle at (C, C) on the layer: east and south.
  void StoreRightAngle(std::uint8_t layer = 1) {
    Store(Track({C, C, C + L, C}, layer));
    Store(Track({C, C, C, C + L}, layer));
  }
  std::vector<ArcPayload> Arcs() {
    std::vector<ArcPayload> found;
    Tower* arcs = GetChildTower(design, Type_Arc);
    while (const Entity* e = arcs ? FindNextEntity(arcs) : nullptr) {
      ArcPayload a;
      std::memcpy(&a, EntityPayload(e), sizeof a);
      found.push_back(a);
    }
    ReleaseTower(&arcs);
    return found;
  }
  std::string Caption(std::uint32_t step) {
    Tower* caption = FindUndoStepCaption(step);
    std::string text = caption ? reinterpret_cast<const char*>(TowerPayload(caption)) : "";
    ReleaseTower(&caption);
    return text;
  }
  // Answers the pop-up: keeps its lines and ids, picks the line of the text
  // or, with none, dismisses it.
  void AnswerMenu(std::string choice) {
    pl3::SetMenuHook([this, choice](HMENU menu, HWND owner) {
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        lines.push_back(text);
        ids.push_back(GetMenuItemID(menu, i));
      }
      const auto line = std::find(lines.begin(), lines.end(), choice);
      if (line == lines.end()) {
        pl3::InjectKeyStroke(VK_ESCAPE);
        return;
      }
      const int position = static_cast<int>(line - lines.begin());
      RECT r{};
      ASSERT_TRUE(GetMenuItemRect(owner, menu, static_cast<UINT>(position), &r));
      const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      pl3::InjectMouseMove(p);
      pl3::InjectMouseButton(pl3::MouseButton::Left, true, p);
      pl3::InjectMouseButton(pl3::MouseButton::Left, false, p);
    });
  }
  std::vector<std::string> lines;
  std::vector<UINT> ids;
};

TEST_F(CornerCommand, ASharpCornerIsRoundedAndARoundedOneSharpenedEachInOneStep) {
  StoreRightAngle();
  const std::vector<Ends> sharp = Tracks();
  CursorAt(C + 3'000, C + 2'000);
  const std::uint32_t first = window->UndoStep;
  DoCornerCommand(view);
  EXPECT_EQ(Tracks(), (std::vector<Ends>{{C, C + R, C, C + L}, {C + R, C, C + L, C}}));
  ASSERT_EQ(Arcs().size(), 1u);
  EXPECT_EQ(Arcs()[0].radius, R);
  EXPECT_EQ(Arcs()[0].centreX, C + R);
  EXPECT_EQ(Caption(first), "Radius Corner");

  // On the arc, away from both tracks: the corner is made sharp again.
  CursorAt(kArcMiddle, kArcMiddle);
  const std::uint32_t second = window->UndoStep;
  DoCornerCommand(view);
  EXPECT_EQ(Tracks(), sharp);
  EXPECT_TRUE(Arcs().empty());
  EXPECT_EQ(Caption(second), "Unradius Corner");
  EXPECT_TRUE(lines.empty()) << "one corner asks nothing";
  UndoLastStep();
  EXPECT_EQ(Arcs().size(), 1u);
}

TEST_F(CornerCommand, WithoutACornerUnderTheCursorItBeepsAndChangesNothing) {
  struct Case {
    const char* what;
    std::vector<LinePayload> tracks;
    pl3::Point cursor;
  };
  const std::vector<Case> cases = {
      {"nothing there", {}, {C, C}},
      {"tracks of two layers", {Track({C, C, C + L, C}, 1), Track({C, C, C, C + L}, 2)}, {C, C}},
      {"the shared end is far from the cursor", {Track({C, C, C + L, C}), Track({C, C, C, C + L})}, {C + L / 2, C}},
      {"a straight run", {Track({C, C, C + L, C}), Track({C, C, C - L, C})}, {C, C}},
      {"one track", {Track({C, C, C + L, C})}, {C, C}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const LinePayload& t : c.tracks) Store(t);
    const std::vector<Ends> before = Tracks();
    const std::uint32_t step = window->UndoStep;
    const int beeps = pl3::BeepCount();
    CursorAt(c.cursor.x, c.cursor.y);
    DoCornerCommand(view);
    EXPECT_EQ(Tracks(), before);
    EXPECT_TRUE(Arcs().empty());
    EXPECT_EQ(window->UndoStep, step);
    EXPECT_EQ(pl3::BeepCount(), beeps + 1);
    DeleteChildEntities(design, Type_Track);
  }
}

TEST_F(CornerCommand, AnArcIsARoundedCornerOnlyWithExactlyOneTrackAtEachEnd) {
  StoreRightAngle();
  CursorAt(C, C);
  DoCornerCommand(view);
  ASSERT_EQ(Arcs().size(), 1u);
  // A second track leaving the arc's start: the arc no longer names a corner.
  Store(Track({C + R, C, C + R + L, C + L}));
  const std::vector<Ends> before = Tracks();
  const int beeps = pl3::BeepCount();
  CursorAt(kArcMiddle, kArcMiddle);
  DoCornerCommand(view);
  EXPECT_EQ(Tracks(), before);
  EXPECT_EQ(Arcs().size(), 1u);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
}

TEST_F(CornerCommand, TwoCornersOfferAMenuNamingTheirLayers) {
  StoreRightAngle(1);
  StoreRightAngle(2);
  CursorAt(C, C);
  AnswerMenu("Radius Corner Inner Layer 1");
  DoCornerCommand(view);
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{"Radius Corner Inner Layer 1", "Radius Corner Top Layer"}));
  EXPECT_EQ(ids, (std::vector<UINT>{1, 2}));
  ASSERT_EQ(Arcs().size(), 1u);
  EXPECT_EQ(Arcs()[0].head.layer, 2) << "the chosen line's corner";
}

TEST_F(CornerCommand, ClosingTheMenuWithoutAChoiceChangesNothingAndDoesNotBeep) {
  StoreRightAngle(1);
  StoreRightAngle(2);
  const std::vector<Ends> before = Tracks();
  const std::uint32_t step = window->UndoStep;
  CursorAt(C, C);
  AnswerMenu("");
  const int beeps = pl3::BeepCount();
  int dismissed = 0;
  EXPECT_EQ(FindCornerAtCursor(view, &dismissed), nullptr);
  EXPECT_EQ(dismissed, 1);
  DoCornerCommand(view);
  EXPECT_EQ(pl3::BeepCount(), beeps);
  EXPECT_EQ(Tracks(), before);
  EXPECT_EQ(window->UndoStep, step);
}

TEST_F(CornerCommand, ARoundedAndASharpCornerAreNamedAsSuch) {
  StoreRightAngle(1);
  CursorAt(C, C);
  DoCornerCommand(view);
  // A sharp corner on layer 2 where the arc runs.
  Store(Track({kArcMiddle, kArcMiddle, kArcMiddle + L, kArcMiddle}, 2));
  Store(Track({kArcMiddle, kArcMiddle, kArcMiddle, kArcMiddle - L}, 2));
  CursorAt(kArcMiddle, kArcMiddle);
  AnswerMenu("Unradius Corner Top Layer");
  int dismissed = 1;
  CornerRecord* corner = FindCornerAtCursor(view, &dismissed);
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{"Radius Corner Inner Layer 1", "Unradius Corner Top Layer"}));
  ASSERT_NE(corner, nullptr);
  EXPECT_EQ(dismissed, 0);
  EXPECT_NE(corner->arc, nullptr);
  EXPECT_EQ(corner->first.head.layer, 1);
  // Each payload starts at the end that meets the arc.
  EXPECT_EQ(corner->first.y1 == C ? corner->first.x1 : corner->first.y1, C + R);
  FreeCornerRecord(corner);
}

}  // namespace

namespace {

TEST_F(CornerCommand, AnArcBetweenParallelTracksIsNoCorner) {
  ArcPayload turn{};
  turn.head.layer = 1;
  turn.head.transform = pl3::kIdentityTransform;
  turn.width = 5000;
  turn.radius = R;
  turn.startX = 0;
  turn.startY = -R;
  turn.endX = 0;
  turn.endY = R;
  turn.centreX = C;
  turn.centreY = C;
  Tower* stored = InsertEntity(design, sizeof turn, Type_Arc, &turn);
  ReleaseTower(&stored);
  Store(Track({C, C - R, C + L, C - R}));
  Store(Track({C, C + R, C + L, C + R}));
  const int beeps = pl3::BeepCount();
  CursorAt(C - R, C);
  DoCornerCommand(view);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(Arcs().size(), 1u);
}

}  // namespace
