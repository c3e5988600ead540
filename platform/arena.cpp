#include "platform/arena.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace pl3 {

std::uint8_t* gArenaBase = nullptr;

namespace {

constexpr std::size_t kArenaSize = std::size_t{1} << 32;

struct ArenaState {
  // Free address ranges by offset -> size, and committed blocks by offset -> size.
  std::map<std::size_t, std::size_t> freeRanges;
  std::map<std::size_t, std::size_t> committed;
  std::size_t committedBytes = 0;
  std::size_t commitLimit = 0;
};

ArenaState& State() {
  static ArenaState state;
  return state;
}

std::size_t PageSize() {
  static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return page;
}

bool Reserve() {
  if (gArenaBase) return true;
  void* p = mmap(nullptr, kArenaSize, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (p == MAP_FAILED) return false;
  gArenaBase = static_cast<std::uint8_t*>(p);
  // The first page stays unused so that offset 0 can mean "none".
  State().freeRanges[PageSize()] = kArenaSize - PageSize();
  return true;
}

}  // namespace

void* ArenaCommit(std::size_t size) {
  if (size == 0 || !Reserve()) return nullptr;
  ArenaState& s = State();
  const std::size_t page = PageSize();
  size = (size + page - 1) / page * page;
  if (s.commitLimit && s.committedBytes + size > s.commitLimit) return nullptr;
  for (auto it = s.freeRanges.begin(); it != s.freeRanges.end(); ++it) {
    if (it->second < size) continue;
    const std::size_t offset = it->first;
    const std::size_t rest = it->second - size;
    s.freeRanges.erase(it);
    if (rest) s.freeRanges[offset + size] = rest;
    void* p = gArenaBase + offset;
    if (mprotect(p, size, PROT_READ | PROT_WRITE) != 0) {
      s.freeRanges[offset] = size;
      return nullptr;
    }
    s.committed[offset] = size;
    s.committedBytes += size;
    return p;
  }
  return nullptr;
}

void ArenaRelease(void* block) {
  if (!block || !gArenaBase) return;
  ArenaState& s = State();
  const std::size_t offset = static_cast<std::size_t>(static_cast<std::uint8_t*>(block) - gArenaBase);
  auto it = s.committed.find(offset);
  if (it == s.committed.end()) return;
  const std::size_t size = it->second;
  s.committed.erase(it);
  s.committedBytes -= size;
  // Give the pages back to the system and make the range inaccessible again.
  mmap(block, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_FIXED, -1, 0);
  auto [pos, inserted] = s.freeRanges.emplace(offset, size);
  // Merge with the following and the preceding free range.
  auto next = std::next(pos);
  if (next != s.freeRanges.end() && pos->first + pos->second == next->first) {
    pos->second += next->second;
    s.freeRanges.erase(next);
  }
  if (pos != s.freeRanges.begin()) {
    auto prev = std::prev(pos);
    if (prev->first + prev->second == pos->first) {
      prev->second += pos->second;
      s.freeRanges.erase(pos);
    }
  }
}

// A block outside the arena keeps its mapping's length in the page before it,
// which munmap needs back.
void* SystemPagesCommit(std::size_t size) {
  const std::size_t page = PageSize();
  if (size == 0 || size > SIZE_MAX - 2 * page) return nullptr;
  const std::size_t length = (size + page - 1) / page * page + page;
  void* p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return nullptr;
  *static_cast<std::size_t*>(p) = length;
  return static_cast<std::uint8_t*>(p) + page;
}

void SystemPagesRelease(void* block) {
  if (!block) return;
  void* start = static_cast<std::uint8_t*>(block) - PageSize();
  munmap(start, *static_cast<std::size_t*>(start));
}

std::size_t ArenaCommittedBytes() { return State().committedBytes; }

void ArenaSetCommitLimitForTests(std::size_t limit) { State().commitLimit = limit; }

}  // namespace pl3
