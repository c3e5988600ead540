#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/settings_block.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/graphic_records.h"
#include "objects/layer_sets.h"
#include "objects/size_files.h"
#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "objects/window_state.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "store/tower.h"
#include "tests/support/test_paths.h"

// The drawing code's grid sets: each a distinct marker, each release recorded.
namespace {
int gDefaultGrids = 0;
int gDesignGrids = 0;
std::vector<void*> gFreedGrids;
void ResetGridFakes() { gFreedGrids.clear(); }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetGridFakes);
}  // namespace

void* CopyDefaultGridList() { return &gDefaultGrids; }
void* RetrieveGridInfo(const Tower*) { return &gDesignGrids; }
void FreeGridInfo(void* grids) {
  if (grids) gFreedGrids.push_back(grids);
}

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

// A settings block whose size files the test names; freed with the test.
class WindowState : public testing::Test {
 protected:
  void SetUp() override {
    Settings = static_cast<SettingsBlock*>(std::calloc(1, sizeof(SettingsBlock)));
    dir_ = pl3test::MakeTempDir("window_state");
  }
  void TearDown() override {
    FreeWindowData(block_);
    ReleaseTower(&design_);
    FreeSettings(Settings);
    Settings = nullptr;
  }
  // A size file with every list of the kind's built-in text except `dropped`.
  char* SizeFileWithout(std::uint32_t kind, std::uint32_t dropped) {
    const char* builtIn = DefaultSizeText(kind);
    auto table = ParseSizeText(builtIn, std::strlen(builtIn));
    std::string text;
    for (std::uint32_t k = 0; k < kSizeKindCount; ++k)
      if (k != dropped) WriteSizeSection(text, *table, k);
    const std::string path = dir_ + "/sizes" + std::to_string(kind) + ".p3s";
    pl3test::WriteFileBytes(path, text);
    return strdup(path.c_str());
  }
  void Open(std::uint32_t kind) {
    design_ = NewDesign(Type_PCB);
    block_.editorKind = kind;
    block_.design = design_;
    InitialiseWindowData(&window_, block_);
  }
  std::string dir_;
  int window_ = 0;
  Tower* design_ = nullptr;
  CurrentWindowData block_{};
};

TEST_F(WindowState, StartValuesCopyTheActiveWindowAndMakeTheDontReloadGroup) {
  CurrentWindowData active{};
  active.CurrentLayer = 33;
  active.Zoom = 64000;
  ActiveWindowData = &active;
  block_.Version = 9;
  block_.EditMode = 12;
  block_.GhostColour = 0;
  block_.StateFlags = 0xFF;
  block_.DragFlags = 1;
  block_.HitMode = 0;
  Open(kEditorPcb);
  EXPECT_EQ(block_.Version, 5u);
  EXPECT_EQ(block_.EditMode, 0);
  EXPECT_EQ(block_.InsertType, 1);
  EXPECT_EQ(block_.AngleAssist, 2);
  EXPECT_EQ(block_.CurrentLayer, 33);
  EXPECT_EQ(block_.Zoom, 64000u);
  EXPECT_EQ(block_.StateFlags, 0u);
  EXPECT_EQ(block_.GhostColour, 0x800000u);
  EXPECT_EQ(block_.HitMode, 1u);
  EXPECT_EQ(block_.DragFlags, 2) << "the reset runs last";
  EXPECT_EQ(block_.RatsnestDisplay[0], 3u);
  EXPECT_EQ(block_.RatsnestDisplay[3], 5u);
  EXPECT_EQ(block_.Window, &window_);
  EXPECT_EQ(block_.Grids, &gDefaultGrids);
  EXPECT_EQ(block_.sizeTable, nullptr) << "no size file set";
  EXPECT_EQ(CountChildren(design_, Type_DontReloadGroup), 1);
  // A screen-sized surface, attached to the raster kernel.
  ASSERT_NE(block_.Surface.plane, nullptr);
  EXPECT_EQ(block_.Surface.width, static_cast<std::uint32_t>(GetSystemMetrics(SM_CXSCREEN)));
  EXPECT_EQ(pl3::g_raster.plane, block_.Surface.plane);
  EXPECT_EQ(pl3::g_raster.clip, &block_.SurfaceClip);
  EXPECT_EQ(block_.SurfaceClip.width, static_cast<std::int32_t>(block_.Surface.width));
}

int gBusyWhenBoxShown = -1;
int RecordBusyCount(HWND, const char*, const char*, UINT) {
  gBusyWhenBoxShown = ProgramBusyCount;
  return IDOK;
}

TEST_F(WindowState, SurfaceIsBuiltWithTheBusyCounterRaised) {
  // A screen too large for any surface: the window opens without one, and
  // the failure is reported while the counter is still raised.
  pl3::SetScreenSize(1 << 20, 1 << 20);
  pl3::SetMessageBoxBackend(&RecordBusyCount);
  Open(kEditorPcb);
  pl3::SetMessageBoxBackend(nullptr);
  EXPECT_EQ(block_.Surface.plane, nullptr);
  EXPECT_EQ(gBusyWhenBoxShown, 1);
  EXPECT_EQ(ProgramBusyCount, 0);
  // A successful build lowers it again too.
  pl3::SetScreenSize(320, 200);
  AttachTowerToWindowData(nullptr, block_, design_, 0);
  EXPECT_NE(block_.Surface.plane, nullptr);
  EXPECT_EQ(block_.Surface.width, 320u);
  EXPECT_EQ(ProgramBusyCount, 0);
  {
    const BusyScope outer;
    const BusyScope inner;
    EXPECT_EQ(ProgramBusyCount, 2);
  }
  EXPECT_EQ(ProgramBusyCount, 0);
}

TEST_F(WindowState, PadStackFileWithoutHolesTakesTheBuiltInHoles) {
  Settings->PadStackSizeFile = SizeFileWithout(kEditorPadStack, SizeKind_Holes);
  Open(kEditorPadStack);
  ASSERT_NE(block_.sizeTable, nullptr);
  const char* builtIn = DefaultSizeText(kEditorPadStack);
  auto expected = ParseSizeText(builtIn, std::strlen(builtIn));
  EXPECT_EQ((*block_.sizeTable)[SizeKind_Holes].count(), (*expected)[SizeKind_Holes].count());
  EXPECT_GT((*block_.sizeTable)[SizeKind_Holes].count(), 0u);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text,
            "Size file is not valid for this editor, file is missing the following: Holes, using internal default "
            "sizes instead.");
}

TEST_F(WindowState, SchematicNeverMissesItsDots) {
  Settings->SchematicSizeFile = SizeFileWithout(kEditorSchematic, SizeKind_Dots);
  Open(kEditorSchematic);
  ASSERT_NE(block_.sizeTable, nullptr);
  EXPECT_EQ((*block_.sizeTable)[SizeKind_Dots].count(), 2u);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(WindowState, KindsWithoutSizesGetNoTable) {
  Settings->PCBSizeFile = strdup((dir_ + "/none.p3s").c_str());
  Open(kEditorPackage);
  EXPECT_EQ(block_.sizeTable, nullptr);
  EXPECT_EQ(block_.Surface.plane, nullptr) << "a package view draws through its own";
  FreeWindowData(block_);
  ReleaseTower(&design_);
  Open(kEditorPcb);
  ASSERT_NE(block_.sizeTable, nullptr) << "an unreadable file gives the built-in text";
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(WindowState, AttachWithoutStoredSizesKeepsTheTableAndSays) {
  Settings->PCBSizeFile = strdup((dir_ + "/none.p3s").c_str());
  Open(kEditorPcb);
  SizeTable* initial = block_.sizeTable;
  block_.StateFlags = kStateLayerOverride | 4;
  block_.PendingClose = 1;
  AttachTowerToWindowData(nullptr, block_, design_, 0);
  EXPECT_EQ(block_.sizeTable, initial);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Could not load new size table!");
  EXPECT_EQ(block_.StateFlags, 4u);
  EXPECT_EQ(block_.PendingClose, 0);
  EXPECT_EQ(block_.ClickState, 1u);
  EXPECT_EQ(block_.Grids, &gDesignGrids);
  EXPECT_EQ(gFreedGrids, std::vector<void*>{&gDefaultGrids});
}

TEST_F(WindowState, AttachTakesStoredSizesAndMaskRecords) {
  Settings->PCBSizeFile = strdup((dir_ + "/none.p3s").c_str());
  Open(kEditorPcb);
  Tower* group = GetChildTower(design_, Type_DontReloadGroup);
  ASSERT_NE(FindNextEntity(group), nullptr);
  const char text[] = "[Lines]\r\n\"0.1\" \"mm\" \"\" \"Y\" \"stored\"\r\n";
  Tower* record = InsertEntity(group, sizeof text, Type_SizeTableRecord, text);
  ReleaseTower(&record);
  ReleaseTower(&group);
  const std::uint32_t whole[2] = {1, 0xABCD};
  Tower* a = InsertEntity(design_, sizeof whole, Type_CompletionMaskA, whole);
  ReleaseTower(&a);
  CompletionMaskWords[1] = 99;

  AttachTowerToWindowData(nullptr, block_, design_, 0);
  ASSERT_NE(block_.sizeTable, nullptr);
  ASSERT_EQ((*block_.sizeTable)[SizeKind_Lines].count(), 1u);
  EXPECT_STREQ((*block_.sizeTable)[SizeKind_Lines].entries[0].name, "stored");
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  EXPECT_EQ(CompletionMaskWords[0], 0xABCDu);
  EXPECT_EQ(CompletionMaskWords[1], 99u) << "no 10316: the word stays";
}

TEST_F(WindowState, AttachKeepingReadsNothing) {
  Open(kEditorPcb);
  AttachTowerToWindowData(nullptr, block_, design_, 1);
  EXPECT_EQ(block_.Grids, nullptr);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  EXPECT_EQ(block_.ClickState, 1u);
}

TEST(DrawingState, RestoreGivesBackZoomOriginAndRasterWords) {
  CurrentWindowData active{};
  ActiveWindowData = &active;
  pl3::ViewClip clip{0, 0, 99, 49, 100, 50};
  pl3::g_raster.clip = &clip;
  active.Zoom = 32000;
  active.ViewOriginX = 11;
  active.ViewOriginY = -12;
  active.StateFlags = 5;
  pl3::g_raster.viewFactor = 0xFFFFFFFFu / 32000;
  pl3::g_raster.fillValue = 0x40;
  CurrentDrawingColour = 0x123456;
  const DrawingState saved = SaveDrawingState();

  active.Zoom = 1000;
  active.ViewOriginX = active.ViewOriginY = 0;
  active.StateFlags = 0;
  clip = {0, 0, 9, 9, 10, 10};
  pl3::g_raster.viewFactor = 7;
  pl3::g_raster.fillValue = 0;
  CurrentDrawingColour = 0;
  RestoreDrawingState(saved);

  EXPECT_EQ(active.Zoom, 32000u);
  EXPECT_EQ(active.ViewOriginX, 11);
  EXPECT_EQ(active.ViewOriginY, -12);
  EXPECT_EQ(active.StateFlags, 5u);
  EXPECT_EQ(clip.xmax, 99);
  EXPECT_EQ(clip.ymax, 49);
  EXPECT_EQ(pl3::g_raster.viewFactor, 0xFFFFFFFFu / 32000);
  EXPECT_EQ(pl3::g_raster.fillValue, 0x40u);
  EXPECT_EQ(CurrentDrawingColour, 0x123456u);
  pl3::g_raster.clip = nullptr;
}

}  // namespace

namespace {

TEST(DrawingContext, RestoreGivesBackZoomOriginLayersAndSurface) {
  CurrentWindowData active{};
  BuildDefaultLayerTable(active.layerTable, kEditorPcb);
  ActiveWindowData = &active;
  active.Zoom = 16000;
  active.ViewOriginX = 5;
  active.ViewOriginY = 6;
  std::uint32_t plane[4] = {};
  pl3::g_raster.plane = plane;
  pl3::g_raster.width = 2;
  pl3::g_raster.height = 2;
  pl3::g_raster.viewFactor = 0xFFFFFFFFu / 16000;
  DrawingContext saved{};
  SaveDrawingContext(&saved);

  active.Zoom = 500;
  active.ViewOriginX = active.ViewOriginY = 0;
  active.layerTable.layers[1].flags = 0;
  std::strcpy(active.layerTable.layers[1].name, "changed");
  pl3::g_raster.plane = nullptr;
  pl3::g_raster.width = 640;
  pl3::g_raster.viewFactor = 1;
  RestoreDrawingContext(&saved);

  EXPECT_EQ(active.Zoom, 16000u);
  EXPECT_EQ(active.ViewOriginX, 5);
  EXPECT_EQ(active.ViewOriginY, 6);
  EXPECT_NE(active.layerTable.layers[1].flags, 0u);
  EXPECT_STREQ(active.layerTable.layers[1].name, "Top Layer");
  EXPECT_EQ(pl3::g_raster.plane, plane);
  EXPECT_EQ(pl3::g_raster.width, 2u);
  EXPECT_EQ(pl3::g_raster.viewFactor, 0xFFFFFFFFu / 16000);
  pl3::g_raster.plane = nullptr;
  pl3::g_raster.width = pl3::g_raster.height = 0;
}

}  // namespace

// The item in hand and the selection's starting block origin go with the window.
TEST(WindowStateFree, TheItemInHandAndTheBlockOriginGoWithTheBlock) {
  CurrentWindowData block{};
  block.PendingRecord = NewEntityRecord().release();
  block.OriginalBlockOrigin = static_cast<pl3::Point*>(std::malloc(sizeof(pl3::Point)));
  FreeWindowData(block);
  EXPECT_EQ(block.PendingRecord, nullptr);
  EXPECT_EQ(block.OriginalBlockOrigin, nullptr);
  FreeWindowData(block);  // a second free finds nothing to free
}

TEST(WindowBlockList, FreesTheActiveWindowsBlocksOnly) {
  auto active = std::make_unique<CurrentWindowData>(kEditorPcb);
  auto other = std::make_unique<CurrentWindowData>(kEditorPcb);
  for (int i = 0; i < 3; ++i) active->BlockList[i] = std::malloc(16);
  active->BlockCount = 3;
  other->BlockList[0] = std::malloc(16);
  other->BlockCount = 1;
  ActiveWindowData = active.get();
  FreeWindowBlockList();  // the leak check sees any block left behind
  EXPECT_EQ(active->BlockCount, 0u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(active->BlockList[i], nullptr);
  EXPECT_EQ(other->BlockCount, 1u);
  ASSERT_NE(other->BlockList[0], nullptr);
  // A window torn down frees what is left in its list.
  FreeWindowData(*other);
  EXPECT_EQ(other->BlockCount, 0u);
  ActiveWindowData = nullptr;
  FreeWindowBlockList();
}
