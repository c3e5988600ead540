// Building a Tower on an entity found through a reference stored in another
// record. Kept apart because its report names the type through the design
// objects' name table.
#include "store/seams.h"
#include "store/tower.h"

Tower* EntityToTower(const Tower* t, Entity* e, std::int32_t level) {
  if (!e) {
    ShowAndLogError(nullptr, "NULL Entity passed", "EntityToTower", 1);
    return nullptr;
  }
  const int n = t->lastLevel;
  const int at = level < 0 ? n + 1 : (level > n + 1 ? n + 1 : level);
  if (at >= kTowerMaxLevels) return nullptr;
  Tower* result = DuplicateTowerToLevel(t, static_cast<std::uint8_t>(at));
  TowerLevel& last = result->levels[at];
  last.flags = kLevelLast | kLevelPositioned;
  if (level >= 0 && level <= n) last.flags |= t->levels[level].flags & (kLevelMatch | kLevelAny);
  last.typeCode = e->typeCode;
  last.entity = NodeRefOf(e);
  last.group = 0;

  NodeRef list = at == 0 ? NodeRefOf(RootGroup()) : 0;
  if (at > 0) {
    if (const Entity* parent = LevelEntity(t->levels[at - 1])) list = parent->firstChild;
  }
  for (NodeRef g = list; g && NodeAt<TypeGroup>(g)->typeCode <= e->typeCode; g = NodeAt<TypeGroup>(g)->next) {
    if (NodeAt<TypeGroup>(g)->typeCode == e->typeCode) last.group = g;
  }
  if (!last.group) ShowAndLogError(nullptr, "Unable to find correct opto", GetTypeName(e->typeCode), 1);
  return result;
}
