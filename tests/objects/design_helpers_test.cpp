#include "objects/design_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "../platform/gdi_canvas.h"
#include "../support/test_paths.h"
#include "objects/size_table.h"
#include "objects/tower_validity.h"
#include "objects/walker.h"
#include "platform/kernel_files.h"
#include "platform/responder.h"
#include "walk_fixture.h"

using namespace walktest;

namespace {

pl3::TrackLayout Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  pl3::TrackLayout t{};
  t.x1 = x1;
  t.y1 = y1;
  t.x2 = x2;
  t.y2 = y2;
  return t;
}

TEST(Boxes, EmptyBoxIsTheOnlyInvalidOne) {
  pl3::Box box{1, 2, 3, 4};
  SetEmptyBox(&box);
  EXPECT_EQ(IsBoxValid(&box), 0);
  const pl3::Box almost{-1, -1, 0, 1};
  EXPECT_EQ(IsBoxValid(&almost), 1);
}

TEST(Boxes, NormaliseComparesUnsigned) {
  pl3::Box box{5, -3, 2, 7};  // -3 is above 7 as an unsigned word
  NormaliseBox(&box);
  EXPECT_EQ(box.xmin, 2);
  EXPECT_EQ(box.xmax, 5);
  EXPECT_EQ(box.ymin, 7);
  EXPECT_EQ(box.ymax, -3);
}

TEST(Lines, JoinLineEndsCoversEachSharedEnd) {
  struct Case {
    pl3::TrackLayout a, b, joined;
    int result;
  };
  const Case cases[] = {
      {Line(0, 0, 10, 0), Line(10, 0, 20, 0), Line(0, 0, 20, 0), 1},    // end to start
      {Line(0, 0, 10, 0), Line(20, 0, 10, 0), Line(0, 0, 20, 0), 1},    // end to end
      {Line(10, 0, 20, 0), Line(0, 0, 10, 0), Line(0, 0, 20, 0), 1},    // start to end
      {Line(10, 0, 20, 0), Line(10, 0, 0, 0), Line(0, 0, 20, 0), 1},    // start to start
      {Line(0, 0, 10, 10), Line(0, 10, 10, 0), Line(0, 0, 10, 10), 0},  // crossing only
  };
  for (const Case& c : cases) {
    pl3::TrackLayout a = c.a;
    EXPECT_EQ(JoinLineEnds(&a, &c.b), c.result);
    EXPECT_EQ(a.x1, c.joined.x1);
    EXPECT_EQ(a.y1, c.joined.y1);
    EXPECT_EQ(a.x2, c.joined.x2);
    EXPECT_EQ(a.y2, c.joined.y2);
  }
}

TEST(Lines, ParallelUsesExactProducts) {
  const pl3::TrackLayout horizontal = Line(0, 0, 10, 0);
  const pl3::TrackLayout vertical = Line(5, 5, 5, 50);
  const pl3::TrackLayout vertical2 = Line(9, 1, 9, -4);
  EXPECT_EQ(AreLinesParallel(&horizontal, &vertical), 0);
  EXPECT_EQ(AreLinesParallel(&vertical, &vertical2), 1);
  // The two products differ by exactly 2^64: a 64-bit compare calls them equal.
  const pl3::TrackLayout wide = Line(INT32_MIN, 0, INT32_MAX, -7);
  const pl3::TrackLayout steep = Line(0, INT32_MIN, 1227133513, INT32_MAX);
  EXPECT_EQ(AreLinesParallel(&wide, &steep), 0);
  const pl3::TrackLayout wideTwin = Line(INT32_MIN, 5, INT32_MAX, -2);
  EXPECT_EQ(AreLinesParallel(&wide, &wideTwin), 1);
}

TEST(Lines, NearerEndTakesTheFirstOnATie) {
  const pl3::TrackLayout line = Line(0, 0, 10, 0);
  EXPECT_EQ(GetNearerEndPoint(5, 3, &line).x, 0);
  EXPECT_EQ(GetNearerEndPoint(6, 3, &line).x, 10);
  EXPECT_EQ(GetNearerEndPoint(4, -3, &line).x, 0);
}

TEST(Lines, ProjectionParameter) {
  EXPECT_DOUBLE_EQ(ProjectionParameter(0, 0, 10, 0, 5, 3), 0.5);
  EXPECT_DOUBLE_EQ(ProjectionParameter(0, 0, 10, 0, 20, -3), 2.0);
  EXPECT_DOUBLE_EQ(ProjectionParameter(0, 10, 0, 0, 0, 10), 0.0);
  EXPECT_DOUBLE_EQ(ProjectionParameter(4, 4, 4, 4, 9, 9), 0.0) << "coincident points divide by nothing";
}

TEST(Lines, NearerArcEndReadsTheRefreshedDrawState) {
  pl3::ArcLayout arc{};
  arc.radius = 1000;
  arc.centreX = 5000;
  arc.centreY = 5000;
  arc.startX = 1000;  // start toward +x, end toward +y
  arc.endX = 0;
  arc.endY = 1000;
  arc.latticeStartX = 77;  // stale state must not be used
  EXPECT_EQ(GetNearerArcEnd(6000, 5100, &arc).x, 6000);
  const pl3::Point end = GetNearerArcEnd(5100, 6000, &arc);
  EXPECT_EQ(end.x, 5000);
  EXPECT_EQ(end.y, 6000);
}

TEST(Justification, CyclesEachAxisAndKeepsTheDefault) {
  std::uint32_t style = 0x40;  // a bit outside the justification mask stays
  const std::uint32_t horizontal[] = {0x48, 0x44, 0x40};
  for (std::uint32_t expected : horizontal) {
    style = CycleJustification(style, 0);
    EXPECT_EQ(style, expected);
  }
  const std::uint32_t vertical[] = {0x60, 0x50, 0x40};
  for (std::uint32_t expected : vertical) {
    style = CycleJustification(style | 8, 1) & ~8u;
    EXPECT_EQ(style, expected);
  }
  EXPECT_EQ(DefaultJustification, 8u) << "the last cycle kept 8 | 0";
}

TEST(Times, ElapsedAcrossTheHour) {
  SYSTEMTIME start{2026, 12, 4, 10, 10, 59, 59, 900};
  SYSTEMTIME end{2026, 12, 4, 10, 11, 0, 0, 100};
  char text[32];
  FormatTimeTaken(SubtractTime(end, start), text, sizeof text);
  EXPECT_STREQ(text, "00:00:00.200");
  ShowTimeTaken(nullptr, SubtractTime(end, start));
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "00:00:00.200");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Time Taken");
}

TEST(Files, WriteFileFormattedWritesLongTextsWhole) {
  const std::string path = pl3test::MakeTempDir("formatted") + "/out.txt";
  HANDLE file = CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const std::string longText(5000, 'x');
  EXPECT_EQ(WriteFileFormatted(file, "%s-%d", longText.c_str(), 42), TRUE);
  CloseHandle(file);
  EXPECT_EQ(pl3test::ReadFileBytes(path), longText + "-42");
  EXPECT_EQ(WriteFileFormatted(INVALID_HANDLE_VALUE, "%d", 1), FALSE);
}

class WindowHelpers : public WalkTest {};

TEST_F(WindowHelpers, DragOfSixPixelsIsAClick) {
  struct Case {
    std::uint8_t flags;
    pl3::Point start, current;
    int exceeds;
  };
  const Case cases[] = {
      {kDragActive, {100000, 100000}, {106000, 103000}, 0},
      {kDragActive, {100000, 100000}, {106001, 100000}, 1},
      {kDragActive, {100000, 100000}, {98000, 93999}, 1},
      {kDragActive, {100, 100}, {107, 100}, 0},
      {0, {0, 0}, {500000, 500000}, 0},
  };
  window->Zoom = 1000;
  for (const Case& c : cases) {
    window->DragFlags = c.flags;
    window->DragStart = c.start;
    window->DragCurrent = c.current;
    EXPECT_EQ(DragBoxExceedsTolerance(), c.exceeds) << c.current.x << "," << c.current.y;
  }
}

TEST_F(WindowHelpers, TowerValidityFollowsDeletes) {
  Tower* group = InsertEntity(design, 0, Type_Designator, nullptr);
  Entity* leaf = Insert(group, Type_DesignatorData, 1);
  Tower* onLeaf = EntityToTower(group, leaf, -1);
  EXPECT_EQ(IsTowerValid(onLeaf, 0), 1);
  DeleteEntity(group);
  EXPECT_EQ(IsTowerValid(onLeaf, 0), 0);
  ReleaseTower(&onLeaf);
  ReleaseTower(&group);
}

TEST_F(WindowHelpers, AValidityCacheAnswersAsTheWalkDoesOnceAGroupIsKeptAsASet) {
  std::vector<Tower*> tracks;
  for (std::uint32_t tag = 1; tag <= 5; ++tag) {
    std::vector<std::uint8_t> p = Item(tag, 68, 1);
    tracks.push_back(InsertEntity(design, static_cast<std::uint32_t>(p.size()), Type_Track, p.data()));
  }
  // A deeper Tower: a leaf under a group entity.
  Tower* group = InsertEntity(design, 0, Type_Designator, nullptr);
  Entity* leaf = Insert(group, Type_DesignatorData, 1);
  Tower* onLeaf = EntityToTower(group, leaf, -1);
  DeleteEntity(tracks[1]);
  DeleteEntity(tracks[3]);
  const std::vector<int> expected = {1, 0, 1, 0, 1};
  TowerValidityCache cache;
  // Each Tower asked twice: the first search of the group walks it, the later ones use its set.
  for (int round = 0; round < 2; ++round) {
    for (std::size_t i = 0; i < tracks.size(); ++i) {
      EXPECT_EQ(IsTowerValidIn(tracks[i], cache), expected[i]) << "track " << i << ", round " << round;
      EXPECT_EQ(IsTowerValid(tracks[i], 0), expected[i]) << "track " << i;
    }
    EXPECT_EQ(IsTowerValidIn(onLeaf, cache), 1);
  }
  EXPECT_EQ(IsTowerValidIn(nullptr, cache), 0);
  DeleteEntity(group);
  TowerValidityCache fresh;
  EXPECT_EQ(IsTowerValidIn(onLeaf, fresh), 0);
  EXPECT_EQ(IsTowerValidIn(onLeaf, fresh), 0);
  ReleaseTower(&onLeaf);
  ReleaseTower(&group);
  for (Tower*& t : tracks) ReleaseTower(&t);
}

TEST_F(WindowHelpers, CollectJoinableTrackThroughTheWalker) {
  auto track = [](std::uint32_t tag, pl3::TrackLayout line, std::int32_t width, std::uint8_t layer) {
    std::vector<std::uint8_t> p = Item(tag, 68, layer);
    line.head.layer = layer;
    line.width = width;
    std::memcpy(&line.head.reserved, &tag, 4);
    std::memcpy(p.data(), &line, sizeof line);
    return p;
  };
  const pl3::TrackLayout reference = [] {
    pl3::TrackLayout r = Line(0, 0, 100, 0);
    r.width = 10;
    r.head.layer = 1;
    return r;
  }();
  Insert(design, Type_Track, track(1, Line(0, 0, 100, 0), 10, 1));      // the reference itself
  Insert(design, Type_Track, track(2, Line(100, 0, 200, 0), 10, 1));    // joinable
  Insert(design, Type_Track, track(3, Line(100, 0, 200, 0), 12, 1));    // other width
  Insert(design, Type_Track, track(4, Line(100, 0, 100, 50), 10, 1));   // not parallel
  Insert(design, Type_Track, track(5, Line(300, 0, 200, 0), 10, 1));    // misses the join point
  Insert(design, Type_Track, track(6, Line(-50, 0, 0, 0), 10, 1));      // joinable at the other end
  Insert(design, Type_Track, track(7, Line(100, 0, 200, 0), 10, 2));    // other layer
  Insert(design, Type_Track, track(8, Line(200, 0, 100, 0), 10, 1));    // joinable, reversed
  JoinContext context{{100, 0}, &reference, nullptr};
  PerformTowerAction(&pl3::kIdentityTransform, design, &context, 0, WalkAction_CollectJoinable, 0);
  std::vector<std::uint32_t> found;
  for (TowerListNode* n = context.head; n; n = n->next) found.push_back(TagOf(TowerEntity(n->tower)));
  EXPECT_EQ(found, (std::vector<std::uint32_t>{2, 8}));  // walked newest first, each put at the head
  FreeTowerList(&context.head);
  EXPECT_EQ(context.head, nullptr);
}

TEST_F(WindowHelpers, ViasOnlyNeedsASelectionOfViaSizedHoles) {
  EXPECT_EQ(SelectionIsViasOnly(), 0);
  std::vector<std::uint8_t> via = Item(1, 604);
  via[49] = 0x08;
  Entity* hole = Insert(design, Type_Hole, via);
  Entity* plain = Insert(design, Type_Hole, Item(2, 604));
  SelectionInfo first{};
  first.original = TowerOn(hole);
  window->SelectionList = &first;
  EXPECT_EQ(SelectionIsViasOnly(), 1);
  SelectionInfo second{};
  second.original = TowerOn(hole);
  second.workingCopy = TowerOn(plain);  // the working copy counts first
  first.next = &second;
  EXPECT_EQ(SelectionIsViasOnly(), 0);
  EXPECT_EQ(SelectionIsPadStacksOnly(nullptr), 1);
  EXPECT_EQ(SelectionIsPadStacksOnly(&first), 0);
  for (Tower** t : {&first.original, &second.original, &second.workingCopy}) ReleaseTower(t);
}

}  // namespace

namespace {

bool AllZero(const std::vector<std::uint32_t>& pixels) {
  return std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return p == 0; });
}

TEST(Drawing, SelectionRectangleIsAnXorBoxAndSkipsInvalidBoxes) {
  pl3test::Canvas canvas(64, 64);
  const pl3::Box invalid{-1, 5, 30, 30};
  DrawSelectionRectangle(canvas.dc(), &invalid);
  EXPECT_TRUE(AllZero(canvas.Pixels()));
  const pl3::Box box{10, 10, 40, 30};
  DrawSelectionRectangle(canvas.dc(), &box);
  const std::vector<std::uint32_t> once = canvas.Pixels();
  EXPECT_FALSE(AllZero(once));
  // The dots are green; in the opaque background mode the gaps take the background colour.
  EXPECT_NE(std::find(once.begin(), once.end(), 0x00FF00u), once.end());
  for (std::uint32_t p : once) EXPECT_TRUE(p == 0 || p == 0x00FF00 || p == 0xFFFFFF) << std::hex << p;
  EXPECT_EQ(canvas.At(25, 20), 0u) << "hollow";
  DrawSelectionRectangle(canvas.dc(), &box);
  EXPECT_TRUE(AllZero(canvas.Pixels())) << "drawn twice it erases itself";
  EXPECT_EQ(GetROP2(canvas.dc()), R2_COPYPEN) << "the raster mode is restored";
}

TEST(Drawing, FocusRectangleDrawnTwiceErasesItself) {
  pl3test::Canvas canvas(64, 64);
  const pl3::Box box{5, 5, 50, 40};
  DrawFocusRectangle(canvas.dc(), &box);
  EXPECT_FALSE(AllZero(canvas.Pixels()));
  DrawFocusRectangle(canvas.dc(), &box);
  EXPECT_TRUE(AllZero(canvas.Pixels()));
}

class TextHelpers : public WalkTest {};

TEST_F(TextHelpers, RotateTextOrientationKeepsThePosition) {
  std::vector<std::uint8_t> text(120, 0);
  pl3::Transform own = pl3::kIdentityTransform;
  own.tx = 500;
  own.ty = 700;
  std::memcpy(text.data() + 76, &own, sizeof own);
  Tower* t = TowerOn(Insert(design, Type_Text, text));
  const pl3::Transform quarter = {0, pl3::kFixedOne, -pl3::kFixedOne, 0, 1000, 1000};
  RotateTextOrientation(t, &quarter);
  pl3::Transform after;
  std::memcpy(&after, TowerPayload(t) + 76, sizeof after);
  EXPECT_EQ(after.a, 0);
  EXPECT_EQ(after.b, pl3::kFixedOne);
  EXPECT_EQ(after.c, -pl3::kFixedOne);
  EXPECT_EQ(after.tx, 500);
  EXPECT_EQ(after.ty, 700);
  ReleaseTower(&t);
}

TEST_F(TextHelpers, NewTextStyleTakesTheWindowDefaults) {
  SizeTable fonts;
  fonts[SizeKind_Fonts].defaultIndex = 4;
  window->sizeTable = &fonts;
  window->TextLayer = 33;
  window->Cursor = {1200, -300};
  CycleJustification(0, 0);  // 8 becomes the default
  TextStyle* style = NewTextStyleWithText("R12");
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(style->justification, 8);
  EXPECT_EQ(style->sizeFlags, 1);
  EXPECT_EQ(style->sizeIndex, 4u);
  EXPECT_EQ(style->layer, 33);
  EXPECT_EQ(style->font, 3u);
  EXPECT_EQ(style->transform.a, pl3::kFixedOne);
  EXPECT_EQ(style->transform.tx, 1200);
  EXPECT_EQ(style->transform.ty, -300);
  EXPECT_STREQ(reinterpret_cast<const char*>(style + 1), "R12");
  std::free(style);
  TextStyle* empty = NewTextStyleWithText(nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(empty + 1), "");
  std::free(empty);
  window->sizeTable = nullptr;
}

TEST_F(TextHelpers, DrawChildrenInViewPublishesTheEntityAndRestoresIt) {
  Insert(design, Type_Track, 1);
  Insert(design, Type_Circle, 2);
  pl3::Box view{0, 0, 100, 100};
  EXPECT_EQ(DrawChildrenInView(nullptr, design, &view, 0), 1);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{1, 2}));
  EXPECT_EQ(pl3::g_raster.currentEntity, nullptr);
}

TEST_F(TextHelpers, WalkFromAnEntityTakesTheRestOfItsList) {
  Insert(design, Type_Track, 1);
  Insert(design, Type_Track, 2);
  Entity* newest = Insert(design, Type_Track, 3);
  Insert(design, Type_Circle, 4);
  Tower* from = TowerOn(newest);
  PerformTowerActionRecursive(&pl3::kIdentityTransform, from, nullptr, 0, 0, 0, 0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{2, 1, 4}));
  ReleaseTower(&from);
}

}  // namespace
