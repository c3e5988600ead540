// Measuring texts in the program's vector fonts: the font of a number, the
// box of one character, a text's string box, its anchor offset and its world
// box. The text record is the Text payload (objects/graphic_records.h):
// height at 48, font number at 52, string box at 56 to 71, flags at 72, the
// text's transform at 76, the string from 104.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "objects/item_helper_seams.h"
#include "objects/text_item_services.h"

struct Tower;

// Text flag bits (word 72).
inline constexpr std::uint32_t kTextLeft = 4;
inline constexpr std::uint32_t kTextRight = 8;
inline constexpr std::uint32_t kTextBottom = 16;
inline constexpr std::uint32_t kTextTop = 32;
inline constexpr std::uint32_t kTextHeightScaled = 64;  // the height is already in font scale

inline constexpr std::uint32_t kFallbackFont = 3;
inline constexpr std::int32_t kMissingGlyphSize = 184320000;
inline constexpr std::int32_t kOverbarGrowth = 103680000;

// The text's transform with its linear part scaled by the text's height
// (the height, or the height x 4,096 without the font-scale flag, as an 8.24
// factor): the transform that takes font units to world units.
pl3::Transform HeightScaledTransform(const TextPayload* text);

// A new Tower on the font's entity (300), font 3 for a number without one;
// null when neither exists. The caller releases it.
Tower* GetFontTower(std::uint32_t font);
// A new malloc'd box {left, bottom, right, top} of one character, or null
// (with a message) when its record has neither metrics nor Character Info.
std::int32_t* GetCharacterBox(const Tower* font, unsigned char character);

// The string box a text record stores (bytes 56 to 71).
pl3::Box StoredStringBox(const TextPayload* text);
