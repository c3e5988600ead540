#include "draw/grid_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "draw/grids.h"
#include "edit/window_data.h"
#include "objects/window_state.h"
#include "platform/responder.h"
#include "platform/user_constants.h"
#include "store/scratch_entity.h"
#include "store/tower.h"
#include "store/tower_file.h"
#include "tests/draw/grid_test_entries.h"
#include "tests/geometry/raster_fixture.h"
#include "tests/support/test_paths.h"

namespace {

using gridtest::MakeSet;
using gridtest::SameEntry;

// Grids whose axes, flags and keys differ, so that a field read into the
// wrong place shows.
GridEntry Cartesian(std::uint32_t unit, std::uint32_t num, std::uint32_t den, std::uint8_t key = 0) {
  GridEntry e = gridtest::Cartesian(unit, num, den, key);
  e.y = {num, den * 2, 2, 12, 5};
  return e;
}

GridEntry Polar(std::uint32_t unit, double ringSpacing, std::uint32_t style, double angleValue) {
  GridEntry e = gridtest::Polar(unit, ringSpacing, style, angleValue, 'P');
  e.flags = 7;
  return e;
}

bool SameSet(const GridSet* a, const GridSet* b) {
  return a && b && a->count == b->count && std::memcmp(a, b, GetGridSetSize(a)) == 0;
}

// Frees the set a variable holds.
struct SetHolder {
  GridSet* set = nullptr;
  ~SetHolder() { std::free(set); }
};

std::vector<std::uint16_t> ChildCodes(const Tower* t) {
  std::vector<std::uint16_t> codes;
  Tower* all = GetAllChildrenTower(t);
  while (const Entity* e = FindNextEntity(all)) codes.push_back(e->typeCode);
  ReleaseTower(&all);
  return codes;
}

class GridFiles : public testing::Test {
 protected:
  Tower* holder = nullptr;
  std::string dir;
  void SetUp() override {
    holder = NewScratchEntity();
    dir = pl3test::MakeTempDir("grids");
  }
  void TearDown() override { DeleteTopLevelEntity(&holder); }
  std::string Path(const char* name) const { return dir + "/" + name; }

  // A child record with the given payload, shrunk to `size` bytes as a file
  // holding a short record would give it; the rest of its chunk is garbage.
  // The record gets its chunk's size back when the holder goes, before any
  // deletion frees the chunk.
  struct ShortRecord {
    Entity* entity;
    std::uint32_t chunkPayload;
    ~ShortRecord() { entity->payloadSize = chunkPayload; }
  };
  static ShortRecord InsertShort(const Tower* parent, std::uint16_t code, const void* data, std::uint32_t full,
                                 std::uint32_t size) {
    Tower* t = InsertEntity(parent, full, code, data);
    Entity* e = TowerEntity(t);
    ReleaseTower(&t);
    const std::uint32_t chunkPayload = e->payloadSize;
    std::memset(EntityPayload(e) + size, 0xEE, chunkPayload - size);
    e->payloadSize = size;
    return {e, chunkPayload};
  }
};

TEST_F(GridFiles, SavedSetsLoadBackWithEveryFieldButTheSecondWord) {
  const GridSet* builtIn = EnsureDefaultGridSet();
  SetHolder mixed{MakeSet({Cartesian(kGridUnitThou, 5, 1, 'F'), Polar(kGridUnitMm, 2.5, kAngleEveryFraction, 12.0),
                           Cartesian(kGridUnitInch, 1, 20), Polar(kGridUnitCm, 0.75, kAngleEveryDegrees, 7.5)},
                          1, kGridSnap)};
  mixed.set->secondWord = 6;
  for (const GridSet* original : {builtIn, static_cast<const GridSet*>(mixed.set)}) {
    Tower* list = SaveGridSet(holder, original);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(TowerEntity(list)->typeCode, kGridListCode);
    ReleaseTower(&list);
    SetHolder back{LoadGridSet(holder)};
    ASSERT_NE(back.set, nullptr);
    EXPECT_EQ(+back.set->secondWord, 0) << "the second word is not stored";
    back.set->secondWord = original->secondWord;
    EXPECT_TRUE(SameSet(back.set, original));
  }
  // Saving again replaces the record: one 1200, no 235 left.
  const std::uint8_t old[4 + 52 + 4] = {};
  Tower* info = InsertEntity(holder, sizeof old, kGridInfoCode, old);
  ReleaseTower(&info);
  Tower* list = SaveGridSet(holder, mixed.set);
  ReleaseTower(&list);
  EXPECT_EQ(ChildCodes(holder), std::vector<std::uint16_t>{kGridListCode});
}

TEST_F(GridFiles, EachGridCarriesTheRecordsOfItsKind) {
  SetHolder set{MakeSet({Cartesian(kGridUnitMm, 1, 4), Polar(kGridUnitMm, 2.0, kAngleEveryFraction, 10.0)}, 0)};
  Tower* list = SaveGridSet(holder, set.set);
  EXPECT_EQ(ChildCodes(list), (std::vector<std::uint16_t>{kGridEntryCode, kGridEntryCode, kGridFlagsCode, kGridCurrentCode}));
  const std::vector<std::uint16_t> common = {kGridFlagsCode, kGridUnitCode, kGridKeyCode, kGridKindCode};
  Tower* entries = GetChildTower(list, kGridEntryCode);
  while (const Entity* e = FindNextEntity(entries)) {
    std::uint32_t index = 0;
    std::memcpy(&index, EntityPayload(e), 4);
    std::vector<std::uint16_t> expected = common;
    if (index == 0) expected.insert(expected.end(), {kGridXAxisCode, kGridYAxisCode});
    else expected.insert(expected.end(), {kGridRingSpacingCode, kGridAngleStyleCode, kGridPolarWordCode, kGridAngleValueCode});
    EXPECT_EQ(ChildCodes(entries), expected) << "entry " << index;
  }
  ReleaseTower(&entries);
  ReleaseTower(&list);
}

TEST_F(GridFiles, TheOldGridInfoRecordLoadsAllCartesianAndWithinItsPayload) {
  struct Case {
    const char* what;
    std::uint32_t storedCount;
    std::uint32_t entriesHeld;
    std::uint32_t payloadTrim;  // bytes cut from the end
    std::uint32_t expectedCount;
  };
  const Case cases[] = {
      {"whole", 2, 2, 0, 2},
      {"count larger than the payload", 1000000, 2, 0, 2},
      {"last entry cut short", 3, 3, 10, 2},
      {"header cut short", 2, 0, 30, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::uint8_t> payload(sizeof(OldGridInfoHeader) + c.entriesHeld * sizeof(OldGridEntry));
    OldGridInfoHeader h{};
    h.flags = 3;
    h.secondWord = 6;
    h.current = {0, kGridUnitInch, 'C', {}, {1, 20, 1, 10, 10}, {1, 40, 1, 10, 10}};
    h.current.padding[0] = 0x55;
    h.count = c.storedCount;
    std::memcpy(payload.data(), &h, sizeof h);
    for (std::uint32_t i = 0; i < c.entriesHeld; ++i) {
      OldGridEntry e{1, kGridUnitThou, static_cast<std::uint8_t>('0' + i), {}, {i + 1, 1, 1, 10, 10}, {i + 1, 1, 1, 10, 10}};
      std::memcpy(payload.data() + sizeof h + i * sizeof e, &e, sizeof e);
    }
    const auto size = static_cast<std::uint32_t>(payload.size()) - c.payloadTrim;
    SetHolder set;
    {
      const ShortRecord record =
          InsertShort(holder, kGridInfoCode, payload.data(), static_cast<std::uint32_t>(payload.size()), size);
      // A 1200 record beside it is not read.
      Tower* list = InsertEmptyEntity(holder, kGridListCode);
      ReleaseTower(&list);
      set.set = LoadGridSet(holder);
    }
    ASSERT_NE(set.set, nullptr);
    EXPECT_EQ(+set.set->count, c.expectedCount);
    if (c.payloadTrim < 30) {
      EXPECT_EQ(+set.set->flags, 3);
      EXPECT_EQ(+set.set->secondWord, 6);
      EXPECT_EQ(+set.set->current.kind, kGridCartesian);
      EXPECT_EQ(+set.set->current.keyStroke, 'C');
      EXPECT_EQ(+set.set->current.y.denominator, 40u);
    }
    for (std::uint32_t i = 0; i < set.set->count; ++i) {
      const GridEntry& e = *GridSetEntry(set.set, i);
      EXPECT_EQ(+e.kind, kGridCartesian);
      EXPECT_EQ(+e.x.numerator, i + 1);
      EXPECT_EQ(+e.keyStroke, '0' + i);
    }
    DeleteChildEntities(holder, kGridInfoCode);
    DeleteChildEntities(holder, kGridListCode);
  }
}

TEST_F(GridFiles, EntryIndexesOutOfRangeOrRepeatedAreLeftOut) {
  // Four entry records: indexes 1, 9 (out of range), 0 and 1 again, the
  // last inserted (newest) met first.
  Tower* list = InsertEmptyEntity(holder, kGridListCode);
  const std::uint32_t indexes[] = {1, 9, 0, 1};
  for (int i = 0; i < 4; ++i) {
    Tower* entry = InsertEntity(list, 4, kGridEntryCode, &indexes[i]);
    const std::uint32_t unit = kGridUnitThou;
    const std::uint32_t kind = kGridCartesian;
    const GridAxis axis{static_cast<std::uint32_t>(10 + i), 1, 1, 10, 10};
    for (const auto& [code, data, size] : {std::tuple{kGridUnitCode, static_cast<const void*>(&unit), 4u},
                                           std::tuple{kGridKindCode, static_cast<const void*>(&kind), 4u},
                                           std::tuple{kGridXAxisCode, static_cast<const void*>(&axis), 20u}}) {
      Tower* field = InsertEntity(entry, size, code, data);
      ReleaseTower(&field);
    }
    ReleaseTower(&entry);
  }
  // An entry record too short to hold its index.
  const std::uint32_t zeroIndex = 0;
  const ShortRecord bad = InsertShort(list, kGridEntryCode, &zeroIndex, 4, 2);
  ReleaseTower(&list);
  SetHolder set{LoadGridSet(holder)};
  ASSERT_EQ(+set.set->count, 2u);
  EXPECT_EQ(+GridSetEntry(set.set, 0)->x.numerator, 12u) << "index 0";
  EXPECT_EQ(+GridSetEntry(set.set, 1)->x.numerator, 13u) << "the newest record of index 1";
}

TEST_F(GridFiles, ShortFieldRecordsFillOnlyTheBytesTheyHold) {
  Tower* list = InsertEmptyEntity(holder, kGridListCode);
  const std::uint32_t zero = 0;
  Tower* current = InsertEntity(list, 4, kGridCurrentCode, &zero);
  const GridAxis x{3, 4, 5, 6, 7};
  const double ring = 2.5, angle = 12.0;
  const ShortRecord shrunk[] = {InsertShort(current, kGridXAxisCode, &x, 20, 8),
                                InsertShort(current, kGridYAxisCode, &x, 20, 0),
                                InsertShort(current, kGridRingSpacingCode, &ring, 8, 4),
                                InsertShort(current, kGridAngleValueCode, &angle, 8, 0)};
  ReleaseTower(&current);
  ReleaseTower(&list);
  SetHolder set{LoadGridSet(holder)};
  const GridEntry& c = set.set->current;
  EXPECT_EQ(+c.x.numerator, 3u);
  EXPECT_EQ(+c.x.denominator, 4u);
  EXPECT_EQ(+c.x.displayMultiple, 0u) << "past the record's end";
  EXPECT_EQ(+c.x.thinningFactor, 0u);
  EXPECT_EQ(+c.y.numerator, 0u);
  double ringRead = 0;
  std::memcpy(&ringRead, &set.set->current.ringSpacing, 8);
  double ringExpected = 0;
  std::memcpy(&ringExpected, &ring, 4);
  EXPECT_EQ(std::memcmp(&ringRead, &ringExpected, 8), 0) << "only its first four bytes";
  EXPECT_EQ(+c.angleValue, 0.0);
}

TEST_F(GridFiles, AnEntityWithoutGridRecordsGivesNoneOrAnEmptySet) {
  EXPECT_EQ(ReadStoredGridSet(holder), nullptr);
  SetHolder empty{LoadGridSet(holder)};
  ASSERT_NE(empty.set, nullptr);
  GridSet zero{};
  EXPECT_EQ(std::memcmp(empty.set, &zero, sizeof zero), 0);
}

// ---- Grid files --------------------------------------------------------------------

TEST_F(GridFiles, ALoadedFileReplacesTheDefaultSetAndTheVariable) {
  SetHolder saved{MakeSet({Cartesian(kGridUnitMm, 1, 2), Polar(kGridUnitThou, 25.0, kAngleEveryDegrees, 15.0)}, 1)};
  const std::string path = Path("mine.grd");
  ASSERT_EQ(SaveGridList(path.c_str(), saved.set), 1);
  EXPECT_EQ(ChildCodes(holder).size(), 0u) << "nothing is left under a scratch entity";
  SetHolder variable{BuildDefaultGridSet()};
  ASSERT_EQ(LoadGridList(path.c_str(), &variable.set), 1);
  EXPECT_TRUE(SameSet(variable.set, saved.set));
  EXPECT_TRUE(SameSet(DefaultGridSet, saved.set));
  EXPECT_NE(variable.set, DefaultGridSet) << "two sets";
  // Into the default set itself: one set, nothing leaked.
  ASSERT_EQ(LoadGridList(path.c_str(), &DefaultGridSet), 1);
  EXPECT_TRUE(SameSet(DefaultGridSet, saved.set));
  // Only DefaultGridSet.
  std::free(DefaultGridSet);
  DefaultGridSet = nullptr;
  ASSERT_EQ(LoadGridList(path.c_str(), nullptr), 1);
  EXPECT_TRUE(SameSet(DefaultGridSet, saved.set));
}

TEST_F(GridFiles, AFileThatIsNoGridFileChangesNeitherSet) {
  pl3test::WriteFileBytes(Path("garbage.grd"), "not a tower file at all");
  // A sound tower file without grid records.
  Tower* other = NewTopLevelEntity(10000);
  const std::uint32_t word = 5;
  Tower* record = InsertEntity(other, 4, 10301, &word);
  ReleaseTower(&record);
  ASSERT_EQ(SaveDOSFile(other, Path("config.grd").c_str()), 1);
  DeleteTopLevelEntity(&other);
  const GridSet* before = EnsureDefaultGridSet();
  SetHolder variable{MakeSet({Cartesian(kGridUnitMm, 1, 1)}, 0)};
  GridSet* const variableBefore = variable.set;
  SetHolder copy{DuplicateGridSet(variable.set)};
  for (const char* name : {"garbage.grd", "config.grd", "absent.grd"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(LoadGridList(Path(name).c_str(), &variable.set), 0);
    EXPECT_EQ(DefaultGridSet, before);
    EXPECT_EQ(variable.set, variableBefore);
    EXPECT_TRUE(SameSet(variable.set, copy.set));
  }
  EXPECT_EQ(LoadGridListFromMemory("\x01\0\0\0", 4, &variable.set), 0);
  EXPECT_EQ(variable.set, variableBefore);
}

// ---- Start-up ----------------------------------------------------------------------

TEST_F(GridFiles, StartUpWritesTheBuiltInSetWhenThereIsNoGridsFile) {
  const std::string path = Path("DEFAULT.GRD");
  CreateGridList();
  LoadGridsFile(path.c_str());
  SetHolder builtIn{BuildDefaultGridSet()};
  EXPECT_TRUE(SameSet(DefaultGridSet, builtIn.set));
  SetHolder back{nullptr};
  ASSERT_EQ(LoadGridList(path.c_str(), &back.set), 1);
  back.set->secondWord = 6;
  EXPECT_TRUE(SameSet(back.set, builtIn.set));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
}

TEST_F(GridFiles, StartUpKeepsAnUnreadableGridsFileAsideBeforeWritingTheBuiltInSet) {
  const std::string path = Path("DEFAULT.GRD");
  const std::string first = "the user's first damaged file";
  const std::string second = "and a second one";
  pl3test::WriteFileBytes(path, first);
  CreateGridList();
  LoadGridsFile(path.c_str());
  EXPECT_EQ(pl3test::ReadFileBytes(path + ".corrupt"), first);
  SetHolder back{nullptr};
  EXPECT_EQ(LoadGridList(path.c_str(), &back.set), 1) << "the built-in set took its place";
  pl3test::WriteFileBytes(path, second);
  CreateGridList();
  LoadGridsFile(path.c_str());
  EXPECT_EQ(pl3test::ReadFileBytes(path + ".corrupt"), first) << "no kept copy is replaced";
  EXPECT_EQ(pl3test::ReadFileBytes(path + ".corrupt.1"), second);
  EXPECT_EQ(+DefaultGridSet->count, 18u);
  // A folder of that name is left alone, and nothing is written.
  const std::string folder = Path("FOLDER.GRD");
  std::filesystem::create_directory(folder);
  LoadGridsFile(folder.c_str());
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_FALSE(std::filesystem::exists(folder + ".corrupt"));
}

TEST_F(GridFiles, StartUpLoadsAReadableGridsFile) {
  const std::string path = Path("DEFAULT.GRD");
  SetHolder mine{MakeSet({Cartesian(kGridUnitCm, 1, 5)}, 0, 1)};
  ASSERT_EQ(SaveGridList(path.c_str(), mine.set), 1);
  const std::string bytes = pl3test::ReadFileBytes(path);
  CreateGridList();
  LoadGridsFile(path.c_str());
  EXPECT_EQ(+DefaultGridSet->count, 1u);
  EXPECT_EQ(+DefaultGridSet->flags, 1);
  EXPECT_EQ(pl3test::ReadFileBytes(path), bytes);
  FreeGridList();
  EXPECT_EQ(DefaultGridSet, nullptr);
}

// ---- The grid set of a design --------------------------------------------------------

TEST_F(GridFiles, ADesignGivesItsWindowItsGridsOrACopyOfTheDefaultSet) {
  SetHolder stored{MakeSet({Polar(kGridUnitMm, 1.0, kAngleEveryFraction, 8.0)}, 0)};
  const GridSet* defaults = EnsureDefaultGridSet();

  // No Don't Reload Group: the message, then the default set.
  SetHolder missing{static_cast<GridSet*>(RetrieveGridInfo(holder))};
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Error - don't reload tower not  found");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "RetrieveGridInfo");
  EXPECT_TRUE(SameSet(missing.set, defaults));
  EXPECT_NE(missing.set, defaults);

  // A group without grid records: the default set, quietly.
  pl3::ClearResponderRecords();
  Tower* group = InsertEmptyEntity(holder, Type_DontReloadGroup);
  SetHolder empty{static_cast<GridSet*>(RetrieveGridInfo(holder))};
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  EXPECT_TRUE(SameSet(empty.set, defaults));

  // A group with grids.
  Tower* list = SaveGridSet(group, stored.set);
  ReleaseTower(&list);
  SetHolder own{static_cast<GridSet*>(RetrieveGridInfo(holder))};
  EXPECT_TRUE(SameSet(own.set, stored.set));
  ReleaseTower(&group);
}

TEST_F(GridFiles, ASchematicPageTakesTheGridsOfItsSchematic) {
  Tower* schematic = InsertEmptyEntity(holder, Type_Schematic);
  Tower* group = InsertEmptyEntity(schematic, Type_DontReloadGroup);
  SetHolder stored{MakeSet({Cartesian(kGridUnitInch, 1, 10)}, 0)};
  Tower* list = SaveGridSet(group, stored.set);
  ReleaseTower(&list);
  ReleaseTower(&group);
  Tower* page = InsertEmptyEntity(schematic, Type_Page);
  Tower* pageGroup = InsertEmptyEntity(page, Type_DontReloadGroup);
  ReleaseTower(&pageGroup);
  SetHolder grids{static_cast<GridSet*>(RetrieveGridInfo(page))};
  EXPECT_TRUE(SameSet(grids.set, stored.set));
  ReleaseTower(&page);
  ReleaseTower(&schematic);
}

// A view of the 64 x 64 plane at 9,144 world units (a quarter thou) per
// pixel, the working area everywhere.
void ViewAtQuarterThou(CurrentWindowData& block, geomtest::Plane& plane) {
  block.View = {0, 0, 9144};
  plane.view = block.View;
  pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(9144);
  const std::uint32_t area[4] = {0, 0, 0x7FFFFFFF, 0x7FFFFFFF};
  SetWorkingArea(area);
}

// ---- Steps that give no positions, from a file -----------------------------------------

TEST_F(GridFiles, StepsThatGiveNoPositionsLoadAsStoredAndSnapAndDrawSafely) {
  GridEntry zero = Cartesian(kGridUnitThou, 0, 1);
  GridEntry negative = Cartesian(kGridUnitMm, 0xFFFFFFFFu, 1);  // -1 as a signed word
  GridEntry noDivisor = Cartesian(kGridUnitMm, 1, 0);
  GridEntry tiny = Cartesian(kGridUnitThou, 1, 36576);  // one world unit
  tiny.x.thinningFactor = tiny.y.thinningFactor = 1;
  tiny.x.minimumSpacing = tiny.y.minimumSpacing = 0;
  GridEntry huge = Cartesian(kGridUnitInch, 0xFFFFFFFFu, 1);  // dots 10^19 units apart
  huge.x.displayMultiple = huge.y.displayMultiple = 0xFFFFFFFFu;
  const std::vector<GridEntry> entries = {zero,
                                          negative,
                                          noDivisor,
                                          tiny,
                                          Polar(kGridUnitMm, 0.0, kAngleEveryFraction, 10.0),
                                          Polar(kGridUnitMm, -2.0, kAngleEveryFraction, 10.0),
                                          Polar(kGridUnitMm, 2.0, kAngleEveryDegrees, -30.0),
                                          Polar(kGridUnitMm, 2.0, kAngleEveryFraction, 0.0),
                                          Polar(kGridUnitMm, 1e-6, kAngleEveryDegrees, 1e-9),
                                          Polar(kGridUnitThou, 1.0 / 36576, kAngleEveryDegrees, 1e-12),
                                          huge};
  SetHolder saved{MakeSet(entries, 0)};
  ASSERT_EQ(SaveGridList(Path("odd.grd").c_str(), saved.set), 1);
  SetHolder loaded{nullptr};
  ASSERT_EQ(LoadGridList(Path("odd.grd").c_str(), &loaded.set), 1);
  ASSERT_EQ(+loaded.set->count, entries.size());
  for (std::uint32_t i = 0; i < loaded.set->count; ++i) EXPECT_TRUE(SameEntry(*GridSetEntry(loaded.set, i), entries[i])) << i;

  CurrentWindowData block;
  block.Grids = loaded.set;
  loaded.set = nullptr;
  ActiveWindowData = &block;
  geomtest::Plane plane{64, 64};
  ViewAtQuarterThou(block, plane);
  const pl3::Point centre{32 * 9144, 32 * 9144};
  block.CoordinateOrigin = centre;
  auto* set = static_cast<GridSet*>(block.Grids);
  for (std::uint32_t i = 0; i < set->count; ++i) {
    SCOPED_TRACE(i);
    set->current = *GridSetEntry(set, i);
    std::int32_t x = centre.x + 12345, y = centre.y - 6789;
    SnapXY(&x, &y, 1);
    if (i < 3 || (i >= 4 && i < 8)) {
      EXPECT_EQ(x, centre.x + 12345) << "no positions: the point stays";
      EXPECT_EQ(y, centre.y - 6789);
    }
    block.Cursor = {x, y};
    PolarCursorStep(VK_UP);
    plane.Clear();
    const auto started = std::chrono::steady_clock::now();
    if (set->current.kind == kGridPolar)
      DrawPolarGrid(block, set->current, pl3::Box{0, 0, 63 * 9144, 63 * 9144});
    else
      DrawCartesianGrid(block, set->current);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    if (i < 3 || (i >= 4 && i < 8)) {
      EXPECT_TRUE(plane.Lit().empty());
    }
  }
  ActiveWindowData = nullptr;
  FreeGridInfo(block.Grids);
}

TEST_F(GridFiles, DotsFinerThanAPixelLightEachPixelOnce) {
  CurrentWindowData block;
  geomtest::Plane plane{64, 64};
  ViewAtQuarterThou(block, plane);
  GridEntry fine = Cartesian(kGridUnitThou, 1, 36576);
  fine.y = fine.x = {1, 36576, 1, 0, 1};
  DrawCartesianGrid(block, fine);
  const auto fineDots = plane.Lit();
  // The same picture as a grid one pixel (a quarter thou) apart.
  plane.Clear();
  fine.y = fine.x = {1, 4, 1, 0, 1};
  DrawCartesianGrid(block, fine);
  EXPECT_EQ(fineDots, plane.Lit());
  EXPECT_GE(fineDots.size(), 63u * 63u);
}

}  // namespace
