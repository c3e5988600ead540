#include "draw/ghost_pens.h"

#include "geometry/raster_state.h"
#include "edit/window_data.h"
#include "objects/colours.h"
#include "objects/entity_record.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"

std::int8_t GhostOutlines = 1;
std::int8_t GhostRoundEnds = 1;

namespace {

void ResetGhostSwitches() {
  GhostOutlines = 1;
  GhostRoundEnds = 1;
}
[[maybe_unused]] const bool g_registered = pl3::RegisterGlobalReset(&ResetGhostSwitches);

HDC AsDC(void* dc) { return static_cast<HDC>(dc); }

std::uint32_t FixedColour(std::uint32_t code) {
  switch (code) {
    case kGhostYellow: return 0xFFFF00;
    case kGhostWhite: return 0xFFFFFF;
    case kGhostGreen: return 0x00FF00;
    case kGhostBlue: return 0x0000FF;
    default: return 0;
  }
}

std::uint32_t TableColour(const CurrentWindowData& w, std::uint32_t index) {
  if (!w.ColourTable || index > 0xFFFF) return 0;
  return w.ColourTable[index] & 0xFFFFFF;
}

}  // namespace

std::uint32_t LookUpGhostColour(const CurrentWindowData& w, std::uint32_t colour) {
  if (colour >= kGhostYellow && colour <= kGhostBlue) return FixedColour(colour);
  return TableColour(w, colour);
}

std::uint32_t XorPenColour(std::uint32_t wanted, std::uint32_t background) {
  const auto channel = [&](int shift) {
    return static_cast<BYTE>(((wanted >> shift) & 0xFF) - ((background >> shift) & 0xFF));
  };
  return RGB(channel(16), channel(8), channel(0));
}

int GhostPenWidth(const CurrentWindowData& w, int width) {
  if (!(w.StateFlags & kStateHairline)) return width;
  return width == 1 ? 0 : 1;
}

bool IsSchematicKind(const CurrentWindowData& w) {
  return w.editorKind == kEditorSchematicSymbol || w.editorKind == kEditorSchematic;
}

void SetXorPenRgb(void* dc, int width, std::uint32_t wanted, std::uint32_t background) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !dc) return;
  HPEN pen = CreatePen(PS_SOLID, GhostPenWidth(*w, width), XorPenColour(wanted, background));
  w->SavedRop = static_cast<std::uint32_t>(SetROP2(AsDC(dc), R2_XORPEN));
  w->SavedPen = SelectObject(AsDC(dc), pen);
  w->SavedBrush = SelectObject(AsDC(dc), GetStockObject(NULL_BRUSH));
}

void SetXorPen(void* dc, int width, std::uint32_t colour) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  const std::uint32_t background = TableColour(*w, static_cast<std::uint32_t>(w->BackgroundIndex));
  SetXorPenRgb(dc, width, LookUpGhostColour(*w, colour), background);
}

void RestoreXorPen(void* dc) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !dc || !w->SavedPen) return;
  SelectObject(AsDC(dc), static_cast<HGDIOBJ>(w->SavedBrush));
  HGDIOBJ xorPen = SelectObject(AsDC(dc), static_cast<HGDIOBJ>(w->SavedPen));
  DeleteObject(xorPen);
  SetROP2(AsDC(dc), static_cast<int>(w->SavedRop));
  w->SavedPen = nullptr;
  w->SavedBrush = nullptr;
}

void SetEntityPen(void* dc, int width, std::uint8_t layer) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  if (IsSchematicKind(*w)) {
    const std::uint32_t colourClass = (w->StateFlags & kStateSingleColour) ? pl3::g_raster.fillValue : layer;
    SetXorPenRgb(dc, width, NamedColourAt(colourClass).colour, NamedColourAt(0).colour);
    return;
  }
  if (w->StateFlags & kStateSingleColour) {
    SetXorPen(dc, width, pl3::g_raster.fillValue);
    return;
  }
  std::uint8_t l = (w->StateFlags & kStateLayerOverride) ? w->OverrideLayer : layer;
  if (w->ViewFlags & kViewDrawOtherSide) {
    const std::uint8_t opposite = GetMirrorLayerIn(&w->layerTable, l);
    if (opposite != kNoOppositeLayer) l = opposite;
  }
  SetXorPen(dc, width, w->layerTable.layers[l].planeBit);
}

void SetAllPlanesPen(void* dc, int hairlineWidth, int normalWidth) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  SetXorPen(dc, (w->StateFlags & kStateHairline) ? hairlineWidth : normalWidth, kAllPlanes);
}
