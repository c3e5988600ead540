// The layer sets a new document starts with, by editor kind, and the change
// of a table's number of copper layers that keeps placed copper.
#pragma once
#include <cstdint>

struct LayerTable;

// The number of present copper records of a table.
std::uint32_t CountPresentCopperLayers(const LayerTable& table);

// The default set of an editor kind (kEditorPcb, kEditorShape,
// kEditorPcbSymbol, kEditorPadStack), lettered and paired.
void BuildDefaultLayerTable(LayerTable& table, std::uint32_t editorKind);

// Makes the table hold n (1..32) copper layers: layer 1, layers 2..n-1 and
// layer 32. When a PCB (not initial) loses layers, placed copper is moved to
// the remaining ones after the user agrees; 0 when the user refused or too
// many layers hold copper, the table then unchanged. 1 when done.
int SetCopperLayerCount(LayerTable& table, std::uint32_t n, std::uint32_t editorKind, int initial);

// The layer flags of n copper layers without any check or move, then the
// pairs rebuilt.
void ApplyCopperLayerCount(LayerTable& table, std::uint32_t n);
