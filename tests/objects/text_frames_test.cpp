#include "objects/text_frames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "geometry/raster_state.h"
#include "objects/graphic_boxes.h"
#include "objects/group_texts.h"
#include "objects/text_item_services.h"
#include "platform/gdi.h"
#include "platform/surface.h"
#include "tests/objects/info_box_fakes.h"
#include "tests/objects/info_box_fixture.h"

namespace {

using infoboxtest::Recorded;

constexpr int kSize = 200;
constexpr std::int32_t kMargin16 = 16 * 18288;

struct FreeItem {
  void operator()(TextPayload* p) const { std::free(p); }
};
using Item = std::unique_ptr<TextPayload, FreeItem>;

// The windows here show 1,000 world units per pixel into a patterned surface.
class TextFrameTest : public InfoBoxFixture {
 protected:
  void SetUp() override {
    InfoBoxFixture::SetUp();
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i * 2654435761u) & 0xFFFFFF;
    surface = {pixels.data(), kSize, kSize, kSize};
    dc = pl3::CreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, kSize, kSize});
    colours.assign(65536, 0);
    for (std::uint32_t i = 0; i < colours.size(); ++i) colours[i] = (i * 0x010305u) & 0xFFFFFF;
    colours[0] = 0x203040;  // the background
    window->ColourTable = colours.data();
    for (int l = 0; l < 256; ++l) window->layerTable.layers[l].planeBit = 1u << (l % 16);
    UpdateViewGlobals();
    pl3::g_raster.clip = &clip;
  }
  void TearDown() override {
    pl3::DeleteSurfaceDC(dc);
    pl3::g_raster.clip = nullptr;
    InfoBoxFixture::TearDown();
  }
  Item Text(const char* s, pl3::Point at, std::int32_t size = 16) {
    pl3::Transform t = pl3::kIdentityTransform;
    t.tx = at.x;
    t.ty = at.y;
    return Item(CreateTextItemEx(s, size, 2, &t, 0, 3));
  }
  static pl3::Box StringBox(const TextPayload* text) {
    pl3::Box b;
    std::memcpy(&b, text->bytes52 + 4, sizeof b);
    return b;
  }

  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(kSize * kSize);
  std::vector<std::uint32_t> colours;
  pl3::PixelSurface surface{};
  pl3::ViewClip clip{0, 0, kSize - 1, kSize - 1, kSize, kSize};
  HDC dc = nullptr;
};

TEST_F(TextFrameTest, HiddenTextsGiveAnEmptyBoxAndDrawNothing) {
  Item text = Text("AB", {100000, 100000});
  window->TextDisplay = 0;
  pl3::Box box{1, 2, 3, 4};
  DrawTextFrame(&box, nullptr, text.get(), 0, 0, 0, kTextFrameDisplayList);
  EXPECT_EQ(box.xmin, 0);
  EXPECT_EQ(box.ymin, 0);
  EXPECT_EQ(box.xmax, 0);
  EXPECT_EQ(box.ymax, 0);
  EXPECT_TRUE(Recorded().tracks.empty());
}

TEST_F(TextFrameTest, TheFrameIsTheMovedStringBoxGrownAndListedSideBySide) {
  Item text = Text("AB", {50000000, 60000000});
  const pl3::Box s = StringBox(text.get());
  pl3::Box box;
  DrawTextFrame(&box, nullptr, text.get(), 0, 1000, 2000, kTextFrameDisplayList);
  EXPECT_EQ(box.xmin, 50000000 + s.xmin + 1000 - kMargin16);
  EXPECT_EQ(box.ymin, 60000000 + s.ymin + 2000 - kMargin16);
  EXPECT_EQ(box.xmax, 50000000 + s.xmax + 1000 + kMargin16);
  EXPECT_EQ(box.ymax, 60000000 + s.ymax + 2000 + kMargin16);
  ASSERT_EQ(Recorded().tracks.size(), 4u);
  const pl3::Point expected[4][2] = {{{box.xmin, box.ymin}, {box.xmax, box.ymin}},
                                     {{box.xmax, box.ymax}, {box.xmax, box.ymin}},
                                     {{box.xmax, box.ymax}, {box.xmin, box.ymax}},
                                     {{box.xmin, box.ymin}, {box.xmin, box.ymax}}};
  for (int i = 0; i < 4; ++i) {
    const LinePayload& l = Recorded().tracks[i].line;
    EXPECT_EQ(l.x1, expected[i][0].x) << i;
    EXPECT_EQ(l.y1, expected[i][0].y) << i;
    EXPECT_EQ(l.x2, expected[i][1].x) << i;
    EXPECT_EQ(l.y2, expected[i][1].y) << i;
    EXPECT_EQ(l.head.layer, 255) << i;
    EXPECT_EQ(l.width, 0) << i;
  }
  // The width factor is taken times the zoom.
  Recorded().tracks.clear();
  DrawTextFrame(&box, nullptr, text.get(), 3, 0, 0, kTextFrameDisplayList);
  EXPECT_EQ(Recorded().tracks[0].line.width, 3000);
}

TEST_F(TextFrameTest, OtherModesOnlyComputeAndModeOneHandsTheSidesOver) {
  Item text = Text("AB", {50000000, 60000000});
  pl3::Box listed, drawn, other;
  DrawTextFrame(&listed, nullptr, text.get(), 0, 0, 0, kTextFrameDisplayList);
  Recorded().tracks.clear();
  DrawTextFrame(&other, nullptr, text.get(), 0, 0, 0, 5);
  EXPECT_TRUE(Recorded().tracks.empty());
  EXPECT_TRUE(Recorded().itemBoxes.empty());
  EXPECT_EQ(other.xmin, listed.xmin);
  EXPECT_EQ(other.ymax, listed.ymax);
  DrawTextFrame(&drawn, nullptr, text.get(), 0, 0, 0, kTextFrameDraw);
  ASSERT_EQ(Recorded().itemBoxes.size(), 4u);
  EXPECT_EQ(Recorded().itemBoxes[1].x1, listed.xmax);
  EXPECT_EQ(Recorded().itemBoxes[1].head.layer, 2);
}

TEST_F(TextFrameTest, AFrameNearTheOriginStopsAtZero) {
  Item text = Text("A", {100, 200});
  pl3::Box box;
  DrawTextFrame(&box, nullptr, text.get(), 0, 0, 0, 5);
  EXPECT_EQ(box.xmin, 0);
  EXPECT_EQ(box.ymin, 0);
  EXPECT_GT(box.xmax, kMargin16);
  // Exactly the margin away still stops at 0; one unit more does not.
  DrawTextFrame(&box, nullptr, text.get(), 0, kMargin16 - 100, kMargin16 - 200, 5);
  EXPECT_EQ(box.xmin, 0);
  DrawTextFrame(&box, nullptr, text.get(), 0, kMargin16 - 99, kMargin16 - 199, 5);
  EXPECT_EQ(box.xmin, 1);
  EXPECT_EQ(box.ymin, 1);
}

TEST_F(TextFrameTest, AnIndexedSizeIsFilledIn) {
  pl3::Transform t = pl3::kIdentityTransform;
  t.tx = t.ty = 50000000;
  Item text(CreateTextItem("AB", 0, 2, &t, 0, 3));
  text->size = 0;
  pl3::Box box;
  DrawTextFrame(&box, nullptr, text.get(), 0, 0, 0, 5);
  EXPECT_EQ(text->size, 12);
  EXPECT_EQ(box.xmin, 50000000 + StringBox(text.get()).xmin - 12 * 18288);
}

TEST_F(TextFrameTest, TheGhostFrameErasesItselfWhenDrawnAgain) {
  // Size 1: the frame's top side runs at pixel row 82, 18 pixels above the text.
  Item text = Text("AB", {40000, 100000}, 1);
  const std::vector<std::uint32_t> before = pixels;
  pl3::Box box;
  DrawTextFrame(&box, dc, text.get(), 0, 0, 0, kTextFrameGhost);
  int changed = 0;
  for (std::size_t i = 0; i < pixels.size(); ++i) changed += pixels[i] != before[i];
  EXPECT_GT(changed, 50);
  DrawTextFrame(&box, dc, text.get(), 0, 0, 0, kTextFrameGhost);
  EXPECT_EQ(pixels, before);
}

TEST_F(TextFrameTest, TheGroupBoxGhostTurnsTheBoxAndPutsTheViewFlagsBack) {
  Tower* group = InsertEmptyEntity(design, kTypeTextGroup);
  const std::uint8_t link[8] = {0, 0, 0, 0, kTextGroupMirrored, 0, 0, 0};
  Tower* t = InsertEntity(group, sizeof link, kTypeTextGroupLink, link);
  ReleaseTower(&t);
  pl3::Transform placement = pl3::kIdentityTransform;
  placement.tx = 100000000;
  t = InsertEntity(group, sizeof placement, Type_Transform, &placement);
  ReleaseTower(&t);
  const std::int32_t origin[3] = {5000000, 7000000, 0};
  t = InsertEntity(group, 12, Type_Origin, origin);
  ReleaseTower(&t);
  Item text = Text("AB", {1000000, 2000000});
  Tower* stored = InsertEntity(group, static_cast<std::uint32_t>(TextStoredSize(2)), Type_Text, text.get());
  SelectionInfo selection{};
  selection.original = stored;
  window->ViewFlags = 0x41;
  pl3::Box box;
  ASSERT_EQ(GhostTextBoxInGroup(&selection, &box), 1);
  EXPECT_EQ(window->ViewFlags, 0x41u);
  // The text's box mirrored in x, then placed at the group's translation
  // plus its origin (105,000,000, 7,000,000).
  std::vector<std::uint8_t> copy(TextStoredSize(2));
  std::memcpy(copy.data(), text.get(), copy.size());
  pl3::Box own = pl3::kEmptyBox;
  GetGraphicBox(copy.data(), Type_Text, &own);
  EXPECT_EQ(box.xmin, 105000000 - own.xmax);
  EXPECT_EQ(box.xmax, 105000000 - own.xmin);
  EXPECT_EQ(box.ymin, 7000000 + own.ymin);
  EXPECT_EQ(box.ymax, 7000000 + own.ymax);

  SelectionInfo loose{};
  Tower* free = InsertEntity(design, static_cast<std::uint32_t>(TextStoredSize(2)), Type_Text, text.get());
  loose.original = free;
  EXPECT_EQ(GhostTextBoxInGroup(&loose, &box), 0);
  ReleaseTower(&free);
  ReleaseTower(&stored);
  ReleaseTower(&group);
}

}  // namespace
