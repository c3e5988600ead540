#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "draw/display_builders.h"
#include "draw/display_list.h"
#include "draw/text_layout.h"
#include "draw/text_render.h"
#include "edit/window_data.h"
#include "geometry/glyph_fonts.h"
#include "geometry/view_mapping.h"
#include "objects/graphic_records.h"
#include "draw/draw_flags.h"
#include "tests/geometry/raster_fixture.h"

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
    std::uint8_t* triangle = pl3::PolygonTriangles(head);
    triangle[0] = 0;
    triangle[1] = 1;
    triangle[2] = 2;
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
    // 'c' and 'd': no drawing of their own, so that only overbars show.
    // Their boxes lie above the cell's origin, as a font's glyph cells do.
    Tower* c = Glyph(f, 'c', {0, 30 * M, 60 * M, 150 * M});
    ReleaseTower(&c);
    Tower* d = Glyph(f, 'd', {0, 45 * M, 70 * M, 140 * M});
    const std::int32_t dabc[4] = {2 * M, 60 * M, 4 * M, 66 * M};
    child = InsertEntity(d, sizeof dabc, Type_CharacterAdvance, dabc);
    ReleaseTower(&child);
    ReleaseTower(&d);
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
}

TEST_F(TextRender, AnchorOffsetTakesTheTextsHeight) {
  // Height 8 in size units: font units are 8 x 4,096 / 2^24 = 1/512 of a
  // world unit. Of the left and top offset, -80,000 is in world units and
  // a's top of 200 M in font units, which land scaled.
  TextBuffer t("a", 3);
  t.get()->size = 8;
  t.get()->justification &= ~kTextHeightScaled;
  SetStringBox(t.get());
  pl3::Transform at = pl3::kIdentityTransform;
  at.tx = 1000 * M;
  at.ty = 2000 * M;
  RenderTextEntity(nullptr, t.get(), 10, &at);
  ASSERT_EQ(CollectedTextPolygons.count, 1u);
  EXPECT_NEAR(FirstPoint(0).x, 1000 * M - 80000, 1);
  EXPECT_NEAR(FirstPoint(0).y, 2000 * M - 200 * M / 512, 1);
  // The glyph's far corner (50 M, 0) lies 50 M / 512 further right.
  const auto* head = reinterpret_cast<const PolygonHead*>(CollectedTextPolygons.records);
  EXPECT_NEAR(pl3::PolygonPoints(head)[1].x - FirstPoint(0).x, 50 * M / 512, 1);
}

// The pixels a schematic text draws into a plane of 10,000 world units per
// pixel, the text's anchor at pixel (20, 95).
struct OverbarView {
  static constexpr std::int32_t kZoom = 10000;
  CurrentWindowData w{kEditorSchematic};
  geomtest::Plane plane{160, 100};
  OverbarView() {
    ActiveWindowData = &w;
    plane.view.zoom = kZoom;
    pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(kZoom);
  }
  geomtest::PixelSet Draw(const char* s) {
    plane.Clear();
    TextBuffer t(s, 3, kTextLeft | kTextTop);
    t.get()->size = 8;
    t.get()->justification &= ~kTextHeightScaled;
    SetStringBox(t.get());
    pl3::Transform at = pl3::kIdentityTransform;
    at.tx = 20 * kZoom;
    at.ty = 95 * kZoom;
    RenderTextEntity(nullptr, t.get(), 1, &at);
    return plane.Lit();
  }
};

pl3::Box Extent(const geomtest::PixelSet& s) {
  pl3::Box b{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (const auto& [x, y] : s) {
    b.xmin = std::min(b.xmin, x);
    b.xmax = std::max(b.xmax, x);
    b.ymin = std::min(b.ymin, y);
    b.ymax = std::max(b.ymax, y);
  }
  return b;
}

// The letters c and d draw nothing of their own: what shows is the bar.
TEST_F(TextRender, SchematicOverbarsCoverTheirRunOnly) {
  OverbarView v;
  v.w.StateFlags = kStateSymbolMirrored;
  const geomtest::PixelSet bar = v.Draw("~cd~c");
  EXPECT_EQ(v.w.StateFlags, kStateSymbolMirrored);  // cleared for the call only
  ASSERT_FALSE(bar.empty());
  // Width: c's box right + gap, d's advance, plus the inset, scaled by the
  // 8.24 factor height x 4096; the bar starts one inset after the run,
  // which starts 80,000 (10,000 x the height of 8) left of the anchor.
  const std::uint32_t factor = 8 * 4096;
  std::int32_t width = 60 * M + 14400000 + 66 * M + 17280000, thick = 46080000, inset = 17280000;
  for (std::int32_t* value : {&width, &thick, &inset}) pl3::ScaleValueByFactor(*value, factor);
  const pl3::Box e = Extent(bar);
  constexpr std::int32_t Z = OverbarView::kZoom;
  EXPECT_NEAR(e.xmax - e.xmin + 1, width / Z, 2);
  EXPECT_NEAR(e.ymax - e.ymin + 1, thick / Z, 2);
  EXPECT_NEAR(e.xmin, 20 + (inset - 80000) / Z, 1);
  // A filled bar: every pixel of its extent.
  EXPECT_EQ(bar.size(), static_cast<std::size_t>((e.xmax - e.xmin + 1) * (e.ymax - e.ymin + 1)));

  EXPECT_TRUE(v.Draw("~~c").empty()) << "no bar for an empty run";
  EXPECT_TRUE(v.Draw("cd~").empty()) << "no bar for a run of nothing at the end";
  EXPECT_EQ(Extent(v.Draw("c~d")).xmax - Extent(v.Draw("c~d")).xmin, Extent(v.Draw("~d~")).xmax - Extent(v.Draw("~d~")).xmin)
      << "a run still open at the end is drawn";
}

TEST_F(TextRender, InAMirroredSymbolThePlaneTextIsReflectedAboutItsOrigin) {
  // A PCB symbol window drawing the text of a schematic symbol (30) whose
  // origin is at pixel 80: the walk names the text as the entity drawn.
  CurrentWindowData w(kEditorPcbSymbol);
  w.layerTable.layers[7].planeBit = 1;
  ActiveWindowData = &w;
  geomtest::Plane plane(160, 60);
  constexpr std::int32_t Z = 10000;
  plane.view.zoom = Z;
  pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(Z);
  Tower* symbol = towertest::NewTopLevelEntity(30);
  const std::int32_t origin[3] = {80 * Z, 0, 0};
  Tower* o = InsertEntity(symbol, sizeof origin, 112, origin);  // its Origin
  ReleaseTower(&o);
  TextBuffer t("a", 3, kTextLeft | kTextTop);
  t.get()->size = 8;
  t.get()->justification &= ~kTextHeightScaled;
  t.get()->textTransform.tx = 20 * Z;
  t.get()->textTransform.ty = 50 * Z;
  SetStringBox(t.get());
  Tower* item = InsertEntity(symbol, static_cast<std::uint32_t>(t.bytes.size()), 5, t.get());  // a Text
  pl3::g_raster.currentEntity = item;
  const auto extent = [&](std::uint8_t mode) {
    plane.Clear();
    RenderTextEntity(nullptr, t.get(), mode, &pl3::kIdentityTransform);
    return Extent(plane.Lit());
  };
  const pl3::Box plain = extent(1);
  ASSERT_LE(plain.xmin, plain.xmax);
  EXPECT_LT(plain.xmax, 80);
  w.StateFlags = kStateSymbolMirrored;
  // Reflected to 140 and right-justified there: its string box, a's 100 M
  // font units (195,312 world units), ends 40,000 left of 140.
  const pl3::Box mirrored = extent(1);
  EXPECT_NEAR(mirrored.xmin, 140 - (40000 + 195312) / Z, 1);
  EXPECT_EQ(mirrored.xmax - mirrored.xmin, plain.xmax - plain.xmin);
  EXPECT_EQ(extent(5).xmin, mirrored.xmin) << "mode 5 as mode 1";
  EXPECT_EQ(extent(2).xmax < 80, true) << "the line mode is not mirrored";
  pl3::g_raster.currentEntity = nullptr;
  ReleaseTower(&item);
  DeleteEntity(symbol);
  ReleaseTower(&symbol);
}

constexpr std::uint16_t kBoardCode = 102;  // a PCB design

// A PCB window with a display list over a board that holds the text: a
// render runs inside the text's build, as the list's text handler runs it.
struct ListedText {
  CurrentWindowData w{kEditorPcb};
  geomtest::Plane plane{40, 40};
  Tower* board = towertest::NewTopLevelEntity(kBoardCode);
  Tower* entity = nullptr;
  explicit ListedText(TextBuffer& t) {
    LayerRecord& r = w.layerTable.layers[7];
    r.flags = kLayerPresent | kLayerVisible;
    r.planeBit = 1;
    w.design = board;
    w.Display = NewDisplayList();
    ActiveWindowData = &w;
    entity = InsertEntity(board, static_cast<std::uint32_t>(t.bytes.size()), 5, t.get());  // a Text
  }
  ~ListedText() {
    FreeDisplayList(List());
    w.Display = nullptr;
    ActiveWindowData = nullptr;
    ReleaseTower(&entity);
    DeleteEntity(board);
    ReleaseTower(&board);
  }
  DisplayList* List() { return static_cast<DisplayList*>(w.Display); }
  void RenderInBuild(const TextPayload* text, std::uint8_t mode) {
    struct Call {
      const TextPayload* text;
      std::uint8_t mode;
    } call{text, mode};
    CurrentDisplayList = List();
    CurrentDisplayEntity = entity;
    RunDisplayBuild(entity, 7, &pl3::kIdentityTransform, 37, [](void* context) {
      const auto* c = static_cast<const Call*>(context);
      RenderTextEntity(nullptr, c->text, c->mode, &pl3::kIdentityTransform);
    }, &call);
    CurrentDisplayList = nullptr;
    CurrentDisplayEntity = nullptr;
  }
  std::vector<const DisplayItem*> Items() {
    std::vector<const DisplayItem*> out;
    for (DisplayNode* n : List()->lists)
      for (; n; n = n->next) out.push_back(n->item);
    return out;
  }
};

// Mode 9 hands glyphs to the display list's builders only: inside the text's
// build a's polygon becomes one polygon item of the text on its layer, and
// a's outline, which runs past its record, is skipped; nothing is drawn.
// Outside a build it adds nothing; no other mode adds anything.
TEST_F(TextRender, DisplayListModeGoesToTheListOnly) {
  TextBuffer t("a", 3);
  SetStringBox(t.get());
  ListedText listed(t);
  RenderTextEntity(nullptr, t.get(), 9, &pl3::kIdentityTransform);
  EXPECT_TRUE(listed.Items().empty()) << "no build, no item";

  listed.RenderInBuild(t.get(), 9);
  const std::vector<const DisplayItem*> items = listed.Items();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0]->kind, 4);  // a polygon
  EXPECT_EQ(items[0]->layer, 7);
  EXPECT_TRUE(items[0]->flags & kItemTextOutline);
  EXPECT_EQ(TowerEntity(items[0]->entity), TowerEntity(listed.entity));
  EXPECT_TRUE(listed.plane.Lit().empty()) << "the list mode draws nothing";

  for (std::uint8_t mode : {0, 1, 2, 5, 8, 10, 11}) {
    listed.RenderInBuild(t.get(), mode);
    EXPECT_EQ(listed.Items().size(), 1u) << "mode " << int{mode};
  }
  EXPECT_EQ(CollectedTextPolygons.count, 1u) << "mode 10 collected a's polygon instead";
}

TEST_F(TextRender, MissingCharacterWidensAnOverbarByTheMissingSize) {
  OverbarView v;
  const pl3::Box one = Extent(v.Draw("~c~"));
  const pl3::Box two = Extent(v.Draw("~cZ~"));
  std::int32_t missing = kMissingGlyphSize;
  pl3::ScaleValueByFactor(missing, 8 * 4096);
  EXPECT_NEAR((two.xmax - two.xmin) - (one.xmax - one.xmin), missing / OverbarView::kZoom, 1);
}

TEST_F(TextRender, CountingModeDrawsFontThreeWithFontTwo) {
  CurrentWindowData w(kEditorSchematic);
  ActiveWindowData = &w;
  SetFontRecord(3, nullptr);
  TextBuffer t("~a~", 3);
  RenderTextEntity(nullptr, t.get(), 7, &pl3::kIdentityTransform);
  EXPECT_EQ(TextTriangleCount, 0u);  // no font 2 yet: nothing at all

  NewFont(2);
  SetFontRecord(3, nullptr);
  RenderTextEntity(nullptr, t.get(), 7, &pl3::kIdentityTransform);
  EXPECT_EQ(TextTriangleCount, 2u);
}

}  // namespace
