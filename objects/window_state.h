// Bringing an editor window's state block to life: its start values, its
// size table and grid set, its binding to the design it shows; and the
// snapshot of the drawing state that lets a caller draw elsewhere and return.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "objects/layer_table.h"

struct Tower;
struct CurrentWindowData;

// ---- Seams: defined above the design objects ---------------------------------------

// The size file the settings name for an editor kind, or null (app/).
const char* EditorSizeFilePath(std::uint32_t editorKind);
// A copy of the program's default grid set; the grid set stored with a
// design; the release of either (the drawing code's grids).
void* CopyDefaultGridList();
void* RetrieveGridInfo(const Tower* design);
void FreeGridInfo(void* grids);

// ---- Window state ---------------------------------------------------------------------

// The program's busy counter: non-zero while a window builds its drawing
// surface. Raised and lowered in pairs through BusyScope.
extern int ProgramBusyCount;
struct BusyScope {
  BusyScope() { ++ProgramBusyCount; }
  ~BusyScope() { --ProgramBusyCount; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
};

// The second words of the design's completion mask records, copied when a
// design is attached.
extern std::uint32_t CompletionMaskWords[2];

// Frees every record of the window's insertion array and sets its count to 0.
void FreeInsertionArray(CurrentWindowData& block);

// Frees the blocks listed in the active window's block list (at most 1,024)
// and sets its count to 0; ClearSelection runs it first.
void FreeWindowBlockList();

// Fills a new block: start values, the grid set, the size table of its
// editor kind, the reset, and the design's empty "don't reload" group.
// The block's editorKind and design are set by the caller.
void InitialiseWindowData(void* window, CurrentWindowData& block);
// Binds the block to the design it shows. Unless keep is set the grid set,
// the completion masks and a stored size table are read from the design and
// a new drawing surface is made on the context (an HDC).
void AttachTowerToWindowData(void* dc, CurrentWindowData& block, Tower* design, int keep);
// Releases what the block owns (the block itself belongs to its owner).
void FreeWindowData(CurrentWindowData& block);

// The drawing state of the raster kernel and the active window.
struct DrawingState {
  std::int32_t clip[4];
  std::uint8_t trackOutlineMode;
  std::uint8_t trackHighlightMode;
  std::uint32_t zoom;
  std::uint32_t viewFactor;
  std::int32_t originX;
  std::int32_t originY;
  std::uint32_t fillValue;
  std::int32_t scaleResult;
  std::uint8_t walkHidden;
  std::uint32_t stateFlags;
  std::int32_t backgroundIndex;
  std::uint32_t highlightWord;
  std::uint32_t drawingColour;
};
DrawingState SaveDrawingState();
void RestoreDrawingState(const DrawingState& state);

// The whole drawing context of the active window and the raster kernel, kept
// while the window draws into a foreign surface (an export, a thumbnail).
struct DrawingContext {
  std::uint32_t viewFactor;
  std::uint32_t zoom;
  std::int32_t originX;
  std::int32_t originY;
  pl3::ViewClip* clip;
  LayerRecord layers[kLayerCount];
  std::uint32_t* colourBuffer;
  std::uint32_t* plane;
  const std::uint32_t* colourTable1;
  std::uint32_t width;
  std::uint32_t height;
  std::uint32_t trackOutlineMode;
  std::uint32_t rasterOp;
  std::uint32_t walkFilter;  // the window's view flags
  std::uint32_t fillValue;
  Tower* design;
};
void SaveDrawingContext(DrawingContext* record);
void RestoreDrawingContext(const DrawingContext* record);

// The colour pens take while single-colour mode is on.
extern std::uint32_t CurrentDrawingColour;
