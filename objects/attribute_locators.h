// Placing attribute locators (type 20): the stored record, the program-wide
// placing state, starting a locator at the cursor, following the cursor,
// positioning its text, the placing click, the insert handler of each kind
// this module stores, the XOR ghost and the drawing dispatch of a placed
// locator. The kind names, the menu kinds and the rotation rules are in
// objects/locator_dispatch.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "geometry/types.h"
#include "objects/graphic_records.h"
#include "objects/locator_dispatch.h"

struct Tower;

// The stored payload of an attribute locator: 96 bytes, little-endian, laid
// out as LocatorPayload (the same record under the name the placing code
// uses). Bytes 1 and 50 and the common head's bytes 8 to 23 are carried
// unchanged.
using AttributeLocatorPayload = LocatorPayload;
static_assert(sizeof(AttributeLocatorPayload) == 96);
static_assert(offsetof(AttributeLocatorPayload, head.layer) == 0);  // colour class
static_assert(offsetof(AttributeLocatorPayload, head.sizeFlags) == 2);
static_assert(offsetof(AttributeLocatorPayload, head.sizeIndex) == 4);
static_assert(offsetof(AttributeLocatorPayload, head.transform) == 24);
static_assert(offsetof(AttributeLocatorPayload, kind) == 48);
static_assert(offsetof(AttributeLocatorPayload, word50) == 50);
static_assert(offsetof(AttributeLocatorPayload, portType) == 52);
static_assert(offsetof(AttributeLocatorPayload, attributeId) == 56);
static_assert(offsetof(AttributeLocatorPayload, y) == 64);
static_assert(offsetof(AttributeLocatorPayload, textY) == 72);
static_assert(offsetof(AttributeLocatorPayload, style2) == 80);
static_assert(offsetof(AttributeLocatorPayload, textSize) == 84);
static_assert(offsetof(AttributeLocatorPayload, markedEntity) == 88);
static_assert(offsetof(AttributeLocatorPayload, word92) == 92);

// The LocatorKind values the dispatch header does not name (the 18 display
// names are GetLocatorKindName's table).
constexpr std::uint16_t kLocatorGateName = 7;
constexpr std::uint16_t kLocatorGlobalNet = 8;
constexpr std::uint16_t kLocatorName = 11;
constexpr std::uint16_t kLocatorFootprint = 12;

// Edit modes of a locator being placed.
constexpr std::uint8_t kEditModePlacingLocator = 71;
constexpr std::uint8_t kEditModeLocatorText = 74;

// The pin-number or pin-name text defaults: the text offset (text point
// minus locator point), the justification (both bit sets ORed) and the
// rotation of the last inserted Pin Number or Pin Name locator. Saved in the
// configuration file, whose options give their starting values (reset there);
// read by the pin placing of the symbol library editor.
struct PinTextDefaults {
  std::int32_t x = 0;  // the text offset
  std::int32_t y = 0;
  std::uint32_t justification = 0;
  pl3::Transform rotation = pl3::R0;
};
extern PinTextDefaults PinNumberTextDefaults;
extern PinTextDefaults PinNameTextDefaults;

// The pending locator name (a heap string, or null): the user attribute name
// of a User locator or the list name of a Display Global Nets locator, chosen
// before placing starts. SetPendingLocatorName takes a copy and frees the old.
extern char* PendingLocatorName;
void SetPendingLocatorName(const char* name);
void FreePendingLocatorName();

// Starts placing a new locator of the kind at the cursor: a fresh record in
// `record`, edit mode 71, the ghost drawn (except kind 13). A Named IO Port
// also creates its pending "NULL" attribute. Returns 1, or 0 when no design
// window is active.
int StartNewLocator(void* view, std::unique_ptr<EntityRecord>& record, pl3::Point cursor, std::uint16_t kind);
// Mouse move in mode 71: the locator point follows the snapped cursor.
void MoveNewLocator(void* view, EntityRecord* record, pl3::Point cursor);
// Mouse move in mode 74: the text point follows the grid-snapped cursor while
// it lies within one inch (36,576,000 units, inclusive) of the locator point.
void DragLocatorText(void* view, EntityRecord* record, pl3::Point cursor);

// What the placing click asks of its caller.
enum LocatorClickResult : int {
  kLocatorClickStay = 0,     // nothing more: the locator is still being placed (mode 71 or 74)
  kLocatorClickInsert = 1,   // insert the locator now (InsertLocator)
  kLocatorClickCancel = 2,   // end the current operation (the name dialog was cancelled)
};
// The click that fixes the locator point (mode 71).
LocatorClickResult AcceptLocatorClick(void* view, EntityRecord* record, pl3::Point cursor);

// Stores the entity at the Tower's last level as the record's reference (payload 88).
void SetLocatorTarget(EntityRecord* record, const Tower* target);

// Wraps a locator payload in a working record and inserts it under the
// active design with undo. The caller releases the result.
Tower* InsertLocatorWithUndo(const LocatorPayload& locator);

// Insert handlers of the kinds this module stores (InsertLocator calls them
// after keeping the placing defaults). Each returns 1 when stored, 0 when
// nothing was stored.
int InsertPinTextLocator(EntityRecord* record);          // kinds 1 and 4
int InsertNetNameLocator(EntityRecord* record);          // kind 3
int InsertMarkedChangeLocator(EntityRecord* record);     // kinds 6, 10 and 16
int InsertIOPortLocator(EntityRecord* record);           // kind 9
int InsertNamedIOPortLocator(EntityRecord* record);      // kind 15
int InsertDisplayGlobalNetsLocator(EntityRecord* record);  // kind 17
int InsertPlainLocator(EntityRecord* record);            // kinds 0, 2, 5, 7, 8, 11, 12 and unknown kinds
// Kind 13: the locator with copies of its graphic symbol's net-name locators.
int InsertGraphicNetNameLocator(EntityRecord* record);
// Kind 14: on the pending target symbol in a schematic, else into the design
// (refused when its referenced attribute is gone). The pending name is freed.
int InsertUserAttributeLocator(EntityRecord* record);
// The handler of the record's kind.
int RunLocatorInsertHandler(EntityRecord* record);

// A cancelled placing: deletes the Attribute a Net Name or Named IO Port
// locator created for itself (the window's pending target) and releases the
// pending target of every kind. The caller frees the record. The editing
// engine's cancel of the current operation (CancelCurrentOperation) calls it
// for a type-20 record in hand in modes 71 and 74, which is also how a
// kLocatorClickCancel answer ends; until the engine lands no cancel reaches it.
void CancelLocatorPlacing(const EntityRecord* record);

// Deletes a locator that owns an attribute (kinds 3, 9, 13, 15): the design
// attribute with the locator's id, then the locator. Returns 1 when deleted.
int DeleteLocatorWithAttribute(Tower* locator);

// XOR-draws the ghost of a locator payload into the device context.
void GhostLocatorRecord(void* dc, const AttributeLocatorPayload* locator);
// Draws a placed locator (the entity walker's draw of type 20) into the layer
// plane: a copy of the payload, mirrored about its symbol when the window
// draws mirrored, goes to its kind handler. The texts of a handled kind come
// from the stored locator `stored`, or else from the walker's current entity
// when that stands on a locator.
void DrawAttributeLocator(const AttributeLocatorPayload* locator, const pl3::Transform* parent, int pass,
                          const Tower* stored = nullptr);

// The text the ghost shows beside a locator being placed, by kind, and where
// it goes: the text point with a leader (placed), or the locator point (at).
// Kinds 9, 13 and 15 show a shape instead, and kinds whose text waits for a
// text point show nothing until one is set.
enum class GhostTextPlacement { None, Placed, AtPoint, Shape };
struct GhostText {
  GhostTextPlacement placement = GhostTextPlacement::None;
  std::string text;
};
GhostText GetLocatorGhostText(const AttributeLocatorPayload* locator);
// The radius of the ghost circle: 10 thou for kinds 1, 3, 4, 13 and the plain
// kinds, 5 thou for the others.
std::int32_t LocatorGhostRadius(std::uint16_t kind);

// One text of a ghost or a placed locator, ready for the text item builders:
// the size (an index of the font list when sizeByIndex), the justification
// (the two bit sets adjusted for the locator's rotation and ORed) and the
// locator's text style word.
struct LocatorTextSpec {
  const char* text;
  pl3::Point at;       // the text point (placed) or the locator point
  pl3::Point anchor;   // the locator point: the leader starts here
  int sizeByIndex;
  std::int32_t size;   // font list index or explicit size
  std::uint32_t justification;
  std::uint32_t style;
  pl3::Transform rotation;
};
LocatorTextSpec LocatorTextOf(const AttributeLocatorPayload* locator, const char* text);

// ---- Seams: the editing engine (the program's stand-ins are in
// app/locator_seams_pending.cpp) -------------------------------------------------------

// Records the insertion of the entity as an undo step with the caption.
void RecordInsertionUndo(const Tower* inserted, const char* caption);
// Records the removal of the entity in the current undo step.
void RecordDeletionUndo(const Tower* entity);
// Records the entity as modified in the current undo step, captions that step
// and opens the next one.
void RecordModificationUndo(const Tower* entity, const char* caption);
// The selection test of edit mode 39 (Edit Selection) that lets the ghost of
// a plain kind show its name.
int EditSelectionTestPasses();
// The program's option to update the net names shown by net-name locators
// after net-name locators are inserted or deleted; non-zero when on.
int NetNameUpdateOption();
// Builds the Selection and Options menus for a selection-menu kind.
void SetSelectionAndOptionsMenus(std::uint32_t menuKind);
