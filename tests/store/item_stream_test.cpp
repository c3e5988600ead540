#include "store/item_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/responder.h"
#include "store/tower.h"
#include "tests/store/tower_test_support.h"

namespace {

using towertest::FirstOfCode;
using towertest::WordAt;
using towertest::Words;

using Bytes = std::vector<std::uint8_t>;

// Stream bytes written from the record tables, not through the writer.
struct StreamBytes {
  Bytes b;
  explicit StreamBytes(std::uint32_t count) { U32(count); }
  StreamBytes& U8(std::uint8_t v) {
    b.push_back(v);
    return *this;
  }
  StreamBytes& U16(std::uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
  StreamBytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  StreamBytes& Group(std::uint8_t f) { return U8(0x10 | f); }
  // An entity record: flag, [saved address], node flags, code, length, payload.
  StreamBytes& Entity(std::uint8_t f, std::uint32_t saved, std::uint16_t flags, std::uint16_t code, const Bytes& payload) {
    U8(f);
    if (f & 0x08) U32(saved);
    U16(flags).U16(code).U32(static_cast<std::uint32_t>(payload.size()));
    b.insert(b.end(), payload.begin(), payload.end());
    return *this;
  }
};



class ItemStreamTest : public testing::Test {
 protected:
  void SetUp() override { parent = towertest::NewTopLevelEntity(700); }
  void TearDown() override { ReleaseTower(&parent); }
  Tower* Parse(const Bytes& s, std::string* error = nullptr) {
    return ParseRecordStream(s.data(), s.size(), parent, error);
  }
  Tower* parent = nullptr;
};

// A PCB with a pad-stack definition (105, saved at 0x2000) and two symbol
// instance infos (113) in one group: the first refers to the definition, the
// second to an address that is not in the stream.
StreamBytes HandBuiltStream() {
  StreamBytes s(4);
  s.Entity(0x0C, 0x1000, 0x0004, 102, {'a', 'b', 'c', 'd'});
  s.Group(0x04 | 0x01);  // code 105: read 7 bytes into the next record
  s.Entity(0x08, 0x2000, 0, 105, Bytes(8, 0));
  s.Group(0x04 | 0x02);  // code 113: read 3 bytes into the next record
  s.Entity(0x01, 0, 0x0060, 113, Words({7, 0x2000}));
  s.Entity(0x02, 0, 0, 113, Words({8, 0x9999}));
  return s;
}

}  // namespace

TEST_F(ItemStreamTest, HandBuiltStreamLoadsWithItsReferenceRePointed) {
  Tower* doc = Parse(HandBuiltStream().b);
  ASSERT_NE(doc, nullptr);
  const Entity* pcb = TowerEntity(doc);
  EXPECT_EQ(pcb->typeCode, 102);
  EXPECT_EQ(std::memcmp(EntityPayload(pcb), "abcd", 4), 0);
  EXPECT_EQ(pcb->flags, 0x0004);  // stored flags are kept as they were
  EXPECT_EQ(towertest::GroupCodes(pcb), (std::vector<std::uint16_t>{105, 113}));

  const Entity* def = FirstOfCode(pcb, 105);
  const Entity* first = FirstOfCode(pcb, 113);
  ASSERT_NE(first, nullptr);
  const Entity* second = NodeAt<Entity>(first->next);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->previous, NodeRefOf(first));
  EXPECT_EQ(WordAt(first, 0), 7u);
  EXPECT_EQ(WordAt(first, 4), NodeRefOf(def)) << "re-pointed to the loaded definition";
  EXPECT_EQ(first->flags, 0) << "bits 0x20 and 0x40 are cleared";
  EXPECT_EQ(WordAt(second, 4), 0u) << "an address not in the stream becomes 0";

  // The document hangs under the parent and is found by a search.
  Tower* found = GetChildTower(parent, 102);
  EXPECT_EQ(FindNextEntity(found), pcb);
  ReleaseTower(&found);
  ReleaseTower(&doc);
}

TEST_F(ItemStreamTest, ReferenceConditionsByType) {
  StreamBytes s(6);
  s.Entity(0x04, 0, 0, 102, {});
  s.Group(0x05);
  s.Entity(0x08, 0x50, 0, 20, Bytes(10, 0x11));  // short locator payload, padded to 96
  s.Group(0x07);
  s.Entity(0x00, 0, 0, 117, [] {  // byte 0 without 0x04: word 272 untouched
    Bytes p(276, 0);
    p[272] = 0x50;
    return p;
  }());
  s.Group(0x07);
  s.Entity(0x00, 0, 0, 283, Words({0xFFFFFFFF}));  // stays all ones
  s.Group(0x07);
  s.Entity(0x00, 0, 0, 323, Words({0, 0, 0, 0, 0, 0, 0, 0x50}));  // word at 28
  s.Group(0x06);
  s.Entity(0x00, 0, 0, 11015, Words({0x50}));
  Tower* doc = Parse(s.b);
  ASSERT_NE(doc, nullptr);
  const Entity* pcb = TowerEntity(doc);
  const Entity* locator = FirstOfCode(pcb, 20);
  EXPECT_EQ(locator->payloadSize, 10u);
  EXPECT_EQ(EntityPayload(locator)[9], 0x11);
  for (std::uint32_t i = 10; i < 96; ++i) ASSERT_EQ(EntityPayload(locator)[i], 0) << i;
  EXPECT_EQ(WordAt(FirstOfCode(pcb, 117), 272), 0x50u);
  EXPECT_EQ(WordAt(FirstOfCode(pcb, 283), 0), 0xFFFFFFFFu);
  EXPECT_EQ(WordAt(FirstOfCode(pcb, 323), 28), NodeRefOf(locator));
  EXPECT_EQ(WordAt(FirstOfCode(pcb, 11015), 0), NodeRefOf(locator));
  ReleaseTower(&doc);
}

TEST_F(ItemStreamTest, EmptyStreamInsertsNothing) {
  EXPECT_EQ(Parse(StreamBytes(0).b), nullptr);
  EXPECT_EQ(TowerEntity(parent)->firstChild, 0u);
}

TEST_F(ItemStreamTest, RepointTableOperations) {
  RepointTable* table = CreateRepointTable(2);
  AddRepointEntry(table, 30, 300);
  AddRepointEntry(table, 10, 100);
  AddRepointEntry(table, 20, 200);  // full: shown and dropped
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Repoint table creation overrun!");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Pelmora3");
  EXPECT_EQ(FindRepointedNode(table, 10, true), 100u);
  EXPECT_EQ(FindRepointedNode(table, 30, true), 300u);
  EXPECT_EQ(FindRepointedNode(table, 20, true), 0u);
  EXPECT_EQ(FindRepointedNode(table, 20, false), 20u);
  EXPECT_EQ(FindRepointedNode(table, 0, false), 0u);
  FreeRepointTable(table);
}

// Every damage loads nothing and leaves the parent as it was.
TEST_F(ItemStreamTest, DamagedStreamsLoadNothing) {
  const Bytes good = HandBuiltStream().b;
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    std::string error;
    EXPECT_EQ(Parse(Bytes(good.begin(), good.begin() + cut), &error), nullptr) << cut;
    EXPECT_NE(error, "") << cut;
    ASSERT_EQ(TowerEntity(parent)->firstChild, 0u) << cut;
  }
  struct Case {
    const char* what;
    Bytes stream;
  } cases[] = {
      {"length past the end", StreamBytes(1).U8(0).U16(0).U16(102).U32(0x7FFFFFFF).b},
      {"group at the top", StreamBytes(1).Group(0).Entity(0, 0, 0, 102, {}).b},
      {"entity where a group belongs", StreamBytes(2).Entity(0x04, 0, 0, 102, {}).Entity(0, 0, 0, 5, {}).b},
      {"entity of another code in a group",
       StreamBytes(3).Entity(0x04, 0, 0, 102, {}).Group(0x04).Entity(0x01, 0, 0, 5, {}).Entity(0x02, 0, 0, 6, {}).b},
      {"groups out of order",
       StreamBytes(3)
           .Entity(0x04, 0, 0, 102, {})
           .Group(0x05)
           .Entity(0, 0, 0, 9, {})
           .Group(0x06)
           .Entity(0, 0, 0, 5, {})
           .b},
      {"two items at the top", StreamBytes(2).Entity(0x01, 0, 0, 102, {}).Entity(0x02, 0, 0, 102, {}).b},
      {"huge count, few records", StreamBytes(0xFFFFFFFF).Entity(0x04, 0, 0, 102, {}).b},
      {"group without its child list", StreamBytes(2).Entity(0x04, 0, 0, 102, {}).Group(0).Entity(0, 0, 0, 5, {}).b},
      {"group whose items the count cuts off",
       StreamBytes(2)
           .Entity(0x04, 0, 0, 102, {})
           .Group(0x05)
           .Entity(0, 0, 0, 5, {})
           .Group(0x06)
           .Entity(0, 0, 0, 9, {})
           .b},
      {"later record not linked",
       StreamBytes(3).Entity(0x04, 0, 0, 102, {}).Group(0x04).Entity(0x01, 0, 0, 5, {}).Entity(0, 0, 0, 5, {}).b},
      {"later group not linked",
       StreamBytes(3)
           .Entity(0x04, 0, 0, 102, {})
           .Group(0x05)
           .Entity(0, 0, 0, 5, {})
           .Group(0x04)
           .Entity(0, 0, 0, 9, {})
           .b},
      {"records flagged past the count",
       StreamBytes(2).Entity(0x04, 0, 0, 102, {}).Group(0x04).Entity(0x01, 0, 0, 5, {}).Entity(0x02, 0, 0, 5, {}).b},
  };
  for (const Case& c : cases) {
    std::string error;
    const std::uint64_t freeBefore = towertest::PoolFreeBytes();
    EXPECT_EQ(Parse(c.stream, &error), nullptr) << c.what;
    EXPECT_NE(error.find("damaged item stream"), std::string::npos) << c.what;
    ASSERT_EQ(TowerEntity(parent)->firstChild, 0u) << c.what;
    EXPECT_EQ(towertest::PoolFreeBytes(), freeBefore) << c.what << ": every node goes back to the pool";
  }
  // Nesting deeper than the store allows.
  StreamBytes deep(200);
  for (int i = 0; i < 100; ++i) deep.Entity(0x04, 0, 0, 50, {}).Group(0x04);
  EXPECT_EQ(Parse(deep.b), nullptr);
  EXPECT_EQ(TowerEntity(parent)->firstChild, 0u);
}

// Checks the store's shape below an entity: its groups strictly ascending,
// never empty, doubly linked, holding entities of their own code. Returns the
// number of entities below it.
std::size_t ExpectWellFormed(const Entity* e) {
  std::size_t entities = 0;
  NodeRef previousGroup = 0;
  for (NodeRef g = e->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
    const TypeGroup* group = NodeAt<TypeGroup>(g);
    EXPECT_TRUE(group->flags & kNodeIsTypeGroup);
    EXPECT_EQ(group->previous, previousGroup);
    if (previousGroup) {
      EXPECT_LT(NodeAt<TypeGroup>(previousGroup)->typeCode, group->typeCode);
    }
    EXPECT_NE(group->firstChild, 0u) << "empty group of code " << group->typeCode;
    NodeRef previous = 0;
    for (NodeRef c = group->firstChild; c; c = NodeAt<Entity>(c)->next) {
      const Entity* child = NodeAt<Entity>(c);
      EXPECT_FALSE(child->flags & kNodeIsTypeGroup);
      EXPECT_EQ(child->typeCode, group->typeCode);
      EXPECT_EQ(child->previous, previous);
      previous = c;
      entities += 1 + ExpectWellFormed(child);
    }
    previousGroup = g;
  }
  return entities;
}

// Whatever a stream's flags say, a load either builds a tree in the store's
// shape that gives every node back when deleted, or refuses and changes
// nothing. Every flag bit of every byte of a written stream is flipped.
TEST_F(ItemStreamTest, AnyLoadKeepsTheStoresShape) {
  Tower* pcb = InsertEntity(parent, 4, 102, "pcb");
  towertest::InsertTagged(pcb, 1, 0x31);
  towertest::InsertTagged(pcb, 1, 0x32);
  towertest::InsertTagged(pcb, 105, 0xD0);
  Tower* instance = InsertEntity(pcb, 8, 113, Words({0x11, 0}).data());
  towertest::InsertTagged(instance, 600, 0x22);
  towertest::InsertTagged(instance, 600, 0x23);
  const Bytes good = WriteRecordStream(TowerEntity(pcb));
  ReleaseTower(&instance);
  DeleteEntity(pcb);
  ReleaseTower(&pcb);

  int loaded = 0, refused = 0;
  for (std::size_t at = 4; at < good.size(); ++at) {
    for (std::uint8_t bit : {0x01, 0x02, 0x04, 0x10}) {
      Bytes stream = good;
      stream[at] ^= bit;
      const std::uint64_t freeBefore = towertest::PoolFreeBytes();
      Tower* copy = Parse(stream);
      if (copy) {
        ++loaded;
        ExpectWellFormed(TowerEntity(copy));
        DeleteEntity(copy);
        ReleaseTower(&copy);
      } else {
        ++refused;
      }
      ASSERT_EQ(TowerEntity(parent)->firstChild, 0u) << at << " " << int{bit};
      ASSERT_EQ(towertest::PoolFreeBytes(), freeBefore) << "byte " << at << " bit " << int{bit};
    }
  }
  EXPECT_GT(loaded, 0);
  EXPECT_GT(refused, 0);
  // The unchanged stream loads whole.
  Tower* copy = Parse(good);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(ExpectWellFormed(TowerEntity(copy)), 6u);
  DeleteEntity(copy);
  ReleaseTower(&copy);
}

// The writer's stream reloads as the same tree, references re-pointed to the
// new nodes, and items the user had selected or highlighted are kept.
TEST_F(ItemStreamTest, WrittenStreamReloadsAsTheSameTree) {
  Tower* pcb = InsertEntity(parent, 4, 102, "pcb");
  Entity* def = towertest::InsertTagged(pcb, 105, 0xD0);
  Tower* instance = InsertEntity(pcb, 8, 113, Words({0x11, NodeRefOf(def)}).data());
  towertest::InsertTagged(instance, 600, 0x22);
  Entity* selected = towertest::InsertTagged(pcb, 1, 0x33);
  selected->flags = kEntitySelected | kEntitySelectedPart | kEntityHighlighted | 0x0100;
  TowerEntity(instance)->flags = kEntitySelected;
  const Bytes stream = WriteRecordStream(TowerEntity(pcb));

  std::uint32_t count;
  std::memcpy(&count, stream.data(), 4);
  EXPECT_EQ(count, 5u);
  EXPECT_EQ(stream[4], 0x04) << "the top record: children, no saved address";

  Tower* other = towertest::NewTopLevelEntity(701);
  Tower* copy = ParseRecordStream(stream.data(), stream.size(), other);
  ASSERT_NE(copy, nullptr);
  const Entity* c = TowerEntity(copy);
  EXPECT_EQ(towertest::GroupCodes(c), (std::vector<std::uint16_t>{1, 105, 113}));
  const Entity* cDef = FirstOfCode(c, 105);
  const Entity* cInstance = FirstOfCode(c, 113);
  EXPECT_NE(cDef, def);
  EXPECT_EQ(WordAt(cInstance, 4), NodeRefOf(cDef));
  EXPECT_EQ(towertest::TagOf(FirstOfCode(cInstance, 600)), 0x22u);
  EXPECT_EQ(FirstOfCode(c, 1)->flags, 0x0100) << "selection and highlight bits are not saved";
  EXPECT_EQ(cInstance->flags, 0);
  // The source design keeps its state.
  EXPECT_EQ(selected->flags & kEntitySelected, kEntitySelected);
  // Writing the copy gives the same bytes but for the addresses.
  EXPECT_EQ(WriteRecordStream(c).size(), stream.size());

  ReleaseTower(&copy);
  ReleaseTower(&other);
  ReleaseTower(&instance);
  ReleaseTower(&pcb);
}

// The largest payload the store holds is written and read back; one byte
// more is refused as damage.
TEST_F(ItemStreamTest, LargestPayloadRoundTrips) {
  const std::uint32_t largest = (kPoolBlockUsable - kTowerNodeHeaderSize) & ~15u;
  Bytes payload(largest, 0x5A);
  payload[largest - 1] = 0xA5;
  Tower* item = InsertEntity(parent, 4, 102, "item");
  Tower* big = InsertEntity(item, largest, 288, payload.data());
  const Bytes stream = WriteRecordStream(TowerEntity(item));
  ReleaseTower(&big);
  DeleteEntity(item);
  ReleaseTower(&item);

  Tower* copy = Parse(stream);
  ASSERT_NE(copy, nullptr);
  const Entity* record = FirstOfCode(TowerEntity(copy), 288);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->payloadSize, largest);
  EXPECT_EQ(EntityPayload(record)[largest - 1], 0xA5);
  DeleteEntity(copy);
  ReleaseTower(&copy);

  std::string error;
  EXPECT_EQ(Parse(StreamBytes(1).Entity(0, 0, 0, 102, Bytes(largest + 1, 0)).b, &error), nullptr);
  EXPECT_NE(error.find("larger than the store can hold"), std::string::npos) << error;
}
