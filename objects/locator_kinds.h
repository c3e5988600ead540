// The operations of each handled attribute locator kind: the text it shows in
// the current document kind, and its draw, handle point, box, selection box,
// selection ghost and insert. Every text kind follows one pattern: resolve the
// text, build a text item from it with the locator's size, justification and
// readable rotation, then draw, measure or outline it. The kinds with a shape
// of their own (IO ports, global-net lists, graphic net names) are in
// objects/locator_shapes.h.
#pragma once
#include <cstdint>
#include <string>

#include "geometry/types.h"
#include "objects/graphic_records.h"
#include "objects/locator_dispatch.h"
#include "objects/type_codes.h"

struct Tower;

// Records a locator keeps as its own children.
constexpr std::uint16_t kTypeSymbolTransform = 208;      // a placed symbol's Transform

// Attribute kinds the locators read.
constexpr std::uint32_t kAttributePinNumber = 1;
constexpr std::uint32_t kAttributePinName = 4;
constexpr std::uint32_t kAttributeDesignator = 6;
constexpr std::uint32_t kAttributeGlobalNet = 8;
constexpr std::uint32_t kAttributeUser = 14;

// Marker squares around a locator point: 5 thou and 10 thou half-sides.
constexpr std::int32_t kLocatorSmallDot = 182880;
constexpr std::int32_t kLocatorLargeDot = 365760;
// Dot radius per unit of text size of the Value and User kinds.
constexpr std::int32_t kValueDotPerSize = 10000;

// One text at a point, as the text-item helpers of the drawing code take it.
struct LocatorText {
  std::string text;
  std::int32_t x = 0, y = 0;
  std::uint32_t justification = 0;  // vertical | horizontal bits, adjusted for the rotation
  std::int32_t size = 0;            // the real text size
  std::uint32_t sizeIndex = 0;      // the size index when sizeByIndex is set
  std::uint32_t sizeByIndex = 0;    // 1: the item is built from sizeIndex
  std::uint32_t style = 0;          // the text style word, handed to the builders as their font word
  std::uint8_t colourClass = 0;     // the locator's colour class: the text's layer byte
  pl3::Transform rotation = pl3::R0;
};

// Draw-status record handed to the handle-point operation: the point the
// cursor takes and the grab code are filled in.
#pragma pack(push, 1)
struct DragStatus {
  std::uint32_t word0;
  std::uint32_t word4;
  std::int32_t x, y;         // 8: the point that the cursor takes
  std::uint16_t grabCode;    // 16: 0 whole item, 7 whole-item move, 11 the text alone
  pl3::Point cursor;         // 18: the cursor, world units
  std::uint8_t flag;         // 26: set for a whole-item move
};
#pragma pack(pop)
static_assert(sizeof(DragStatus) == 27);
static_assert(offsetof(DragStatus, grabCode) == 16);
static_assert(offsetof(DragStatus, flag) == 26);

// The texts of the kinds, built as text items and measured or drawn by the
// drawing code (objects/locator_text.cpp):
// the text item's box under its rotation, offset by its extent (not grown);
// 0 when no item could be built.
int MeasureLocatorText(const LocatorText& text, pl3::Box* box);
// The same grown on every side by the text size x 18,288.
int GetLocatorTextBox(const LocatorText& text, pl3::Box* box);
// Renders the text into the layer plane in its colour class, in the mode of
// that class (DrawLocatorTextAt's rule).
void DrawLocatorText(void* dc, const LocatorText& text);
// XOR-draws the text into the device context.
void GhostLocatorText(void* dc, const LocatorText& text);

// The real text size of a locator: the indexed Fonts entry when size flag
// bit 0 is set, else the explicit size at 84.
std::int32_t GetLocatorTextSize(const LocatorPayload& locator);
// A text item description for the locator's text at a point: its size, style,
// justification adjusted for its rotation and the readable rotation.
LocatorText MakeLocatorText(const LocatorPayload& locator, const std::string& text, pl3::Point at);

// Copies an attribute value text (GetAttributeValue's result); false when null.
bool CopyAttributeValue(const char* value, std::string* text);
// A copy of a locator's payload (zeros when the record is too short), and a
// Tower on the item one level above it (null at the top).
LocatorPayload ReadLocatorPayload(const Tower* locator);
// The text kinds a symbol shows beside itself (designator, value, user
// attribute, net name, global nets), marked by a small dot.
bool IsTextKindWithSmallDot(std::uint32_t kind);
Tower* LocatorOwner(const Tower* locator);

// The value text of an Attribute, bounded by its record; false when it has none.
bool GetAttributeValueText(const Tower* attribute, std::string* text);
// The text of a locator's own name child (11020 or 11029), bounded by its
// record; empty when missing.
std::string GetLocatorNameChild(const Tower* locator, std::uint16_t code);

// The text a User locator shows: with a referenced attribute, its value
// ("??User??" when it is not a user attribute, "??name??" when the value part
// is empty); without one, the user attribute text of the name looked up on
// the item (or "??name??" with no item).
std::string GetUserLocatorText(const Tower* referencedAttribute, int hasReference, const char* name,
                               const Tower* lookupItem);

// The attribute of the active design that a stored reference (payload 88)
// names, found among the design's attributes; null when gone.
Tower* ReferencedDesignAttribute(std::uint32_t reference);
// The text the ghost of a User locator being placed shows: its referenced
// attribute's, else the pending name looked up on the pending target symbol,
// the Schematic (schematic) or the library item.
std::string GetPlacingUserLocatorText(const LocatorPayload& locator);

// The text a placed locator shows in the active window's document kind;
// false when the kind shows nothing there.
bool GetLocatorKindText(const Tower* locator, std::string* text);
// The same for a payload copy (a mirrored one, say) of the stored locator,
// whose owner and children the texts come from (null: none).
bool GetLocatorKindTextOf(const Tower* locator, const LocatorPayload& p, std::string* text);

// The locator's box in world units, by kind; 1 when filled.
int GetLocatorKindBox(const Tower* locator, pl3::Box* box);
// The box of a working copy as the selection shows it (kinds 6, 10, 14, 16,
// 17 in a schematic: the text as the symbol shows it); others the plain box.
int GetLocatorKindSelectionBox(const Tower* locator, pl3::Box* box);
// Fills the point the cursor takes and the grab code; 1 when filled, 0 when
// the point cannot be found (a copy whose symbol lost its origin).
int GetLocatorKindHandlePoint(const Tower* locator, DragStatus* status);
// Draws a placed locator, the payload copy p, under its parent's Transform
// into the layer plane; its texts come from the stored locator (its owner
// and children; null for none).
void DrawLocatorKind(void* dc, const Tower* locator, const LocatorPayload& p, const pl3::Transform& parent,
                     std::uint32_t pass);
// The selection ghost of a placed locator in a schematic: its text in XOR
// with the dashed frame and the line to its point.
void GhostLocatorKindSelection(void* dc, const Tower* locator);

// Inserts a User locator (library editor or schematic without a pending
// target): with a reference, the referenced attribute must still exist, else
// "Locator is not associated with any attribute." ("Error Inserting
// Locator") and nothing is inserted. Stores the name child. Returns the
// stored locator's Tower (the caller releases it), or null.
Tower* InsertUserLocator(const LocatorPayload& record, const Tower* referencedAttribute, const char* pendingName);

// Adds a User locator to a placed schematic symbol: the locator point and
// rotation are made relative to the symbol's placement, the symbol is
// recorded as modified ("Insert symbol attribute locator"), the locator is
// stored under it with the name, the design is marked changed and the
// symbol's designator and attribute copy boxes are refreshed. The caller
// releases its pending target. Returns the stored locator (released by the
// caller), or null when the symbol is missing.
Tower* InsertUserLocatorOnSymbol(const LocatorPayload& record, const Tower* symbol, const char* pendingName);

// XOR-draws a text item of the string at the text point with the leader from
// the locator point to the text's grown box (the ghosts of the placing code:
// under a moving ghost nothing may stay behind in the layer plane).
void DrawPlacedString(void* dc, const LocatorPayload& locator, const char* text, pl3::Point textPoint);
// The same for a placed plain kind's name, in the window's default text size,
// drawn into the layer plane with fill value 2 and drawing flag bit 2 set
// meanwhile.
void DrawLocatorKindLabel(void* dc, const LocatorPayload& locator, std::int32_t defaultSize);

// Grows a box by d on every side, and unites two boxes (the empty box is neutral).
void InflateBox(pl3::Box* box, std::int32_t d);
void UniteBox(pl3::Box* box, const pl3::Box& other);
