// Re-indexing a design after its size lists were edited: every item whose
// size is indexed keeps pointing at the same entry wherever the edit moved it.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "objects/size_table.h"

struct Tower;
struct CurrentWindowData;

// A PCB's routing rules (13030 under the design): each rule (13036) keeps
// two lists of u32 size indices, each with its count in a record of its own.
constexpr std::uint16_t kTypeRoutingRules = 13030;
constexpr std::uint16_t kTypeRoutingRule = 13036;
constexpr std::uint16_t kTypeRuleViaIndices = 13040;   // Vias indices
constexpr std::uint16_t kTypeRuleViaCount = 13041;
constexpr std::uint16_t kTypeRuleLineIndices = 13042;  // Lines indices
constexpr std::uint16_t kTypeRuleLineCount = 13043;

// For each list, the pairs {index before the edit, new position} of the
// entries that moved (sorted by old index), and the list's new count.
struct SizeRemap {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> moves[kSizeKindCount];
  std::uint32_t newCounts[kSizeKindCount] = {};

  bool empty() const;
};

// The moves of an edited table: entries whose remembered index is neither
// kNewSizeEntry nor their position.
SizeRemap BuildSizeRemap(const SizeTable& edited);

// An item's index after the edit: its new position when it moved, clamped
// to count - 1 when it is past the list's new end.
std::uint32_t RemapItemSizeIndex(const SizeRemap& remap, std::uint32_t kind, std::uint32_t index);
// A setting's index after the edit (list defaults, the via index, default
// size records): its new position when it moved, 0 when past the new end.
std::uint32_t RemapSettingSizeIndex(const SizeRemap& remap, std::uint32_t kind, std::uint32_t index);

// Re-indexes every item under the node: items with an indexed size in the
// list of their size kind; symbols (106), schematic symbols (30),
// designators (128) and designator data (234) are entered; designator info
// (233) is re-indexed in Fonts; under a PCB's record 13030 each 13036 child
// re-indexes the Lines indices of its 13042 list (count in 13043) and the
// Vias indices of its 13040 list (count in 13041).
void RemapSizeIndices(const Tower* node, const SizeRemap& remap);

// Marks in use (kSizeEntryInUse) every entry of the active window's table
// that one of the stored indices RemapSizeIndices would re-index names, over
// the whole design (every page of a schematic), whatever the view shows. An
// index past its list marks nothing.
void MarkIndexedSizesInUse(const Tower* design);

// The program-wide settings that hold size indices and are re-indexed with a
// window's table: the default size indices of the schematic editors (six
// Fonts and two Lines indices) and the pin-number font index of the PCB
// symbol editor. Null members are left alone.
struct SizeIndexSettings {
  std::uint32_t* fontDefaults = nullptr;  // six Fonts indices
  std::uint32_t* lineDefaults = nullptr;  // two Lines indices
  std::uint32_t* pinNumberFont = nullptr;
};

// Makes an edited copy the window's table: re-indexes the design (every page
// of a schematic), the lists' default indices, the window's via index and the
// settings, then numbers every entry by its position and gives the window a
// copy of the edited table.
void ApplyEditedSizeTable(CurrentWindowData& window, const SizeTable& edited, const SizeIndexSettings& settings);
