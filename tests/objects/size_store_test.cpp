#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/size_files.h"
#include "objects/size_remap.h"
#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "store/tower.h"
#include "tests/support/test_paths.h"

namespace {

// A design entity of `code` at the top level; the caller releases the Tower.
Tower* NewDesign(std::uint16_t code) {
  if (!RootGroup()) pl3::ResetGlobalStateForTests();
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = code;
  InsertAtLastLevel(t, 0);
  return t;
}

template <typename Payload>
Entity* InsertPayload(const Tower* parent, std::uint16_t code, const Payload& payload) {
  Tower* t = InsertEntity(parent, sizeof payload, code, &payload);
  Entity* e = TowerEntity(t);
  ReleaseTower(&t);
  return e;
}

Tower* InsertGroup(const Tower* parent, std::uint16_t code) { return InsertEmptyEntity(parent, code); }

template <typename Payload>
const Payload& PayloadOf(const Entity* e) {
  return *reinterpret_cast<const Payload*>(EntityPayload(const_cast<Entity*>(e)));
}

LinePayload Track(std::uint32_t index, bool indexed = true) {
  LinePayload line{};
  line.head.sizeFlags = indexed ? kSizeByIndex : 0;
  line.head.sizeIndex = index;
  return line;
}

std::unique_ptr<SizeTable> TableFromText(const std::string& text) { return ParseSizeText(text.data(), text.size()); }

const char kSizes[] =
    "[Lines]\r\n\"0.1\" \"mm\" \"a\" \"Y\" \"\"\r\n\"0.2\" \"mm\" \"\" \"D\" \"\"\r\n\"0.3\" \"mm\" \"\" \"Y\" \"\"\r\n"
    "\"0.4\" \"mm\" \"\" \"Y\" \"\"\r\n"
    "[Fonts]\r\n\"8\" \"\" \"Y\" \"\"\r\n\"16\" \"\" \"Y\" \"\"\r\n"
    "[Vias]\r\n\"0.3\" \"0.7\" \"mm\" \"\" \"Y\" \"\"\r\n\"0.4\" \"0.8\" \"mm\" \"\" \"D\" \"\"\r\n";

TEST(StoredSizeTable, StoreAndLoadBack) {
  Tower* design = NewDesign(Type_PCB);
  EXPECT_EQ(LoadStoredSizeTable(design), nullptr);
  auto table = TableFromText(kSizes);
  StoreSizeTable(design, *table);
  Tower* stored = OpenChildTower(design, Type_SizeTableRecord);
  ASSERT_NE(stored, nullptr);
  const std::string text = WriteSizeText(*table);
  const char* payload = reinterpret_cast<const char*>(TowerPayload(stored));
  EXPECT_EQ(std::string(payload), text);
  EXPECT_EQ(payload[text.size()], '\0');
  ReleaseTower(&stored);
  auto back = LoadStoredSizeTable(design);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(WriteSizeText(*back), text);
  ReleaseTower(&design);
}

// A damaged size record without its NUL is read to the record's end, and
// the newest record of a design is the one that counts.
TEST(StoredSizeTable, RecordWithoutTerminatorAndNewestRecord) {
  Tower* design = NewDesign(Type_PCB);
  const std::string older = "[Lines]\r\n\"0.1\" \"mm\" \"\" \"Y\" \"old\"\r\n";
  Tower* first = InsertEntity(design, static_cast<std::uint32_t>(older.size() + 1), Type_SizeTableRecord,
                              older.c_str());
  ReleaseTower(&first);
  const std::string text = "[Lines]\r\n\"0.2\" \"mm\" \"\" \"D\" \"no end\"";
  Tower* damaged = InsertEntity(design, static_cast<std::uint32_t>(text.size()), Type_SizeTableRecord, text.data());
  ReleaseTower(&damaged);
  auto table = LoadStoredSizeTable(design);
  ASSERT_NE(table, nullptr);
  ASSERT_EQ((*table)[SizeKind_Lines].count(), 1u);
  EXPECT_STREQ((*table)[SizeKind_Lines].entries[0].name, "no end");
  EXPECT_EQ((*table)[SizeKind_Lines].entries[0].value1, 144000);
  ReleaseTower(&design);
}

TEST(SizeFiles, SaveAndLoad) {
  const std::string dir = pl3test::MakeTempDir("size_files");
  const std::string path = dir + "/board.p3s";
  auto table = TableFromText(kSizes);
  ASSERT_EQ(SaveSizeFile(*table, path.c_str()), 1);
  const std::string bytes = pl3test::ReadFileBytes(path);
  EXPECT_EQ(bytes, WriteSizeText(*table) + std::string(1, '\0'));  // the terminating NUL is written too
  auto back = LoadSizeFile(path.c_str());
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(WriteSizeText(*back), WriteSizeText(*table));
  EXPECT_EQ(LoadSizeFile((dir + "/missing.p3s").c_str()), nullptr);
  EXPECT_EQ(SaveSizeFile(*table, (dir + "/no/such/folder/x.p3s").c_str()), 0);
}

TEST(SizeFiles, AFailedSaveKeepsTheOldFile) {
  const std::string dir = pl3test::MakeTempDir("size_files_kept");
  const std::string path = dir + "/board.p3s";
  pl3test::WriteFileBytes(path, "old sizes");
  // A folder in the place of the temporary file makes the save fail before
  // anything reaches the file itself.
  std::filesystem::create_directory(path + ".saving");
  EXPECT_EQ(SaveSizeFile(*TableFromText(kSizes), path.c_str()), 0);
  EXPECT_EQ(pl3test::ReadFileBytes(path), "old sizes");
  std::filesystem::remove(path + ".saving");
}

TEST(SizeFiles, EditorTableFallsBackOnTheBuiltInText) {
  const std::string dir = pl3test::MakeTempDir("editor_sizes");
  // No size file set: no table.
  EXPECT_EQ(LoadSizeTableForEditor(kEditorPcb, nullptr), nullptr);
  // A file that cannot be opened: the built-in text, silently.
  auto missing = LoadSizeTableForEditor(kEditorPcb, (dir + "/missing.p3s").c_str());
  ASSERT_NE(missing, nullptr);
  EXPECT_EQ((*missing)[SizeKind_Lines].count(), 36u);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  // A file without the lists the editor needs: the message, then the built-in text.
  const std::string partial = dir + "/partial.p3s";
  pl3test::WriteFileBytes(partial, kSizes);
  auto fallback = LoadSizeTableForEditor(kEditorPcb, partial.c_str());
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ((*fallback)[SizeKind_Holes].count(), 43u);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text,
            "Size file is not valid for this editor, file is missing the following: Circles, Rectangles, Holes, "
            "using internal default sizes instead.");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Pelmora3");
  // The same file serves an editor that needs only what it has.
  pl3::ClearResponderRecords();
  const std::string lines = dir + "/lines.p3s";
  pl3test::WriteFileBytes(lines, "[Holes]\r\n\"1\" \"mm\" \"\" \"Y\" \"own\"\r\n");
  auto own = LoadSizeTableForEditor(kEditorPadStack, lines.c_str());
  ASSERT_EQ((*own)[SizeKind_Holes].count(), 1u);
  EXPECT_STREQ((*own)[SizeKind_Holes].entries[0].name, "own");
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

// An edit that moves Lines entries around, drops one and adds a new one.
std::unique_ptr<SizeTable> EditedLines(std::initializer_list<std::uint32_t> oldIndices) {
  auto edited = TableFromText(kSizes);
  SizeList& lines = (*edited)[SizeKind_Lines];
  std::vector<SizeEntry> before = lines.entries;
  lines.entries.clear();
  for (std::uint32_t old : oldIndices) {
    SizeEntry e = old == kNewSizeEntry ? SizeEntry{} : before[old];
    e.index = old;
    lines.entries.push_back(e);
  }
  return edited;
}

TEST(SizeRemap, ItemIndicesFollowTheirEntries) {
  auto edited = EditedLines({2, 0, kNewSizeEntry});  // 2 -> 0, 0 -> 1, entries 1 and 3 gone
  const SizeRemap remap = BuildSizeRemap(*edited);
  EXPECT_EQ(RemapItemSizeIndex(remap, SizeKind_Lines, 2), 0u);
  EXPECT_EQ(RemapItemSizeIndex(remap, SizeKind_Lines, 0), 1u);
  EXPECT_EQ(RemapItemSizeIndex(remap, SizeKind_Lines, 1), 1u);  // kept, still inside
  EXPECT_EQ(RemapItemSizeIndex(remap, SizeKind_Lines, 3), 2u);  // past the end: the last
  EXPECT_EQ(RemapSettingSizeIndex(remap, SizeKind_Lines, 3), 0u);  // past the end: the first
  EXPECT_EQ(RemapItemSizeIndex(remap, SizeKind_Fonts, 1), 1u);
}

TEST(SizeRemap, ApplyEditedTableReindexesTheDesign) {
  Tower* design = NewDesign(Type_PCB);
  const Entity* track = InsertPayload(design, Type_Track, Track(2));
  const Entity* custom = InsertPayload(design, Type_Track, Track(3, false));
  HolePayload via{};
  via.hole.head.sizeFlags = kSizeByIndex;
  via.hole.head.sizeIndex = 1;
  via.hole.flags = kHoleIsVia;
  const Entity* viaEntity = InsertPayload(design, Type_Hole, via);
  Tower* symbol = InsertGroup(design, Type_SymbolInstance);
  const Entity* inner = InsertPayload(symbol, Type_Track, Track(3));
  Tower* designator = InsertGroup(symbol, Type_Designator);
  Tower* data = InsertGroup(designator, Type_DesignatorData);
  std::uint8_t info[20] = {};
  const std::uint16_t byIndex = kSizeByIndex;
  const std::uint32_t fontIndex = 1;
  std::memcpy(info, &byIndex, 2);
  std::memcpy(info + 4, &fontIndex, 4);
  const Entity* designatorInfo = InsertPayload(data, Type_DesignatorInfo, info);
  Tower* rules = InsertGroup(design, 13030);
  Tower* rule = InsertGroup(rules, 13036);
  const std::uint32_t lineIndices[3] = {0, 2, 1};
  const std::uint32_t lineCount = 2;  // the third index is not part of the list
  const Entity* lineList = InsertPayload(rule, 13042, lineIndices);
  InsertPayload(rule, 13043, lineCount);

  CurrentWindowData window{kEditorPcb, design, 1};
  window.sizeTable = TableFromText(kSizes).release();
  auto edited = EditedLines({2, 0, kNewSizeEntry});
  (*edited)[SizeKind_Fonts].entries = {(*edited)[SizeKind_Fonts].entries[1], (*edited)[SizeKind_Fonts].entries[0]};
  (*edited)[SizeKind_Vias].entries = {(*edited)[SizeKind_Vias].entries[1], (*edited)[SizeKind_Vias].entries[0]};
  (*edited)[SizeKind_Lines].defaultIndex = 2;  // 0.3 mm, entry 2 before the edit
  std::uint32_t fontDefaults[6] = {0, 1, 0, 1, 5, 0};
  SizeIndexSettings settings;
  settings.fontDefaults = fontDefaults;
  ApplyEditedSizeTable(window, *edited, settings);

  EXPECT_EQ(PayloadOf<LinePayload>(track).head.sizeIndex, 0u);
  EXPECT_EQ(PayloadOf<LinePayload>(custom).head.sizeIndex, 3u);  // a custom size is not an index
  EXPECT_EQ(PayloadOf<HolePayload>(viaEntity).hole.head.sizeIndex, 0u);  // in the Vias list
  EXPECT_EQ(PayloadOf<LinePayload>(inner).head.sizeIndex, 2u);
  std::uint32_t infoIndex = 0;
  std::memcpy(&infoIndex, EntityPayload(const_cast<Entity*>(designatorInfo)) + 4, 4);
  EXPECT_EQ(infoIndex, 0u);
  const std::uint32_t* list = reinterpret_cast<const std::uint32_t*>(EntityPayload(const_cast<Entity*>(lineList)));
  EXPECT_EQ(list[0], 1u);
  EXPECT_EQ(list[1], 0u);
  EXPECT_EQ(list[2], 1u);  // beyond the count: untouched

  EXPECT_EQ(window.CurrentViaSize, 0u);
  EXPECT_EQ(fontDefaults[1], 0u);
  EXPECT_EQ(fontDefaults[0], 1u);
  EXPECT_EQ(fontDefaults[4], 0u);  // not an entry at all: the first
  ASSERT_NE(window.sizeTable, nullptr);
  const SizeList& lines = (*window.sizeTable)[SizeKind_Lines];
  ASSERT_EQ(lines.count(), 3u);
  for (std::uint32_t i = 0; i < 3; ++i) EXPECT_EQ(lines.entries[i].index, i);
  EXPECT_EQ(lines.defaultIndex, 0u);  // 0.3 mm moved to the front
  window.sizeTable = FreeSizeTable(window.sizeTable);
  for (Tower* t : {rule, rules, data, designator, symbol, design}) ReleaseTower(&t);
}

// Removing entries from the end of a list moves no entry, yet the list's
// default, the via index and the default size settings that pointed at a
// removed entry must come back inside the list (as the first entry).
TEST(SizeRemap, DefaultsPastTheNewEndComeBackWhenNothingMoved) {
  CurrentWindowData window{kEditorPcb, nullptr, 0};
  window.sizeTable = TableFromText(kSizes).release();
  window.CurrentViaSize = 1;
  auto edited = TableFromText(kSizes);
  (*edited)[SizeKind_Lines].entries.resize(3);  // 0.4 mm gone
  (*edited)[SizeKind_Lines].defaultIndex = 3;
  (*edited)[SizeKind_Vias].entries.resize(1);   // the default via gone
  ASSERT_EQ((*edited)[SizeKind_Vias].defaultIndex, 1u);
  ASSERT_TRUE(BuildSizeRemap(*edited).empty());
  std::uint32_t lineDefaults[2] = {3, 2};
  SizeIndexSettings settings;
  settings.lineDefaults = lineDefaults;
  ApplyEditedSizeTable(window, *edited, settings);
  ASSERT_NE(window.sizeTable, nullptr);
  EXPECT_EQ((*window.sizeTable)[SizeKind_Lines].count(), 3u);
  EXPECT_EQ((*window.sizeTable)[SizeKind_Lines].defaultIndex, 0u);
  EXPECT_EQ((*window.sizeTable)[SizeKind_Vias].defaultIndex, 0u);
  EXPECT_EQ((*window.sizeTable)[SizeKind_Fonts].defaultIndex, 0u);
  EXPECT_EQ(window.CurrentViaSize, 0u);
  EXPECT_EQ(lineDefaults[0], 0u);
  EXPECT_EQ(lineDefaults[1], 2u);  // still an entry: kept
  window.sizeTable = FreeSizeTable(window.sizeTable);
}

// A hole record too short to hold its flags byte is re-indexed as a plain
// hole, without reading past its payload.
TEST(SizeRemap, ShortHoleRecordIsAPlainHole) {
  Tower* design = NewDesign(Type_PCB);
  GraphicHead head{};
  head.sizeFlags = kSizeByIndex;
  head.sizeIndex = 0;
  const Entity* hole = InsertPayload(design, Type_Hole, head);
  ASSERT_EQ(hole->payloadSize, sizeof(GraphicHead));
  CurrentWindowData window{kEditorPcb, design, 1};
  auto edited = TableFromText(
      "[Holes]\r\n\"1\" \"mm\" \"\" \"Y\" \"\"\r\n\"2\" \"mm\" \"\" \"Y\" \"\"\r\n"
      "[Vias]\r\n\"1\" \"2\" \"mm\" \"\" \"Y\" \"\"\r\n");
  std::swap((*edited)[SizeKind_Holes].entries[0], (*edited)[SizeKind_Holes].entries[1]);
  ApplyEditedSizeTable(window, *edited, SizeIndexSettings{});
  EXPECT_EQ(PayloadOf<GraphicHead>(hole).sizeIndex, 1u);
  window.sizeTable = FreeSizeTable(window.sizeTable);
  ReleaseTower(&design);
}

// A schematic is re-indexed page by page; items of a type without a size are
// passed over with their whole type group, and the types after them are
// still re-indexed. A PCB symbol's pin-number font falls back on the first
// font when the edit leaves it past the list's end.
TEST(SizeRemap, SchematicPagesAndSkippedTypes) {
  Tower* design = NewDesign(Type_Schematic);
  Tower* page1 = InsertGroup(design, Type_Page);
  Tower* page2 = InsertGroup(design, Type_Page);
  const Entity* onPage1 = InsertPayload(page1, Type_Track, Track(2));
  InsertPayload(page2, Type_PolygonKeepout, Track(0));  // no size kind: passed over
  const Entity* slot = InsertPayload(page2, Type_PlatedSlot, Track(0));
  const Entity* offPage = InsertPayload(design, Type_Track, Track(2));

  CurrentWindowData window{kEditorSchematic, design, 1};
  auto edited = EditedLines({2, 0, kNewSizeEntry});
  (*edited)[SizeKind_Holes].entries = {SizeEntry{}, SizeEntry{}};
  (*edited)[SizeKind_Holes].entries[0].index = 1;  // 1 -> 0 and 0 -> 1
  (*edited)[SizeKind_Holes].entries[1].index = 0;
  ApplyEditedSizeTable(window, *edited, SizeIndexSettings{});
  EXPECT_EQ(PayloadOf<LinePayload>(onPage1).head.sizeIndex, 0u);
  EXPECT_EQ(PayloadOf<LinePayload>(slot).head.sizeIndex, 1u);
  EXPECT_EQ(PayloadOf<LinePayload>(offPage).head.sizeIndex, 2u);  // not on a page: left alone
  window.sizeTable = FreeSizeTable(window.sizeTable);

  CurrentWindowData symbol{kEditorPcbSymbol, nullptr, 0};
  std::uint32_t pinNumberFont = 2;
  SizeIndexSettings settings;
  settings.pinNumberFont = &pinNumberFont;
  ApplyEditedSizeTable(symbol, *TableFromText(kSizes), settings);  // two fonts
  EXPECT_EQ(pinNumberFont, 0u);
  pinNumberFont = 1;
  ApplyEditedSizeTable(symbol, *TableFromText(kSizes), settings);
  EXPECT_EQ(pinNumberFont, 1u);
  symbol.sizeTable = FreeSizeTable(symbol.sizeTable);
  for (Tower* t : {page2, page1, design}) ReleaseTower(&t);
}

}  // namespace
