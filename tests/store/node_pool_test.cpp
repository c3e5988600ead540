#include "store/node_pool.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/application_globals.h"
#include "platform/arena.h"
#include "platform/responder.h"
#include "store/tower.h"
#include "store/tower_file.h"
#include "tests/store/tower_test_support.h"

namespace {

// Takes every free chunk of class k so that the class is empty.
void DrainClass(int k) {
  while (PoolClass(k).freeList) AllocNode(static_cast<std::uint32_t>(k) * 16u);
}

TEST(NodePool, RequestsFallInTheirSizeClasses) {
  struct Case {
    std::uint32_t size;
    int sizeClass;
  };
  for (const Case& c : {Case{1, 1}, Case{16, 1}, Case{20, 2}, Case{32, 2}, Case{33, 3}, Case{496, 31},
                        Case{500, 32}, Case{512, 32}, Case{100000, 32}}) {
    SCOPED_TRACE(c.size);
    EXPECT_EQ(PoolClassOfSize(c.size), c.sizeClass);
    void* p = AllocNode(c.size);
    FreeNode(p, c.size);
    const PoolSizeClass& cls = PoolClass(c.sizeClass);
    ASSERT_EQ(cls.freeList, NodeRefOf(p)) << "a freed chunk heads its class";
    EXPECT_EQ(NodeAt<FreeChunk>(cls.freeList)->size, RoundUp16(c.size));
  }
}

TEST(NodePool, LastFreedIsFirstReused) {
  void* a = AllocNode(48);
  void* b = AllocNode(48);
  ASSERT_NE(a, b);
  FreeNode(a, 48);
  EXPECT_EQ(AllocNode(48), a);
  FreeNode(a, 48);
  FreeNode(b, 48);
  EXPECT_EQ(AllocNode(48), b);
  EXPECT_EQ(AllocNode(48), a);
}

TEST(NodePool, DoubleSizeClassDonatesItsUpperHalf) {
  DrainClass(3);
  DrainClass(6);
  std::uint8_t* six = static_cast<std::uint8_t*>(AllocNode(96));
  FreeNode(six, 96);
  void* got = AllocNode(48);
  EXPECT_EQ(got, six);
  EXPECT_EQ(PoolClass(3).freeList, NodeRefOf(six + 48));
  EXPECT_EQ(PoolClass(3).freeCount, 1u);
  EXPECT_EQ(PoolClass(6).freeList, 0u);
}

TEST(NodePool, DonorWithRemainderClassInStockIsSplit) {
  // Class 3 and class 6 empty; class 8 can give 48 bytes leaving 80 for class
  // 5, which already holds a chunk.
  for (int k : {3, 5, 6, 8}) DrainClass(k);
  std::uint8_t* eight = static_cast<std::uint8_t*>(AllocNode(128));
  void* five = AllocNode(80);
  FreeNode(eight, 128);
  FreeNode(five, 80);
  EXPECT_EQ(AllocNode(48), eight);
  EXPECT_EQ(PoolClass(5).freeList, NodeRefOf(eight + 48));
  EXPECT_EQ(PoolClass(5).freeCount, 2u);
}

TEST(NodePool, NextClassGivesBackItsLastSixteenBytes) {
  // Nothing fits from the small classes or class 32 but class n + 1.
  ReleaseTowerStore();
  void* whole = AllocNode(kPoolBlockUsable);  // takes the block whole
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(PoolClass(kPoolLargeClass).freeList, 0u);
  std::uint8_t* four = static_cast<std::uint8_t*>(whole);
  FreeNode(four, 64);  // a class-4 chunk carved from it, for the test
  EXPECT_EQ(AllocNode(48), four);
  EXPECT_EQ(PoolClass(1).freeList, NodeRefOf(four + 48));
  ReleaseTowerStore();
  InitTowerStore();
}

// Taking the head of class 32 and then chunks from the middle of its list by
// first fit keeps the list whole, whatever link the new head still holds.
TEST(NodePool, FirstFitUnlinksFromAnyPlaceOfTheList) {
  std::uint8_t* x = static_cast<std::uint8_t*>(AllocNode(2048));
  std::uint8_t* y = static_cast<std::uint8_t*>(AllocNode(1024));
  std::uint8_t* z = static_cast<std::uint8_t*>(AllocNode(512));
  std::uint8_t* w = static_cast<std::uint8_t*>(AllocNode(608));
  const NodeRef rest = PoolClass(kPoolLargeClass).freeList;  // the block's untouched remainder
  FreeNode(x, 2048);
  FreeNode(y, 1024);
  FreeNode(z, 512);  // class 32: z, y, x, the remainder
  EXPECT_EQ(AllocNode(512), z);
  EXPECT_EQ(AllocNode(2048), x) << "first fit passes y";
  EXPECT_EQ(AllocNode(1024), y) << "the head since z was taken";
  FreeNode(y, 1024);
  FreeNode(w, 608);  // w, y, the remainder
  EXPECT_EQ(AllocNode(1024), y);
  EXPECT_EQ(AllocNode(608), w);
  EXPECT_EQ(PoolClass(kPoolLargeClass).freeList, rest);
  EXPECT_EQ(NodeAt<FreeChunk>(rest)->next, 0u);
  for (auto [p, n] : {std::pair{x, 2048u}, {y, 1024u}, {z, 512u}, {w, 608u}}) FreeNode(p, n);
  std::vector<NodeRef> order;
  for (NodeRef r = PoolClass(kPoolLargeClass).freeList; r; r = NodeAt<FreeChunk>(r)->next) order.push_back(r);
  EXPECT_EQ(order, (std::vector<NodeRef>{NodeRefOf(w), NodeRefOf(z), NodeRefOf(y), NodeRefOf(x), rest}));
  EXPECT_EQ(PoolClass(kPoolLargeClass).freeCount, 5u);
}

TEST(NodePool, FirstAllocationTakesANewBlock) {
  ReleaseTowerStore();
  EXPECT_EQ(PoolBlockList(), 0u);
  void* first = AllocNode(20);
  ASSERT_NE(PoolBlockList(), 0u);
  EXPECT_EQ(NodeRefOf(first), PoolBlockList() + kPoolBlockHeaderSize);
  const PoolSizeClass& large = PoolClass(kPoolLargeClass);
  ASSERT_NE(large.freeList, 0u);
  EXPECT_EQ(NodeAt<FreeChunk>(large.freeList)->size, 16777200u - 32u);
  EXPECT_EQ(large.freeCount, 1u);
  EXPECT_EQ(NodeAt<PoolBlock>(PoolBlockList())->blockSize, 16777216u);
  ReleaseTowerStore();
  InitTowerStore();
}

TEST(NodePool, StoreStartsWithTheRootGroupAndNullEntry) {
  const TypeGroup* root = RootGroup();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->flags, kNodeIsTypeGroup);
  EXPECT_EQ(root->typeCode, 0);
  EXPECT_EQ(root->next, 0u);
  EXPECT_EQ(root->previous, 0u);
  EXPECT_EQ(root->payloadSize, 0u);
  const Entity* entry = NodeAt<Entity>(root->firstChild);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->flags, 0);
  EXPECT_EQ(entry->typeCode, 0);
  EXPECT_EQ(entry->next | entry->previous | entry->firstChild | entry->payloadSize, 0u);
}

TEST(NodePool, ReusedChunkIsNotCleared) {
  Tower* top = NewTower(0);
  LastLevel(top) = TowerLevel{kLevelPositioned | kLevelLast, 0, NodeRefOf(RootGroup()), RootGroup()->firstChild};
  std::uint8_t pattern[32];
  std::memset(pattern, 0xA5, sizeof pattern);
  Tower* first = InsertEntity(top, sizeof pattern, 900, pattern);
  Entity* old = TowerEntity(first);
  DeleteEntity(first);
  ReleaseTower(&first);
  Tower* second = InsertEntitySpace(top, sizeof pattern, 901);
  EXPECT_EQ(TowerEntity(second), old);
  EXPECT_EQ(std::memcmp(TowerPayload(second), pattern, sizeof pattern), 0);
  ReleaseTower(&second);
  ReleaseTower(&top);
}

TEST(NodePool, MemFillWordWritesTheOddByteFirst) {
  struct Case {
    std::uint32_t count;
    std::vector<std::uint8_t> bytes;
  };
  for (const Case& c : {Case{1, {0x34}}, Case{2, {0x34, 0x12}}, Case{3, {0x34, 0x34, 0x12}},
                        Case{7, {0x34, 0x34, 0x12, 0x34, 0x12, 0x34, 0x12}}, Case{0, {}}}) {
    SCOPED_TRACE(c.count);
    std::vector<std::uint8_t> out(c.count + 1, 0xEE);
    MemFillWord(out.data(), 0x1234, c.count);
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + c.count), c.bytes);
    EXPECT_EQ(out[c.count], 0xEE) << "nothing written past the count";
  }
}

TEST(NodePool, MemCopyCopiesCountBytes) {
  const char source[] = "abcdefghij";
  char dest[11] = "..........";
  MemCopy(source, dest, 7);
  EXPECT_STREQ(dest, "abcdefg...");
  EXPECT_EQ(TowerAllocatorInUse(), 1);
}

TEST(NodePool, ErrorTextsAreNumberedAsShown) {
  EXPECT_STREQ(TowerErrorTextOf(0), "Not An Error!!!");
  EXPECT_STREQ(TowerErrorTextOf(3), "Hierachy Error");
  EXPECT_STREQ(TowerErrorTextOf(16), "Refresh Failure - Vertical");
  EXPECT_STREQ(TowerErrorTextOf(17), "Null Entry");
  EXPECT_STREQ(TowerErrorTextOf(18), "");
}

using NodePoolDeathTest = testing::Test;

// A death test's child process may start without the per-test reset; the
// fatal error box is echoed to stderr so that its text can be matched.
void StartStoreInChild() {
  towertest::EnsureStoreStarted();
  pl3::SetResponderEcho(true);
}

TEST_F(NodePoolDeathTest, RefusedBlockIsOutOfMemory) {
  EXPECT_DEATH(
      {
        StartStoreInChild();
        pl3::ArenaSetCommitLimitForTests(pl3::ArenaCommittedBytes());
        AllocNode(kPoolBlockUsable);
      },
      "Internal Error Handler: A Fatal Error Has Occurred.\n Error Number : 7\nOut of Memory");
}

TEST_F(NodePoolDeathTest, DeleteErrorShowsItsText) {
  EXPECT_DEATH(
      {
        StartStoreInChild();
        RaiseTowerError(2);
      },
      "Internal Error Handler: A Fatal Error Has Occurred.\n Error Number : 2\nDelete Error");
}

}  // namespace

namespace {

TEST(ApplicationGlobals, StartAndTeardownBringTheStoreUpAndDown) {
  FreeApplicationGlobals();
  EXPECT_EQ(PoolBlockList(), 0u);
  EXPECT_EQ(CurrentFileRepointTable(), nullptr);
  const std::size_t released = pl3::ArenaCommittedBytes();
  InitialiseApplication();
  ASSERT_NE(RootGroup(), nullptr);
  EXPECT_EQ(pl3::ArenaCommittedBytes(), released + kPoolBlockSize);
  Tower* t = towertest::NewTopLevelEntity(5);
  EXPECT_NE(TowerEntity(t), nullptr);
  ReleaseTower(&t);
}

}  // namespace
