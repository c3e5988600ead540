#include "store/tower_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/responder.h"
#include "tests/store/tower_test_support.h"
#include "tests/support/test_paths.h"

namespace {

using towertest::GroupCodes;
using towertest::InsertTagged;
using towertest::NewTopLevelEntity;
using towertest::TagOf;

std::uint32_t U32At(const std::string& bytes, std::size_t offset) {
  std::uint32_t v = 0;
  std::memcpy(&v, bytes.data() + offset, 4);
  return v;
}
void PutU32(std::string& bytes, std::size_t offset, std::uint32_t v) { std::memcpy(bytes.data() + offset, &v, 4); }

// A payload of `size` bytes holding a u32 value at `offset`.
std::vector<std::uint8_t> PayloadWith(std::uint32_t size, std::uint32_t offset, std::uint32_t value) {
  std::vector<std::uint8_t> payload(size, 0);
  std::memcpy(payload.data() + offset, &value, 4);
  return payload;
}

Entity* InsertPayload(const Tower* parent, std::uint16_t code, const std::vector<std::uint8_t>& payload) {
  Tower* t = InsertEntity(parent, static_cast<std::uint32_t>(payload.size()), code, payload.data());
  Entity* e = TowerEntity(t);
  ReleaseTower(&t);
  return e;
}

std::uint32_t FieldOf(const Entity* e, std::uint32_t offset) {
  std::uint32_t v = 0;
  std::memcpy(&v, EntityPayload(e) + offset, 4);
  return v;
}

// The newest child of a code under an entity.
Entity* NewestChild(const Entity* parent, std::uint16_t code) {
  for (NodeRef g = parent->firstChild; g; g = NodeAt<TypeGroup>(g)->next)
    if (NodeAt<TypeGroup>(g)->typeCode == code) return NodeAt<Entity>(NodeAt<TypeGroup>(g)->firstChild);
  return nullptr;
}

class TowerFileTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    dir = pl3test::MakeTempDir("towerfile");
  }
  std::string PathOf(const std::string& name) const { return dir + "/" + name; }

  // Saves and returns the file's bytes.
  std::string Save(const Tower* t, const std::string& name) {
    EXPECT_EQ(SaveDOSFile(t, PathOf(name).c_str()), 1);
    return pl3test::ReadFileBytes(PathOf(name));
  }
  // Loads bytes from memory as a new top-level entity; null when refused.
  Tower* LoadTop(const std::string& bytes) {
    Tower* t = NewTower(0);
    if (LoadDOSFileFromMemory(bytes.data(), bytes.size(), t)) return t;
    ReleaseTower(&t);
    return nullptr;
  }

  std::string dir;
};

TEST_F(TowerFileTest, EmptyEntityWritesAFortyByteFile) {
  Tower* top = NewTopLevelEntity(700);
  const std::string bytes = Save(top, "empty.twr");
  ASSERT_EQ(bytes.size(), 40u);
  EXPECT_EQ(U32At(bytes, 0), 1u) << "entity count";
  EXPECT_EQ(U32At(bytes, 4), 700u) << "top code";
  EXPECT_EQ(U32At(bytes, 8), 1u) << "entity number";
  EXPECT_NE(U32At(bytes, 12), 0u) << "identifier";
  EXPECT_EQ(U32At(bytes, 16), 20u) << "node size";
  EXPECT_EQ(bytes[20], 0) << "flags";
  EXPECT_EQ(U32At(bytes, 20) >> 16, 700u) << "type code in the raw node";
  ReleaseTower(&top);
}

TEST_F(TowerFileTest, OneChildWritesEntityGroupAndChild) {
  Tower* top = NewTopLevelEntity(700);
  InsertTagged(top, 5, 99);
  const std::string bytes = Save(top, "child.twr");
  EXPECT_EQ(U32At(bytes, 0), 2u);
  // Records: the entity (number 1), a TypeGroup (number 0, size 20), the child (number 2).
  EXPECT_EQ(U32At(bytes, 8), 1u);
  EXPECT_NE(U32At(bytes, 20 + 16), 0u) << "the entity's first child is set";
  const std::size_t group = 8 + 12 + 20;
  EXPECT_EQ(U32At(bytes, group), 0u);
  EXPECT_EQ(U32At(bytes, group + 8), 20u);
  EXPECT_EQ(bytes[group + 12] & 1, 1) << "TypeGroup flag";
  const std::size_t child = group + 12 + 20;
  EXPECT_EQ(U32At(bytes, child), 2u);
  EXPECT_EQ(U32At(bytes, child + 8), 20u + 16u);
  EXPECT_EQ(U32At(bytes, child + 12 + 20), 99u) << "payload";
  EXPECT_EQ(bytes.size(), child + 12 + 36);
  ReleaseTower(&top);
}

// A design with references inside and outside its own sub-tree.
struct ReferenceFixture {
  Tower* outside = nullptr;
  Tower* design = nullptr;
  Entity* definition = nullptr;
  Entity* target = nullptr;

  ReferenceFixture() {
    outside = NewTopLevelEntity(601);
    Entity* stranger = InsertTagged(outside, 105, 1);
    design = NewTopLevelEntity(600);
    definition = InsertTagged(design, 105, 2);
    target = InsertTagged(design, 40, 3);
    // Symbol instance infos: one refers inside, one outside.
    InsertPayload(design, 113, PayloadWith(16, 4, NodeRefOf(definition)));
    InsertPayload(design, 113, PayloadWith(16, 4, NodeRefOf(stranger)));
    // An attribute locator with no marked entity, one marking the target.
    InsertPayload(design, 20, PayloadWith(96, 88, 0));
    InsertPayload(design, 20, PayloadWith(96, 88, NodeRefOf(target)));
    // A mapping that holds "none", a pad-stack instance without its bit.
    InsertPayload(design, 283, PayloadWith(16, 0, 0xFFFFFFFF));
    InsertPayload(design, 117, PayloadWith(288, 272, 12345));
    std::vector<std::uint8_t> withBit = PayloadWith(288, 272, NodeRefOf(target));
    withBit[0] = 0x04;
    InsertPayload(design, 117, withBit);
  }
  ~ReferenceFixture() {
    ReleaseTower(&design);
    ReleaseTower(&outside);
  }
};

TEST_F(TowerFileTest, LoadRepointsReferencesInsideAndClearsThoseOutside) {
  ReferenceFixture f;
  const std::string bytes = Save(f.design, "design.twr");
  Tower* loaded = LoadTop(bytes);
  ASSERT_NE(loaded, nullptr);
  Entity* design = TowerEntity(loaded);
  ASSERT_NE(design, TowerEntity(f.design));
  Entity* newDefinition = NewestChild(design, 105);
  Entity* newTarget = NewestChild(design, 40);
  ASSERT_NE(newDefinition, nullptr);
  EXPECT_EQ(TagOf(newDefinition), 2u);

  Entity* outsideInfo = NewestChild(design, 113);
  Entity* insideInfo = NodeAt<Entity>(outsideInfo->next);
  EXPECT_EQ(FieldOf(insideInfo, 4), NodeRefOf(newDefinition)) << "refers to the new copy";
  EXPECT_EQ(FieldOf(outsideInfo, 4), 0u) << "a definition outside the file becomes null";

  Entity* marking = NewestChild(design, 20);
  EXPECT_EQ(FieldOf(marking, 88), NodeRefOf(newTarget));
  EXPECT_EQ(FieldOf(NodeAt<Entity>(marking->next), 88), 0u) << "a locator marking nothing keeps 0";
  EXPECT_EQ(FieldOf(NewestChild(design, 283), 0), 0xFFFFFFFFu);
  Entity* padWithBit = NewestChild(design, 117);
  EXPECT_EQ(FieldOf(padWithBit, 272), NodeRefOf(newTarget));
  EXPECT_EQ(FieldOf(NodeAt<Entity>(padWithBit->next), 272), 12345u) << "not a reference without bit 2";
  ReleaseTower(&loaded);
}

TEST_F(TowerFileTest, SecondSaveOfALoadedTreeGivesIdenticalBytes) {
  ReferenceFixture f;
  const std::string first = Save(f.design, "first.twr");
  EXPECT_EQ(Save(f.design, "again.twr"), first) << "saving the same tree twice numbers it the same";
  Tower* loaded = LoadTop(first);
  ASSERT_NE(loaded, nullptr);
  // The outside reference was written as 0 already, so nothing differs.
  EXPECT_EQ(Save(loaded, "second.twr"), first);
  ReleaseTower(&loaded);
}

TEST_F(TowerFileTest, LoadingTwiceMakesTwoEntitiesTheSecondNewest) {
  Tower* top = NewTopLevelEntity(702);
  InsertTagged(top, 5, 1);
  const std::string bytes = Save(top, "twice.twr");
  DeleteEntity(top);
  ReleaseTower(&top);

  Tower* first = NewTower(0);
  ASSERT_EQ(LoadDOSFile(PathOf("twice.twr").c_str(), first), first);
  Tower* second = NewTower(0);
  ASSERT_EQ(LoadDOSFile(PathOf("twice.twr").c_str(), second), second);
  EXPECT_EQ(LastLevel(second).typeCode, 702);
  const TypeGroup* group = NodeAt<TypeGroup>(LastLevel(second).group);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->firstChild, LastLevel(second).entity);
  EXPECT_EQ(NodeAt<Entity>(group->firstChild)->next, LastLevel(first).entity);
  EXPECT_EQ(NodeAt<Entity>(LastLevel(first).entity)->previous, LastLevel(second).entity);
  for (Tower** t : {&first, &second}) {
    Tower* child = OpenChildTower(*t, 5);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(TagOf(TowerEntity(child)), 1u);
    ReleaseTower(&child);
    ReleaseTower(t);
  }
}

TEST_F(TowerFileTest, LoadUnderAnEntityAddsItAsTheNewestChildOfItsCode) {
  Tower* source = NewTopLevelEntity(703);
  InsertTagged(source, 9, 1);
  const std::string bytes = Save(source, "sub.twr");
  Tower* parent = NewTopLevelEntity(704);
  Entity* older = InsertTagged(parent, 703, 0);
  Tower* place = GetChildTower(parent, 0);
  ASSERT_EQ(LoadDOSFileFromMemory(bytes.data(), bytes.size(), place), place);
  EXPECT_EQ(place->lastLevel, 1);
  EXPECT_EQ(LastLevel(place).typeCode, 703);
  EXPECT_EQ(TowerEntity(place)->next, NodeRefOf(older));
  EXPECT_EQ(GroupCodes(TowerEntity(parent)), (std::vector<std::uint16_t>{703}));
  for (Tower** t : {&source, &parent, &place}) ReleaseTower(t);
}

TEST_F(TowerFileTest, SavingLeavesTheStateBitsOut) {
  // A load keeps 0x04 (StoredReferencesAreKeyedBySavedAddresses), and 0x04
  // also marks items that a later load deletes: no saved file may carry it.
  Tower* top = NewTopLevelEntity(705);
  Entity* child = InsertTagged(top, 5, 1);
  child->flags = kEntitySelected | kEntitySelectedPart | kEntityHighlighted | 0x0100;
  const std::string bytes = Save(top, "flags.twr");
  Tower* loaded = LoadTop(bytes);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(NewestChild(TowerEntity(loaded), 5)->flags, 0x0100) << "other bits are kept";
  ReleaseTower(&loaded);
  ReleaseTower(&top);
}

TEST_F(TowerFileTest, RepointTableIsSizedInStepsOf1024) {
  struct Case {
    std::uint32_t children;
    std::uint32_t capacity;
  };
  for (const Case& c : {Case{0, 1024}, Case{998, 1024}, Case{1023, 2048}}) {
    SCOPED_TRACE(c.children);
    Tower* top = NewTopLevelEntity(706);
    for (std::uint32_t i = 0; i < c.children; ++i) InsertTagged(top, 5, i);
    Tower* loaded = LoadTop(Save(top, "table.twr"));
    ASSERT_NE(loaded, nullptr);
    const FileRepointTable* table = CurrentFileRepointTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->count, c.children + 1);
    EXPECT_EQ(table->capacity, c.capacity);
    EXPECT_LT(table->count, table->capacity) << "one free entry always remains";
    ReleaseTower(&loaded);
    ReleaseTower(&top);
  }
  FreeFileRepointTable();
  EXPECT_EQ(CurrentFileRepointTable(), nullptr);
}

// What a refused load must leave: the same top-level groups, the same free
// bytes in the pool, the same repoint table and the Tower as it was.
struct StoreSnapshot {
  std::vector<std::uint16_t> topCodes;
  std::uint64_t freeBytes;
  const FileRepointTable* table;
  static StoreSnapshot Take() {
    TowerNode holder{};
    holder.firstChild = NodeRefOf(RootGroup());
    return {GroupCodes(&holder), towertest::PoolFreeBytes(), CurrentFileRepointTable()};
  }
  bool operator==(const StoreSnapshot&) const = default;
};

TEST_F(TowerFileTest, EveryTruncationIsRefusedWithoutDamage) {
  ReferenceFixture f;
  const std::string bytes = Save(f.design, "whole.twr");
  Tower* keep = LoadTop(bytes);  // leaves a repoint table that must survive
  ASSERT_NE(keep, nullptr);
  const StoreSnapshot before = StoreSnapshot::Take();
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    Tower* t = NewTower(0);
    const TowerLevel level = LastLevel(t);
    ASSERT_EQ(LoadDOSFileFromMemory(bytes.data(), size, t), nullptr) << size;
    EXPECT_EQ(std::memcmp(&LastLevel(t), &level, sizeof level), 0);
    ReleaseTower(&t);
    ASSERT_TRUE(StoreSnapshot::Take() == before) << "damage after a cut at " << size;
  }
  const std::string path = PathOf("cut.twr");
  pl3test::WriteFileBytes(path, bytes.substr(0, bytes.size() - 5));
  Tower* t = NewTower(0);
  EXPECT_EQ(LoadDOSFile(path.c_str(), t), nullptr);
  ReleaseTower(&t);
  EXPECT_TRUE(StoreSnapshot::Take() == before);
  ReleaseTower(&keep);
}

TEST_F(TowerFileTest, InconsistentFilesAreRefusedWithoutDamage) {
  Tower* top = NewTopLevelEntity(707);
  Tower* mid = InsertEntity(top, 16, 5, "abcdefghijklmno");
  InsertTagged(mid, 8, 1);
  InsertTagged(top, 9, 2);
  const std::string good = Save(top, "good.twr");
  // Record offsets: top entity at 8, its group (5) at 40, mid at 72, mid's
  // group (8) at 120, its child at 152, the group 9 at 200, its child at 232.
  ASSERT_EQ(good.size(), 232u + 12 + 36);
  struct Mutation {
    const char* what;
    std::size_t offset;
    std::uint32_t value;
  };
  const Mutation mutations[] = {
      {"node size beyond the end", 72 + 8, 5000},
      {"node size beyond a pool block", 72 + 8, 0x7FFFFFFF},
      {"node size below a header", 72 + 8, 12},
      {"payload size not the node size", 72 + 12 + 12, 48},
      {"group with an entity number", 40, 3},
      {"entity without a number", 72, 0},
      {"group with a payload", 40 + 12 + 12, 16},
      {"group without children", 40 + 12 + 16, 0},
      {"entity where a group belongs", 40 + 12, 0x00050000},
      {"group where an entity belongs", 72 + 12, 0x00050001},
      {"entity of another code in a group", 152 + 12, 0x00090000},
      {"groups out of order", 200 + 12, 0x00040001},
      {"top with a next sibling", 8 + 12 + 4, 1},
      {"code beyond 16 bits", 4, 0x10000 + 707},
  };
  const StoreSnapshot before = StoreSnapshot::Take();
  for (const Mutation& m : mutations) {
    SCOPED_TRACE(m.what);
    std::string bad = good;
    PutU32(bad, m.offset, m.value);
    Tower* t = LoadTop(bad);
    EXPECT_EQ(t, nullptr);
    ReleaseTower(&t);
    EXPECT_TRUE(StoreSnapshot::Take() == before);
  }
  Tower* fine = LoadTop(good);
  EXPECT_NE(fine, nullptr) << "the unchanged file loads";
  for (Tower** t : {&fine, &mid, &top}) ReleaseTower(t);
}

TEST_F(TowerFileTest, TreesDeeperThanATowerReachesAreRefused) {
  Tower* top = NewTopLevelEntity(709);
  Tower* level = DuplicateTower(top);
  for (int depth = 1; depth <= 32; ++depth) {
    Tower* deeper = InsertEntity(level, 0, 5, nullptr);
    ReleaseTower(&level);
    level = deeper;
  }
  ReleaseTower(&level);
  const std::string bytes = Save(top, "deep.twr");
  Tower* atTop = LoadTop(bytes);
  EXPECT_NE(atTop, nullptr) << "32 levels below the top level fit";
  ReleaseTower(&atTop);
  Tower* parent = NewTopLevelEntity(710);
  Tower* place = GetChildTower(parent, 0);
  const StoreSnapshot before = StoreSnapshot::Take();
  EXPECT_EQ(LoadDOSFileFromMemory(bytes.data(), bytes.size(), place), nullptr) << "one level deeper does not";
  EXPECT_TRUE(StoreSnapshot::Take() == before);
  for (Tower** t : {&top, &parent, &place}) ReleaseTower(t);
}

TEST_F(TowerFileTest, NothingToSaveIsShown) {
  pl3::ClearResponderRecords();
  EXPECT_EQ(SaveDOSFile(nullptr, PathOf("none.twr").c_str()), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Nothing to save");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "SaveDOSFile");
  EXPECT_EQ(pl3::ResponderRecords()[0].flags & MB_ICONMASK, MB_ICONEXCLAMATION);

  Tower* empty = NewTower(0);
  EXPECT_EQ(SaveDOSFile(empty, PathOf("none.twr").c_str()), 0) << "a Tower on no entity saves nothing";
  EXPECT_FALSE(std::filesystem::exists(PathOf("none.twr")));
  ReleaseTower(&empty);
}

TEST_F(TowerFileTest, FailedSaveKeepsTheExistingFile) {
  Tower* top = NewTopLevelEntity(711);
  InsertTagged(top, 5, 1);
  const std::string path = PathOf("kept.twr");
  pl3test::WriteFileBytes(path, "what the user saved before");
  // The temporary file cannot be made: a folder stands in its place.
  std::filesystem::create_directory(path + ".saving");
  EXPECT_EQ(SaveDOSFile(top, path.c_str()), 0);
  EXPECT_EQ(pl3test::ReadFileBytes(path), "what the user saved before");
  std::filesystem::remove(path + ".saving");
  EXPECT_EQ(SaveDOSFile(top, PathOf("missing-folder/x.twr").c_str()), 0);
  EXPECT_EQ(SaveDOSFile(top, path.c_str()), 1);
  EXPECT_NE(pl3test::ReadFileBytes(path), "what the user saved before");
  EXPECT_FALSE(std::filesystem::exists(path + ".saving"));
  ReleaseTower(&top);
}

TEST_F(TowerFileTest, MissingFileLoadsNothing) {
  Tower* t = NewTower(0);
  EXPECT_EQ(LoadDOSFile(PathOf("absent.twr").c_str(), t), nullptr);
  EXPECT_EQ(LoadDOSFileFromMemory(nullptr, 10, t), nullptr);
  ReleaseTower(&t);
}

// Builds a tower file by hand, the way a file written with real node
// addresses looks: links and identifiers are arbitrary non-zero values.
struct FileBuilder {
  std::string bytes;
  void U32(std::uint32_t v) { bytes.append(reinterpret_cast<const char*>(&v), 4); }
  FileBuilder(std::uint32_t count, std::uint32_t topCode) {
    U32(count);
    U32(topCode);
  }
  void Record(std::uint32_t number, std::uint32_t saved, std::uint16_t flags, std::uint16_t code, std::uint32_t next,
              std::uint32_t firstChild, const std::vector<std::uint8_t>& payload = {}) {
    U32(number);
    U32(saved);
    U32(20 + static_cast<std::uint32_t>(payload.size()));
    U32(flags | std::uint32_t{code} << 16);
    U32(next);
    U32(0xDEADBEEF);  // previous sibling: ignored on load
    U32(static_cast<std::uint32_t>(payload.size()));
    U32(firstChild);
    bytes.append(payload.begin(), payload.end());
  }
};

TEST_F(TowerFileTest, TheHeadersCodePlacesATopEntityOfAnotherCode) {
  FileBuilder file(2, 612);
  file.Record(1, 0x10, 0, 611, 0, 0x20);
  file.Record(0, 0x20, 1, 5, 0, 0x30);
  file.Record(2, 0x30, 0, 5, 0, 0, PayloadWith(16, 0, 7));
  Tower* loaded = LoadTop(file.bytes);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(LastLevel(loaded).typeCode, 612);
  Entity* top = TowerEntity(loaded);
  EXPECT_EQ(top->typeCode, 612) << "the entity matches the group it joins";
  EXPECT_EQ(NodeAt<TypeGroup>(LastLevel(loaded).group)->typeCode, 612);
  EXPECT_EQ(FieldOf(NewestChild(top, 5), 0), 7u);
  ReleaseTower(&loaded);

  // Re-pointing goes by the code the entity ends up with.
  FileBuilder locator(2, 20);
  locator.Record(1, 0x10, 0, 611, 0, 0x20, PayloadWith(96, 88, 0x30));
  locator.Record(0, 0x20, 1, 5, 0, 0x30);
  locator.Record(2, 0x30, 0, 5, 0, 0, PayloadWith(16, 0, 7));
  loaded = LoadTop(locator.bytes);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(FieldOf(TowerEntity(loaded), 88), NodeRefOf(NewestChild(TowerEntity(loaded), 5)));
  ReleaseTower(&loaded);
}

TEST_F(TowerFileTest, RepointTableCapacityFollowsTheHeadersCount) {
  // The count sizes the table even when the file holds fewer entities; only
  // a count far beyond what the bytes could hold is capped.
  struct Case {
    std::uint32_t count;
    std::uint32_t capacity;
  };
  for (const Case& c : {Case{0, 1024}, Case{1000, 1024}, Case{1024, 2048}, Case{5000, 5120},
                        Case{0xFFFFFFFF, (1u << 20) + 1024}}) {
    SCOPED_TRACE(c.count);
    FileBuilder file(c.count, 613);
    file.Record(1, 0x10, 0, 613, 0, 0);
    Tower* loaded = LoadTop(file.bytes);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(CurrentFileRepointTable()->capacity, c.capacity);
    EXPECT_EQ(CurrentFileRepointTable()->count, 1u);
    ReleaseTower(&loaded);
  }
}

TEST_F(TowerFileTest, StoredReferencesAreKeyedBySavedAddresses) {
  FileBuilder file(5, 600);
  file.Record(1, 0x00A00010, 0, 600, 0, 0x00A00100);
  file.Record(0, 0x00A00100, 1, 20, 0x00A00150, 0x00A00110);
  file.Record(2, 0x00A00110, 0x64, 20, 0, 0, PayloadWith(96, 88, 0x00A00010));  // marks the top entity
  file.Record(0, 0x00A00150, 1, 105, 0x00A00200, 0x00A00300);
  file.Record(3, 0x00A00300, 0, 105, 0, 0, PayloadWith(16, 0, 2));
  file.Record(0, 0x00A00200, 1, 113, 0, 0x00A00400);
  file.Record(4, 0x00A00400, 0, 113, 0x00A00500, 0, PayloadWith(16, 4, 0x00A00300));  // the definition
  file.Record(5, 0x00A00500, 0, 113, 0, 0, PayloadWith(16, 4, 0x00BEEF00));  // nothing in the file
  Tower* loaded = LoadTop(file.bytes);
  ASSERT_NE(loaded, nullptr);
  Entity* top = TowerEntity(loaded);
  EXPECT_EQ(GroupCodes(top), (std::vector<std::uint16_t>{20, 105, 113}));
  Entity* locator = NewestChild(top, 20);
  EXPECT_EQ(FieldOf(locator, 88), NodeRefOf(top));
  EXPECT_EQ(locator->flags, kEntitySelected) << "drawing state bits are cleared";
  Entity* definition = NewestChild(top, 105);
  Entity* newest = NewestChild(top, 113);
  EXPECT_EQ(FieldOf(newest, 4), NodeRefOf(definition)) << "the first record of a group is its newest entity";
  Entity* older = NodeAt<Entity>(newest->next);
  ASSERT_NE(older, nullptr);
  EXPECT_EQ(older->previous, NodeRefOf(newest));
  EXPECT_EQ(FieldOf(older, 4), 0u);
  EXPECT_EQ(CurrentFileRepointTable()->count, 5u);
  ReleaseTower(&loaded);
}

TEST_F(TowerFileTest, EveryReferenceFieldIsRepointedOrCleared) {
  struct Case {
    std::uint16_t code;
    std::uint32_t payloadSize;
    std::uint32_t offset;
  };
  const Case cases[] = {{20, 96, 88},   {32, 16, 4},    {113, 16, 4},   {111, 16, 8},
                        {116, 16, 8},   {117, 288, 272}, {164, 16, 0},   {283, 16, 0},
                        {11002, 16, 0}, {11010, 16, 0},  {11015, 16, 0}, {11016, 16, 0}};
  Tower* outside = NewTopLevelEntity(601);
  Entity* stranger = InsertTagged(outside, 40, 1);
  Tower* design = NewTopLevelEntity(600);
  InsertTagged(design, 40, 2);
  // Under each code: one entity that refers inside the file (newest) and one
  // that refers outside it.
  for (const Case& c : cases) {
    for (NodeRef ref : {NodeRefOf(stranger), LastLevel(design).entity}) {
      std::vector<std::uint8_t> payload = PayloadWith(c.payloadSize, c.offset, ref);
      if (c.code == 117) payload[0] |= 0x04;
      InsertPayload(design, c.code, payload);
    }
  }
  // The conditional fields that are left alone: a zero marked entity or
  // record, a mapping to nothing.
  InsertPayload(design, 20, PayloadWith(96, 88, 0));
  InsertPayload(design, 164, PayloadWith(16, 0, 0));
  InsertPayload(design, 283, PayloadWith(16, 0, 0xFFFFFFFF));

  const std::string bytes = Save(design, "fields.twr");
  Tower* loaded = LoadTop(bytes);
  ASSERT_NE(loaded, nullptr);
  Entity* top = TowerEntity(loaded);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Entity* e = NewestChild(top, c.code);
    ASSERT_NE(e, nullptr);
    if (c.code == 20 || c.code == 164 || c.code == 283) {
      EXPECT_EQ(FieldOf(e, c.offset), c.code == 283 ? 0xFFFFFFFFu : 0u) << "left as it was";
      e = NodeAt<Entity>(e->next);
    }
    EXPECT_EQ(FieldOf(e, c.offset), NodeRefOf(top)) << "a reference inside the file";
    EXPECT_EQ(FieldOf(NodeAt<Entity>(e->next), c.offset), 0u) << "a reference outside the file";
  }
  for (Tower** t : {&loaded, &design, &outside}) ReleaseTower(t);
}

TEST_F(TowerFileTest, FilesLargerThanTheBuffersRoundTrip) {
  Tower* top = NewTopLevelEntity(712);
  for (std::uint32_t i = 0; i < 80; ++i) {
    std::vector<std::uint8_t> payload(4000);
    for (std::size_t k = 0; k < payload.size(); ++k) payload[k] = static_cast<std::uint8_t>(i * 7 + k);
    InsertPayload(top, static_cast<std::uint16_t>(5 + i % 3), payload);
  }
  const std::string bytes = Save(top, "large.twr");
  ASSERT_GT(bytes.size(), kSerialiserReadBufferSize);
  Tower* fromFile = NewTower(0);
  ASSERT_EQ(LoadDOSFile(PathOf("large.twr").c_str(), fromFile), fromFile);
  EXPECT_EQ(Save(fromFile, "large-again.twr"), bytes);
  Tower* fromMemory = LoadTop(bytes);
  ASSERT_NE(fromMemory, nullptr);
  EXPECT_EQ(Save(fromMemory, "large-memory.twr"), bytes);
  for (Tower** t : {&fromFile, &fromMemory, &top}) ReleaseTower(t);
}

TEST(TowerFileFields, ReferenceFieldsByTypeCode) {
  struct Case {
    std::uint16_t code;
    int offset;
  };
  for (const Case& c : {Case{20, 88}, Case{32, 4}, Case{113, 4}, Case{111, 8}, Case{116, 8}, Case{117, 272},
                        Case{164, 0}, Case{283, 0}, Case{11002, 0}, Case{11010, 0}, Case{11015, 0},
                        Case{11016, 0}, Case{106, -1}, Case{0, -1}}) {
    EXPECT_EQ(RepointFieldOffset(c.code), c.offset) << c.code;
  }
}

}  // namespace
