// The program's stand-ins for the frame menu services the editing engine
// calls (edit/engine_seams.h) until the frame's menus land: no item carries
// owner-draw data to retitle and nothing needs preparing again, and the
// frame menu's rebuild refreshes the one part of it that is built, the Undo
// and Redo items.
#include "edit/engine_seams.h"
#include "objects/undo_seams.h"

void SetOwnerDrawnItemText(std::uintptr_t, const char*) {}
void RefreshOwnerDrawnMenu(HMENU, int) {}
void ChangeMenu(int) { UpdateUndoMenu(); }
