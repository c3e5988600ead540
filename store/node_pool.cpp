// The node pool: 32 size classes carved from 16 MB blocks of the node arena,
// the start and end of the store, and its fatal errors.
#include "store/node_pool.h"

#include <cstdint>
#include <cstring>

#include "platform/reset_hooks.h"
#include "store/seams.h"
#include "store/tower_file.h"

const char* const TowerErrorText[kTowerErrorCount] = {
    "Not An Error!!!",
    "Insert Error",
    "Delete Error",
    "Hierachy Error",
    "Entity Length Error",
    "Modify Length Error",
    "Invalid Search Request",
    "Out of Memory",
    "Insert at Wrong Level",
    "Modify Hier Error",
    "Memory Allocation Error",
    "Repoint Entity Error",
    "Undo RLE Compression Error",
    "Compression Error",
    "Load Error",
    "Refresh Failure - Horizontal",
    "Refresh Failure - Vertical",
    "Null Entry",
};

namespace {

struct PoolState {
  PoolSizeClass classes[kPoolClassCount + 1];  // index 0 unused
  NodeRef blocks = 0;                          // newest first
  NodeRef rootGroup = 0;
};

PoolState gPool;

FreeChunk* ChunkAt(NodeRef ref) { return NodeAt<FreeChunk>(ref); }

// Pushes a chunk at the head of its class's free list.
void PushFree(void* chunk, std::uint32_t size, bool countAsFreed) {
  const int k = PoolClassOfSize(size);
  PoolSizeClass& c = gPool.classes[k];
  FreeChunk* f = static_cast<FreeChunk*>(chunk);
  const NodeRef ref = NodeRefOf(chunk);
  f->next = c.freeList;
  f->previous = 0;
  f->size = RoundUp16(size);
  f->afterNext = 0;
  if (c.freeList) {
    FreeChunk* head = ChunkAt(c.freeList);
    head->previous = ref;
    f->afterNext = head->next;
  }
  c.freeList = ref;
  ++c.freeCount;
  if (countAsFreed) --c.liveCount;
}

// Starts fetching every line of a free chunk of class k for writing (the
// first 512 bytes of a large one): an allocation of its size soon takes it,
// and a tower-file load fills it whole at once.
void PrefetchChunk(const FreeChunk* f, int k) {
  const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(f);
  const std::uintptr_t bytes = k < kPoolLargeClass ? 16u * static_cast<std::uintptr_t>(k) : 512u;
  for (std::uintptr_t line = first & ~std::uintptr_t{63}; line < first + bytes; line += 64)
    __builtin_prefetch(reinterpret_cast<const void*>(line), 1);
}

// Unlinks a free chunk from class k's list. The head of a list is known by
// the class, not by its previous link: taking the head leaves the new head's
// previous link stale (the next push sets it) and only starts fetching the
// new head.
// Freed chunks are cold, and a write to one would hold up the caller's own
// writes to the chunk it took until the line arrived: a run of loads takes
// chunks one after another and would wait on every one.
void Unlink(int k, FreeChunk* f) {
  PoolSizeClass& c = gPool.classes[k];
  if (c.freeList == NodeRefOf(f)) {
    c.freeList = f->next;
    if (f->next) PrefetchChunk(ChunkAt(f->next), k);
    if (f->afterNext) PrefetchChunk(ChunkAt(f->afterNext), k);
  } else {
    ChunkAt(f->previous)->next = f->next;
    if (f->next) ChunkAt(f->next)->previous = f->previous;
  }
  --c.freeCount;
}

// Takes the head of class k's list, or null.
std::uint8_t* PopHead(int k) {
  PoolSizeClass& c = gPool.classes[k];
  if (!c.freeList) return nullptr;
  FreeChunk* f = ChunkAt(c.freeList);
  Unlink(k, f);
  return reinterpret_cast<std::uint8_t*>(f);
}

// Takes a chunk of `take` bytes from the head of class k, giving the rest back.
std::uint8_t* SplitHead(int k, std::uint32_t take) {
  std::uint8_t* p = PopHead(k);
  const std::uint32_t rest = static_cast<std::uint32_t>(k) * 16u - take;
  if (rest) PushFree(p + take, rest, true);
  return p;
}

// Step 1c: the donor among classes n+2..31 whose remainder class is in least
// demand, or 0 when none qualifies.
int ChooseDonor(int n) {
  int best = 0;
  for (int c = n + 2; c < kPoolClassCount; ++c) {
    if (!gPool.classes[c].freeList || !gPool.classes[c - n].freeList) continue;
    if (!best || gPool.classes[c - n].liveCount < gPool.classes[best - n].liveCount) best = c;
  }
  return best;
}

// Step 2: first fit in class 32.
std::uint8_t* FirstFitLarge(std::uint32_t bytes) {
  for (NodeRef r = gPool.classes[kPoolLargeClass].freeList; r;) {
    FreeChunk* f = ChunkAt(r);
    if (f->size >= bytes) {
      const std::uint32_t size = f->size;
      Unlink(kPoolLargeClass, f);
      std::uint8_t* p = reinterpret_cast<std::uint8_t*>(f);
      if (size > bytes) PushFree(p + bytes, size - bytes, true);
      return p;
    }
    r = f->next;
  }
  return nullptr;
}

// Step 4: a new block at the head of the block list, its usable bytes one
// free chunk of class 32.
void AddBlock() {
  void* memory = VirtualAllocBlock(kPoolBlockSize);
  if (!memory) RaiseTowerError(kTowerErrorOutOfMemory);
  PoolBlock* b = static_cast<PoolBlock*>(memory);
  const NodeRef ref = NodeRefOf(b);
  b->next = gPool.blocks;
  b->previous = 0;
  b->blockSize = kPoolBlockSize;
  b->reserved = 0;
  if (gPool.blocks) NodeAt<PoolBlock>(gPool.blocks)->previous = ref;
  gPool.blocks = ref;
  PushFree(static_cast<std::uint8_t*>(memory) + kPoolBlockHeaderSize, kPoolBlockUsable, false);
}

// Between tests the store is torn down and started afresh. Every node and
// Tower of the previous test is gone with it, so other modules' resets must
// only forget the Towers they hold, never release them.
void ResetStoreForTests() {
  FreeFileRepointTable();
  ReleaseTowerStore();
  InitTowerStore();
}

const bool gResetRegistered = pl3::RegisterGlobalReset(&ResetStoreForTests);

}  // namespace

int PoolClassOfSize(std::uint32_t size) {
  const std::uint32_t rounded = RoundUp16(size ? size : 1);
  return rounded < 512 ? static_cast<int>(rounded / 16) : kPoolLargeClass;
}

const PoolSizeClass& PoolClass(int k) { return gPool.classes[k]; }
NodeRef PoolBlockList() { return gPool.blocks; }
TypeGroup* RootGroup() { return NodeAt<TypeGroup>(gPool.rootGroup); }

void* AllocNode(std::uint32_t size) {
  (void)gResetRegistered;
  if (size > kPoolBlockUsable) RaiseTowerError(kTowerErrorOutOfMemory);
  const std::uint32_t bytes = RoundUp16(size ? size : 1);
  const int n = static_cast<int>(bytes / 16);
  if (n < kPoolClassCount) {
    ++gPool.classes[n].liveCount;
    if (std::uint8_t* p = PopHead(n)) return p;
    if (2 * n < kPoolClassCount && gPool.classes[2 * n].freeList) return SplitHead(2 * n, bytes);
    if (n + 2 < kPoolClassCount) {
      if (const int donor = ChooseDonor(n)) return SplitHead(donor, bytes);
    }
  } else {
    ++gPool.classes[kPoolLargeClass].liveCount;
  }
  if (std::uint8_t* p = FirstFitLarge(bytes)) return p;
  if (n + 1 < kPoolClassCount && gPool.classes[n + 1].freeList) return SplitHead(n + 1, bytes);
  AddBlock();
  return FirstFitLarge(bytes);
}

void FreeNode(void* chunk, std::uint32_t size) {
  if (!chunk) return;
  PushFree(chunk, size ? size : 1, true);
}

void InitTowerStore() {
  gPool = PoolState{};
  TypeGroup* group = static_cast<TypeGroup*>(AllocNode(kTowerNodeHeaderSize));
  Entity* entry = static_cast<Entity*>(AllocNode(kTowerNodeHeaderSize));
  *group = TowerNode{kNodeIsTypeGroup, 0, 0, 0, 0, NodeRefOf(entry)};
  *entry = TowerNode{0, 0, 0, 0, 0, 0};
  gPool.rootGroup = NodeRefOf(group);
}

void ReleaseTowerStore() {
  for (NodeRef r = gPool.blocks; r;) {
    PoolBlock* b = NodeAt<PoolBlock>(r);
    r = b->next;
    VirtualFreeBlock(b);
  }
  gPool = PoolState{};
}

const char* TowerErrorTextOf(std::uint16_t number) {
  return number < kTowerErrorCount ? TowerErrorText[number] : "";
}

void RaiseTowerError(std::uint16_t number) {
  FatalErrorFlag = 1;
  Error(number);
}

void MemCopy(const void* source, void* destination, std::uint32_t count) {
  // Forward copy; std::memmove keeps overlapping ranges sound.
  if (count) std::memmove(destination, source, count);
}

void MemFillWord(void* destination, std::uint16_t value, std::uint32_t count) {
  std::uint8_t* d = static_cast<std::uint8_t*>(destination);
  const std::uint8_t lo = static_cast<std::uint8_t>(value & 0xFF);
  const std::uint8_t hi = static_cast<std::uint8_t>(value >> 8);
  if (count & 1u) *d++ = lo;
  if (count & 2u) {
    *d++ = lo;
    *d++ = hi;
  }
  for (std::uint32_t words = count / 4; words; --words) {
    d[0] = lo;
    d[1] = hi;
    d[2] = lo;
    d[3] = hi;
    d += 4;
  }
}

int TowerAllocatorInUse() { return 1; }
