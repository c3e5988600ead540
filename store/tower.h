// Tower handles: the path by which the whole program names a place in the
// tower store, and every operation that reads, inserts or deletes nodes.
//
// The tree alternates two kinds of level. An Entity's first child is the first
// of its TypeGroups; the groups of one parent are doubly linked in strictly
// ascending type code, one per code, and never stay empty. A group's first
// child is its newest Entity; its entities are doubly linked newest first. The
// top level is a list of groups headed by the RootGroup.
//
// A Tower is a path of levels from the top-level list down to an entity. Each
// level either stands on a stored entity (fixed), looks for entities of its
// type code (match) or runs through every child (any). Searches run codes
// ascending and, within a code, newest first.
//
// The store has one set of working state and no locks: it is used from the
// user-interface thread only, and no store operation may be entered from the
// middle of another.
#pragma once
#include <cstdint>
#include <memory>

#include "store/node_pool.h"

constexpr int kTowerMaxLevels = 33;  // level indices 0..32

// Search flags of a level.
constexpr std::uint16_t kLevelMatch = 0x01;       // looks for entities of the level's code
constexpr std::uint16_t kLevelAny = 0x02;         // runs through every child entity
constexpr std::uint16_t kLevelAdvance = 0x04;     // each search moves the level on
constexpr std::uint16_t kLevelPositioned = 0x08;  // the level's entity is valid and reused
constexpr std::uint16_t kLevelLast = 0x10;        // the last level of the Tower
constexpr std::uint16_t kLevelSkip = 0x20;        // next advance of an any-level leaves the code

// ResetTowerSearch modes.
constexpr std::uint8_t kSearchFixed = 0;
constexpr std::uint8_t kSearchMatch = 1;
constexpr std::uint8_t kSearchAny = 2;

struct TowerLevel {
  std::uint16_t flags;
  std::uint16_t typeCode;
  NodeRef group;   // the TypeGroup reached at this level
  NodeRef entity;  // the Entity reached at this level
};
static_assert(sizeof(TowerLevel) == 12);
static_assert(offsetof(TowerLevel, flags) == 0);
static_assert(offsetof(TowerLevel, typeCode) == 2);
static_assert(offsetof(TowerLevel, group) == 4);
static_assert(offsetof(TowerLevel, entity) == 8);

// A Tower lives in a pool chunk holding lastLevel + 1 levels; the levels
// beyond lastLevel are not part of it and must not be touched.
struct Tower {
  std::uint8_t lastLevel;    // 0..32
  std::uint8_t reserved[3];
  std::uint32_t chunkSize;   // size of the Tower's own pool chunk
  TowerLevel levels[kTowerMaxLevels];
};
static_assert(offsetof(Tower, lastLevel) == 0);
static_assert(offsetof(Tower, chunkSize) == 4);
static_assert(offsetof(Tower, levels) == 8);

// The entity a level or a Tower stands on (a Tower's is its last level's).
inline Entity* LevelEntity(const TowerLevel& level) { return NodeAt<Entity>(level.entity); }
inline Entity* TowerEntity(const Tower* t) {
  return t ? NodeAt<Entity>(t->levels[t->lastLevel].entity) : nullptr;
}
inline TowerLevel& LastLevel(Tower* t) { return t->levels[t->lastLevel]; }
inline const TowerLevel& LastLevel(const Tower* t) { return t->levels[t->lastLevel]; }
// The payload of the entity a Tower stands on, or null.
inline std::uint8_t* TowerPayload(const Tower* t) { return EntityPayload(TowerEntity(t)); }

// Handles. Whoever builds a Tower releases it; every operation that returns a
// Tower returns a new one.
Tower* NewTower(std::uint8_t lastLevel);
Tower* DuplicateTower(const Tower* t);
Tower* DuplicateTowerToLevel(const Tower* t, std::uint8_t lastLevel);
void FreeTower(Tower* t);
void ReleaseTower(Tower** variable);
// A Tower released when the holder goes.
struct TowerReleaser {
  void operator()(Tower* t) const { FreeTower(t); }
};
using OwnedTower = std::unique_ptr<Tower, TowerReleaser>;

// Search.
TowerLevel* ResetTowerSearch(Tower* t, std::uint8_t mode);
Entity* FindNextEntity(Tower* t);
void SkipToNextType(Tower* t);
Tower* GetChildTower(const Tower* t, std::uint16_t code);
Tower* GetAllChildrenTower(const Tower* t);
Tower* OpenChildTower(const Tower* t, std::uint16_t code);
void* GetEntityData(const Tower* t, std::uint16_t code);
Tower* GetAncestorTower(const Tower* t, std::uint16_t code);
Tower* EntityToTower(const Tower* t, Entity* e, std::int32_t level);
void MarkTowerPathPositioned(Tower* t);

// Changes.
Tower* InsertEntity(const Tower* t, std::uint32_t size, std::uint16_t code, const void* data);
Tower* InsertEntitySpace(const Tower* t, std::uint32_t size, std::uint16_t code);
Tower* InsertEmptyEntity(const Tower* t, std::uint16_t code);
void DeleteEntity(Tower* t);
std::uint32_t DeleteChildEntities(const Tower* t, std::uint16_t code);
// Clears the `mask` state bits of the Tower's entity and of every entity
// under it (group nodes keep theirs).
void ClearSubTreeStateBits(const Tower* t, std::uint16_t mask);

// The one observer told of every entity the store frees (DeleteEntity and the
// sub-trees it takes with it), by the entity's reference, just before its
// chunk goes back to the pool. Since freed chunks are reused, whoever keeps
// references to entities outside the tree (the undo history) learns here
// that a reference no longer names what it named. Null for none.
using EntityFreeObserver = void (*)(NodeRef entity);
void SetEntityFreeObserver(EntityFreeObserver observer);

// Inserts a new entity of the last level's code at t's last level itself (the
// newest of that code under the entity at level n - 1, or at the top level),
// and leaves t standing on it. Raises "Insert at Wrong Level" when the parent
// does not exist. The tower-file loader splices loaded sub-trees through it.
Entity* InsertAtLastLevel(Tower* t, std::uint32_t size);

// Record-size helpers: the payload size to pass to InsertEntity for
// variable-length records.
std::uint32_t PolygonEntitySize(const void* payload);
std::uint32_t NamedEntitySize(const void* payload);
std::uint32_t NamedRecordSize(const void* record);
std::uint32_t SetDefaultSizeForType(std::uint32_t index, std::uint16_t code);
