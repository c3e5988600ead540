// Pad stacks: per-placement records, look-ups, layer ranges, boxes, the
// three walker handlers and the removal of a layer's shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "edit/undo_history.h"
#include "objects/drawing_seams.h"
#include "platform/responder.h"
#include "symbol_fixture.h"

using namespace symboltest;

namespace {

class PadStacks : public SymbolFixture {
 protected:
  void SetUp() override {
    SymbolFixture::SetUp();
    RegisterSymbolWalkHandlers();
  }
};

TEST_F(PadStacks, AddPadStackInstanceInfosFillsTheMissingPadsOnce) {
  Place(0, 0);
  Tower* stack = MakeStack(1);
  AddPad(stack, 11);
  AddPad(stack, 12);
  AddPad(stack, 13);
  AddPadInstance(12, 5, 6);
  EXPECT_EQ(AddPadStackInstanceInfos(instance), 1);
  auto infos = PadInstances();
  ASSERT_EQ(infos.size(), 3u);
  std::vector<std::uint32_t> xrefs;
  for (const PadStackInstanceInfo& p : infos) {
    xrefs.push_back(p.xref);
    if (p.xref == 12) {
      EXPECT_EQ(p.netIds[0], 5u) << "the existing record is kept";
      continue;
    }
    EXPECT_EQ(p.flags, 4);
    EXPECT_EQ(p.netIds[0], 0u);
    EXPECT_EQ(p.netIds[1], 0u);
    EXPECT_EQ(std::string(p.text, 256), std::string(256, '\0')) << "the text field is zeroed";
  }
  std::sort(xrefs.begin(), xrefs.end());
  EXPECT_EQ(xrefs, (std::vector<std::uint32_t>{11, 12, 13}));
  EXPECT_EQ(AddPadStackInstanceInfos(instance), 1);
  EXPECT_EQ(PadInstances().size(), 3u) << "a second call adds none";
}

TEST_F(PadStacks, NewRecordsReferenceTheirPads) {
  Place(0, 0);
  Tower* stack = MakeStack(1);
  Tower* pad = AddPad(stack, 21);
  AddPadStackInstanceInfos(instance);
  const auto infos = PadInstances();
  ASSERT_EQ(infos.size(), 1u);
  EXPECT_EQ(infos[0].padReference, RefOf(pad));
}

TEST_F(PadStacks, PadInstanceWithoutMatchingPadWalksNothing) {
  Place(0, 0);
  Tower* stack = MakeStack(1);
  AddPad(stack, 1);
  Tower* stray = AddPadInstance(99, 3, 4);
  EXPECT_EQ(ProcessFoundPadStackInstanceInfo(nullptr, stray, &pl3::kIdentityTransform, 0), -1);
  EXPECT_TRUE(Visits().empty());
  EXPECT_EQ(WalkNetIds[0], 3u) << "the net ids are published first";
}

TEST_F(PadStacks, PlacedPadWalksItsStackWithItsNetIds) {
  Place(0, 0);
  Tower* stack = MakeStack(1, {0, 0, 10, 20}, 42);
  AddLayer(stack, 1, 0, lastShape);
  AddPad(stack, 1);
  static std::uint32_t netsSeen[2];
  static const Entity* published;
  WalkHandlers.drawWalkedEntity = [](const pl3::Transform* t, Tower* e, void* p, std::uint8_t m, std::uint8_t a,
                                     std::int32_t* r) {
    netsSeen[0] = WalkNetIds[0];
    netsSeen[1] = WalkNetIds[1];
    published = TowerEntity(pl3::g_raster.currentEntity);
    return RecordVisit(t, e, p, m, a, r);
  };
  Tower* placed = AddPadInstance(1, 7, 8);
  window->WalkFlags = kWalkPublishPadInstance;
  // During a hit test the pad's own walks publish nothing: the placed pad is the hit.
  pl3::g_raster.spanTarget = pl3::kTargetNearestHit;
  Tower* placedInfo = ChildOn(instance, Type_PadStackInstanceInfo);
  ProcessFoundPadStackInstanceInfo(nullptr, placedInfo, &pl3::kIdentityTransform, 0);
  pl3::g_raster.spanTarget = 0;
  ASSERT_FALSE(Visits().empty());
  EXPECT_EQ(Visits().back().tag, 42u);
  EXPECT_EQ(netsSeen[0], 7u);
  EXPECT_EQ(netsSeen[1], 8u);
  EXPECT_EQ(published, TowerEntity(placed));
  EXPECT_EQ(pl3::g_raster.currentEntity, nullptr) << "the caller's entity is back";
}

TEST_F(PadStacks, InnerLayerEntryIsWalkedOnEveryInnerLayer) {
  Place(0, 0);
  Tower* stack = MakeStack(1);
  Tower* entry = AddLayer(stack, 1, kPadLayerAllInner, lastShape);
  static std::vector<int> layers;
  static std::vector<std::uint32_t> flagsSeen;
  layers.clear();
  flagsSeen.clear();
  const WalkHandler record = [](const pl3::Transform*, Tower*, void*, std::uint8_t, std::uint8_t,
                                std::int32_t* result) {
    layers.push_back(ActiveWindowData->DrawingLayer);
    flagsSeen.push_back(ActiveWindowData->WalkFlags);
    *result = ActiveWindowData->DrawingLayer == 4 ? 0 : 1;
    return *result;
  };
  WalkHandlers.drawWalkedEntity = record;
  WalkHandlers.measureClosestEntity = record;
  window->DrawingLayer = 77;
  EXPECT_EQ(DrawPadStackLayer(nullptr, entry, &pl3::kIdentityTransform, 0), 1);
  ASSERT_EQ(layers.size(), 30u);
  EXPECT_EQ(layers.front(), 2);
  EXPECT_EQ(layers.back(), 31);
  EXPECT_TRUE(flagsSeen.front() & kWalkInPadStack);
  EXPECT_EQ(window->DrawingLayer, 77) << "restored";
  EXPECT_EQ(window->WalkFlags, 0u);

  layers.clear();
  EXPECT_EQ(DrawPadStackLayer(nullptr, entry, &pl3::kIdentityTransform, WalkAction_MeasureClosest), 0);
  EXPECT_EQ(layers, (std::vector<int>{2, 3, 4})) << "action 15 stops at the first layer giving 0";

  // One pass with the single-inner-layer bit.
  layers.clear();
  flagsSeen.clear();
  window->ViewFlags = kViewSingleInnerLayer;
  static std::uint32_t fillSeen;
  WalkHandlers.drawWalkedEntity = [](const pl3::Transform*, Tower*, void*, std::uint8_t, std::uint8_t,
                                     std::int32_t*) {
    layers.push_back(ActiveWindowData->DrawingLayer);
    flagsSeen.push_back(ActiveWindowData->WalkFlags);
    fillSeen = pl3::g_raster.fillValue;
    return 5;
  };
  pl3::g_raster.fillValue = 0xABCDu;  // the drawing colour in force
  EXPECT_EQ(DrawPadStackLayer(nullptr, entry, &pl3::kIdentityTransform, 0), 5);
  ASSERT_EQ(layers.size(), 1u);
  EXPECT_EQ(flagsSeen[0] & (kWalkInnerLayersOnePass | 0x4u), kWalkInnerLayersOnePass | 0x4u);
  EXPECT_EQ(fillSeen, 0xABCDu);
  EXPECT_EQ(pl3::g_raster.fillValue, 0xABCDu);
  EXPECT_EQ(window->WalkFlags, 0u);
}

TEST_F(PadStacks, LayerEntriesByEditorKind) {
  MakeDefinition();
  Tower* stack = MakeStack(1);
  Tower* plain = AddLayer(stack, 16, 0, lastShape);
  Tower* inner = AddLayer(stack, 1, kPadLayerAllInner, lastShape);
  static std::vector<int> layers;
  WalkHandlers.drawWalkedEntity = [](const pl3::Transform*, Tower*, void*, std::uint8_t, std::uint8_t,
                                     std::int32_t*) {
    layers.push_back(ActiveWindowData->DrawingLayer);
    return 1;
  };
  static int enabledLayer;
  symbolfakes::Hook().isLayerEnabled = [](std::uint8_t layer, std::uint8_t) { return layer == enabledLayer ? 1 : 0; };
  struct Case {
    std::uint32_t kind;
    const Tower* entry;
    int enabled;
    std::uint8_t bottom;
    std::vector<int> expected;
    std::int32_t result;
  };
  const Case cases[] = {
      {kEditorPcb, plain, 16, 32, {16}, 1},
      {kEditorPcb, plain, 3, 32, {}, -1},            // layer not enabled
      {kEditorPcbSymbol, inner, 0, 32, {2}, 1},
      {kEditorPcbSymbol, inner, 0, 2, {}, -1},       // the bottom copper layer is layer 2
      {kEditorPcbSymbol, plain, 0, 32, {16}, 1},
      {kEditorPadStack, inner, 0, 32, {1}, 1},
      {kEditorShape, plain, 16, 32, {}, -1},
  };
  for (const Case& c : cases) {
    layers.clear();
    window->editorKind = c.kind;
    window->BottomLayer = c.bottom;
    enabledLayer = c.enabled;
    EXPECT_EQ(DrawPadStackLayer(nullptr, c.entry, &pl3::kIdentityTransform, 0), c.result) << "kind " << c.kind;
    EXPECT_EQ(layers, c.expected) << "kind " << c.kind;
  }
  // Action 30 copies without a layer and its result is not taken.
  layers.clear();
  window->editorKind = kEditorPcb;
  window->DrawingLayer = 9;
  WalkHandlers.addEntityToInsertion = WalkHandlers.drawWalkedEntity;
  EXPECT_EQ(DrawPadStackLayer(nullptr, plain, &pl3::kIdentityTransform, WalkAction_CopyToGhostParent), -1);
  EXPECT_EQ(layers, (std::vector<int>{9}));
}

TEST_F(PadStacks, MissingShapeReportsAndLeavesTheWindow) {
  MakeDefinition();
  Tower* stack = MakeStack(1);
  Tower* stray = Own(InsertEntity(design, 0, Type_ShapeDefinition, nullptr));
  Tower* entry = AddLayer(stack, 1, 0, stray);
  window->WalkFlags = 0x40;
  EXPECT_EQ(DrawPadStackLayer(nullptr, entry, &pl3::kIdentityTransform, 0), -1);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Error - Shape not found");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "DrawPadStackLayer");
  EXPECT_EQ(window->WalkFlags, 0x40u);
}

TEST_F(PadStacks, OtherSidePadTogglesTheViewBitForItsWalkOnly) {
  MakeDefinition();
  Tower* stack = MakeStack(1);
  AddLayer(stack, 1, 0, lastShape);
  Insert(stack, Type_Track, 99);  // drawn with the stack's own walk flags
  const std::uint32_t options = 1;
  Put(stack, kTypePadStackOptions, options);
  Tower* pad = AddPad(stack, 1, 1, 100, 0);
  static std::vector<std::uint32_t> viewSeen, walkSeen;
  static std::vector<const std::uint8_t*> infoSeen;
  static std::uint32_t smdSeen;
  viewSeen.clear();
  walkSeen.clear();
  infoSeen.clear();
  WalkHandlers.drawWalkedEntity = [](const pl3::Transform* t, Tower* e, void*, std::uint8_t, std::uint8_t,
                                     std::int32_t*) {
    EXPECT_EQ(t->tx, 100) << "the pad's own transform is composed";
    if (TagOf(TowerEntity(e)) != 99) return 1;
    viewSeen.push_back(ActiveWindowData->ViewFlags);
    walkSeen.push_back(ActiveWindowData->WalkFlags);
    infoSeen.push_back(ActiveWindowData->CurrentPadStackInfo);
    smdSeen = SurfaceMountPadFlag;
    return 1;
  };
  window->ViewFlags = kViewOtherSide | 0x40;
  window->WalkFlags = 0x2;
  Tower* info = ChildOn(pad, Type_PadStackInfo);
  EXPECT_EQ(ProcessFoundPadStackInfo(nullptr, info, &pl3::kIdentityTransform, 0), 1);
  ASSERT_EQ(viewSeen.size(), 1u);
  EXPECT_EQ(viewSeen[0], 0x40u) << "the other-side bit is toggled";
  EXPECT_EQ(smdSeen, 1u);
  EXPECT_EQ(infoSeen[0], TowerPayload(info));
  EXPECT_EQ(window->ViewFlags, kViewOtherSide | 0x40) << "and restored";
  EXPECT_EQ(window->WalkFlags, 0x2u);
  EXPECT_EQ(window->CurrentPadStackInfo, nullptr);

  // Actions 32 and 33 heed the stack's options: bit 0 clears walk bit 0.
  walkSeen.clear();
  ProcessFoundPadStackInfo(nullptr, info, &pl3::kIdentityTransform, 0);
  ProcessFoundPadStackInfo(nullptr, info, &pl3::kIdentityTransform, 32);
  ASSERT_EQ(walkSeen.size(), 2u);
  EXPECT_TRUE(walkSeen[0] & kWalkInPadStack);
  EXPECT_FALSE(walkSeen[1] & kWalkInPadStack);
  EXPECT_TRUE(walkSeen[1] & 0x2u) << "bit 1 of the options is clear";
}

TEST_F(PadStacks, PadInfoOutsideASymbolReports) {
  Tower* stack = MakeStack(1, {0, 0, 10, 20}, 7, design);
  Tower* pad = AddPad(stack, 1, 0, 0, 0, design);
  window->ViewFlags = 0x40;
  Tower* info = ChildOn(pad, Type_PadStackInfo);
  EXPECT_EQ(ProcessFoundPadStackInfo(nullptr, info, &pl3::kIdentityTransform, 0), 0);
  EXPECT_EQ(GetPadStackDef(pad), nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 2u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Internal Error - unable to get Symbol Def parent tower");
  EXPECT_EQ(pl3::ResponderRecords()[1].text, "Unable to locate parent symbol");
  EXPECT_EQ(window->ViewFlags, 0x40u);
  EXPECT_EQ(window->WalkFlags, 0u);
}

TEST_F(PadStacks, LayerRangeFollowsTheSide) {
  MakeDefinition();
  window->layerTable.layers[1].oppositeLayer = 32;
  window->layerTable.layers[32].oppositeLayer = 1;
  window->layerTable.layers[5].oppositeLayer = 28;
  Tower* stack = MakeStack(1);
  AddLayer(stack, 1, 0, lastShape);
  AddLayer(stack, 5, 0, lastShape);
  Tower* top = AddPad(stack, 1, 0);
  Tower* bottom = AddPad(stack, 2, 1);
  Tower* empty = AddPad(MakeStack(1), 3);
  EXPECT_EQ(GetPadLowestLayer(top), 1);
  EXPECT_EQ(GetPadHighestLayer(top), 5);
  EXPECT_EQ(GetPadLowestLayer(bottom), 28);
  EXPECT_EQ(GetPadHighestLayer(ChildOn(bottom, Type_PadStackInfo)), 32);
  EXPECT_EQ(GetPadLowestLayer(empty), 255);
  EXPECT_EQ(GetPadHighestLayer(empty), 0);
}

TEST_F(PadStacks, LayerRangeMapsEverySurfaceCode) {
  // Codes 1, 2 and 32 are the window's top, bottom and every copper layer;
  // each layer of the stack counts, not only its lowest and highest code.
  MakeDefinition();
  struct Case {
    std::vector<std::uint8_t> layers;
    std::uint8_t low, high;
  };
  const Case cases[] = {
      {{1, 2, 5}, 3, 30},  // the bottom code lies between the others
      {{5, 7}, 5, 7},
      {{1}, 3, 3},
      {{2}, 30, 30},
      {{32}, 3, 30},
      {{9, 32}, 3, 30},
  };
  std::uint32_t xref = 1;
  for (const Case& c : cases) {
    Tower* stack = MakeStack(1);
    for (const std::uint8_t layer : c.layers) AddLayer(stack, layer, 0, lastShape);
    Tower* pad = AddPad(stack, xref++);
    std::uint8_t low = 0, high = 0;
    ASSERT_EQ(GetPadStackLayerRange(pad, 3, 30, &low, &high), 1);
    EXPECT_EQ(low, c.low) << "layers from " << int(c.layers[0]);
    EXPECT_EQ(high, c.high) << "layers from " << int(c.layers[0]);
  }
  std::uint8_t low = 77, high = 77;
  EXPECT_EQ(GetPadStackLayerRange(AddPad(MakeStack(1), xref), 3, 30, &low, &high), 0);
  EXPECT_EQ(low, 77) << "a pad without layers leaves the range alone";
  EXPECT_EQ(high, 77);
}

TEST_F(PadStacks, BoxesAndMoves) {
  MakeDefinition();
  Tower* stack = MakeStack(1, {0, 0, 10, 20});
  Tower* entry = AddLayer(stack, 1, 0, lastShape);
  Tower* pad = AddPad(stack, 1, 0, 1000, 2000);
  pl3::Box box{};
  ASSERT_NE(GetPadStackInstanceBox(pad, &box), nullptr);
  EXPECT_EQ(box.xmin, 1000);
  EXPECT_EQ(box.ymax, 2020);
  std::uint8_t* info = OffsetPadStackInfo(pad, {5, -5});
  ASSERT_NE(info, nullptr);
  ASSERT_NE(GetPadStackInstanceBox(pad, &box), nullptr);
  EXPECT_EQ(box.xmin, 1005);
  EXPECT_EQ(box.ymax, 2015);

  Tower* orphan = AddPad(nullptr, 2);
  box = {1, 1, 1, 1};
  EXPECT_EQ(GetPadStackInstanceBox(orphan, &box), nullptr);
  EXPECT_EQ(box.xmin, 1);

  symbolfakes::Hook().getBox = [](const Tower* t, pl3::Box* b) {
    EXPECT_EQ(LastLevel(t).typeCode, Type_ShapeDefinition);
    *b = {0, 0, 4, 4};
  };
  const std::int32_t shift[2] = {100, 200};
  std::memcpy(TowerPayload(entry) + 36, shift, sizeof shift);
  ASSERT_EQ(GetPadStackLayerBox(entry, &box), 1);
  EXPECT_EQ(box.xmin, 100);
  EXPECT_EQ(box.ymax, 204);
}

TEST_F(PadStacks, PadPositionByNetIds) {
  Place(100000, 200000);
  Tower* stack = MakeStack(1);  // origin (5, 5)
  AddPad(stack, 1, 0, 1000, 0);
  AddPad(stack, 2, 0, 0, 3000);
  AddPadInstance(1, 1, 2);
  AddPadInstance(2, 3, 4);
  std::int32_t x = -1, y = -1;
  const std::uint32_t second[2] = {3, 4};
  ASSERT_EQ(GetPadPositionByNetIds(second, &x, &y), 1);
  EXPECT_EQ(x, 100005);
  EXPECT_EQ(y, 203005);
  const std::uint32_t none[2] = {1, 4};
  x = y = -1;
  EXPECT_EQ(GetPadPositionByNetIds(none, &x, &y), 0);
  EXPECT_EQ(x, -1);
}

// The pad-stack editor: the edited stack is the design.
class PadStackEditor : public PadStacks {
 protected:
  void SetUp() override {
    PadStacks::SetUp();
    window->editorKind = kEditorPadStack;
    symbolfakes::Hook().findPadStackLayer = [](const Tower* d, std::uint8_t layer) -> Tower* {
      Tower* t = GetChildTower(d, Type_PadStackLayerInfo);
      while (Entity* e = FindNextEntity(t)) {
        if (EntityPayload(e)[4] == layer) {
          LastLevel(t).flags = kLevelLast | kLevelPositioned;
          return t;
        }
      }
      ReleaseTower(&t);
      return nullptr;
    };
  }
  bool Alive(const Tower* shape) {
    Tower* t = GetChildTower(design, Type_ShapeDefinition);
    bool found = false;
    while (Entity* e = FindNextEntity(t)) found = found || e == TowerEntity(shape);
    ReleaseTower(&t);
    return found;
  }
  static std::string CaptionOf(std::uint32_t step) {
    Tower* caption = FindUndoStepCaption(step);
    std::string text = caption ? reinterpret_cast<const char*>(TowerPayload(caption)) : "";
    ReleaseTower(&caption);
    return text;
  }
  int Entries() {
    Tower* t = GetChildTower(design, Type_PadStackLayerInfo);
    int n = 0;
    while (FindNextEntity(t)) ++n;
    ReleaseTower(&t);
    return n;
  }
};

TEST_F(PadStackEditor, DeletingALayerKeepsSharedShapes) {
  Tower* shared = Own(InsertEntity(design, 0, Type_ShapeDefinition, nullptr));
  Tower* kept = Own(InsertEntity(design, 0, Type_ShapeDefinition, nullptr));
  Tower* alone = Own(InsertEntity(design, 0, Type_ShapeDefinition, nullptr));
  AddLayer(design, 1, 0, shared);
  AddLayer(design, 2, 0, shared);
  AddLayer(design, 3, 0, kept);
  AddLayer(design, 4, 0, alone);
  // A deleted entry kept in the undo history still names `kept`.
  Tower* history = Own(InsertEntity(design, 0, 10500, nullptr));
  Tower* step = Own(InsertEntity(history, 0, 10501, nullptr));
  AddLayer(step, 3, 0, kept);
  window->ShapeTower = DuplicateTower(alone);

  EXPECT_EQ(DeletePadStackLayerShape(9, 3), 0) << "no entry on that layer";
  EXPECT_EQ(DeletePadStackLayerShape(1, 3), 1);
  EXPECT_TRUE(Alive(shared)) << "another entry names it";
  EXPECT_EQ(DeletePadStackLayerShape(3, 2), 1);
  EXPECT_TRUE(Alive(kept)) << "the undo history names it";
  EXPECT_EQ(Entries(), 3) << "bit 0 clear keeps the entry";
  EXPECT_EQ(DeletePadStackLayerShape(4, 3), 1);
  EXPECT_FALSE(Alive(alone));
  EXPECT_EQ(window->ShapeTower, nullptr) << "the window's shape Tower was released first";
  EXPECT_EQ(Entries(), 2);
  // Each deleted entry was one undo step of its own.
  EXPECT_EQ(CaptionOf(0), "Delete shape");
  EXPECT_EQ(CaptionOf(1), "Delete shape");
  EXPECT_EQ(window->UndoStep, 2u);
  EXPECT_EQ(DeletePadStackLayerShape(2, 2), 1);
  EXPECT_TRUE(Alive(shared)) << "the deleted layer-1 entry, kept for undo, still names it";
  UndoLastStep();
  UndoLastStep();
  EXPECT_EQ(Entries(), 4) << "the two entries are back";
}

}  // namespace
