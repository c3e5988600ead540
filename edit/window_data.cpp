#include "edit/window_data.h"

#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "platform/reset_hooks.h"

CurrentWindowData* ActiveWindowData = nullptr;

namespace {
void ResetActiveWindow() { ActiveWindowData = nullptr; }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetActiveWindow);
}  // namespace

void ResetWindowData(CurrentWindowData& block) {
  block.PendingRecord = nullptr;
  block.Selection = nullptr;
  block.TemporaryEntity = nullptr;
  block.SelectionList = nullptr;
  block.InsertionCount = 0;
  for (std::uint32_t& word : block.RatsnestUpdate) word = 0;
  block.ViewOnlyHighlighted = 0;
  block.AxisLock = 0;
  block.EditMode = 0;
  block.SubMode = 0;
  block.ViewFlags = 0;
  block.UndoStep = 0;
  block.HighlightedNet = -1;
  block.NetViewWord = -1;
  block.DragFlags = 2;
  block.ImportState = 1;
  block.HitMode = 1;
  block.InsertionTransform = pl3::kIdentityTransform;
}

void UpdateViewGlobals() {
  CurrentWindowData* block = ActiveWindowData;
  if (!block || block->Zoom == 0) return;
  pl3::g_raster.view = &block->View;
  pl3::g_raster.background = reinterpret_cast<const std::uint32_t*>(&block->BackgroundIndex);
  if (block->ColourTable) pl3::g_raster.colourTable1 = block->ColourTable;
  if (block->editorKind != kEditorPackage) pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(block->Zoom);
}
