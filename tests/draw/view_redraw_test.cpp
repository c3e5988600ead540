#include "draw/view_redraw.h"

#include <gtest/gtest.h>

#include "draw/layer_drawing.h"
#include "edit/window_data.h"
#include "tests/draw/view_fixture.h"

namespace {

using viewtest::kBackground;
using viewtest::kStale;
using viewtest::W;

class ViewRedraw : public viewtest::ViewTest {};

struct RectCase {
  const char* name;
  pl3::Box box;  // world
  int clipToClient;
  bool render;   // RenderViewRect instead of RedrawViewRect
  RECT touched;  // inclusive pixels rendered; right < 0 for none
};

TEST_F(ViewRedraw, RendersTheBoxFromItsFirstCornerToOnePastItsSecondWithinPlaneAndClient) {
  const RectCase cases[] = {
      {"inside", {W(20), W(10), W(30), W(20)}, 1, false, {20, 10, 31, 21}},
      {"left of and above the view", {-W(5), -W(3), W(10), W(8)}, 1, false, {0, 0, 11, 9}},
      {"past the client, clipped", {W(100), W(80), W(300), W(300)}, 1, false, {100, 80, 120, 90}},
      {"past the plane, unclipped", {W(100), W(80), W(400), W(400)}, 0, true, {100, 80, 255, 255}},
      {"right of the client", {W(130), W(10), W(140), W(20)}, 1, false, {0, 0, -1, -1}},
      {"below the client, unclipped", {W(10), W(95), W(20), W(99)}, 0, true, {0, 0, -1, -1}},
  };
  for (const RectCase& c : cases) {
    SCOPED_TRACE(c.name);
    Fill(kStale);
    if (c.render)
      RenderViewRect(view, &c.box, c.clipToClient);
    else
      RedrawViewRect(view, &c.box, c.clipToClient);
    const RECT got = Touched();
    if (c.touched.right < 0) {
      EXPECT_LT(got.right, 0);
      continue;
    }
    EXPECT_EQ(got.left, c.touched.left);
    EXPECT_EQ(got.top, c.touched.top);
    EXPECT_EQ(got.right, c.touched.right);
    EXPECT_EQ(got.bottom, c.touched.bottom);
    EXPECT_EQ(PlaneAt(c.touched.left, c.touched.top), kBackground);
    EXPECT_EQ(PlaneAt(c.touched.right, c.touched.bottom), kBackground);
  }
}

TEST_F(ViewRedraw, PaintsTheListedItemsInTheBoxColourisesAndInvalidatesOnlyTheRectangle) {
  TrackBetween(5, 40, 60, 40);
  ValidateRect(view, nullptr);
  const std::uint32_t before = RedrawCount;
  const pl3::Box box{W(10), W(30), W(20), W(50)};
  RedrawViewRect(view, &box, 1);
  EXPECT_EQ(RedrawCount, before + 1);
  EXPECT_EQ(PlaneAt(15, 40), kBackground | displaytest::kTopBit);
  EXPECT_EQ(PlaneAt(15, 35), kBackground);
  EXPECT_EQ(PlaneAt(30, 40), kStale) << "the track outside the box is not drawn";
  EXPECT_EQ(ColourAt(15, 40), colours[kBackground | displaytest::kTopBit]);
  EXPECT_EQ(ColourAt(30, 40), kStale) << "colours outside the rectangle stay";
  EXPECT_EQ(window->ViewFlags & kViewRegionRender, 0u);
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(view, &update, FALSE));
  EXPECT_EQ(update.left, 10);
  EXPECT_EQ(update.top, 30);
  EXPECT_LE(update.right, 22);
  EXPECT_GE(update.right, 20);
}

TEST_F(ViewRedraw, StripRenderNeitherColourisesNorInvalidates) {
  TrackBetween(5, 40, 60, 40);
  ValidateRect(view, nullptr);
  const pl3::Box box{W(10), W(30), W(20), W(50)};
  RenderViewRect(view, &box, 0);
  EXPECT_EQ(PlaneAt(15, 40), kBackground | displaytest::kTopBit);
  EXPECT_EQ(ColourAt(15, 40), kStale);
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(view, &update, FALSE));
}

TEST_F(ViewRedraw, NullBoxAndRedrawViewRedrawTheWholeClientAndEndSingleColourMode) {
  window->StateFlags |= kStateSingleColour;
  RedrawViewRect(view, nullptr, 1);
  EXPECT_EQ(window->StateFlags & kStateSingleColour, 0u);
  const RECT got = Touched();
  EXPECT_EQ(got.left, 0);
  EXPECT_EQ(got.top, 0);
  EXPECT_GE(got.right, client.right - 1);
  EXPECT_GE(got.bottom, client.bottom - 1);
  EXPECT_LE(got.right, client.right + 1);
  EXPECT_EQ(PlaneAt(client.right - 1, client.bottom - 1), kBackground);
}

TEST_F(ViewRedraw, PackageAndThreeDViewsAreLeftAlone) {
  const pl3::Box box{W(10), W(10), W(20), W(20)};
  for (std::uint32_t kind : {kEditorPackage, kEditorThreeD, kEditorThreeDOther}) {
    SCOPED_TRACE(kind);
    window->editorKind = kind;
    const std::uint32_t before = RedrawCount;
    RedrawViewRect(view, &box, 1);
    RenderViewRect(view, &box, 1);
    RedrawView(view);
    EXPECT_LT(Touched().right, 0);
    EXPECT_EQ(RedrawCount, before);
  }
}

TEST_F(ViewRedraw, InnerPlaneMaskIsTheBackgroundWithTheUsedInnerLayers) {
  const pl3::Box box{W(10), W(10), W(20), W(20)};
  RedrawViewRect(view, &box, 1);
  EXPECT_EQ(InnerPlaneMask, kBackground | displaytest::kInnerBit);
}

TEST_F(ViewRedraw, AWindowThatIsNotTheActiveOneIsNotDrawn) {
  const pl3::Box box{W(10), W(10), W(20), W(20)};
  RedrawViewRect(reinterpret_cast<void*>(0x1234), &box, 1);
  EXPECT_LT(Touched().right, 0);
}

}  // namespace
