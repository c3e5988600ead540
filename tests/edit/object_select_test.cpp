#include "edit/object_select.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "draw/grids.h"
#include "edit/clipboard_seams.h"
#include "edit/object_select_seams.h"
#include "edit/picking.h"
#include "edit/engine_seams.h"
#include "objects/placed_item_records.h"
#include "objects/pad_names.h"
#include "objects/size_table.h"
#include "edit/selection.h"
#include "edit/window_data.h"
#include "geometry/view_mapping.h"
#include "objects/engine_item_seams.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/placed_item_records.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"
#include "store/tower_queries.h"
#include "tests/edit/engine_fakes.h"
#include "tests/edit/selection_window_fixture.h"
#include "tests/store/tower_test_support.h"

namespace {

int gPadLabelAnswer = 0;
std::vector<std::string> gSchematicSelects;

}  // namespace

int SelectSchematicSymbol(const Tower* symbol, int flags) {
  gSchematicSelects.push_back("select " + std::to_string(flags));
  return SelectItemAsSymbol(symbol, flags);
}
int CheckPadLabelOnSelect(const Tower*) { return gPadLabelAnswer; }
int AutomaticPadNamingOn() { return 0; }

namespace {

constexpr std::int32_t kBase = 200000000;

// An active PCB window over a design with a view, and items stored in it.
class ObjectSelect : public selectiontest::SelectionWindow {
 protected:
  void SetUp() override {
    SelectionWindow::SetUp();
    w->Zoom = 1000;
    UpdateViewGlobals();
    enginefakes::calls.clear();
    pl3::ClearResponderRecords();
    gPadLabelAnswer = 0;
    gSchematicSelects.clear();
  }
  void TearDown() override {
    SelectionWindow::TearDown();
    if (symbolDesign) DeleteEntity(symbolDesign);
    ReleaseTower(&symbolDesign);
  }
  Tower* StoreTrack(pl3::Point a, pl3::Point b, std::uint8_t layer = 1, std::uint16_t code = Type_Track) {
    LinePayload line{};
    line.head.layer = layer;
    line.head.transform = pl3::kIdentityTransform;
    line.x1 = a.x;
    line.y1 = a.y;
    line.x2 = b.x;
    line.y2 = b.y;
    return Own(InsertEntity(design, sizeof line, code, &line));
  }
  // A symbol instance placed at the point, on the other side when asked.
  Tower* StoreSymbol(pl3::Point at, bool otherSide) {
    Tower* symbol = Own(InsertEmptyEntity(design, Type_SymbolInstance));
    SymbolInstanceInfo info{otherSide ? kSymbolInstanceOtherSide : 0u, 0};
    Put(symbol, Type_SymbolInstanceInfo, sizeof info, &info);
    pl3::Transform t = pl3::kIdentityTransform;
    t.tx = at.x;
    t.ty = at.y;
    Put(symbol, Type_Transform, sizeof t, &t);
    return symbol;
  }
  static void Put(const Tower* parent, std::uint16_t code, std::uint32_t size, const void* data) {
    Tower* t = InsertEntity(parent, size, code, data);
    ReleaseTower(&t);
  }
  static bool IsSelected(const Tower* t) { return (TowerEntity(t)->flags & kEntitySelected) != 0; }
  // The window edits a PCB symbol: pads are placed inside its definition.
  void EditSymbolDefinition() {
    symbolDesign = towertest::NewTopLevelEntity(Type_SymbolDefinition);
    w->editorKind = kEditorPcbSymbol;
    w->design = symbolDesign;
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const pl3::ResponderRecord& r : pl3::ResponderRecords()) out.push_back(r.caption + ": " + r.text);
    return out;
  }
  int Count() const {
    int n = 0;
    for (SelectionInfo* s = w->SelectionList; s; s = s->next) ++n;
    return n;
  }

  Tower* symbolDesign = nullptr;
};

TEST_F(ObjectSelect, AnIdleClickSelectsATrackAsPrimaryAndStartsTheBlockMove) {
  Tower* track = StoreTrack({kBase, kBase}, {kBase + 400000, kBase}, 3);
  w->Cursor = {kBase + 390000, kBase};  // near the second end
  EXPECT_EQ(SelectObject(track, 0), 1);
  ASSERT_EQ(Count(), 1);
  SelectionInfo* s = w->SelectionList;
  EXPECT_TRUE(s->flags & kSelectionPrimary);
  EXPECT_EQ(s->grabbedPart, kGrabSecondEnd);
  EXPECT_EQ(s->grabPoint.x, kBase + 400000);
  EXPECT_TRUE(IsSelected(track));
  EXPECT_EQ(w->EditMode, 39);
  EXPECT_EQ(w->RoutingLayer, 3);
  EXPECT_EQ(w->InsertType, Type_Track);
  ASSERT_NE(w->OriginalBlockOrigin, nullptr);
  EXPECT_EQ(w->OriginalBlockOrigin->x, kBase + 400000);
  // The first pick takes the cursor to the grabbed end, snapped.
  ButtonRecord expected{};
  expected.Cursor = {kBase + 400000, kBase};
  SnapDragPoint(view, &expected);
  EXPECT_EQ(w->Cursor.x, expected.Cursor.x);
  EXPECT_EQ(w->Cursor.y, expected.Cursor.y);
}

TEST_F(ObjectSelect, ClickingTheOnlySelectedItemDeselectsItAndEndsTheEdit) {
  Tower* track = StoreTrack({kBase, kBase}, {kBase + 400000, kBase});
  ASSERT_EQ(SelectObject(track, 0), 1);
  enginefakes::calls.clear();
  EXPECT_EQ(SelectObject(track, 0), 1);
  EXPECT_EQ(w->SelectionList, nullptr);
  EXPECT_FALSE(IsSelected(track));
  EXPECT_EQ(enginefakes::CallsStartingWith("tool ended").size(), 1u);
  EXPECT_EQ(enginefakes::CallsStartingWith("menus 0").size(), 1u);
  EXPECT_EQ(enginefakes::CallsStartingWith("change menu 1").size(), 1u);
}

TEST_F(ObjectSelect, DeselectingOneOfTwoKeepsTheOtherAndTheMode) {
  Tower* a = StoreTrack({kBase, kBase}, {kBase + 400000, kBase});
  Tower* b = StoreTrack({kBase, kBase + 900000}, {kBase + 400000, kBase + 900000});
  ASSERT_EQ(SelectObject(a, 0), 1);
  ASSERT_EQ(SelectObject(b, 0), 1);
  ASSERT_EQ(Count(), 2);
  enginefakes::calls.clear();
  EXPECT_EQ(SelectObject(a, 0), 1);
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(TowerEntity(w->SelectionList->original), TowerEntity(b));
  EXPECT_FALSE(IsSelected(a));
  EXPECT_EQ(w->EditMode, 39);
  EXPECT_TRUE(enginefakes::CallsStartingWith("tool ended").empty());
}

TEST_F(ObjectSelect, ASecondaryRecordBecomesPrimary) {
  Tower* a = StoreTrack({kBase, kBase}, {kBase + 400000, kBase});
  Tower* b = StoreTrack({kBase + 400000, kBase}, {kBase + 800000, kBase});
  w->Cursor = {kBase + 10000, kBase};
  ASSERT_EQ(SelectObject(a, 0), 1);
  SelectionInfo* secondary = AppendSecondarySelection(b, &w->SelectionList, kGrabFirstEnd, kBase + 400000, kBase);
  ASSERT_NE(secondary, nullptr);
  ASSERT_FALSE(secondary->flags & kSelectionPrimary);
  // With add, the record is kept and takes the part of the first primary
  // record from it on: none follows the tail, so the whole item.
  EXPECT_EQ(SelectObject(b, 1), 1);
  EXPECT_TRUE(secondary->flags & kSelectionPrimary);
  EXPECT_EQ(secondary->grabbedPart, kGrabWhole);
  EXPECT_EQ(Count(), 2);

  // Without add, a secondary is released and selected again as a primary.
  secondary->flags &= static_cast<std::uint8_t>(~kSelectionPrimary);
  EXPECT_EQ(SelectObject(b, 0), 1);
  EXPECT_EQ(Count(), 2);
  SelectionInfo* again = FindSelectionInfoOfTower(w->SelectionList, b);
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->flags & kSelectionPrimary);
}

TEST_F(ObjectSelect, ASelectedItemWithoutItsRecordIsAnInternalError) {
  Tower* track = StoreTrack({kBase, kBase}, {kBase + 400000, kBase});
  TowerEntity(track)->flags |= kEntitySelected;
  EXPECT_EQ(SelectObject(track, 0), 0);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"SelectObject: Internal Error - Selection info not found"}));
  EXPECT_EQ(w->SelectionList, nullptr);
  TowerEntity(track)->flags &= ~kEntitySelected;
}

TEST_F(ObjectSelect, TheModeAndTypeDecideWhetherAnItemIsTaken) {
  struct Case {
    std::uint8_t mode;
    std::uint16_t code;
    int result;
  } cases[] = {
      {0, Type_Track, 1},        {39, Type_Track, 1},     {45, Type_Track, 1},      {70, Type_Track, 0},
      {12, Type_Track, 0},       {0, Type_Dimensioner, 1}, {39, Type_Dimensioner, 0}, {0, Type_Via, 0},
      {0, Type_NotUsed, 0},      {39, Type_Datum, 1},
  };
  for (const Case& c : cases) {
    Tower* item = c.code == Type_Track ? StoreTrack({kBase, kBase}, {kBase + 400000, kBase}) : nullptr;
    if (!item) {
      std::vector<std::uint8_t> bytes(c.code == Type_Dimensioner ? 600 : 96);
      item = Own(InsertEntity(design, static_cast<std::uint32_t>(bytes.size()), c.code, bytes.data()));
    }
    w->EditMode = c.mode;
    EXPECT_EQ(SelectObject(item, 0), c.result) << int(c.mode) << " " << c.code;
    EXPECT_EQ(Count(), c.result) << int(c.mode) << " " << c.code;
    while (w->SelectionList) RemoveSelectionInfo(&w->SelectionList, w->SelectionList);
    std::free(w->OriginalBlockOrigin);
    w->OriginalBlockOrigin = nullptr;
    TowerEntity(item)->flags &= ~kEntitySelected;
  }
}

TEST_F(ObjectSelect, ALocatorOfALocatorOrSchematicSymbolIsRefusedInEditSelection) {
  Tower* symbol = Own(InsertEmptyEntity(design, kTypeSchematicSymbol));
  LocatorPayload locator{};
  locator.head.transform = pl3::kIdentityTransform;
  locator.x = kBase;
  locator.y = kBase;
  Tower* onSymbol = Own(InsertEntity(symbol, sizeof locator, Type_AttributeLocator, &locator));
  Tower* plain = Own(InsertEntity(design, sizeof locator, Type_AttributeLocator, &locator));
  w->EditMode = 39;
  EXPECT_EQ(SelectObject(onSymbol, 0), 0);
  EXPECT_EQ(SelectObject(plain, 0), 1);
  while (w->SelectionList) RemoveSelectionInfo(&w->SelectionList, w->SelectionList);
  w->EditMode = 0;
  std::free(w->OriginalBlockOrigin);
  w->OriginalBlockOrigin = nullptr;
  EXPECT_EQ(SelectObject(onSymbol, 0), 1) << "idle takes any locator";
}

TEST_F(ObjectSelect, ASymbolPickedFirstTakesTheLayerOfItsSide) {
  for (bool otherSide : {false, true}) {
    Tower* symbol = StoreSymbol({kBase, kBase}, otherSide);
    w->RoutingLayer = 7;
    ASSERT_EQ(SelectObject(symbol, 0), 1);
    EXPECT_EQ(w->RoutingLayer, otherSide ? w->BottomLayer : w->TopLayer);
    EXPECT_EQ(w->InsertType, Type_SymbolInstance);
    EXPECT_EQ(enginefakes::CallsStartingWith("nets of").size(), 1u);
    // The symbol is held whole by its placement point.
    EXPECT_EQ(w->SelectionList->grabPoint.x, kBase);
    ASSERT_EQ(SelectObject(symbol, 0), 1);  // deselected again
    ASSERT_EQ(w->SelectionList, nullptr);
    w->EditMode = 0;
    std::free(w->OriginalBlockOrigin);
    w->OriginalBlockOrigin = nullptr;
    enginefakes::calls.clear();
  }
  // A later symbol leaves the layer of the first pick alone.
  Tower* top = StoreSymbol({kBase, kBase}, false);
  Tower* bottom = StoreSymbol({kBase + 1000000, kBase}, true);
  ASSERT_EQ(SelectObject(top, 0), 1);
  ASSERT_EQ(SelectObject(bottom, 0), 1);
  EXPECT_EQ(w->RoutingLayer, w->TopLayer);
}

TEST_F(ObjectSelect, ASchematicSymbolInfoSelectsItsSymbolThroughTheSchematic) {
  w->editorKind = kEditorSchematic;
  Tower* symbol = Own(InsertEmptyEntity(design, kTypeSchematicSymbol));
  Tower* info = Own(InsertEmptyEntity(symbol, kTypeSchematicSymbolInfo));
  EXPECT_EQ(SelectObject(info, 0), 1);
  EXPECT_EQ(gSchematicSelects, (std::vector<std::string>{"select 0"}));
  EXPECT_TRUE(IsSelected(symbol));
  // The info of a selected symbol stands for it: clicked again, it deselects.
  EXPECT_EQ(SelectObject(info, 0), 1);
  EXPECT_FALSE(IsSelected(symbol));
  EXPECT_EQ(w->SelectionList, nullptr);
}

TEST_F(ObjectSelect, TheDrawStatusOfAnUnknownTypeIsAnInternalError) {
  Tower* item = Own(InsertEmptyEntity(design, Type_NotUsed));
  EXPECT_EQ(GetDrawStatus(view, item, 0), nullptr);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"GetDrawStatus: Internal Error - Unknown type"}));
  // A record too short for its type is not there to be held, without a message.
  pl3::ClearResponderRecords();
  std::uint8_t shortTrack[8] = {};
  Tower* track = Own(InsertEntity(design, sizeof shortTrack, Type_Track, shortTrack));
  EXPECT_EQ(GetDrawStatus(view, track, 0), nullptr);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(ObjectSelect, TheDrawStatusHoldsASymbolWholeWhenTheFlagsArePositive) {
  Tower* symbol = StoreSymbol({kBase + 5000, kBase + 7000}, false);
  w->SelectionList = nullptr;
  w->EditMode = 70;  // not a first pick: the cursor stays
  w->Cursor = {1, 2};
  for (std::int32_t flags : {1, 0, -1}) {
    DrawStatus* s = GetDrawStatus(view, symbol, flags);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->grabCode, flags > 0 ? 7u : 0u) << flags;
    EXPECT_EQ(s->x, kBase + 5000);
    EXPECT_EQ(s->y, kBase + 7000);
    EXPECT_EQ(s->cursorX, kBase + 5000);
    EXPECT_EQ(s->flags, static_cast<std::uint32_t>(flags));
    std::free(s);
  }
  EXPECT_EQ(w->Cursor.x, 1);
}

TEST_F(ObjectSelect, TheHandlePointIsTheDrawStatusPointAndLeavesTheCursorAlone) {
  Tower* symbol = StoreSymbol({kBase + 5000, kBase + 7000}, false);
  w->SelectionList = nullptr;
  w->EditMode = 0;  // a first pick: GetDrawStatus would take the cursor along
  w->Cursor = {1, 2};
  const pl3::Point handle = GetItemHandlePoint(view, symbol);
  EXPECT_EQ(handle.x, kBase + 5000);
  EXPECT_EQ(handle.y, kBase + 7000);
  EXPECT_EQ(w->Cursor.x, 1);
  EXPECT_EQ(w->Cursor.y, 2);
  Tower* unknown = Own(InsertEmptyEntity(design, Type_NotUsed));
  const pl3::Point none = GetItemHandlePoint(view, unknown);
  EXPECT_EQ(none.x, 0);
  EXPECT_EQ(none.y, 0);
  EXPECT_TRUE(Boxes().empty()) << "the paste skips what it cannot hold, silently";
}

TEST_F(ObjectSelect, APadStackIsHeldByItsDefinitionOriginAndMayAskForARedraw) {
  EditSymbolDefinition();
  Tower* definition = Own(InsertEmptyEntity(symbolDesign, Type_PadStackDefinition));
  pl3::Point origin{3000, 4000};
  Put(definition, Type_Origin, sizeof origin, &origin);
  Tower* pad = Own(InsertEmptyEntity(symbolDesign, Type_PadStackInstanceHier));
  PadStackInfoRecord info{};
  info.flags = kPadStackOtherSide;
  info.definition = LastLevel(definition).entity;
  info.transform = pl3::kIdentityTransform;
  info.transform.tx = kBase;
  info.transform.ty = kBase;
  Tower* infoTower = Own(InsertEntity(pad, sizeof info, Type_PadStackInfo, &info));
  gPadLabelAnswer = 1;
  // Picking the info selects its pad stack.
  EXPECT_EQ(SelectObject(infoTower, 0), 1);
  ASSERT_EQ(Count(), 1);
  EXPECT_TRUE(IsSelected(pad));
  EXPECT_EQ(w->SelectionList->grabPoint.x, kBase + 3000);
  EXPECT_EQ(w->SelectionList->grabPoint.y, kBase + 4000);
  EXPECT_EQ(w->RoutingLayer, w->BottomLayer);
  EXPECT_EQ(w->InsertType, Type_PadStackInstanceHier);
  EXPECT_EQ(enginefakes::CallsStartingWith("redraw view").size(), 1u);

  // Picking the info again deselects the pad stack, as a click on any
  // selected item does; nothing is selected twice.
  EXPECT_EQ(SelectObject(infoTower, 0), 1);
  EXPECT_EQ(Count(), 0);
  EXPECT_FALSE(IsSelected(pad));
}


TEST_F(ObjectSelect, CopyPicksRefuseWhatCannotBeCopied) {
  struct Case {
    std::uint16_t code;
    const char* message;
  } cases[] = {{Type_SymbolPin, "Copy: Can't copy pins"},
               {Type_SymbolInstance, "Copy: Can't copy symbols"},
               {163, "Copy: Can't copy symbols"},
               {Type_InfoBoxHier, "Copy: Can't copy info boxes"}};
  for (const Case& c : cases) {
    pl3::ClearResponderRecords();
    enginefakes::calls.clear();
    Tower* item = Own(InsertEmptyEntity(design, c.code));
    w->PendingRecord = static_cast<EntityRecord*>(std::malloc(64));
    CopyPickedItem(view, item);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{c.message})) << c.code;
    EXPECT_EQ(w->PendingRecord, nullptr);
    EXPECT_EQ(w->SelectionList, nullptr);
    EXPECT_EQ(enginefakes::CallsStartingWith("cursor 3").size(), 1u);
  }
}

TEST_F(ObjectSelect, ACopyPickLeavesTheOriginalAndHoldsACopy) {
  Tower* track = StoreTrack({kBase, kBase}, {kBase + 400000, kBase});
  CopyPickedItem(view, track);
  ASSERT_EQ(Count(), 1);
  SelectionInfo* s = w->SelectionList;
  EXPECT_EQ(s->original, nullptr) << "the record holds a copy only";
  ASSERT_NE(s->workingCopy, nullptr);
  EXPECT_NE(TowerEntity(s->workingCopy), TowerEntity(track));
  EXPECT_FALSE(IsSelected(track)) << "the original stays as it was";
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(ObjectSelect, OnlyNumberedLocatorsAreCopiedWithAStep) {
  Tower* track = StoreTrack({kBase, kBase}, {kBase + 400000, kBase});
  LocatorPayload locator{};
  locator.head.transform = pl3::kIdentityTransform;
  locator.kind = 1;
  Tower* pinText = Own(InsertEntity(design, sizeof locator, Type_AttributeLocator, &locator));
  for (const Tower* item : {track, pinText}) {
    pl3::ClearResponderRecords();
    CopyPickedItemStep(view, item, 1);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Copy: Can't copy and increment/decrement this type of object"}));
    EXPECT_EQ(w->SelectionList, nullptr);
  }
}

TEST_F(ObjectSelect, APadStackMustHavePassedItsCheckToBeInserted) {
  struct Case {
    bool withRecord;
    std::uint32_t failures, mask;
    int result;
  } cases[] = {
      {false, 0, 0, 0},            // no Completion Info
      {true, 0, 0, 1},             // passed
      {true, 0x4, 0x4, 0},         // a failure its mask enables
      {true, 0x1, 0, 0},           // a failure that always counts (0x69F793)
      {true, 0x8, 0x4, 1},         // a failure nothing enables
  };
  EditSymbolDefinition();
  for (const Case& c : cases) {
    pl3::ClearResponderRecords();
    Tower* pad = Own(InsertEmptyEntity(symbolDesign, Type_PadStackDefinition));
    if (c.withRecord) {
      std::uint8_t record[16] = {};
      std::memcpy(record + 2, &c.failures, 4);
      std::memcpy(record + 6, &c.mask, 4);
      Put(pad, Type_CompletionInfo, sizeof record, record);
    }
    w->EditMode = 0;
    EXPECT_EQ(LoadAndInsertPadDefinition(view, pad), c.result) << c.failures << " " << c.mask;
    ASSERT_EQ(Boxes().size(), c.result ? 0u : 1u) << (Boxes().empty() ? "" : Boxes()[0]);
    if (!c.result) {
      EXPECT_EQ(Boxes()[0],
                "Load And Insert Pad Definition: Pad has not passed the Pad Stack DRC. Unable to continue with load");
      EXPECT_EQ(w->SelectionList, nullptr);
    }
    while (w->SelectionList) RemoveSelectionInfo(&w->SelectionList, w->SelectionList);
    std::free(w->OriginalBlockOrigin);
    w->OriginalBlockOrigin = nullptr;
  }
}

TEST_F(ObjectSelect, AnInsertedPadStackHangsOnTheCursorByItsOrigin) {
  EditSymbolDefinition();
  Tower* pad = Own(InsertEmptyEntity(symbolDesign, Type_PadStackDefinition));
  std::uint8_t passed[16] = {};
  Put(pad, Type_CompletionInfo, sizeof passed, passed);
  const pl3::Point origin{3000, 5000};
  Put(pad, Type_Origin, sizeof origin, &origin);
  w->Cursor = {kBase, kBase};
  w->CurrentLayer = 9;
  ASSERT_EQ(LoadAndInsertPadDefinition(view, pad), 1);
  EXPECT_EQ(w->EditMode, 45);
  EXPECT_EQ(w->CurrentLayer, w->TopLayer);
  ASSERT_EQ(Count(), 1);
  SelectionInfo* s = w->SelectionList;
  EXPECT_EQ(s->original, nullptr) << "the placed original is dropped: the pad is new";
  ASSERT_NE(s->workingCopy, nullptr);
  ASSERT_EQ(TowerEntity(s->workingCopy)->typeCode, Type_PadStackInstanceHier);
  PadStackInfoRecord info{};
  const std::uint8_t* p = ChildPayloadOfAtLeast(s->workingCopy, Type_PadStackInfo, sizeof info);
  ASSERT_NE(p, nullptr);
  std::memcpy(&info, p, sizeof info);
  EXPECT_EQ(info.definition, LastLevel(pad).entity);
  EXPECT_EQ(info.transform.tx, kBase - 3000);
  EXPECT_EQ(info.transform.ty, kBase - 5000);
  EXPECT_NE(info.xref, 0u);
  EXPECT_EQ(s->grabPoint.x, kBase) << "held by the definition's origin, at the cursor";
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(ObjectSelect, ThePadToolIsArmedWhenIdle) {
  BeginPadInsertionTool();
  EXPECT_EQ(w->EditMode, 56);
  EXPECT_EQ(enginefakes::CallsStartingWith("cursor 3").size(), 1u);
}

// The drag rectangle runs from (100000, 100000) to (200000, 200000).
TEST_F(ObjectSelect, ItemsCrossingTheDragRectangleEdgeAreTold) {
  w->DragStart = {200000, 100000};
  w->DragCurrent = {100000, 200000};
  auto track = [&](pl3::Point a, pl3::Point b, std::int32_t halfWidth) {
    LinePayload line{};
    line.width = halfWidth;
    line.x1 = a.x;
    line.y1 = a.y;
    line.x2 = b.x;
    line.y2 = b.y;
    return Own(InsertEntity(design, sizeof line, Type_Track, &line));
  };
  auto circle = [&](std::uint16_t code, std::int32_t size) {
    std::vector<std::uint8_t> bytes(code == Type_Hole ? sizeof(HolePayload) : sizeof(CirclePayload));
    if (code == Type_Hole) {
      auto* h = reinterpret_cast<HolePayload*>(bytes.data());
      h->hole.size1 = size;
      h->hole.centreX = 95000;
      h->hole.centreY = 150000;
    } else {
      auto* c = reinterpret_cast<CirclePayload*>(bytes.data());
      c->size = size;
      c->centreX = 150000;
      c->centreY = 150000;
    }
    return Own(InsertEntity(design, static_cast<std::uint32_t>(bytes.size()), code, bytes.data()));
  };
  auto polygon = [&](std::vector<pl3::Point> points) {
    std::vector<std::uint8_t> bytes(sizeof(pl3::PolygonLayout) + points.size() * sizeof(pl3::Point));
    bytes[48] = static_cast<std::uint8_t>(points.size());
    std::memcpy(bytes.data() + sizeof(pl3::PolygonLayout), points.data(), points.size() * sizeof(pl3::Point));
    return Own(InsertEntity(design, static_cast<std::uint32_t>(bytes.size()), Type_Polygon, bytes.data()));
  };
  struct Case {
    const char* what;
    Tower* item;
    int crosses;
  } cases[] = {
      {"track across the left edge", track({50000, 150000}, {150000, 150000}, 0), 1},
      {"track inside", track({120000, 150000}, {180000, 150000}, 0), 0},
      {"thin track outside", track({120000, 90000}, {180000, 90000}, 5000), 0},
      {"wide track reaching the top edge", track({120000, 90000}, {180000, 90000}, 20000), 1},
      {"hole reaching the left edge", circle(Type_Hole, 20000), 1},
      {"hole short of it", circle(Type_Hole, 4000), 0},
      {"hole whose radius reaches it", circle(Type_Hole, 8000), 1},
      {"circle on the edges", circle(Type_Circle, 50000), 1},
      {"circle inside", circle(Type_Circle, 30000), 0},
      {"circle around", circle(Type_Circle, 90000), 0},
      {"polygon across", polygon({{150000, 150000}, {250000, 150000}, {250000, 180000}}), 1},
      {"polygon around", polygon({{0, 0}, {400000, 0}, {400000, 400000}, {0, 400000}}), 0},
      {"text", Own(InsertEmptyEntity(design, Type_Text)), 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ItemCrossesBoxEdge(&pl3::kIdentityTransform, c.item, nullptr, 0, 0, nullptr), c.crosses) << c.what;
  }
}

// Items are tested as they are drawn: sizes are radii and half-widths, and
// an indexed size comes from the list its type draws with.
TEST_F(ObjectSelect, AnItemCrossesTheDragRectangleByItsDrawnSize) {
  w->DragStart = {100000, 100000};
  w->DragCurrent = {200000, 200000};
  std::unique_ptr<SizeTable> sizes = NewSizeTable();
  auto entry = [](std::int32_t v1, std::int32_t v2) {
    SizeEntry e{};
    e.flags = kSizeEntryOn;
    e.value1 = v1;
    e.value2 = v2;
    return e;
  };
  (*sizes)[SizeKind_Lines].entries = {entry(20000, 0)};
  (*sizes)[SizeKind_Holes].entries = {entry(1000, 500)};
  (*sizes)[SizeKind_Vias].entries = {entry(8000, 4000)};
  (*sizes)[SizeKind_Rectangles].entries = {entry(120000, 40000)};
  w->sizeTable = sizes.get();

  // A whole ring of radius 40000 about the centre, 10000 inside the edges.
  ArcPayload arc{};
  arc.width = 15000;
  arc.radius = 40000;
  arc.startX = arc.endX = 40000;
  arc.centreX = arc.centreY = 150000;
  Tower* wideArc = Own(InsertEntity(design, sizeof arc, Type_Arc, &arc));
  arc.width = 5000;
  Tower* thinArc = Own(InsertEntity(design, sizeof arc, Type_Arc, &arc));

  HolePayload via{};
  via.hole.head.sizeFlags = kSizeByIndex;
  via.hole.flags = kHoleIsVia;
  via.hole.centreX = 95000;
  via.hole.centreY = 150000;
  Tower* indexedVia = Own(InsertEntity(design, sizeof via, Type_Hole, &via));
  via.hole.flags = 0;
  Tower* indexedHole = Own(InsertEntity(design, sizeof via, Type_Hole, &via));

  LinePayload line{};
  line.head.sizeFlags = kSizeByIndex;
  line.x1 = 120000;
  line.x2 = 180000;
  line.y1 = line.y2 = 90000;
  Tower* routed = Own(InsertEntity(design, sizeof line, Type_RoutedLine, &line));

  RectanglePayload rect{};
  rect.rect.head.sizeFlags = kSizeByIndex;
  rect.rect.centreX = rect.rect.centreY = 150000;
  Tower* indexedRect = Own(InsertEntity(design, sizeof rect, Type_Rectangle, &rect));

  struct Case {
    const char* what;
    Tower* item;
    int crosses;
  } cases[] = {
      {"arc whose half-width band reaches the edges", wideArc, 1},
      {"arc whose band stays inside", thinArc, 0},
      {"via sized from the via list", indexedVia, 1},
      {"hole sized from the hole list", indexedHole, 0},
      {"routed line sized from the line list", routed, 1},
      {"rectangle built from its indexed size", indexedRect, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ItemCrossesBoxEdge(&pl3::kIdentityTransform, c.item, nullptr, 0, 0, nullptr), c.crosses) << c.what;
  }
  EXPECT_TRUE(Boxes().empty()) << Boxes().front();
  w->sizeTable = nullptr;
}

// A pad label is taken up only when no mode is active: a copy of it hangs on
// the snapped cursor and its pad stack becomes the window's Selection. A
// label whose name has no end is not taken up.
TEST_F(ObjectSelect, APadLabelIsTakenUpOnlyWhenIdle) {
  EditSymbolDefinition();
  Tower* pad = Own(InsertEmptyEntity(symbolDesign, Type_PadStackInstanceHier));
  auto label = [&](const char* text, std::size_t room) {
    std::vector<std::uint8_t> bytes(sizeof(PadLabelHead) + room, 'x');
    PadLabelHead head{};
    head.transform = pl3::kIdentityTransform;
    std::memcpy(bytes.data(), &head, sizeof head);
    if (text) std::memcpy(bytes.data() + sizeof head, text, std::strlen(text) + 1);
    return Own(InsertEntity(pad, static_cast<std::uint32_t>(bytes.size()), Type_Label, bytes.data()));
  };
  Tower* named = label("A12", 8);
  Tower* unended = label(nullptr, 8);
  w->Cursor = {kBase + 1234, kBase + 5678};
  for (std::uint8_t mode : {39, 45, 70}) {
    w->EditMode = mode;
    EXPECT_EQ(SelectObject(named, 0), 0) << int(mode);
    EXPECT_EQ(w->PadLabelInHand, nullptr);
    EXPECT_FALSE(IsSelected(named));
  }
  w->EditMode = 0;
  EXPECT_EQ(SelectObject(unended, 0), 0);
  EXPECT_EQ(w->PadLabelInHand, nullptr);
  EXPECT_EQ(w->EditMode, 0);

  ASSERT_EQ(SelectObject(named, 0), 1);
  EXPECT_EQ(w->EditMode, 42);
  ASSERT_NE(w->PadLabelInHand, nullptr);
  EXPECT_EQ(w->PadLabelInHand->transform.tx, kBase + 1000);
  EXPECT_EQ(w->PadLabelInHand->transform.ty, kBase + 5000);
  EXPECT_STREQ(reinterpret_cast<const char*>(w->PadLabelInHand + 1), "A12");
  ASSERT_NE(w->PadNameText, nullptr);
  EXPECT_STREQ(w->PadNameText, "A12");
  EXPECT_EQ(TowerEntity(w->Selection), TowerEntity(pad));
  EXPECT_EQ(TowerEntity(w->TemporaryEntity), TowerEntity(named));
  EXPECT_TRUE(IsSelected(named));
  EXPECT_EQ(w->SelectionList, nullptr) << "a label is moved by its own mode, not as a selection";
  std::free(w->PadLabelInHand);
  w->PadLabelInHand = nullptr;
  std::free(w->PadNameText);
  w->PadNameText = nullptr;
  ReleaseTower(&w->Selection);
  ReleaseTower(&w->TemporaryEntity);
}

// A designator copy is taken up to be moved only when idle: a new copy made
// from it hangs on the cursor, the picked one is the window's Selection.
TEST_F(ObjectSelect, ADesignatorCopyIsTakenUpOnlyWhenIdle) {
  Tower* symbol = StoreSymbol({kBase, kBase}, false);
  std::uint8_t bytes[4] = {};
  Tower* group = Own(InsertEntity(symbol, sizeof bytes, Type_Designator, bytes));
  Tower* copy = Own(InsertEntity(group, sizeof bytes, Type_DesignatorData, bytes));
  pl3::Transform at = pl3::kIdentityTransform;
  at.tx = kBase + 300;
  at.ty = kBase + 400;
  Put(copy, Type_Transform, sizeof at, &at);
  w->EditMode = 39;
  EXPECT_EQ(SelectObject(copy, 0), 0);
  EXPECT_EQ(w->TemporaryEntity, nullptr);
  w->EditMode = 0;
  w->Cursor = {kBase + 50, kBase + 60};
  ASSERT_EQ(SelectObject(copy, 0), 1);
  EXPECT_EQ(w->EditMode, 33);
  EXPECT_EQ(TowerEntity(w->Selection), TowerEntity(copy));
  ASSERT_NE(w->TemporaryEntity, nullptr);
  EXPECT_EQ(TowerEntity(w->TemporaryEntity)->typeCode, Type_DesignatorData);
  EXPECT_NE(TowerEntity(w->TemporaryEntity), TowerEntity(copy));
  EXPECT_TRUE(IsSelected(copy));
  EXPECT_EQ(w->InsertionOrigin.x, kBase + 300);
  EXPECT_EQ(w->InsertionOrigin.y, kBase + 400);
  EXPECT_EQ(w->AnchorPoint.x, kBase + 50);
  EXPECT_EQ(enginefakes::CallsStartingWith("menus 13").size(), 1u);
  ReleaseTower(&w->Selection);
  ReleaseTower(&w->TemporaryEntity);
}

}  // namespace
