// The entity walker: one loop that applies a numbered action to every child
// entity under a Tower, filtered by a per-type table, by the active window's
// selection, layer and view filters, descending into pages, pad-stack
// hierarchies and label hierarchies. Each surviving entity goes to the
// dispatcher, which hands it to the handler of the action.
//
// Most handlers belong to the drawing code, the editing engine and later
// design-object code, which lie above this folder: they reach the walker
// through the slots of WalkHandlerTable, filled by their owners at start-up.
// An empty slot is passed over, as a missing handler is.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;

// ---- The walk's globals --------------------------------------------------------

constexpr std::uint32_t kWalkTypeCount = 1000;
// Bits of a WalkTypeFlags word.
constexpr std::uint16_t kWalkTypeWanted = 0x0001;    // the walk acts on this code
constexpr std::uint16_t kWalkTypeLayerKind = 0x0008; // only on layers of kind 2, 5, 6, 7 or 11

// One word per type code 0..999, filled by the caller before a walk.
extern std::uint16_t WalkTypeFlags[kWalkTypeCount];

// Bits of WalkStateFlags: where the walk is.
constexpr std::uint8_t kWalkStateInSymbol = 0x01;    // inside 32 or 113
constexpr std::uint8_t kWalkStateInShape = 0x02;     // inside 107
constexpr std::uint8_t kWalkStateInPadStack = 0x10;  // inside 117
extern std::uint8_t WalkStateFlags;

// DisplayOptions bits.
constexpr std::uint32_t kDisplayHideAttributes = 0x1;  // designators and attributes (128, 234, 306, 309)
constexpr std::uint32_t kDisplayHideLabels = 0x2;      // labels (202)
constexpr std::uint32_t kDisplayLayerInUse = 0x10000;  // set by action 26
extern std::uint32_t DisplayOptions;
// Set from a pad stack's surface-mount flag before its pad is walked; read by the entity drawing.
extern std::uint32_t SurfaceMountPadFlag;

// Action 4: the entity's flags are ORed with the set-mask, then ANDed with the keep-mask.
extern std::uint16_t WalkFlagSetMask;
extern std::uint32_t WalkFlagKeepMask;
// Action 3 moves items by this offset.
extern pl3::Point WalkMoveOffset;
// Action 11 moves items from the source layer to the target layer.
extern std::uint8_t WalkSourceLayer;
extern std::uint8_t WalkTargetLayer;

// ---- Action codes ----------------------------------------------------------------

enum WalkAction : std::uint8_t {
  WalkAction_Draw = 0,
  WalkAction_AddToInsertion = 1,
  WalkAction_Offset = 3,
  WalkAction_SetFlags = 4,
  WalkAction_ExtendBox = 6,
  WalkAction_DrawVariant10 = 10,
  WalkAction_ChangeLayer = 11,
  WalkAction_Delete = 12,
  WalkAction_ClearIndexedSize = 13,
  WalkAction_ResolveSizes = 14,
  WalkAction_MeasureClosest = 15,
  WalkAction_Rubberband = 16,
  WalkAction_DrawVariant17 = 17,
  WalkAction_MarkUsedSizes = 18,
  WalkAction_LayerPresence = 26,
  WalkAction_CollectJoinable = 28,
  WalkAction_CopyToGhostParent = 30,
};

// ---- The handler table ----------------------------------------------------------

// A handler of an action: the item's transform, a Tower standing on the
// entity (the handler's to use, not to release; a handler that deletes the
// entity does so through it, and the walk goes on after it), the action's
// parameter and the action. The walk's mode and result
// are there for the handlers that need them (action 15 sets the result itself).
using WalkHandler = std::int32_t (*)(const pl3::Transform* transform, Tower* entity, void* param,
                                     std::uint8_t mode, std::uint8_t action, std::int32_t* result);

struct WalkHandlerTable {
  WalkHandler drawWalkedEntity = nullptr;             // actions 0, 10, 17, 21, 22, 24, 27, 32, 33, 37
  WalkHandler addEntityToInsertion = nullptr;         // actions 1, 30
  WalkHandler extendBoxByEntity = nullptr;            // action 6
  WalkHandler changeWalkedLayer = nullptr;            // action 11
  WalkHandler deleteWalkedEntity = nullptr;           // action 12
  WalkHandler resolveItemSizes = nullptr;             // action 14
  WalkHandler measureClosestEntity = nullptr;         // action 15
  WalkHandler addAttachedWiresToSelection = nullptr;  // action 16 in schematic windows
  WalkHandler collectRubberbandEntity = nullptr;      // action 16 elsewhere
  WalkHandler walkContainerEntity = nullptr;          // earlier-generation symbols, action 18
  WalkHandler drawPl2Symbol = nullptr;                // earlier-generation symbols, other actions
  // The walks into a symbol's definition and a pad's stack, for the actions
  // that draw, hit-test or copy (see WalksIntoDefinition); other actions
  // reach these codes through the action's own handler.
  WalkHandler symbolInstanceInfo = nullptr;           // 113
  WalkHandler padStackInfo = nullptr;                 // 116
  WalkHandler padStackLayer = nullptr;                // 111
  WalkHandler padStackInstanceInfo = nullptr;         // 117

  // Services the walk and its own handlers call. An empty box test or
  // locator test lets the entity through; an empty offset moves nothing.
  int (*testBoundingBox)(Tower* entity, const pl3::Transform* transform, const pl3::Box* box) = nullptr;
  int (*isLocatorShown)(Tower* locator) = nullptr;
  int (*offsetEntity)(void* payload, std::uint16_t type, std::int32_t dx, std::int32_t dy,
                      int clamp) = nullptr;
  void (*freeWindowBlockList)() = nullptr;
  // Snaps a world point to the active window's grid (SnapXY without force);
  // an empty slot leaves the point as it is.
  void (*snapXY)(std::int32_t* x, std::int32_t* y, int force) = nullptr;
};

// The one table; cleared before each test.
extern WalkHandlerTable WalkHandlers;

// ---- The walk ----------------------------------------------------------------------

// Walks every child entity of t's entity and returns the result.
std::int32_t PerformTowerAction(const pl3::Transform* transform, const Tower* t, void* param, std::uint8_t mode,
                                std::uint8_t action, std::int32_t result);

// Walks a Tower: with allChildren 1 every child of the entity above w's last
// level; with 0 the entities after the one w stands on, to the end of that list.
std::int32_t PerformTowerActionRecursive(const pl3::Transform* transform, const Tower* w, void* param,
                                         std::uint8_t mode, std::uint8_t action, std::int32_t result,
                                         std::uint8_t allChildren);

// Applies one action to the entity the Tower stands on, combining the
// handler's value into *result.
void DispatchWalkedEntity(const pl3::Transform* transform, std::uint8_t action, Tower* entity, void* param,
                          std::uint8_t mode, std::int32_t* result);

// Drops the active window's selection (blocks, Selection Tower, temporary entity).
void ClearSelection();

// The highlight fill value the walk gives the raster kernel for a highlighted entity.
extern std::uint32_t HighlightFillColour;
