// The choosers of the selection's Set Size and Set Colour for programs built
// without the dialogs of ui/ (the program itself links ui/selection_choices.cpp
// first): nothing is chosen.
#include "edit/selection_services.h"
#include "platform/user.h"

int ChooseSelectionSize(HWND, std::uint32_t, std::uint32_t*) {
  MessageBeep(0);
  return 0;
}

int ChooseSelectionColour(HWND, std::uint32_t*) {
  MessageBeep(0);
  return 0;
}
