#pragma once
// A header control put over an owner-drawn list of a dialog, and its columns:
// computed once from width fractions, then restored with the widths they had.
#include "app/start_values.h"
#include "platform/win_types.h"

// Frames the list control, creates a "SysHeader32" with headerId in the
// dialog's font over the list's top and moves the list below it. Returns the
// header, or null when the dialog has no control with controlId.
HWND CreateDialogHeader(HWND dialog, int controlId, int headerId);

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

// Puts the header headerId over the list listId and gives it the columns:
// the widths of *slot when it holds a usable layout, else widths computed
// from the list's width, which then replace *slot. False when the dialog
// lacks the list or the header cannot be made.
bool SetUpHeaderColumns(HWND dialog, int listId, int headerId, ColumnWidthEntry** slot, int count,
                        const char* const* titles, const float* fractions);

// Replaces *slot with the header's present widths in header order (after the
// user dragged a divider); nothing when the header has no columns.
void StoreHeaderColumnWidths(HWND dialog, int headerId, ColumnWidthEntry** slot);
