// Small helpers for tests that build trees in the tower store.
#pragma once
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace towertest {

// The child process of a death test gets no test events, so the per-test
// reset has not started the store there: start it from the fixture.
inline void EnsureStoreStarted() {
  if (!RootGroup()) pl3::ResetGlobalStateForTests();
}

// A Tower standing on a new top-level entity of `code`; the caller releases it.
inline Tower* NewTopLevelEntity(std::uint16_t code, std::uint32_t payloadSize = 0) {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = code;
  InsertAtLastLevel(t, payloadSize);
  return t;
}

// Inserts a child whose payload is one u32 tag, and releases its Tower.
inline Entity* InsertTagged(const Tower* parent, std::uint16_t code, std::uint32_t tag) {
  Tower* t = InsertEntity(parent, sizeof tag, code, &tag);
  Entity* e = TowerEntity(t);
  ReleaseTower(&t);
  return e;
}

inline std::uint32_t TagOf(const Entity* e) {
  std::uint32_t tag = 0;
  std::memcpy(&tag, EntityPayload(e), sizeof tag);
  return tag;
}

// The tags of every entity a search Tower yields until it gives null.
inline std::vector<std::uint32_t> DrainTags(Tower* search) {
  std::vector<std::uint32_t> tags;
  while (Entity* e = FindNextEntity(search)) tags.push_back(TagOf(e));
  return tags;
}

// The codes of the TypeGroups under an entity, checking the back links.
inline std::vector<std::uint16_t> GroupCodes(const Entity* e) {
  std::vector<std::uint16_t> codes;
  NodeRef previous = 0;
  for (NodeRef g = e->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
    if (NodeAt<TypeGroup>(g)->previous != previous) return {0xFFFF};
    codes.push_back(NodeAt<TypeGroup>(g)->typeCode);
    previous = g;
  }
  return codes;
}

// Little-endian bytes of 32-bit words, as payloads store them.
inline std::vector<std::uint8_t> Words(std::initializer_list<std::uint32_t> words) {
  std::vector<std::uint8_t> b;
  for (std::uint32_t w : words)
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(w >> (8 * i)));
  return b;
}

// The 32-bit word at a byte offset of an entity's payload.
inline std::uint32_t WordAt(const Entity* e, std::uint32_t offset) {
  std::uint32_t v;
  std::memcpy(&v, EntityPayload(e) + offset, 4);
  return v;
}

// The newest child entity of `code` under `parent`, or null.
inline const Entity* FirstOfCode(const Entity* parent, std::uint16_t code) {
  for (NodeRef g = parent->firstChild; g; g = NodeAt<TypeGroup>(g)->next)
    if (NodeAt<TypeGroup>(g)->typeCode == code) return NodeAt<Entity>(NodeAt<TypeGroup>(g)->firstChild);
  return nullptr;
}

// Bytes held in every free list of the pool.
inline std::uint64_t PoolFreeBytes() {
  std::uint64_t bytes = 0;
  for (int k = 1; k <= kPoolClassCount; ++k)
    for (NodeRef r = PoolClass(k).freeList; r; r = NodeAt<FreeChunk>(r)->next) bytes += NodeAt<FreeChunk>(r)->size;
  return bytes;
}

}  // namespace towertest
