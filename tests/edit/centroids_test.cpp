#include "edit/centroids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "draw/ghost_seams.h"
#include "edit/edit_modes.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/graphic_records.h"
#include "objects/locator_kinds.h"
#include "platform/gdi.h"
#include "platform/responder.h"
#include "view_fixture.h"

namespace {

using viewtest::C;

// A PCB symbol being edited: the design is the symbol, holding one pad
// stack whose Origin is (0, 0).
class Centroids : public viewtest::DesignView {
 protected:
  void SetUp() override {
    viewtest::DesignView::SetUp();
    DeleteEntity(design);
    ReleaseTower(&design);
    design = towertest::NewTopLevelEntity(Type_SymbolDefinition);
    window->design = design;
    window->editorKind = kEditorPcbSymbol;
    window->CoordinateOrigin = {0, 0};
    window->UndoStep = NewUndoStepNumber();
    Tower* stack = InsertEntity(design, 4, Type_PadStackDefinition, "PAD");
    const std::int32_t origin[2] = {0, 0};
    Tower* o = InsertEntity(stack, sizeof origin, Type_Origin, origin);
    ReleaseTower(&o);
    stackRef = NodeRefOf(TowerEntity(stack));
    ReleaseTower(&stack);
    pl3::ClearResponderRecords();
  }
  void Pad(std::int32_t x, std::int32_t y) {
    Tower* pad = InsertEmptyEntity(design, Type_PadStackInstanceHier);
    std::uint8_t info[36] = {};
    std::memcpy(info + 8, &stackRef, 4);
    pl3::Transform t = pl3::kIdentityTransform;
    t.tx = x;
    t.ty = y;
    std::memcpy(info + 12, &t, sizeof t);
    Tower* i = InsertEntity(pad, sizeof info, Type_PadStackInfo, info);
    ReleaseTower(&i);
    ReleaseTower(&pad);
  }
  std::vector<std::string> Boxes() {
    std::vector<std::string> boxes;
    for (const pl3::ResponderRecord& r : pl3::ResponderRecords()) boxes.push_back(r.caption + ": " + r.text);
    return boxes;
  }
  std::vector<const Entity*> CentroidsStored() {
    std::vector<const Entity*> found;
    Tower* t = GetChildTower(design, Type_Centroid);
    while (const Entity* e = t ? FindNextEntity(t) : nullptr) found.push_back(e);
    ReleaseTower(&t);
    return found;
  }

  std::uint32_t stackRef = 0;
};

TEST_F(Centroids, TheCentroidIsTheTruncatedMeanOfThePadCentres) {
  Pad(C, C);
  Pad(C + 100, C + 1);
  Pad(C + 201, C + 3);
  pl3::Point p{};
  ASSERT_EQ(CentroidFromPads(&p), 1);
  EXPECT_EQ(p.x, C + 100);
  EXPECT_EQ(p.y, C + 1);
}

TEST_F(Centroids, CoordinatesAreReadAsUnsigned) {
  window->CoordinateOrigin = {1'000, -5};
  Pad(2'000'000'000, 10);
  Pad(static_cast<std::int32_t>(2'200'000'000u), 20);
  pl3::Point p{};
  ASSERT_EQ(CentroidFromPads(&p), 1);
  EXPECT_EQ(static_cast<std::uint32_t>(p.x), 2'100'000'000u);
  EXPECT_EQ(p.y, 15);
}

TEST_F(Centroids, ASymbolWithoutPadsGetsNoCentroid) {
  pl3::Point p{7, 7};
  EXPECT_EQ(CentroidFromPads(&p), 0);
  EXPECT_EQ(p.x, 7);
  AutoPlaceCentroid(view);
  EXPECT_TRUE(CentroidsStored().empty());
  EXPECT_EQ(Boxes(), (std::vector<std::string>(2, "Auto Place Centroid: No pads have placed for this symbol - "
                                                  "centroid position cannot be calculated.")));
}

TEST_F(Centroids, AutoPlaceStoresOnePointingUpAndRefusesASecond) {
  Pad(C, C);
  Pad(C + 2'000'000, C);
  const std::uint32_t step = window->UndoStep;
  AutoPlaceCentroid(view);
  std::vector<const Entity*> stored = CentroidsStored();
  ASSERT_EQ(stored.size(), 1u);
  CentroidPayload c;
  std::memcpy(&c, EntityPayload(stored[0]), sizeof c);
  EXPECT_EQ(c.position.x, C + 1'000'000);
  EXPECT_EQ(c.position.y, C);
  EXPECT_EQ(c.direction.x, 0);
  EXPECT_EQ(c.direction.y, -2 * 585'216);
  EXPECT_NE(stored[0]->flags & 0x4000, 0) << "marked as placed from the pads";
  EXPECT_EQ(window->EditMode, Mode_Idle);
  EXPECT_EQ(window->PendingRecord, nullptr);
  EXPECT_EQ(window->UndoStep, step + 1);
  EXPECT_TRUE(Boxes().empty());

  AutoPlaceCentroid(view);
  EXPECT_EQ(CentroidsStored().size(), 1u);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Auto Place Centroid: A centroid has already been placed for this "
                                               "symbol."}));
}

}  // namespace

namespace {

using pl3::Point;

// The marker drawn into a memory bitmap of the view's size, black at first.
class CentroidMarker : public viewtest::DesignView {
 protected:
  static constexpr int kWidth = 400, kHeight = 300;
  void SetUp() override {
    viewtest::DesignView::SetUp();
    UpdateViewGlobals();
    pl3::g_raster.clip = &clip;
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
    old = SelectObject(dc, bitmap);
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    marker.position = {C, C};  // pixel (200, 150)
    marker.head.sizeIndex = 20000;  // 20 pixels
    marker.direction = {0, -5000};
  }
  void TearDown() override {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    pl3::g_raster.clip = nullptr;
    viewtest::DesignView::TearDown();
  }
  bool Lit(int x, int y) const { return GetPixel(dc, x, y) != 0; }
  // The view pixel of the marker's position.
  Point Centre() const {
    Point p{C, C};
    pl3::WorldToView(p.x, p.y);
    return p;
  }
  bool LitIn(int x0, int x1, int y0, int y1) const {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x)
        if (Lit(x, y)) return true;
    return false;
  }
  int LitCount() const {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) n += Lit(x, y);
    return n;
  }
  pl3::ViewClip clip{0, 0, kWidth - 1, kHeight - 1, kWidth, kHeight};
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HBITMAP old = nullptr;
  CentroidPayload marker{};
};

TEST_F(CentroidMarker, DrawsCircleCrossAndArrowAndErasesItself) {
  DrawCentroid(dc, &marker, nullptr);
  const Point c = Centre();
  const int s = pl3::ScaleToView(20000);
  EXPECT_TRUE(Lit(c.x - s, c.y)) << "the circle";
  EXPECT_TRUE(Lit(c.x - s / 2, c.y)) << "the cross";
  EXPECT_TRUE(Lit(c.x, c.y + s / 2)) << "the cross";
  EXPECT_TRUE(Lit(c.x, c.y - s - 5)) << "the arrow runs up";
  EXPECT_TRUE(Lit(c.x, c.y - 2 * s + 1)) << "twice the size";
  EXPECT_FALSE(Lit(c.x, c.y - 2 * s - 4)) << "and no further";
  EXPECT_FALSE(Lit(c.x, c.y + s + 5)) << "nothing below the circle";
  // The head strokes leave the tip 30 degrees either side, down and out.
  EXPECT_TRUE(LitIn(c.x - 5, c.x - 1, c.y - 2 * s + 1, c.y - 2 * s + 8)) << "the left stroke";
  EXPECT_TRUE(LitIn(c.x + 1, c.x + 5, c.y - 2 * s + 1, c.y - 2 * s + 8)) << "the right stroke";
  DrawCentroid(dc, &marker, nullptr);
  EXPECT_EQ(LitCount(), 0) << "drawn twice, the marker is gone";
}

TEST_F(CentroidMarker, ArrowFollowsTheDirectionAndThePlacement) {
  marker.direction = {7000, 0};
  const pl3::Transform shift{1 << 24, 0, 0, 1 << 24, -50000, 0};  // 50 pixels left
  DrawCentroid(dc, &marker, &shift);
  const Point c = Centre();
  EXPECT_TRUE(Lit(c.x - 50 + 25, c.y)) << "the arrow runs right from the moved position";
  EXPECT_FALSE(Lit(c.x + 25, c.y)) << "not where the marker stood";
  EXPECT_FALSE(Lit(c.x - 50, c.y - 25)) << "no arrow up";
}

TEST_F(CentroidMarker, WithoutAContextItIsRasterisedIntoThePlane) {
  std::vector<std::uint32_t> plane(kWidth * kHeight, 0);
  pl3::RasterState saved = pl3::g_raster;
  pl3::g_raster.plane = plane.data();
  pl3::g_raster.width = kWidth;
  pl3::g_raster.height = kHeight;
  pl3::g_raster.fillValue = 1;
  pl3::g_raster.spanTarget = pl3::kTargetPlane;
  DrawCentroid(nullptr, &marker, nullptr);
  pl3::g_raster = saved;
  const Point c = Centre();
  const int s = pl3::ScaleToView(20000);
  const auto at = [&](int x, int y) { return plane[static_cast<std::size_t>((kHeight - 1 - y) * kWidth + x)]; };
  EXPECT_EQ(at(c.x, c.y - s - 5), 1u) << "the arrow";
  EXPECT_EQ(at(c.x - s / 2, c.y), 1u) << "the cross";
  EXPECT_EQ(at(c.x, c.y + s + 5), 0u);
  EXPECT_EQ(LitCount(), 0) << "nothing went to a device context";
}

}  // namespace
