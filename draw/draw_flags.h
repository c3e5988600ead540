// The window flag bits and plane values the drawing code reads, in one place
// for the ghosts and the immediate drawing alike.
#pragma once
#include <cstdint>

// StateFlags bits.
inline constexpr std::uint32_t kStateSingleColour = 0x4;        // every pen and plane write takes CurrentColour
inline constexpr std::uint32_t kStateHairline = 0x8;            // hairline ghosts
inline constexpr std::uint32_t kStateNoArcRadii = 0x80000;      // arc ghosts leave out their radius lines
inline constexpr std::uint32_t kStateSymbolMirrored = 0x800000; // the symbol being drawn or placed is mirrored

// ViewFlags bit 19: a region render is in progress.
inline constexpr std::uint32_t kViewRegionRender = 0x80000;

// The plane value that writes every layer plane, and the colour-table entry
// of "all planes".
inline constexpr std::uint32_t kAllPlanes = 0xFFFF;
