// Attribute locators (type 20): the kind names, the menu kind of each kind,
// the four text rotations and the rules that keep a locator's text readable
// under a placement, and moving a locator or its text.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

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

// ---- Placing and the dispatch by kind ----------------------------------------

// The kind of the locator the next insertion places.
extern std::uint16_t PendingLocatorKind;

// Arms the insertion of a locator of the kind when no edit mode is active:
// clears bit 0x40 of the window's state flags, makes type 20 the insertion
// type, keeps the kind and clears the click state. Returns 1 when armed.
int SetInsertLocatorMode(std::uint16_t kind);

// Stores the locator being placed: keeps its justification and rotation as
// the defaults of the next one (kinds other than 6, 9, 13, 15 and 17) and its
// size index as the current size of its kind, hands it to its kind's insert
// handler (a plain kind gets a new attribute id and is stored with undo),
// brings the net-name locators up to date after kinds 3, 13 and 15 when that
// option is on, then ends the insertion: the working record is freed and the
// view redrawn.
void InsertLocator(std::unique_ptr<EntityRecord>& record);

// The drag status record (the point the cursor takes when an item moves,
// and its grab code), defined with the kind handlers.
struct DragStatus;

// The handle point and the box of a locator, for the kinds that have them
// (status: 1, 3, 4, 6, 9, 10, 13 to 17; box: the same); a plain kind (or a
// locator too short to hold its kind) returns 1 and does nothing.
int GetLocatorDrawStatus(const Tower* locator, DragStatus* status);
int GetLocatorBox(const Tower* locator, pl3::Box* box);
// Deletes a locator: kinds 1, 4, 6, 10, 14, 16 and 17 at once; 3, 9, 13 and 15
// with their attribute (then, for 3, 13 and 15, the net-name locators are
// updated when that option is on); other kinds stay. Returns 0.
int DeleteLocator(Tower* locator);

// Unites the boxes of every locator under the entity (recursing into placed
// pins, 33) into the box; `first` set means the box is still empty and the
// first box found replaces it. Returns `first` as it ends.
int UniteLocatorBoxes(const Tower* t, pl3::Box* box, int first);

// What the dispatch calls, defined with the kind handlers and the placing
// code: the handle point and box of a handled kind, the insert handlers
// (each returns 1 when stored) and the delete of a locator that owns an
// attribute.
int GetLocatorKindHandlePoint(const Tower* locator, DragStatus* status);
int GetLocatorKindBox(const Tower* locator, pl3::Box* box);
int InsertPinTextLocator(EntityRecord* record);            // kinds 1 and 4
int InsertNetNameLocator(EntityRecord* record);            // kind 3
int InsertMarkedChangeLocator(EntityRecord* record);       // kinds 6, 10 and 16
int InsertIOPortLocator(EntityRecord* record);             // kind 9
int InsertNamedIOPortLocator(EntityRecord* record);        // kind 15
int InsertDisplayGlobalNetsLocator(EntityRecord* record);  // kind 17
int InsertPlainLocator(EntityRecord* record);              // plain and unknown kinds
int DeleteLocatorWithAttribute(Tower* locator);

// ---- Text at a point -------------------------------------------------------

// A text placed at (x, y) with one vertical (16, 32) and one horizontal (4, 8)
// justification bit; bit 0 of `flags` says the size is an index into the
// font sizes, else an explicit size.
struct PlacedText {
  const char* text;
  std::int32_t x, y;
  std::uint32_t vertical, horizontal;
  std::int32_t size;
  std::uint32_t flags;
};

// The texts are built as text items (CreateTextItem, CreateTextItemEx),
// measured by the drawing code's string box and extent and drawn by its
// RenderTextEntity into the device context (mode 0, XOR) or the active
// window's layer plane (the other modes).

// The box of a laid-out text item: its string box under its transform, moved
// by its extent. 0 (box untouched) without an item or without its font.
struct TextPayload;
int GetTextItemBox(const TextPayload* item, pl3::Box* box);
// The box of the text's rotated rectangle moved by its extent, grown on every
// side by the text size x 18,288. Returns 0 (box untouched) when the text
// cannot be measured (no item, no font).
int GetTextBoxAt(const PlacedText& text, pl3::Box* box);
// Renders the text with the identity transform (mode 0, XOR into the context).
void DrawTextAt(void* dc, const PlacedText& text);
// Renders the text in the colour class, in the mode of the class (24: 11 or 5
// by LocatorDebugDrawing, 32: 6, 33: 7, else 1), with the mirror walk flag
// cleared and the temporary-drawing state flag set meanwhile.
void DrawLocatorTextAt(void* dc, const PlacedText& text, std::uint32_t colourClass);
// Renders the text in a mode; fills the box as GetTextBoxAt does when one is asked for.
void DrawTextAndGetBox(void* dc, const PlacedText& text, int mode, pl3::Box* box);
// Renders a text item of the colour byte under the placement (mode 1).
void DrawColouredTextAt(void* dc, const char* string, std::int32_t x, std::int32_t y, std::int32_t size,
                        std::uint32_t justification, const pl3::Transform& placement, std::uint8_t colour);

// The global switches of locator drawing: class 24 texts render in mode 11
// rather than 5, and class-24 lines are not drawn.
extern int LocatorDebugDrawing;

// The growth of a text box per unit of text size.
constexpr std::int32_t kTextBoxGrowthPerSize = 18288;

// The line height of the design font for a text size; 0 (after "Unable to get
// font tower") when the font is missing. The twin gives it times 4,096.
std::int32_t GetStringBoxHeight(std::int32_t size);
std::int64_t GetStringBoxHeightScaled(std::int32_t size);

// ---- Leaders and distances ----------------------------------------------------

// A width-0 track of colour class 24 from (x, y) to the leader target of the
// box, drawn into the layer plane with the identity transform (as
// DrawLineRecordAt draws), or XOR-drawn into the device context as a ghost.
void DrawLocatorLeader(void* view, std::int32_t x, std::int32_t y, const pl3::Box& box);
void GhostLocatorLeader(void* dc, std::int32_t x, std::int32_t y, const pl3::Box& box);
// Draws a line record into the layer plane with the identity transform;
// nothing for class 24 while LocatorDebugDrawing is on.
void DrawLineRecordAt(void* view, const EntityRecord* record);

// The distance from (x, y) to the box, 0 inside, measured as the rule checker
// measures a point against a box of two triangles.
std::uint32_t GetDistanceToBox(const pl3::Box& box, std::int32_t x, std::int32_t y);

// ---- Gates and designators ----------------------------------------------------

// 0 when some gate of the package instance's package (a gate name, kind 7,
// on a package pin) is named by none of the symbol's gate records; else 1.
int SymbolCarriesAllGates(const Tower* packageInstance, const Tower* symbol, const Tower* schematic);
// The designator a packaged symbol shows: its package instance's Designator
// Name (kind 2), then, unless the symbol carries all the package's gates, its
// gate names joined with ",". Empty for an unpackaged symbol.
std::string BuildDesignatorString(const Tower* symbol);
