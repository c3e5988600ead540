// The kernel's view of the store's Tower handles: the entity being drawn and
// the best hit of the nearest-hit search.
#pragma once

struct Tower;

namespace pl3 {

using TowerRef = ::Tower*;

// A new Tower with as many levels as `t`, holding t's path.
TowerRef CopyTowerRef(TowerRef t);
// Releases the Tower and sets the variable to null; null is ignored.
void ReleaseTowerRef(TowerRef& t);

}  // namespace pl3
