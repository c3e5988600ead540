#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>

#include "draw/display_list.h"
#include "draw/display_paint.h"
#include "draw/display_painters.h"
#include "draw/raster_callbacks.h"
#include "geometry/view_mapping.h"
#include "objects/item_helpers.h"
#include "objects/plane_clearances.h"
#include "tests/draw/display_fixture.h"
#include "tests/geometry/raster_fixture.h"

namespace {

using namespace displaytest;
using pl3::g_raster;

constexpr std::int32_t kZoom = 1000;  // world units per pixel

// A 200 x 120 pixel plane under the window's view at 1000 units per pixel.
class DisplayPaint : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    window->Zoom = kZoom;
    plane = std::make_unique<geomtest::Plane>(200, 120);
    g_raster.view = &window->View;
    g_raster.viewFactor = pl3::ViewFactorForZoom(kZoom);
  }
  void TearDown() override {
    g_raster.view = nullptr;
    plane.reset();
    DisplayTest::TearDown();
  }
  // The plane word at world point (x, y).
  std::uint32_t At(std::int32_t x, std::int32_t y) {
    pl3::WorldToView(x, y);
    return plane->At(x, y);
  }
  std::map<std::uint32_t, int> Counts() {
    std::map<std::uint32_t, int> counts;
    for (int y = 0; y < plane->height; ++y)
      for (int x = 0; x < plane->width; ++x)
        if (plane->At(x, y)) ++counts[plane->At(x, y)];
    return counts;
  }
  void SetClearance(std::uint8_t layer, std::int32_t clearance) {
    struct {
      PlaneClearanceTable head{0, 1};
      PlaneClearanceEntry entry{};
    } table;
    table.entry.layer = layer;
    table.entry.clearance = clearance;
    Add(design, kTypePlaneClearanceTable, table);
  }
  Tower* AddPlane(std::uint8_t layer) {
    return AddBytes(design, Type_Plane,
                    Polygon(layer, {{0, 0}, {199000, 0}, {199000, 119000}, {0, 119000}}));
  }
  std::unique_ptr<geomtest::Plane> plane;
};

TEST_F(DisplayPaint, PlaneShowsAVoidOfWidthPlusClearanceWithTheTrackOverIt) {
  SetClearance(Layer_Top, 6000);
  Put(AddPlane(Layer_Top));
  Put(Add(design, Type_Track, Track(Layer_Top, 40000, 60000, 160000, 60000, 3000)));
  RenderDisplayList(nullptr, List(), 0);
  EXPECT_EQ(At(100000, 60000), kTopBit);   // the track
  EXPECT_EQ(At(100000, 66000), 0u);        // in the void: beyond the width, within the clearance
  EXPECT_EQ(At(100000, 54000), 0u);
  EXPECT_EQ(At(100000, 75000), kTopBit);   // the plane again
  EXPECT_EQ(At(20000, 60000), kTopBit);
  EXPECT_EQ(g_raster.rasterOp, pl3::kRasterOr);
}

TEST_F(DisplayPaint, SilkscreenCutsNoPlaneClearance) {
  Put(AddPlane(Layer_TopSilkscreen));
  Put(Add(design, Type_Track, Track(Layer_TopSilkscreen, 40000, 60000, 160000, 60000, 3000)));
  RenderDisplayList(nullptr, List(), 0);
  EXPECT_EQ(At(100000, 60000), kTopSilkBit);
  EXPECT_EQ(At(100000, 66000), kTopSilkBit);  // no void beside it
}

TEST_F(DisplayPaint, HighlightedOnlyPaintsHighlightedItemsInTheirSavedColours) {
  Put(AddPlane(Layer_Bottom));
  Tower* lit = Add(design, Type_Track, Track(Layer_Top, 40000, 30000, 160000, 30000, 3000));
  Tower* dark = Add(design, Type_Track, Track(Layer_Top, 40000, 90000, 160000, 90000, 3000));
  Put(lit);
  Put(dark);
  TowerEntity(lit)->flags |= kEntityHighlighted;
  HighlightEntityItems(List(), lit);
  // Highlighted: the current colour is the highlight.
  const DisplayItem* item = Items(DisplayList_General)[1];
  EXPECT_EQ(ItemAs<LineItem>(item)->currentColour, kHighlightColour);

  window->ViewOnlyHighlighted = 1;
  RenderDisplayList(nullptr, List(), 0);
  EXPECT_EQ(At(100000, 30000), kTopBit);  // saved colour
  EXPECT_EQ(At(100000, 90000), 0u);       // not highlighted
  EXPECT_EQ(At(20000, 60000), 0u);        // no planes

  plane->Clear();
  window->ViewOnlyHighlighted = 0;
  RenderDisplayList(nullptr, List(), 0);
  EXPECT_EQ(At(100000, 30000), kHighlightColour | kBottomBit);  // over the bottom plane

  UnhighlightNetItems(List());
  EXPECT_FALSE(TowerEntity(lit)->flags & kEntityHighlighted);
  EXPECT_EQ(ItemAs<LineItem>(item)->currentColour, kTopBit);
}

TEST_F(DisplayPaint, ViaIsFilledThenDrilled) {
  PadResistOptions = 0;  // untented: the via's land opens both solder resists
  Put(Add(design, Type_Hole, Hole(100000, 60000, 5000, 20000, kHolePlated | kHoleVia)));
  RenderDisplayList(nullptr, List(), 0);
  const std::uint32_t land = kTopBit | kInnerBit | kBottomBit | kTopResistBit | kBottomResistBit;
  EXPECT_EQ(At(100000, 60000), 0u);      // drilled
  EXPECT_EQ(At(100000, 60000 + 12000), land);
  EXPECT_EQ(At(100000, 60000 + 30000), 0u);
}

TEST_F(DisplayPaint, PartialPaintLeavesOutDrillsAndMarks) {
  Put(Add(design, Type_Hole, Hole(100000, 60000, 5000, 20000, kHolePlated | kHoleVia)));
  RenderDisplayList(nullptr, List(), 1);
  EXPECT_NE(At(100000, 60000), 0u);  // not drilled
}

TEST_F(DisplayPaint, KeepoutIsAnOutlineOrAHatchInItsColourWord) {
  Put(AddBytes(design, Type_PolygonViaKeepout,
               Polygon(Layer_Top, {{20000, 20000}, {180000, 20000}, {180000, 100000}, {20000, 100000}})));
  RenderDisplayList(nullptr, List(), 0);
  EXPECT_EQ(At(100000, 20000), 0x830000u);  // on the outline
  EXPECT_EQ(At(20000, 60000), 0x830000u);
  EXPECT_EQ(At(100000, 60000), 0u);          // inside, not filled
  const int outline = Counts()[0x830000];

  plane->Clear();
  window->PaintOptions.HatchKeepouts = 1;
  RenderDisplayList(nullptr, List(), 0);
  const auto counts = Counts();
  ASSERT_EQ(counts.size(), 1u);
  EXPECT_EQ(counts.begin()->first, 0x830000u);
  EXPECT_GT(counts.begin()->second, outline);  // the cross hatch fills the inside
}

TEST_F(DisplayPaint, DatumArrowsPointLeftAndDownForUpperRight) {
  window->Zoom = 131072;  // S is the text size in pixels
  DatumItem d{};
  d.head.kind = Type_Datum;
  d.textSize = 24;
  d.x = 100 * 131072;
  d.y = 60 * 131072;
  auto lit = [&](bool upperRight) {
    plane->Clear();
    d.upperRight = upperRight ? 1 : 0;
    PaintDatumItem(&d.head);
    int above = 0, below = 0, left = 0, right = 0;
    for (int y = 0; y < plane->height; ++y)
      for (int x = 0; x < plane->width; ++x) {
        if (plane->At(x, y) != 0x820000u) continue;
        above += y < 50;
        below += y > 70;
        left += x < 90;
        right += x > 110;
      }
    return std::array<int, 4>{above, below, left, right};
  };
  const auto normal = lit(false);
  EXPECT_GT(normal[0], 10);
  EXPECT_GT(normal[3], 10);
  EXPECT_EQ(normal[1], 0);
  EXPECT_EQ(normal[2], 0);
  const auto flipped = lit(true);
  EXPECT_GT(flipped[1], 10);
  EXPECT_GT(flipped[2], 10);
  EXPECT_EQ(flipped[0], 0);
  EXPECT_EQ(flipped[3], 0);
}

// A pin label item over a pad 160 x 80 pixels at the plane's centre.
PinLabelItem* NewLabel(const char* net) {
  auto* item = static_cast<PinLabelItem*>(std::calloc(1, sizeof(PinLabelItem)));
  item->head.kind = Type_PadStackInstanceInfo;
  item->head.box = {20000, 20000, 180000, 100000};
  item->origin = {100000, 60000};
  item->side = 4;
  item->netName = static_cast<char*>(std::malloc(std::strlen(net) + 1));
  std::strcpy(item->netName, net);
  return item;
}

class PinLabels : public DisplayPaint {
 protected:
  int LabelPixels() {
    int n = 0;
    for (int y = 0; y < plane->height; ++y)
      for (int x = 0; x < plane->width; ++x) n += plane->At(x, y) == kHighlightColour;
    return n;
  }
  void Label(const char* net) { *NewDisplayNode(List(), Type_PadStackInstanceInfo) = &NewLabel(net)->head; }
};

TEST_F(PinLabels, ShownOnlyUpToTheZoomOfTheIndex) {
  Label("GND");
  window->PaintOptions.PinLabelOptions = 1;
  window->PaintOptions.PinLabelZoomIndex = 0;
  window->Zoom = 2000;  // coarser than 1000: no labels
  RenderDisplayList(nullptr, List(), 0);
  EXPECT_EQ(LabelPixels(), 0);
  window->PaintOptions.PinLabelZoomIndex = 1;  // up to 2000
  RenderDisplayList(nullptr, List(), 0);
  EXPECT_GT(LabelPixels(), 0);
  plane->Clear();
  RenderDisplayList(nullptr, List(), 1);  // a partial paint shows none
  EXPECT_EQ(LabelPixels(), 0);
}

TEST_F(PinLabels, NetNamesBeginningN0AreHiddenWithBitTwo) {
  Label("N012");
  window->PaintOptions.PinLabelOptions = 1;
  RenderDisplayList(nullptr, List(), 0);
  EXPECT_GT(LabelPixels(), 0);
  plane->Clear();
  window->PaintOptions.PinLabelOptions = 1 | 4;
  RenderDisplayList(nullptr, List(), 0);
  EXPECT_EQ(LabelPixels(), 0);
}

TEST_F(PinLabels, LabelThatDoesNotFitItsPadIsNotDrawn) {
  Label("GND");
  window->PaintOptions.PinLabelOptions = 1;
  window->PaintOptions.LabelMargin = 70;  // twice the margin alone exceeds the pad's 160 pixels
  RenderDisplayList(nullptr, List(), 0);
  EXPECT_EQ(LabelPixels(), 0);
  EXPECT_TRUE(Counts().empty());  // not even its box
}

// ---- Picking -------------------------------------------------------------------------------------------------

TEST_F(DisplayPaint, HorizontalPickListsAnEntityOnceWhateverItsItems) {
  SpiralPayload s{};
  s.head.layer = Layer_Top;
  s.head.transform = pl3::kIdentityTransform;
  s.width = 1000;
  s.centre = {100000, 60000};
  s.start = {90000, 60000};
  s.end = {130000, 60001};
  s.pitch = 8000;
  Tower* spiral = Add(design, Type_Spiral, s);
  Put(spiral);
  Put(Add(design, Type_Track, Track(Layer_Top, 20000, 20000, 60000, 20000, 2000)));
  ASSERT_GT(Items(DisplayList_General).size(), 3u);
  pl3::BeginAreaPick({0, 0, 199, 119});
  g_raster.spanTarget = pl3::kTargetAreaPick;
  PaintDisplayList(nullptr, List());
  g_raster.spanTarget = pl3::kTargetPlane;
  EXPECT_EQ(pl3::CountListNodes(pl3::PickList()), 2u);
  bool sawSpiral = false;
  for (const pl3::PickListNode* n = pl3::PickList(); n; n = n->next) {
    sawSpiral = sawSpiral || TowerEntity(n->entity) == TowerEntity(spiral);
    EXPECT_NE(n->context[0], nullptr);  // the item
    EXPECT_NE(n->context[2], nullptr);  // its node
  }
  EXPECT_TRUE(sawSpiral);
  pl3::FreePickList();
}

TEST_F(DisplayPaint, StaleItemIsRebuiltOnceAfterThePaint) {
  Tower* gone = Add(design, Type_Track, Track(Layer_Top, 20000, 20000, 60000, 20000, 2000));
  Tower* kept = Add(design, Type_Track, Track(Layer_Top, 20000, 80000, 60000, 80000, 2000));
  Put(gone);
  Put(kept);
  DeleteEntity(gone);  // deleted without taking it off the list
  pl3::ClearResponderRecords();
  pl3::BeginAreaPick({0, 0, 199, 119});
  g_raster.spanTarget = pl3::kTargetAreaPick;
  PaintDisplayList(nullptr, List());
  g_raster.spanTarget = pl3::kTargetPlane;
  const auto& boxes = pl3::ResponderRecords();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Bug!");
  EXPECT_EQ(boxes[0].flags & MB_ICONEXCLAMATION, MB_ICONEXCLAMATION);
  // The window's list was replaced by one built from the design.
  EXPECT_EQ(Items(DisplayList_General).size(), 1u);
  ASSERT_EQ(pl3::CountListNodes(pl3::PickList()), 1u);
  EXPECT_EQ(pl3::PickList()->context[0], nullptr);  // names no item of the old list
  pl3::FreePickList();
}

TEST_F(DisplayPaint, RecolourTakesTheLayersColoursAgain) {
  Put(Add(design, Type_Track, Track(Layer_Top, 20000, 20000, 60000, 20000, 2000)));
  Put(Add(design, Type_Hole, Hole(100000, 60000, 5000, 20000, kHolePlated)));
  window->layerTable.layers[Layer_Top].planeBit = 0x100;
  window->layerTable.layers[Layer_TopSolderResist].flags &= ~kLayerVisible;
  RecolourDisplayList(List());
  EXPECT_EQ(ItemAs<LineItem>(Items(DisplayList_General)[0])->savedColour, 0x100u);
  const HoleItem& h = *ItemAs<HoleItem>(Items(DisplayList_Holes)[0]);
  EXPECT_EQ(h.currentColourA, 0x100u | kInnerBit | kBottomBit | kBottomResistBit);
  EXPECT_EQ(h.groups[0].colourBits, 0x100u | kInnerBit | kBottomBit);
}

TEST_F(DisplayPaint, BoardImageCutsHolesWithTheDrillValue) {
  SetClearance(Layer_Top, 6000);
  Put(AddPlane(Layer_Top));
  Put(Add(design, Type_Hole, Hole(100000, 60000, 5000, 20000, kHolePlated)));
  RenderBoardImage(nullptr, List());
  EXPECT_EQ(At(100000, 60000), 0xFF000000u);       // the drill, over the void the hole cut
  EXPECT_EQ(At(100000, 60000 + 10000), 0u);        // the plane's clearance around the hole
  EXPECT_EQ(At(20000, 20000), kTopBit);
}

TEST_F(DisplayPaint, PlaneCuttingFillsOnlyTheNetsPlanesAndCutsThemLayerByLayer) {
  SetClearance(Layer_Top, 6000);
  auto plane7 = Polygon(Layer_Top, {{0, 0}, {99000, 0}, {99000, 119000}, {0, 119000}});
  auto plane8 = Polygon(Layer_Bottom, {{100000, 0}, {199000, 0}, {199000, 119000}, {100000, 119000}});
  reinterpret_cast<pl3::PolygonLayout*>(plane7.data())->head.netIds[0] = 7;
  reinterpret_cast<pl3::PolygonLayout*>(plane8.data())->head.netIds[0] = 8;
  Put(AddBytes(design, Type_Plane, plane7));
  Put(AddBytes(design, Type_Plane, plane8));
  Put(Add(design, Type_Track, Track(Layer_Top, 20000, 60000, 80000, 60000, 3000)));
  RenderPlaneClearances(nullptr, List(), 7);
  EXPECT_EQ(PlaneCutStage, 0);
  EXPECT_EQ(At(50000, 20000), kTopBit);   // net 7's plane
  EXPECT_EQ(At(150000, 20000), 0u);       // net 8's plane is not filled
  EXPECT_EQ(At(50000, 60000), 0u);        // the track is cut out of it
  EXPECT_EQ(At(50000, 60000 + 20000), kTopBit);
}

TEST_F(DisplayPaint, ViaLookUpSeesTheListsVias) {
  Put(Add(design, Type_Hole, Hole(100000, 60000, 5000, 20000, kHolePlated | kHoleVia)));
  DeleteChildEntities(design, Type_Hole);  // only the list still has it
  EXPECT_EQ(ViaExistsAt(100000, 60000), 1);
  EXPECT_EQ(ViaExistsAt(100000, 60001), 0);
}

TEST_F(DisplayPaint, BoxesOverlapCountsTouchingEdges) {
  const pl3::Box a{10, 10, 20, 20};
  const pl3::Box touching{20, 20, 30, 30}, apart{21, 10, 30, 20};
  EXPECT_EQ(BoxesOverlap(&a, &touching), 1);
  EXPECT_EQ(BoxesOverlap(&a, &apart), 0);
  EXPECT_EQ(BoxesOverlap(&a, nullptr), 1);
}

}  // namespace
