// "Select Attribute": a drop-down list of the names of an item's imported
// attributes and "DESIGNATOR", for choosing the attribute a text shows.
#pragma once

#include "platform/user.h"

struct Tower;

// The dialog's parameter block. text: in, the entry to select (may be null);
// out after OK, a new heap copy of the chosen entry (the text passed in stays
// the caller's). item: the item whose imported attributes are listed.
struct SelectAttributeBlock {
  char* text;
  const Tower* item;
};

// The resource name of the dialog and the id of its list.
inline constexpr const char* kSelectAttributeDialog = "SelectAttributeDlg";
constexpr int kSelectAttributeList = 1001;

// Ends with 1 after OK with a selection, 0 on Cancel.
INT_PTR CALLBACK SelectAttributeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
