// The commands on a window's single item selection (`Selection`, the one
// item an editor holds for editing as a whole). DeleteSelection is declared
// in edit/selection_engine_seams.h and ExpandSymbol in
// draw/display_list_seams.h, where their callers reach them.
#pragma once
#include "platform/win_types.h"

// With an item selection, lets the user choose a shape and makes it the
// window's item selection (and its remembered copy) with an identity
// insertion transform; 1 when loaded, 0 when not.
int LoadShapeIntoWindow(HWND window);
