#include "objects/new_documents.h"

#include <cstdlib>
#include <cstring>

#include "edit/window_data.h"
#include "objects/layer_sets.h"
#include "objects/layer_table.h"
#include "objects/type_codes.h"
#include "objects/window_state.h"
#include "platform/kernel_base.h"
#include "platform/reset_hooks.h"
#include "platform/sync.h"
#include "store/tower.h"

std::uint32_t NewBoardDefaults[6] = {};

namespace {

void ResetNewBoardDefaults() { std::memset(NewBoardDefaults, 0, sizeof NewBoardDefaults); }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetNewBoardDefaults);

constexpr std::int32_t kNewCursorPosition = 1005840000;  // 27.5 inches

CurrentWindowData* NewBlock(std::uint32_t editorKind, std::uint16_t designCode) {
  auto* block = new CurrentWindowData{};
  block->editorKind = editorKind;
  Tower* design = NewTower(0);
  LastLevel(design).typeCode = designCode;
  InsertAtLastLevel(design, 0);
  block->design = design;
  return block;
}

void InsertRecord(const Tower* design, std::uint16_t code, std::uint32_t size, const void* data) {
  Tower* t = InsertEntity(design, size, code, data);
  ReleaseTower(&t);
}


void StoreDescriptionAndFree(const Tower* design, NewObjectInfo* info) {
  if (!info) return;
  if (info->description && info->description[0])
    InsertRecord(design, Type_Description, static_cast<std::uint32_t>(std::strlen(info->description) + 1),
                 info->description);
  FreeNewObjectInfo(info);
}

// The window's routing, top and bottom layer bytes; new tracks go on the
// routing layer, so a new document draws on its top copper layer.
void SetLayerBytes(CurrentWindowData& block, std::uint8_t bottom) {
  block.RoutingLayer = Layer_Top;
  block.CurrentLayer = Layer_Top;
  block.TopLayer = Layer_Top;
  block.BottomLayer = bottom;
}

void FinishNewDesign(CurrentWindowData& block, std::uint32_t version) {
  InsertRecord(block.design, Type_DesignVersion, sizeof version, &version);
  if (ActiveWindowData) {
    ActiveWindowData->AngleAssist = 1;
    ActiveWindowData->InsertType = 1;
  }
}

void CentreView(void* window, CurrentWindowData& block) {
  const std::uint64_t origin = GetCentredViewOrigin(window, block.Zoom);
  block.ViewOriginX = static_cast<std::int32_t>(origin & 0xFFFFFFFFu);
  block.ViewOriginY = static_cast<std::int32_t>(origin >> 32);
}

// The pad stack, PCB symbol and shape documents differ only in kind, layers
// and version.
CurrentWindowData* CreateLibraryItemData(void* window, NewObjectInfo* info, std::uint32_t kind,
                                         std::uint16_t designCode, std::uint32_t version) {
  CurrentWindowData* block = NewBlock(kind, designCode);
  InitialiseWindowData(window, *block);
  Tower* stamp = StampCreationTime(block->design);
  ReleaseTower(&stamp);
  if (info) SaveShowInitialiseWindow(info);
  StoreDescriptionAndFree(block->design, info);
  BuildDefaultLayerTable(block->layerTable, kind);
  if (kind == kEditorShape) {
    SetLayerBytes(*block, Layer_Top);
  } else {
    SetLayerName(block->layerTable.layers[2], "Inner Layer");
    SetLayerBytes(*block, Layer_Bottom);
  }
  FinishNewDesign(*block, version);
  ResetExtentsBox();
  block->Cursor = {kNewCursorPosition, kNewCursorPosition};
  SnapXY(&block->Cursor.x, &block->Cursor.y, 0);
  CentreView(window, *block);
  return block;
}

}  // namespace

void FreeNewObjectInfo(NewObjectInfo* info) {
  if (!info) return;
  std::free(info->description);
  std::free(info);
}

CurrentWindowData* CreatePCBData(void* window, NewObjectInfo* info) {
  CurrentWindowData* block = NewBlock(kEditorPcb, Type_PCB);
  if (!info) {
    DeleteEntity(block->design);
    ReleaseTower(&block->design);
    delete block;
    return nullptr;
  }
  const std::int32_t x = static_cast<std::int32_t>(NewBoardDefaults[0]);
  const std::int32_t y = static_cast<std::int32_t>(NewBoardDefaults[1]);
  const std::int32_t width = static_cast<std::int32_t>(NewBoardDefaults[2]);
  const std::int32_t height = static_cast<std::int32_t>(NewBoardDefaults[3]);
  const std::uint32_t layers = info->layerCount < 1 ? 1 : info->layerCount > 32 ? 32 : info->layerCount;

  CreateDefaultBoardSetup(block->design);
  Tower* stamp = StampCreationTime(block->design);
  ReleaseTower(&stamp);
  InitialiseWindowData(window, *block);
  NewBoardDefaults[4] = layers;
  StoreDescriptionAndFree(block->design, info);

  BuildDefaultLayerTable(block->layerTable, kEditorPcb);
  ApplyCopperLayerCount(block->layerTable, layers);
  // The letters stay those of 32 layers, but a small board numbers its
  // bottom layer after the count, so its copper reads '1' to 'n'.
  if (layers >= 2 && layers <= 9) block->layerTable.layers[Layer_Bottom].letter = static_cast<std::uint8_t>('0' + layers);
  SetLayerBytes(*block, Layer_Bottom);

  BuildDefaultLayerStackup(block->design, layers);
  GlobalExtentsBox = {x, y, x + width, y + height};
  CentreView(window, *block);
  FinishNewDesign(*block, kPcbDesignVersion);
  WriteDefaultDRCOptions(block->design);
  CreateDefaultDRCRules(block->design);
  return block;
}

CurrentWindowData* CreatePadStackData(void* window, NewObjectInfo* info) {
  return CreateLibraryItemData(window, info, kEditorPadStack, Type_PadStackDefinition, kPadStackDesignVersion);
}
CurrentWindowData* CreateSymbolData(void* window, NewObjectInfo* info) {
  return CreateLibraryItemData(window, info, kEditorPcbSymbol, Type_SymbolDefinition, kPcbSymbolDesignVersion);
}
CurrentWindowData* CreateShapeData(void* window, NewObjectInfo* info) {
  return CreateLibraryItemData(window, info, kEditorShape, Type_ShapeDefinition, kShapeDesignVersion);
}

Tower* StampCreationTime(const Tower* node) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  static_assert(sizeof now == 16);
  return InsertEntity(node, sizeof now, Type_Date, &now);
}
