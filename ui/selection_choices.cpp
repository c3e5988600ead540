// The choosers the selection's Set Size and Set Colour actions show
// (edit/selection_services.h): the size and colour dialogs of this folder.
#include "edit/selection_services.h"
#include "ui/colour_dialogs.h"
#include "ui/size_dialogs.h"

int ChooseSelectionSize(HWND owner, std::uint32_t kind, std::uint32_t* index) {
  return ShowSelectSizeDialog(owner, kind, index) ? 1 : 0;
}

int ChooseSelectionColour(HWND owner, std::uint32_t* index) { return ShowSelectColourDialog(owner, index) ? 1 : 0; }
