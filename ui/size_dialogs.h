// The size dialogs: the "Configure Sizes" sheet with one page per size list
// of the editor kind, the "Size Options" dialog that edits one entry, and the
// "Select Size" chooser. They work on a copy of the active window's size
// table, kept in EditedSizeTable while a dialog is open.
#pragma once
#include <cstdint>

#include "app/size_dialog_seams.h"  // ShowConfigureSizesDialog
#include "objects/size_table.h"
#include "platform/user.h"

struct Tower;

// The copy a size dialog works on: filled when the sheet or the chooser
// opens, freed when it closes; null otherwise.
extern SizeTable* EditedSizeTable;

// Control ids of a size page.
constexpr int kSizePageList = 3050;
constexpr int kSizePageHeader = 3051;
constexpr int kSizePageUp = 3052;
constexpr int kSizePageDown = 3053;
constexpr int kSizePageNew = 3054;
constexpr int kSizePageRemove = 3055;
constexpr int kSizePageEdit = 3056;
constexpr int kSizePageLoad = 3057;
constexpr int kSizePageSave = 3058;
constexpr int kSizePageTop = 3059;
constexpr int kSizePageBottom = 3060;

// Control ids of the size options dialogs ("SIZEOPTIONSDLG" and, for
// rectangles and vias, "SIZEOPTIONSDLG2PARAMS").
constexpr int kSizeOptionsName = 3061;
constexpr int kSizeOptionsLabel = 3062;
constexpr int kSizeOptionsValue = 3063;
constexpr int kSizeOptionsUnit = 3064;
constexpr int kSizeOptionsKey = 3065;
constexpr int kSizeOptionsActive = 3066;
constexpr int kSizeOptionsLabel2 = 3067;
constexpr int kSizeOptionsValue2 = 3068;

// Control ids of "SELECTSIZEDLG".
constexpr int kSelectSizeList = 3070;
constexpr int kSelectSizeHeader = 3071;

// The size list an entity type's size is chosen from: Lines for tracks and
// other lines (and, as for any type without a list of its own, by default),
// Circles, Rectangles, Holes (Vias for a hole whose via flag is set) or Fonts.
std::uint32_t EntitySizeKind(std::uint16_t type, const void* payload, std::uint32_t payloadSize);

// Edits one entry in "Size Options"; 1 on OK with valid values (the entry
// changed), 0 on Cancel (the entry unchanged). Invalid values never end the
// dialog: the first failing check is shown under "Error" and its field gets
// the focus.
int ShowSizeOptionsDialog(HWND owner, SizeEntry* entry, std::uint32_t kind);

// "Select Size" on a copy of the active window's table: the on entries of
// the kind, *index selected when shown. 1 with the chosen entry's index in
// *index, 0 when cancelled (or without a size table). A key stroke equal to
// an entry's key chooses it at once. With a caption the dialog shows it
// instead of "Select Size".
int ShowSelectSizeDialog(HWND owner, std::uint32_t kind, std::uint32_t* index);
int ShowSelectSizeDialogWithCaption(HWND owner, std::uint32_t kind, std::uint32_t* index, const char* caption);

// Chooses the size of a stored entity from its list, starting at its
// current index; on success the index goes into the entity's size index
// field and into *index, and the result is 1.
int SelectEntitySize(HWND owner, const Tower* entity, std::uint32_t* index);

// The size kinds the Load... of a size page needs for an editor kind.
bool LoadNeedsSizeKind(std::uint32_t editorKind, std::uint32_t kind);
// The size page's and the chooser's dialog procedures; a page's WM_INITDIALOG
// gets its PROPSHEETPAGE, whose lParam is the page's size kind.
INT_PTR CALLBACK SizePageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
