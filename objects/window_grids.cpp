// The grid-set seams of the window state (objects/window_state.h): a new
// window's copy of the default set and the release of a window's set. Alone
// in their file so that the window-state tests may bring their own.
#include <cstdlib>

#include "objects/grid_sets.h"
#include "objects/window_state.h"

void* CopyDefaultGridList() { return DuplicateGridSet(EnsureDefaultGridSet()); }

void FreeGridInfo(void* grids) { std::free(grids); }
