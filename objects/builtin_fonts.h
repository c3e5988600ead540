// The two fonts the program carries as tower-file images, inserted into the
// store at start-up, and the insertion of any memory image under a Tower.
#pragma once
#include <cstddef>
#include <cstdint>

struct Tower;
struct TowerNode;

// The Font entities (300) of the first and second built-in font; null until
// loaded or when their image failed.
extern TowerNode* FirstBuiltInFont;
extern TowerNode* SecondBuiltInFont;

// A new Tower on the top entity of the image, inserted as the newest child
// of its code under the entity `parent` stands on; null (and "Error -
// Couldn't load file" shown) when the image is damaged. The caller releases it.
Tower* LoadAndInsertMemoryFile(const std::uint8_t* image, std::size_t size, const Tower* parent);
// Loads both images under `parent`, keeps their Fonts in the two globals and
// in font-record entries 2 and 3, then gives every Font under `parent` its
// advance records. An image that fails leaves its global unset.
void LoadBuiltInFonts(const Tower* parent);

// The images themselves (generated into the build from data/).
struct BuiltInFontImage {
  const std::uint8_t* bytes;
  std::size_t size;
};
BuiltInFontImage FirstBuiltInFontImage();
BuiltInFontImage SecondBuiltInFontImage();
