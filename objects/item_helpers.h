// Record routines over whole items: size resolution, completion checks, flag
// sweeps, look-ups by number or name, polygon clean-up and text justification.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "geometry/graphic_layouts.h"
#include "geometry/types.h"

struct Tower;
struct SizeEntry;

// Record codes of the attribute copies a symbol carries (their layouts are
// the designators' records).
constexpr std::uint16_t kTypeAttributeGroup = 306;
constexpr std::uint16_t kTypeAttributeLocatorGroup = 309;
constexpr std::uint16_t kTypeAttributeLocatorInfo = 310;

// Node flag bit 12: the sweep mark of symbols, planes and datums.
constexpr std::uint16_t kEntitySweepMark = 0x1000;

// Steps the justification of one axis of a Text or dimensioner (0 horizontal,
// 1 vertical) in place: 1. A Designator Info is accepted without change (1);
// other types give 0.
std::uint32_t CycleTextJustification(const Tower* entity, int axis);

// Writes the real sizes of an item whose size is indexed: a Designator,
// Label Hier or attribute group over all its descendants, a Designator Data or
// attribute locator group through its info record, any other entity its own
// payload. Returns the number of records written.
std::int32_t ResolveItemSizes(const Tower* entity);
// Puts ResolveItemSizes in the walker's slot for action 14.
void RegisterItemHelperWalkHandlers();

// Completion Info (212): what the last check of a library item found, kept
// under the item.
#pragma pack(push, 1)
struct CompletionInfoRecord {
  std::uint16_t itemType;     // 0: type code of the item that was checked
  std::uint32_t failureBits;  // 2
  std::uint32_t enableMask;   // 6: the check settings' two masks when it ran
  std::uint32_t secondMask;   // 10
  std::uint16_t reserved;     // 14: 0
};
#pragma pack(pop)
static_assert(sizeof(CompletionInfoRecord) == 16);
static_assert(offsetof(CompletionInfoRecord, failureBits) == 2);
static_assert(offsetof(CompletionInfoRecord, enableMask) == 6);
static_assert(offsetof(CompletionInfoRecord, secondMask) == 10);

// The failure bits of a Completion Info that always count.
constexpr std::uint32_t kCompletionAlwaysChecked = 0x69F793;
// 1 when the item's Completion Info exists and none of its failure bits is
// enabled (its mask, or always checked); 0 when it is missing or shorter
// than the record, which counts as a failed check.
int IsItemComplete(const Tower* item);
// 1 when the Completion Info exists and failure bit 23 is clear.
int IsCompletionBit23Clear(const Tower* item);

// Set (on != 0) or clear kEntitySweepMark on the children of types 106 and
// 163, of type 8, or of type 34.
void SetSymbolsFlag(const Tower* t, int on);
void SetPlanesFlag(const Tower* t, int on);
void SetDatumsFlag(const Tower* t, int on);
// Clears the highlight flag of the entity and all its descendants.
void ClearHighlightRecursive(const Tower* t);

// The 116 payload of a Pad-Stack Info or of a Pad Stack Instance Hier's
// child; for any other entity the Tower itself (as the callers expect).
const void* GetPadStackInfo(const Tower* t);
// The 117 payload under a symbol instance whose u32 at 4 is the number, or null.
std::uint8_t* FindPadStackInstanceInfoByXref(const Tower* symbolInstance, std::uint32_t number);
// The Net Name text of the first 254 child whose 255 equals the pad name exactly, or null.
const char* FindImportedNetName(const Tower* t, const char* padName);

// Drops every point that IsCollinearPolygonPoint rejects, then triangulates
// again: 1; 0 as soon as fewer than three points remain.
int CleanPolygonPoints(pl3::PolygonLayout* polygon);
// Cleans every Polygon under the groups 25, 104, 105, 109 and 115 and
// deletes those left with fewer than three points. Returns the number deleted.
std::int32_t RemoveInvalidPolygons(const Tower* t);

// The pad option word: bit 0 leaves out the automatic top solder-resist image
// of pads, bit 2 the bottom one. 5 until a design says otherwise.
constexpr std::uint32_t kDefaultPadResistOptions = 5;
extern std::uint32_t PadResistOptions;
// Copies the design's pad option record (10406) into PadResistOptions, or the
// default when the design has none.
void LoadPadResistOptions(const Tower* design);

// Deletes every Pad-Stack Definition (115) of a Symbol Definition that no Pad
// Stack Instance Hier (141) of it names through its Pad-Stack Info. Returns
// the number deleted.
std::int32_t PurgeUnusedPadStackDefs(const Tower* symbolDefinition);

struct SpiralPayload;

// The nearer of the spiral's start and end to (x, y) by squared distance, the
// start on a tie; a mirrored spiral's ends are mirrored about its centre first.
pl3::Point GetNearerSpiralEnd(std::int32_t x, std::int32_t y, const SpiralPayload* spiral);

// Edit mode 39: Edit Selection.
constexpr std::uint8_t kEditModeEditSelection = 39;
// Puts the active window into Edit Selection with the menus for no item and
// invalidates the view.
void EnterEditSelectionMode(void* view);

// 1 when a via of the active window's design has its centre at (x, y), or in
// a PCB window a via item of the display list does; else 0.
int ViaExistsAt(std::int32_t x, std::int32_t y);

// The first command id of the via size pop-up; the item of the vias list
// entry at position i has id kFirstViaSizeMenuId + i.
constexpr unsigned kFirstViaSizeMenuId = 2051;
// The text of a via size's menu item: "%s (%s %s hole %s %s land)" with the
// name first, or "%s %s hole %s %s land" for an empty name.
std::string ViaSizeMenuText(const SizeEntry& entry);
// Offers the active window's via sizes whose offered flag is set in a pop-up
// at the cursor; the chosen entry's position in the whole vias list goes to
// *index with 1; 0 when the menu was cancelled or nothing is offered.
int PickViaSizeMenu(std::uint32_t* index);

// Unites into *box the boxes of the display-list items of the symbol instance
// that are not excluded, the first replacing what *box held; 1 when any was
// found, else 0 and *box unchanged.
int GetSymbolDisplayListBox(const Tower* symbolInstance, pl3::Box* box);
