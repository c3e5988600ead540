#pragma once
// Header columns of the lists with a header: computed once from width
// fractions, then restored with the widths they had.
#include "app/start_values.h"
#include "platform/win_types.h"


// Inserts each title at the index the previous insert returned (the first at
// 0), so the header shows the titles in reverse order; title k is
// totalWidth x fractions[k] wide, truncated. Returns a malloc'd array of
// count {header index, width} pairs in header order (pair i holds the width
// of title count - 1 - i), which the caller frees; null when the header is
// missing, count is not positive or memory runs out.
ColumnWidthEntry* InsertProportionalColumns(HWND dialog, int headerId, int totalWidth, int count,
                                            const char* const* titles, const float* fractions);

// Inserts the titles the same way with the widths of a remembered layout:
// title k gets the width of pair count - 1 - k. The widths may come from the
// registry, so a layout with a width outside 1..kMaxColumnWidth is refused
// whole: nothing is inserted and the result is false (the caller computes).
constexpr int kMaxColumnWidth = 0x7FFF;
bool RestoreHeaderColumns(HWND dialog, int headerId, int count, const char* const* titles,
                          const ColumnWidthEntry* layout);


// ---- Column sets of the size lists -------------------------------------------------

// The remembered layout of a list kind (1 to 17, 275, 30001 to 30014): the
// registry's column-width set where the kind has one, else a slot of its own
// for the run. Null for any other kind.
ColumnWidthEntry** ColumnLayoutSlot(int listKind);

// Puts the header headerId over the list listId and gives it the columns of
// a list kind: the remembered widths when the kind's slot holds a usable
// layout, else widths computed from the list's width and then remembered.
bool SetUpListColumns(HWND dialog, int listId, int headerId, int listKind, int count, const char* const* titles,
                      const float* fractions);

// Puts the header headerId over the list listId and gives it the columns of
// the size list of an object type: the remembered widths when the kind's
// slot holds a usable layout, else widths computed from the list's width
// (then remembered). Returns false, with no columns, for an object type
// without a size list or a dialog without the list.
bool SetUpSizeListColumns(HWND dialog, int listId, int headerId, int objectType);

// Frees the remembered layout of one list kind and clears its slot;
// FreeAllColumnLayouts does so for every kind, when the frame closes.
void FreeColumnLayout(int listKind);
void FreeAllColumnLayouts();
