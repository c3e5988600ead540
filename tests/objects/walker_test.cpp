#include "objects/walker.h"

#include <gtest/gtest.h>

#include "geometry/raster_state.h"
#include "objects/walker_actions.h"
#include "walk_fixture.h"

using namespace walktest;

namespace {

TEST_F(WalkTest, OnlyWantedCodesAreReachedNewestFirst) {
  Insert(design, Type_Track, 1);
  Insert(design, Type_Circle, 2);
  Insert(design, Type_Text, 3);
  Insert(design, Type_Track, 4);
  SetAllTypes(0);
  WalkTypeFlags[Type_Track] = kWalkTypeWanted;
  Walk(0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{4, 1}));

  Visits().clear();
  SetAllTypes(kWalkTypeWanted);
  Walk(0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{4, 1, 2, 3}));
}

TEST_F(WalkTest, SelectedEntitiesFollowTheViewFlags) {
  struct Case {
    std::uint16_t state;
    std::uint32_t viewFlags;
    bool visited;
  };
  const Case cases[] = {
      {0, 0, true},
      {kEntitySelected, 0, false},
      {kEntitySelected, kViewIncludeSelected, true},
      {kEntitySelected | kEntitySelectedPart, kViewIncludeSelected, false},
      {kEntitySelectedPart, 0, true},
  };
  for (const Case& c : cases) {
    Entity* e = Insert(design, Type_Track, 7);
    e->flags |= c.state;
    window->ViewFlags = c.viewFlags;
    Visits().clear();
    Walk(0);
    EXPECT_EQ(Visits().size(), c.visited ? 1u : 0u) << "state " << c.state << " view " << c.viewFlags;
    DeleteChildEntities(design, Type_Track);
  }
}

TEST_F(WalkTest, SelectionListRestrictsTheWalkUnlessLifted) {
  Entity* listed = Insert(design, Type_Track, 1);
  Insert(design, Type_Track, 2);
  SelectionInfo record{};
  record.workingCopy = TowerOn(listed);
  window->SelectionList = &record;
  window->ViewFlags = kViewSelectionListOnly;
  Walk(0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{1}));

  Visits().clear();
  window->SelectionListUnrestricted = 1;
  Walk(0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{2, 1}));
  ReleaseTower(&record.workingCopy);
}

TEST_F(WalkTest, PagesInPagesAreDescended) {
  Tower* page = InsertEntity(design, 0, Type_Page, nullptr);
  Insert(page, Type_Track, 1);
  Tower* inner = InsertEntity(page, 0, Type_Page, nullptr);
  Insert(inner, Type_Track, 2);
  Insert(design, Type_Track, 3);
  Returns() = {10, 20, 30};
  const std::int32_t result = Walk(0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{3, 1, 2}));
  EXPECT_EQ(result, 30);  // each draw stores its value; the page's result is the walk's
  ReleaseTower(&inner);
  ReleaseTower(&page);
}

TEST_F(WalkTest, StopFlagEndsTheWalkAfterTheStopEntity) {
  Insert(design, Type_Track, 1);
  Entity* stop = Insert(design, Type_Track, 2);
  Insert(design, Type_Track, 3);
  window->StopTower = TowerOn(stop);
  Walk(0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{3, 2, 1})) << "without the flag the stop entity is ignored";

  Visits().clear();
  window->ViewFlags = kViewStopAfterStopTower;
  Walk(0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{3, 2}));
  ReleaseTower(&window->StopTower);
}

TEST_F(WalkTest, MeasureWithModeOneStopsAtTheFirstZeroResult) {
  for (std::uint32_t tag = 1; tag <= 4; ++tag) Insert(design, Type_Track, tag);
  Returns() = {5, 0, 7, 8};
  auto measure = [](const pl3::Transform* t, Tower* e, void* p, std::uint8_t m, std::uint8_t a, std::int32_t* r) {
    *r = RecordVisit(t, e, p, m, a, r);
    return 0;
  };
  WalkHandlers.measureClosestEntity = measure;
  EXPECT_EQ(Walk(WalkAction_MeasureClosest, 1, -1), 0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{4, 3}));

  Visits().clear();
  Returns() = {5, 0, 7, 8};
  EXPECT_EQ(Walk(WalkAction_MeasureClosest, 0, -1), 8) << "mode 0 walks on";
  EXPECT_EQ(Visits().size(), 4u);
}

TEST_F(WalkTest, PadStackInfoIsWalkedOnlyInsideASymbolDefinition) {
  Insert(design, Type_PadStackInfo, Item(1, 36));
  Tower* definition = InsertEntity(design, 0, Type_SymbolDefinition, nullptr);
  Insert(definition, Type_PadStackInfo, Item(2, 36));
  Walk(0);
  EXPECT_TRUE(Visits().empty());
  Walk(0, 0, 0, definition);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{2}));
  ReleaseTower(&definition);
}

TEST_F(WalkTest, StateFlagsAndThePublishedEntityComeBack) {
  Insert(design, Type_PadStackInstanceInfo, Item(1, 276));
  Insert(design, Type_Track, 2);
  Insert(design, Type_Label, Item(3, 60));
  Tower* callers = DuplicateTower(design);
  pl3::g_raster.currentEntity = callers;
  WalkStateFlags = 0x40;
  Walk(0);
  ASSERT_EQ(Visits().size(), 3u);
  EXPECT_EQ(Visits()[2].state, 0x40) << "the pad-stack bit is dropped after its entity";
  EXPECT_EQ(Visits()[0].code, Type_Track);
  EXPECT_EQ(Visits()[0].state, 0x40);
  EXPECT_TRUE(Visits()[0].publishedOnEntity);
  EXPECT_EQ(Visits()[1].code, Type_PadStackInstanceInfo);
  EXPECT_EQ(Visits()[1].state, 0x40 | kWalkStateInPadStack);
  EXPECT_EQ(WalkStateFlags, 0x40);
  EXPECT_EQ(pl3::g_raster.currentEntity, callers);

  Visits().clear();
  Walk(0, 1);
  EXPECT_FALSE(Visits()[0].publishedOnEntity) << "mode 1 publishes nothing";
  pl3::g_raster.currentEntity = nullptr;
  ReleaseTower(&callers);
}

TEST_F(WalkTest, HighlightedEntitySetsTheHighlightBitForItsHandlerOnly) {
  Insert(design, Type_Track, 1);
  Entity* lit = Insert(design, Type_Track, 2);
  lit->flags |= kEntityHighlighted;
  HighlightFillColour = 0x1234;
  window->WalkFlags = 0x40000;
  Walk(0);
  ASSERT_EQ(Visits().size(), 2u);
  EXPECT_EQ(Visits()[0].walkFlags, 0x40000u | kWalkHighlighting);
  EXPECT_EQ(Visits()[1].walkFlags, 0x40000u);
  EXPECT_EQ(pl3::g_raster.fillValue, 0x1234u);
  EXPECT_EQ(window->WalkFlags, 0x40000u);
}

TEST_F(WalkTest, GraphicsOutsideSymbolsAreSkippedWhenAsked) {
  Insert(design, Type_Track, 1);
  Insert(design, Type_SchematicSymbol, Item(3, 12));
  window->WalkFlags = kWalkOnlyInSymbols;
  Walk(0);
  ASSERT_EQ(Visits().size(), 1u);
  EXPECT_EQ(Visits()[0].code, Type_SchematicSymbol);
  EXPECT_EQ(Visits()[0].state, kWalkStateInSymbol);
}

TEST_F(WalkTest, HiddenLayerAndFailedBoxTestPassTheItemOver) {
  Insert(design, Type_Track, Item(1, 68, 1));
  Insert(design, Type_Track, Item(2, 68, 2));
  window->layerTable.layers[2].flags = 0;
  Walk(0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{1}));

  Visits().clear();
  WalkHandlers.testBoundingBox = [](Tower*, const pl3::Transform*, const pl3::Box*) { return 0; };
  Walk(0);
  EXPECT_TRUE(Visits().empty());
}

TEST_F(WalkTest, ResultsCombineByAction) {
  Insert(design, Type_Track, 1);
  Insert(design, Type_Track, 2);
  Returns() = {3, 4};
  EXPECT_EQ(Walk(WalkAction_Delete, 0, 10), 17) << "action 12 adds";
  Returns() = {3, 4};
  EXPECT_EQ(Walk(WalkAction_Draw, 0, 10), 4) << "action 0 stores";
  EXPECT_EQ(Walk(2, 0, 10), 10) << "a code without a row does nothing";
}

TEST_F(WalkTest, SetFlagsActionOrsThenAnds) {
  Entity* e = Insert(design, Type_Track, 1);
  e->flags |= 0x0100;
  WalkFlagSetMask = 0x0040;
  WalkFlagKeepMask = ~0x0100u;
  EXPECT_EQ(Walk(WalkAction_SetFlags), 1);
  EXPECT_EQ(e->flags & 0x0140, 0x0040);
}

TEST_F(WalkTest, RubberbandSkipsSelectedAndChoosesByWindowKind) {
  Insert(design, Type_Track, 1);
  Entity* selected = Insert(design, Type_Track, 2);
  selected->flags |= kEntitySelected;
  window->ViewFlags = kViewIncludeSelected;
  int rubberband = 0;
  static int* counter;
  counter = &rubberband;
  WalkHandlers.collectRubberbandEntity = [](const pl3::Transform*, Tower*, void*, std::uint8_t, std::uint8_t,
                                            std::int32_t*) {
    ++*counter;
    return 1;
  };
  EXPECT_EQ(Walk(WalkAction_Rubberband), 1);
  EXPECT_EQ(rubberband, 1);
  EXPECT_TRUE(Visits().empty());

  window->editorKind = kEditorSchematic;
  EXPECT_EQ(Walk(WalkAction_Rubberband), 1);
  EXPECT_EQ(rubberband, 1);
  EXPECT_EQ(Visits().size(), 1u) << "schematic windows add attached wires";
}

TEST_F(WalkTest, ClearSelectionDropsTheSelectionAndTheTemporaryEntity) {
  Entity* picked = Insert(design, Type_Track, 1);
  picked->flags |= kEntitySelected | kEntitySelectedPart | kEntityHighlighted;
  Entity* temporary = Insert(design, Type_Circle, 2);
  window->Selection = TowerOn(picked);
  window->TemporaryEntity = TowerOn(temporary);
  static int freed;
  freed = 0;
  WalkHandlers.freeWindowBlockList = [] { ++freed; };
  ClearSelection();
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(picked->flags & 0x64, kEntityHighlighted);
  EXPECT_EQ(window->Selection, nullptr);
  EXPECT_EQ(window->TemporaryEntity, nullptr);
  EXPECT_EQ(towertest::FirstOfCode(TowerEntity(design), Type_Circle), nullptr);
}

TEST_F(WalkTest, LabelsFollowTheDisplayOptionsAndTheSymbolEditor) {
  Insert(design, Type_Label, Item(1, 60));
  DisplayOptions = kDisplayHideLabels;
  Walk(0);
  EXPECT_TRUE(Visits().empty());
  DisplayOptions = 0;
  window->editorKind = kEditorPcbSymbol;
  window->ShowLabels = 0;
  Walk(0);
  EXPECT_TRUE(Visits().empty());
  window->ShowLabels = 1;
  Walk(0);
  EXPECT_EQ(Visits().size(), 1u);
}

TEST_F(WalkTest, PadStackHierarchyWalksItsChildrenFromMinusOne) {
  Tower* pad = InsertEntity(design, 0, Type_PadStackInstanceHier, nullptr);
  Insert(pad, Type_PadStackLayerInfo, Item(1, 44));
  Insert(pad, Type_PadStackLayerInfo, Item(2, 44));
  EXPECT_EQ(Walk(WalkAction_Delete, 0, 100), 1) << "-1 plus two handlers' 1";
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{2, 1}));
  ReleaseTower(&pad);
}

TEST_F(WalkTest, LocatorRulesByWindowKind) {
  Entity* locator = Insert(design, Type_AttributeLocator, Item(1, 96));
  static int shown, boxMeets;
  WalkHandlers.isLocatorShown = [](Tower*) { return shown; };
  WalkHandlers.testBoundingBox = [](Tower*, const pl3::Transform*, const pl3::Box*) { return boxMeets; };
  struct Case {
    std::uint32_t kind;
    int shown, boxMeets;
    std::size_t visits;
  };
  const Case cases[] = {
      {kEditorSchematic, 1, 1, 1},       {kEditorSchematic, 0, 1, 0},       {kEditorSchematic, 1, 0, 0},
      {kEditorSchematicSymbol, 0, 1, 1}, {kEditorSchematicSymbol, 1, 0, 0}, {kEditorPcb, 0, 0, 1},
  };
  for (const Case& c : cases) {
    window->editorKind = c.kind;
    shown = c.shown;
    boxMeets = c.boxMeets;
    Visits().clear();
    Walk(0);
    EXPECT_EQ(Visits().size(), c.visits) << c.kind << " shown " << c.shown << " box " << c.boxMeets;
  }
  // Action 13 reaches a hidden locator of a schematic before the visibility test.
  shown = 0;
  boxMeets = 0;
  for (std::uint32_t kind : {kEditorSchematic, kEditorSchematicSymbol}) {
    window->editorKind = kind;
    EntityPayload(locator)[2] = 1;
    EXPECT_EQ(Walk(WalkAction_ClearIndexedSize), kind == kEditorSchematic ? 1 : 0) << kind;
  }
}

TEST_F(WalkTest, DesignatorsHideAndLabelHierarchiesOnlyInTheSymbolEditor) {
  Insert(design, Type_Designator, Item(1));
  Tower* labels = InsertEntity(design, 0, Type_LabelHier, nullptr);
  Insert(labels, Type_Label, Item(2, 60));
  Walk(0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{1}));
  Visits().clear();
  DisplayOptions = kDisplayHideAttributes;
  window->editorKind = kEditorPcbSymbol;
  Walk(0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{2}));
  Visits().clear();
  WalkHandlers.resolveItemSizes = &RecordVisit;
  Walk(WalkAction_ResolveSizes);
  EXPECT_TRUE(Visits().empty()) << "action 14 does not enter label hierarchies";
  ReleaseTower(&labels);
}

TEST_F(WalkTest, EarlierGenerationSymbolsGoToTheirHandlers) {
  Insert(design, 163, Item(1));
  static int container, symbol;
  container = symbol = 0;
  WalkHandlers.walkContainerEntity = [](const pl3::Transform*, Tower*, void*, std::uint8_t, std::uint8_t,
                                        std::int32_t*) { return ++container; };
  WalkHandlers.drawPl2Symbol = [](const pl3::Transform*, Tower*, void*, std::uint8_t, std::uint8_t,
                                  std::int32_t*) { return 10 + ++symbol; };
  EXPECT_EQ(Walk(WalkAction_MarkUsedSizes), 1);
  EXPECT_EQ(Walk(WalkAction_Delete), 11);
  EXPECT_EQ(container, 1);
  EXPECT_EQ(symbol, 1);
}

TEST_F(WalkTest, PadHierarchiesWalkInHitModeForHitTests) {
  Tower* pad = InsertEntity(design, 0, Type_PadStackInstanceHier, nullptr);
  Insert(pad, Type_PadStackLayerInfo, Item(1, 44));
  Insert(pad, Type_PadStackLayerInfo, Item(2, 44));
  for (std::uint8_t target : {pl3::kTargetPlane, pl3::kTargetNearestHit, pl3::kTargetAreaPick}) {
    pl3::g_raster.spanTarget = target;
    Visits().clear();
    WalkTypeFlags[Type_PadStackInstanceHier] = kWalkTypeWanted;
    Walk(0);
    EXPECT_EQ(Visits().size(), 2u);
    EXPECT_EQ(Visits()[0].publishedOnEntity, target == pl3::kTargetPlane) << "hit tests walk pads in mode 1";
  }
  pl3::g_raster.spanTarget = pl3::kTargetPlane;
  ReleaseTower(&pad);
}

TEST_F(WalkTest, HandlersMayDeleteTheEntityTheyAreGiven) {
  for (std::uint32_t tag = 1; tag <= 5; ++tag) Insert(design, Type_Track, tag);
  Insert(design, Type_Circle, 6);   // alone in its group
  Insert(design, Type_Rectangle, 7);
  Insert(design, Type_Rectangle, 8);
  WalkHandlers.deleteWalkedEntity = [](const pl3::Transform* t, Tower* e, void* p, std::uint8_t m, std::uint8_t a,
                                       std::int32_t* r) {
    const std::uint32_t tag = TagOf(TowerEntity(e));
    RecordVisit(t, e, p, m, a, r);
    if (tag % 2 == 1 || tag == 6) {
      DeleteEntity(e);
      return 1;
    }
    return 0;
  };
  EXPECT_EQ(Walk(WalkAction_Delete), 5);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{5, 4, 3, 2, 1, 6, 8, 7}));
  Visits().clear();
  Walk(0);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{4, 2, 8}));
}

}  // namespace
