// The program's stand-ins for the owner-drawn menu records (app/pending_services.h)
// until the frame's menus land: items stay plain text items, which the
// platform draws itself, so a pop-up is still usable; there is nothing to free.
#include "app/pending_services.h"

void MakeMenuOwnerDrawn(HMENU, int, int) {}
void FreeOwnerDrawnMenu(HMENU) {}
