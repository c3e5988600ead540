// The grid set a window takes from the design it shows (the window state's
// seam, objects/window_state.h). Alone in its file so that tests of the
// window state may bring their own.
#include "draw/grid_files.h"
#include "objects/type_codes.h"
#include "objects/window_state.h"
#include "platform/responder.h"
#include "store/tower.h"

namespace {

// The tower whose Don't Reload Group holds the grids: a schematic page's
// schematic, else the tower itself.
Tower* GridHolder(const Tower* design) {
  if (LastLevel(design).typeCode == Type_Page) {
    Tower* schematic = GetAncestorTower(design, Type_Schematic);
    if (LastLevel(schematic).typeCode == Type_Schematic) return schematic;
    ReleaseTower(&schematic);
  }
  return DuplicateTower(design);
}

}  // namespace

// A design without the group, or whose group holds no grid records, still
// gives its window a set to snap and draw with: a copy of the default set.
void* RetrieveGridInfo(const Tower* design) {
  GridSet* set = nullptr;
  if (design && TowerEntity(design)) {
    Tower* holder = GridHolder(design);
    Tower* group = OpenChildTower(holder, Type_DontReloadGroup);
    ReleaseTower(&holder);
    if (group)
      set = ReadStoredGridSet(group);
    else
      MessageBox(nullptr, "Error - don't reload tower not  found", "RetrieveGridInfo",
                 MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    ReleaseTower(&group);
  }
  return set ? set : DuplicateGridSet(EnsureDefaultGridSet());
}
