// The insertion array: composite items (a placed symbol, a symbol or shape
// definition, a pad stack, a pasted block) are ghosted as a flat list of
// transformed copies of their drawable primitives, kept in the window's
// `Insertion` records. The same walk, given a parent node, builds real copies
// under that parent instead (the moving and pasted copies under a Temporary
// node of TemporaryCopyRoot). Also the placement transform of the item in
// hand (`InsertionTransform`, whose translation keeps the item's origin under
// the cursor) and the flips and turns of the item while it is placed.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct CurrentWindowData;
struct EntityRecord;
struct Tower;

// The parent path a fill with a parent copies under; null outside such a fill.
extern Tower* InsertionGhostingParent;

// The two rotation steps of RotateInsertion: [0] for a non-zero direction,
// [1] for zero. Quarter turns at start; the angle entry may replace them.
extern pl3::Transform InsertionRotationSteps[2];

// Fills the active window's array from the item (every descendant of a
// schematic symbol, a Symbol Definition, a shape or a pad-stack definition;
// the item alone otherwise) under the transform. With freeOld the old records
// go first. With a parent, copies are made under the parent in the store and
// the array is left alone. Returns the array's count.
std::uint32_t FillInsertionArray(const Tower* item, const pl3::Transform* transform, int freeOld,
                                 const Tower* parent);
// The walker's handler of the fill (actions 1 and 30): 1 when the node was
// handled or skipped, 0 when no copy could be made.
std::int32_t AddEntityToInsertion(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                                  std::uint8_t action, std::int32_t* result);
// Fills from the definition an instance names (a schematic symbol 30, a
// symbol instance 106, a pad stack 141); never empties the array first.
// 1 for a symbol instance or pad stack whose definition was found, else 0.
int FillInsertionArrayFromInstance(const Tower* instance, const pl3::Transform* transform, const Tower* parent);

// A new Temporary node under TemporaryCopyRoot holding a copy of the placed
// symbol (106) or pad stack (141), its origin at 0, with its Transform and,
// when the window has a block origin, an Offset of the grab point from it.
// Returns a new Tower on the node, or null ("Error retrieving transform").
Tower* CopySymbolToInsertion(const Tower* item, pl3::Point grab);
// The parts of it the schematic's copies share: the placed item's linear
// part with the translation that takes its turned origin to 0 (0 when the
// item has no Transform), the Temporary node with that transform and an
// Offset when one is given, filled from the item's definition, and the
// message of a missing transform.
int PlacedItemCopyTransform(const Tower* item, pl3::Transform* copy);
Tower* CopyPlacedItemToTemporary(const Tower* item, const pl3::Transform& copy, const pl3::Point* offset);
void ReportMissingTransform();

// Starts placing an existing item, or one the user chooses when item is
// null: 1, or 0 when nothing was chosen.
int BeginPlacingItem(HWND window, EntityRecord** pendingSlot, const Tower* item);

// The pad-stack editor's choice of a layer: 1 when the layer has a shape
// (now held and ghosted), 2 when a new shape was loaded for it, 0 otherwise.
int SelectLayer(HWND window, std::uint8_t layer);
// SelectLayer and the mode it leads to (27 "Place Shape" or 26 "Add New
// Shape"); 0 when nothing is held.
int SelectPadStackLayer(HWND window, std::uint8_t layer);

// Keeps the held item's origin under the cursor after its linear part changed.
void RecentreInsertion();
// Sends the item being placed to the other board side.
void FlipInsertion(HWND window, EntityRecord** pendingSlot);
// Turns the item being placed by one step (direction non-zero: the first
// step) or by the given transform. The return value is the mode's own (see
// the source).
int RotateInsertion(HWND window, EntityRecord** pendingSlot, pl3::Point point, int direction);
int RotateInsertionBy(HWND window, EntityRecord** pendingSlot, pl3::Point point, const pl3::Transform* step);

// Where the array's ghost stands: the snapped cursor of its last drawing.
extern pl3::Point InsertionGhostPoint;
// XOR-draws the array at InsertionGhostPoint under the placement transform
// (drawing it twice erases it).
void GhostInsertion(HWND window);
// The ghost updater of modes 24 to 27: the ghost moves from its point to the
// snapped cursor; a new symbol's moving ratsnest follows.
void MoveInsertionGhost(HDC dc, pl3::Point cursor);

// Puts AddEntityToInsertion into the walker's slot (start-up).
void RegisterInsertionWalkHandlers();
