#include "objects/dimensioners.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "designator_fakes.h"
#include "dimensioner_fakes.h"
#include "objects/locator_kinds.h"
#include "geometry/transform.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "walk_fixture.h"

namespace {

using dimensionertest::Tracks;

DimensionerPayload Line(pl3::Point a, pl3::Point b, pl3::Point c, std::uint32_t unit = kDimensionerMillimetre) {
  DimensionerPayload d{};
  d.a = a;
  d.b = b;
  d.c = c;
  d.unit = unit;
  d.labelTransform = pl3::R0;
  d.flags = kDimensionerTextByIndex;
  UpdateDimensionerLength(&d);
  return d;
}

std::string Take(char* text) {
  std::string s = text ? text : "<null>";
  std::free(text);
  return s;
}

TEST(DimensionerLabels, OneInchInEveryLengthUnit) {
  const struct {
    std::uint32_t unit;
    const char* text;
  } cases[] = {{kDimensionerInch, "1.00 inches"},
               {kDimensionerThou, "1000 thou"},
               {kDimensionerMillimetre, "25.400 mm"},
               {kDimensionerCentimetre, "2.5 cm"}};
  for (const auto& c : cases) {
    DimensionerPayload d = Line({0, 0}, {36576000, 0}, {0, 1000}, c.unit);
    EXPECT_EQ(d.length, 36576000u);
    EXPECT_EQ(Take(FormatDimensionerLabel(&d, nullptr)), c.text) << c.unit;
  }
}

TEST(DimensionerLabels, RoundingIsFloorOfHalfUp) {
  EXPECT_EQ(FormatDimensionerValue(18288, kDimensionerThou), "1 thou");    // exactly half a thou
  EXPECT_EQ(FormatDimensionerValue(18287, kDimensionerThou), "0 thou");
  EXPECT_EQ(FormatDimensionerValue(182880, kDimensionerInch), "0.01 inches");  // half a hundredth
  EXPECT_EQ(FormatDimensionerValue(0xFFFFFFFFu, kDimensionerMillimetre), "2982.616 mm");  // unsigned
  EXPECT_EQ(FormatDimensionerValue(720000, kDimensionerCentimetre), "0.1 cm");
  EXPECT_EQ(FormatDimensionerValue(100, kDimensionerDegrees), "");
}

TEST(DimensionerLabels, TemplateFields) {
  const struct {
    const char* tpl;
    const char* text;
  } cases[] = {{"W = @dim", "W = 1.0 cm"}, {"@@dim", "@dim"},          {"@width", ""},
               {"@width x", " x"},         {"@DiM/@dim", ""},    {"a@", "a"},
               {"@dim @dim", "1.0 cm 1.0 cm"}, {"x @@ y", "x @ y"}, {"@DiM x", "1.0 cm x"}};
  for (const auto& c : cases) EXPECT_EQ(ExpandDimensionerTemplate(c.tpl, "1.0 cm"), c.text) << c.tpl;
}

TEST(DimensionerLabels, ManyFieldsExpandWithoutLimit) {
  std::string tpl;
  for (int i = 0; i < 51; ++i) tpl += "@dim ";  // 255 characters
  const std::string value = "2982.616 mm";
  const std::string out = ExpandDimensionerTemplate(tpl.c_str(), value);
  EXPECT_EQ(out.size(), 51 * (value.size() + 1));
  EXPECT_GT(out.size(), 512u);
}

TEST(DimensionerLabels, AngleInDegreesAndRadians) {
  DimensionerPayload d{};
  d.c = {0, 0};
  d.b = {1000, 0};
  d.a = {0, 1000};
  d.unit = kDimensionerDegrees;
  EXPECT_EQ(Take(FormatAngleDimensionerLabel(&d, nullptr)), "90\xB0");
  std::swap(d.a, d.b);
  EXPECT_EQ(Take(FormatAngleDimensionerLabel(&d, nullptr)), "270\xB0");
  std::swap(d.a, d.b);
  d.unit = kDimensionerRadians;
  EXPECT_EQ(Take(FormatAngleDimensionerLabel(&d, nullptr)), "1.57 radians");
  d.c = {500, 500};  // the angle is taken about the vertex
  d.a = {500, 1500};
  d.b = {1500, 500};
  d.unit = kDimensionerDegrees;
  EXPECT_EQ(Take(FormatAngleDimensionerLabel(&d, nullptr)), "90\xB0");
}

TEST(DimensionerDirection, ClassesInOrder) {
  const struct {
    pl3::Point a, b, c;
    int cls;
    std::uint32_t length;
  } cases[] = {
      {{5, 0}, {5, 700}, {9000, 9000}, 2, 700},           // equal x measures y whatever C is
      {{0, 40}, {300, 40}, {0, -9000}, 0, 300},           // equal y
      {{0, 0}, {100, 50}, {100, 1050}, 3, 50},            // C straight above B: 90 degrees, measures y
      {{0, 0}, {100, 50}, {-900, 50}, 0, 100},            // 180
      {{0, 0}, {100, 50}, {100, -950}, 2, 50},            // 270
      {{0, 0}, {100, 50}, {1100, 60}, 1, 100},            // near 0
      {{0, 0}, {100, 50}, {1100, -1050}, 2, 50},          // 312.3: below 315
      {{0, 0}, {100, 50}, {1100, -900}, 1, 100},          // 316.5
      {{0, 0}, {100, 50}, {1100, 1050}, 3, 50},           // 45 degrees: class 3
  };
  for (const auto& c : cases) {
    DimensionerPayload d = Line(c.a, c.b, c.c);
    EXPECT_EQ(ClassifyDimensionerDirection(&d), c.cls) << c.c.x << "," << c.c.y;
    EXPECT_EQ(d.length, c.length) << c.c.x << "," << c.c.y;
  }
}

TEST(DimensionerHandles, MovesByGrab) {
  const struct {
    std::uint16_t grab;
    bool a, b, c, label;
  } cases[] = {{0, true, true, true, true},   {7, true, true, true, true},      {12, true, false, false, false},
               {13, false, true, true, true}, {14, false, false, true, true},   {15, false, false, false, true},
               {99, false, false, false, false}};
  for (const auto& c : cases) {
    DimensionerPayload d = Line({0, 0}, {1000, 0}, {0, 500});
    d.labelPosition = {10, 20};
    MoveDimensionerHandles(&d, {300, 7}, c.grab);
    EXPECT_EQ(d.a.x, c.a ? 300 : 0) << c.grab;
    EXPECT_EQ(d.b.x, c.b ? 1300 : 1000) << c.grab;
    EXPECT_EQ(d.c.y, c.c ? 507 : 500) << c.grab;
    EXPECT_EQ(d.labelPosition.x, c.label ? 310 : 10) << c.grab;
    EXPECT_EQ(d.length, (c.b ? 1300u : 1000u) - (c.a ? 300u : 0u)) << c.grab;
  }
}

class DimensionerTower : public walktest::WalkTest {
 protected:
  Tower* AddDimensioner(std::uint16_t type, const DimensionerPayload& d, const char* tpl = nullptr) {
    std::vector<std::uint8_t> bytes(sizeof d);
    std::memcpy(bytes.data(), &d, sizeof d);
    Entity* e = walktest::Insert(design, type, bytes);
    Tower* t = TowerOn(e);
    if (tpl) {
      Tower* child = InsertEntity(t, static_cast<std::uint32_t>(std::strlen(tpl) + 1), kDimensionerTemplateCode, tpl);
      ReleaseTower(&child);
    }
    return t;
  }
  static DimensionerPayload& PayloadAt(Tower* t) { return *reinterpret_cast<DimensionerPayload*>(TowerPayload(t)); }
  void TearDown() override {
    pl3::ClearDialogHooks();
    WalkTest::TearDown();
  }
};

TEST_F(DimensionerTower, LabelUsesTheTemplateRecord) {
  DimensionerPayload d = Line({0, 0}, {14400000, 0}, {0, 5}, kDimensionerCentimetre);
  Tower* t = AddDimensioner(Type_Dimensioner, d, "W = @dim");
  EXPECT_EQ(Take(FormatDimensionerLabel(&PayloadAt(t), t)), "W = 1.0 cm");
  ReleaseTower(&t);
}

TEST_F(DimensionerTower, DragStatusPicksHandlesInOrder) {
  // A along x from (0, 0) to (10000, 0), line at y = 4000: half spans 2000.
  DimensionerPayload d = Line({0, 0}, {10000, 0}, {0, 4000});
  d.labelPosition = {50000, 50000};  // label "0.007 mm" 800 wide, 200 high
  Tower* t = AddDimensioner(Type_Dimensioner, d);
  const struct {
    pl3::Point cursor;
    std::uint8_t whole;
    std::uint16_t grab;
    pl3::Point reference;
  } cases[] = {{{1999, 0}, 1, 7, {0, 0}},          {{50100, 50100}, 0, 15, {50000, 50000}},
               {{1999, 0}, 0, 12, {0, 0}},         {{0, 2000}, 0, 14, {0, 4000}},
               {{10000, 1999}, 0, 13, {10000, 0}}, {{5000, 4000}, 0, 14, {0, 4000}}};
  for (const auto& c : cases) {
    DragStatus status{};
    status.cursor = c.cursor;
    status.flag = c.whole;
    ASSERT_EQ(GetDimensionerDragStatus(t, &status), 1);
    EXPECT_EQ(status.grabCode, c.grab) << c.cursor.x << "," << c.cursor.y;
    EXPECT_EQ(status.x, c.reference.x) << c.cursor.x << "," << c.cursor.y;
    EXPECT_EQ(status.y, c.reference.y) << c.cursor.x << "," << c.cursor.y;
  }
  ReleaseTower(&t);
}

TEST_F(DimensionerTower, AngleDragThresholdHasAFloor) {
  DimensionerPayload d{};
  d.c = {0, 0};
  d.a = {100000, 0};  // short arms: the floor of 365,760 squared decides
  d.b = {0, 300000};  // B' is (0, 100000)
  d.labelPosition = {90000000, 90000000};
  d.unit = kDimensionerDegrees;
  Tower* t = AddDimensioner(Type_AngleDimensioner, d);
  const struct {
    pl3::Point cursor;
    std::uint16_t grab;
  } cases[] = {{{100000 + 365000, 0}, 12}, {{0, 100000 + 365000}, 13}, {{0, 100000 + 366000}, 14}};
  for (const auto& c : cases) {
    DragStatus status{};
    status.cursor = c.cursor;
    ASSERT_EQ(GetAngleDimensionerDragStatus(t, &status), 1);
    EXPECT_EQ(status.grabCode, c.grab) << c.cursor.x << "," << c.cursor.y;
  }
  ReleaseTower(&t);
}

TEST_F(DimensionerTower, BoxesCoverPointsLabelAndArrows) {
  DimensionerPayload d = Line({0, 0}, {10000000, 0}, {0, 4000000});
  d.labelPosition = {20000000, 100};  // "6.944 mm": 800 wide
  pl3::Box box;
  GetDimensionerBox(&d, &box);
  const std::int32_t m = 365760 + 2880000;
  EXPECT_EQ(box.xmin, -m);
  EXPECT_EQ(box.ymin, -m);
  EXPECT_EQ(box.xmax, 20000800 + 2880000);
  EXPECT_EQ(box.ymax, 4000000 + 2880000);
  d.options = kDimensionerArrowsOutside;
  pl3::Box outside;
  GetDimensionerBox(&d, &outside);
  EXPECT_EQ(outside.xmin, box.xmin - 2194560);
  EXPECT_EQ(outside.ymax, box.ymax + 2194560);

  DimensionerPayload angle{};
  angle.c = {1000, 1000};
  angle.a = {4000, 5000};  // |A - C| = 5000
  angle.b = {1000, 9000};
  angle.labelPosition = {1000, 1000};
  angle.unit = kDimensionerDegrees;
  GetAngleDimensionerBox(&angle, &box);
  EXPECT_EQ(box.xmin, -4000);
  EXPECT_EQ(box.ymax, 6000);
}

TEST_F(DimensionerTower, DialogRefusesLongLabelsAndTakesUnit) {
  pl3::ClearResponderRecords();
  static std::string offered;
  static bool millimetreChecked = false;
  pl3::SetDialogHook(kDimensionerLabelDialog, [](HWND dialog) {
    char buffer[300] = {};
    GetDlgItemText(dialog, kDimensionerLabelEdit, buffer, sizeof buffer);
    offered = buffer;
    millimetreChecked = IsDlgButtonChecked(dialog, kDimensionerMillimetreButton) == BST_CHECKED;
    pl3::TypeDialogText(dialog, kDimensionerLabelEdit, std::string(256, 'x').c_str());
    pl3::ClickDialogButton(dialog, IDOK);
    pl3::TypeDialogText(dialog, kDimensionerLabelEdit, std::string(255, 'y').c_str());
    pl3::ClickDialogButton(dialog, kDimensionerThouButton);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  DimensionerLabelValues values;
  values.unit = kDimensionerMillimetre;
  EXPECT_EQ(RunDimensionerLabelDialog(kDimensionerLabelDialog, nullptr, &values), 1);
  EXPECT_EQ(offered, "@dim");
  EXPECT_TRUE(millimetreChecked);
  ASSERT_NE(values.text, nullptr);
  EXPECT_EQ(std::string(values.text), std::string(255, 'y'));
  EXPECT_EQ(values.unit, kDimensionerThou);
  std::free(values.text);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "You may only specify string less than 256 characters long!");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Error");
}

TEST_F(DimensionerTower, LabelCommandStoresTemplateAndUnitOnOk) {
  Tower* t = AddDimensioner(Type_AngleDimensioner, Line({0, 0}, {1, 1}, {0, 0}, kDimensionerDegrees), "old @dim");
  static std::string offered;
  pl3::SetDialogHook(kAngleDimensionerLabelDialog, [](HWND dialog) {
    char buffer[64] = {};
    GetDlgItemText(dialog, kDimensionerLabelEdit, buffer, sizeof buffer);
    offered = buffer;
    pl3::TypeDialogText(dialog, kDimensionerLabelEdit, "A = @dim");
    pl3::ClickDialogButton(dialog, kDimensionerRadiansButton);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  EditAngleDimensionerLabel(t);
  EXPECT_EQ(offered, "old @dim");
  bool present = false;
  EXPECT_EQ(GetDimensionerTemplate(t, &present), "A = @dim");
  EXPECT_TRUE(present);
  EXPECT_EQ(PayloadAt(t).unit, kDimensionerRadians);
  Tower* children = GetChildTower(t, kDimensionerTemplateCode);
  int count = 0;
  while (children && FindNextEntity(children)) ++count;
  ReleaseTower(&children);
  EXPECT_EQ(count, 1) << "the old template is replaced, not kept beside the new";
  ReleaseTower(&t);
}

TEST_F(DimensionerTower, CancelKeepsTheTemplateAndUnit) {
  Tower* t = AddDimensioner(Type_Dimensioner, Line({0, 0}, {1, 0}, {0, 9}, kDimensionerInch), "keep");
  pl3::SetDialogHook(kDimensionerLabelDialog, [](HWND dialog) {
    pl3::TypeDialogText(dialog, kDimensionerLabelEdit, "changed");
    pl3::ClickDialogButton(dialog, kDimensionerThouButton);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  EditDimensionerLabel(t);
  EXPECT_EQ(GetDimensionerTemplate(t, nullptr), "keep");
  EXPECT_EQ(PayloadAt(t).unit, kDimensionerInch);
  ReleaseTower(&t);
}

// ---- Drawing ----

bool Has(const std::vector<dimensionertest::DrawnTrack>& tracks, pl3::Point from, pl3::Point to) {
  for (const auto& t : tracks) {
    if ((t.from.x == from.x && t.from.y == from.y && t.to.x == to.x && t.to.y == to.y) ||
        (t.from.x == to.x && t.from.y == to.y && t.to.x == from.x && t.to.y == from.y)) {
      return true;
    }
  }
  return false;
}

TEST(DimensionerDrawing, InsideArrowsDrawTheWholeLineWithHeads) {
  DimensionerPayload d = Line({0, 0}, {36576000, 0}, {0, 9000000});
  d.labelPosition = {0, 90000000};  // far from the line
  DrawDimensioner(&d, nullptr, 0);
  const auto& tracks = Tracks();
  EXPECT_TRUE(Has(tracks, {0, 0}, {0, 9000000}));
  EXPECT_TRUE(Has(tracks, {36576000, 0}, {36576000, 9000000}));
  EXPECT_TRUE(Has(tracks, {0, 9000000}, {36576000, 9000000}));
  // The head at the low end: strokes of 2,880,000 turned 30 degrees either way.
  const std::int32_t along = pl3::MulFixedSigned(2880000, 0xDDB3D7);
  EXPECT_TRUE(Has(tracks, {0, 9000000}, {along, 9000000 + 1440000}));
  EXPECT_TRUE(Has(tracks, {0, 9000000}, {along, 9000000 - 1440000}));
  EXPECT_TRUE(Has(tracks, {36576000, 9000000}, {36576000 - along, 9000000 + 1440000}));
  for (const auto& t : tracks) EXPECT_EQ(t.width, 216000);
  EXPECT_EQ(tracks.size(), 7u);
}

TEST(DimensionerDrawing, OutsideArrowsDrawStubsAndNoLineBetween) {
  DimensionerPayload d = Line({1000, 0}, {0, 20000000}, {5000000, 20000000});  // equal? no: measures along y
  d = Line({0, 0}, {0, 20000000}, {5000000, 0});  // equal x: the line is vertical at x = 5,000,000
  d.options = kDimensionerArrowsOutside;
  d.labelPosition = {90000000, 0};
  DrawDimensioner(&d, nullptr, 24);
  const auto& tracks = Tracks();
  EXPECT_TRUE(Has(tracks, {5000000, -2194560}, {5000000, 0}));
  EXPECT_TRUE(Has(tracks, {5000000, 20000000}, {5000000, 20000000 + 2194560}));
  EXPECT_FALSE(Has(tracks, {5000000, 0}, {5000000, 20000000}));
  for (const auto& t : tracks) {
    const bool spans = std::min(t.from.y, t.to.y) < 10000000 && std::max(t.from.y, t.to.y) > 10000000 &&
                       t.from.x == 5000000 && t.to.x == 5000000;
    EXPECT_FALSE(spans) << "nothing is drawn across the middle of the span";
  }
  // The heads point inwards: their strokes run outwards from the ends.
  const std::int32_t along = pl3::MulFixedSigned(2880000, 0xDDB3D7);
  EXPECT_TRUE(Has(tracks, {5000000, 0}, {5000000 - 1440000, -along}) ||
              Has(tracks, {5000000, 0}, {5000000 + 1440000, -along}));
}

TEST(DimensionerDrawing, LineBreaksAroundANearbyLabel) {
  DimensionerPayload d = Line({0, 0}, {40000000, 0}, {0, 1000000});
  d.labelPosition = {20000000, 1000000 - 100};  // on the line: the box is 800 x 200
  DrawDimensioner(&d, nullptr, 0);
  const std::int32_t left = 20000000 - 365760, right = 20000000 + 900 + 365760;
  EXPECT_TRUE(Has(Tracks(), {0, 1000000}, {left, 1000000}));
  EXPECT_TRUE(Has(Tracks(), {right, 1000000}, {40000000, 1000000}));
  EXPECT_FALSE(Has(Tracks(), {0, 1000000}, {40000000, 1000000}));
}

TEST(DimensionerDrawing, PassesChooseTracksAndLabelStyle) {
  const struct {
    int pass;
    bool tracks;
    int style;
  } cases[] = {{0, true, 1}, {24, true, 1}, {37, true, 9}, {10, false, 3}, {17, false, 4}, {5, false, -1}};
  for (const auto& c : cases) {
    Tracks().clear();
    designatortest::Rendered().clear();
    DimensionerPayload d = Line({0, 0}, {36576000, 0}, {0, 1000}, kDimensionerInch);
    DrawDimensioner(&d, nullptr, c.pass);
    EXPECT_EQ(!Tracks().empty(), c.tracks) << c.pass;
    if (c.style < 0) {
      EXPECT_TRUE(designatortest::Rendered().empty()) << c.pass;
    } else {
      ASSERT_EQ(designatortest::Rendered().size(), 1u) << c.pass;
      EXPECT_EQ(designatortest::Rendered()[0].mode, c.style);
      EXPECT_EQ(designatortest::Rendered()[0].text, "1.00 inches");
    }
  }
}

TEST(DimensionerDrawing, AngleArmsArcAndHeads) {
  DimensionerPayload d{};
  d.c = {0, 0};
  d.a = {4000000, 0};
  d.b = {0, 1000000};  // B' is (0, 4,000,000)
  d.unit = kDimensionerDegrees;
  DrawAngleDimensioner(&d, nullptr, 0);
  EXPECT_TRUE(Has(Tracks(), {4000000, 0}, {0, 0}));
  EXPECT_TRUE(Has(Tracks(), {0, 0}, {0, 4000000}));
  EXPECT_EQ(Tracks().size(), 6u);
  EXPECT_EQ(dimensionertest::Arcs().size(), 1u);
  for (const auto& t : Tracks()) {
    if (t.to.x == 0 && t.to.y == 0) continue;
    const bool onArm = (t.from.x == 4000000 && t.from.y == 0) || (t.from.x == 0 && t.from.y == 0);
    if (!onArm) {
      const bool atThreeQuarters =
          (t.from.x == 3000000 && t.from.y == 0) || (t.from.x == 0 && t.from.y == 3000000);
      EXPECT_TRUE(atThreeQuarters) << t.from.x << "," << t.from.y;
    }
  }
  Tracks().clear();
  dimensionertest::Arcs().clear();
  d.b = {8000000, 0};  // B' on A: no arc
  DrawAngleDimensioner(&d, nullptr, 0);
  EXPECT_TRUE(dimensionertest::Arcs().empty());
}

// ---- Insertion ----

class DimensionerInsertion : public DimensionerTower {
 protected:
  void SetUp() override {
    DimensionerTower::SetUp();
    designatortest::SnapGrid() = 1000;
  }
  void TearDown() override {
    delete record;
    DimensionerTower::TearDown();
  }
  void Move(pl3::Point p) { MoveDimensionerInsertion(nullptr, record, p); }
  int Click() { return ClickDimensionerInsertion(nullptr, &record); }
  DimensionerPayload& D() { return record->as<DimensionerPayload>(); }
  EntityRecord* record = nullptr;
};

TEST_F(DimensionerInsertion, ArmingNeedsAnIdleWindow) {
  window->WalkFlags = 0x40;
  window->EditMode = 39;
  EXPECT_EQ(SetInsertDimensionerMode(), 0);
  EXPECT_EQ(window->WalkFlags, 0x40u);
  window->EditMode = 0;
  EXPECT_EQ(SetInsertAngleDimensionerMode(), 1);
  EXPECT_EQ(window->InsertType, 21);
  EXPECT_EQ(window->WalkFlags, 0u);
  EXPECT_EQ(SetInsertDimensionerMode(), 1);
  EXPECT_EQ(window->InsertType, 22);
}

TEST_F(DimensionerInsertion, FourClicksPlaceADimensioner) {
  ASSERT_EQ(BeginInsertDimensioner(nullptr, &record, {1400, 2600}), 1);
  EXPECT_EQ(window->EditMode, 75);
  EXPECT_EQ(D().a.x, 1000);
  EXPECT_EQ(D().a.y, 2000);
  EXPECT_EQ(D().head.layer, 40);
  EXPECT_EQ(D().unit, kDimensionerMillimetre);
  EXPECT_EQ(D().font, 3u);
  EXPECT_EQ(D().flags, kDimensionerTextByIndex);
  Move({5100, 2100});
  EXPECT_EQ(D().a.x, 5000);
  Click();
  EXPECT_EQ(window->EditMode, 76);
  const int beeps = pl3::BeepCount();
  Click();  // B still equals A
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(window->EditMode, 76);
  Move({9200, 2100});
  Click();
  EXPECT_EQ(window->EditMode, 77);
  Move({0, 7300});
  EXPECT_EQ(D().c.y, 7000);
  EXPECT_EQ(D().length, 4000u);
  Click();
  EXPECT_EQ(window->EditMode, 78);
  EXPECT_EQ(D().labelPosition.y, 7000);
  Move({3000, 8000});
  EXPECT_EQ(Click(), 1);
  EXPECT_EQ(record, nullptr);
  EXPECT_EQ(window->EditMode, 0);
  EXPECT_EQ(window->InsertType, 0);
  Tower* stored = GetChildTower(design, Type_Dimensioner);
  ASSERT_NE(stored, nullptr);
  ASSERT_NE(FindNextEntity(stored), nullptr);
  const auto* d = reinterpret_cast<const DimensionerPayload*>(TowerPayload(stored));
  EXPECT_EQ(d->a.x, 5000);
  EXPECT_EQ(d->b.x, 9000);
  EXPECT_EQ(d->length, 4000u);
  EXPECT_EQ(d->labelPosition.x, 3000);
  ReleaseTower(&stored);
  ASSERT_FALSE(dimensionertest::MenuKinds().empty());
  EXPECT_EQ(dimensionertest::MenuKinds().front(), 19u);
  EXPECT_EQ(dimensionertest::MenuKinds().back(), 0u);
}

TEST_F(DimensionerInsertion, AngleToolStartsAtTheVertex) {
  ASSERT_EQ(BeginInsertAngleDimensioner(nullptr, &record, {2000, 2000}), 1);
  EXPECT_EQ(window->EditMode, 81);
  EXPECT_EQ(D().unit, kDimensionerDegrees);
  EXPECT_EQ(D().c.x, 2000);
  Click();
  EXPECT_EQ(window->EditMode, 79);
  const int beeps = pl3::BeepCount();
  Click();  // A equals the vertex
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(window->EditMode, 79);
  Move({9000, 2000});
  Click();
  EXPECT_EQ(window->EditMode, 80);
  EXPECT_EQ(D().b.x, 9000);
  Move({2000, 9000});
  Click();
  EXPECT_EQ(window->EditMode, 82);
  EXPECT_EQ(D().labelPosition.y, 9000);
  EXPECT_EQ(dimensionertest::MenuKinds().front(), 20u);
  EXPECT_EQ(Click(), 1);
  Tower* stored = GetChildTower(design, Type_AngleDimensioner);
  ASSERT_NE(stored, nullptr);
  EXPECT_NE(FindNextEntity(stored), nullptr);
  ReleaseTower(&stored);
}

TEST_F(DimensionerInsertion, PointsSnapToHolesAndPads) {
  std::vector<std::uint8_t> hole(sizeof(HolePayload), 0);
  auto* h = reinterpret_cast<HolePayload*>(hole.data());
  h->hole.size1 = 1000;
  h->hole.size2 = 5000;
  h->hole.centreX = 10000;
  h->hole.centreY = 20000;
  Tower* holeTower = TowerOn(walktest::Insert(design, Type_Hole, hole));
  dimensionertest::ItemNearCursor() = holeTower;
  window->PickFilter = 0x3;
  const struct {
    pl3::Point cursor, snapped;
  } cases[] = {{{10500, 19500}, {10000, 20000}},   // within half the size on both axes
               {{10501, 20000}, {11000, 20000}},   // farther out: the centre plus the size
               {{9000, 18000}, {9000, 19000}}};
  for (const auto& c : cases) {
    pl3::Point p = c.cursor;
    SnapDimensionerPoint(&p.x, &p.y);
    EXPECT_EQ(p.x, c.snapped.x) << c.cursor.x << "," << c.cursor.y;
    EXPECT_EQ(p.y, c.snapped.y) << c.cursor.x << "," << c.cursor.y;
  }
  EXPECT_EQ(dimensionertest::SeenPickFilter(), 0x83u);
  EXPECT_EQ(window->PickFilter, 0x3u);

  Tower* pad = TowerOn(walktest::Insert(design, Type_PadStackInstanceInfo, walktest::Item(1)));
  dimensionertest::ItemNearCursor() = pad;
  dimensionertest::PadBox() = {0, 0, 4000, 8000};
  const struct {
    pl3::Point cursor, snapped;
  } pads[] = {{{900, 7000}, {0, 8000}}, {{2000, 3000}, {2000, 4000}}, {{3500, 1000}, {4000, 0}}};
  for (const auto& c : pads) {
    pl3::Point p = c.cursor;
    SnapDimensionerPoint(&p.x, &p.y);
    EXPECT_EQ(p.x, c.snapped.x) << c.cursor.x << "," << c.cursor.y;
    EXPECT_EQ(p.y, c.snapped.y) << c.cursor.x << "," << c.cursor.y;
  }

  // Any other item: the grid, unless the window overrides it.
  Tower* other = TowerOn(walktest::Insert(design, Type_Track, 5));
  dimensionertest::ItemNearCursor() = other;
  pl3::Point p{1234, 5678};
  SnapDimensionerPoint(&p.x, &p.y);
  EXPECT_EQ(p.x, 1000);
  EXPECT_EQ(p.y, 5000);
  window->WalkFlags = kGridOverride;
  p = {1234, 5678};
  SnapDimensionerPoint(&p.x, &p.y);
  EXPECT_EQ(p.x, 1234);
  dimensionertest::ItemNearCursor() = nullptr;
  ReleaseTower(&holeTower);
  ReleaseTower(&pad);
  ReleaseTower(&other);
}

TEST(DimensionerArrows, RotationsAreSetAndToggleFlipsTheBit) {
  EXPECT_EQ(ArrowheadRotations[0].a, 0xDDB3D7);
  EXPECT_EQ(ArrowheadRotations[0].b, 0x800000);
  EXPECT_EQ(ArrowheadRotations[1].b, static_cast<std::int32_t>(0xFF800000u));
  EXPECT_EQ(ArrowheadRotations[1].tx, 0);
  DimensionerPayload d = Line({0, 0}, {100, 0}, {0, 50});
  ToggleDimensionerArrows(nullptr, &d);
  EXPECT_EQ(d.options, kDimensionerArrowsOutside);
  ToggleDimensionerArrows(nullptr, &d);
  EXPECT_EQ(d.options, 0u);
}

}  // namespace
