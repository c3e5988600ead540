// The current sizes of schematic objects: the size indices that new wires,
// buses and attribute locators take, kept in the design's current-size record.
#pragma once
#include <cstdint>

#include "store/seams.h"  // SetCurrentSizeIndex

struct Tower;

constexpr std::uint16_t kTypeCurrentSizeRecord = 11025;
constexpr std::uint32_t kCurrentSizeWords = 13;

// The 13 u32 words of the current-size record of a schematic symbol
// definition (25) or Schematic (103), or for a page (104) of its Schematic;
// a missing record is inserted filled with zeros first. Null for any other
// design. Words hold the wire index (0), the bus index (1) and the attribute
// locator indices by kind (see CurrentSizeWord).
std::uint32_t* GetCurrentSizeRecord(const Tower* design);

// The word of the current-size record that holds the size index of a type
// code and locator kind, or -1 when the record keeps none for it.
int CurrentSizeWord(std::uint16_t code, std::uint16_t locatorKind);
