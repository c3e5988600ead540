#include "edit/window_data.h"

#include "platform/reset_hooks.h"

CurrentWindowData* ActiveWindowData = nullptr;

namespace {
void ResetActiveWindow() { ActiveWindowData = nullptr; }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetActiveWindow);
}  // namespace

void ResetWindowData(CurrentWindowData& block) {
  block.Selection = nullptr;
  block.SelectionList = nullptr;
  block.TemporaryEntity = nullptr;
  block.DragStart = {};
  block.DragCurrent = {};
  block.DragFlags = 2;
  block.InsertionCount = 0;
  block.InsertionTransform = pl3::kIdentityTransform;
  block.SubMode = 0;
  block.AxisLock = 0;
  block.ImportState = 1;
  block.NetViewWord = -1;
  block.HighlightedNet = -1;
}
