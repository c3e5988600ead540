#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "edit/engine_seams.h"
#include "edit/saved_state.h"
#include "edit/window_data.h"
#include "objects/colours.h"
#include "objects/type_codes.h"
#include "objects/window_state.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "store/tower.h"

// The frame's services, recorded.
namespace {
std::vector<std::string> gConsole;
std::uint32_t gCrosshairSetting = 0;
void ResetFakes() {
  gConsole.clear();
  gCrosshairSetting = 0;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetFakes);
}  // namespace

void WriteEngineConsoleLine(const char* text) { gConsole.emplace_back(text); }
std::uint32_t CurrentCrosshairSetting() { return gCrosshairSetting; }

namespace {

Tower* NewDesign(std::uint16_t code) {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = code;
  InsertAtLastLevel(t, 0);
  return t;
}

int CountChildren(const Tower* parent, std::uint16_t code) {
  Tower* child = GetChildTower(parent, code);
  int n = 0;
  while (child && FindNextEntity(child)) ++n;
  ReleaseTower(&child);
  return n;
}

int CountAllChildren(const Tower* parent) {
  Tower* child = GetAllChildrenTower(parent);
  int n = 0;
  while (child && FindNextEntity(child)) ++n;
  ReleaseTower(&child);
  return n;
}

std::uint32_t Word(const std::uint8_t* p, int index = 0) {
  std::uint32_t v;
  std::memcpy(&v, p + 4 * index, 4);
  return v;
}

bool Mentions(const std::string& code) {
  for (const std::string& line : gConsole)
    if (line.find(code) != std::string::npos) return true;
  return false;
}

// A design of the given item type with its Don't Reload Group.
class SavedState : public testing::Test {
 protected:
  void Make(std::uint16_t designCode = Type_PCB) {
    design_ = NewDesign(designCode);
    group_ = InsertEmptyEntity(design_, Type_DontReloadGroup);
  }
  void SetUp() override { Make(); }
  void TearDown() override {
    ReleaseTower(&node_);
    ReleaseTower(&group_);
    if (design_) DeleteEntity(design_);
    ReleaseTower(&design_);
  }
  Tower* Node() {
    ReleaseTower(&node_);
    node_ = OpenChildTower(group_, Type_SavedState);
    return node_;
  }
  std::uint8_t* Record(std::uint16_t code) { return static_cast<std::uint8_t*>(GetEntityData(Node(), code)); }
  void Remove(std::uint16_t code) { DeleteChildEntities(Node(), code); }
  void Replace(std::uint16_t code, std::uint32_t size, const void* data) {
    Remove(code);
    Tower* t = InsertEntity(Node(), size, code, data);
    ReleaseTower(&t);
  }

  // A block whose every stored field holds a value no new block has.
  static void FillDistinct(CurrentWindowData& b) {
    b.editorKind = kEditorPcb;
    b.ClickState = 3;
    b.MousePixel = {12, 34};
    b.Cursor = {1000, 2000};
    b.MouseWorld = {1001, 2001};
    b.HoldScreenPos = {5, 6};
    b.AnchorPoint = {7, 8};
    b.ButtonFlags = 2;
    b.CursorOffset = {-9, -10};
    b.MouseMessagePos = 0x00220011;
    b.SurfaceClip = {0, 0, 99, 49, 100, 50};
    b.EditMode = 39;
    b.InsertType = 17;
    b.CurrentLayer = 4;
    b.AngleAssist = 1;
    b.InsertLocatorKind = 9;
    b.PlacementTransform = {0, 65536, -65536, 0, 10, 20};
    b.layerTable.copperCount = 6;
    b.layerTable.layers[200].planeBit = 0x123456;
    b.LayerWord = 77;
    b.ViewOriginX = -300;
    b.ViewOriginY = 400;
    b.Zoom = 8000;
    b.ViewFlags = 0x2008;
    b.CoordinateOrigin = {123, 456};
    b.CurrentFont = 6;
    b.TextOption = 0x5A;
    b.StateFlags = 0x80008;
    b.RoutingLayer = 11;
    b.TopLayer = 12;
    b.BottomLayer = 13;
    b.OverrideLayer = 14;
    b.LastTrackLayer = 15;
    b.BackgroundIndex = -16;
    b.GhostColour = 0x810000;
    b.WalkHidden = 0;
    b.DragOption = 0;
    b.GridOrigin = {31, 32};
    b.CrosshairPos = {41, 42};
    b.CrosshairWord = 1;
    b.CursorKind = 12;
    b.HitMode = 4;
    b.SelectWord = 5;
    b.HighlightByte = 6;
    b.DisplayWord1 = 8;
    b.DisplayWord2 = 9;
    b.HighlightWord = 10;
    b.ShowWord = 0;
    const std::uint32_t ratsnest[4] = {1, 2, 3, 4};
    std::memcpy(b.RatsnestDisplay, ratsnest, sizeof ratsnest);
    const std::uint32_t menu[5] = {21, 22, 23, 24, 25};
    std::memcpy(b.MenuWords, menu, sizeof menu);
    b.Pcb.Settings[3] = 0xAB;
    b.Pcb.Words[1] = 0xCDEF;
    b.Pcb.LayerExtents[255] = {1, 2, 3, 4};
  }

  Tower* design_ = nullptr;
  Tower* group_ = nullptr;
  Tower* node_ = nullptr;
};

TEST_F(SavedState, WritesEveryCommonRecordAtItsSize) {
  CurrentWindowData b;
  FillDistinct(b);
  WriteSavedState(group_, b);
  ASSERT_NE(Node(), nullptr);
  for (const SavedRecordInfo& r : kCommonSavedRecords) {
    Tower* t = OpenChildTower(Node(), r.code);
    ASSERT_NE(t, nullptr) << r.code;
    EXPECT_EQ(TowerEntity(t)->payloadSize, (r.size + 15u) & ~15u) << r.code;
    EXPECT_EQ(CountChildren(Node(), r.code), 1) << r.code;
    ReleaseTower(&t);
  }
  EXPECT_EQ(CountAllChildren(Node()), kCommonSavedRecordCount + 3);  // and the PCB extension
  EXPECT_EQ(std::memcmp(Record(SavedButtonRecord), &b.Button, 64), 0);
  EXPECT_EQ(Record(SavedBackgroundIndex)[0], 0xF0);
  const std::uint8_t modes[5] = {39, 17, 4, 1, 9};
  EXPECT_EQ(std::memcmp(Record(SavedModeBytes), modes, 5), 0);
  EXPECT_EQ(Word(Record(SavedVersion)), 5u);
  EXPECT_EQ(Word(Record(SavedMenuWord4)), 24u);  // the fourth word under its own code
  // Handles of this run are not stored.
  const std::uint8_t zeros[32] = {};
  EXPECT_EQ(std::memcmp(Record(SavedSurface), zeros, 32), 0);
  // Writing again replaces the old state instead of adding a second.
  WriteSavedState(group_, b);
  EXPECT_EQ(CountChildren(group_, Type_SavedState), 1);
}

TEST_F(SavedState, RoundTripRestoresTheStoredFields) {
  CurrentWindowData saved;
  FillDistinct(saved);
  WriteSavedState(group_, saved);
  CurrentWindowData b;
  ASSERT_EQ(ReadPCBSavedState(group_, b), 1);
  EXPECT_TRUE(gConsole.empty()) << gConsole.front();
  EXPECT_EQ(std::memcmp(&b.Button, &saved.Button, 64), 0);
  EXPECT_EQ(b.ClickState, 3u);
  EXPECT_EQ(b.SurfaceClip.width, 100);
  EXPECT_EQ(b.EditMode, 39);
  EXPECT_EQ(b.InsertType, 17);
  EXPECT_EQ(b.CurrentLayer, 4);
  EXPECT_EQ(b.AngleAssist, 1);
  EXPECT_EQ(b.InsertLocatorKind, 9);
  EXPECT_EQ(b.PlacementTransform.b, 65536);
  EXPECT_EQ(b.PlacementTransform.ty, 20);
  EXPECT_EQ(b.layerTable.copperCount, 6u);
  EXPECT_EQ(b.layerTable.layers[200].planeBit, 0x123456u);
  EXPECT_EQ(b.LayerWord, 77u);
  EXPECT_EQ(b.ViewOriginX, -300);
  EXPECT_EQ(b.ViewOriginY, 400);
  EXPECT_EQ(b.Zoom, 8000u);
  EXPECT_EQ(b.ViewFlags, 0x2008u);
  EXPECT_EQ(b.CoordinateOrigin.y, 456);
  EXPECT_EQ(b.CurrentFont, 6u);
  EXPECT_EQ(b.TextOption, 0x5A);
  EXPECT_EQ(b.StateFlags, 0x80008u);
  EXPECT_EQ(b.RoutingLayer, 11);
  EXPECT_EQ(b.TopLayer, 12);
  EXPECT_EQ(b.BottomLayer, 13);
  EXPECT_EQ(b.OverrideLayer, 14);
  EXPECT_EQ(b.LastTrackLayer, 15);
  EXPECT_EQ(b.BackgroundIndex, -16);  // one byte, sign-extended
  EXPECT_EQ(b.GhostColour, 0x810000u);
  EXPECT_EQ(b.WalkHidden, 0);
  EXPECT_EQ(b.DragOption, 0);
  EXPECT_EQ(b.GridOrigin.x, 31);
  EXPECT_EQ(b.CrosshairPos.y, 42);
  EXPECT_EQ(b.CrosshairWord, 1u);
  EXPECT_EQ(b.CursorKind, 12u);
  EXPECT_EQ(b.HitMode, 4u);
  EXPECT_EQ(b.SelectWord, 5u);
  EXPECT_EQ(b.HighlightByte, 6);
  EXPECT_EQ(b.DisplayWord1, 8u);
  EXPECT_EQ(b.DisplayWord2, 9u);
  EXPECT_EQ(b.HighlightWord, 10u);
  EXPECT_EQ(b.ShowWord, 0);
  EXPECT_EQ(std::memcmp(b.RatsnestDisplay, saved.RatsnestDisplay, 16), 0);
  EXPECT_EQ(std::memcmp(b.MenuWords, saved.MenuWords, 20), 0);
  EXPECT_EQ(b.Pcb.Settings[3], 0xAB);
  EXPECT_EQ(b.Pcb.Words[1], 0xCDEFu);
  EXPECT_EQ(b.Pcb.LayerExtents[255].ymax, 4);
  EXPECT_EQ(b.editorKind, kEditorPcb);
}

TEST_F(SavedState, ZoomIsHeldToItsLimitAndZeroIsRefused) {
  CurrentWindowData saved;
  WriteSavedState(group_, saved);
  const std::uint32_t big = 1500000;
  Replace(SavedZoom, 4, &big);
  CurrentWindowData b;
  ASSERT_EQ(ReadSavedState(group_, b), 1);
  EXPECT_EQ(b.Zoom, 1024000u);

  const std::uint32_t zero = 0;
  Replace(SavedZoom, 4, &zero);
  CurrentWindowData c;
  c.Zoom = 4000;
  ASSERT_EQ(ReadSavedState(group_, c), 1);
  EXPECT_EQ(c.Zoom, 4000u);
  ASSERT_EQ(gConsole.size(), 1u);
  EXPECT_TRUE(Mentions("20013"));
}

TEST_F(SavedState, MissingOptionalRecordsTakeTheirDefaults) {
  CurrentWindowData saved;
  FillDistinct(saved);
  WriteSavedState(group_, saved);
  for (std::size_t k = 25; k < kCommonSavedRecordCount; ++k) Remove(kCommonSavedRecords[k].code);
  CurrentWindowData b;
  FillDistinct(b);
  ASSERT_EQ(ReadSavedState(group_, b), 1);
  EXPECT_TRUE(gConsole.empty());
  EXPECT_EQ(b.HitMode, 1u);
  EXPECT_EQ(b.SelectWord, 1u);
  EXPECT_EQ(b.DisplayWord1, 7u);
  EXPECT_EQ(b.DisplayWord2, 0u);
  EXPECT_EQ(b.ShowWord, 1);
  EXPECT_EQ(b.HighlightByte, 0);
  EXPECT_EQ(b.HighlightWord, 0u);
  const std::uint32_t ratsnest[4] = {11, 100, 250, 5};
  EXPECT_EQ(std::memcmp(b.RatsnestDisplay, ratsnest, 16), 0);
  const std::uint32_t menu[5] = {0, 0, 0, 1, 1};
  EXPECT_EQ(std::memcmp(b.MenuWords, menu, 20), 0);
}

TEST_F(SavedState, MissingOrShortRequiredRecordKeepsTheBlockValueAndSaysWhich) {
  CurrentWindowData saved;
  FillDistinct(saved);
  WriteSavedState(group_, saved);
  Remove(SavedViewOriginX);
  const std::uint8_t shortLayers[16] = {};
  Replace(SavedLayers, sizeof shortLayers, shortLayers);
  CurrentWindowData b;
  b.ViewOriginX = 55;
  b.layerTable.copperCount = 3;
  ASSERT_EQ(ReadSavedState(group_, b), 1);
  EXPECT_EQ(b.ViewOriginX, 55);
  EXPECT_EQ(b.layerTable.copperCount, 3u);
  EXPECT_EQ(b.ViewOriginY, 400);  // the rest still reads
  EXPECT_EQ(gConsole.size(), 2u);
  EXPECT_TRUE(Mentions("20011"));
  EXPECT_TRUE(Mentions("20007"));
}

TEST_F(SavedState, NoStateOrNoVersionReadsNothing) {
  CurrentWindowData b;
  EXPECT_EQ(ReadSavedState(group_, b), 0);
  WriteSavedState(group_, b);
  Remove(SavedVersion);
  EXPECT_EQ(ReadSavedState(group_, b), 0);
  EXPECT_EQ(ReadPCBSavedState(group_, b), 0);
  DeleteSavedState(group_);
  EXPECT_EQ(CountChildren(group_, Type_SavedState), 0);
  EXPECT_EQ(ReadShapeSavedState(group_, b), 0);
}

// A state as an older layout stored it: version v, and a 4-byte mode record.
class SavedStateUpgrade : public SavedState {
 protected:
  void StoreLayout(std::uint32_t version) {
    CurrentWindowData saved;
    FillDistinct(saved);
    WriteSavedState(group_, saved);
    Replace(SavedVersion, 4, &version);
    const std::uint8_t modes[4] = {39, 17, 4, 1};
    Replace(SavedModeBytes, 4, modes);
    if (version < 4) Remove(SavedHitMode);
    if (version < 2) Remove(SavedCrosshair);
  }
};

TEST_F(SavedStateUpgrade, LayoutFourGainsAFiveByteModeRecordBesideTheOld) {
  StoreLayout(4);
  CurrentWindowData b;
  b.InsertLocatorKind = 7;
  ASSERT_EQ(ReadSavedState(group_, b), 1);
  EXPECT_EQ(CountChildren(Node(), SavedModeBytes), 2);
  const std::uint8_t* newest = Record(SavedModeBytes);
  EXPECT_EQ(newest[0], 39);
  EXPECT_EQ(newest[3], 1);
  EXPECT_EQ(newest[4], 0);
  EXPECT_EQ(b.InsertLocatorKind, 0);
  EXPECT_EQ(b.EditMode, 39);
  EXPECT_EQ(b.Version, 5u);
  EXPECT_EQ(Word(Record(SavedVersion)), 5u);
  // The second open finds layout 5 and adds nothing.
  const int children = CountAllChildren(Node());
  CurrentWindowData again;
  ASSERT_EQ(ReadSavedState(group_, again), 1);
  EXPECT_EQ(CountAllChildren(Node()), children);
}

TEST_F(SavedStateUpgrade, LayoutTwoGainsTheColourRecordsAndHitMode) {
  StoreLayout(2);
  CurrentWindowData b;
  ASSERT_EQ(ReadSavedState(group_, b), 1);
  const std::uint32_t expected[16] = {0x00FF0000, 0x000000FF, 0x0000FF00, 0x00FFFF00, 0x00FF00FF, 0x0000FFFF,
                                      0x007A5891, 0x0058917A, 0x00FF1393, 0x001413BC, 0x00780016, 0x00FFD4AA,
                                      0x0009A364, 0x00F101E1, 0x00F1DDE1, 0x00F8E2AA};
  ASSERT_NE(Record(SavedLayerColours), nullptr);
  EXPECT_EQ(std::memcmp(Record(SavedLayerColours), expected, 64), 0);
  ASSERT_NE(Record(SavedDefaultColours), nullptr);
  EXPECT_EQ(Word(Record(SavedHitMode)), 1u);
  EXPECT_EQ(b.HitMode, 1u);
  EXPECT_EQ(CountChildren(Node(), SavedCrosshair), 1);  // layout 2 already had it
  EXPECT_EQ(CountChildren(Node(), SavedModeBytes), 2);
}

TEST_F(SavedStateUpgrade, LayoutOneGainsTheCrosshairRecordFromTheSetting) {
  gCrosshairSetting = 1;
  StoreLayout(1);
  CurrentWindowData b;
  ASSERT_EQ(ReadSavedState(group_, b), 1);
  ASSERT_EQ(CountChildren(Node(), SavedCrosshair), 1);
  EXPECT_EQ(Word(Record(SavedCrosshair), 2), 1u);
  EXPECT_EQ(b.CrosshairWord, 1u);
  EXPECT_EQ(CountChildren(Node(), SavedHitMode), 1);
  EXPECT_TRUE(gConsole.empty());
}

TEST_F(SavedStateUpgrade, UnknownLayoutsAreNotUpgradedButStillRead) {
  for (std::uint32_t version : {0u, 99u}) {
    StoreLayout(version);
    const int children = CountAllChildren(Node());
    CurrentWindowData b;
    gConsole.clear();
    ASSERT_EQ(ReadSavedState(group_, b), 1);
    EXPECT_EQ(CountAllChildren(Node()), children);
    EXPECT_EQ(b.Version, 5u);
    EXPECT_EQ(b.ViewOriginY, 400);
    EXPECT_TRUE(Mentions("10002"));
  }
}

TEST_F(SavedState, ReadingTakesTheKindOfTheDesignNotOfTheSavedState) {
  TearDown();
  Make(Type_ShapeDefinition);
  CurrentWindowData saved;
  FillDistinct(saved);  // written by a PCB window
  WriteSavedState(group_, saved);
  CurrentWindowData b;
  ASSERT_EQ(ReadShapeSavedState(group_, b), 1);
  EXPECT_EQ(b.editorKind, kEditorShape);
}

TEST(DocumentKind, ByTheItemTypeAboveTheLevel) {
  const struct {
    std::uint16_t code;
    std::uint32_t kind;
  } cases[] = {{102, 1}, {109, 2}, {105, 4}, {115, 8}, {25, 16}, {103, 32}, {104, 32}, {11006, 64}, {106, 0}};
  for (const auto& c : cases) {
    Tower* design = NewDesign(c.code);
    Tower* group = InsertEmptyEntity(design, Type_DontReloadGroup);
    EXPECT_EQ(GetDocumentKindOfTower(group), c.kind) << c.code;
    EXPECT_EQ(GetDocumentKindOfTower(design), 0u);
    ReleaseTower(&group);
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  EXPECT_EQ(GetDocumentKindOfTower(nullptr), 0u);
}

// The Retrieve operations.
class Retrieve : public SavedState {
 protected:
  void TearDown() override {
    if (block_) {
      FreeWindowData(*block_);
      delete block_;
    }
    SavedState::TearDown();
  }
  CurrentWindowData* block_ = nullptr;
};

TEST_F(Retrieve, WithoutTheGroupTellsTheUserUnderTheOperationsName) {
  DeleteChildEntities(design_, Type_DontReloadGroup);
  ReleaseTower(&group_);
  const struct {
    CurrentWindowData* (*retrieve)(void*, Tower*);
    const char* text;
    const char* caption;
  } cases[] = {
      {&RetrievePCBData, "Error - Don't reload tower not  found", "RetrievePCBData"},
      {&RetrieveShapeData, "Error - don't reload tower not  found", "RetrieveShapeData"},
      {&RetrievePadStackData, "Error - don't reload tower not  found", "RetrievePadStackData"},
      {&RetrieveSymbolData, "Error - don't reload tower not  found", "RetrieveSymbolData"},
      {&RetrieveSchematicSymbolData, "Error - don't reload tower not  found", "RetrieveSchematicSymbolData"},
  };
  for (const auto& c : cases) {
    pl3::ClearResponderRecords();
    EXPECT_EQ(c.retrieve(nullptr, design_), nullptr);
    ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
    EXPECT_EQ(pl3::ResponderRecords()[0].text, c.text);
    EXPECT_EQ(pl3::ResponderRecords()[0].caption, c.caption);
    EXPECT_TRUE(pl3::ResponderRecords()[0].flags & MB_ICONEXCLAMATION);
    EXPECT_TRUE(pl3::ResponderRecords()[0].flags & MB_SYSTEMMODAL);
  }
}

TEST_F(Retrieve, WithoutASavedStateReportsTheReadFailure) {
  EXPECT_EQ(RetrievePadStackData(nullptr, design_), nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Error retrieving saved state");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "RetrievePadStackData");
}

TEST_F(Retrieve, PcbTakesThePrintZoneOrNone) {
  CurrentWindowData saved;
  FillDistinct(saved);
  saved.editorKind = kEditorShape;  // no surface is made for the test window
  WriteSavedState(group_, saved);
  block_ = RetrievePCBData(nullptr, design_);
  ASSERT_NE(block_, nullptr);
  EXPECT_EQ(block_->PrintZone.xmin, -1);
  EXPECT_EQ(block_->PrintZone.xmax, -1);
  EXPECT_EQ(block_->PrintZone.ymin, -1);
  EXPECT_EQ(block_->PrintZone.ymax, -1);
  EXPECT_EQ(block_->design, design_);
  EXPECT_EQ(block_->Zoom, 8000u);
  EXPECT_EQ(block_->editorKind, kEditorPcb);
  FreeWindowData(*block_);
  delete block_;
  block_ = nullptr;

  const pl3::Box zone{10, 20, 30, 40};
  Tower* t = InsertEntity(design_, sizeof zone, Type_PrintZone, &zone);
  ReleaseTower(&t);
  block_ = RetrievePCBData(nullptr, design_);
  ASSERT_NE(block_, nullptr);
  EXPECT_EQ(block_->PrintZone.xmin, 10);
  EXPECT_EQ(block_->PrintZone.ymax, 40);
}

}  // namespace
