// Attribute locators (type 20): the kind names, the menu kind of each kind,
// the four text rotations and the rules that keep a locator's text readable
// under a placement, and moving a locator or its text.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "objects/graphic_records.h"

// LocatorKind values that the code names.
constexpr std::uint16_t kLocatorUser = 0;
constexpr std::uint16_t kLocatorPinNumber = 1;
constexpr std::uint16_t kLocatorDesignatorName = 2;
constexpr std::uint16_t kLocatorNetName = 3;
constexpr std::uint16_t kLocatorPinName = 4;
constexpr std::uint16_t kLocatorFunctionName = 5;
constexpr std::uint16_t kLocatorDesignator = 6;
constexpr std::uint16_t kLocatorIOPort = 9;
constexpr std::uint16_t kLocatorValue = 10;
constexpr std::uint16_t kLocatorGraphicNetName = 13;
constexpr std::uint16_t kLocatorUserAttribute = 14;
constexpr std::uint16_t kLocatorNamedIOPort = 15;
constexpr std::uint16_t kLocatorDisplayNetName = 16;
constexpr std::uint16_t kLocatorDisplayGlobalNets = 17;
constexpr std::uint16_t kLocatorKindCount = 18;

// The display name of a kind; a kind outside the table (a damaged file) has
// the empty name.
const char* GetLocatorKindName(std::uint32_t kind);
// 1 for the kinds with handlers of their own (1, 3, 4, 6, 9, 10, 13 to 17);
// the others, and kinds outside the table, are plain kinds.
int IsHandledLocatorKind(std::uint32_t kind);
// The selection-menu kind built while a locator of the kind is placed.
std::uint32_t LocatorMenuKind(std::uint32_t kind);
// 1 when the placing defaults (justification, rotation) follow a locator of the kind.
int LocatorKindKeepsDefaults(std::uint32_t kind);

// Compares the four linear words of two transforms.
bool SameRotation(const pl3::Transform& a, const pl3::Transform& b);

// Steps the locator's rotation a quarter turn (direction 0 anticlockwise:
// R0, R90, R180, R270; any other the reverse). A rotation that is none of
// R0, R180 and R270 counts as R90. Returns 1 when rotated; a plain kind
// beeps and returns 0.
int RotateLocatorText(LocatorPayload* locator, int direction);

// Sets the rotation with which the locator is measured under a placement.
// Returns 1 when set; a plain kind beeps and returns 0.
int NormaliseLocatorRotation(LocatorPayload* locator, const pl3::Transform& placement);

// The justification mirrored for text drawn under R90 or R180: the first bit
// present of 4, 8, 16, 32 turns into its opposite (4 and 8, 16 and 32) and
// is returned alone; otherwise the justification unchanged.
std::uint32_t AdjustJustificationForTransform(const pl3::Transform& rotation, std::uint32_t justification);
// 8 (right) under R90 or R180, else 4 (left).
std::uint32_t GetTextAnchorForTransform(const pl3::Transform& rotation);
// R270 when the placement's rotation is R90 or R270, else the identity.
void GetReadableTextTransform(pl3::Transform* result, const pl3::Transform& placement);
// 1 when the rotation is R90 or R270.
int IsVerticalTransform(const pl3::Transform& rotation);

// The text drag's reach: the anchor must lie within one inch of the cursor.
constexpr std::int64_t kLocatorTextDragReach = 36576000;

// Moves a locator: part 0 moves the anchor and the text point by the delta;
// part 11 puts the text point on the active window's cursor, snapped to the
// grid, when the anchor lies within one inch of the cursor (inclusive).
// Returns 1 when something moved.
int TranslateLocator(LocatorPayload* locator, pl3::Point delta, int part);

// 1 when (px, py) lies in the rectangle of the two corners, bounds included.
int IsPointInBox(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t px,
                 std::int32_t py);
// The distance from (x, y) to the point in words 2 and 3 of a record, truncated.
std::int32_t DistanceToCorner(const std::int32_t* record, std::int32_t x, std::int32_t y);

struct Tower;

// The point of a target box a leader line runs to from (x, y): per axis the
// nearest of the low edge, the centre and the high edge (the centre on a tie).
pl3::Point LeaderTargetPoint(const pl3::Box& box, std::int32_t x, std::int32_t y);

// The drag of a Designator, Value, User, Display Net Name or Display Global
// Nets locator in a schematic: the delta is turned by the rotation of the
// locator's parent (another locator's rotation, or a schematic symbol's
// Transform child) and moves the anchor. Returns 1 when the locator moved.
int MoveLocatorWithItem(const Tower* locator, pl3::Point delta);

// The attribute (type 31) of a kind under the first Symbol Pin whose Origin
// is (x, y): a new Tower on it, or null.
Tower* FindPinAttributeAt(const Tower* symbol, std::int32_t x, std::int32_t y, std::uint32_t kind);
// 1 when some Symbol Pin of the symbol has its Origin at (x, y).
int HasPinAt(const Tower* symbol, std::int32_t x, std::int32_t y);
// Deletes every package gate record (11026) under the entity.
void DeletePackageGateRecords(const Tower* t);

// The kind of the entity a Tower stands on: the LocatorKind of an attribute
// locator, the kind word of an Attribute, 0 for anything else (or a record
// too short to hold it).
std::uint32_t GetAttributeKind(const Tower* t);

// The justification and rotation of the last stored locator of a kind that
// keeps them; a new locator of such a kind starts with them.
struct LocatorPlacingDefaults {
  std::uint32_t vertical = 0;    // 16 top, 32 bottom
  std::uint32_t horizontal = 0;  // 4 left, 8 right
  pl3::Transform rotation = pl3::R0;
};
extern LocatorPlacingDefaults LastLocatorDefaults;
// Keeps the locator's justification and rotation when its kind keeps them.
void RememberLocatorDefaults(const LocatorPayload* locator);
// Gives a new locator of a keeping kind the kept justification and rotation.
void ApplyLocatorDefaults(LocatorPayload* locator);
