// What the tower-file fuzz targets share: starting the store once, and a
// snapshot of what a refused load must leave as it was.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "store/tower_file.h"

namespace towerfuzz {

inline void StartStoreOnce() {
  if (!RootGroup()) InitTowerStore();
}

struct StoreSnapshot {
  std::vector<std::uint16_t> topCodes;
  std::uint64_t freeBytes = 0;
  const FileRepointTable* table = nullptr;

  static StoreSnapshot Take() {
    StoreSnapshot s;
    for (NodeRef g = NodeRefOf(RootGroup()); g; g = NodeAt<TypeGroup>(g)->next)
      s.topCodes.push_back(NodeAt<TypeGroup>(g)->typeCode);
    for (int k = 1; k <= kPoolClassCount; ++k)
      for (NodeRef r = PoolClass(k).freeList; r; r = NodeAt<FreeChunk>(r)->next) s.freeBytes += NodeAt<FreeChunk>(r)->size;
    s.table = CurrentFileRepointTable();
    return s;
  }
  bool operator==(const StoreSnapshot&) const = default;
};

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "tower file fuzz: %s\n", what);
  std::abort();
}

// Loads through `load`; a refusal must leave the store as it was, and a
// loaded entity is deleted again. Returns the Tower on the loaded entity
// (still in the store) or null.
template <typename Load>
Tower* CheckedLoad(Load load) {
  const StoreSnapshot before = StoreSnapshot::Take();
  Tower* t = NewTower(0);
  if (load(t)) return t;
  ReleaseTower(&t);
  if (!(StoreSnapshot::Take() == before)) Fail("a refused load changed the store");
  return nullptr;
}

inline void DeleteLoaded(Tower** t) {
  DeleteEntity(*t);
  ReleaseTower(t);
}

}  // namespace towerfuzz
