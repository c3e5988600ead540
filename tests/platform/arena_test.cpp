#include "platform/arena.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kBlock = 16u << 20;

TEST(Arena, OffsetsRoundTripToPointers) {
  auto* block = static_cast<std::uint8_t*>(pl3::ArenaCommit(kBlock));
  ASSERT_NE(block, nullptr);
  const pl3::ArenaOffset off = pl3::ArenaOffsetOf(block + 100);
  EXPECT_NE(off, 0u);
  EXPECT_EQ(pl3::ArenaPointer<std::uint8_t>(off), block + 100);
  EXPECT_EQ(pl3::ArenaPointer(0), nullptr);
  EXPECT_EQ(pl3::ArenaOffsetOf(nullptr), 0u);
  std::memset(block, 0xAB, kBlock);  // the whole block is writable
  pl3::ArenaRelease(block);
}

TEST(Arena, BlocksAreCommittedAndReleasedInWholeSteps) {
  const std::size_t before = pl3::ArenaCommittedBytes();
  void* a = pl3::ArenaCommit(kBlock);
  void* b = pl3::ArenaCommit(kBlock);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(pl3::ArenaCommittedBytes(), before + 2 * kBlock);
  pl3::ArenaRelease(a);
  EXPECT_EQ(pl3::ArenaCommittedBytes(), before + kBlock);
  // The freed range is reused and reads back as zero, like a fresh commit.
  auto* c = static_cast<std::uint8_t*>(pl3::ArenaCommit(kBlock));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c[0], 0);
  EXPECT_EQ(c[kBlock - 1], 0);
  pl3::ArenaRelease(b);
  pl3::ArenaRelease(c);
  EXPECT_EQ(pl3::ArenaCommittedBytes(), before);
}

TEST(Arena, RefusedCommitReturnsNull) {
  pl3::ArenaSetCommitLimitForTests(pl3::ArenaCommittedBytes() + kBlock);
  void* a = pl3::ArenaCommit(kBlock);
  EXPECT_NE(a, nullptr);
  EXPECT_EQ(pl3::ArenaCommit(kBlock), nullptr);
  pl3::ArenaSetCommitLimitForTests(0);
  pl3::ArenaRelease(a);
}

TEST(Arena, WholeReservationCanBeFilledButNotExceeded) {
  // 4 GiB less the unused first page: 255 blocks of 16 MB fit, the 256th does not.
  std::vector<void*> blocks;
  for (void* p; (p = pl3::ArenaCommit(kBlock)) != nullptr;) blocks.push_back(p);
  EXPECT_GE(blocks.size(), 250u);
  EXPECT_LT(blocks.size(), 256u);
  for (void* p : blocks) pl3::ArenaRelease(p);
}

}  // namespace
