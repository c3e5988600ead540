// Typed angles: the three "Enter New Angle" dialogs, reading and checking
// the typed text, combining it with the item's current angle, and the
// conversions between angles (degrees) and Transforms.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/user.h"

// How a typed angle meets the current one.
constexpr std::int32_t kAngleOverride = 0;  // the typed angle replaces the current one
constexpr std::int32_t kAngleCombine = 1;   // the typed angle is added to the current one

// The block the angle dialogs read and fill; owned by the command.
struct AngleDialogBlock {
  std::int32_t mirrored;  // only dialog 1005 ("Mirrored") reads and writes it
  std::int32_t mode;      // kAngleOverride or kAngleCombine
  double currentAngle;    // degrees
  double newAngle;        // degrees
};
static_assert(sizeof(AngleDialogBlock) == 24);

// The three dialogs, all captioned "Enter New Angle".
constexpr int kAngleOnlyDialog = 1003;    // the new angle alone
constexpr int kAngleDialog = 152;         // current and new angle, combine or override
constexpr int kAngleMirrorDialog = 1005;  // as 152 with the "Mirrored" box
constexpr int kCurrentAngleEdit = 360;
constexpr int kNewAngleEdit = 361;
constexpr int kCombineAngleRadio = 362;
constexpr int kOverrideAngleRadio = 363;
constexpr int kMirroredCheck = 3043;

// The mode chosen last in an angle dialog; preset in the next one.
extern std::int32_t RememberedAngleMode;

// Reads a typed angle. Only digits, full stops, minus signs and spaces are
// taken; leading spaces and minus signs are skipped and any minus makes the
// angle negative. A value above 360, or a text with no digit, is invalid
// (*valid = 0). The result is v for a negative angle and 360 - v otherwise,
// rounded to two decimals (360 itself counts as 0).
double ParseAngleText(const char* text, int* valid);

// The angle of the Transform's first row in degrees, in [0, 360).
double GetTransformAngle(const pl3::Transform& transform);
// The rotation by the angle: a = d = cos, b = sin, c = -sin, each times 2^24
// and truncated; no translation.
void MakeRotationTransform(double degrees, pl3::Transform* out);
// Splits a Transform into its mirroring and the rest: 1 (both composed with
// the mirror about the y axis) when d is not 0 and a / d (integer quotient)
// is below 1, else 0 with the identity and a copy.
int MakeAngleTransform(const pl3::Transform& transform, pl3::Transform* mirrorPart, pl3::Transform* rest);

// Where a typed angle takes the item: false when nothing is to happen
// (override with the current angle, combine with 0); else *target in [0, 360).
bool ResolveAngleTarget(const AngleDialogBlock& block, double* target);
// The dialog a command shows for an item at the current angle: 1003 when the
// angle is exactly 0 or the item has no Transform, else 152.
int AngleDialogFor(bool hasTransform, double currentAngle);

// Runs dialog 1003, 152 or 1005 over the block; 1 on OK (the block holds the
// mode, the new angle and, for 1005, the box), 0 on Cancel (the block and the
// remembered mode unchanged).
int ShowAngleDialog(HWND owner, int dialogId, AngleDialogBlock* block);
INT_PTR CALLBACK AngleDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
