// The program's stand-ins for the insertion array's ghost copies of selected
// symbols and pads (edit/selection_services.h) until it lands: no ghost copy
// is built, so a selected symbol is drawn where it was committed.
#include "edit/selection_services.h"
#include "store/tower.h"

Tower* BuildInstanceGhost(const Tower*) { return nullptr; }
void FreeInstanceGhost(Tower** ghost) {
  if (*ghost && TowerEntity(*ghost)) DeleteEntity(*ghost);
  ReleaseTower(ghost);
}
void GhostInstanceSelection(HDC, const SelectionInfo*, pl3::Point) {}
