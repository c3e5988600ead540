#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/colours.h"
#include "objects/editor_seams.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

TEST(LayerColourMix, MixesAverageTruncatedSharesAndTheFullMaskIsWhite) {
  std::uint32_t* mix = BuildDefaultLayerColourMix();
  ASSERT_NE(mix, nullptr);
  const std::pair<std::uint32_t, std::uint32_t> cases[] = {
      {0x0000, 0x000000}, {0x0001, 0xFF0000}, {0x0002, 0x0000FF}, {0x0003, 0x7F007F},
      {0x0007, 0x555555}, {0x8000, 0xF8E2AA}, {0xFFFF, 0xFFFFFF}, {0x0041, 0xBC2C48},
  };
  for (auto [mask, colour] : cases) EXPECT_EQ(mix[mask], colour) << std::hex << mask;
  std::uint32_t back[16];
  GetLayerColours(mix, back);
  EXPECT_EQ(std::memcmp(back, kDefaultLayerColours, sizeof back), 0);
  std::free(mix);
  EXPECT_EQ(CountMaskLayers(0x1FFFF), 16);
  EXPECT_EQ(CountMaskLayers(0x0003), 2);
}

TEST(HighlightColours, SixteenEntriesTheLastZero) {
  CreateHighlightColours();
  ASSERT_NE(HighlightColours, nullptr);
  {
    // The raster kernel colours plane words with bit 23 from them: a grid dot
    // (0x800000) turns yellow, a highlight (0x810000) white, never black.
    const pl3::RasterState saved = pl3::g_raster;
    std::uint32_t plane[3] = {0x800000, 0x810000, 0x840000};
    std::uint32_t colours[3] = {};
    pl3::g_raster.plane = plane;
    pl3::g_raster.colourBuffer = colours;
    pl3::g_raster.width = 3;
    pl3::g_raster.height = 1;
    pl3::ColourisePlane();
    pl3::g_raster = saved;
    EXPECT_EQ(colours[0], 0xFFFF00u);
    EXPECT_EQ(colours[1], 0xFFFFFFu);
    EXPECT_EQ(colours[2], 0xFF0000u);
  }
  EXPECT_EQ(HighlightColours[0], 0xFFFF00u);
  EXPECT_EQ(HighlightColours[4], 0xFF0000u);
  EXPECT_EQ(HighlightColours[5], 0u);
  EXPECT_EQ(HighlightColours[15], 0u);
  FreeHighlightColours();
  EXPECT_EQ(HighlightColours, nullptr);
  EXPECT_EQ(pl3::g_raster.colourTable2, nullptr) << "the kernel keeps no freed table";
}

TEST(NamedColours, DefaultsLookUpAndCycling) {
  SetDefaultNamedColours();
  EXPECT_STREQ(NamedColours.entries[0].name, "Background Colour");
  EXPECT_EQ(NamedColours.entries[2].colour, 0x58D9FFu);
  EXPECT_EQ(NamedColours.entries[27].colourClass, ColourClass_Unused);
  EXPECT_EQ(NamedColours.end, 0u);
  EXPECT_EQ(&NamedColourAt(5), &NamedColours.entries[5]);
  EXPECT_EQ(&NamedColourAt(0x100 | 29), &NamedColours.entries[29]) << "only the low byte";
  EXPECT_EQ(&NamedColourAt(30), &NamedColours.entries[0]) << "past the table: entry 0";
  EXPECT_EQ(&NamedColourAt(0xFF), &NamedColours.entries[0]);
  const std::pair<std::uint32_t, std::uint32_t> next[] = {{1, 2},   {5, 1},   {10, 6}, {15, 11}, {20, 16},
                                                          {21, 22}, {29, 0},  {27, 28}, {28, 27}, {40, 0}};
  for (auto [from, to] : next) EXPECT_EQ(NextColourInClass(from), to) << from;
}

TEST(NamedColours, OlderGroupsAreExchanged) {
  SetDefaultNamedColours();
  ReorderOldColourGroups();
  const std::pair<int, const char*> cases[] = {{0, "Background Colour"}, {1, "Wire Colour 1"}, {5, "Wire Colour 5"},
                                               {6, "Bus Colour 1"},      {11, "Attribute Colour 1"},
                                               {16, "Graphic Colour 1"}, {20, "Graphic Colour 5"},
                                               {21, "Grid Colour"}};
  for (auto [i, name] : cases) EXPECT_STREQ(NamedColours.entries[i].name, name) << i;
}

class ColourRecords : public testing::Test {
 protected:
  void SetUp() override {
    design_ = NewTower(0);
    LastLevel(design_).typeCode = Type_Schematic;
    InsertAtLastLevel(design_, 0);
  }
  void TearDown() override { ReleaseTower(&design_); }
  // An entity whose colour byte is `index`; returns its payload.
  std::uint8_t* Item(const Tower* parent, std::uint16_t type, std::uint8_t index) {
    std::uint8_t payload[72] = {};
    payload[0] = index;
    Tower* t = InsertEntity(parent, sizeof payload, type, payload);
    std::uint8_t* p = TowerPayload(t);
    ReleaseTower(&t);
    return p;
  }
  Tower* design_ = nullptr;
};

TEST_F(ColourRecords, ConfigurationRecordIsReadOnlyWhenWhole) {
  SetDefaultNamedColours();
  NamedColours.entries[3].key = 'Q';
  SaveNamedColours(design_);
  SetDefaultNamedColours();
  ASSERT_EQ(LoadNamedColours(design_), 1);
  EXPECT_EQ(NamedColours.entries[3].key, 'Q');

  Tower* other = InsertEmptyEntity(design_, 10200);
  const std::uint8_t shortRecord[1000] = {1, 2, 3};
  Tower* r = InsertEntity(other, sizeof shortRecord, 20036, shortRecord);
  ReleaseTower(&r);
  EXPECT_EQ(LoadNamedColours(other), 0);
  EXPECT_EQ(NamedColours.entries[0].colour, 0u) << "unchanged";
  EXPECT_EQ(NamedColours.entries[3].key, 'Q');
  Tower* empty = InsertEmptyEntity(design_, 10201);
  EXPECT_EQ(LoadNamedColours(empty), 0);
  ReleaseTower(&other);
  ReleaseTower(&empty);
}

TEST_F(ColourRecords, OlderIndicesAreNormalisedThroughTheWholeTree) {
  struct Case {
    std::uint16_t type;
    std::uint8_t from, to;
  };
  const Case cases[] = {
      {Type_Wire, 1, 16},  {Type_Wire, 18, 18}, {Type_Wire, 200, 16}, {1, 17, 2},    {5, 0, 1},  {3, 4, 4},
      {6, 30, 1}, {4, 20, 5}, {Type_AttributeLocator, 11, 6}, {Type_AttributeLocator, 1, 6}, {Type_Bus, 6, 11},
      {Type_Bus, 12, 12},  {Type_Hole, 99, 99},
  };
  std::vector<std::uint8_t*> payloads;
  Tower* symbol = InsertEmptyEntity(design_, Type_SchematicSymbol);
  for (std::size_t i = 0; i < std::size(cases); ++i)
    payloads.push_back(Item(i % 2 ? symbol : design_, cases[i].type, cases[i].from));
  const DocumentColours old{1, 6, 11, 16, {}};
  Tower* doc = InsertEntity(design_, sizeof old, kDocumentColoursType, &old);
  NormaliseColourIndices(design_);
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(payloads[i][0], cases[i].to) << cases[i].type << " " << int(cases[i].from);
  const auto& d = *reinterpret_cast<const DocumentColours*>(TowerPayload(doc));
  EXPECT_EQ(d.wire, 16u);
  EXPECT_EQ(d.bus, 11u);
  EXPECT_EQ(d.locator, 6u);
  EXPECT_EQ(d.graphic, 1u);
  ReleaseTower(&doc);
  ReleaseTower(&symbol);
}

}  // namespace

// The drawing code's ghost, recorded: the colour byte each time it is drawn.
std::vector<int> gGhostColours;
void GhostEntityData(void*, std::uint16_t, const void* data, std::uint32_t, const pl3::Transform*) {
  gGhostColours.push_back(*static_cast<const std::uint8_t*>(data));
}

namespace {

TEST_F(ColourRecords, CycleCommandErasesRecoloursAndRedrawsTheItemInHand) {
  SetDefaultNamedColours();
  gGhostColours.clear();
  Tower* original = InsertEntity(design_, 72, Type_Wire, nullptr);
  Tower* copy = InsertEntity(design_, 72, Type_Wire, nullptr);
  TowerPayload(original)[0] = 18;
  TowerPayload(copy)[0] = 20;
  SelectionInfo selection{};
  selection.original = original;
  selection.workingCopy = copy;
  EXPECT_EQ(CycleEntityColour(nullptr, &selection), 1);
  EXPECT_EQ(TowerPayload(copy)[0], 16);
  EXPECT_EQ(TowerPayload(original)[0], 18) << "the item in hand changes, not the one it came from";
  EXPECT_EQ(gGhostColours, (std::vector<int>{20, 16}));
  // Without a copy the selected item itself; an item without a colour, or
  // nothing selected, changes nothing and draws nothing.
  selection.workingCopy = nullptr;
  EXPECT_EQ(CycleEntityColour(nullptr, &selection), 1);
  EXPECT_EQ(TowerPayload(original)[0], 19);
  Tower* hole = InsertEntity(design_, 72, Type_Hole, nullptr);
  selection.original = hole;
  gGhostColours.clear();
  EXPECT_EQ(CycleEntityColour(nullptr, &selection), 0);
  EXPECT_EQ(CycleEntityColour(nullptr, nullptr), 0);
  EXPECT_TRUE(gGhostColours.empty());
  ReleaseTower(&hole);
  ReleaseTower(&copy);
  ReleaseTower(&original);
}

TEST_F(ColourRecords, CyclingKeepsTheClass) {
  SetDefaultNamedColours();
  const struct {
    std::uint16_t type;
    std::uint8_t from, to;
    int cycled;
  } cases[] = {{Type_Wire, 20, 16, 1}, {2, 5, 1, 1}, {Type_Bus, 13, 14, 1}, {Type_Hole, 5, 5, 0}};
  for (const auto& c : cases) {
    Tower* t = InsertEntity(design_, 72, c.type, nullptr);
    TowerPayload(t)[0] = c.from;
    EXPECT_EQ(CycleColourAt(t), c.cycled);
    EXPECT_EQ(TowerPayload(t)[0], c.to) << c.type;
    ReleaseTower(&t);
  }
}

}  // namespace

namespace {

TEST_F(ColourRecords, TypeColoursComeFromTheDocumentRecordMadeWhenMissing) {
  Tower* page = InsertEmptyEntity(design_, Type_Page);
  CurrentWindowData window{};
  window.editorKind = kEditorSchematic;
  window.design = page;
  ActiveWindowData = &window;
  EXPECT_EQ(GetTypeColour(Type_Wire), 16u);
  EXPECT_EQ(GetTypeColour(Type_Bus), 11u);
  EXPECT_EQ(GetTypeColour(Type_AttributeLocator), 6u);
  EXPECT_EQ(GetTypeColour(3), 1u);
  EXPECT_EQ(GetTypeColour(Type_Hole), 0u);
  auto* record = static_cast<DocumentColours*>(GetEntityData(design_, kDocumentColoursType));
  ASSERT_NE(record, nullptr) << "made under the schematic, not the page";
  record->wire = 18;
  EXPECT_EQ(GetTypeColour(Type_Wire), 18u);
  EXPECT_EQ(GetEntityData(page, kDocumentColoursType), nullptr);

  window.editorKind = kEditorPcb;
  EXPECT_EQ(GetTypeColour(Type_Wire), 0u);
  window.editorKind = kEditorSchematicSymbol;
  window.design = design_;
  EXPECT_EQ(GetTypeColour(Type_Wire), 18u) << "a library keeps the record in its own design";
  ActiveWindowData = nullptr;
  ReleaseTower(&page);
}

}  // namespace
