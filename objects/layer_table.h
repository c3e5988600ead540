// The 256 layers of an editor window: kind, visibility, drawing plane bit,
// one-letter code, name and the next-layer and opposite-side links. A layer
// is named everywhere by its number, an index into this table; the layer byte
// of every stored graphic item is such a number.
#pragma once
#include <cstddef>
#include <cstdint>

// Flags of a LayerRecord.
constexpr std::uint32_t kLayerVisible = 0x1;     // drawn; the Ctrl+key toggles flip it
constexpr std::uint32_t kLayerPresent = 0x2;     // belongs to the document's layer set
constexpr std::uint32_t kLayerCopperBit = 0x4;   // set on every copper record by SetCopperLayers
constexpr std::uint32_t kLayerSelectable = 0x8;  // may become the current layer; takes a letter

// Layer kinds.
constexpr std::uint16_t LayerKind_Unused = 0;
constexpr std::uint16_t LayerKind_Silkscreen = 1;
constexpr std::uint16_t LayerKind_Copper = 2;
constexpr std::uint16_t LayerKind_PasteMask = 3;
constexpr std::uint16_t LayerKind_SolderResist = 4;
constexpr std::uint16_t LayerKind_Mechanical = 8;
constexpr std::uint16_t LayerKind_GlueMask = 9;
constexpr std::uint16_t LayerKind_Slot = 11;

// Fixed layer numbers, the same in every editor kind that has the layer.
constexpr std::uint8_t Layer_TopSilkscreen = 0;
constexpr std::uint8_t Layer_Top = 1;
constexpr std::uint8_t Layer_Bottom = 32;
constexpr std::uint8_t Layer_BottomSilkscreen = 33;
constexpr std::uint8_t Layer_TopSolderResist = 34;
constexpr std::uint8_t Layer_BottomSolderResist = 35;
constexpr std::uint8_t Layer_TopPasteMask = 36;
constexpr std::uint8_t Layer_BottomPasteMask = 37;
constexpr std::uint8_t Layer_TopGlueMask = 38;
constexpr std::uint8_t Layer_BottomGlueMask = 39;
constexpr std::uint8_t Layer_FirstMechanical = 40;  // 40 to 71: 16 pairs
constexpr std::uint8_t Layer_PlatedSlot = 129;
constexpr std::uint8_t Layer_NonPlatedSlot = 130;
constexpr std::uint8_t kNoOppositeLayer = 255;

constexpr std::size_t kLayerCount = 256;
constexpr std::size_t kLayerNameSize = 82;  // at most 81 characters and the terminator

struct LayerRecord {
  std::uint32_t flags;     // kLayerVisible, kLayerPresent, kLayerCopperBit, kLayerSelectable
  std::uint16_t kind;      // LayerKind_...
  std::uint8_t letter;     // one-character code, 0 for none
  std::uint8_t unused;
  std::uint32_t planeBit;  // ORed into the layer plane when drawn; the drawing colour
  std::uint8_t nextLayer;  // the next-layer steps follow these rings
  std::uint8_t oppositeLayer;  // where a flipped item goes; kNoOppositeLayer for none
  char name[kLayerNameSize];
};
static_assert(offsetof(LayerRecord, kind) == 4);
static_assert(offsetof(LayerRecord, letter) == 6);
static_assert(offsetof(LayerRecord, planeBit) == 8);
static_assert(offsetof(LayerRecord, nextLayer) == 12);
static_assert(offsetof(LayerRecord, oppositeLayer) == 13);
static_assert(offsetof(LayerRecord, name) == 14);
static_assert(sizeof(LayerRecord) == 96);

struct LayerTable {
  std::uint32_t copperCount;  // 32 for a new PCB, 3 for a PCB symbol or pad stack, 1 for a shape
  std::uint32_t secondWord;   // 0 after InitialiseLayerTable
  LayerRecord layers[kLayerCount];
};
static_assert(offsetof(LayerTable, layers) == 8);
static_assert(sizeof(LayerTable) == 8 + 256 * sizeof(LayerRecord));

// Plane bit of copper layer n (1..32): entry n - 1.
extern const std::uint32_t CopperPlaneBits[32];

// Every record unused (flags 0, kind 0) with plane bit (n mod 128) + 1; the
// second word 0. The copper count and the other fields are left alone.
void InitialiseLayerTable(LayerTable& table);
// Layers 0 and 33, flags 11, silkscreen, linked to each other.
void SetSilkscreenLayers(LayerTable& table);
// Layers 1..32: flags 12, copper, next layer n + 1 (32 -> 1), "Top Layer",
// "Inner Layer 1" .. "Inner Layer 30", "Bottom Layer".
void SetCopperLayers(LayerTable& table);
// Clears the selectable bit of every copper record.
void DisableCopperLayers(LayerTable& table);
// Flags 11, the kind, next layer itself, the name; the plane bit only for the
// two standard layers of the kind.
void SetPasteMaskLayer(LayerTable& table, std::uint8_t layer, const char* name);
void SetSolderResistLayer(LayerTable& table, std::uint8_t layer, const char* name);
void SetGlueMaskLayer(LayerTable& table, std::uint8_t layer, const char* name);
// Flags 3 (never selectable), slot kind, next layer itself, the name.
void SetSlotLayer(LayerTable& table, std::uint8_t layer, const char* name);
// Gives every record its letter: the running sequence '0'/'1'..'9', 'A'..'Z'
// without 'C', 'V' and 'X' over the selectable records that are not paste,
// resist or mechanical layers, then the fixed letters of the editor kind
// (kEditorPcb, kEditorPcbSymbol, kEditorPadStack; none for other kinds).
void AssignLayerLetters(LayerTable& table, std::uint32_t editorKind);

// Copies a name into a record, cut to 81 characters.
void SetLayerName(LayerRecord& record, const char* name);
