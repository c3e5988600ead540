#include "objects/info_boxes.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "geometry/raster_state.h"
#include "objects/payload_access.h"
#include "platform/user.h"
#include "tests/objects/info_box_fakes.h"
#include "tests/objects/info_box_fixture.h"

namespace {

using infoboxtest::Recorded;

class InfoBoxTest : public InfoBoxFixture {
 protected:
  // A new info box with its points; the caller releases it.
  Tower* Box(const char* text, std::uint32_t kind, std::vector<pl3::Point> points = {}) {
    Tower* box = CreateInfoBox(design, text, kind);
    for (pl3::Point p : points) AddInfoBoxPoint(box, p.x, p.y);
    return box;
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    Tower* all = GetChildTower(design, Type_InfoBoxHier);
    while (Entity* e = FindNextEntity(all)) {
      Tower* t = EntityToTower(design, e, -1);
      texts.push_back(InfoBoxText(t));
      ReleaseTower(&t);
    }
    ReleaseTower(&all);
    return texts;
  }
  static const TextPayload* Label(const Tower* box) {
    return reinterpret_cast<const TextPayload*>(ChildPayloadOfAtLeast(box, kInfoBoxLabelCode, 104));
  }
  static std::vector<pl3::Point> Points(const Tower* box) {
    std::vector<pl3::Point> points(kInfoBoxPointRoom);
    points.resize(GetInfoBoxPoints(box, points.data(), kInfoBoxPointRoom));
    return points;
  }
};

TEST(InfoBoxKinds, FilterRules) {
  struct Case {
    int filter;
    std::uint32_t kind;
    bool taken;
  } cases[] = {
      {0, 4, true},   {3, 0, true},   {-3, 0, true},  {3, 3, true},    {3, 4, false},
      {-3, 3, false}, {-3, 4, true},  {-3, 1, true},  {3, 0x103, true}, {-1, 0x100, true},
      {5, 0xFB, false}, {-5, 0xFB, true},  // 0xFB reads as -5
  };
  for (const Case& c : cases) EXPECT_EQ(InfoBoxKindMatches(c.filter, c.kind), c.taken) << c.filter << " " << c.kind;
}

TEST_F(InfoBoxTest, CreationStoresTextAndKind) {
  Tower* box = Box("Clearance", 2);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(LastLevel(box).typeCode, Type_InfoBoxHier);
  EXPECT_EQ(TowerEntity(box)->payloadSize, 0u);
  EXPECT_EQ(InfoBoxText(box), "Clearance");
  EXPECT_EQ(InfoBoxKind(box), 2u);
  Tower* text = NewestChildTower(box, Type_InfoBox);
  EXPECT_GE(TowerEntity(text)->payloadSize, 10u);
  ReleaseTower(&text);
  EXPECT_EQ(CreateInfoBox(nullptr, "x", 1), nullptr);
  ReleaseTower(&box);
}

TEST_F(InfoBoxTest, RemovalByFilterTakesKindZeroAlways) {
  for (std::uint32_t kind : {0u, 1u, 3u, 5u}) {
    Tower* b = Box(("k" + std::to_string(kind)).c_str(), kind);
    ReleaseTower(&b);
  }
  RemoveInfoBoxes(design, -3, 1);
  EXPECT_EQ(Texts(), std::vector<std::string>{"k3"});
  EXPECT_EQ(Recorded().removed.size(), 3u);

  for (std::uint32_t kind : {0u, 1u, 2u, 4u, 5u, 6u}) {
    Tower* b = Box(("c" + std::to_string(kind)).c_str(), kind);
    ReleaseTower(&b);
  }
  RemoveCheckInfoBoxes(design);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"c6", "c4"}));
}

TEST_F(InfoBoxTest, RemovalInEditSelectionEndsTheSelectionFirst) {
  Tower* box = Box("selected", 2, {{100, 100}});
  Tower* other = Box("other", 4, {{100, 100}});
  window->EditMode = 39;
  window->SelectionList = static_cast<SelectionInfo*>(std::calloc(1, sizeof(SelectionInfo)));  // the engine frees it
  window->SelectionList->original = DuplicateTower(box);
  const int beeps = pl3::BeepCount();
  RemoveInfoBoxes(design, 4, 0);  // does not take the selected one
  EXPECT_EQ(pl3::BeepCount(), beeps);
  RemoveInfoBoxes(design, 2, 0);
  EXPECT_EQ(window->SelectionList, nullptr) << "the selection was cancelled first";
  EXPECT_TRUE(Texts().empty());
  EXPECT_TRUE(Recorded().removed.empty()) << "no undisplay asked";
  ReleaseTower(&box);
  ReleaseTower(&other);
}

TEST_F(InfoBoxTest, PointsAreAppendedAndTheRecordNeverOverflows) {
  Tower* box = Box("many", 1);
  for (int i = 0; i < 256; ++i) AddInfoBoxPoint(box, i, 2 * i);
  const std::vector<pl3::Point> points = Points(box);
  ASSERT_EQ(points.size(), 255u);
  EXPECT_EQ(points[0].x, 0);
  EXPECT_EQ(points[254].x, 254);
  EXPECT_EQ(points[254].y, 508);
  Tower* list = NewestChildTower(box, Type_InfoBoxPoints);
  EXPECT_EQ(TowerEntity(list)->payloadSize, 2048u);
  EXPECT_EQ(ReadU32(TowerPayload(list), 4), 255u);
  ReleaseTower(&list);

  AddInfoBoxPosition(box, nullptr);
  AddInfoBoxBoxCentre(box, nullptr);
  EXPECT_EQ(Points(box).size(), 255u);
  ReleaseTower(&box);
}

TEST_F(InfoBoxTest, DamagedPointListsAreReadWithinTheirRecord) {
  // A full-size list whose count runs past the record.
  Tower* box = Box("damaged", 1);
  InfoBoxPoints bad{};
  bad.count = 100000;
  bad.points[254] = {7, 8};
  Tower* t = InsertEntity(box, sizeof bad, Type_InfoBoxPoints, &bad);
  ReleaseTower(&t);
  std::vector<pl3::Point> points = Points(box);
  ASSERT_EQ(points.size(), 255u);
  EXPECT_EQ(points[254].x, 7);
  AddInfoBoxPoint(box, 1, 1);  // no room: dropped
  EXPECT_EQ(Points(box).size(), 255u);
  ReleaseTower(&box);

  // A short list: three points' room, count 50.
  box = Box("short", 1);
  std::uint32_t shortList[2 + 6] = {0, 50, 1, 2, 3, 4, 5, 6};
  t = InsertEntity(box, sizeof shortList, Type_InfoBoxPoints, shortList);
  ReleaseTower(&t);
  points = Points(box);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[2].y, 6);
  AddInfoBoxPoint(box, 9, 9);
  EXPECT_EQ(Points(box).size(), 3u);
  ReleaseTower(&box);
}

TEST_F(InfoBoxTest, BoxCentresHalveTheUnsignedSum) {
  Tower* box = Box("centre", 1);
  const pl3::Box big{2000000000, 100, 2100000000, 301};
  AddInfoBoxBoxCentre(box, &big);
  const pl3::Point p{5, 6};
  AddInfoBoxPosition(box, &p);
  const std::vector<pl3::Point> points = Points(box);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].x, 2050000000);
  EXPECT_EQ(points[0].y, 200);
  EXPECT_EQ(points[1].x, 5);
  ReleaseTower(&box);
}

TEST_F(InfoBoxTest, TheLabelStandsAnEighthInchFromTheMeanPoint) {
  Tower* single = Box("one", 1, {{200000000, 300000000}});
  PlaceInfoBoxLabel(single);
  const TextPayload* label = Label(single);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->textTransform.tx, 200000000 + 4572000);
  EXPECT_EQ(label->textTransform.ty, 300000000 + 4572000);
  EXPECT_EQ(label->size, 16);
  EXPECT_EQ(std::string(label->text), "one");
  ASSERT_EQ(Recorded().put.size(), 1u);
  EXPECT_EQ(Recorded().put[0], TowerEntity(single));
  const pl3::Point grab = InfoBoxGrabPoint(label);
  EXPECT_EQ(grab.x, 204572000);

  Tower* two = Box("two", 1, {{0, 0}, {1000001, 3}});
  PlaceInfoBoxLabel(two);
  EXPECT_EQ(Label(two)->textTransform.tx, 500000 + 4572000);  // the mean truncated
  EXPECT_EQ(Label(two)->textTransform.ty, 1 + 4572000);
  PlaceInfoBoxLabel(two);  // placed again: still one label
  Tower* labels = GetChildTower(two, kInfoBoxLabelCode);
  int count = 0;
  while (FindNextEntity(labels)) ++count;
  ReleaseTower(&labels);
  EXPECT_EQ(count, 1);

  Tower* none = Box("none", 1);
  PlaceInfoBoxLabel(none);
  EXPECT_EQ(Label(none), nullptr);
  ReleaseTower(&single);
  ReleaseTower(&two);
  ReleaseTower(&none);
}

TEST_F(InfoBoxTest, LookUpsByTextAndKind) {
  Tower* a = Box("Short circuit", 3);
  Tower* b = Box("Open", 0);
  EXPECT_EQ(FindInfoBoxByText(design, 2, "Short circuit"), nullptr) << "the kind fails the filter";
  EXPECT_EQ(FindInfoBoxByText(design, 3, "Short"), nullptr) << "the text must be equal";
  Tower* found = FindInfoBoxByText(design, -2, "Short circuit");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(TowerEntity(found), TowerEntity(a));
  ReleaseTower(&found);
  found = FindInfoBoxByText(design, 5, "Open");  // kind 0 passes every filter
  EXPECT_EQ(TowerEntity(found), TowerEntity(b));
  ReleaseTower(&found);

  EXPECT_EQ(HasInfoBoxOfKind(design, 0), 1);
  EXPECT_EQ(HasInfoBoxOfKind(design, 3), 1);
  EXPECT_EQ(HasInfoBoxOfKind(design, 4), 0);
  Tower* empty = towertest::NewTopLevelEntity(Type_PCB);
  EXPECT_EQ(HasInfoBoxOfKind(empty, 0), 0);
  DeleteEntity(empty);
  ReleaseTower(&empty);
  ReleaseTower(&a);
  ReleaseTower(&b);
}

TEST(InfoBoxLeaders, EndAtTheNearestOfEdgeAndCentreTheCentreOnATie) {
  const pl3::Box box{1000, 2000, 3000, 4000};  // centre (2000, 3000)
  struct Case {
    pl3::Point from;
    pl3::Point end;
  } cases[] = {
      {{1400, 3000}, {1000, 3000}},  // in the left half, nearer the left edge
      {{1600, 3000}, {2000, 3000}},  // in the left half, nearer the centre
      {{1500, 3000}, {2000, 3000}},  // equally near: the centre
      {{-500, 1000}, {1000, 2000}},  // outside, low on both axes
      {{9000, 3500}, {3000, 3000}},  // right, level with the centre's half
      {{2600, 3600}, {3000, 4000}},
  };
  for (const Case& c : cases) {
    const pl3::Point end = InfoBoxLeaderEnd(box, c.from.x, c.from.y);
    EXPECT_EQ(end.x, c.end.x) << c.from.x << "," << c.from.y;
    EXPECT_EQ(end.y, c.end.y) << c.from.x << "," << c.from.y;
  }
}

TEST_F(InfoBoxTest, DrawingListsTheLeadersToTheLabelBoxAndPutsTheStateBack) {
  Tower* box = Box("DRC", 1, {{300000000, 300000000}, {320000000, 290000000}});
  PlaceInfoBoxLabel(box);
  pl3::Box label;
  ASSERT_EQ(GetInfoBoxLabelBox(Label(box), &label), 1);
  // The label's string box, moved by its extent and grown by 16 x 18,288.
  pl3::Box strings;
  std::memcpy(&strings, Label(box)->bytes52 + 4, sizeof strings);
  const std::int32_t tx = Label(box)->textTransform.tx;
  EXPECT_EQ(label.xmin, tx + strings.xmin - strings.xmax / 2 - 16 * 18288);
  EXPECT_EQ(label.xmax - label.xmin, strings.xmax - strings.xmin + 2 * 16 * 18288);
  pl3::g_raster.fillValue = 77;
  window->StateFlags = 0x100;
  DrawInfoBox(nullptr, box, 1);
  EXPECT_EQ(pl3::g_raster.fillValue, 77u);
  EXPECT_EQ(window->StateFlags, 0x100u);
  EXPECT_EQ(MarkerDisplayFlags, 0u);
  ASSERT_EQ(Recorded().tracks.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const LinePayload& l = Recorded().tracks[i].line;
    const pl3::Point end = InfoBoxLeaderEnd(label, l.x1, l.y1);
    EXPECT_EQ(l.width, 0);
    EXPECT_EQ(l.x2, end.x);
    EXPECT_EQ(l.y2, end.y);
    EXPECT_EQ(Recorded().tracks[i].owner, TowerEntity(box));
  }
  EXPECT_EQ(Recorded().tracks[0].line.x1, 300000000);

  // The info box's box takes in the label and every point.
  pl3::Box whole;
  ASSERT_EQ(GetInfoBoxBox(box, &whole), 1);
  EXPECT_EQ(whole.xmin, std::min(300000000, label.xmin));
  EXPECT_EQ(whole.ymin, std::min(290000000, label.ymin));
  EXPECT_EQ(whole.xmax, std::max(320000000, label.xmax));
  EXPECT_EQ(whole.ymax, std::max(300000000, label.ymax));
  ReleaseTower(&box);
}

TEST_F(InfoBoxTest, DrawingInABoxSkipsHiddenSelectedAndFarInfoBoxes) {
  Tower* near = Box("near", 1, {{300000000, 300000000}});
  Tower* far = Box("far", 1, {{900000000, 900000000}});
  Tower* picked = Box("picked", 1, {{300000000, 300000000}});
  for (Tower* t : {near, far, picked}) PlaceInfoBoxLabel(t);
  TowerEntity(picked)->flags |= kEntitySelected;
  const pl3::Box view{250000000, 250000000, 350000000, 350000000};
  const auto listed = [&](int mode) {
    Recorded().tracks.clear();
    DrawInfoBoxesInBox(&view, design, mode);
    return Recorded().tracks.size();
  };
  EXPECT_EQ(listed(0), 1u);
  EXPECT_EQ(Recorded().tracks[0].owner, TowerEntity(near));
  EXPECT_EQ(listed(24), 1u);
  EXPECT_EQ(listed(10), 0u);
  MarkerDisplayFlags = kMarkersHidden;
  EXPECT_EQ(listed(0), 0u);
  for (Tower* t : {near, far, picked}) ReleaseTower(&t);
}

TEST_F(InfoBoxTest, TranslationMovesTheLabelAndLeavesThePoints) {
  Tower* box = Box("move", 1, {{300000000, 300000000}});
  PlaceInfoBoxLabel(box);
  TranslateInfoBox(box, 1000, -2000);
  EXPECT_EQ(Label(box)->textTransform.tx, 304573000);
  EXPECT_EQ(Label(box)->textTransform.ty, 304570000);
  Tower* label = NewestChildTower(box, kInfoBoxLabelCode);
  TranslateInfoBox(label, -1000, 2000);
  ReleaseTower(&label);
  EXPECT_EQ(Label(box)->textTransform.tx, 304572000);
  EXPECT_EQ(Points(box)[0].x, 300000000);
  ReleaseTower(&box);
}

TEST_F(InfoBoxTest, SelectingMarksAddsAndUndisplays) {
  Tower* box = Box("sel", 1, {{300000000, 300000000}});
  window->Cursor = {5, 6};
  window->InsertType = 1;
  ASSERT_EQ(SelectInfoBox(box), 1);
  EXPECT_EQ(window->InsertType, 11);
  EXPECT_TRUE(TowerEntity(box)->flags & kEntitySelected);
  ASSERT_NE(window->SelectionList, nullptr);
  EXPECT_EQ(window->SelectionList->flags & 1, 1);
  EXPECT_EQ(window->SelectionList->grabPoint.x, 5);
  EXPECT_EQ(Recorded().removed, std::vector<const TowerNode*>{TowerEntity(box)});
  window->SelectionList->workingCopy = window->SelectionList->original;
  EXPECT_EQ(SelectionHasInfoBox(window->SelectionList), 1);
  EXPECT_EQ(SelectionHasSymbolPin(window->SelectionList), 0);
  window->SelectionList->workingCopy = nullptr;

  // A second one keeps the insertion type; a refused one stays unmarked.
  Tower* second = Box("second", 1);
  window->InsertType = 3;
  ASSERT_EQ(SelectInfoBox(second), 1);
  EXPECT_EQ(window->InsertType, 3);
  Tower* refused = Box("refused", 1);
  Recorded().refuseSelection = true;
  EXPECT_EQ(SelectInfoBox(refused), 0);
  EXPECT_FALSE(TowerEntity(refused)->flags & kEntitySelected);
  for (Tower* t : {box, second, refused}) ReleaseTower(&t);
}

TEST_F(InfoBoxTest, NavigationStepsThroughLabelsAndBeepsAtTheEnds) {
  // Search order is newest first: c, b, a.
  Tower* a = Box("a", 1, {{200000000, 200000000}});
  Tower* b = Box("b", 1, {{300000000, 300000000}});
  Tower* c = Box("c", 1, {{400000000, 400000000}});
  for (Tower* t : {a, b, c}) PlaceInfoBoxLabel(t);
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(GotoPreviousInfoBox(nullptr), 0) << "nothing before the start";
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);

  ASSERT_EQ(GotoNextInfoBox(nullptr), 1);
  EXPECT_EQ(LastVisitedInfoBox(), TowerEntity(c));
  EXPECT_EQ(window->Cursor.x, 404572000);
  ASSERT_EQ(GotoNextInfoBox(nullptr), 1);
  ASSERT_EQ(GotoNextInfoBox(nullptr), 1);
  EXPECT_EQ(window->Cursor.x, 204572000);
  EXPECT_EQ(GotoNextInfoBox(nullptr), 0) << "past the last";
  EXPECT_EQ(LastVisitedInfoBox(), TowerEntity(a));
  EXPECT_EQ(window->Cursor.x, 204572000);
  ASSERT_EQ(GotoPreviousInfoBox(nullptr), 1);
  EXPECT_EQ(window->Cursor.x, 304572000);
  ASSERT_EQ(GotoPreviousInfoBox(nullptr), 1);
  EXPECT_EQ(GotoPreviousInfoBox(nullptr), 0) << "at the first";
  EXPECT_EQ(LastVisitedInfoBox(), TowerEntity(c));
  EXPECT_EQ(pl3::BeepCount(), beeps + 3);

  // An info box without a label beeps and is not remembered; a removed one is forgotten.
  Tower* bare = Box("bare", 1);
  RemoveInfoBoxes(design, 0, 0);
  EXPECT_EQ(LastVisitedInfoBox(), nullptr);
  ReleaseTower(&bare);
  bare = Box("bare", 1);
  EXPECT_EQ(GotoNextInfoBox(nullptr), 0);
  EXPECT_EQ(LastVisitedInfoBox(), nullptr);
  for (Tower* t : {a, b, c, bare}) ReleaseTower(&t);
}

}  // namespace
