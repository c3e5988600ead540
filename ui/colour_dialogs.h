#pragma once
// The dialogs of the named colours: "Configure Colours" edits the table,
// "Select Colour" picks one entry, "Edit Colour" edits one entry.
#include <cstdint>

#include "objects/colours.h"
#include "platform/user.h"

// The parameter block the two list dialogs share.
struct ColourDialogBlock {
  std::uint32_t mode;         // 1 configure, 0 select
  std::uint32_t classFilter;  // a colour class, 0 for all
  std::uint32_t chosen;       // the entry picked (select mode)
  NamedColourTable* table;    // the table being edited (a copy)
};
constexpr std::uint32_t kColourDialogSelect = 0;
constexpr std::uint32_t kColourDialogConfigure = 1;

// Dialog procedure of dialogs 1047 and 1048; lParam of WM_INITDIALOG is the
// block.
INT_PTR CALLBACK SchematicColoursDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// "Configure Colours" on a copy of the program's named colours; on OK the
// copy replaces the table and the active view is redrawn. Non-zero on OK.
int ShowConfigureColoursDialog(HWND window);

// "Select Colour" among the entries of the class of *index (all classes when
// the index names no entry), the current one selected. Non-zero and the
// chosen entry in *index on OK; *index unchanged otherwise.
int ShowSelectColourDialog(HWND window, std::uint32_t* index);

// "Edit Colour" on an entry: the name (cut at 50 characters), one key stroke
// in upper case and the colour. Non-zero on OK with the entry changed.
int ShowEditColourDialog(HWND owner, NamedColour* entry);
