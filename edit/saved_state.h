// The saved view state of a design: what its editor window looked like,
// kept in the design's Don't Reload Group as a node of type 20000 with one
// child record per field group, and the Retrieve operations that build a
// window's block from it when the design opens.
#pragma once
#include <cstdint>

struct Tower;
struct CurrentWindowData;

constexpr std::uint16_t Type_SavedState = 20000;
constexpr std::uint16_t Type_PrintZone = 10454;
constexpr std::uint32_t kSavedStateVersion = 5;

// Record codes of the saved view state.
enum SavedStateRecord : std::uint16_t {
  SavedVersion = 10002,
  SavedClickState = 20001,
  SavedButtonRecord = 20002,
  SavedViewClip = 20003,
  SavedModeBytes = 20004,
  SavedSurface = 20005,
  SavedPlacementTransform = 20006,
  SavedLayers = 20007,
  SavedLayerWord = 20009,
  SavedPenBrushRop = 20010,
  SavedViewOriginX = 20011,
  SavedViewOriginY = 20012,
  SavedZoom = 20013,
  SavedViewFlags = 20014,
  SavedCoordinateOrigin = 20015,
  SavedCurrentFont = 20016,
  SavedTextOption = 20017,
  SavedStateFlags = 20018,
  SavedLayerBytes = 20019,
  SavedBackgroundIndex = 20021,
  SavedGhostColour = 20022,
  SavedWalkHidden = 20024,
  SavedDragOption = 20025,
  SavedGridOrigin = 20027,
  SavedCrosshair = 20028,
  SavedDefaultColours = 20029,
  SavedLayerColours = 20030,
  SavedHitMode = 20031,
  SavedMenuWord1 = 20072,
  SavedSelectWord = 10218,
  SavedHighlightByte = 20053,
  SavedDisplayWord1 = 10219,
  SavedDisplayWord2 = 10230,
  SavedHighlightWord = 20054,
  SavedShowWord = 20071,
  SavedRatsnestDisplay = 20055,
  SavedMenuWord4 = 20073,
  SavedMenuWord3 = 20074,
  SavedMenuWord2 = 20075,
  SavedMenuWord5 = 20076,
  SavedPcbSettings = 20050,
  SavedPcbWords = 20051,
  SavedPcbLayerExtents = 20052,
  SavedSymbolView = 20060,
  SavedPadStackView = 20070,
};

// One common record: its code and payload size, in the order written.
struct SavedRecordInfo {
  std::uint16_t code;
  std::uint16_t size;
};
constexpr int kCommonSavedRecordCount = 38;
extern const SavedRecordInfo kCommonSavedRecords[kCommonSavedRecordCount];

// Replaces the holder's saved view state with the block's: the common
// records in table order, then the extension records of the block's kind.
void WriteSavedState(const Tower* holder, const CurrentWindowData& block);
// Upgrades the holder's saved view state to the current layout and reads it
// into the block; 1 on success, 0 when there is none or it has no version.
// A missing, short or out-of-range record leaves the block's value and
// writes one console line naming it.
int ReadSavedState(const Tower* holder, CurrentWindowData& block);
// Deletes the holder's saved view state, if any.
void DeleteSavedState(const Tower* holder);

// The per-kind readers: extension records, then the common part; 1, or 0
// when the group holds no readable saved view state.
int ReadPCBSavedState(const Tower* group, CurrentWindowData& block);
int ReadPadStackSavedState(const Tower* group, CurrentWindowData& block);
int ReadSymbolSavedState(const Tower* group, CurrentWindowData& block);
int ReadShapeSavedState(const Tower* group, CurrentWindowData& block);
int ReadSchematicSymbolSavedState(const Tower* group, CurrentWindowData& block);

// A new block for an opened design, filled from its saved view state and
// bound to it; null (after telling the user) when it cannot be read. The
// caller frees the block with FreeWindowData and delete.
CurrentWindowData* RetrievePCBData(void* window, Tower* design);
CurrentWindowData* RetrievePadStackData(void* window, Tower* design);
CurrentWindowData* RetrieveSymbolData(void* window, Tower* design);
CurrentWindowData* RetrieveShapeData(void* window, Tower* design);
CurrentWindowData* RetrieveSchematicSymbolData(void* window, Tower* design);

// The document kind of the item one level above the Tower's last level.
std::uint32_t GetDocumentKindOfTower(const Tower* t);
