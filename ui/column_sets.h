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

