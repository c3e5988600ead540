#include "platform/kernel_memory.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <new>

#include "platform/kernel_base.h"
#include "platform/reset_hooks.h"

namespace {

struct Block {
  std::unique_ptr<unsigned char[]> bytes;
  SIZE_T size = 0;
  unsigned locks = 0;
};

struct Blocks {
  std::mutex lock;
  std::map<std::uintptr_t, Block> live;
  std::uintptr_t next = 0x4000;
};

// Never destroyed: a block may still be freed by a static's destructor at exit.
Blocks& All() {
  static Blocks* const blocks = new Blocks;
  return *blocks;
}

// A movable block's handle is a number of its own, never its address, so a
// stale handle is told from a live one; a fixed block's handle is its address,
// as callers that use it as a pointer expect.
std::uintptr_t Key(HGLOBAL h) { return reinterpret_cast<std::uintptr_t>(h); }

// The live block of a handle, or null with ERROR_INVALID_HANDLE set. The
// caller holds the lock.
Block* LiveBlock(Blocks& b, HGLOBAL h) {
  auto it = b.live.find(Key(h));
  if (it != b.live.end()) return &it->second;
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

void ResetBlocks() {
  Blocks& b = All();
  std::lock_guard<std::mutex> guard(b.lock);
  b.live.clear();
}

const bool kResetRegistered = pl3::RegisterGlobalReset(&ResetBlocks);

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if (flags & ~(GMEM_MOVEABLE | GMEM_ZEROINIT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Block block;
  block.size = bytes;
  block.bytes.reset(new (std::nothrow) unsigned char[bytes ? bytes : 1]);
  if (!block.bytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (flags & GMEM_ZEROINIT) std::fill_n(block.bytes.get(), bytes, static_cast<unsigned char>(0));
  Blocks& b = All();
  std::lock_guard<std::mutex> guard(b.lock);
  std::uintptr_t key = reinterpret_cast<std::uintptr_t>(block.bytes.get());
  if (flags & GMEM_MOVEABLE) key = b.next += 8;
  b.live.emplace(key, std::move(block));
  return reinterpret_cast<HGLOBAL>(key);
}

LPVOID GlobalLock(HGLOBAL h) {
  Blocks& b = All();
  std::lock_guard<std::mutex> guard(b.lock);
  Block* block = LiveBlock(b, h);
  if (!block) return nullptr;
  block->locks++;
  return block->bytes.get();
}

BOOL GlobalUnlock(HGLOBAL h) {
  Blocks& b = All();
  std::lock_guard<std::mutex> guard(b.lock);
  Block* block = LiveBlock(b, h);
  if (!block) return FALSE;
  if (block->locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--block->locks > 0) return TRUE;
  SetLastError(ERROR_SUCCESS);
  return FALSE;
}

HGLOBAL GlobalFree(HGLOBAL h) {
  Blocks& b = All();
  std::lock_guard<std::mutex> guard(b.lock);
  if (b.live.erase(Key(h)) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return h;
  }
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL h) {
  Blocks& b = All();
  std::lock_guard<std::mutex> guard(b.lock);
  Block* block = LiveBlock(b, h);
  return block ? block->size : 0;
}

std::size_t pl3::LiveGlobalBlockCount() {
  Blocks& b = All();
  std::lock_guard<std::mutex> guard(b.lock);
  return b.live.size();
}
