#include "objects/command_workers.h"

#include <cstring>
#include <memory>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/editor_input.h"
#include "objects/editor_modes.h"
#include "objects/editor_seams.h"
#include "objects/entity_copy.h"
#include "objects/frame_seams.h"
#include "objects/graphic_records.h"
#include "objects/item_sides.h"
#include "objects/payload_access.h"
#include "objects/polygon_entry_seams.h"
#include "objects/selection_seams.h"
#include "objects/symbol_seams.h"
#include "objects/thumbnail_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "objects/walker.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/tower.h"

std::uint8_t SelectionBendByte = 1;

namespace {

void ResetCommandWorkers() { SelectionBendByte = 1; }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetCommandWorkers);

constexpr std::uint8_t kModeAddNewWire = 68;
constexpr std::uint8_t kModeAddNewBus = 69;
constexpr std::uint32_t kViewFlagBit2 = 0x4;
constexpr std::uint32_t kStateFlagBit0 = 0x1;
constexpr std::uint32_t kSpiralMirrorOffset = offsetof(SpiralPayload, mirrored);
// Hole flags of a via: drawn quartered by a cross, sizes from the Vias list.
constexpr std::uint8_t kViaHoleFlags = kHoleQuartered | kHoleIsVia;
// The via's table of 256 layer words starts at payload byte 92.
constexpr std::uint32_t kViaLayerWordsOffset = 92;

bool IsLineOrArcKind(std::uint16_t type) {
  switch (type) {
    case 1: case 2: case 10: case 11: case 28: case 29: case 37: case 38: case 39: case 46: case 47:
      return true;
    default:
      return false;
  }
}

void ToggleSpiralMirror(std::uint8_t* payload) {
  payload[kSpiralMirrorOffset] = payload[kSpiralMirrorOffset] == 0 ? 1 : 0;
}

// The record in hand (edit modes other than 39 and 45).
void FlipRecordInHand(HWND window, EntityRecord* record) {
  const std::uint16_t type = record->header.recordType;
  if (IsLineOrArcKind(type)) {
    GhostSelectionAndMode(window, record);
    record->header.headerLayer ^= 3;
    GhostSelectionAndMode(window, record);
  } else if (IsPolygonKind(type)) {
    ReversePolygonInHand(window, record);
  } else if (type == Type_Spiral) {
    GhostSelectionAndMode(window, record);
    ToggleSpiralMirror(record->payload);
    GhostSelectionAndMode(window, record);
  }
}

SelectionInfo* FirstPrimary(SelectionInfo* list) {
  for (SelectionInfo* s = list; s; s = s->next)
    if (s->flags & kSelectionPrimary) return s;
  return nullptr;
}

// The one primary selection (Edit Selection and Add New Pad).
void FlipSelectedItem(HWND window, CurrentWindowData& w) {
  if (CountSelections(w.SelectionList, 1) != 1) return;
  SelectionInfo* selected = FirstPrimary(w.SelectionList);
  Entity* item = selected ? TowerEntity(SelectionItem(*selected)) : nullptr;
  const std::uint32_t type = GetSelectionType(w.SelectionList);
  if (type == Type_Track) {
    HDC dc = GetViewDC(window);
    GhostSelectionArray(dc, w.SelectionList);
    SelectionBendByte ^= 3;
    GhostSelectionArray(dc, w.SelectionList);
    ReleaseViewDC(window, dc);
  } else if (type == Type_Arc) {
    std::uint8_t* arc = PayloadOfAtLeast(item, offsetof(ArcPayload, endY) + 4);
    if (!arc) return;
    GhostSelectionAndMode(window, nullptr);
    std::uint8_t vector[8];
    std::memcpy(vector, arc + offsetof(ArcPayload, startX), sizeof vector);
    std::memcpy(arc + offsetof(ArcPayload, startX), arc + offsetof(ArcPayload, endX), sizeof vector);
    std::memcpy(arc + offsetof(ArcPayload, endX), vector, sizeof vector);
    selected->grabbedPart = selected->grabbedPart == 1 ? 2 : 1;
    GhostSelectionAndMode(window, nullptr);
  } else if (type <= 0xFFFF && IsPolygonKind(static_cast<std::uint16_t>(type))) {
    auto* polygon = reinterpret_cast<pl3::PolygonLayout*>(PayloadOfAtLeast(item, sizeof(PolygonHead)));
    // The stored points must all lie within the payload.
    if (!polygon || item->payloadSize < sizeof(PolygonHead) + polygon->count * sizeof(pl3::Point)) return;
    ReverseStoredPolygon(window, polygon);
  } else if (type == Type_Spiral) {
    std::uint8_t* spiral = PayloadOfAtLeast(item, kSpiralMirrorOffset + 1);
    if (!spiral) return;
    GhostSelectionAndMode(window, nullptr);
    ToggleSpiralMirror(spiral);
    GhostSelectionAndMode(window, nullptr);
  }
}

}  // namespace

void CycleAngleAssist(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  if (EntityRecord* record = w->PendingRecord) {
    GhostSelectionAndMode(window, record);
    if (w->EditMode == kModeAddNewWire || w->EditMode == kModeAddNewBus)
      w->AngleAssist = w->AngleAssist ? 0 : 1;
    else
      w->AngleAssist = w->AngleAssist == 0 ? 1 : w->AngleAssist == 1 ? 2 : 0;
    GhostSelectionAndMode(window, record);
    return;
  }
  if (!w->SelectionList || GetSelectionType(w->SelectionList) != Type_Track) return;
  GhostSelectionAndMode(window, w->PendingRecord);
  w->SelectionAngleAssist = w->SelectionAngleAssist == 0 ? 2 : w->SelectionAngleAssist == 1 ? 0 : 1;
  UpdateStatusBar(window);
  GhostSelectionAndMode(window, w->PendingRecord);
}

void FlipDirection(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  if (w->EditMode != Mode_EditSelection && w->EditMode != Mode_AddNewPad) {
    if (w->PendingRecord) FlipRecordInHand(window, w->PendingRecord);
    return;
  }
  FlipSelectedItem(window, *w);
}

void EndShapePlacement(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  Tower* layer = w->design ? FindPadStackLayer(w->design, w->DrawingLayer) : nullptr;
  if (layer) {
    if (Entity* e = TowerEntity(layer)) e->flags &= static_cast<std::uint16_t>(~(kEntitySelected | kEntitySelectedPart));
    ClearSelection();
    w->ViewFlags &= ~kViewFlagBit2;
    RedrawView(window);
    ReleaseTower(&layer);
  } else {
    EndItemPick(window);
    RedrawView(window);
    InvalidateRect(window, nullptr, FALSE);
  }
  SetEditCursor(0);
  w->EditMode = Mode_Idle;
  w->SelectionAngleAssist = 0;
  UpdateStatusBar(window);
  w->StateFlags &= ~kStateFlagBit0;
}

Tower* InsertViaAt(const Tower* design, std::int32_t x, std::int32_t y, std::uint32_t CurrentViaSize) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !design) return nullptr;
  // Every byte the via does not set, its net ids among them, stays 0.
  std::unique_ptr<EntityRecord> record = NewEntityRecord();
  record->header.recordType = Type_Hole;
  HolePayload& via = record->as<HolePayload>();
  via.hole.head.layer = w->ViaLayer;
  via.hole.head.sizeFlags = kSizeByIndex;
  via.hole.head.sizeIndex = CurrentViaSize;
  via.hole.head.transform = pl3::kIdentityTransform;
  via.hole.style = w->HoleStyle;
  via.hole.flags = kViaHoleFlags;
  via.hole.centreX = x;
  via.hole.centreY = y;
  via.word68 = 1;
  via.word72 = 0;
  for (std::uint32_t layer = 0; layer < kLayerCount; ++layer) {
    const bool none = layer == Layer_TopSilkscreen || layer == Layer_BottomSilkscreen ||
                      layer == Layer_TopPasteMask || layer == Layer_BottomPasteMask;
    WriteU16(record->payload, kViaLayerWordsOffset + 2 * layer, none ? 0 : 1);
  }
  const std::uint8_t drawingLayer = w->DrawingLayer;
  Tower* stored = StoreGraphicRecord(design, record.get(), 1);
  w->DrawingLayer = drawingLayer;
  return stored;
}

HBITMAP RenderThumbnailWithWindow(const Tower* design, CurrentWindowData* state, const pl3::Box* box) {
  CurrentWindowData* previous = ActiveWindowData;
  // What UpdateViewGlobals binds, so that it is bound again even when no
  // window was current on entry.
  pl3::ViewMapping* const view = pl3::g_raster.view;
  const std::uint32_t* const background = pl3::g_raster.background;
  const std::uint32_t* const colourTable1 = pl3::g_raster.colourTable1;
  const std::uint32_t viewFactor = pl3::g_raster.viewFactor;
  ActiveWindowData = state;
  UpdateViewGlobals();
  HBITMAP image = RenderBoxThumbnail(design, box);
  ActiveWindowData = previous;
  UpdateViewGlobals();
  pl3::g_raster.view = view;
  pl3::g_raster.background = background;
  pl3::g_raster.colourTable1 = colourTable1;
  pl3::g_raster.viewFactor = viewFactor;
  return image;
}
