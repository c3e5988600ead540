#include "objects/active_window.h"

#include "edit/window_data.h"

SizeTable* ActiveSizeTable() { return ActiveWindowData ? ActiveWindowData->sizeTable : nullptr; }

LayerTable* ActiveLayerTable() { return ActiveWindowData ? &ActiveWindowData->layerTable : nullptr; }

std::uint8_t ActiveCurrentLayer() { return ActiveWindowData ? ActiveWindowData->CurrentLayer : 0; }
