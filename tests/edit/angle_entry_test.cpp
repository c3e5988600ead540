// Typed angles: reading the text, combining it with the current angle, the
// angle and rotation Transforms, and the three "Enter New Angle" dialogs.
#include "edit/angle_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"

namespace {

struct ParseCase {
  const char* text;
  bool valid;
  double newAngle;  // 360 - result, as the dialog stores it
};

class ParseAngle : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseAngle, ReadsOrRefusesTheText) {
  const ParseCase& c = GetParam();
  int valid = -1;
  const double result = ParseAngleText(c.text, &valid);
  EXPECT_EQ(valid, c.valid ? 1 : 0) << '"' << c.text << '"';
  if (c.valid) {
    EXPECT_NEAR(360.0 - result, c.newAngle, 1e-9) << '"' << c.text << '"';
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseAngle,
    testing::Values(ParseCase{"90", true, 90}, ParseCase{"-90", true, 270}, ParseCase{"360", true, 0},
                    ParseCase{"0", true, 0}, ParseCase{"-0", true, 360}, ParseCase{"  45", true, 45},
                    ParseCase{"12.345", true, 12.35}, ParseCase{"359.999", true, 360},
                    ParseCase{"400", false, 0}, ParseCase{"360.01", false, 0}, ParseCase{"-400", false, 0},
                    ParseCase{"12a", false, 0}, ParseCase{"1e2", false, 0}, ParseCase{"", false, 0},
                    ParseCase{"-", false, 0}, ParseCase{".", false, 0}, ParseCase{"   ", false, 0},
                    ParseCase{"4\xB5", false, 0}, ParseCase{"+5", false, 0}));

TEST(ParseAngle, AnOverLongTextOfDigitsIsRefusedNotWrapped) {
  const std::string text(5000, '9');
  int valid = 1;
  ParseAngleText(text.c_str(), &valid);
  EXPECT_EQ(valid, 0);
}

struct TransformCase {
  double degrees;
  pl3::Transform expected;
  double readBack;
};

class RotationTransform : public testing::TestWithParam<TransformCase> {};

TEST_P(RotationTransform, HasTheTruncatedWordsAndReadsBackItsAngle) {
  const TransformCase& c = GetParam();
  pl3::Transform t{};
  MakeRotationTransform(c.degrees, &t);
  EXPECT_EQ(t.a, c.expected.a);
  EXPECT_EQ(t.b, c.expected.b);
  EXPECT_EQ(t.c, c.expected.c);
  EXPECT_EQ(t.d, c.expected.d);
  EXPECT_EQ(t.tx, 0);
  EXPECT_EQ(t.ty, 0);
  EXPECT_NEAR(GetTransformAngle(t), c.readBack, 1e-4);
}

// cos 30 x 2^24 = 14529495.6..., sin 30 x 2^24 = 8388607.99... (both truncated).
INSTANTIATE_TEST_SUITE_P(
    Angles, RotationTransform,
    testing::Values(TransformCase{0, {16777216, 0, 0, 16777216, 0, 0}, 0},
                    TransformCase{30, {14529495, 8388607, -8388607, 14529495, 0, 0}, 30},
                    TransformCase{90, {0, 16777216, -16777216, 0, 0, 0}, 90},
                    TransformCase{180, {-16777216, 0, 0, -16777216, 0, 0}, 180},
                    TransformCase{270, {0, -16777216, 16777216, 0, 0, 0}, 270},
                    TransformCase{135, {-11863283, 11863283, -11863283, -11863283, 0, 0}, 135},
                    TransformCase{300, {8388608, -14529495, 14529495, 8388608, 0, 0}, 300}));

TEST(TransformAngle, ReadsEachBranchIntoTheHalfOpenCircle) {
  // |x| < 0.1 with y below zero: 360 - acos(x).
  EXPECT_NEAR(GetTransformAngle({1000000, -16000000, 0, 0, 0, 0}), 360.0 - 86.5829, 1e-3);
  // |y| < 0.1 and x negative: 180 - asin(y).
  EXPECT_NEAR(GetTransformAngle({-16777216, -1000000, 0, 0, 0, 0}), 183.4172, 1e-3);
  // Both large, x positive, y negative: atan(y / x) + 360.
  EXPECT_NEAR(GetTransformAngle({11863283, -11863283, 0, 0, 0, 0}), 315.0, 1e-4);
}

TEST(AngleTransform, KeepsTheMirroringApartFromTheAngle) {
  pl3::Transform mirror{}, rest{};
  pl3::Transform rotated{};
  MakeRotationTransform(90, &rotated);
  EXPECT_EQ(MakeAngleTransform(rotated, &mirror, &rest), 0) << "d = 0 is never mirrored";
  EXPECT_EQ(mirror.a, pl3::kFixedOne);
  EXPECT_EQ(rest.b, rotated.b);

  const pl3::Transform placedMirrored = {-pl3::kFixedOne, 0, 0, pl3::kFixedOne, 500, 700};
  EXPECT_EQ(MakeAngleTransform(placedMirrored, &mirror, &rest), 1);
  EXPECT_EQ(mirror.a, -pl3::kFixedOne);
  EXPECT_EQ(mirror.d, pl3::kFixedOne);
  EXPECT_EQ(rest.a, pl3::kFixedOne) << "the mirror taken out leaves no turn";
  EXPECT_EQ(rest.d, pl3::kFixedOne);
  EXPECT_NEAR(GetTransformAngle(rest), 0.0, 1e-9);

  pl3::Transform r30{};
  MakeRotationTransform(30, &r30);
  const pl3::Transform mirrored30 = {-r30.a, r30.b, -r30.c, r30.d, 0, 0};
  EXPECT_EQ(MakeAngleTransform(mirrored30, &mirror, &rest), 1);
  EXPECT_NEAR(GetTransformAngle(rest), 30.0, 1e-4);

  const pl3::Transform r180 = {-pl3::kFixedOne, 0, 0, -pl3::kFixedOne, 0, 0};
  EXPECT_EQ(MakeAngleTransform(r180, &mirror, &rest), 0) << "a / d = 1: a half turn is no mirror";
}

struct CombineCase {
  std::int32_t mode;
  double current;
  double typed;
  bool acts;
  double target;
};

class CombineAngle : public testing::TestWithParam<CombineCase> {};

TEST_P(CombineAngle, GivesTheTargetOrNothing) {
  const CombineCase& c = GetParam();
  const AngleDialogBlock block{0, c.mode, c.current, c.typed};
  double target = -1;
  EXPECT_EQ(ResolveAngleTarget(block, &target), c.acts);
  if (c.acts) {
    EXPECT_DOUBLE_EQ(target, c.target);
  }
}

INSTANTIATE_TEST_SUITE_P(Rules, CombineAngle,
                         testing::Values(CombineCase{kAngleCombine, 300, 90, true, 30},
                                         CombineCase{kAngleCombine, 45, 0, false, 0},
                                         CombineCase{kAngleCombine, 350, 370, true, 0},
                                         CombineCase{kAngleOverride, 45, 45, false, 0},
                                         CombineCase{kAngleOverride, 45, 90, true, 90},
                                         CombineCase{kAngleOverride, 45, 360, true, 0},
                                         CombineCase{kAngleOverride, 0, 0, false, 0}));

TEST(AngleDialogChoice, ShowsTheShortDialogForNoAngleOrNoTransform) {
  EXPECT_EQ(AngleDialogFor(true, 0.0), kAngleOnlyDialog);
  EXPECT_EQ(AngleDialogFor(false, 45.0), kAngleOnlyDialog);
  EXPECT_EQ(AngleDialogFor(true, 0.01), kAngleDialog);
}

class AngleDialogs : public testing::Test {
 protected:
  void TearDown() override { pl3::ClearDialogHooks(); }
  static std::string Text(HWND dialog, int id) {
    char buffer[64] = {};
    GetDlgItemText(dialog, id, buffer, sizeof buffer);
    return buffer;
  }
};

TEST_F(AngleDialogs, CombineDialogShowsRoundedCurrentAngleAndRemembersTheMode) {
  static std::string caption, current, typed;
  static UINT combineChecked = 0;
  pl3::SetDialogHook(kAngleDialog, [](HWND dialog) {
    char buffer[64] = {};
    GetWindowText(dialog, buffer, sizeof buffer);
    caption = buffer;
    current = Text(dialog, kCurrentAngleEdit);
    typed = Text(dialog, kNewAngleEdit);
    combineChecked = IsDlgButtonChecked(dialog, kCombineAngleRadio);
    pl3::TypeDialogText(dialog, kNewAngleEdit, "90");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  RememberedAngleMode = kAngleCombine;
  AngleDialogBlock block{0, 0, 299.996, 0};
  ASSERT_EQ(ShowAngleDialog(nullptr, kAngleDialog, &block), 1);
  EXPECT_EQ(caption, "Enter New Angle");
  EXPECT_EQ(current, "300.00");
  EXPECT_EQ(typed, "0.00") << "combining starts from no turn";
  EXPECT_EQ(combineChecked, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(block.mode, kAngleCombine);
  EXPECT_DOUBLE_EQ(block.currentAngle, 300.0);
  EXPECT_DOUBLE_EQ(block.newAngle, 90.0);
  double target = 0;
  ASSERT_TRUE(ResolveAngleTarget(block, &target));
  EXPECT_DOUBLE_EQ(target, 30.0);
}

TEST_F(AngleDialogs, InvalidTextKeepsTheDialogOpenWithTheMessage) {
  pl3::ClearResponderRecords();
  pl3::SetDialogHook(kAngleOnlyDialog, [](HWND dialog) {
    pl3::TypeDialogText(dialog, kNewAngleEdit, "400");
    pl3::ClickDialogButton(dialog, IDOK);
    pl3::TypeDialogText(dialog, kNewAngleEdit, "-90");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  RememberedAngleMode = kAngleCombine;
  AngleDialogBlock block{0, kAngleCombine, 0, 0};
  ASSERT_EQ(ShowAngleDialog(nullptr, kAngleOnlyDialog, &block), 1);
  EXPECT_DOUBLE_EQ(block.newAngle, 270.0);
  EXPECT_EQ(block.mode, kAngleOverride) << "the short dialog always overrides";
  EXPECT_EQ(RememberedAngleMode, kAngleOverride);
  const auto& records = pl3::ResponderRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].text, "The angle \"400\" is not valid. Please enter an angle between 0 and 360.");
  EXPECT_EQ(records[0].caption, "Enter Angle");
}

TEST_F(AngleDialogs, CancelChangesNeitherTheBlockNorTheRememberedMode) {
  pl3::SetDialogHook(kAngleDialog, [](HWND dialog) {
    pl3::SetDialogCheck(dialog, kOverrideAngleRadio, true);
    pl3::TypeDialogText(dialog, kNewAngleEdit, "10");
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  RememberedAngleMode = kAngleCombine;
  AngleDialogBlock block{0, kAngleCombine, 20, 5};
  EXPECT_EQ(ShowAngleDialog(nullptr, kAngleDialog, &block), 0);
  EXPECT_EQ(RememberedAngleMode, kAngleCombine);
  EXPECT_DOUBLE_EQ(block.newAngle, 5.0);
  EXPECT_DOUBLE_EQ(block.currentAngle, 20.0);
}

TEST_F(AngleDialogs, MirrorDialogPresetsAndReturnsTheBox) {
  static UINT preset = 0;
  static std::string typed;
  pl3::SetDialogHook(kAngleMirrorDialog, [](HWND dialog) {
    preset = IsDlgButtonChecked(dialog, kMirroredCheck);
    typed = Text(dialog, kNewAngleEdit);
    pl3::SetDialogCheck(dialog, kMirroredCheck, false);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  RememberedAngleMode = kAngleOverride;
  AngleDialogBlock block{1, 0, 45, 0};
  ASSERT_EQ(ShowAngleDialog(nullptr, kAngleMirrorDialog, &block), 1);
  EXPECT_EQ(preset, static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(typed, "45.00") << "overriding starts from the current angle";
  EXPECT_EQ(block.mirrored, 0);
  double target = 0;
  EXPECT_FALSE(ResolveAngleTarget(block, &target)) << "OK on the current angle changes nothing";
}

}  // namespace
