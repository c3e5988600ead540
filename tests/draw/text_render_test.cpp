#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "draw/text_layout.h"
#include "draw/text_render.h"
#include "edit/window_data.h"
#include "geometry/glyph_fonts.h"
#include "geometry/view_mapping.h"
#include "objects/graphic_records.h"
#include "tests/draw/text_render_fakes.h"

namespace {

constexpr std::int32_t M = 1000000;

struct TextBuffer {
  std::vector<std::uint8_t> bytes;
  TextBuffer(const std::string& s, std::uint32_t font, std::uint32_t flags = kTextLeft | kTextTop)
      : bytes(offsetof(TextPayload, text) + s.size() + 1, 0) {
    TextPayload* t = get();
    t->head.layer = 7;
    t->size = 1 << 24;  // with the height flag: font units are world units
    std::memcpy(t->bytes52, &font, 4);
    t->justification = flags | kTextHeightScaled;
    t->textTransform = pl3::kIdentityTransform;
    std::memcpy(t->text, s.c_str(), s.size() + 1);
  }
  TextPayload* get() { return reinterpret_cast<TextPayload*>(bytes.data()); }
};

class TextRender : public ::testing::Test {
 protected:
  void SetUp() override {
    TextRenderCalls() = {};
    font = NewFont(3);
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    SetFontRecord(2, nullptr);
    SetFontRecord(3, nullptr);
    for (Tower*& t : fonts) {
      DeleteEntity(t);
      ReleaseTower(&t);
    }
  }
  Tower* NewFont(std::uint32_t number) {
    Tower* f = towertest::NewTopLevelEntity(Type_Font);
    fonts.push_back(f);
    SetFontRecord(number, TowerEntity(f));
    // 'a': a triangle polygon, box right 100 M.
    Tower* a = Glyph(f, 'a', {0, -10 * M, 100 * M, 200 * M});
    std::vector<std::uint8_t> poly(PolygonStoredSize(3), 0);
    auto* head = reinterpret_cast<PolygonHead*>(poly.data());
    head->count = 3;
    pl3::Point* p = pl3::PolygonPoints(head);
    p[0] = {0, 0};
    p[1] = {50 * M, 0};
    p[2] = {0, 50 * M};
    Tower* child = InsertEntity(a, static_cast<std::uint32_t>(poly.size()), 4, poly.data());
    ReleaseTower(&child);
    // An outline whose point count runs past its payload: skipped.
    std::vector<std::uint8_t> outline(kGlyphOutlineHeaderSize + 8, 0);
    const std::uint16_t points = 40000;
    std::memcpy(outline.data() + 48, &points, 2);
    child = InsertEntity(a, static_cast<std::uint32_t>(outline.size()), Type_GlyphOutline, outline.data());
    ReleaseTower(&child);
    ReleaseTower(&a);
    // 'b': metrics A 5 M, B 80 M, C 10 M.
    Tower* b = Glyph(f, 'b', {0, -20 * M, 90 * M, 210 * M});
    const std::int32_t abc[4] = {5 * M, 80 * M, 10 * M, 95 * M};
    child = InsertEntity(b, sizeof abc, Type_CharacterAdvance, abc);
    ReleaseTower(&child);
    child = InsertEntity(b, static_cast<std::uint32_t>(poly.size()), 4, poly.data());
    ReleaseTower(&child);
    ReleaseTower(&b);
    return f;
  }
  Tower* Glyph(Tower* f, unsigned char c, std::vector<std::int32_t> box) {
    Tower* glyph = InsertEmptyEntity(f, static_cast<std::uint16_t>(Type_Glyph + c));
    Tower* t = InsertEntity(glyph, 16, Type_BoundingBox, box.data());
    ReleaseTower(&t);
    const std::uint32_t info[2] = {1, 0};
    t = InsertEntity(glyph, sizeof info, Type_CharacterInfo, info);
    ReleaseTower(&t);
    return glyph;
  }
  static pl3::Point FirstPoint(std::uint32_t index) {
    const auto* head =
        reinterpret_cast<const PolygonHead*>(CollectedTextPolygons.records + index * kCollectedPolygonSize);
    return pl3::PolygonPoints(head)[0];
  }
  Tower* font = nullptr;
  std::vector<Tower*> fonts;
};

TEST_F(TextRender, CollectingModeAppendsEachGlyphPolygonAtThePen) {
  TextBuffer t("aZb\xC3", 3);  // a, a missing Z, b, a byte with no glyph
  SetStringBox(t.get());
  pl3::Transform at = pl3::kIdentityTransform;
  at.tx = 1000 * M;
  at.ty = 2000 * M;
  RenderTextEntity(nullptr, t.get(), 10, &at);
  ASSERT_EQ(CollectedTextPolygons.count, 2u);
  const auto* first = reinterpret_cast<const PolygonHead*>(CollectedTextPolygons.records);
  EXPECT_EQ(first->head.layer, 7);
  // Left and top: dx = -(2^24 / 4096 x 2.44140625) = -10000, dy = -(top 210 M).
  const std::int32_t x0 = 1000 * M - 10000, y0 = 2000 * M - 210 * M;
  EXPECT_EQ(FirstPoint(0).x, x0);
  EXPECT_EQ(FirstPoint(0).y, y0);
  // b starts after a, the missing glyph and its own left bearing.
  EXPECT_EQ(FirstPoint(1).x, x0 + 100 * M + kMissingGlyphSize + 5 * M);
  EXPECT_TRUE(TextRenderCalls().polygonModes.empty());
}

TEST_F(TextRender, SchematicOverbarsCoverTheirRunOnly) {
  CurrentWindowData w(kEditorSchematic);
  ActiveWindowData = &w;
  w.StateFlags = 1u << 23;
  TextBuffer t("~ab~a", 3, kTextLeft | kTextTop);
  t.get()->size = 8;
  t.get()->justification &= ~kTextHeightScaled;
  SetStringBox(t.get());
  RenderTextEntity(nullptr, t.get(), 0, &pl3::kIdentityTransform);
  EXPECT_EQ(w.StateFlags, 1u << 23);  // cleared for the call only
  ASSERT_EQ(TextRenderCalls().edges.size(), 1u);
  const auto& bar = TextRenderCalls().edges[0];
  ASSERT_EQ(bar.size(), 4u);
  // Width: a's box right + gap, b's advance, plus the inset, scaled by the
  // 8.24 factor height x 4096.
  const std::int64_t width = 100 * M + 14400000 + 95 * M + 17280000;
  const std::uint32_t factor = 8 * 4096;
  std::int32_t w32 = static_cast<std::int32_t>(width), thick = 46080000;
  pl3::ScaleValueByFactor(w32, factor);
  pl3::ScaleValueByFactor(thick, factor);
  EXPECT_EQ(bar[1].x - bar[0].x, w32);
  EXPECT_EQ(bar[0].y - bar[3].y, thick);
  EXPECT_EQ(TextRenderCalls().polygonModes.size(), 3u);  // a, b and the last a

  TextRenderCalls() = {};
  TextBuffer none("~~", 3);
  RenderTextEntity(nullptr, none.get(), 0, &pl3::kIdentityTransform);
  EXPECT_TRUE(TextRenderCalls().edges.empty());
}

// Mode 9 hands glyphs to the display list's builders, never to the drawing
// seams; outside a display-list build they add nothing.
TEST_F(TextRender, DisplayListModeGoesToTheListOnly) {
  TextBuffer t("a", 3);
  RenderTextEntity(nullptr, t.get(), 9, &pl3::kIdentityTransform);
  EXPECT_TRUE(TextRenderCalls().polygonModes.empty());
}

TEST_F(TextRender, MissingCharacterWidensAnOverbarByTheMissingSize) {
  CurrentWindowData w(kEditorSchematic);
  ActiveWindowData = &w;
  std::int32_t widths[2];
  const char* texts[2] = {"~a~", "~aZ~"};
  for (int i = 0; i < 2; ++i) {
    TextRenderCalls() = {};
    TextBuffer t(texts[i], 3);
    t.get()->size = 8;
    t.get()->justification &= ~kTextHeightScaled;
    RenderTextEntity(nullptr, t.get(), 0, &pl3::kIdentityTransform);
    ASSERT_EQ(TextRenderCalls().edges.size(), 1u);
    widths[i] = TextRenderCalls().edges[0][1].x - TextRenderCalls().edges[0][0].x;
  }
  std::int32_t missing = kMissingGlyphSize;
  pl3::ScaleValueByFactor(missing, 8 * 4096);
  EXPECT_NEAR(widths[1] - widths[0], missing, 1);
}

TEST_F(TextRender, CountingModeDrawsFontThreeWithFontTwo) {
  CurrentWindowData w(kEditorSchematic);
  ActiveWindowData = &w;
  SetFontRecord(3, nullptr);
  TextBuffer t("~a~", 3);
  RenderTextEntity(nullptr, t.get(), 7, &pl3::kIdentityTransform);
  EXPECT_EQ(TextRenderCalls().edges.size(), 0u);
  EXPECT_EQ(TextTriangleCount, 0u);  // no font 2 yet: nothing at all

  NewFont(2);
  SetFontRecord(3, nullptr);
  RenderTextEntity(nullptr, t.get(), 7, &pl3::kIdentityTransform);
  EXPECT_EQ(TextTriangleCount, 2u);
}

}  // namespace
