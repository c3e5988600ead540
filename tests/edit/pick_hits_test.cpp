#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "edit/pick_hits.h"
#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "objects/designators.h"
#include "objects/graphic_records.h"
#include "objects/layer_table.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "platform/menus.h"
#include "store/tower.h"
#include "tests/store/tower_test_support.h"

namespace {

class PickHitsTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorPcb;
    InitialiseLayerTable(window->layerTable);
    SetCopperLayers(window->layerTable);
    design = towertest::NewTopLevelEntity(Type_PCB);
    window->design = design;
    ActiveWindowData = window.get();
  }
  void TearDown() override {
    hits = FreeHitList(hits);
    for (Tower*& t : items) ReleaseTower(&t);
    ActiveWindowData = nullptr;
    ReleaseTower(&design);
  }

  Tower* Keep(Tower* t) {
    items.push_back(t);
    return t;
  }
  Tower* Line(std::uint16_t code, std::uint8_t layer, std::int32_t x1, std::int32_t y1, std::int32_t x2,
              std::int32_t y2) {
    pl3::TrackLayout l{};
    l.head.layer = layer;
    l.head.transform = pl3::kIdentityTransform;
    l.x1 = x1;
    l.y1 = y1;
    l.x2 = x2;
    l.y2 = y2;
    std::uint8_t bytes[72]{};
    std::memcpy(bytes, &l, sizeof l);
    return Keep(InsertEntity(design, code == Type_Wire || code == Type_Bus ? 72 : 68, code, bytes));
  }
  Tower* Hole(bool via, std::int32_t x, std::int32_t y, std::uint8_t layer = 1) {
    HolePayload h{};
    h.hole.head.layer = layer;
    h.hole.head.transform = pl3::kIdentityTransform;
    h.hole.flags = via ? kHoleIsVia : 0;
    h.hole.centreX = x;
    h.hole.centreY = y;
    return Keep(InsertEntity(design, sizeof h, Type_Hole, &h));
  }
  Tower* Locator(std::uint16_t kind) {
    LocatorPayload p{};
    p.kind = kind;
    return Keep(InsertEntity(design, sizeof p, Type_AttributeLocator, &p));
  }
  std::string Describe(const Tower* t) {
    char* text = DescribeObject(t);
    std::string s = text ? text : "(none)";
    std::free(text);
    return s;
  }

  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
  std::vector<Tower*> items;
  HitEntry* hits = nullptr;
};

TEST_F(PickHitsTest, DescriptionsNameTheKindAndTheFirstLayer) {
  SetLayerName(window->layerTable.layers[32], "Solder Side");
  struct Case {
    Tower* item;
    std::uint32_t editor;
    const char* text;
  };
  const Case cases[] = {
      {Line(Type_Track, 1, 0, 0, 10, 0), kEditorPcb, "Track - Top Layer"},
      {Line(Type_Track, 32, 0, 0, 10, 0), kEditorShape, "Line - Solder Side"},
      {Line(Type_Track, 1, 0, 0, 10, 0), kEditorSchematic, "Line"},
      {Line(Type_Wire, 1, 0, 0, 10, 0), kEditorSchematicSymbol, "Wire"},
      {Line(Type_PlatedSlot, 1, 0, 0, 10, 0), kEditorPcb, "Plated Slot - Top Layer"},
      {Hole(true, 5, 5), kEditorPcb, "Via"},
      {Hole(false, 5, 5), kEditorPcb, "Hole"},
      {Locator(3), kEditorSchematic, "Net Name"},
      {Locator(17), kEditorSchematic, "Global Net Locator"},
      {Locator(2), kEditorSchematic, "Attribute"},
      {Keep(InsertEntity(design, 4, 500, "abc")), kEditorPcb, "(none)"},
      {Keep(InsertEntity(design, 4, 500, "abc")), kEditorSchematic, "Unknown"},
      // Outside the schematic editors only the layered kinds, holes, vias,
      // centroids, labels and info boxes have a line.
      {Locator(3), kEditorPcb, "(none)"},
      {Keep(InsertEntity(design, 4, Type_Datum, "abc")), kEditorPcb, "(none)"},
      {Keep(InsertEntity(design, 4, Type_Datum, "abc")), kEditorSchematic, "Datum"},
      {Line(Type_Wire, 1, 0, 0, 10, 0), kEditorPcb, "(none)"},
      {Keep(InsertEntity(design, 4, Type_LabelHier, "abc")), kEditorPcb, "(none)"},
      {Keep(InsertEntity(design, 4, Type_Label, "abc")), kEditorPcbSymbol, "Label"},
      {Keep(InsertEntity(design, 4, Type_InfoBoxHier, "abc")), kEditorPcb, "Info Box"},
      {Keep(InsertEntity(design, 4, Type_Centroid, "abc")), kEditorPcb, "Centroid"},
  };
  for (const Case& c : cases) {
    window->editorKind = c.editor;
    EXPECT_EQ(Describe(c.item), c.text) << "type " << TowerEntity(c.item)->typeCode << " editor " << c.editor;
  }
}

TEST_F(PickHitsTest, APlacedSymbolShowsItsDesignatorInBrackets) {
  Tower* symbol = Keep(InsertEmptyEntity(design, Type_SymbolInstance));
  Tower* group = InsertEmptyEntity(symbol, Type_Designator);
  SetDesignatorText(group, "u7");
  ReleaseTower(&group);
  EXPECT_EQ(Describe(symbol).rfind("Symbol [U7] - ", 0), 0u) << Describe(symbol);
  window->editorKind = kEditorSchematic;
  EXPECT_EQ(Describe(symbol), "Symbol");
}

TEST_F(PickHitsTest, TwoOverlappingTracksGiveTwoLinesFrom2050) {
  SetLayerName(window->layerTable.layers[2], "Ground");
  hits = AppendHit(hits, Line(Type_Track, 1, 0, 0, 100, 0));
  hits = AppendHit(hits, Line(Type_Track, 2, 0, 50, 100, 50));
  hits = AppendHit(hits, Keep(InsertEntity(design, 4, 500, "abc")));  // no line, but it keeps its id
  hits = AppendHit(hits, Hole(false, 9, 9));
  HMENU menu = BuildPickChoiceMenu(hits);
  ASSERT_EQ(GetMenuItemCount(menu), 3);
  char text[64];
  EXPECT_EQ(GetMenuItemID(menu, 0), 2050u);
  GetMenuStringA(menu, 2050, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Track - Top Layer");
  EXPECT_EQ(GetMenuItemID(menu, 1), 2051u);
  GetMenuStringA(menu, 2051, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Track - Ground");
  EXPECT_EQ(GetMenuItemID(menu, 2), 2053u);
  DestroyMenu(menu);
}

TEST_F(PickHitsTest, ConnectedRunsAreOfferedOnce) {
  // Tracks: 0 and 1 share an end, 2 meets 0 through a via of the list, 3 is apart.
  Tower* t0 = Line(Type_Track, 1, 0, 0, 100, 0);
  hits = AppendHit(hits, t0);
  hits = AppendHit(hits, Line(Type_Track, 2, 100, 0, 100, 100));
  hits = AppendHit(hits, Hole(true, 300, 0));
  hits = AppendHit(hits, Line(Type_Track, 1, 300, 0, 300, 90));
  Tower* apart = Line(Type_Track, 1, 500, 500, 600, 600);
  hits = AppendHit(hits, apart);
  // Wires follow their own rule; a wire never thins a track.
  hits = AppendHit(hits, Line(Type_Wire, 0, 0, 0, 0, 100));
  hits = AppendHit(hits, Line(Type_Wire, 0, 0, 100, 0, 200));
  hits = RemoveDuplicateHits(hits);
  ASSERT_EQ(CountHits(hits), 4);
  EXPECT_EQ(TowerEntity(HitAt(hits, 0)), TowerEntity(t0));
  EXPECT_EQ(TowerEntity(HitAt(hits, 1))->typeCode, Type_Hole);
  EXPECT_EQ(TowerEntity(HitAt(hits, 2)), TowerEntity(apart));
  EXPECT_EQ(TowerEntity(HitAt(hits, 3))->typeCode, Type_Wire);
  EXPECT_EQ(HitAt(hits, 4), nullptr);
}

TEST_F(PickHitsTest, TheFilterTakesListedTypesOnListedLayers) {
  SelectionFilter filter;
  Tower* via = Hole(true, 0, 0);
  Tower* hole = Hole(false, 0, 0);
  Tower* topTrack = Line(Type_Track, 1, 0, 0, 1, 1);
  Tower* innerTrack = Line(Type_Track, 2, 0, 0, 1, 1);
  Tower* wire = Line(Type_Wire, 1, 0, 0, 1, 1);
  EXPECT_EQ(PassesSelectionFilter(filter, via), 0);  // an empty list passes nothing
  filter.types = {Type_Via, Type_Track, Type_Wire};
  filter.layers = {1};
  EXPECT_EQ(PassesSelectionFilter(filter, via), 1);
  EXPECT_EQ(PassesSelectionFilter(filter, hole), 0);  // "Vias" without "Non Plated Through Holes"
  EXPECT_EQ(PassesSelectionFilter(filter, topTrack), 1);
  EXPECT_EQ(PassesSelectionFilter(filter, innerTrack), 0);
  EXPECT_EQ(PassesSelectionFilter(filter, wire), 0);  // not a type the dialog offers
  filter.types = {Type_Hole};
  EXPECT_EQ(PassesSelectionFilter(filter, via), 0);
  EXPECT_EQ(PassesSelectionFilter(filter, hole), 1);
}

}  // namespace
