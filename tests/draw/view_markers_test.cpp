#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "draw/gdi_shapes.h"
#include "draw/view_markers.h"
#include "app/core_utilities.h"
#include "objects/cursor_zoom.h"
#include "platform/user.h"
#include "tests/support/test_windows.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "platform/gdi.h"
#include "platform/surface.h"

namespace {

using pl3::g_raster;

constexpr std::uint32_t kPaper = 0x123456;

// A surface under an XOR pen, and a view of zoom 1 with its origin at
// (originX, originY): world x lands on pixel x - 1 - originX.
struct Surface {
  std::vector<std::uint32_t> pixels;
  pl3::PixelSurface surface;
  HDC dc;
  HPEN pen;
  pl3::ViewClip clip;
  pl3::ViewMapping view;
  Surface(int w, int h, int originX = 0, int originY = 0) : pixels(static_cast<std::size_t>(w) * h, kPaper) {
    surface = {pixels.data(), w, h, w};
    dc = pl3::CreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, w, h});
    pen = CreatePen(PS_SOLID, 1, 0xFFFFFF);
    SelectObject(dc, pen);
    SetROP2(dc, R2_XORPEN);
    clip = {0, 0, w - 1, h - 1, w, h};
    view = {originX, originY, 1};
    g_raster.clip = &clip;
    g_raster.view = &view;
  }
  ~Surface() {
    pl3::DeleteSurfaceDC(dc);
    DeleteObject(pen);
    g_raster.view = nullptr;
    g_raster.clip = nullptr;
  }
  bool Marked(int x, int y) const { return pixels[static_cast<std::size_t>(y) * surface.stride + x] != kPaper; }
  int MarkedCount() const {
    int n = 0;
    for (std::uint32_t p : pixels) n += p != kPaper;
    return n;
  }
};

TEST(ViewMarkers, EachMarkerDrawnTwiceRestoresTheWindow) {
  const std::pair<const char*, std::function<void(HDC)>> markers[] = {
      {"datum", [](HDC dc) { DrawDatumMarker(dc, 41, 41); }},
      {"origin", [](HDC dc) { GhostOriginMarkerOnDC(dc, 41, 41); }},
      {"sized origin", [](HDC dc) { DrawSizedOriginMarker(dc, 41, 41, 31); }},
  };
  for (const auto& [name, draw] : markers) {
    Surface s(90, 90);
    draw(s.dc);
    EXPECT_GT(s.MarkedCount(), 40) << name;
    EXPECT_TRUE(s.Marked(40, 40)) << name << ": the point is drawn once";
    draw(s.dc);
    EXPECT_EQ(s.MarkedCount(), 0) << name;
  }
}

TEST(ViewMarkers, NothingLeftOfOrAboveTheViewOrigin) {
  const std::pair<int, int> points[] = {{14, 41}, {41, 14}, {5, 5}};
  for (const auto& [x, y] : points) {
    Surface s(90, 90, 20, 20);
    DrawDatumMarker(s.dc, x, y);
    GhostOriginMarkerOnDC(s.dc, x, y);
    DrawSizedOriginMarker(s.dc, x, y, 31);
    EXPECT_EQ(s.MarkedCount(), 0) << x << "," << y;
  }
  Surface s(90, 90, 20, 20);
  DrawDatumMarker(s.dc, 41, 41);  // lands on pixel (20, 20)
  EXPECT_TRUE(s.Marked(20, 20));
  EXPECT_TRUE(s.Marked(5, 20)) << "the arm reaches left of the point";
}

TEST(ViewMarkers, DatumIsACrossAndACircleOfTwentyPixels) {
  Surface s(90, 90);
  DrawDatumMarker(s.dc, 41, 41);
  for (int d : {-15, -1, 1, 15}) {  // the outermost arm pixels meet the circle
    EXPECT_TRUE(s.Marked(40 + d, 40)) << d;
    EXPECT_TRUE(s.Marked(40, 40 + d)) << d;
  }
  EXPECT_FALSE(s.Marked(18, 40));
  EXPECT_FALSE(s.Marked(40, 62));
  EXPECT_FALSE(s.Marked(50, 50)) << "the circle is not filled";
  int onRing = 0;  // pixels of the circle away from the cross
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 90; ++x)
      if (x != 40 && y != 40 && s.Marked(x, y)) {
        const int dx = x - 40, dy = y - 40;
        EXPECT_NEAR(dx * dx + dy * dy, 400, 60) << x << "," << y;
        ++onRing;
      }
  EXPECT_GT(onRing, 60);
}

TEST(ViewMarkers, OriginArrowsAndTheSizedFigure) {
  struct Case {
    int length;  // world length for the sized figure, 0 for the plain marker
    int arrow;
    int tail;
  };
  // At zoom 1 the world length 31 scales to 30 pixels: a tail and head of 10.
  for (const Case c : {Case{0, 20, 5}, Case{31, 30, 10}, Case{10, 9, 3}}) {
    Surface s(90, 90);
    if (c.length) {
      DrawSizedOriginMarker(s.dc, 41, 41, c.length);
    } else {
      GhostOriginMarkerOnDC(s.dc, 41, 41);
    }
    EXPECT_TRUE(s.Marked(40 - c.tail, 40)) << c.arrow;
    EXPECT_FALSE(s.Marked(40 - c.tail - 1, 40)) << c.arrow;
    EXPECT_TRUE(s.Marked(40 + c.arrow, 40)) << c.arrow;
    EXPECT_FALSE(s.Marked(40 + c.arrow + 1, 40)) << c.arrow;
    EXPECT_TRUE(s.Marked(40, 40 + c.tail)) << c.arrow;
    EXPECT_FALSE(s.Marked(40, 40 + c.tail + 1)) << c.arrow;
    EXPECT_TRUE(s.Marked(40, 40 - c.arrow)) << c.arrow;
    EXPECT_FALSE(s.Marked(40, 40 - c.arrow - 1)) << c.arrow;
    // The heads: barbs a tail's length back from each tip.
    EXPECT_TRUE(s.Marked(40 + c.arrow - c.tail, 40 - c.tail)) << c.arrow;
    EXPECT_TRUE(s.Marked(40 + c.arrow - c.tail, 40 + c.tail)) << c.arrow;
    EXPECT_TRUE(s.Marked(40 - c.tail, 40 - c.arrow + c.tail)) << c.arrow;
    EXPECT_TRUE(s.Marked(40 + c.tail, 40 - c.arrow + c.tail)) << c.arrow;
    EXPECT_FALSE(s.Marked(40 - c.tail, 40 + c.tail)) << "no head behind the point";
  }
}

TEST(ClippedGdiShapes, CircleSkippedAtTheCoordinateLimit) {
  Surface s(40, 40);
  SelectObject(s.dc, GetStockObject(HOLLOW_BRUSH));
  EXPECT_EQ(DrawCircle(s.dc, 20, 20, 10), 1);
  EXPECT_TRUE(s.Marked(30, 20) || s.Marked(29, 20));
  EXPECT_EQ(DrawCircle(s.dc, 16383, 10, 5), 1);  // 16378 + 16388 = 32766
  EXPECT_EQ(DrawCircle(s.dc, 16384, 10, 5), 0);
  EXPECT_EQ(DrawCircle(s.dc, 10, 16384, 5), 0);
}

TEST(ClippedGdiShapes, SegmentLineClipsToTheView) {
  Surface s(40, 40);
  EXPECT_EQ(DrawSegmentLine(s.dc, pl3::ViewSegment{50, 5, 80, 5}), 0);
  EXPECT_EQ(DrawSegmentLine(s.dc, pl3::ViewSegment{5, -10, 5, -2}), 0);
  EXPECT_EQ(s.MarkedCount(), 0);
  EXPECT_EQ(DrawSegmentLine(s.dc, pl3::ViewSegment{-100, 10, 100, 10}), 1);
  EXPECT_TRUE(s.Marked(0, 10));
  EXPECT_TRUE(s.Marked(38, 10));
  EXPECT_FALSE(s.Marked(5, 11));
}

}  // namespace

namespace {

// The pixels of the window's framebuffer that differ from a copy taken
// before, and the XOR of the first one that does.
int ChangedPixels(const pl3::PixelSurface* surface, const std::vector<std::uint32_t>& before, std::uint32_t* firstXor) {
  int n = 0;
  for (int y = 0; y < surface->height; ++y)
    for (int x = 0; x < surface->width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * surface->width + x;
      const std::uint32_t now = surface->pixels[static_cast<std::size_t>(y) * surface->stride + x];
      if (now != before[i]) {
        if (n++ == 0 && firstXor) *firstXor = (now ^ before[i]) & 0xFFFFFF;
      }
    }
  return n;
}

std::vector<std::uint32_t> Copy(const pl3::PixelSurface* surface) {
  std::vector<std::uint32_t> out;
  for (int y = 0; y < surface->height; ++y)
    for (int x = 0; x < surface->width; ++x)
      out.push_back(surface->pixels[static_cast<std::size_t>(y) * surface->stride + x]);
  return out;
}

}  // namespace

TEST(ViewMarkers, GhostsAreGreenXorOnACountedContextAndUndoThemselves) {
  HWND window = MakeTestParentWindow("GhostMarkerTest");
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  pl3::ViewClip clip{0, 0, 399, 299, 400, 300};
  pl3::ViewMapping view{0, 0, 1};
  g_raster.clip = &clip;
  g_raster.view = &view;
  const MarkerDrag record{{61, 61}, {0, 0}};
  const struct {
    const char* name;
    void (*ghost)(void*, const MarkerDrag&);
    int pixels;  // 0: more than 40
  } ghosts[] = {{"cross", &GhostCrossMarker, 81}, {"origin", &GhostOriginMarker, 0}};
  for (const auto& g : ghosts) {
    const pl3::PixelSurface* surface = pl3::WindowSurface(window);
    ASSERT_NE(surface, nullptr);
    const std::vector<std::uint32_t> before = Copy(surface);
    const std::uint32_t counted = ViewDCCount;
    g.ghost(window, record);
    EXPECT_EQ(ViewDCCount, counted) << g.name << ": the context is released";
    std::uint32_t xorred = 0;
    const int changed = ChangedPixels(pl3::WindowSurface(window), before, &xorred);
    if (g.pixels)
      EXPECT_EQ(changed, g.pixels) << g.name;
    else
      EXPECT_GT(changed, 40) << g.name;
    EXPECT_EQ(xorred, 0x00FF00u) << g.name;
    g.ghost(window, record);
    EXPECT_EQ(ChangedPixels(pl3::WindowSurface(window), before, nullptr), 0) << g.name;
  }
  g_raster.view = nullptr;
  g_raster.clip = nullptr;
  DestroyWindow(window);
}
