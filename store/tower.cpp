// Tower handles, the search step, insertion and deletion.
#include "store/tower.h"

#include <algorithm>

#include "store/seams.h"

namespace {

constexpr std::uint16_t kLevelModeBits = kLevelMatch | kLevelAny;
constexpr std::uint16_t kLevelSearchBits =
    kLevelMatch | kLevelAny | kLevelAdvance | kLevelPositioned | kLevelLast | kLevelSkip;
constexpr std::uint32_t kTowerHeadSize = offsetof(Tower, levels);

std::uint32_t TowerChunkSize(int lastLevel) {
  return RoundUp16(kTowerHeadSize + sizeof(TowerLevel) * static_cast<std::uint32_t>(lastLevel + 1));
}

std::uint32_t EntityChunkSize(const Entity* e) { return RoundUp16(kTowerNodeHeaderSize + e->payloadSize); }

EntityFreeObserver g_freeObserver = nullptr;

// Every entity chunk goes back to the pool through here.
void FreeEntityNode(Entity* e) {
  if (g_freeObserver) g_freeObserver(NodeRefOf(e));
  FreeNode(e, EntityChunkSize(e));
}

// The newest entity of `code` in a group list, recording its group; 0 when
// the list has no group of that code (the walk stops at a larger code).
NodeRef NewestOfCode(NodeRef list, std::uint16_t code, NodeRef* group) {
  for (NodeRef g = list; g;) {
    const TypeGroup* node = NodeAt<TypeGroup>(g);
    if (node->typeCode == code) {
      *group = g;
      return node->firstChild;
    }
    if (node->typeCode > code) return 0;
    g = node->next;
  }
  return 0;
}

TypeGroup* FindGroup(NodeRef list, std::uint16_t code) {
  NodeRef group = 0;
  return NewestOfCode(list, code, &group) ? NodeAt<TypeGroup>(group) : nullptr;
}

// An any-level taking the newest entity of a group and recording it.
NodeRef EnterGroup(TowerLevel& level, NodeRef group) {
  if (!group) return 0;
  const TypeGroup* g = NodeAt<TypeGroup>(group);
  level.group = group;
  level.typeCode = g->typeCode;
  return g->firstChild;
}

// Searches one level that is not kept as it stands.
NodeRef SearchLevel(TowerLevel& level, NodeRef list) {
  const bool positioned = level.flags & kLevelPositioned;
  if (level.flags & kLevelMatch) {
    if (!positioned) return NewestOfCode(list, level.typeCode, &level.group);
    return level.entity ? NodeAt<Entity>(level.entity)->next : 0;
  }
  if (level.flags & kLevelAny) {
    if (!positioned) return EnterGroup(level, list);
    const bool skip = level.flags & kLevelSkip;
    level.flags &= ~kLevelSkip;
    if (!skip && level.entity) {
      if (const NodeRef older = NodeAt<Entity>(level.entity)->next) return older;
    }
    return level.group ? EnterGroup(level, NodeAt<TypeGroup>(level.group)->next) : 0;
  }
  return level.entity;  // fixed
}

struct StepResult {
  Entity* entity;  // the last level's entity, or null
  int resolved;    // the number of levels that resolved
};

// One search step over a Tower, level by level from the top-level list.
StepResult SearchStep(Tower* t) {
  const int n = t->lastLevel;
  NodeRef list = NodeRefOf(RootGroup());
  for (int k = 0; k <= n; ++k) {
    TowerLevel& level = t->levels[k];
    const bool kept = (level.flags & kLevelPositioned) && !(level.flags & kLevelAdvance);
    if (!kept) {
      const NodeRef e = SearchLevel(level, list);
      if (!e) {
        level.flags &= ~kLevelPositioned;
        return {nullptr, k};
      }
      level.entity = e;
      level.flags |= kLevelPositioned;
      if (k < n) t->levels[k + 1].flags &= ~kLevelPositioned;
    } else if (!level.entity) {
      level.flags &= ~kLevelPositioned;
      return {nullptr, k};
    }
    if (k == n) return {NodeAt<Entity>(level.entity), n + 1};
    list = NodeAt<Entity>(level.entity)->firstChild;
    if (!list) {
      t->levels[k + 1].flags &= ~kLevelPositioned;
      return {nullptr, k + 1};
    }
  }
  return {nullptr, 0};
}

// Where the first group of a parent is kept: the entity's first-child field,
// or for the top level the caller's copy of the list head, which never
// changes (the RootGroup stays first: it has the lowest code and is never
// deleted).
NodeRef* ParentListSlot(const Tower* t, int level, NodeRef* topLevel) {
  *topLevel = NodeRefOf(RootGroup());
  return level == 0 ? topLevel : &NodeAt<Entity>(t->levels[level - 1].entity)->firstChild;
}

// Links a new group into a parent's list after the last group of a lower code.
void LinkGroup(NodeRef* head, TypeGroup* group) {
  const NodeRef ref = NodeRefOf(group);
  NodeRef before = 0;
  for (NodeRef g = *head; g && NodeAt<TypeGroup>(g)->typeCode < group->typeCode;) {
    before = g;
    g = NodeAt<TypeGroup>(g)->next;
  }
  if (!before) {
    group->next = *head;
    group->previous = 0;
    if (*head) NodeAt<TypeGroup>(*head)->previous = ref;
    *head = ref;
    return;
  }
  TypeGroup* prev = NodeAt<TypeGroup>(before);
  group->next = prev->next;
  group->previous = before;
  if (prev->next) NodeAt<TypeGroup>(prev->next)->previous = ref;
  prev->next = ref;
}

// Frees every descendant of an entity bottom up; the entity is left without
// children. The children go newest first, group by group, each after its own
// sub-tree; a parent's group nodes go only once every entity under them is
// gone. The order matters: the last chunk freed is the first one reused.
void FreeSubTree(Entity* e) {
  for (NodeRef g = e->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
    for (NodeRef c = NodeAt<TypeGroup>(g)->firstChild; c;) {
      Entity* child = NodeAt<Entity>(c);
      c = child->next;
      FreeSubTree(child);
      FreeEntityNode(child);
    }
  }
  for (NodeRef g = e->firstChild; g;) {
    TypeGroup* group = NodeAt<TypeGroup>(g);
    g = group->next;
    FreeNode(group, kTowerNodeHeaderSize);
  }
  e->firstChild = 0;
}

void ClearStateBitsBelow(Entity* e, std::uint16_t mask) {
  e->flags &= static_cast<std::uint16_t>(~mask);
  for (NodeRef g = e->firstChild; g; g = NodeAt<TypeGroup>(g)->next)
    for (NodeRef c = NodeAt<TypeGroup>(g)->firstChild; c; c = NodeAt<Entity>(c)->next)
      ClearStateBitsBelow(NodeAt<Entity>(c), mask);
}

void ReportNullTower() { ShowAndLogError(nullptr, "Not a vector tower!", "TestVectorTower", 1); }

}  // namespace

void SetEntityFreeObserver(EntityFreeObserver observer) { g_freeObserver = observer; }

Tower* NewTower(std::uint8_t lastLevel) {
  if (lastLevel >= kTowerMaxLevels) lastLevel = kTowerMaxLevels - 1;
  const std::uint32_t size = TowerChunkSize(lastLevel);
  Tower* t = static_cast<Tower*>(AllocNode(size));
  t->lastLevel = lastLevel;
  t->reserved[0] = t->reserved[1] = t->reserved[2] = 0;
  t->chunkSize = size;
  for (int k = 0; k <= lastLevel; ++k) t->levels[k] = TowerLevel{0, 0, 0, 0};
  t->levels[lastLevel].flags = kLevelLast;
  return t;
}

Tower* DuplicateTowerToLevel(const Tower* t, std::uint8_t lastLevel) {
  Tower* copy = NewTower(lastLevel);
  const int shared = t->lastLevel < copy->lastLevel ? t->lastLevel : copy->lastLevel;
  for (int k = 0; k <= shared; ++k) {
    const TowerLevel& from = t->levels[k];
    TowerLevel& to = copy->levels[k];
    to.typeCode = from.typeCode;
    to.group = from.group;
    to.entity = from.entity;
    to.flags |= from.flags & kLevelModeBits;
  }
  return copy;
}

Tower* DuplicateTower(const Tower* t) { return DuplicateTowerToLevel(t, t->lastLevel); }

void FreeTower(Tower* t) {
  if (t) FreeNode(t, t->chunkSize);
}

void ReleaseTower(Tower** variable) {
  if (!variable || !*variable) return;
  Tower* t = *variable;
  for (int k = 0; k <= t->lastLevel; ++k) t->levels[k] = TowerLevel{0, 0, 0, 0};
  FreeNode(t, t->chunkSize);
  *variable = nullptr;
}

TowerLevel* ResetTowerSearch(Tower* t, std::uint8_t mode) {
  // A pending skip goes too: left set, it would make the restarted walk drop
  // the rest of the first code it meets.
  for (int k = 0; k <= t->lastLevel; ++k) t->levels[k].flags &= ~kLevelSearchBits;
  TowerLevel& last = LastLevel(t);
  last.flags |= kLevelAdvance | kLevelLast | (mode & kLevelModeBits);
  return &last;
}

Entity* FindNextEntity(Tower* t) { return SearchStep(t).entity; }

void SkipToNextType(Tower* t) {
  TowerLevel& last = LastLevel(t);
  if (last.flags & kLevelAny) last.flags |= kLevelSkip;
}

namespace {
Tower* ChildTower(const Tower* t, std::uint16_t flags, std::uint16_t code) {
  if (!t || t->lastLevel + 1 >= kTowerMaxLevels) return nullptr;
  Tower* child = DuplicateTowerToLevel(t, static_cast<std::uint8_t>(t->lastLevel + 1));
  for (int k = 0; k < child->lastLevel; ++k) child->levels[k].flags = 0;
  LastLevel(child) = TowerLevel{flags, code, 0, 0};
  return child;
}
}  // namespace

Tower* GetChildTower(const Tower* t, std::uint16_t code) {
  return ChildTower(t, kLevelMatch | kLevelAdvance | kLevelLast, code);
}

Tower* GetAllChildrenTower(const Tower* t) { return ChildTower(t, kLevelAny | kLevelAdvance | kLevelLast, 0); }

Tower* OpenChildTower(const Tower* t, std::uint16_t code) {
  Tower* child = GetChildTower(t, code);
  if (child && !FindNextEntity(child)) ReleaseTower(&child);
  return child;
}

void* GetEntityData(const Tower* t, std::uint16_t code) {
  if (!t) {
    ReportNullTower();
    return nullptr;
  }
  Tower* child = GetChildTower(t, code);
  void* payload = child ? EntityPayload(FindNextEntity(child)) : nullptr;
  ReleaseTower(&child);
  return payload;
}

Tower* GetAncestorTower(const Tower* t, std::uint16_t code) {
  for (int k = t->lastLevel; k >= 1; --k) {
    if (t->levels[k].typeCode == code) return DuplicateTowerToLevel(t, static_cast<std::uint8_t>(k));
  }
  return DuplicateTowerToLevel(t, 0);
}

void MarkTowerPathPositioned(Tower* t) {
  for (int k = 0; k < t->lastLevel; ++k) t->levels[k].flags |= kLevelPositioned;
}

Entity* InsertAtLastLevel(Tower* t, std::uint32_t size) {
  const int n = t->lastLevel;
  for (int k = 0; k < n; ++k) t->levels[k].flags &= ~(kLevelModeBits | kLevelAdvance);
  TowerLevel& last = t->levels[n];
  last.flags = kLevelMatch | kLevelLast;
  const StepResult found = SearchStep(t);
  if (!found.entity && found.resolved < n) RaiseTowerError(kTowerErrorInsertAtWrongLevel);

  // No chunk is larger than a block; a bigger request must not wrap around
  // to a small one when it is rounded and the header added.
  if (size > kPoolBlockUsable - kTowerNodeHeaderSize) RaiseTowerError(kTowerErrorOutOfMemory);
  const std::uint32_t payloadSize = RoundUp16(size);
  Entity* e = static_cast<Entity*>(AllocNode(kTowerNodeHeaderSize + payloadSize));
  *e = TowerNode{0, last.typeCode, 0, 0, payloadSize, 0};
  const NodeRef ref = NodeRefOf(e);
  TypeGroup* group;
  if (found.entity) {
    group = NodeAt<TypeGroup>(last.group);
    e->next = group->firstChild;
    found.entity->previous = ref;
  } else {
    group = static_cast<TypeGroup*>(AllocNode(kTowerNodeHeaderSize));
    *group = TowerNode{kNodeIsTypeGroup, last.typeCode, 0, 0, 0, 0};
    NodeRef topLevel = 0;
    LinkGroup(ParentListSlot(t, n, &topLevel), group);
  }
  group->firstChild = ref;
  last.group = NodeRefOf(group);
  last.entity = ref;
  last.flags |= kLevelPositioned;
  return e;
}

Tower* InsertEntitySpace(const Tower* t, std::uint32_t size, std::uint16_t code) {
  if (!t) {
    ReportNullTower();
    return nullptr;
  }
  if (t->lastLevel + 1 >= kTowerMaxLevels) RaiseTowerError(kTowerErrorInsertAtWrongLevel);
  Tower* w = DuplicateTowerToLevel(t, static_cast<std::uint8_t>(t->lastLevel + 1));
  LastLevel(w).typeCode = code;
  InsertAtLastLevel(w, size);
  return w;
}

Tower* InsertEntity(const Tower* t, std::uint32_t size, std::uint16_t code, const void* data) {
  Tower* w = InsertEntitySpace(t, size, code);
  if (w && data && size) {
    auto* payload = static_cast<std::uint8_t*>(TowerPayload(w));
    MemCopy(data, payload, size);
    // The payload is rounded up to 16 bytes from a reused chunk: clear the
    // tail so that what another node left there never reaches a saved file.
    std::fill(payload + size, payload + RoundUp16(size), std::uint8_t{0});
  }
  return w;
}

Tower* InsertEmptyEntity(const Tower* t, std::uint16_t code) { return InsertEntitySpace(t, 0, code); }

void DeleteEntity(Tower* t) {
  const int n = t->lastLevel;
  bool allPositioned = true;
  for (int k = 0; k <= n; ++k) {
    t->levels[k].flags &= ~kLevelModeBits;
    allPositioned = allPositioned && (t->levels[k].flags & kLevelPositioned);
  }
  if (!allPositioned && !SearchStep(t).entity) return;
  Entity* target = LevelEntity(t->levels[n]);
  if (!target) return;

  NodeRef topLevel = 0;
  NodeRef* head = ParentListSlot(t, n, &topLevel);
  TypeGroup* group = FindGroup(*head, target->typeCode);
  // The "Null Entry" and its RootGroup live as long as the store.
  if (!group || (group == RootGroup() && group->firstChild == NodeRefOf(target) && !target->next)) return;

  FreeSubTree(target);
  if (target->firstChild) RaiseTowerError(kTowerErrorDelete);
  const NodeRef ref = NodeRefOf(target);
  if (group->firstChild == ref && !target->next) {
    if (group->previous) NodeAt<TypeGroup>(group->previous)->next = group->next;
    if (group->next) NodeAt<TypeGroup>(group->next)->previous = group->previous;
    if (*head == NodeRefOf(group)) *head = group->next;
    FreeNode(group, kTowerNodeHeaderSize);
  } else {
    if (group->firstChild == ref) group->firstChild = target->next;
    if (target->previous) NodeAt<Entity>(target->previous)->next = target->next;
    if (target->next) NodeAt<Entity>(target->next)->previous = target->previous;
  }
  FreeEntityNode(target);
  t->levels[n].flags &= ~kLevelPositioned;
}

std::uint32_t DeleteChildEntities(const Tower* t, std::uint16_t code) {
  Tower* child = GetChildTower(t, code);
  if (!child) return 0;
  std::uint32_t count = 0;
  while (FindNextEntity(child)) {
    DeleteEntity(child);
    ++count;
    ResetTowerSearch(child, kSearchMatch);
  }
  ReleaseTower(&child);
  return count;
}

void ClearSubTreeStateBits(const Tower* t, std::uint16_t mask) {
  Entity* e = TowerEntity(t);
  if (e) ClearStateBitsBelow(e, static_cast<std::uint16_t>(mask & ~kNodeIsTypeGroup));
}
