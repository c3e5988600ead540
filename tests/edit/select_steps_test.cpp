// The per-kind select steps: what the first pick of a selection makes
// current (the layer to route on and the type to insert), and what later
// picks leave alone.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "edit/object_select.h"
#include "edit/selection.h"
#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/group_texts.h"
#include "objects/type_codes.h"
#include "store/tower.h"
#include "tests/edit/selection_window_fixture.h"

namespace {

constexpr std::int32_t kBase = 200000000;
constexpr std::uint8_t kUntouchedLayer = 7;

class SelectSteps : public selectiontest::SelectionWindow {
 protected:
  void SetUp() override {
    SelectionWindow::SetUp();
    w->Zoom = 1000;
    w->EditMode = 39;  // no first-pick snapping of the cursor
    w->RoutingLayer = kUntouchedLayer;
    w->InsertType = 0;
  }
  Tower* Track(std::uint8_t layer, std::int32_t y) {
    LinePayload line{};
    line.head.layer = layer;
    line.head.transform = pl3::kIdentityTransform;
    line.x1 = kBase;
    line.y1 = kBase + y;
    line.x2 = kBase + 400000;
    line.y2 = kBase + y;
    return Own(InsertEntity(design, sizeof line, Type_Track, &line));
  }
  Tower* Datum(std::uint8_t layer) {
    std::uint8_t bytes[DatumStoredSize(0)]{};
    DatumPayload d{};
    d.head.layer = layer;
    d.head.transform = pl3::kIdentityTransform;
    d.x = kBase;
    d.y = kBase + 900000;
    std::memcpy(bytes, &d, offsetof(DatumPayload, name));
    return Own(InsertEntity(design, sizeof bytes, Type_Datum, bytes));
  }
  // An earlier-generation symbol whose link record flags it mirrored or not.
  Tower* Pl2Symbol(bool mirrored) {
    Tower* symbol = Own(InsertEmptyEntity(design, kTypeTextGroup));
    std::uint8_t link[kTextGroupLinkFlagsOffset + 4]{};
    link[kTextGroupLinkFlagsOffset] = mirrored ? kTextGroupMirrored : 0;
    Tower* t = InsertEntity(symbol, sizeof link, kTypeTextGroupLink, link);
    ReleaseTower(&t);
    return symbol;
  }
};

TEST_F(SelectSteps, TheFirstGraphicSetsLayerAndTypeADatumAlwaysSetsOnlyTheType) {
  struct Case {
    const char* what;
    bool trackFirst;       // a track on layer 3 is selected before the item
    bool datum;            // the item is a datum on layer 5, else a track on layer 4
    std::uint8_t layer;    // RoutingLayer after
    std::uint16_t type;    // InsertType after (cleared after the first track)
  };
  for (const Case c : {Case{"a track first", false, false, 4, Type_Track},
                       Case{"a datum first", false, true, kUntouchedLayer, Type_Datum},
                       Case{"a datum after a track", true, true, 3, Type_Datum},
                       Case{"a track after a track", true, false, 3, 0}}) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    if (c.trackFirst) {
      ASSERT_EQ(SelectGraphic(Track(3, 0), 0), 1);
      ASSERT_EQ(w->RoutingLayer, 3);
      w->InsertType = 0;
    }
    Tower* item = c.datum ? Datum(5) : Track(4, 500000);
    ASSERT_EQ(SelectGraphic(item, 0), 1);
    EXPECT_EQ(w->RoutingLayer, c.layer);
    EXPECT_EQ(w->InsertType, c.type);
    EXPECT_TRUE(TowerEntity(item)->flags & kEntitySelected);
    ASSERT_NE(w->SelectionList, nullptr);
    EXPECT_EQ(TowerEntity(w->SelectionList->original), TowerEntity(item)) << "the newest record heads the list";
    EXPECT_TRUE(w->SelectionList->flags & kSelectionPrimary);
  }
}

TEST_F(SelectSteps, AnEarlierGenerationSymbolPickedFirstTakesTheLayerOfItsSide) {
  for (const bool mirrored : {false, true}) {
    SCOPED_TRACE(mirrored);
    TearDown();
    SetUp();
    ASSERT_EQ(SelectPl2Symbol(Pl2Symbol(mirrored), 1), 1);
    EXPECT_EQ(w->RoutingLayer, mirrored ? w->BottomLayer : w->TopLayer);
    EXPECT_EQ(w->InsertType, kTypeTextGroup);
    EXPECT_EQ(w->SelectionList->grabbedPart, kGrabBothEnds) << "positive flags hold it whole by both ends";
    // A second one, on the other side, changes nothing.
    ASSERT_EQ(SelectPl2Symbol(Pl2Symbol(!mirrored), 1), 1);
    EXPECT_EQ(w->RoutingLayer, mirrored ? w->BottomLayer : w->TopLayer);
  }
}

}  // namespace
