#include "edit/view_scrolling.h"

#include <gtest/gtest.h>

#include "draw/auto_pan_seams.h"
#include "edit/engine_helpers.h"
#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "tests/draw/view_fixture.h"

namespace {

using viewtest::kClientHeight;
using viewtest::kClientWidth;
using viewtest::kZoom;
using viewtest::W;

class ViewScrolling : public viewtest::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    TrackBetween(5, 40, 200, 40);
    TrackBetween(60, 5, 60, 200);
    TrackBetween(10, 10, 150, 85);
    RedrawView(view);
  }
  // The plane and colours a full redraw gives at the present origin.
  void ExpectSameAsFullRedraw() {
    const auto plane = PlaneCopy(kClientWidth, kClientHeight);
    const auto colour = ColourCopy(kClientWidth, kClientHeight);
    Fill(viewtest::kStale);
    RedrawView(view);
    EXPECT_EQ(plane, PlaneCopy(kClientWidth, kClientHeight));
    EXPECT_EQ(colour, ColourCopy(kClientWidth, kClientHeight));
  }
};

struct ScrollCase {
  std::uint32_t bar;
  WORD code;
  std::int32_t dx, dy;
};

TEST_F(ViewScrolling, LinesAndPagesMoveByATenthAndNineTenthsAndEqualARedraw) {
  const ScrollCase cases[] = {
      {WM_HSCROLL, SB_LINERIGHT, kClientWidth / 10, 0}, {WM_HSCROLL, SB_LINELEFT, -kClientWidth / 10, 0},
      {WM_VSCROLL, SB_LINEDOWN, 0, kClientHeight / 10}, {WM_VSCROLL, SB_PAGEDOWN, 0, kClientHeight * 9 / 10},
      {WM_HSCROLL, SB_PAGELEFT, -kClientWidth * 9 / 10, 0},
  };
  window->ViewOriginX = 200;
  RedrawView(view);
  for (const ScrollCase& c : cases) {
    SCOPED_TRACE(c.code);
    const std::int32_t x = window->ViewOriginX, y = window->ViewOriginY;
    const std::uint32_t before = RedrawCount;
    DoScroll(view, c.bar, c.code);
    EXPECT_EQ(window->ViewOriginX, x + c.dx);
    EXPECT_EQ(window->ViewOriginY, y + c.dy);
    EXPECT_EQ(RedrawCount, before + 1) << "one strip rendered, not the view";
    ExpectSameAsFullRedraw();
  }
}

TEST_F(ViewScrolling, TheViewStopsAtTheWorldsLeftAndTopEdges) {
  window->ViewOriginX = 5;
  RedrawView(view);
  DoScroll(view, WM_HSCROLL, SB_PAGELEFT);
  DoScroll(view, WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(window->ViewOriginX, 0);
  EXPECT_EQ(window->ViewOriginY, 0);
  ExpectSameAsFullRedraw();
}

TEST_F(ViewScrolling, AJumpPastOneScreenRedrawsTheWholeView) {
  UpdateViewScrollBars(view);
  DoScroll(view, WM_HSCROLL, SB_RIGHT);
  EXPECT_EQ(window->ViewOriginX, static_cast<std::int32_t>(2011680000 / kZoom) - kClientWidth);
  DoScroll(view, WM_HSCROLL, SB_LEFT);
  EXPECT_EQ(window->ViewOriginX, 0);
  ExpectSameAsFullRedraw();
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(view, SB_HORZ, &info);
  EXPECT_EQ(info.nMax, static_cast<int>(2011680000 / kZoom));
  EXPECT_EQ(info.nPage, static_cast<UINT>(kClientWidth));
  EXPECT_EQ(info.nPos, 0);
}

TEST_F(ViewScrolling, TheCursorFollowsTheMouseOnFreeAxesOnly) {
  window->MousePixel = {30, 20};
  window->Cursor = {1234, 5678};
  window->AxisLock = 0x1;
  DoScroll(view, WM_HSCROLL, SB_LINERIGHT);
  DoScroll(view, WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(window->Cursor.x, 1234);
  EXPECT_EQ(window->Cursor.y, static_cast<std::int32_t>((window->ViewOriginY + 20) * kZoom));
  EXPECT_EQ(window->DisplayedCursor.y, window->Cursor.y);
}

TEST_F(ViewScrolling, OtherCodesAndOtherWindowsChangeNothing) {
  DoScroll(view, WM_HSCROLL, SB_ENDSCROLL);
  DoScroll(reinterpret_cast<void*>(0x99), WM_HSCROLL, SB_LINERIGHT);
  EXPECT_EQ(window->ViewOriginX, 0);
  EXPECT_EQ(window->ViewOriginY, 0);
}

TEST_F(ViewScrolling, CentringPutsThePointMidViewAndKeepsTheViewInsideTheWorld) {
  CentreViewOnPoint(view, {static_cast<std::int32_t>(500 * kZoom), static_cast<std::int32_t>(400 * kZoom)});
  EXPECT_EQ(window->ViewOriginX, 500 - kClientWidth / 2 - 1);
  EXPECT_EQ(window->ViewOriginY, 400 - kClientHeight / 2 - 1);
  CentreViewOnPoint(view, {W(3), W(3)});
  EXPECT_EQ(window->ViewOriginX, 0);
  EXPECT_EQ(window->ViewOriginY, 0);
  window->Zoom = 1024000;
  CentreViewOnPoint(view, {-2, -2});  // the far corner of the unsigned world
  const std::int64_t last = 4294967295LL / 1024000;
  EXPECT_EQ(window->ViewOriginX, last - kClientWidth - 1);
  EXPECT_EQ(window->ViewOriginY, last - kClientHeight - 1);
  EXPECT_LE((std::int64_t{window->ViewOriginY} + kClientHeight) * 1024000, 4294967295LL);
}

// ---- The engine helpers ----------------------------------------------------------------

TEST_F(ViewScrolling, ItemsMoveWithTheCursorInTheCarryingModes) {
  struct Case {
    std::uint8_t mode;
    std::uint8_t locatorKind;
    bool selection;
    int attached;
  } cases[] = {{39, 0, true, 1}, {39, 0, false, 0}, {40, 0, true, 1}, {51, 0, false, 1}, {68, 0, false, 1},
               {85, 0, false, 1}, {71, 3, false, 1}, {71, 2, false, 0}, {71, 15, false, 1}, {1, 0, true, 0}};
  SelectionInfo one{};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    window->EditMode = c.mode;
    window->InsertLocatorKind = c.locatorKind;
    window->SelectionList = c.selection ? &one : nullptr;
    EXPECT_EQ(IsItemAttachedToCursor(), c.attached);
  }
  window->SelectionList = nullptr;
}

TEST_F(ViewScrolling, LayerChoiceAndLetters) {
  for (auto& r : window->layerTable.layers) r.flags &= ~kLayerSelectable;
  window->layerTable.layers[Layer_Top].flags |= kLayerSelectable;
  window->layerTable.layers[Layer_Top].letter = 't';
  window->layerTable.layers[2].flags |= kLayerSelectable;
  window->layerTable.layers[Layer_TopSilkscreen].flags |= kLayerSelectable;
  EXPECT_EQ(ChooseLayerOfKind(Layer_Top, LayerKind_Copper), Layer_Top);
  EXPECT_EQ(ChooseLayerOfKind(Layer_Bottom, LayerKind_Copper), Layer_Top) << "the next copper round the table";
  EXPECT_EQ(ChooseLayerOfKind(Layer_Top, LayerKind_Silkscreen), Layer_TopSilkscreen);
  EXPECT_EQ(ChooseLayerOfKind(3, 0), Layer_TopSilkscreen);
  EXPECT_EQ(FindLayerByLetter('T'), Layer_Top);
  EXPECT_EQ(FindLayerByLetter('t'), 255) << "the letter given is not folded";
  window->layerTable.layers[Layer_Top].flags &= ~kLayerPresent;
  EXPECT_EQ(FindLayerByLetter('T'), 255);
}

TEST_F(ViewScrolling, SmallHelpers) {
  pl3::Box box{10, 10, 20, 20};
  AddPointToBox(&box, {5, 30});
  EXPECT_EQ(box.xmin, 5);
  EXPECT_EQ(box.ymax, 30);
  EXPECT_EQ(box.ymin, 10);

  ButtonRecord b{};
  std::memset(&b, 0x5A, sizeof b);
  const ButtonRecord kept = b;
  ClearButtonRecord(&b);
  EXPECT_EQ(b.MousePixel.x, 0);
  EXPECT_EQ(b.MouseWorld.y, 0);
  EXPECT_EQ(b.Unused[1], 0u);
  EXPECT_EQ(b.AnchorPoint.x, 0);
  EXPECT_EQ(b.HoldScreenPos.x, kept.HoldScreenPos.x);
  EXPECT_EQ(b.AnchorPoint.y, kept.AnchorPoint.y);

  CentroidPayload c{};
  c.position = {100, 100};
  c.direction = {0, -50};
  MoveCentroidPart(&c, {7, 8}, 0);
  MoveCentroidPart(&c, {1, 2}, 6);
  MoveCentroidPart(&c, {1000, 1000}, 3);
  EXPECT_EQ(c.position.x, 107);
  EXPECT_EQ(c.position.y, 108);
  EXPECT_EQ(c.direction.x, 1);
  EXPECT_EQ(c.direction.y, -48);
  EXPECT_EQ(GetPl2BufferSize(), 25608u);
  EXPECT_EQ(PreviewZoom({0, 0, 200 * 64000, 100}), 128000u);
  EXPECT_EQ(PreviewZoom({0, 0, 200 * 64000 - 200, 100}), 64000u);
}

TEST_F(ViewScrolling, APreviewIsTwoHundredPixelsOfTheBoxAndLeavesTheViewAsItWas) {
  // 12,800,000 units square: 128,000 units per pixel, the box 100 pixels wide.
  Put(Add(design, Type_Track, displaytest::Track(Layer_Top, 0, 6400000, 12800000, 6400000, 400000)));
  const pl3::Box box{0, 0, 12800000, 12800000};
  const pl3::ViewMapping before = window->View;
  std::uint32_t* buffer = pl3::g_raster.colourBuffer;
  HBITMAP image = RenderBoxThumbnail(design, &box);
  ASSERT_NE(image, nullptr);
  BITMAP info{};
  ASSERT_TRUE(GetObject(image, sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 200);
  EXPECT_EQ(info.bmHeight, 200);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP old = SelectObject(dc, image);
  // The track crosses the middle row from the box's left edge (pixel 50) to its right (150).
  const COLORREF background = GetPixel(dc, 100, 20);
  EXPECT_EQ(GetPixel(dc, 40, 100), background);
  EXPECT_NE(GetPixel(dc, 60, 100), background);
  EXPECT_NE(GetPixel(dc, 140, 100), background);
  EXPECT_EQ(GetPixel(dc, 160, 100), background);
  int drawn = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) drawn += GetPixel(dc, x, y) != background;
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(image);
  EXPECT_GT(drawn, 0) << "the tracks show";
  EXPECT_EQ(window->View.originX, before.originX);
  EXPECT_EQ(window->View.zoom, before.zoom);
  EXPECT_EQ(pl3::g_raster.colourBuffer, buffer);
  EXPECT_EQ(window->WalkHidden, 1);
}

}  // namespace
