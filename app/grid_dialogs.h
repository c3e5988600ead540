// The dialogs over a window's grids: "Select Grid" (1344), which edits a
// copy of the active window's set, its "Edit Polar Grid" (1345), and the
// open and save dialogs of grid files ("PL3 Grid List (*.GRD)").
#pragma once
#include <cstdint>

#include "objects/grid_sets.h"
#include "platform/user.h"

constexpr int kSelectGridDialogId = 1344;
constexpr int kEditPolarGridDialogId = 1345;

// Controls of "Select Grid".
constexpr int kGridListId = 281;
constexpr int kGridDisplayedCheck = 3603;
constexpr int kGridSnapCheck = 3604;
constexpr int kGridFilePathField = 3605;
constexpr int kGridMoveUpButton = 3285;
constexpr int kGridMoveDownButton = 3286;
constexpr int kGridNewButton = 3159;
constexpr int kGridEditButton = 3177;
constexpr int kGridDeleteButton = 471;
constexpr int kGridLoadButton = 3487;
constexpr int kGridSaveButton = 3488;
constexpr int kGridSaveDefaultButton = 3217;
// The "New..." pop-up's items.
constexpr UINT kNewCartesianItem = 1;
constexpr UINT kNewPolarItem = 2;

// Controls of "Edit Polar Grid".
constexpr int kPolarAngleField = 3607;
constexpr int kPolarRadiusField = 3385;
constexpr int kPolarStyleCombo = 3606;
constexpr int kPolarKeyField = 3156;

// A grid file's path and file name (heap strings, null for none).
struct GridFileRecord {
  char* path;
  char* name;
};
// The grid file last chosen with "Save As Default".
extern GridFileRecord GridFileChoice;
// The grid file last loaded or saved in "Select Grid".
extern GridFileRecord DialogGridFile;

// The open dialog ("Select Size List"): the chosen path with the extension
// "grd" and its file name replace the record's (null: GridFileChoice); 1 on
// success. With mustExist a path that does not exist is reported ("File
// \"%s\" does not exist.", caption "Open Sizes Error") and 0 returned.
int SelectGridFileToOpen(HWND owner, int mustExist, GridFileRecord* record);
// The save dialog; the same with the record.
int SelectGridFileToSave(HWND owner, GridFileRecord* record);
// Chooses a grid file and loads it into *set (and DefaultGridSet); 1 when
// both succeed. A file that cannot be read is reported.
int LoadGridFileDialog(HWND owner, GridSet** set, GridFileRecord* record);
// Chooses a path and writes the set to it; 1 when both succeed. A file that
// cannot be written is reported.
int SaveGridFileDialog(HWND owner, const GridSet* set, GridFileRecord* record);

// "Edit Polar Grid" on an entry, written back only on OK; 1 on OK.
int EditPolarGrid(HWND owner, GridEntry* entry);
// "Select Grid" on a set (replaced when grids are added or a file loaded;
// the caller owns it); 1 on OK.
int RunSelectGridDialog(HWND owner, GridSet** set);
// The Grid command: "Select Grid" on a copy of the active window's set. On
// OK the window and DefaultGridSet take copies of the edited set, the status
// bar, view, design, toolbar and Grids pane are brought up to date, and 1 is
// returned; Cancel changes nothing.
int ShowSelectGridDialog(HWND owner);
