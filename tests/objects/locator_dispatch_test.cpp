#include <gtest/gtest.h>

#include <vector>

#include "edit/window_data.h"
#include "objects/locator_dispatch.h"
#include "objects/walker.h"
#include "platform/user.h"

namespace {

using pl3::R0;
using pl3::R180;
using pl3::R270;
using pl3::R90;
using pl3::Transform;

// A rotation that is none of the four quarter turns (30 degrees).
constexpr Transform kSkewed = {14529495, 8388608, -8388608, 14529495, 0, 0};

LocatorPayload Locator(std::uint16_t kind, const Transform& rotation = R0) {
  LocatorPayload p{};
  p.kind = kind;
  p.head.transform = rotation;
  return p;
}

int TurnIndex(const Transform& t) {
  const Transform* turns[] = {&R0, &R90, &R180, &R270};
  for (int i = 0; i < 4; ++i)
    if (SameRotation(t, *turns[i])) return i;
  return -1;
}

TEST(LocatorKinds, NamesAndMenuKinds) {
  EXPECT_STREQ(GetLocatorKindName(1), "Pin Number");
  EXPECT_STREQ(GetLocatorKindName(14), "User");
  EXPECT_STREQ(GetLocatorKindName(17), "Display Global Nets");
  // A damaged kind never reaches past the table: a plain kind with no name.
  for (std::uint32_t bad : {18u, 0xFFFFu, 0xFFFFFFFFu}) {
    EXPECT_STREQ(GetLocatorKindName(bad), "") << bad;
    EXPECT_EQ(IsHandledLocatorKind(bad), 0) << bad;
    EXPECT_EQ(LocatorMenuKind(bad), 30u) << bad;
  }
  struct Case { std::uint32_t kind, menu; int handled; };
  for (auto c : {Case{1, 23, 1}, Case{2, 30, 0}, Case{3, 27, 1}, Case{4, 22, 1}, Case{5, 30, 0}, Case{6, 24, 1},
                 Case{9, 25, 1}, Case{10, 26, 1}, Case{12, 30, 0}, Case{13, 29, 1}, Case{14, 28, 1},
                 Case{15, 33, 1}, Case{16, 39, 1}, Case{17, 38, 1}, Case{0, 30, 0}}) {
    EXPECT_EQ(LocatorMenuKind(c.kind), c.menu) << c.kind;
    EXPECT_EQ(IsHandledLocatorKind(c.kind), c.handled) << c.kind;
  }
  for (std::uint32_t k : {6u, 9u, 13u, 15u, 17u}) EXPECT_EQ(LocatorKindKeepsDefaults(k), 0) << k;
  for (std::uint32_t k : {0u, 1u, 3u, 4u, 10u, 14u, 16u}) EXPECT_EQ(LocatorKindKeepsDefaults(k), 1) << k;
}

TEST(RotateLocatorText, StepsQuarterTurnsBothWays) {
  LocatorPayload p = Locator(kLocatorPinNumber);
  p.head.transform.tx = 777;  // a stray translation is dropped: the rotations are pure turns
  std::vector<int> forward, back;
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(RotateLocatorText(&p, 0), 1);
    forward.push_back(TurnIndex(p.head.transform));
  }
  EXPECT_EQ(forward, (std::vector<int>{1, 2, 3, 0}));
  EXPECT_EQ(p.head.transform.tx, 0);
  for (int i = 0; i < 4; ++i) {
    RotateLocatorText(&p, 5);
    back.push_back(TurnIndex(p.head.transform));
  }
  EXPECT_EQ(back, (std::vector<int>{3, 2, 1, 0}));
  // An unknown rotation counts as R90.
  LocatorPayload skew = Locator(kLocatorValue, kSkewed);
  RotateLocatorText(&skew, 0);
  EXPECT_EQ(TurnIndex(skew.head.transform), 2);
}

TEST(RotateLocatorText, PlainKindsBeepAndStay) {
  for (std::uint16_t kind : {kLocatorFunctionName, kLocatorDesignatorName, std::uint16_t{40}}) {
    LocatorPayload p = Locator(kind, R180);
    int beeps = pl3::BeepCount();
    EXPECT_EQ(RotateLocatorText(&p, 0), 0);
    EXPECT_EQ(NormaliseLocatorRotation(&p, R0), 0);
    EXPECT_EQ(pl3::BeepCount(), beeps + 2);
    EXPECT_EQ(TurnIndex(p.head.transform), 2);
  }
}

TEST(NormaliseLocatorRotation, Tables) {
  // {kind, rotation, placement, expected}; placement R90 is p = 0, anything else p = 1.
  struct Case { std::uint16_t kind; Transform rotation, placement, expected; };
  const Case cases[] = {
      {1, R0, R0, R90},        {1, R0, R90, R270},     {4, R270, R180, R0},   {6, R270, R90, R180},
      {9, R180, R270, R270},   {10, R180, R90, R90},   {17, kSkewed, R0, R180}, {16, kSkewed, R90, R0},
      {13, R0, R0, R270},      {13, R0, R90, R90},     {13, R270, R0, R180},  {13, R270, R90, R0},
      {13, R180, R180, R90},   {13, R180, R90, R270},  {13, kSkewed, R0, R0}, {13, R90, R90, R180},
      {15, R0, kSkewed, R90},
  };
  for (const Case& c : cases) {
    LocatorPayload p = Locator(c.kind, c.rotation);
    ASSERT_EQ(NormaliseLocatorRotation(&p, c.placement), 1);
    EXPECT_EQ(TurnIndex(p.head.transform), TurnIndex(c.expected)) << "kind " << c.kind;
  }
}

TEST(TextOrientation, JustificationAnchorAndReadability) {
  EXPECT_EQ(AdjustJustificationForTransform(R180, 4 | 16), 8u);
  EXPECT_EQ(AdjustJustificationForTransform(R90, 8 | 32), 4u);
  EXPECT_EQ(AdjustJustificationForTransform(R90, 16 | 32), 32u);
  EXPECT_EQ(AdjustJustificationForTransform(R180, 32), 16u);
  EXPECT_EQ(AdjustJustificationForTransform(R180, 0x41), 0x41u);  // none of the four bits
  EXPECT_EQ(AdjustJustificationForTransform(R0, 4 | 16), 20u);
  EXPECT_EQ(AdjustJustificationForTransform(R270, 8), 8u);

  EXPECT_EQ(GetTextAnchorForTransform(R90), 8u);
  EXPECT_EQ(GetTextAnchorForTransform(R180), 8u);
  EXPECT_EQ(GetTextAnchorForTransform(R270), 4u);
  EXPECT_EQ(GetTextAnchorForTransform(R0), 4u);

  Transform placed90 = R90;
  placed90.tx = 5000;  // a placement's translation does not matter
  Transform out{};
  GetReadableTextTransform(&out, placed90);
  EXPECT_EQ(TurnIndex(out), 3);
  GetReadableTextTransform(&out, R180);
  EXPECT_EQ(TurnIndex(out), 0);
  EXPECT_EQ(IsVerticalTransform(R270), 1);
  EXPECT_EQ(IsVerticalTransform(R180), 0);
  EXPECT_EQ(IsVerticalTransform(kSkewed), 0);
}

TEST(TranslateLocator, WholeMoveAndTextDragReach) {
  LocatorPayload p = Locator(kLocatorPinNumber);
  p.x = 1000, p.y = 2000, p.textX = 1500, p.textY = 2500;
  EXPECT_EQ(TranslateLocator(&p, {10, -20}, 0), 1);
  EXPECT_EQ(p.x, 1010);
  EXPECT_EQ(p.y, 1980);
  EXPECT_EQ(p.textX, 1510);
  EXPECT_EQ(p.textY, 2480);

  CurrentWindowData window{};
  ActiveWindowData = &window;
  WalkHandlers.snapXY = [](std::int32_t* x, std::int32_t* y, int) {
    *x = *x / 100 * 100;
    *y = *y / 100 * 100;
  };
  // Exactly one inch from the anchor: the text follows the snapped cursor.
  window.Cursor = {1010 + 36576000, 1980};
  EXPECT_EQ(TranslateLocator(&p, {0, 0}, 11), 1);
  EXPECT_EQ(p.textX, 36577000);
  EXPECT_EQ(p.textY, 1900);
  EXPECT_EQ(p.x, 1010);  // the anchor stays
  // One unit farther, on a diagonal: nothing moves.
  window.Cursor = {1010 + 25863200, 1980 + 25863200};
  EXPECT_EQ(TranslateLocator(&p, {0, 0}, 11), 0);
  EXPECT_EQ(p.textX, 36577000);
  window.Cursor = {1010 + 36576001, 1980};
  EXPECT_EQ(TranslateLocator(&p, {0, 0}, 11), 0);
  EXPECT_EQ(p.textY, 1900);
  WalkHandlers = {};
  ActiveWindowData = nullptr;
}

TEST(LocatorGeometry, PointInBoxAndCornerDistance) {
  EXPECT_EQ(IsPointInBox(10, 10, 0, 0, 0, 10), 1);
  EXPECT_EQ(IsPointInBox(10, 10, 0, 0, 5, 5), 1);
  EXPECT_EQ(IsPointInBox(10, 10, 0, 0, 11, 5), 0);
  EXPECT_EQ(IsPointInBox(0, 0, 10, 10, 5, -1), 0);
  std::int32_t record[4] = {0, 0, 3, 4};
  EXPECT_EQ(DistanceToCorner(record, 0, 0), 5);
  EXPECT_EQ(DistanceToCorner(record, 4, 5), 1);  // sqrt 2 truncated
}

}  // namespace

namespace {

TEST(LocatorDefaults, OnlyKeepingKindsSetAndTakeThem) {
  LocatorPayload designator = Locator(kLocatorDesignator, R90);
  designator.style1 = 32, designator.style2 = 8;
  LocatorPayload pinName = Locator(kLocatorPinName, R270);
  pinName.style1 = 16 | 0x100;  // only the justification bits are kept
  pinName.style2 = 4 | 0x200;
  RememberLocatorDefaults(&pinName);
  RememberLocatorDefaults(&designator);  // a designator does not keep its own
  LocatorPayload value = Locator(kLocatorValue);
  ApplyLocatorDefaults(&value);
  EXPECT_EQ(value.style1, 16u);
  EXPECT_EQ(value.style2, 4u);
  EXPECT_EQ(TurnIndex(value.head.transform), 3);
  LocatorPayload port = Locator(kLocatorIOPort, R180);
  ApplyLocatorDefaults(&port);
  EXPECT_EQ(TurnIndex(port.head.transform), 2);
  EXPECT_EQ(port.style1, 0u);
}

}  // namespace
