// The node pool and the nodes of the tower store.
//
// Every node of the store starts with a 20-byte TowerNode header. A node lives
// in a chunk of the pool, and the pool's 16 MB blocks live in the platform's
// 4 GiB node arena, so a node is named everywhere by its 32-bit offset in that
// arena (NodeRef, 0 for none): links between nodes, the entities a Tower
// reaches and the references that payloads and tower files hold are all 32
// bits wide. NodeAt turns a reference back into a pointer.
//
// Chunks are carved in 32 size classes: class k (1..31) holds free chunks of
// exactly 16*k bytes, class 32 every free chunk of 512 bytes or more. Chunks
// are never merged and blocks go back to the system only at teardown.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/arena.h"

// A node reference: the node's offset in the node arena, 0 for none.
using NodeRef = pl3::ArenaOffset;

// The header of every node, byte for byte as tower files carry it.
struct TowerNode {
  std::uint16_t flags;     // bit 0 set for a TypeGroup; other bits are entity state bits
  std::uint16_t typeCode;  // TypeCode
  NodeRef next;            // next sibling
  NodeRef previous;        // previous sibling
  std::uint32_t payloadSize;  // requested payload rounded up to 16; 0 for a TypeGroup
  NodeRef firstChild;      // Entity: first TypeGroup; TypeGroup: newest Entity
};
static_assert(sizeof(TowerNode) == 20);
static_assert(offsetof(TowerNode, flags) == 0);
static_assert(offsetof(TowerNode, typeCode) == 2);
static_assert(offsetof(TowerNode, next) == 4);
static_assert(offsetof(TowerNode, previous) == 8);
static_assert(offsetof(TowerNode, payloadSize) == 12);
static_assert(offsetof(TowerNode, firstChild) == 16);

// A data node (its payload follows the header) and a node that groups the
// entities of one type code under a parent. Both are plain TowerNodes; bit 0
// of the flags tells them apart.
using Entity = TowerNode;
using TypeGroup = TowerNode;

constexpr std::uint16_t kNodeIsTypeGroup = 0x0001;
// Entity state bits, owned by the editing engine; the store never sets them.
constexpr std::uint16_t kEntitySelected = 0x0004;
constexpr std::uint16_t kEntitySelectedPart = 0x0020;
constexpr std::uint16_t kEntityHighlighted = 0x0040;
// The state bits no writer stores: 0x04 also marks items that a later load
// deletes, so a saved selection would vanish with it.
constexpr std::uint16_t kEntityTransientBits = kEntitySelected | kEntitySelectedPart | kEntityHighlighted;

constexpr std::uint32_t kTowerNodeHeaderSize = sizeof(TowerNode);

// Turns a node reference into a pointer (null for 0).
template <typename T = TowerNode>
inline T* NodeAt(NodeRef ref) {
  return pl3::ArenaPointer<T>(ref);
}
inline NodeRef NodeRefOf(const void* node) { return pl3::ArenaOffsetOf(node); }

// The payload of an entity: the bytes right after its header. Payloads are
// only 4-byte aligned; read wider fields with std::memcpy.
inline std::uint8_t* EntityPayload(Entity* e) {
  return e ? reinterpret_cast<std::uint8_t*>(e) + kTowerNodeHeaderSize : nullptr;
}
inline const std::uint8_t* EntityPayload(const Entity* e) {
  return e ? reinterpret_cast<const std::uint8_t*>(e) + kTowerNodeHeaderSize : nullptr;
}

inline constexpr std::uint32_t RoundUp16(std::uint32_t size) { return (size + 15u) & ~15u; }

// The pool.
constexpr std::uint32_t kPoolBlockSize = 16u * 1024u * 1024u;  // 16,777,216
constexpr std::uint32_t kPoolBlockHeaderSize = 16;
constexpr std::uint32_t kPoolBlockUsable = kPoolBlockSize - kPoolBlockHeaderSize;  // 16,777,200
constexpr int kPoolClassCount = 32;
constexpr int kPoolLargeClass = 32;  // chunks of 512 bytes or more

// The head of a PoolBlock: the blocks form a list, newest first.
struct PoolBlock {
  NodeRef next;
  NodeRef previous;
  std::uint32_t blockSize;
  std::uint32_t reserved;
};
static_assert(sizeof(PoolBlock) == kPoolBlockHeaderSize);

// A free chunk, doubly linked through its own first bytes.
struct FreeChunk {
  NodeRef next;
  NodeRef previous;
  std::uint32_t size;
  // The chunk two places further down the list when this one was pushed: a
  // hint for fetching ahead, stale once the list changes in between.
  NodeRef afterNext;
};
static_assert(sizeof(FreeChunk) == 16);

// One size class: its free list (last freed first) and two statistics that
// guide the choice of a donor class when a chunk is split.
struct PoolSizeClass {
  NodeRef freeList;
  std::int32_t liveCount;  // allocations of this size not given back (a statistic)
  std::uint32_t freeCount;
};

// Starts the store: empties the size classes and the block list, then makes
// the RootGroup and its "Null Entry". Called once at start-up.
void InitTowerStore();
// Returns every PoolBlock to the system. Nothing may touch the store afterwards.
void ReleaseTowerStore();

// A chunk of at least `size` bytes (rounded up to 16). Its bytes are whatever
// the chunk held before: zero from a fresh block, not cleared when reused.
void* AllocNode(std::uint32_t size);
// Gives a chunk back to its size class; `size` is the size it was taken with.
void FreeNode(void* chunk, std::uint32_t size);

// The size class that holds chunks of `size` bytes (rounded up to 16).
int PoolClassOfSize(std::uint32_t size);
// The pool's classes 1..32 and its block list, for statistics and tests.
const PoolSizeClass& PoolClass(int k);
NodeRef PoolBlockList();

// The RootGroup: the head of the top-level group list, code 0, holding the
// code-0 "Null Entry".
TypeGroup* RootGroup();

// The store's fatal errors, numbered as the fatal error handler shows them:
// the handler's table, whose last text (17) names no store error.
constexpr std::uint16_t kTowerErrorCount = 18;
extern const char* const TowerErrorText[kTowerErrorCount];
// The text of a store error number, "" when the number is out of range.
const char* TowerErrorTextOf(std::uint16_t number);

constexpr std::uint16_t kTowerErrorDelete = 2;
constexpr std::uint16_t kTowerErrorOutOfMemory = 7;
constexpr std::uint16_t kTowerErrorInsertAtWrongLevel = 8;

// Hands the number to the fatal error handler, which ends the program.
[[noreturn]] void RaiseTowerError(std::uint16_t number);

// Forward byte copy and 16-bit pattern fill: an odd byte first, then one
// 16-bit word when bit 1 of the count is set, then 32-bit words.
void MemCopy(const void* source, void* destination, std::uint32_t count);
void MemFillWord(void* destination, std::uint16_t value, std::uint32_t count);

// 1: the store runs on its own pool.
int TowerAllocatorInUse();
