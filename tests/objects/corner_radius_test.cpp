#include "objects/corner_radius.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "command_fixture.h"
#include "command_seam_fakes.h"
#include "geometry/arcs.h"
#include "objects/type_codes.h"
#include "platform/user.h"

using commandtest::Calls;
using editorfakes::calls;

namespace {

constexpr std::int32_t C = 1'000'000'000;  // the corner, inside the editable area
constexpr std::uint32_t R = 914'400;  // the corner radius setting at start (25 thou)

LinePayload Track(pl3::Point from, pl3::Point to, std::uint8_t layer, std::uint32_t sizeIndex) {
  LinePayload t{};
  t.head.layer = layer;
  t.head.sizeFlags = kSizeByIndex;
  t.head.sizeIndex = sizeIndex;
  t.head.netIds[0] = 77;
  t.head.transform = pl3::kIdentityTransform;
  t.width = 5000;
  t.x1 = from.x;
  t.y1 = from.y;
  t.x2 = to.x;
  t.y2 = to.y;
  return t;
}

using Bytes = std::vector<std::uint8_t>;

class CornerRadius : public commandtest::CommandTest {
 protected:
  void SetUp() override {
    commandtest::CommandTest::SetUp();
    window->UndoStep = 41;
  }
  CornerRecord Corner(const LinePayload& first, const LinePayload& second, const ArcPayload* arc = nullptr) {
    CornerRecord c{};
    c.first = first;
    c.second = second;
    c.firstTrack = Store(Type_Track, first);
    c.secondTrack = Store(Type_Track, second);
    if (arc) c.arc = Store(Type_Arc, *arc);
    return c;
  }
  // The stored payloads of a code, sorted, each cut to its layout's size.
  std::vector<Bytes> Payloads(std::uint16_t code, std::size_t size) {
    std::vector<Bytes> out;
    for (const Entity* e : Children(code)) out.emplace_back(EntityPayload(e), EntityPayload(e) + size);
    std::sort(out.begin(), out.end());
    return out;
  }
  std::vector<Bytes> Tracks() { return Payloads(Type_Track, sizeof(LinePayload)); }
  std::vector<Bytes> Arcs() { return Payloads(Type_Arc, sizeof(ArcPayload)); }
  static Bytes BytesOf(const LinePayload& t) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&t);
    return {p, p + sizeof t};
  }
  ArcPayload OnlyArc() {
    const auto arcs = Children(Type_Arc);
    EXPECT_EQ(arcs.size(), 1u);
    ArcPayload a{};
    if (!arcs.empty()) std::memcpy(&a, EntityPayload(arcs[0]), sizeof a);
    return a;
  }
};

TEST_F(CornerRadius, RightAngleIsShortenedByTheRadiusAndJoinedByAnArc) {
  const LinePayload east = Track({C, C}, {C + 10'000'000, C}, 1, 3);
  const LinePayload north = Track({C, C}, {C, C + 10'000'000}, 2, 4);
  CornerRecord corner = Corner(east, north);
  RadiusCorner(hwnd, &corner, R);

  LinePayload newEast = east, newNorth = north;
  newEast.x1 = C + static_cast<std::int32_t>(R);
  newNorth.y1 = C + static_cast<std::int32_t>(R);
  EXPECT_EQ(Tracks(), (std::vector<Bytes>{std::min(BytesOf(newEast), BytesOf(newNorth)),
                                         std::max(BytesOf(newEast), BytesOf(newNorth))}));

  const ArcPayload arc = OnlyArc();
  EXPECT_EQ(arc.head.layer, 1);  // track A's
  EXPECT_EQ(arc.head.spare, 0);
  EXPECT_EQ(arc.head.sizeFlags, kSizeByIndex);
  EXPECT_EQ(arc.head.sizeIndex, 3u);
  EXPECT_EQ(arc.head.netIds[0], 0u);
  EXPECT_EQ(arc.head.netIds[1], 0u);
  EXPECT_EQ(std::vector<int>(arc.head.marks, arc.head.marks + 4), (std::vector<int>{0, 0, 0, 1}));
  EXPECT_EQ(arc.head.reserved, 0u);
  EXPECT_EQ(std::memcmp(&arc.head.transform, &pl3::kIdentityTransform, sizeof(pl3::Transform)), 0);
  EXPECT_EQ(arc.width, 0);
  EXPECT_EQ(arc.radius, static_cast<std::int32_t>(R));
  EXPECT_EQ(arc.centreX, C + static_cast<std::int32_t>(R));  // r from each track, inside the corner
  EXPECT_EQ(arc.centreY, C + static_cast<std::int32_t>(R));
  EXPECT_EQ(arc.startX, -static_cast<std::int32_t>(R));  // to the tangent point on the north track
  EXPECT_EQ(arc.startY, 0);
  EXPECT_EQ(arc.endX, 0);  // to the tangent point on the east track
  EXPECT_EQ(arc.endY, -static_cast<std::int32_t>(R));
  ArcPayload prepared = arc;
  std::memset(reinterpret_cast<std::uint8_t*>(&prepared) + 80, 0, 36);
  pl3::PrepareArcEnds(&prepared);
  EXPECT_EQ(std::memcmp(&prepared, &arc, sizeof arc), 0) << "the draw state is computed";

  EXPECT_EQ(calls, (Calls{"undo insert 2 step 41", "display put 2", "undo insert 1 step 41", "display put 1",
                          "undo insert 1 step 41", "display put 1", "undo remove 1 step 41", "undo remove 1 step 41",
                          "display remove 1", "display remove 1", "caption 41 Radius Corner", "new step", "undo menu", "redraw"}));
  EXPECT_EQ(window->UndoStep, 100u);
  EXPECT_EQ(Children(Type_ModifiedNote).size(), 1u);

  // One undo step brings back the two old tracks and nothing else.
  commandfakes::UndoStep(41, design);
  EXPECT_EQ(Tracks(), (std::vector<Bytes>{std::min(BytesOf(east), BytesOf(north)), std::max(BytesOf(east), BytesOf(north))}));
  EXPECT_TRUE(Arcs().empty());
}

TEST_F(CornerRadius, TracksHandedOverTheOtherWayRoundGiveTheSameItems) {
  const LinePayload east = Track({C, C}, {C + 10'000'000, C}, 1, 3);
  const LinePayload north = Track({C, C}, {C, C + 10'000'000}, 2, 4);
  CornerRecord corner = Corner(east, north);
  RadiusCorner(hwnd, &corner, R);
  const auto tracks = Tracks();
  const auto arcs = Arcs();
  for (const Entity* e : Children(Type_Track)) DeleteEntity(Own(EntityToTower(design, const_cast<Entity*>(e), -1)));
  for (const Entity* e : Children(Type_Arc)) DeleteEntity(Own(EntityToTower(design, const_cast<Entity*>(e), -1)));

  CornerRecord reversed = Corner(north, east);
  RadiusCorner(hwnd, &reversed, R);
  EXPECT_EQ(Tracks(), tracks);
  EXPECT_EQ(Arcs(), arcs);
  // The payloads changed places, the Towers did not.
  EXPECT_EQ(reversed.first.x2, east.x2);
  EXPECT_EQ(reversed.second.y2, north.y2);
}

// The distance of a point from the line through the corner along (ux, uy).
double FromLine(double px, double py, double ux, double uy) { return std::fabs((px - C) * uy - (py - C) * ux); }

TEST_F(CornerRadius, ObliqueCornersTouchBothTracksAtTheRadius) {
  struct Leg {
    std::int32_t dx, dy;
  };
  // East with 60 degrees (handed over the long way round), and 60 with 150 degrees.
  const std::pair<Leg, Leg> corners[] = {{{10'000'000, 17'320'508}, {20'000'000, 0}},
                                         {{10'000'000, 17'320'508}, {-17'320'508, 10'000'000}}};
  const double r = 1'000'000;
  for (const auto& [first, second] : corners) {
    for (const Entity* e : Children(Type_Track)) DeleteEntity(Own(EntityToTower(design, const_cast<Entity*>(e), -1)));
    for (const Entity* e : Children(Type_Arc)) DeleteEntity(Own(EntityToTower(design, const_cast<Entity*>(e), -1)));
    CornerRecord corner = Corner(Track({C, C}, {C + first.dx, C + first.dy}, 1, 0),
                                 Track({C, C}, {C + second.dx, C + second.dy}, 1, 0));
    RadiusCorner(hwnd, &corner, 1'000'000);
    const ArcPayload arc = OnlyArc();
    // The centre lies r from both lines, and the arc's vectors reach the new first ends.
    for (const Leg& leg : {first, second}) {
      const double length = std::hypot(leg.dx, leg.dy);
      EXPECT_NEAR(FromLine(arc.centreX, arc.centreY, leg.dx / length, leg.dy / length), r, 2);
    }
    std::vector<pl3::Point> ends;
    for (const Entity* e : Children(Type_Track)) {
      LinePayload t;
      std::memcpy(&t, EntityPayload(e), sizeof t);
      ends.push_back({t.x1, t.y1});
    }
    ASSERT_EQ(ends.size(), 2u);
    auto near = [&](pl3::Point p, std::int32_t vx, std::int32_t vy) {
      return std::abs(p.x - (arc.centreX + vx)) <= 2 && std::abs(p.y - (arc.centreY + vy)) <= 2;
    };
    EXPECT_TRUE(near(ends[0], arc.startX, arc.startY) || near(ends[1], arc.startX, arc.startY));
    EXPECT_TRUE(near(ends[0], arc.endX, arc.endY) || near(ends[1], arc.endX, arc.endY));
    EXPECT_NEAR(std::hypot(arc.startX, arc.startY), r, 2);
    // The sweep runs from the start to the end vector the short way, anticlockwise.
    EXPECT_GT(static_cast<double>(arc.startX) * arc.endY - static_cast<double>(arc.startY) * arc.endX, 0);
  }
}

TEST_F(CornerRadius, ATrackExactlyTheRadiusLongIsRefusedOneLongerIsAccepted) {
  // At a right angle the constants make t a little above r.
  const LinePayload shortEast = Track({C, C}, {C + static_cast<std::int32_t>(R), C}, 1, 0);
  const LinePayload north = Track({C, C}, {C, C + 10'000'000}, 1, 0);
  CornerRecord corner = Corner(shortEast, north);
  const int beeps = pl3::BeepCount();
  RadiusCorner(hwnd, &corner, R);
  EXPECT_EQ(commandfakes::console, (std::vector<std::string>{"6 2 0 0 0: Corner is too small to radius."}));
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_TRUE(calls.empty()) << "no undo, display list or redraw";
  EXPECT_EQ(Tracks().size(), 2u);
  EXPECT_TRUE(Arcs().empty());
  EXPECT_EQ(window->UndoStep, 41u);

  const LinePayload east = Track({C, C}, {C + static_cast<std::int32_t>(R) + 1, C}, 1, 0);
  CornerRecord longer = Corner(east, north);
  RadiusCorner(hwnd, &longer, R);
  EXPECT_EQ(Arcs().size(), 1u);
}

TEST_F(CornerRadius, TracksLeavingInOneDirectionOrWithoutLengthAreRefused) {
  const LinePayload a = Track({C, C}, {C + 10'000'000, C}, 1, 0);
  const LinePayload b = Track({C, C}, {C + 20'000'000, C}, 1, 0);
  CornerRecord same = Corner(a, b);
  RadiusCorner(hwnd, &same, R);
  const LinePayload dot = Track({C, C}, {C, C}, 1, 0);
  CornerRecord none = Corner(a, dot);
  RadiusCorner(hwnd, &none, 0);
  EXPECT_EQ(commandfakes::console.size(), 2u);
  EXPECT_TRUE(Arcs().empty());
  EXPECT_EQ(Tracks().size(), 4u);
}

class CornerUnradius : public CornerRadius {
 protected:
  // The rounded right angle that RadiusCorner makes at (C, C).
  CornerRecord Rounded(pl3::Point corner = {C, C}) {
    const LinePayload east = Track({corner.x + 914'400, corner.y}, {corner.x + 10'000'000, corner.y}, 1, 3);
    const LinePayload north = Track({corner.x, corner.y + 914'400}, {corner.x, corner.y + 10'000'000}, 2, 4);
    ArcPayload arc{};
    arc.radius = 914'400;
    arc.centreX = corner.x + 914'400;
    arc.centreY = corner.y + 914'400;
    return Corner(east, north, &arc);
  }
};

TEST_F(CornerUnradius, TheTracksMeetAgainAtTheCornerAsOneUndoStep) {
  CornerRecord corner = Rounded();
  const auto before = Tracks();
  const auto arcs = Arcs();
  UnradiusCorner(hwnd, &corner);
  LinePayload east = corner.first, north = corner.second;
  east.x1 = C;
  north.y1 = C;
  EXPECT_EQ(Tracks(), (std::vector<Bytes>{std::min(BytesOf(east), BytesOf(north)), std::max(BytesOf(east), BytesOf(north))}));
  EXPECT_TRUE(Arcs().empty());
  EXPECT_EQ(calls, (Calls{"undo insert 1 step 41", "display put 1", "undo insert 1 step 41", "display put 1",
                          "undo remove 1 step 41", "undo remove 1 step 41", "undo remove 2 step 41", "display remove 1",
                          "display remove 1", "display remove 2", "caption 41 Unradius Corner", "new step", "undo menu", "redraw"}));
  EXPECT_EQ(window->UndoStep, 100u);
  commandfakes::UndoStep(41, design);
  EXPECT_EQ(Tracks(), before);
  EXPECT_EQ(Arcs(), arcs);
}

TEST_F(CornerUnradius, RadiusThenUnradiusGivesBackTheSharpCorner) {
  const LinePayload east = Track({C, C}, {C + 10'000'000, C}, 1, 3);
  const LinePayload north = Track({C, C}, {C, C + 10'000'000}, 2, 4);
  CornerRecord sharp = Corner(east, north);
  RadiusCorner(hwnd, &sharp, R);
  // The corner as the finder would hand it over now.
  CornerRecord rounded{};
  for (const Entity* e : Children(Type_Track)) {
    LinePayload t;
    std::memcpy(&t, EntityPayload(e), sizeof t);
    Tower* on = Own(EntityToTower(design, const_cast<Entity*>(e), -1));
    if (t.y1 == C) {
      rounded.first = t;
      rounded.firstTrack = on;
    } else {
      rounded.second = t;
      rounded.secondTrack = on;
    }
  }
  rounded.arc = Own(EntityToTower(design, const_cast<Entity*>(Children(Type_Arc)[0]), -1));
  UnradiusCorner(hwnd, &rounded);
  EXPECT_EQ(Tracks(), (std::vector<Bytes>{std::min(BytesOf(east), BytesOf(north)), std::max(BytesOf(east), BytesOf(north))}));
  EXPECT_TRUE(Arcs().empty());
}

TEST_F(CornerUnradius, ParallelTracksAndCrossingsWithinATrackChangeNothing) {
  ArcPayload arc{};
  const LinePayload low = Track({C + 1'000'000, C}, {C + 9'000'000, C}, 1, 0);
  const LinePayload high = Track({C + 1'000'000, C + 2'000'000}, {C + 9'000'000, C + 2'000'000}, 1, 0);
  CornerRecord parallel = Corner(low, high, &arc);
  UnradiusCorner(hwnd, &parallel);
  // The second track's line crosses the first track between its ends.
  const LinePayload across = Track({C + 5'000'000, C + 1'000'000}, {C + 5'000'000, C + 9'000'000}, 1, 0);
  CornerRecord within = Corner(low, across, &arc);
  const int beeps = pl3::BeepCount();
  UnradiusCorner(hwnd, &within);
  // And the first track's line crossing the second track between its ends.
  CornerRecord withinSecond = Corner(across, low, &arc);
  UnradiusCorner(hwnd, &withinSecond);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(pl3::BeepCount(), beeps);
  EXPECT_EQ(Tracks().size(), 6u);
  EXPECT_EQ(Arcs().size(), 3u);
}

TEST_F(CornerUnradius, ACornerOutsideTheEditableAreaOnlyBeeps) {
  CornerRecord corner = Rounded({182'880'000 - 1, C});
  const int beeps = pl3::BeepCount();
  UnradiusCorner(hwnd, &corner);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(Arcs().size(), 1u);
  // On the bound itself it is made.
  CornerRecord onBound = Rounded({182'880'000, C + 20'000'000});
  UnradiusCorner(hwnd, &onBound);
  EXPECT_EQ(Arcs().size(), 1u);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
}

}  // namespace
