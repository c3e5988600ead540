// The small operations every design object uses on a graphic record: header
// initialisation, resolution of indexed sizes, the mirror-layer look-up and
// the outer-layer test.
#pragma once
#include <cstdint>

#include "objects/graphic_records.h"
#include "objects/layer_table.h"
#include "objects/size_table.h"

// Fills a fresh working record: record type, state 0, header layer = the
// active window's current layer, header transform = *transform, payload
// layer = layer, net ids 0, byte 16 = 0, bytes 17 and 18 = byte 19, word 20 =
// 0, payload transform = identity. The rest of the payload is the caller's.
// First, when the configuration word 10311 holds 255 and the type is not a
// text, that word becomes 6. Returns the record.
EntityRecord* InitialiseEntityRecord(EntityRecord* record, std::uint16_t type, const Transform* transform,
                                     std::uint8_t layer);

// Writes the real sizes of an item whose size is indexed, looked up in the
// given table (ResolveEntitySizes: the active window's). Returns 1 when a size
// was written, 0 otherwise; a hole or via is rewritten but gives 0.
int ResolveEntitySizesIn(const SizeTable* table, void* payload, std::uint16_t type);
int ResolveEntitySizes(void* payload, std::uint16_t type);

// The opposite-side layer of a layer (its LayerRecord's link); the layer
// itself when there is no table.
std::uint8_t GetMirrorLayerIn(const LayerTable* table, std::uint8_t layer);
std::uint8_t GetMirrorLayer(std::uint8_t layer);

// 1 when the layer is the first or the last present layer of its kind, 0
// otherwise (for copper: the top and bottom copper layers only).
int IsOuterLayerOfKindIn(const LayerTable* table, std::uint8_t layer);
int IsOuterLayerOfKind(std::uint8_t layer);

// Clears the in-use bit of every entry of the active window's size table.
void ClearSizeEntryMarks();
// Marks entry `index` of list `list` of the active window's size table as in
// use and, with makeDefault, makes it the list's default. False when there is
// no such table, list or entry.
bool MarkActiveSizeEntry(std::uint32_t list, std::uint32_t index, bool makeDefault);

// Where InitialiseEntityRecord finds the configuration's u32 record of a code
// (10311): set by the configuration when it is loaded; null or a source that
// returns null means there is none.
using ConfigurationWordSource = std::uint32_t* (*)(std::uint16_t code);
void SetConfigurationWordSource(ConfigurationWordSource source);
constexpr std::uint16_t kConfigTextLayerSetting = 10311;
