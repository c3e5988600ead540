// The folder dialog of our own template: a title, a tree of the host's
// folders (read when first opened) and, with BIF_EDITBOX, a box for a name
// or path. The window backend answers SHBrowseForFolder with it; headless
// tests run it through pl3::SetFolderDialogBackend and a dialog hook on its
// caption "Browse For Folder".
#pragma once
#include "platform/responder.h"

namespace pl3 {

// Control ids of the dialog.
constexpr int kFolderDialogTitle = 0x3742;
constexpr int kFolderDialogTree = 0x3741;
constexpr int kFolderDialogEdit = 0x3744;

// Starts in the home folder; returns the chosen folder as an item
// identifier list, null when cancelled.
PIDLIST_ABSOLUTE RunFolderDialog(LPBROWSEINFO info);

}  // namespace pl3
