#pragma once
// Header columns of the lists with a header: computed once from width
// fractions, then restored with the widths they had.
#include "app/dialog_header.h"
#include "app/start_values.h"
#include "platform/win_types.h"


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
