// The node arena: one 4 GiB reservation of address space, made once, in which
// blocks are committed on request. Everything inside it is named by its 32-bit
// offset from the arena's base, 0 meaning none, so that stored 32-bit node
// references stay 32 bits wide on a 64-bit machine.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pl3 {

using ArenaOffset = std::uint32_t;

// Base of the reservation, made by the first commit. Every non-zero offset
// comes from a commit, so it is set whenever an offset needs turning back.
extern std::uint8_t* gArenaBase;
inline std::uint8_t* ArenaBase() { return gArenaBase; }

// Commits `size` bytes (rounded up to whole pages) of the arena and returns
// their address, or null when the arena has no room left or the commit is
// refused. Offset 0 is never handed out.
void* ArenaCommit(std::size_t size);

// Releases a block that ArenaCommit returned: its pages go back to the system
// and its address range becomes free for a later commit of the same size.
void ArenaRelease(void* block);

// Number of bytes currently committed.
std::size_t ArenaCommittedBytes();

// Tests only: the next commits are refused while `limit` bytes or more are
// committed. 0 removes the limit.
void ArenaSetCommitLimitForTests(std::size_t limit);

// Memory that no 32-bit reference names (large buffers) comes from outside
// the arena, so that the arena's room stays for the design. SystemPagesCommit
// returns `size` zeroed, writable bytes starting on a page boundary, or null
// when refused; SystemPagesRelease gives back a block it returned.
void* SystemPagesCommit(std::size_t size);
void SystemPagesRelease(void* block);

// True when `p` lies in the arena's reservation.
inline bool InArena(const void* p) {
  const auto* b = static_cast<const std::uint8_t*>(p);
  return gArenaBase && b >= gArenaBase && static_cast<std::size_t>(b - gArenaBase) < (std::size_t{1} << 32);
}

inline ArenaOffset ArenaOffsetOf(const void* p) {
  return p ? static_cast<ArenaOffset>(static_cast<const std::uint8_t*>(p) - ArenaBase()) : 0;
}

template <typename T = void>
inline T* ArenaPointer(ArenaOffset offset) {
  return offset ? reinterpret_cast<T*>(ArenaBase() + offset) : nullptr;
}

}  // namespace pl3
