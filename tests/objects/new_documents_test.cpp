#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "edit/window_data.h"
#include "objects/layer_table.h"
#include "objects/new_documents.h"
#include "objects/type_codes.h"
#include "objects/window_state.h"
#include "platform/reset_hooks.h"
#include "store/node_pool.h"
#include "store/tower.h"

// The neighbours a new document calls, recorded in order.
namespace {
std::vector<std::string> gCalls;
std::uint32_t gStackupLayers = 0;
void ResetCalls() {
  gCalls.clear();
  gStackupLayers = 0;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetCalls);
}  // namespace

void* CopyDefaultGridList() { return nullptr; }
void* RetrieveGridInfo(const Tower*) { return nullptr; }
void FreeGridInfo(void*) {}
std::uint64_t GetCentredViewOrigin(void*, std::uint32_t) {
  gCalls.push_back("centre " + std::to_string(GlobalExtentsBox.xmin) + " " + std::to_string(GlobalExtentsBox.xmax));
  return (std::uint64_t{0xFFFFFF00u} << 32) | 77u;
}
// Snaps to a 1,000,000-unit grid.
void SnapXY(std::int32_t* x, std::int32_t* y, int) {
  *x = *x / 1000000 * 1000000;
  *y = *y / 1000000 * 1000000;
}
void SaveShowInitialiseWindow(const NewObjectInfo* info) { gCalls.push_back("show " + std::to_string(info->showAgain)); }
void CreateDefaultBoardSetup(const Tower*) { gCalls.push_back("board setup"); }
void BuildDefaultLayerStackup(const Tower*, std::uint32_t layers) {
  gCalls.push_back("stackup");
  gStackupLayers = layers;
}
void WriteDefaultDRCOptions(const Tower*) { gCalls.push_back("drc options"); }
void CreateDefaultDRCRules(const Tower*) { gCalls.push_back("drc rules"); }

namespace {

NewObjectInfo* Info(const char* description, std::uint32_t layers) {
  auto* info = static_cast<NewObjectInfo*>(std::calloc(1, sizeof(NewObjectInfo)));
  info->description = description ? strdup(description) : nullptr;
  info->layerCount = layers;
  info->showAgain = 1;
  return info;
}

int TopLevelCount(std::uint16_t code) {
  int n = 0;
  for (const TowerNode* g = RootGroup(); g; g = g->next ? NodeAt<TowerNode>(g->next) : nullptr)
    if (g->typeCode == code)
      for (NodeRef e = g->firstChild; e; e = NodeAt<TowerNode>(e)->next) ++n;
  return n;
}

const std::uint8_t* Record(const Tower* design, std::uint16_t code) { return static_cast<const std::uint8_t*>(GetEntityData(design, code)); }

std::uint32_t Version(const Tower* design) {
  std::uint32_t v = 0;
  if (const std::uint8_t* r = Record(design, Type_DesignVersion)) std::memcpy(&v, r, 4);
  return v;
}

void Close(CurrentWindowData* block) {
  FreeWindowData(*block);
  ReleaseTower(&block->design);
  delete block;
}

class NewDocuments : public testing::Test {
 protected:
  void SetUp() override { ActiveWindowData = &active_; }
  CurrentWindowData active_{};
  int window_ = 0;
};

TEST_F(NewDocuments, FourLayerBoard) {
  const std::uint32_t board[6] = {256032000, 256032000, 1463040000, 1463040000, 4, 1};
  std::memcpy(NewBoardDefaults, board, sizeof board);
  CurrentWindowData* block = CreatePCBData(&window_, Info("my board", 4));
  ASSERT_NE(block, nullptr);
  const LayerTable& t = block->layerTable;
  EXPECT_EQ(t.copperCount, 4u);
  std::string letters;
  for (int n = 1; n <= 32; ++n)
    if (t.layers[n].flags & kLayerPresent) letters += static_cast<char>(t.layers[n].letter);
  EXPECT_EQ(letters, "1234") << "copper 1, 2, 3 and 32";
  EXPECT_TRUE(t.layers[32].flags & kLayerPresent);
  EXPECT_EQ(Version(block->design), 36u);
  ASSERT_NE(Record(block->design, Type_Description), nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(Record(block->design, Type_Description)), "my board");
  EXPECT_NE(Record(block->design, Type_Date), nullptr);
  EXPECT_NE(Record(block->design, Type_DontReloadGroup), nullptr);
  EXPECT_EQ(gStackupLayers, 4u);
  EXPECT_EQ(NewBoardDefaults[4], 4u);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"board setup", "stackup", "centre 256032000 1719072000", "drc options",
                                              "drc rules"}));
  EXPECT_EQ(block->ViewOriginX, 77);
  EXPECT_EQ(block->ViewOriginY, -256);
  EXPECT_EQ(block->CurrentLayer, 1);
  EXPECT_EQ(block->RoutingLayer, 1) << "new tracks go on the top copper layer";
  EXPECT_EQ(block->TopLayer, 1);
  EXPECT_EQ(block->BottomLayer, 32);
  EXPECT_EQ(active_.AngleAssist, 1);
  EXPECT_EQ(block->editorKind, kEditorPcb);
  Close(block);
}

TEST_F(NewDocuments, BoardWithoutInformationLeavesNoDesign) {
  const int before = TopLevelCount(Type_PCB);
  EXPECT_EQ(CreatePCBData(&window_, nullptr), nullptr);
  EXPECT_EQ(TopLevelCount(Type_PCB), before);
  EXPECT_TRUE(gCalls.empty());
}

TEST_F(NewDocuments, LibraryItemsByKind) {
  struct Case {
    CurrentWindowData* (*create)(void*, NewObjectInfo*);
    std::uint32_t kind;
    std::uint16_t design;
    std::uint32_t version;
    std::uint8_t bottom;
  };
  const Case cases[] = {
      {&CreatePadStackData, kEditorPadStack, Type_PadStackDefinition, 7, 32},
      {&CreateSymbolData, kEditorPcbSymbol, Type_SymbolDefinition, 14, 32},
      {&CreateShapeData, kEditorShape, Type_ShapeDefinition, 6, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    pl3::ResetGlobalStateForTests();
    ActiveWindowData = &active_;
    GlobalExtentsBox = {1, 2, 3, 4};
    CurrentWindowData* block = c.create(&window_, Info("", 0));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->editorKind, c.kind);
    EXPECT_EQ(TowerEntity(block->design)->typeCode, c.design);
    EXPECT_EQ(Version(block->design), c.version);
    EXPECT_EQ(Record(block->design, Type_Description), nullptr) << "an empty description is not stored";
    EXPECT_EQ(block->BottomLayer, c.bottom);
    EXPECT_EQ(block->RoutingLayer, 1);
    EXPECT_EQ(block->Cursor.x, 1005000000);
    EXPECT_EQ(block->Cursor.y, 1005000000);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"show 1", "centre 182880000 1828800000"}));
    if (c.kind == kEditorShape) {
      EXPECT_EQ(block->layerTable.layers[1].flags, 15u);
    } else {
      EXPECT_STREQ(block->layerTable.layers[2].name, "Inner Layer");
    }
    Close(block);
  }
}

}  // namespace
