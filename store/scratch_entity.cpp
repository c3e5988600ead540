#include "store/scratch_entity.h"

#include "platform/reset_hooks.h"

Tower* TemporaryCopyRoot = nullptr;

namespace {
// The store restarts before every test: the Tower is forgotten, not released.
void ForgetTemporaryCopyRoot() { TemporaryCopyRoot = nullptr; }
const bool gRegistered = pl3::RegisterGlobalReset(&ForgetTemporaryCopyRoot);
}  // namespace

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

Tower* GetTemporaryCopyRoot() {
  if (!TemporaryCopyRoot) TemporaryCopyRoot = NewScratchEntity();
  return TemporaryCopyRoot;
}

void DeleteTemporaryCopyRoot() { DeleteTopLevelEntity(&TemporaryCopyRoot); }
