#include "edit/picking.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "draw/raster_callbacks.h"
#include "edit/engine_seams.h"
#include "edit/object_select.h"
#include "edit/pick_action_seams.h"
#include "edit/pick_hits.h"
#include "edit/picked_delete.h"
#include "edit/selection_engine_seams.h"
#include "edit/selection_filter_dialog.h"
#include "geometry/view_mapping.h"
#include "objects/designators.h"
#include "objects/frame_seams.h"
#include "objects/graphic_records.h"
#include "platform/dialog_hooks.h"
#include "platform/menus.h"
#include "platform/user.h"
#include "tests/draw/display_fixture.h"
#include "tests/geometry/raster_fixture.h"
#include "tests/support/test_windows.h"

// ---- What a pick hands its object to, recorded -------------------------------------------------------

namespace {

struct Handed {
  std::string what;
  const Entity* item;
  int flag;
  std::uint32_t optionWord = 0;  // the program's selection option word and count at the call
  std::uint32_t count = 0;
};
std::vector<Handed> gHanded;
int gSelectAnswer = 1;
int gPickDesignators = 0;

}  // namespace

int SelectObject(const Tower* item, std::uint8_t add) {
  gHanded.push_back({"select", TowerEntity(item), add, SelectionOptionWord, SelectionCount});
  return gSelectAnswer;
}
void CopyPickedItem(HWND, const Tower* item) { gHanded.push_back({"copy", TowerEntity(item), 0}); }
void CopyPickedItemStep(HWND, const Tower* item, int increment) {
  gHanded.push_back({"copy step", TowerEntity(item), increment});
}
void DeletePickedObject(const Tower* item) { gHanded.push_back({"delete", TowerEntity(item), 0}); }
int PickDesignatorsOfFixedSymbols() { return gPickDesignators; }

namespace {

using namespace displaytest;

constexpr std::int32_t kZoom = 1000;  // world units per pixel
constexpr std::uint16_t kFixed = 0x1000;

// A PCB window 200 x 120 pixels at 1000 world units per pixel, its display
// list painted for the pick.
class Picking : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    gHanded.clear();
    gSelectAnswer = 1;
    gPickDesignators = 0;
    window->Zoom = kZoom;
    std::strcpy(window->layerTable.layers[Layer_Top].name, "Top Copper");
    plane = std::make_unique<geomtest::Plane>(200, 120);
    UpdateViewGlobals();
    owner = MakeTestParentWindow("PickingOwner");
    window->Window = owner;
  }
  void TearDown() override {
    pl3::ClearMenuHook();
    pl3::ClearDialogHooks();
    DestroyWindow(owner);
    pl3::g_raster.view = nullptr;
    plane.reset();
    DisplayTest::TearDown();
  }
  Tower* PutTrack(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    Tower* t = Add(design, Type_Track, Track(Layer_Top, x1, y1, x2, y2, 2000));
    Put(t);
    return t;
  }
  Tower* PutPlane(bool fixed) {
    Tower* p = AddBytes(design, Type_Plane, Polygon(Layer_Top, {{10000, 10000}, {60000, 10000}, {60000, 60000},
                                                                {10000, 60000}}));
    if (fixed) TowerEntity(p)->flags |= kFixed;
    Put(p);
    return p;
  }
  // Clicks at the world point.
  int Click(std::int32_t x, std::int32_t y, int purpose) {
    ButtonRecord b{};
    b.MousePixel = {x / kZoom, y / kZoom};
    return PickObjectAtCursor(owner, &b, purpose);
  }
  // Chooses line `index` of the next choice menu, keeping its texts and ids.
  void ChooseLine(UINT index) {
    pl3::SetMenuHook([this, index](HMENU menu, HWND shownOwner) {
      shown.clear();
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[80]{};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        shown.push_back(std::to_string(GetMenuItemID(menu, i)) + " " + text);
      }
      RECT r{};
      ASSERT_TRUE(GetMenuItemRect(shownOwner, menu, index, &r));
      const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      pl3::InjectMouseMove(p);
      pl3::InjectMouseButton(pl3::MouseButton::Left, true, p);
      pl3::InjectMouseButton(pl3::MouseButton::Left, false, p);
    });
  }

  std::unique_ptr<geomtest::Plane> plane;
  HWND owner = nullptr;
  std::vector<std::string> shown;
};

TEST_F(Picking, CrossingTracksOfferAChoiceMenuAndTheChosenOneIsSelected) {
  Tower* across = PutTrack(20000, 50000, 150000, 50000);
  Tower* down = PutTrack(80000, 10000, 80000, 100000);
  ChooseLine(1);
  EXPECT_EQ(Click(80000, 50000, kPickSelect), 1);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "2050 Track - Top Copper");
  EXPECT_EQ(shown[1], "2051 Track - Top Copper");
  ASSERT_EQ(gHanded.size(), 1u);
  EXPECT_EQ(gHanded[0].what, "select");
  EXPECT_EQ(gHanded[0].flag, 0);  // nothing was selected before
  ChooseLine(0);
  Click(80000, 50000, kPickSelect);
  ASSERT_EQ(gHanded.size(), 2u);
  // Each line stands for its own track.
  EXPECT_NE(gHanded[0].item, gHanded[1].item);
  for (const Handed& h : gHanded) EXPECT_TRUE(h.item == TowerEntity(across) || h.item == TowerEntity(down));
  EXPECT_EQ(window->StateFlags & kStatePickPurposes, 0u);
  EXPECT_EQ(CurrentHitList, nullptr);
}

TEST_F(Picking, ConnectedTracksAreOfferedOnceToASelectButBothToADelete) {
  PutTrack(20000, 50000, 80000, 50000);
  PutTrack(80000, 50000, 150000, 50000);  // shares the end under the click
  EXPECT_EQ(Click(80000, 50000, kPickSelect), 1);  // one run: selected at once, no menu
  ASSERT_EQ(gHanded.size(), 1u);
  EXPECT_EQ(gHanded[0].what, "select");

  gHanded.clear();
  ChooseLine(0);
  Click(80000, 50000, kPickDelete);
  EXPECT_EQ(shown.size(), 2u);
  ASSERT_EQ(gHanded.size(), 1u);
  EXPECT_EQ(gHanded[0].what, "delete");
}

TEST_F(Picking, TheMenuPurposeDecidesWhatTheChosenLineDoes) {
  Tower* across = PutTrack(20000, 50000, 150000, 50000);
  PutTrack(80000, 10000, 80000, 100000);
  const struct {
    int purpose;
    const char* what;
  } cases[] = {{kPickDelete, "delete"}, {kPickCopy, "copy"}, {kPickSelectAlso, "select"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    gHanded.clear();
    ChooseLine(0);
    Click(80000, 50000, c.purpose);
    ASSERT_EQ(gHanded.size(), 1u);
    EXPECT_EQ(gHanded[0].what, c.what);
    EXPECT_EQ(window->StateFlags & kStatePickPurposes, 0u);
  }
  (void)across;
}

TEST_F(Picking, OneHitIsActedOnWithoutAMenu) {
  Tower* track = PutTrack(20000, 50000, 150000, 50000);
  pl3::SetMenuHook([](HMENU, HWND) { ADD_FAILURE() << "no menu for one hit"; });
  Click(60000, 50000, kPickDelete);
  ASSERT_EQ(gHanded.size(), 1u);
  EXPECT_EQ(gHanded[0].what, "delete");
  EXPECT_EQ(gHanded[0].item, TowerEntity(track));
}

TEST_F(Picking, AFoundMarkLeftOnAnObjectDoesNotHideItFromTheClick) {
  PutTrack(20000, 50000, 150000, 50000);
  Tower* marked = PutTrack(80000, 10000, 80000, 100000);
  TowerEntity(marked)->flags |= pl3::kEntityPicked;  // as a design may be stored
  ChooseLine(1);
  EXPECT_EQ(Click(80000, 50000, kPickSelect), 1);
  EXPECT_EQ(shown.size(), 2u) << "both tracks offered";
  ChooseLine(0);
  Click(80000, 50000, kPickSelect);
  ASSERT_EQ(gHanded.size(), 2u);
  EXPECT_TRUE(gHanded[0].item == TowerEntity(marked) || gHanded[1].item == TowerEntity(marked));
  EXPECT_EQ(TowerEntity(marked)->flags & pl3::kEntityPicked, 0);
}

TEST_F(Picking, AFixedPlaneIsNotOfferedAndTheNearestSearchRefusesIt) {
  PutPlane(true);
  pl3::SetMenuHook([](HMENU, HWND) { ADD_FAILURE() << "nothing to choose"; });
  EXPECT_EQ(Click(30000, 30000, kPickSelect), 0);
  EXPECT_TRUE(gHanded.empty());
}

TEST_F(Picking, AnUnfixedPlaneIsSelected) {
  Tower* p = PutPlane(false);
  EXPECT_EQ(Click(30000, 30000, kPickSelect), 1);
  ASSERT_EQ(gHanded.size(), 1u);
  EXPECT_EQ(gHanded[0].item, TowerEntity(p));
}

TEST_F(Picking, AClickNextToATrackFindsItByTheApertureButADeleteDoesNot) {
  PickDistance = 40;
  Tower* track = PutTrack(20000, 50000, 150000, 50000);
  EXPECT_EQ(Click(60000, 60000, kPickSelect), 1);  // ten pixels off: outside the click's square
  ASSERT_EQ(gHanded.size(), 1u);
  EXPECT_EQ(gHanded[0].item, TowerEntity(track));
  gHanded.clear();
  Click(60000, 60000, kPickDelete);
  EXPECT_TRUE(gHanded.empty());
}

// ---- What each purpose offers ----------------------------------------------------------------------

class PickOffers : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    gPickDesignators = 0;
  }
  void TearDown() override {
    hits = FreeHitList(hits);
    DisplayTest::TearDown();
  }
  Tower* Locator(const Tower* parent, std::uint16_t kind) {
    LocatorPayload p{};
    p.kind = kind;
    return Add(parent, Type_AttributeLocator, p);
  }
  // A placed symbol with one shown designator copy.
  Tower* Symbol(bool fixed, bool hidden) {
    std::uint8_t bytes[16]{};
    Tower* symbol = Add(design, Type_SymbolInstance, bytes);
    if (fixed) TowerEntity(symbol)->flags |= kFixed;
    Tower* group = Own(InsertEntity(symbol, 4, Type_Designator, bytes));
    designator = Own(InsertEntity(group, 4, Type_DesignatorData, bytes));
    DesignatorInfo info{};
    info.display = hidden ? kDesignatorHidden : 0;
    Add(designator, Type_DesignatorInfo, info);
    return symbol;
  }
  std::vector<const Entity*> Offer(HitEntry* (*offer)(HitEntry*, int*), std::vector<const Tower*> items) {
    HitEntry* list = nullptr;
    for (const Tower* t : items) list = AppendHit(list, t);
    int count = -1;
    hits = FreeHitList(hits);
    hits = offer(list, &count);
    std::vector<const Entity*> out;
    for (const HitEntry* h = hits; h; h = h->next) out.push_back(TowerEntity(h->item));
    EXPECT_EQ(count, static_cast<int>(out.size()));
    return out;
  }
  HitEntry* hits = nullptr;
  Tower* designator = nullptr;
};

TEST_F(PickOffers, AFixedSymbolIsOfferedThroughItsShownDesignatorOnlyWhenTheOptionIsOn) {
  Tower* fixed = Symbol(true, false);
  Tower* shownDesignator = designator;
  Tower* hiddenFixed = Symbol(true, true);
  Tower* loose = Symbol(false, false);
  EXPECT_EQ(Offer(&CountSelectableHits, {fixed, hiddenFixed, loose}), std::vector<const Entity*>{TowerEntity(loose)});
  gPickDesignators = 1;
  EXPECT_EQ(Offer(&CountSelectableHits, {fixed, hiddenFixed, loose}),
            (std::vector<const Entity*>{TowerEntity(shownDesignator), TowerEntity(loose)}));
}

TEST_F(PickOffers, APinLocatorStandsForItsSchematicSymbolOnce) {
  std::uint8_t bytes[16]{};
  Tower* symbol = Add(design, 30, bytes);
  Tower* pinName = Locator(symbol, 4);
  Tower* pinNumber = Locator(symbol, 1);
  Tower* value = Locator(symbol, 10);
  EXPECT_EQ(Offer(&CountSelectableHits, {pinName, pinNumber, value}),
            (std::vector<const Entity*>{TowerEntity(symbol), TowerEntity(value)}));
}

TEST_F(PickOffers, AnEditPickLeavesOutWhatCannotBeCopied) {
  std::uint8_t bytes[96]{};
  Tower* datum = Add(design, Type_Datum, bytes);
  Tower* centroid = Add(design, Type_Centroid, bytes);
  Tower* pin = Add(design, Type_SymbolPin, bytes);
  Tower* pl2 = Add(design, 163, bytes);
  Tower* symbol = Symbol(false, false);
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 0, 0, 10, 10, 1));
  EXPECT_EQ(Offer(&CountEditableHits, {datum, centroid, pin, pl2, symbol, track}),
            std::vector<const Entity*>{TowerEntity(track)});
  // A select pick offers them all.
  EXPECT_EQ(Offer(&CountSelectableHits, {datum, centroid, pin, pl2, symbol, track}).size(), 6u);
}

TEST_F(PickOffers, ACopyWithAStepOffersNetLocatorsOnly) {
  Tower* net = Locator(design, 3);
  Tower* graphical = Locator(design, 13);
  Tower* port = Locator(design, 15);
  Tower* value = Locator(design, 10);
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 0, 0, 10, 10, 1));
  EXPECT_EQ(Offer(&CountNetLocatorHits, {net, value, graphical, track, port}),
            (std::vector<const Entity*>{TowerEntity(net), TowerEntity(graphical), TowerEntity(port)}));
}

// ---- Rectangle selection ---------------------------------------------------------------------------

TEST_F(Picking, ARectangleSelectsWhatItHoldsButAFixedPlane) {
  PutPlane(true);
  Tower* track = PutTrack(20000, 30000, 40000, 30000);
  PutTrack(150000, 100000, 180000, 100000);  // outside
  const RECT r{70, 70, 5, 5};                 // corners in any order
  EXPECT_EQ(SelectItemsInRectangle(&r), 1);
  ASSERT_EQ(gHanded.size(), 1u);
  EXPECT_EQ(gHanded[0].item, TowerEntity(track));
  EXPECT_EQ(gHanded[0].flag, 1);  // added to the selection
}

TEST_F(Picking, CtrlRectangleTakesOnlyTheKindsAndLayersTheDialogChose) {
  Tower* via = Add(design, Type_Hole, Hole(30000, 30000, 4000, 8000, kHoleIsVia | kHolePlated));
  Put(via);
  Put(Add(design, Type_Hole, Hole(50000, 30000, 4000, 8000, kHolePlated)));
  PutTrack(20000, 50000, 60000, 50000);
  pl3::SetDialogHook(kChooseItemsDialog, [](HWND dialog) {
    ASSERT_TRUE(pl3::ClickDialogButton(dialog, kChooseItemsFirstKind + 8));  // "Vias"
    ASSERT_TRUE(pl3::ClickDialogButton(dialog, IDOK));
  });
  SetFocus(owner);
  pl3::InjectKey(VK_CONTROL, true);
  pl3::PumpMessages();
  const RECT r{5, 5, 70, 70};
  EXPECT_EQ(SelectItemsInRectangle(&r), 1);
  ASSERT_EQ(gHanded.size(), 1u);
  EXPECT_EQ(gHanded[0].item, TowerEntity(via));
  EXPECT_TRUE(CurrentSelectionFilter.types.empty());  // the filter goes after the selection

  gHanded.clear();
  pl3::SetDialogHook(kChooseItemsDialog, [](HWND dialog) { pl3::ClickDialogButton(dialog, IDCANCEL); });
  EXPECT_EQ(SelectItemsInRectangle(&r), 0);
  EXPECT_TRUE(gHanded.empty());
  pl3::InjectKey(VK_CONTROL, false);
  pl3::PumpMessages();
}

TEST_F(Picking, TheDialogsLayerLinesChooseTheLayersOfTheFilter) {
  Tower* top = PutTrack(20000, 30000, 60000, 30000);
  Tower* bottom = Add(design, Type_Track, Track(Layer_Bottom, 20000, 50000, 60000, 50000, 2000));
  Put(bottom);
  // The list holds the used and shown layers in order: find the bottom layer's line.
  int bottomLine = 0;
  for (unsigned layer = 0; layer < Layer_Bottom; ++layer)
    bottomLine += (window->layerTable.layers[layer].flags & (kLayerPresent | kLayerVisible)) ==
                  (kLayerPresent | kLayerVisible);
  pl3::SetDialogHook(kChooseItemsDialog, [bottomLine](HWND dialog) {
    ASSERT_TRUE(pl3::ClickDialogButton(dialog, 1201));  // every kind
    ASSERT_TRUE(pl3::ClickDialogButton(dialog, 1205));  // no layer
    ASSERT_TRUE(pl3::DoubleClickDialogListItem(dialog, kChooseItemsLayerList, bottomLine));
    ASSERT_TRUE(pl3::ClickDialogButton(dialog, IDOK));
  });
  SetFocus(owner);
  pl3::InjectKey(VK_CONTROL, true);
  pl3::PumpMessages();
  const RECT r{5, 5, 70, 70};
  EXPECT_EQ(SelectItemsInRectangle(&r), 1);
  pl3::InjectKey(VK_CONTROL, false);
  pl3::PumpMessages();
  ASSERT_EQ(gHanded.size(), 1u);
  EXPECT_EQ(gHanded[0].item, TowerEntity(bottom));
  (void)top;
}

// ---- The Select click ---------------------------------------------------------------------------------

TEST_F(Picking, TheSelectClickTakesTheRectangleUnderTheOptionBitAndTheCursorItemWithout) {
  Tower* track = PutTrack(20000, 30000, 40000, 30000);
  SelectionOptionWord = 0x4;
  SelectionCount = 9;
  window->DragFlags = kDragActive;
  window->DragStart = {5000, 5000};
  window->DragCurrent = {70000, 70000};
  DoSelect(owner, nullptr, nullptr);
  ASSERT_EQ(gHanded.size(), 1u);
  EXPECT_EQ(gHanded[0].item, TowerEntity(track));
  EXPECT_EQ(gHanded[0].optionWord, 0x5u) << "bit 0 set while the rectangle selects";
  EXPECT_EQ(gHanded[0].count, 0u) << "the count cleared before";
  EXPECT_EQ(SelectionOptionWord, 0x4u) << "bit 0 cleared again, the other bits kept";
  EXPECT_EQ(window->ClickState, 1);

  // A drag inside the tolerance is a click: the item at the cursor, the word left alone.
  gHanded.clear();
  SelectionCount = 9;
  window->DragCurrent = {10000, 10000};
  window->Button.MousePixel = {30, 30};
  DoSelect(owner, nullptr, nullptr);
  ASSERT_EQ(gHanded.size(), 1u);
  EXPECT_EQ(gHanded[0].item, TowerEntity(track));
  EXPECT_EQ(gHanded[0].optionWord, 0x4u);
  EXPECT_EQ(SelectionCount, 9u);
  SelectionOptionWord = 0;
  SelectionCount = 0;
}

TEST_F(Picking, TheSelectClickAnnouncesTheChangeOnlyWhenThePickTookSomething) {
  PutTrack(20000, 30000, 40000, 30000);
  // The selection is empty after either pick (the fake select keeps none):
  // a pick that took the item, say deselecting the only selected one, ends
  // Edit Selection; a pick that took nothing leaves the mode alone.
  for (const int answer : {0, 1}) {
    SCOPED_TRACE(answer);
    gSelectAnswer = answer;
    window->EditMode = 39;
    window->Button.MousePixel = {30, 30};
    DoSelect(owner, nullptr, nullptr);
    ASSERT_EQ(gHanded.size(), 1u);
    EXPECT_EQ(window->EditMode, answer ? 0 : 39);
    gHanded.clear();
  }
}

TEST_F(Picking, ARectangleInEditSelectionShowsTheBlockOriginMarkerAgain) {
  PutTrack(20000, 30000, 40000, 30000);
  ShowWindow(owner, SW_SHOW);  // a hidden window has nothing to draw on
  HDC dc = GetDC(owner);
  // White pixels round the block origin at pixel (90, 80), on the window itself.
  auto markerPixels = [&] {
    int n = 0;
    for (int y = 50; y < 110; ++y)
      for (int x = 60; x < 120; ++x) n += GetPixel(dc, x, y) == RGB(255, 255, 255);
    return n;
  };
  for (const std::uint8_t mode : {std::uint8_t{0}, std::uint8_t{39}, std::uint8_t{45}}) {
    // The window is painted black first, so that only a marker drawn now shows.
    RECT all{0, 0, 200, 120};
    FillRect(dc, &all, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    window->EditMode = mode;
    window->BlockOrigin = {90000, 80000};
    window->DragFlags = kDragActive;
    window->DragStart = {5000, 5000};
    window->DragCurrent = {70000, 70000};
    DoSelect(owner, nullptr, nullptr);
    if (mode == 39) EXPECT_GT(markerPixels(), 20) << "mode 39 draws the marker";
    else EXPECT_EQ(markerPixels(), 0) << "mode " << int(mode);
    std::free(window->OriginalBlockOrigin);
    window->OriginalBlockOrigin = nullptr;
  }
  ReleaseDC(owner, dc);
}

}  // namespace
