#include "edit/layer_toggle.h"

#include "draw/display_paint.h"
#include "edit/engine_helpers.h"
#include "edit/engine_seams.h"
#include "edit/status_seams.h"
#include "edit/window_data.h"
#include "objects/layer_table.h"
#include "objects/view_seams.h"

int ToggleLayerByKey(HWND window, void*, std::uint32_t virtualKey, void* state) {
  if (virtualKey > 0xFF) return 0;
  const std::uint8_t layer = FindLayerByLetter(static_cast<char>(virtualKey));
  if (layer > 254) return 0;
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  CancelCurrentOperation(window, state ? state : w);
  w->layerTable.layers[layer].flags ^= kLayerVisible;
  if (w->editorKind == kEditorPcb && w->Display) RecolourDisplayList(static_cast<DisplayList*>(w->Display));
  RedrawView(window);
  Docking_SendToPaneClient(Pane_Layers, kLayersPaneRefreshMessage, 0, 0);
  return 1;
}
