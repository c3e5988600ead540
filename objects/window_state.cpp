#include "objects/window_state.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/graphic_records.h"
#include "objects/size_files.h"
#include "objects/type_codes.h"
#include "platform/reset_hooks.h"
#include "platform/gdi.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

std::uint32_t CompletionMaskWords[2] = {};
std::uint32_t CurrentDrawingColour = 0;
int ProgramBusyCount = 0;

namespace {

void ResetWindowStateGlobals() {
  CompletionMaskWords[0] = CompletionMaskWords[1] = 0;
  CurrentDrawingColour = 0;
  ProgramBusyCount = 0;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetWindowStateGlobals);

bool HasSizeTable(std::uint32_t editorKind) {
  switch (editorKind) {
    case kEditorPcb:
    case kEditorShape:
    case kEditorPcbSymbol:
    case kEditorPadStack:
    case kEditorSchematicSymbol:
    case kEditorSchematic:
      return true;
    default:
      return false;
  }
}

void ReplaceSizeTable(CurrentWindowData& block, std::unique_ptr<SizeTable> table) {
  block.sizeTable = FreeSizeTable(block.sizeTable);
  block.sizeTable = table.release();
}

// The second word of the newest record of a code, when the record is whole.
void CopyMaskWord(const Tower* design, std::uint16_t code, std::uint32_t& word) {
  Tower* child = GetChildTower(design, code);
  const Entity* record = child ? FindNextEntity(child) : nullptr;
  if (record && record->payloadSize >= 8) std::memcpy(&word, EntityPayload(record) + 4, 4);
  ReleaseTower(&child);
}

void LoadDontReloadSizeTable(CurrentWindowData& block, const Tower* design) {
  Tower* group = GetChildTower(design, Type_DontReloadGroup);
  if (group && FindNextEntity(group)) {
    Tower* found = DuplicateTower(group);
    std::unique_ptr<SizeTable> stored = LoadStoredSizeTable(found);
    ReleaseTower(&found);
    if (stored)
      ReplaceSizeTable(block, std::move(stored));
    else
      MessageBox(nullptr, "Could not load new size table!", "Pelmora3", MB_OK | MB_ICONEXCLAMATION);
  }
  ReleaseTower(&group);
}

// Kinds 64, 128 and 256 draw through views of their own.
bool HasOwnSurface(std::uint32_t editorKind) { return editorKind != 64 && editorKind != 128 && editorKind != 256; }

// A fresh screen-sized surface on the context, attached to the raster kernel.
// When it cannot be made the window opens without drawing and says so.
void CreateWindowSurface(CurrentWindowData& block, HDC dc) {
  const BusyScope busy;
  pl3::FreePlaneBitmap(&block.Surface);
  block.Surface = {};
  pl3::SetPlaneBitmapSize(&block.Surface);
  if (!pl3::CreatePlaneDIBSection(dc, &block.Surface, 0, 32, 0)) {
    MessageBox(nullptr, "Could not create the drawing surface of this window; it will not be drawn.", "Pelmora3",
               MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  pl3::AttachRasterToBitmap(&block.Surface, &block.SurfaceClip);
}

}  // namespace

void InitialiseWindowData(void* window, CurrentWindowData& block) {
  block.Version = 5;
  block.ClickState = 0;
  block.EditMode = 0;
  block.InsertType = 1;
  block.CurrentLayer = ActiveWindowData ? ActiveWindowData->CurrentLayer : 0;
  block.AngleAssist = 2;
  block.Zoom = ActiveWindowData ? ActiveWindowData->Zoom : block.Zoom;
  block.ViewFlags = 0;
  block.StateFlags = 0;
  block.CurrentFont = 3;
  block.TextDisplay = 3;
  block.PlacementTransform = pl3::kIdentityTransform;
  block.MouseWorld = block.Cursor = block.AnchorPoint = block.CursorOffset = {};

  if (HasOwnSurface(block.editorKind)) {
    HDC dc = GetDC(static_cast<HWND>(window));
    CreateWindowSurface(block, dc);
    ReleaseDC(static_cast<HWND>(window), dc);
  }

  block.Grids = CopyDefaultGridList();

  block.sizeTable = FreeSizeTable(block.sizeTable);
  if (HasSizeTable(block.editorKind))
    block.sizeTable = LoadSizeTableForEditor(block.editorKind, EditorSizeFilePath(block.editorKind)).release();

  block.GhostColour = 0x800000;
  block.BackgroundIndex = 0;
  block.InsertionCount = 0;
  block.WalkHidden = 1;
  block.DragOption = 1;
  block.HitMode = 1;
  block.SelectWord = 1;
  block.DisplayWord1 = 7;
  block.DisplayWord2 = 0;
  block.Window = window;
  const std::uint32_t ratsnest[4] = {3, 100, 250, 5};
  std::memcpy(block.RatsnestDisplay, ratsnest, sizeof ratsnest);

  ResetWindowData(block);

  if (block.design) {
    Tower* group = InsertEmptyEntity(block.design, Type_DontReloadGroup);
    ReleaseTower(&group);
  }
}

void AttachTowerToWindowData(void* dc, CurrentWindowData& block, Tower* design, int keep) {
  block.design = design;
  block.StateFlags &= ~kStateLayerOverride;
  if (!keep) {
    FreeGridInfo(block.Grids);
    block.Grids = RetrieveGridInfo(design);
    CopyMaskWord(design, Type_CompletionMaskA, CompletionMaskWords[0]);
    CopyMaskWord(design, Type_CompletionMaskB, CompletionMaskWords[1]);
    LoadDontReloadSizeTable(block, design);
    if (HasOwnSurface(block.editorKind)) CreateWindowSurface(block, static_cast<HDC>(dc));
  } else {
    block.Grids = nullptr;
  }
  block.PendingClose = 0;
  ResetWindowData(block);
  block.ClickState = 1;
}

namespace {
// Frees the first `count` heap blocks of a list of `capacity` and empties it.
void FreeBlocks(void** list, std::uint32_t& count, std::size_t capacity) {
  const std::uint32_t n = count < capacity ? count : static_cast<std::uint32_t>(capacity);
  for (std::uint32_t i = 0; i < n; ++i) {
    std::free(list[i]);
    list[i] = nullptr;
  }
  count = 0;
}

void FreeBlockList(CurrentWindowData& block) { FreeBlocks(block.BlockList, block.BlockCount, kWindowBlockCapacity); }
}  // namespace

void FreeInsertionArray(CurrentWindowData& block) {
  FreeBlocks(block.Insertion, block.InsertionCount, kInsertionCapacity);
}

void FreeWindowBlockList() {
  if (ActiveWindowData) FreeBlockList(*ActiveWindowData);
}

void FreeWindowData(CurrentWindowData& block) {
  // The kernel lets go of a surface that is about to go.
  if (pl3::g_raster.clip == &block.SurfaceClip) {
    pl3::g_raster.clip = nullptr;
    pl3::g_raster.colourBuffer = nullptr;
    pl3::g_raster.plane = nullptr;
  }
  // Nor may it keep drawing through the block's view words.
  if (pl3::g_raster.view == &block.View) pl3::g_raster.view = nullptr;
  if (pl3::g_raster.background == reinterpret_cast<const std::uint32_t*>(&block.BackgroundIndex))
    pl3::g_raster.background = nullptr;
  pl3::FreePlaneBitmap(&block.Surface);
  block.sizeTable = FreeSizeTable(block.sizeTable);
  FreeGridInfo(block.Grids);
  block.Grids = nullptr;
  std::free(block.PendingPoints);
  block.PendingPoints = nullptr;
  std::free(block.InsertionVector);
  block.InsertionVector = nullptr;
  FreeInsertionArray(block);
  FreeBlockList(block);
  ReleaseTower(&block.RememberedShape);
  delete block.PendingRecord;
  block.PendingRecord = nullptr;
  std::free(block.OriginalBlockOrigin);
  block.OriginalBlockOrigin = nullptr;
}

DrawingState SaveDrawingState() {
  DrawingState s{};
  if (pl3::g_raster.clip) std::memcpy(s.clip, pl3::g_raster.clip, sizeof s.clip);
  s.trackOutlineMode = pl3::g_raster.trackOutlineMode;
  s.trackHighlightMode = pl3::g_raster.trackHighlightMode;
  s.viewFactor = pl3::g_raster.viewFactor;
  s.fillValue = pl3::g_raster.fillValue;
  s.scaleResult = pl3::g_raster.scaleResult;
  if (const CurrentWindowData* w = ActiveWindowData) {
    s.zoom = w->Zoom;
    s.originX = w->ViewOriginX;
    s.originY = w->ViewOriginY;
    s.walkHidden = w->WalkHidden;
    s.stateFlags = w->StateFlags;
    s.backgroundIndex = w->BackgroundIndex;
    s.highlightWord = w->HighlightWord;
  }
  s.drawingColour = CurrentDrawingColour;
  return s;
}

void RestoreDrawingState(const DrawingState& s) {
  if (pl3::g_raster.clip) std::memcpy(pl3::g_raster.clip, s.clip, sizeof s.clip);
  pl3::g_raster.trackOutlineMode = s.trackOutlineMode;
  pl3::g_raster.trackHighlightMode = s.trackHighlightMode;
  pl3::g_raster.viewFactor = s.viewFactor;
  pl3::g_raster.fillValue = s.fillValue;
  pl3::g_raster.scaleResult = s.scaleResult;
  if (CurrentWindowData* w = ActiveWindowData) {
    w->Zoom = s.zoom;
    w->ViewOriginX = s.originX;
    w->ViewOriginY = s.originY;
    w->WalkHidden = s.walkHidden;
    w->StateFlags = s.stateFlags;
    w->BackgroundIndex = s.backgroundIndex;
    w->HighlightWord = s.highlightWord;
  }
  CurrentDrawingColour = s.drawingColour;
}

void SaveDrawingContext(DrawingContext* r) {
  const pl3::RasterState& k = pl3::g_raster;
  r->viewFactor = k.viewFactor;
  r->clip = k.clip;
  r->colourBuffer = k.colourBuffer;
  r->plane = k.plane;
  r->colourTable1 = k.colourTable1;
  r->width = k.width;
  r->height = k.height;
  r->trackOutlineMode = k.trackOutlineMode;
  r->rasterOp = k.rasterOp;
  r->fillValue = k.fillValue;
  if (const CurrentWindowData* w = ActiveWindowData) {
    r->zoom = w->Zoom;
    r->originX = w->ViewOriginX;
    r->originY = w->ViewOriginY;
    std::memcpy(r->layers, w->layerTable.layers, sizeof r->layers);
    r->walkFilter = w->ViewFlags;
    r->design = w->design;
  }
}

void RestoreDrawingContext(const DrawingContext* r) {
  pl3::RasterState& k = pl3::g_raster;
  k.viewFactor = r->viewFactor;
  k.clip = r->clip;
  k.colourBuffer = r->colourBuffer;
  k.plane = r->plane;
  k.colourTable1 = r->colourTable1;
  k.width = r->width;
  k.height = r->height;
  k.trackOutlineMode = static_cast<std::uint8_t>(r->trackOutlineMode);
  k.rasterOp = static_cast<std::uint8_t>(r->rasterOp);
  k.fillValue = r->fillValue;
  if (CurrentWindowData* w = ActiveWindowData) {
    w->Zoom = r->zoom;
    w->ViewOriginX = r->originX;
    w->ViewOriginY = r->originY;
    std::memcpy(w->layerTable.layers, r->layers, sizeof r->layers);
    w->ViewFlags = r->walkFilter;
    w->design = r->design;
  }
}
