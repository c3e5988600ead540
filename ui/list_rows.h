// Drawing the rows of the owner-drawn lists that stand under a header
// control: the row's background and text colours by its selection, the
// width of each header column, and one cell's text.
#pragma once
#include "platform/user.h"

// Fills the row in the highlight or window colour and sets the text colour to match.
void BeginListRow(const DRAWITEMSTRUCT& item);
// The width of header column `column`; a share of the row when the dialog
// has no header or the header lacks the column.
int HeaderColumnWidth(HWND dialog, int headerId, int column, int count, const RECT& row);
// One cell's text, left-aligned and centred vertically, clear of the divider.
void DrawListCell(HDC dc, RECT cell, const char* text);
