#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "draw/raster_callbacks.h"
#include "geometry/arcs.h"
#include "geometry/rasterise.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "platform/gdi.h"
#include "platform/surface.h"
#include "store/tower.h"

namespace {

using pl3::g_raster;

Tower* NewEntity(std::uint16_t code) {
  Tower* t = NewTower(0);
  t->levels[0].typeCode = code;
  InsertAtLastLevel(t, 0);
  return t;
}

struct Surface {
  std::vector<std::uint32_t> pixels;
  pl3::PixelSurface surface;
  HDC dc;
  pl3::ViewClip clip;
  Surface(int w, int h) : pixels(static_cast<std::size_t>(w) * h, 0xFFFFFF) {
    surface = {pixels.data(), w, h, w};
    dc = pl3::CreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, w, h});
    SelectObject(dc, GetStockObject(BLACK_PEN));
    clip = {0, 0, w - 1, h - 1, w, h};
    g_raster.clip = &clip;
  }
  ~Surface() { pl3::DeleteSurfaceDC(dc); }
  bool Black(int x, int y) const { return pixels[static_cast<std::size_t>(y) * surface.stride + x] == 0; }
  int BlackCount() const {
    int n = 0;
    for (std::uint32_t p : pixels) n += p == 0;
    return n;
  }
};

TEST(AreaPick, ListsAnEntityOnceAndMarksItPicked) {
  Tower* a = NewEntity(1);
  Tower* b = NewEntity(3);
  int item = 0, head = 0, node = 0;
  pl3::BeginAreaPick({10, 10, 20, 20});
  pl3::SetAreaPickContext(&item, &head, &node);

  g_raster.currentEntity = nullptr;
  EXPECT_EQ(PickHorizontalRun(0, 30, 15), 0);  // no current entity

  g_raster.currentEntity = a;
  g_raster.pickPending = 1;
  EXPECT_EQ(PickHorizontalRun(0, 9, 15), 0);   // left of the area
  EXPECT_EQ(PickHorizontalRun(0, 30, 21), 0);  // below it
  EXPECT_EQ(g_raster.pickPending, 1);
  EXPECT_EQ(PickHorizontalRun(0, 10, 20), 1);  // touches the corner
  EXPECT_EQ(g_raster.pickPending, 0);
  EXPECT_TRUE(TowerEntity(a)->flags & pl3::kEntityPicked);
  EXPECT_EQ(PickHorizontalRun(12, 14, 12), 1);  // already picked: no second node

  // The vertical run finds an entity already listed instead of marking it.
  g_raster.currentEntity = b;
  g_raster.pickPending = 1;
  EXPECT_EQ(PickVerticalRun(21, 0, 30), 0);
  EXPECT_EQ(PickVerticalRun(20, 0, 10), 1);
  EXPECT_EQ(g_raster.pickPending, 0);
  EXPECT_FALSE(TowerEntity(b)->flags & pl3::kEntityPicked);
  EXPECT_EQ(PickVerticalRun(15, 12, 14), 1);
  EXPECT_EQ(pl3::CountListNodes(pl3::PickList()), 2u);

  pl3::PickListNode* list = pl3::PickList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(TowerEntity(list->entity), TowerEntity(b));  // newest first
  EXPECT_EQ(list->context[0], &item);
  EXPECT_EQ(list->context[2], &node);
  pl3::ForgetPickedItems();
  EXPECT_EQ(list->context[0], nullptr);
  ASSERT_NE(list->next, nullptr);
  EXPECT_EQ(TowerEntity(list->next->entity), TowerEntity(a));
  EXPECT_EQ(list->next->next, nullptr);

  pl3::FreePickList();
  EXPECT_EQ(pl3::PickList(), nullptr);
  EXPECT_FALSE(TowerEntity(a)->flags & pl3::kEntityPicked);
  g_raster.currentEntity = nullptr;
  ReleaseTower(&a);
  ReleaseTower(&b);
}

TEST(AreaPick, ThroughTheKernelsSpanTarget) {
  Tower* a = NewEntity(1);
  pl3::ViewClip clip = {0, 0, 99, 99, 100, 100};
  g_raster.clip = &clip;
  pl3::BeginAreaPick({40, 40, 45, 45});
  g_raster.spanTarget = pl3::kTargetAreaPick;
  g_raster.currentEntity = a;
  g_raster.pickPending = 1;
  pl3::FillDisc(50, 50, 4);  // misses the area
  EXPECT_EQ(pl3::PickList(), nullptr);
  pl3::FillDisc(50, 50, 9);  // reaches it
  g_raster.spanTarget = pl3::kTargetPlane;
  ASSERT_NE(pl3::PickList(), nullptr);
  EXPECT_EQ(pl3::PickList()->next, nullptr);
  pl3::FreePickList();
  g_raster.currentEntity = nullptr;
  ReleaseTower(&a);
}

TEST(TraceCallbacks, DrawOnePixelLinesOnTheContext) {
  Surface s(40, 30);
  TraceHorizontalRun(s.dc, 2, 8, 5);  // from (2, 5) to (8, 5), last pixel excluded
  for (int x = 2; x < 8; ++x) EXPECT_TRUE(s.Black(x, 5)) << x;
  TraceVerticalRun(s.dc, 20, 3, 9);   // from (20, 3) to (20, 9)
  for (int y = 3; y < 9; ++y) EXPECT_TRUE(s.Black(20, y)) << y;
  EXPECT_EQ(s.BlackCount(), 12);
}

TEST(TraceCallbacks, OutlineTraceOfARectangleThroughTheKernel) {
  Surface s(40, 30);
  g_raster.traceContext = s.dc;
  g_raster.spanTarget = pl3::kTargetOutlineTrace;
  pl3::FillTriangle(5, 5, 25, 5, 25, 20);
  g_raster.spanTarget = pl3::kTargetPlane;
  EXPECT_GT(s.BlackCount(), 0);
  EXPECT_FALSE(s.Black(30, 25));
}

TEST(DrawClippedChord, DrawsOnlyTheVisiblePart) {
  Surface s(40, 30);
  s.clip = {10, 0, 29, 29, 40, 30};
  DrawClippedChord(s.dc, 0, 10, 39, 10);
  EXPECT_FALSE(s.Black(5, 10));
  EXPECT_TRUE(s.Black(10, 10));
  EXPECT_TRUE(s.Black(28, 10));
  EXPECT_FALSE(s.Black(35, 10));
  const int before = s.BlackCount();
  DrawClippedChord(s.dc, 0, 0, 5, 29);  // wholly left of the clip
  EXPECT_EQ(s.BlackCount(), before);
}

TEST(DrawClippedChord, ArcTraceThroughTheDirectionTable) {
  Surface s(60, 60);
  std::vector<pl3::ArcDirection> table;
  pl3::ArcLayout arc{};
  arc.centreX = 30;
  arc.centreY = 30;
  arc.radius = 20;
  arc.startX = 1;
  arc.endX = 1;  // a full circle
  table.push_back({0xFFFFFFFFu, 0});
  table.push_back({0xEC835E79u, 0x61F78A9Au});  // 22.5 degrees
  table.push_back({0xB504F334u, 0xB504F334u});
  pl3::SetArcDirectionTable(table);
  pl3::TraceArcRuns(s.dc, &arc);
  EXPECT_TRUE(s.Black(50, 30) || s.Black(49, 30));
  EXPECT_TRUE(s.Black(30, 10) || s.Black(30, 11));
  EXPECT_FALSE(s.Black(30, 30));
}

TEST(LinePattern, SwitchesColoursEveryThreePixels) {
  std::vector<std::uint32_t> plane(20 * 3, 0);
  pl3::ViewClip clip = {0, 0, 19, 2, 20, 3};
  pl3::ViewMapping view = {0, 0, 1};
  g_raster.plane = plane.data();
  g_raster.width = 20;
  g_raster.height = 3;
  g_raster.clip = &clip;
  g_raster.view = &view;
  g_raster.viewFactor = pl3::ViewFactorForZoom(1);
  pl3::StartLinePattern(0xA, 0xB, 0xC);
  pl3::DrawPatternedWorldLine(1, 2, 13, 2);  // view pixels 0..12 of row 1
  std::vector<std::uint32_t> row(plane.begin() + 20, plane.begin() + 33);
  EXPECT_EQ(row, (std::vector<std::uint32_t>{0xC, 0xC, 0xA, 0xA, 0xA, 0xB, 0xB, 0xB, 0xA, 0xA, 0xA, 0xB, 0xB}));
}

TEST(DrawingColour, IsTheKernelsFillValueItself) {
  // One storage: a colour set under either name is the colour the other reads.
  EXPECT_EQ(&pl3::CurrentDrawColour, &g_raster.fillValue);
  pl3::CurrentDrawColour = 0x820000;
  EXPECT_EQ(g_raster.fillValue, 0x820000u);
  g_raster.fillValue = 7;
  EXPECT_EQ(pl3::CurrentDrawColour, 7u);
}

}  // namespace
