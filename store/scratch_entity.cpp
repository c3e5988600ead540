#include "store/scratch_entity.h"

Tower* NewTopLevelEntity(std::uint16_t code) {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = code;
  InsertAtLastLevel(t, 0);
  return t;
}

void DeleteTopLevelEntity(Tower** entity) {
  if (!entity || !*entity) return;
  DeleteEntity(*entity);
  ReleaseTower(entity);
}
