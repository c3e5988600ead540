// Operations over a whole design: the change mark, highlight clean-up, the
// freezing of indexed sizes, net-highlight records, the sub-net list, the
// temporary Tower list and the attached-item collection of a move.
#pragma once
#include <cstdint>

#include "objects/design_helpers.h"

struct Tower;

// Marks the active window's design (a Page's Schematic) as changed and
// refreshes its window title.
void RecordDesignChange();
// Clears the highlight bit of every entity under t, into PCBs, symbol
// instances, shape definitions and pad-stack definitions.
void ClearHighlightFlags(const Tower* t);
// Deletes every Net Highlight Info under t and clears the window's net-highlight walk flag.
void ClearNetHighlight(const Tower* t);
// The first Net Highlight Info of the design matching the entity's net ids, or null.
std::uint8_t* FindNetHighlightInfo(const Tower* entity);
// Clears the size-from-table flag of every child of t (recursing into groups).
void ClearIndexedSizes(const Tower* t);
// ClearIndexedSizes, then a walk with action 13 over the design; the walk's count.
std::int32_t FreezeTowerSizes(const Tower* design);
// Inserts the identity map {n, 0, 1, ..., n} of t's n sub-nets; the Tower on it.
Tower* CreateSubNetList(const Tower* t);

// The global list of temporary Towers, and its release.
extern TowerListNode* TemporaryTowers;
void FreeTemporaryTowers();

// The open rubber-band list of a move (null when none), and how it is freed.
extern void* RubberBandList;
extern void (*FreeRubberBandListHandler)(void* list);
// Adds what is attached to the unselected items of the design to the open
// rubber-band list, then frees the list; the count added.
std::int32_t CollectAttachedItems();

// Copies the newest child of `code` into the buffer of `size` bytes: `length`
// bytes, or the text with its NUL when length is 0, never more than the
// buffer or the stored payload holds. 1, or 0 when there is no such child.
int CopyChildData(void* buffer, std::uint32_t size, const Tower* t, std::uint16_t code, std::uint32_t length);
