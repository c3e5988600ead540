// A small design font for the locator tests, entered as fonts 2 and 3: every
// printable character is a square of 4,096,000 font units, with its box,
// its Character Info and a glyph outline of two triangles. At text size s
// (not yet in font scale) a character is s x 1,000 world units wide; the
// string box keeps the glyph's 4,096,000 font units of height, which the
// text's height factor (s x 4,096 in 8.24) makes s x 1,000 world units too.
// A centred, middle-justified text is measured as the box of that width and
// height centred on its point.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "../store/tower_test_support.h"
#include "store/tower.h"

// The font table of the glyph code (its header clashes with the type codes).
void SetFontRecord(std::uint32_t number, TowerNode* font);

namespace locatorfont {

constexpr std::int32_t kGlyphSide = 4096000;
// The width of one character at text size s.
constexpr std::int32_t CharacterWidth(std::int32_t size) { return size * 1000; }
// The glyph's height in world units at text size s: its font units times the
// 8.24 height factor s x 4,096.
constexpr std::int32_t GlyphHeight(std::int32_t size) {
  return static_cast<std::int32_t>(std::int64_t{kGlyphSide} * size * 4096 / (std::int64_t{1} << 24));
}
static_assert(GlyphHeight(10) == 10000, "the test font's glyphs are square");

class Font {
 public:
  Font() {
    constexpr std::uint16_t kFont = 300, kGlyph = 400, kBox = 200, kInfo = 304, kOutline = 40;
    font_ = towertest::NewTopLevelEntity(kFont);
    for (int c = 32; c < 127; ++c) {
      Tower* glyph = InsertEmptyEntity(font_, static_cast<std::uint16_t>(kGlyph + c));
      const std::int32_t box[4] = {0, 0, kGlyphSide, kGlyphSide};
      Tower* t = InsertEntity(glyph, sizeof box, kBox, box);
      ReleaseTower(&t);
      const std::uint32_t info[2] = {1, 0};
      t = InsertEntity(glyph, sizeof info, kInfo, info);
      ReleaseTower(&t);
      std::vector<std::uint8_t> outline = Outline();
      t = InsertEntity(glyph, static_cast<std::uint32_t>(outline.size()), kOutline, outline.data());
      ReleaseTower(&t);
      ReleaseTower(&glyph);
    }
    SetFontRecord(2, TowerEntity(font_));
    SetFontRecord(3, TowerEntity(font_));
  }
  ~Font() {
    SetFontRecord(2, nullptr);
    SetFontRecord(3, nullptr);
    DeleteEntity(font_);
    ReleaseTower(&font_);
  }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

 private:
  // The glyph square as four points, two triangles and one contour, under the
  // identity (header: transform at 24, counts at 48, 50 and 52; 76 bytes).
  static std::vector<std::uint8_t> Outline() {
    std::vector<std::uint8_t> r(76 + 4 * 8 + 2 * 6 + 4, 0);
    const std::int32_t identity[6] = {1 << 24, 0, 0, 1 << 24, 0, 0};
    std::memcpy(r.data() + 24, identity, sizeof identity);
    const std::uint16_t counts[3] = {4, 2, 1};
    std::memcpy(r.data() + 48, counts, sizeof counts);
    const std::int32_t points[8] = {0, 0, kGlyphSide, 0, kGlyphSide, kGlyphSide, 0, kGlyphSide};
    std::memcpy(r.data() + 76, points, sizeof points);
    const std::uint16_t triangles[6] = {0, 1, 2, 0, 2, 3};
    std::memcpy(r.data() + 108, triangles, sizeof triangles);
    const std::uint16_t contour[2] = {0, 3};
    std::memcpy(r.data() + 120, contour, sizeof contour);
    return r;
  }
  Tower* font_ = nullptr;
};

}  // namespace locatorfont
