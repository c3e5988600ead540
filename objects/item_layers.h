// The layers an item lies on, the walker's layer filter, and the pairing of
// each layer with its opposite-side layer.
#pragma once
#include <cstdint>

struct Tower;
struct LayerTable;

// The item's first layer, -1 when it has none; with shownOnly a layer whose
// flags lack kLayerCopperBit (4) also gives -1.
int GetFirstLayer(const Tower* item, int shownOnly);
// The far-side twin of GetFirstLayer for items that span the board; 0 where
// GetFirstLayer answers -1, and for the codes it does not handle.
int GetLastLayer(const Tower* item, int shownOnly);

// 1 when the item passes the layer filter of a walk with this action.
int IsItemLayerEnabled(const Tower* item, std::uint8_t action);

// The layer byte compared with 129 (plated slots) and 130 (non-plated
// slots) by the filter; nothing sets it yet, so slots draw by their type word.
extern std::uint8_t SlotDrawLayer;

// Every opposite-side link set to none, then the layers of kinds 2, 1, 4, 3
// and 9 paired from the outside in, then the mechanical layers two by two.
void InitialiseLayerPairs(LayerTable& table);
// Pairs the present layers of one kind (kind 8: two by two in table order).
void PairLayersOfKind(LayerTable& table, std::uint16_t kind);
// Records 40 to 71 as 16 mechanical layer pairs, Normal and Inverse.
void SetMechanicalLayerPairs(LayerTable& table);
