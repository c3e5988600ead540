// The state block of one editor window, and the global that names the block
// of the active window. Each editor window owns its block; the block's fields
// grow as the editors that keep state in it arrive.
#pragma once
#include <cstdint>

#include "objects/layer_table.h"

struct Tower;
struct SizeTable;

// Editor kinds (CurrentWindowData::editorKind).
constexpr std::uint32_t kEditorPcb = 1;
constexpr std::uint32_t kEditorShape = 2;
constexpr std::uint32_t kEditorPcbSymbol = 4;
constexpr std::uint32_t kEditorPadStack = 8;
constexpr std::uint32_t kEditorSchematicSymbol = 16;
constexpr std::uint32_t kEditorSchematic = 32;
constexpr std::uint32_t kEditorPackage = 64;

struct CurrentWindowData {
  std::uint32_t editorKind;     // one of the kEditor... kinds; larger values for other views
  Tower* design;                // the design or page the window shows, owned by the window
  std::uint32_t viaSizeIndex;   // the current via size index of a PCB
  LayerTable layerTable{};           // the window's 256 layers
  std::uint8_t currentLayer = 0;     // the layer new items go on
  SizeTable* sizeTable = nullptr;    // the window's size lists, owned (FreeSizeTable); null for kinds without sizes
};

// The block of the active editor window, or null when none is active.
extern CurrentWindowData* ActiveWindowData;
