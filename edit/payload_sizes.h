// The size steps of one graphic payload: its size index moves up, down, to
// the last or to the first "on" entry of its list in the active window's size
// table. Tracks, arcs, lines, wires, buses, spirals and slots step in Lines;
// circles in Circles; rectangles in Rectangles; holes in Holes (Vias when the
// hole's via flag is set); texts, locators and datums in Fonts; dimensioners
// (21, 22) step their text size in Fonts whatever its flag says; a text's
// string box is laid out again after a step. A centroid marker (18) steps its
// explicit size through the five centroid sizes and beeps at either end.
// Types without a size change nothing and answer 0.
#pragma once
#include <cstdint>

enum PayloadSizeResult : int {
  PayloadSizeStepped = 0,
  PayloadSizeAtEnd = 1,   // no further on entry: the index stays
  PayloadSizeCustom = 2,  // the size is an explicit value, not an index
};

enum class SizeStep { Up, Down, Last, First };

// The centroid marker sizes: 4, 8, 16, 32 and 64 thou.
inline constexpr std::uint32_t kCentroidSizeSteps[] = {146304, 292608, 585216, 1170432, 2340864};

// Steps an indexed size kept as a u16 flags word (bit 0: indexed) and a u32
// index, in the active window's list of the kind.
int StepIndexedSize(std::uint8_t* flagsWord, std::uint8_t* indexWord, std::uint32_t kind, SizeStep step);
// Steps a payload's size by its type.
int StepPayloadSize(void* payload, std::uint16_t type, SizeStep step);

// The list a payload's size is chosen from (a hole's by its via flag; the
// label size of dimensioners in Fonts); kNoSizeKind for a type without an
// indexed size.
std::uint32_t PayloadSizeKind(const void* payload, std::uint16_t type);
// Gives the payload the entry at the index of its list: the size becomes
// indexed, no longer custom; a text's string box is laid out again. 0 for a
// type without an indexed size or a payload too short to hold one.
int SetPayloadSizeIndex(void* payload, std::uint32_t payloadBytes, std::uint16_t type, std::uint32_t index);
// The index a payload's size takes in its list; false when the size is custom
// or the type has none.
bool GetPayloadSizeIndex(const void* payload, std::uint32_t payloadBytes, std::uint16_t type, std::uint32_t* index);

int IncreasePayloadSize(void* payload, std::uint16_t type);
int DecreasePayloadSize(void* payload, std::uint16_t type);
int MaximisePayloadSize(void* payload, std::uint16_t type);
int MinimisePayloadSize(void* payload, std::uint16_t type);
