#include "geometry/tower_ref.h"

#include "store/tower.h"

namespace pl3 {

TowerRef CopyTowerRef(TowerRef t) { return t ? DuplicateTower(t) : nullptr; }

void ReleaseTowerRef(TowerRef& t) { ReleaseTower(&t); }

}  // namespace pl3
