// New PCB, pad stack, PCB symbol and shape documents: the window state block
// and design tower of each, with its layers, version and creation records.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "objects/view_seams.h"

struct Tower;
struct CurrentWindowData;

// What the new-document dialog hands over; the Create...Data operations take
// ownership and free it.
struct NewObjectInfo {
  char* description;        // heap text, may be null or empty
  std::uint32_t showAgain;  // the dialog's show-again choice
  std::uint32_t layerCount; // copper layers of a new PCB (1..32)
};
// Frees the description, then the record; null is ignored.
void FreeNewObjectInfo(NewObjectInfo* info);

// The six words a new PCB copies: board origin x and y, width, height, copper
// layer count and one more value. Set at start-up; a new PCB writes its layer
// count back.
extern std::uint32_t NewBoardDefaults[6];

// The value of the version record (10002) of each new design.
constexpr std::uint32_t kPcbDesignVersion = 36;
constexpr std::uint32_t kPcbSymbolDesignVersion = 14;
constexpr std::uint32_t kPadStackDesignVersion = 7;
constexpr std::uint32_t kShapeDesignVersion = 6;

// Each returns a new block (freed by its owner after FreeWindowData), or,
// for a PCB without its information, none and no design left behind.
CurrentWindowData* CreatePCBData(void* window, NewObjectInfo* info);
CurrentWindowData* CreatePadStackData(void* window, NewObjectInfo* info);
CurrentWindowData* CreateSymbolData(void* window, NewObjectInfo* info);
CurrentWindowData* CreateShapeData(void* window, NewObjectInfo* info);
// Adds a Date record (228) under the node holding the local time (a 16-byte
// SYSTEMTIME): the new child's Tower, which the caller releases, or null.
Tower* StampCreationTime(const Tower* node);

// ---- Seams: defined by the frame, drawing, PCB editor, panes and checks ------------

// The program-wide extents box and its reset to 5 .. 50 inches on both axes.
extern pl3::Box GlobalExtentsBox;
void ResetExtentsBox();
// The view origin (x in the low word, y in the high) that centres the
// extents box in the window at the zoom.
std::uint64_t GetCentredViewOrigin(void* window, std::uint32_t zoom);
// Writes the dialog's show-again choice to the registry.
void SaveShowInitialiseWindow(const NewObjectInfo* info);
void CreateDefaultBoardSetup(const Tower* design);
void BuildDefaultLayerStackup(const Tower* design, std::uint32_t copperLayers);
void WriteDefaultDRCOptions(const Tower* design);
void CreateDefaultDRCRules(const Tower* design);
