// The window's selection: the list of SelectionInfo records (edit/window_data.h),
// each with the item's original and a working copy inserted into the design,
// and what is done with them: the list operations and queries, the moves of
// the working copies by the grabbed part, accept, cancel and revert, and the
// commit of each record back into the design (ApplySelectionInfo) with its
// undo entries, delete and Copy Selection.
//
// The calls other folders already name are declared with their callers:
// GetSelectionType and CountSelections (objects/selection_seams.h),
// AddGraphicToSelection (objects/engine_item_seams.h), MoveSelectionArray
// (edit/key_command_seams.h), ClearSelectionArray (edit/engine_seams.h),
// CancelSelectionArray and DeleteSelectionArray (edit/selection_engine_seams.h).
#pragma once
#include <cstdint>
#include <vector>

#include "geometry/types.h"
#include "platform/win_types.h"

struct SelectionInfo;
struct Tower;
struct CurrentWindowData;

// SelectionInfo flags.
constexpr std::uint8_t kSelectionHasInstanceInfo = 0x2;

// grabbedPart codes.
constexpr std::uint16_t kGrabWhole = 0;
constexpr std::uint16_t kGrabFirstEnd = 1;
constexpr std::uint16_t kGrabSecondEnd = 2;
constexpr std::uint16_t kGrabInPlace = 3;         // moving does not shift the block origin
constexpr std::uint16_t kGrabVertexMove = 4;
constexpr std::uint16_t kGrabVertexAdd = 5;
constexpr std::uint16_t kGrabCentroidTurn = 6;
constexpr std::uint16_t kGrabBothEnds = 7;
constexpr std::uint16_t kGrabRevertToReference = 11;
constexpr std::uint16_t kGrabDimensionerWidth = 15;
// Whether a record held by `part` moves the given end (kGrabFirstEnd or kGrabSecondEnd).
constexpr bool GrabMovesEnd(std::uint16_t part, std::uint16_t end) {
  return part == kGrabWhole || part == kGrabBothEnds || part == end;
}

// Entity state bits the selection sets on the tower nodes.
constexpr std::uint16_t kEntityWorkingCopy = 0x20;
constexpr std::uint16_t kEntityCopyFlags = 0x24;  // selected and working copy

// ---- The list (edit/selection_list.cpp) ----------------------------------------

// A zeroed record linked at the head of *list.
SelectionInfo* NewSelectionInfo(SelectionInfo** list);
// Symbol instances, schematic symbols and pad stacks: a record at the head
// with the ghost copies of the instance; null when the item cannot be copied.
SelectionInfo* AddSymbolToSelection(SelectionInfo** list, const Tower* item, std::uint16_t part,
                                    const pl3::Transform* transform, std::int32_t x, std::int32_t y);
// A secondary record at the tail of the list; null when the item cannot be copied.
SelectionInfo* AppendSecondarySelection(const Tower* item, SelectionInfo** list, std::uint16_t part,
                                        std::int32_t x, std::int32_t y);
// Unlinks the record from *list, deletes what its Tower fields still hold,
// frees it, and returns the record that followed it.
SelectionInfo* RemoveSelectionInfo(SelectionInfo** list, SelectionInfo* record);
// Deletes the original of every record of the active window that has one;
// the records become copy-only.
void DeleteSelectionOriginals();

SelectionInfo* FindSelectionInfo(SelectionInfo* list, const void* payload);
SelectionInfo* FindSelectionInfoOfTower(SelectionInfo* list, const Tower* item);
SelectionInfo* FindSelectionInfoByNode(SelectionInfo* list, const void* entity);
SelectionInfo* GetFirstPrimarySelection(SelectionInfo* list);
std::uint16_t GetPrimaryGrabbedPart(const SelectionInfo* list);
// The common layer of the primary records, -1 when empty or mixed.
std::int32_t GetSelectionLayer(const SelectionInfo* list);
int AreSelectionTypesCompatible(const SelectionInfo* list);
int HasSecondarySelections(const SelectionInfo* list);
int SelectionHasInstances(const SelectionInfo* list);
int SelectionHasDatum(const SelectionInfo* list);
int SelectionHasUncopyableSymbols(const SelectionInfo* list);
int SelectionHasPl2Symbols(const SelectionInfo* list);
int SelectionHasCentroid(const SelectionInfo* list);
int IsSelectionVia(const SelectionInfo* list);
// Any attribute locator whose original stands under a schematic symbol.
int SelectionHasSymbolLocators(const SelectionInfo* list);
// For width changes: the size index the primary records share. Negative codes:
constexpr std::int32_t kSizeIndexNone = -1;          // empty list, or the indexes differ
constexpr std::int32_t kSizeIndexIncompatible = -2;  // types that AreTypesCompatible does not join
constexpr std::int32_t kSizeIndexNoSizes = -3;       // a type without a size list
constexpr std::int32_t kSizeIndexNotIndexed = -4;    // a size not taken from the size table
std::int32_t GetSelectionSizeIndex(const SelectionInfo* list);
void ResetArcEndGrabs(SelectionInfo* list);
// Move: every primary record takes the whole item again (grab 0); the
// attached tracks keep the end that follows the move.
void ResetSelectionGrab(SelectionInfo* list);
// 1 when the symbol instance may be copied: its definition is in definition
// mode, or the window is in its manual-placement state.
int IsSymbolCopyable(const Tower* instance);
// The track-like types a second grab and the attached tracks know: 1, 10, 11, 37, 39, 46, 47.
bool IsTrackLikeType(std::uint16_t type);
// The type code of the item a record stands for (its working copy's, else its original's).
std::uint16_t SelectionItemType(const SelectionInfo* record);

// The union of the items' boxes, from {0x7FFFFFFF, 0x7FFFFFFF, 0, 0}; a new
// heap Box (std::free).
pl3::Box* GetSelectionBox(const SelectionInfo* list, int useWorkingCopy, int primaryOnly);

// ---- Attached items (edit/selection_attached.cpp) ------------------------------

// One point of the pad-point list: a place and the copper layers met there.
struct PadPoint {
  std::int32_t x, y;
  std::uint8_t lowLayer, highLayer;
};
// Adds the point to the sorted list: an entry at the same place whose layer
// range touches or overlaps (within one layer) is widened, then merged with
// its touching successors; otherwise a new entry is inserted in order.
void AddPadPoint(PadPoint** list, std::uint32_t* count, std::uint32_t* room, PadPoint point);
// Collects the tracks whose ends lie on the free ends of the primary tracks
// and vias as secondary records (the pad points of the selection).
void CollectAttachedTracks(SelectionInfo** list);
// The walk's per-entity step (a walk handler over the open rubber-band
// list): a track with an end on a collected point, or a via on one, becomes
// a secondary record; 1 when one was added.
std::int32_t CollectRubberbandEntity(const pl3::Transform* transform, Tower* item, void* param, std::uint8_t mode,
                                     std::uint8_t action, std::int32_t* result);
// ---- Attached wires (edit/selection_wires.cpp) -----------------------------------

// One point of a schematic selection that wires may hang on: a place and the
// kind of what is there (28 wire, 1 line, 29 bus end; 20 a port or net-name
// locator; 26 a symbol pin; 30 a pin of a placed schematic symbol).
struct ConnectionPoint {
  std::int32_t x, y;
  std::uint16_t kind;
};
// The open list of a collection, sorted by x, then y, then kind.
struct ConnectionPointList {
  ConnectionPoint* points = nullptr;
  std::uint32_t count = 0;
  std::uint32_t room = 0;
  SelectionInfo** selection = nullptr;
};
// Inserts the point in order; an entry equal in place and kind is not repeated.
void AddConnectionPoint(ConnectionPointList* list, ConnectionPoint point);
// The first point at (x, y) an item of the type may hang on, or null: points
// of placed-symbol pins (30) take wires, locator points (20) wires and
// buses, wire and bus ends (28, 29) locators and their own kind, any other
// kind only its own.
const ConnectionPoint* FindConnectionPoint(const ConnectionPointList* list, std::int32_t x, std::int32_t y,
                                           std::uint16_t itemType);
// Adds the connection points of one primary record's working copy.
void AddRecordConnectionPoints(ConnectionPointList* list, const SelectionInfo* record);
void FreeConnectionPoints(ConnectionPointList* list);
// The walk's per-entity step in schematic windows (a walk handler over the
// open connection-point list; a non-zero mode does nothing): a wire, line or
// bus with an end on a point follows by that end (both ends: whole), a pin
// label, port or net-name locator on one follows whole; 1 when one was added.
std::int32_t AddAttachedWiresToSelection(const pl3::Transform* transform, Tower* item, void* param, std::uint8_t mode,
                                         std::uint8_t action, std::int32_t* result);
// Collects, as secondary records, the wires and locators that hang on the
// connection points of the primary records.
void CollectAttachedWires(SelectionInfo** list);
// Toggle Secondaries' rebuild: the items attached to every primary record
// (the wires of a schematic, the tracks and vias of the other editors) join
// the list as secondary records, under the wait cursor.
void ReconsiderAllPrimarySelections(SelectionInfo** list);
// Put back each secondary record unchanged; the union of the boxes.
pl3::Box ReleaseSecondarySelections();
pl3::Box ReleaseSecondaryNonTracks();
// The same, with the released box redrawn and the window invalidated.
void ReleaseSecondarySelectionsAndRedraw(HWND window);
void ReleaseSecondaryNonTracksAndRedraw(HWND window);

// ---- Moving and ending the edit (edit/selection_move.cpp, selection_accept.cpp) --

// Moves the working copies to the cursor; 1 when they moved.
int MoveSelectionToPoint(HWND window, SelectionInfo* list, pl3::Point cursor, int redraw);
// Starts a block move at the first primary record's current point; the new block origin.
pl3::Point StartBlockMove(SelectionInfo* list);
// Moves every record back to where the move began; 0 when refused.
int RevertSelectionArray(SelectionInfo* list);
void RevertSelectionInfoToOriginalPosition(SelectionInfo* record);
// The Revert command: the selection goes back, every primary record is held
// whole again, and the move starts afresh from where it began (from the head
// item's own reference point when it was held by it).
void RevertSelectionEdit(SelectionInfo* list);
// XOR-draws one record's working copy by its type (a symbol or pad through
// its ghost copy at the block origin); drawn twice it erases itself.
void GhostSelectionInfo(HDC dc, const SelectionInfo* record);
// Accept: commits every record, ends the edit and redraws.
void AcceptSelectionArray(HWND window);

// ---- Rotate, mirror, flip (edit/selection_transform.cpp) -------------------------
// TransformSelectionArray is declared in edit/key_command_seams.h.

// The transform's linear part composed into t, and t's translation turned
// about the pivot.
void RotateTransformAbout(pl3::Transform* t, const pl3::Transform* linear, pl3::Point pivot);
// Turns one record's working copy about the block origin by the linear part; 1 or 0.
int TransformSelectionInfo(SelectionInfo* record, const pl3::Transform* transform);
// Symbols, symbol instances and pad stacks: their placement's linear part and
// designator offset turned, the placement point turned about the block origin
// too when aboutBlockOrigin is set. 0 (with a message) for a pad stack
// without its Pad-Stack Info.
int TransformSelectionInfoOrigin(SelectionInfo* record, const pl3::Transform* transform, int aboutBlockOrigin);
// Sends the record's working copy to the other board side; 1 when it changed.
int FlipSelectionInfoSide(SelectionInfo* record);
// Moves the designator offset of every selected symbol's ghost copy by the
// delta (creating it when missing); the number moved, not created.
int ShiftDesignatorOffsets(SelectionInfo* list, pl3::Point delta);

// ---- Committing (edit/selection_apply.cpp, selection_commit.cpp) ----------------

// Actions of ApplySelectionInfo.
constexpr int kApplyDelete = 0;
constexpr int kApplyCommit = 1;
constexpr int kApplyRelease = 2;
constexpr int kApplyKeepCopy = 3;
constexpr int kApplyNothing = 4;
constexpr int kApplyCopyIncrement = 5;
constexpr int kApplyCopyDecrement = 6;
// Writes one record back into the design; a new heap Box of the change (std::free).
pl3::Box* ApplySelectionInfo(SelectionInfo* record, int action);

// The bend of a moved segment: 1 and the two legs when it bends, 0 when it
// stays one segment. `mode` is the angle assist (0 off, 1 orthogonal, else 45
// degrees), `bendBits` the global bend directions (bit 0 orthogonal, bit 1 45 degrees).
int KeepWireOrthogonal(pl3::Point from, pl3::Point to, std::uint8_t mode, std::uint32_t bendBits, pl3::Point* bend);
// The global bend directions KeepWireOrthogonal reads.
extern std::uint32_t SelectionBendDirections;

// The moved wires of a schematic commit, handed to the wire clean-up
// (a line-segment list of edit/line_segments.h).
struct LineSegment;
extern LineSegment* TouchedWires;

// The nets of the pins of the symbol instances in the selection, each once,
// in the order met.
std::vector<std::uint32_t> CollectSelectionNets(const SelectionInfo* list);

pl3::Box* CommitSelectionEdits(SelectionInfo** list);
pl3::Box* DeleteSelectionItems(SelectionInfo** list);
pl3::Box* DetachSelectionCopies(SelectionInfo* list);
// Before Copy Selection: every centroid, pin, pl2 symbol, info box and placed
// symbol leaves the list unchanged, and the old selection box is redrawn.
void DropUncopyableItems(HWND window, SelectionInfo** list);
// Copy Selection: the records become copy-only; the window's list head.
SelectionInfo* CopySelectionInPlace(HWND window);
// The confirmation threshold of a delete (configuration setting 10307).
constexpr std::uint16_t kConfigDeleteThreshold = 10307;
