#include "objects/builtin_fonts.h"

#include "geometry/glyph_fonts.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "store/tower.h"
#include "store/tower_file.h"

TowerNode* FirstBuiltInFont = nullptr;
TowerNode* SecondBuiltInFont = nullptr;

namespace {

constexpr std::uint32_t kFirstBuiltInEntry = 2;
constexpr std::uint32_t kSecondBuiltInEntry = 3;

TowerNode* LoadOne(BuiltInFontImage image, const Tower* parent, std::uint32_t entry) {
  Tower* t = LoadAndInsertMemoryFile(image.bytes, image.size, parent);
  TowerNode* font = TowerEntity(t);
  ReleaseTower(&t);
  if (font) SetFontRecord(entry, font);
  return font;
}

void ResetBuiltInFonts() { FirstBuiltInFont = SecondBuiltInFont = nullptr; }
const bool registered = pl3::RegisterGlobalReset(&ResetBuiltInFonts);

}  // namespace

Tower* LoadAndInsertMemoryFile(const std::uint8_t* image, std::size_t size, const Tower* parent) {
  if (!parent || parent->lastLevel + 1 >= kTowerMaxLevels) return nullptr;
  Tower* t = DuplicateTowerToLevel(parent, static_cast<std::uint8_t>(parent->lastLevel + 1));
  Tower* loaded = image ? LoadDOSFileFromMemory(image, size, t) : nullptr;
  if (!loaded) {
    ReleaseTower(&t);
    MessageBox(FrameWindow, "Error - Couldn't load file", "LoadAndInsertMemoryFile", MB_OK | MB_ICONEXCLAMATION);
    return nullptr;
  }
  return loaded;
}

void LoadBuiltInFonts(const Tower* parent) {
  FirstBuiltInFont = LoadOne(FirstBuiltInFontImage(), parent, kFirstBuiltInEntry);
  SecondBuiltInFont = LoadOne(SecondBuiltInFontImage(), parent, kSecondBuiltInEntry);
  SetStrokeFontAdvances(parent);
}
